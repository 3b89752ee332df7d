#include "cutter/kerfacommands.h"
#include "tests/support/testenv.h"

#include <QDir>
#include <gtest/gtest.h>

namespace
{

struct CutCase {
    const char *name;
    kerfa::Cut cut;
    QString expected;
};

class CutCommand : public ::testing::TestWithParam<CutCase>
{
};

TEST_P(CutCommand, isByteForByte)
{
    EXPECT_EQ(kerfa::cutCommand(GetParam().cut), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Kerfa, CutCommand,
    ::testing::Values(
        CutCase{"endMode",
                {"/mmc/mmca1/music/a.mp3", "/mmc/mmca1/a.mp3", "10", "40", false, false, false},
                "./kerfa/mp3asm  -o '/mmc/mmca1/a.mp3' -s 384 -e 1538 '/mmc/mmca1/music/a.mp3'"},
        CutCase{"lengthModeWithFraction",
                {"/in.mp3", "/out.mp3", "12.5", "5", true, false, false},
                "./kerfa/mp3asm  -o '/out.mp3' -s 480 -r 192 '/in.mp3'"},
        CutCase{"verboseAndKeepTag",
                {"/in.mp3", "/out.mp3", "0", "1", false, true, true},
                "./kerfa/mp3asm  -o '/out.mp3' -s 0 -e 38 -v  -t  '/in.mp3'"},
        CutCase{"notNumbersAreZero",
                {"/in.mp3", "/out.mp3", "abc", "", false, false, false},
                "./kerfa/mp3asm  -o '/out.mp3' -s 0 -e 0 '/in.mp3'"},
        CutCase{"singleQuotesEscaped",
                {"/m/it's.mp3", "/o/'q'.mp3", "1", "2", false, false, false},
                "./kerfa/mp3asm  -o '/o/'\\''q'\\''.mp3' -s 38 -e 76 '/m/it'\\''s.mp3'"},
        CutCase{"shellTextStaysInsideQuotes",
                {"$(rm -rf x) `y` %s;|&", "-o", "1", "2", false, false, false},
                "./kerfa/mp3asm  -o './-o' -s 38 -e 76 '$(rm -rf x) `y` %s;|&'"},
        CutCase{"leadingDashPathsCannotPassForOptions",
                {"-t.mp3", "--help", "1", "2", true, false, false},
                "./kerfa/mp3asm  -o './--help' -s 38 -r 76 './-t.mp3'"}),
    [](const auto &info) { return std::string(info.param.name); });

struct GainCase {
    const char *name;
    QString gain;
    bool left, right;
    QString expected;
};

class GainCommand : public ::testing::TestWithParam<GainCase>
{
};

TEST_P(GainCommand, isByteForByte)
{
    const GainCase &c = GetParam();
    EXPECT_EQ(kerfa::gainCommand(c.gain, c.left, c.right, "/o/a'b.mp3"), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Kerfa, GainCommand,
    ::testing::Values(
        GainCase{"bothChannels", "5", true, true, "./kerfa/mp3gain -g 5 '/o/a'\\''b.mp3'"},
        GainCase{"leftIsChannelOne", "-3", true, false, "./kerfa/mp3gain -l 1 -3 '/o/a'\\''b.mp3'"},
        GainCase{"rightIsChannelZero", "2", false, true, "./kerfa/mp3gain -l 0 2 '/o/a'\\''b.mp3'"},
        GainCase{"noChannelIsBareProgram", "5", false, false, "./kerfa/mp3gain "},
        GainCase{"notANumberIsZero", "1.5", true, true, "./kerfa/mp3gain -g 0 '/o/a'\\''b.mp3'"}),
    [](const auto &info) { return std::string(info.param.name); });

struct TagCase {
    const char *name;
    QString title, artist, album;
    QString expected;
};

class TagCommand : public ::testing::TestWithParam<TagCase>
{
};

TEST_P(TagCommand, leavesOutEmptyFields)
{
    const TagCase &c = GetParam();
    EXPECT_EQ(kerfa::tagCommand(c.title, c.artist, c.album, "/o/a.mp3"), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Kerfa, TagCommand,
    ::testing::Values(
        TagCase{"onlyArtist", "", "Art", "", "./kerfa/vellum  -a 'Art' '/o/a.mp3'"},
        TagCase{"allThree", "T", "A", "B", "./kerfa/vellum  -s 'T' -a 'A' -b 'B' '/o/a.mp3'"},
        TagCase{"none", "", "", "", "./kerfa/vellum  '/o/a.mp3'"},
        TagCase{"quoteInTitle", "Don't", "", "", "./kerfa/vellum  -s 'Don'\\''t' '/o/a.mp3'"},
        // Values are text, not paths: only the file gets the "./".
        TagCase{"dashesInValues", "-d", "-l", "--",
                "./kerfa/vellum  -s '-d' -a '-l' -b '--' '/o/a.mp3'"}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(Kerfa, secondsBecomeWholeFrames)
{
    const struct {
        QString seconds;
        QString frames;
    } rows[] = {{"10", "384"}, {"40", "1538"}, {"12.5", "480"},       {"0", "0"},
                {"", "0"},     {"abc", "0"},   {"-1", "-38"},         {"0.5", "19"},
                {"nan", "0"},  {"inf", "0"},   {"1e30", "2147483647"}};
    for (const auto &row : rows)
        EXPECT_EQ(kerfa::secondsToFrames(row.seconds), row.frames) << row.seconds.toStdString();
}

TEST(Kerfa, endMustComeAfterStartAsWholeNumbers)
{
    const struct {
        QString start, end;
        bool valid;
    } rows[] = {{"10", "40", true},  {"40", "10", false},  {"10", "10", false},
                {"12.5", "1", true}, {"12.5", "0", false}, {"0", "abc", false},
                {"", "3", true},     {"3", "3.5", false}};
    for (const auto &row : rows)
        EXPECT_EQ(kerfa::timesValid(row.start, row.end), row.valid)
            << row.start.toStdString() << " " << row.end.toStdString();
}

TEST(Kerfa, outputFolderGetsTheInputName)
{
    const QString dir = testenv::scratchDir("out");
    const struct {
        QString field;
        QString expected;
    } rows[] = {{dir, dir + "/a.mp3"},
                {dir + "/", dir + "/a.mp3"},
                {dir + "/ring.mp3", dir + "/ring.mp3"},
                {dir + "/missing/", dir + "/missing/"},
                {"", ""}};
    for (const auto &row : rows)
        EXPECT_EQ(kerfa::outputPath(row.field, "/music/x/a.mp3"), row.expected)
            << row.field.toStdString();
}

// The shell receives each quoted value as one word, exactly as typed.
TEST(Kerfa, quotedValuesReachTheProgramAsTyped)
{
    const QString dir = testenv::scratchDir("shell");
    const QString values[] = {
        "it's", "$(touch pwned)", "`touch pwned`", " two  spaces ", "-leading",
        "'",    "''\\'",          "%s %d",         "new\nline",     "\xe4\xb8\xad"};
    for (const QString &value : values) {
        const QString command = "printf '%s' '" + kerfa::quoteInside(value) + "' > '" +
                                kerfa::quoteInside(dir + "/out") + "'";
        EXPECT_EQ(kerfa::runShell(command), 0);
        EXPECT_EQ(QString::fromUtf8(testenv::readFile(dir + "/out")), value);
    }
    EXPECT_FALSE(QFile::exists(QDir::currentPath() + "/pwned"));
}

TEST(Kerfa, shellStatusAndHungProgramsAreReported)
{
    EXPECT_EQ(kerfa::runShell("exit 3"), 3);
    EXPECT_EQ(kerfa::runShell("kill -9 $$"), -1);
    EXPECT_EQ(kerfa::runShell("read x; exit 4"), 4) << "stdin is closed, nothing waits on it";
    EXPECT_EQ(kerfa::runShell("sleep 30 & wait", 300), -1);
}

} // namespace
