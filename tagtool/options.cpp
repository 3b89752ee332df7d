#include "options.h"

#include <cstdlib>
#include <cstring>

namespace tagtool
{

namespace
{

struct PrintOption {
    char letter;
    PrintRequest request;
};

constexpr PrintOption printOptions[] = {{'v', PrintRequest::Version},
                                        {'h', PrintRequest::Usage},
                                        {'i', PrintRequest::Banner},
                                        {'p', PrintRequest::Genres}};

// The long spellings people type by habit; each stands for its letter.
struct LongOption {
    const char *word;
    char letter;
};
constexpr LongOption longOptions[] = {{"--help", 'h'}, {"--version", 'v'}};

// A number option keeps its first three characters and is read like atoi(); the byte
// stored is that value modulo 256 (300 -> 44, -1 -> 255).
unsigned char numberByte(const char *text)
{
    char cut[4] = {};
    std::strncpy(cut, text, 3);
    return static_cast<unsigned char>(std::atoi(cut));
}

// Records the argument of a value option; false when the letter takes none.
bool setValue(Options &o, char letter, const char *value)
{
    std::string text(value);
    switch (letter) {
    case 's':
        o.song = text.substr(0, 30);
        return true;
    case 'a':
        o.artist = text.substr(0, 30);
        return true;
    case 'b':
        o.album = text.substr(0, 30);
        return true;
    case 'y':
        o.year = text.substr(0, 4);
        return true;
    case 'c':
        o.comment = text.substr(0, 28);
        return true;
    case 't':
        o.track = numberByte(value);
        return true;
    case 'g':
        o.genre = numberByte(value);
        return true;
    }
    return false;
}

bool setFlag(Options &o, char letter)
{
    switch (letter) {
    case 'l':
        o.list = true;
        return true;
    case 'f':
        o.force = true;
        return true;
    case 'd':
        o.remove = true;
        return true;
    }
    for (const PrintOption &p : printOptions) {
        if (p.letter == letter) {
            o.prints.push_back(p.request);
            return true;
        }
    }
    return false;
}

bool takesValue(char letter)
{
    return letter != 0 && std::strchr("sabyctg", letter) != nullptr;
}

ParseResult failure(ParseResult r, const char *what, char letter)
{
    r.usageError = true;
    r.diagnostic = std::string(what) + " -- '" + letter + "'";
    return r;
}

} // namespace

ParseResult parseArguments(int argc, const char *const *argv)
{
    ParseResult r;
    int i = 1;
    for (; i < argc; ++i) {
        const char *word = argv[i];
        if (std::strcmp(word, "--") == 0) {
            ++i;
            break;
        }
        if (word[0] != '-' || word[1] == 0)
            break;
        const LongOption *spelled = nullptr;
        for (const LongOption &l : longOptions)
            if (std::strcmp(word, l.word) == 0)
                spelled = &l;
        if (spelled) {
            setFlag(r.options, spelled->letter);
            continue;
        }
        for (int j = 1; word[j] != 0; ++j) {
            char letter = word[j];
            if (takesValue(letter)) {
                const char *value = word + j + 1;
                if (*value == 0) {
                    if (i + 1 >= argc)
                        return failure(r, "option requires an argument", letter);
                    value = argv[++i];
                }
                setValue(r.options, letter, value);
                break;
            }
            if (!setFlag(r.options, letter))
                return failure(r, "invalid option", letter);
        }
    }
    for (; i < argc; ++i)
        r.options.files.emplace_back(argv[i]);
    return r;
}

std::string programName(const char *argv0)
{
    if (argv0 == nullptr || *argv0 == 0)
        return "vellum";
    const char *slash = std::strrchr(argv0, '/');
    return slash ? slash : argv0;
}

} // namespace tagtool
