// vellum: lists, writes and removes the ID3v1 tag at the end of MP3 files.
#include "tagtool/options.h"
#include "tagtool/tagfile.h"
#include "tagtool/texts.h"

#include <csignal>
#include <cstdio>

using namespace tagtool;

int main(int argc, char **argv)
{
    const std::string name = programName(argc > 0 ? argv[0] : nullptr);
    // Over a file size limit a write must fail and be undone, not kill us half-written.
    std::signal(SIGXFSZ, SIG_IGN);
    if (argc < 2) {
        printUsage(stderr);
        return 1;
    }
    const ParseResult parsed = parseArguments(argc, argv);
    for (PrintRequest request : parsed.options.prints)
        printRequested(request, stdout);
    if (parsed.usageError) {
        std::fflush(stdout);
        std::fprintf(stderr, "%s: %s\n", name.c_str(), parsed.diagnostic.c_str());
        printUsage(stderr);
        return 1;
    }
    for (const std::string &path : parsed.options.files) {
        switch (processFile(path, parsed.options, stdout)) {
        case FileOutcome::Done:
            break;
        case FileOutcome::NotMp3:
            std::fflush(stdout);
            std::fprintf(stderr, "%s: %s %s\n", name.c_str(), path.c_str(), "is not a valid mp3");
            break;
        case FileOutcome::CantOpen:
            std::fflush(stdout);
            std::fprintf(stderr, "%s: %s %s\n", name.c_str(), "can't open file", path.c_str());
            return 1;
        case FileOutcome::CantWrite:
            std::fflush(stdout);
            std::fprintf(stderr, "%s: %s %s\n", name.c_str(), "can't write file", path.c_str());
            return 1;
        }
    }
    return std::fflush(stdout) == 0 ? 0 : 1;
}
