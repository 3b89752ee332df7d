#include "tagtool/options.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

using namespace tagtool;

namespace
{

ParseResult parse(std::vector<const char *> words)
{
    words.insert(words.begin(), "vellum");
    return parseArguments(static_cast<int>(words.size()), words.data());
}

struct ErrorRow {
    const char *name;
    std::vector<const char *> words;
    const char *diagnostic;
    size_t printsBefore;
};

class ParserErrors : public ::testing::TestWithParam<ErrorRow>
{
};

TEST_P(ParserErrors, stopAtTheFirstBadWord)
{
    const ErrorRow &row = GetParam();
    ParseResult r = parse(row.words);
    EXPECT_TRUE(r.usageError);
    EXPECT_EQ(r.diagnostic, row.diagnostic);
    EXPECT_EQ(r.options.prints.size(), row.printsBefore);
    EXPECT_TRUE(r.options.files.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Rows, ParserErrors,
    ::testing::Values(
        ErrorRow{"unknownLetter", {"-x", "a.mp3"}, "invalid option -- 'x'", 0},
        ErrorRow{"unknownInCluster", {"-lvq", "a.mp3"}, "invalid option -- 'q'", 1},
        ErrorRow{"printsBeforeErrorKept", {"-v", "-i", "-Z"}, "invalid option -- 'Z'", 2},
        ErrorRow{"missingValue", {"-l", "-g"}, "option requires an argument -- 'g'", 0},
        ErrorRow{"otherLongOptionIsLetters", {"--list"}, "invalid option -- '-'", 0},
        ErrorRow{"longHelpIsOnlyItself", {"--help", "--helpx"}, "invalid option -- '-'", 1}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(Parser, longHelpAndVersionAreTheirLetters)
{
    ParseResult r = parse({"--version", "--help", "a.mp3"});
    ASSERT_FALSE(r.usageError);
    EXPECT_EQ(r.options.prints,
              (std::vector<PrintRequest>{PrintRequest::Version, PrintRequest::Usage}));
    EXPECT_EQ(r.options.files, std::vector<std::string>{"a.mp3"});
}

TEST(Parser, valuesAreCutToFieldWidths)
{
    ParseResult r = parse({"-s", "123456789012345678901234567890EXTRA", "-y", "199x9", "-c",
                           "abcdefghijklmnopqrstuvwxyz0123", "-b", "", "x.mp3"});
    ASSERT_FALSE(r.usageError);
    EXPECT_EQ(*r.options.song, "123456789012345678901234567890");
    EXPECT_EQ(*r.options.year, "199x");
    EXPECT_EQ(*r.options.comment, "abcdefghijklmnopqrstuvwxyz01");
    EXPECT_EQ(*r.options.album, "");
    EXPECT_FALSE(r.options.artist.has_value());
    EXPECT_TRUE(r.options.changesFields());
}

TEST(Parser, numbersUseFirstThreeCharactersModulo256)
{
    struct {
        const char *text;
        int byte;
    } rows[] = {{"7", 7},    {"1234", 123}, {"300", 44}, {"255", 255}, {"256", 0},
                {"-1", 255}, {"abc", 0},    {"12x", 12}, {" 9", 9},    {"", 0}};
    for (const auto &row : rows) {
        ParseResult r = parse({"-t", row.text, "-g", row.text, "f"});
        ASSERT_FALSE(r.usageError) << row.text;
        EXPECT_EQ(*r.options.track, row.byte) << row.text;
        EXPECT_EQ(*r.options.genre, row.byte) << row.text;
    }
}

TEST(Parser, clustersAttachedValuesAndOrderOfPrints)
{
    ParseResult r = parse({"-pv", "-ldfsSong", "-h", "-iaArtist", "a", "b"});
    ASSERT_FALSE(r.usageError);
    const Options &o = r.options;
    EXPECT_TRUE(o.list && o.remove && o.force);
    EXPECT_EQ(*o.song, "Song");
    EXPECT_EQ(*o.artist, "Artist");
    std::vector<PrintRequest> expected = {PrintRequest::Genres, PrintRequest::Version,
                                          PrintRequest::Usage, PrintRequest::Banner};
    EXPECT_EQ(o.prints, expected);
    EXPECT_EQ(o.files, (std::vector<std::string>{"a", "b"}));
}

TEST(Parser, repeatedOptionLastValueWins)
{
    ParseResult r = parse({"-s", "one", "-t", "1", "-s", "two", "-t", "2", "f"});
    EXPECT_EQ(*r.options.song, "two");
    EXPECT_EQ(*r.options.track, 2);
}

TEST(Parser, optionsEndAtFirstFileDashOrDoubleDash)
{
    EXPECT_EQ(parse({"a.mp3", "-d"}).options.files, (std::vector<std::string>{"a.mp3", "-d"}));
    EXPECT_FALSE(parse({"a.mp3", "-d"}).options.remove);
    EXPECT_EQ(parse({"-l", "-", "-d"}).options.files, (std::vector<std::string>{"-", "-d"}));
    ParseResult r = parse({"-l", "--", "-s", "x"});
    EXPECT_EQ(r.options.files, (std::vector<std::string>{"-s", "x"}));
    EXPECT_FALSE(r.options.song.has_value());
    // A value that looks like an option is still the value.
    EXPECT_EQ(*parse({"-s", "-d", "f"}).options.song, "-d");
    EXPECT_FALSE(parse({"-s", "-d", "f"}).options.remove);
}

TEST(Parser, onlyPrintsNoFiles)
{
    ParseResult r = parse({"-v"});
    EXPECT_FALSE(r.usageError);
    EXPECT_TRUE(r.options.files.empty());
    EXPECT_FALSE(r.options.changesFields());
}

TEST(ProgramName, fromLastSlashOn)
{
    EXPECT_EQ(programName("./kerfa/vellum"), "/vellum");
    EXPECT_EQ(programName("vellum"), "vellum");
    EXPECT_EQ(programName("/usr/bin/"), "/");
    EXPECT_EQ(programName(nullptr), "vellum");
}

} // namespace
