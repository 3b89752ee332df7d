// vellum's command line: parsed into plain values, acted on by main().
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace tagtool
{

// Options that print at once, while the command line is read.
enum class PrintRequest { Version, Usage, Banner, Genres };

struct Options {
    // Values to write, already cut to their field widths (30, 30, 30, 4, 28).
    std::optional<std::string> song, artist, album, year, comment;
    // The byte to store: the first three characters read as a decimal number, modulo 256.
    std::optional<unsigned char> track, genre;
    bool list = false;
    bool remove = false;
    bool force = false;
    std::vector<PrintRequest> prints; // in the order given
    std::vector<std::string> files;

    bool changesFields() const
    {
        return song || artist || album || year || comment || track || genre;
    }
};

struct ParseResult {
    Options options;
    // Set on an unknown option letter or a missing argument; prints before it still stand.
    bool usageError = false;
    std::string diagnostic; // e.g. "invalid option -- 'x'"
};

// Reads argv[1..argc-1] with the option string "lfdvhpis:a:b:y:c:t:g:". Options end at the
// first word that is not one ("-" alone included) or after "--"; the rest are files.
ParseResult parseArguments(int argc, const char *const *argv);

// The name used in messages: argv[0] from its last "/" on, slash included.
std::string programName(const char *argv0);

} // namespace tagtool
