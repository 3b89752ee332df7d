#include "cutoptions.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

namespace mp3asm
{

const char *const cutUsage =
    "usage: mp3asm -o output [-s frame] [-e frame | -r frames] [-v] [-t] input\n";

namespace
{

// Frame numbers are plain decimal digits; signs, blanks and overflow are refused.
bool readFrameNumber(const char *text, long &value)
{
    if (*text == 0 || std::strspn(text, "0123456789") != std::strlen(text))
        return false;
    errno = 0;
    char *end = nullptr;
    long v = std::strtol(text, &end, 10);
    if (errno != 0 || v > INT_MAX)
        return false;
    value = v;
    return true;
}

bool isOptionWord(const char *word)
{
    return word[0] == '-' && word[1] != 0 && word[2] == 0;
}

} // namespace

CutParse parseCutArguments(int argc, const char *const *argv)
{
    CutParse p;
    CutOptions &o = p.options;
    int inputs = 0;
    bool optionsEnded = false;
    for (int i = 1; i < argc; ++i) {
        const char *word = argv[i];
        if (!optionsEnded && std::strcmp(word, "--") == 0) {
            optionsEnded = true;
            continue;
        }
        if (!optionsEnded && std::strcmp(word, "--help") == 0) {
            o.help = true;
            continue;
        }
        if (optionsEnded || !isOptionWord(word)) {
            o.input = word;
            ++inputs;
            continue;
        }
        const char letter = word[1];
        if (letter == 'v' || letter == 't' || letter == 'h') {
            (letter == 'v' ? o.verbose : letter == 't' ? o.keepTag : o.help) = true;
            continue;
        }
        if (!std::strchr("oser", letter)) {
            p.error = std::string("unknown option ") + word;
            return p;
        }
        if (i + 1 >= argc) {
            p.error = std::string("option ") + word + " needs a value";
            return p;
        }
        const char *value = argv[++i];
        if (letter == 'o') {
            o.output = value;
            continue;
        }
        long number = 0;
        if (!readFrameNumber(value, number)) {
            p.error = std::string("bad frame number for ") + word + ": \"" + value + "\"";
            return p;
        }
        if (letter == 's')
            o.start = number;
        else if (letter == 'e')
            o.end = number;
        else
            o.length = number;
    }
    if (o.help)
        return p;
    if (o.output.empty())
        p.error = "no output file given (-o FILE)";
    else if (inputs == 0)
        p.error = "no input file given";
    else if (inputs > 1)
        p.error = "more than one input file given";
    else if (o.end && o.length)
        p.error = "give either -e or -r, not both";
    else if (o.end && *o.end <= o.start)
        p.error = "the end frame must come after the start frame";
    else if (o.length && *o.length == 0)
        p.error = "a length of 0 frames cuts nothing";
    return p;
}

} // namespace mp3asm
