#include "standins/mp3asm/cutoptions.h"

#include <gtest/gtest.h>
#include <vector>

using namespace mp3asm;

namespace
{

CutParse parse(std::vector<const char *> words)
{
    words.insert(words.begin(), "mp3asm");
    return parseCutArguments(static_cast<int>(words.size()), words.data());
}

TEST(CutOptions, cutterCommandLine)
{
    // What the ringtone cutter's shell line turns into.
    CutParse p = parse({"-o", "/card/a.mp3", "-s", "384", "-e", "1538", "-v", "-t", "/m/a.mp3"});
    ASSERT_EQ(p.error, "");
    EXPECT_EQ(p.options.output, "/card/a.mp3");
    EXPECT_EQ(p.options.input, "/m/a.mp3");
    EXPECT_EQ(p.options.start, 384);
    EXPECT_EQ(*p.options.end, 1538);
    EXPECT_FALSE(p.options.length.has_value());
    EXPECT_TRUE(p.options.verbose && p.options.keepTag);

    p = parse({"-o", "x.mp3", "-s", "480", "-r", "10", "in.mp3"});
    ASSERT_EQ(p.error, "");
    EXPECT_EQ(*p.options.length, 10);
    EXPECT_FALSE(p.options.verbose || p.options.keepTag);
}

TEST(CutOptions, hostileNamesStayFileNames)
{
    CutParse p = parse({"-o", "-t", "-s", "0", "-e", "5", "-in 'x' $(y).mp3"});
    ASSERT_EQ(p.error, "");
    EXPECT_EQ(p.options.output, "-t");
    EXPECT_EQ(p.options.input, "-in 'x' $(y).mp3");
    EXPECT_FALSE(p.options.keepTag);

    p = parse({"-o", "out.mp3", "--", "-v"});
    ASSERT_EQ(p.error, "");
    EXPECT_EQ(p.options.input, "-v");
    EXPECT_FALSE(p.options.verbose);
}

TEST(CutOptions, badCommandLinesAreRefused)
{
    struct {
        std::vector<const char *> words;
        const char *error;
    } rows[] = {
        {{"-o", "o", "-s", "abc", "i"}, "bad frame number for -s: \"abc\""},
        {{"-o", "o", "-s", "-5", "i"}, "bad frame number for -s: \"-5\""},
        {{"-o", "o", "-e", "+5", "i"}, "bad frame number for -e: \"+5\""},
        {{"-o", "o", "-r", "", "i"}, "bad frame number for -r: \"\""},
        {{"-o", "o", "-e", "99999999999999999999", "i"},
         "bad frame number for -e: \"99999999999999999999\""},
        {{"-o", "o", "-r", "3000000000", "i"}, "bad frame number for -r: \"3000000000\""},
        {{"-o", "o", "-s", "10", "-e", "10", "i"}, "the end frame must come after the start frame"},
        {{"-o", "o", "-s", "20", "-e", "10", "i"}, "the end frame must come after the start frame"},
        {{"-o", "o", "-r", "0", "i"}, "a length of 0 frames cuts nothing"},
        {{"-o", "o", "-e", "5", "-r", "5", "i"}, "give either -e or -r, not both"},
        {{"-s", "0", "i"}, "no output file given (-o FILE)"},
        {{"-o", "o"}, "no input file given"},
        {{"-o", "o", "a", "b"}, "more than one input file given"},
        {{"-o", "o", "-x", "i"}, "unknown option -x"},
        {{"-o", "o", "i", "-s"}, "option -s needs a value"},
        {{"i", "-o"}, "option -o needs a value"},
    };
    for (const auto &row : rows)
        EXPECT_EQ(parse(row.words).error, row.error) << row.error;
}

TEST(CutOptions, helpNeedsNothingElse)
{
    CutParse p = parse({"-h"});
    EXPECT_TRUE(p.options.help);
    EXPECT_EQ(p.error, "");
}

} // namespace
