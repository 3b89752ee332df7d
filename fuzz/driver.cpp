// The libFuzzer entry of one target; ORBAL_FUZZ_ENTRY names it.
#include "fuzz/support.h"
#include "fuzz/targets.h"

#include <QtGlobal>
#include <cstdio>
#include <cstdlib>

namespace
{

// Millions of runs: Qt's warnings about bad input would drown the fuzzer's own output.
void quiet(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type == QtFatalMsg) {
        std::fprintf(stderr, "qFatal: %s\n", qPrintable(message));
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    qInstallMessageHandler(quiet);
    orbalfuzz::ensureApp();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    return orbalfuzz::ORBAL_FUZZ_ENTRY(data, size);
}
