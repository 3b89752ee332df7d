// mp3asm's command line:
//   mp3asm -o OUTPUT [-s FRAME] [-e FRAME | -r FRAMES] [-v] [-t] [--] INPUT
// Options are separate words. Any word that is not an option, even one that begins with a
// dash (a file named "-a.mp3"), is the input; "--" makes every later word the input.
#pragma once

#include <optional>
#include <string>

namespace mp3asm
{

struct CutOptions {
    std::string output;
    std::string input;
    long start = 0;             // first frame copied, counting from 0
    std::optional<long> end;    // first frame not copied
    std::optional<long> length; // frames to copy
    bool verbose = false;
    bool keepTag = false; // copy the input's ID3v1 tag to the end of the output
    bool help = false;
};

struct CutParse {
    CutOptions options;
    std::string error; // empty when the command line is usable
};

CutParse parseCutArguments(int argc, const char *const *argv);

extern const char *const cutUsage;

} // namespace mp3asm
