// mp3asm: copies a run of whole MPEG audio frames from one MP3 file into a new one.
#include "standins/mp3asm/cutjob.h"
#include "standins/mp3asm/cutoptions.h"

#include <csignal>
#include <cstdio>

using namespace mp3asm;

int main(int argc, char **argv)
{
    // Over a file size limit the write fails and the temporary file is removed.
    std::signal(SIGXFSZ, SIG_IGN);
    const CutParse parsed = parseCutArguments(argc, argv);
    if (parsed.options.help) {
        std::fputs(cutUsage, stdout);
        return 0;
    }
    if (!parsed.error.empty()) {
        std::fprintf(stderr, "mp3asm: %s\n%s", parsed.error.c_str(), cutUsage);
        return 2;
    }
    const std::string error = cutFile(parsed.options, stdout, stderr);
    std::fflush(stdout);
    if (!error.empty()) {
        std::fprintf(stderr, "mp3asm: %s\n", error.c_str());
        return 1;
    }
    return 0;
}
