#include "texts.h"

#include "genres.h"

namespace tagtool
{

const char *const versionText = "Version 2.0";

void printUsage(std::FILE *to)
{
    std::fputs("usage: vellum [-s \"song name\"] [-a \"artist name\"] [-b \"album name\"]\n"
               "               [-y year] [-c \"your comment\"] [-t track] [-g genre] [-l]\n"
               "               [-v] [-i] [-f] [-d] [-p] [-h] file(s)\n",
               to);
}

void printVersion(std::FILE *to)
{
    std::fprintf(to, "vellum: %s\n", versionText);
}

void printBanner(std::FILE *to)
{
    std::fputs("                 _ _\n"
               "  __   __  ___  | | | _   _  _ __ ___\n"
               "  \\ \\ / / / _ \\ | | || | | || '_ ` _ \\\n"
               "   \\ V / |  __/ | | || |_| || | | | | |\n"
               "    \\_/   \\___| |_|_| \\__,_||_| |_| |_|\n"
               "  ====================================\n",
               to);
    std::fprintf(to, "         %s\n", versionText);
    std::fputs("  the ID3v1 tag tool of the ORBAL player\n", to);
}

void printGenres(std::FILE *to)
{
    for (int n = 0; n < 254; ++n) {
        if (isKnownGenre(n))
            std::fprintf(to, "%d: %s\n", n, genreName(n));
    }
}

void printRequested(PrintRequest request, std::FILE *to)
{
    switch (request) {
    case PrintRequest::Version:
        printVersion(to);
        break;
    case PrintRequest::Usage:
        printUsage(to);
        break;
    case PrintRequest::Banner:
        printBanner(to);
        break;
    case PrintRequest::Genres:
        printGenres(to);
        break;
    }
}

} // namespace tagtool
