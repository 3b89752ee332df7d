// Finding a song's lyric file on disk, the effect of a lookup, and the backlight rule.
#include "lyrics/lyriclookup.h"
#include "platform/power.h"
#include "tests/support/testenv.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace
{

struct PrecedenceRow {
    const char *name;
    QStringList present; // suffixes of the lyric files on disk
    QString expected;    // suffix found, empty for none
};

std::ostream &operator<<(std::ostream &os, const PrecedenceRow &row)
{
    return os << row.name;
}

class LyricFilePrecedence : public ::testing::TestWithParam<PrecedenceRow>
{
};

TEST_P(LyricFilePrecedence, firstSuffixInOrderWins)
{
    const PrecedenceRow &row = GetParam();
    const QString dir = testenv::scratchDir();
    const QString song = dir + "/a.mp3";
    ASSERT_TRUE(testenv::writeFile(song, "ID3"));
    for (const QString &suffix : row.present)
        ASSERT_TRUE(testenv::writeFile(dir + "/a." + suffix, "[00:01]" + suffix.toLatin1()));

    const QString found = LyricLookup::lyricFileFor(song);
    EXPECT_EQ(found, row.expected.isEmpty() ? QString() : dir + "/a." + row.expected);

    LyricTable table = LyricTable::fromLrc("[00:09]stale", LyricCharset::Gbk);
    const bool loaded = LyricLookup::loadLyricsFor(song, LyricCharset::Gbk, table);
    EXPECT_EQ(loaded, !row.expected.isEmpty());
    if (loaded) {
        ASSERT_EQ(table.size(), 3);
        EXPECT_EQ(table.at(1).text, row.expected); // the file that won was the one read
    } else {
        EXPECT_TRUE(table.isEmpty());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Rows, LyricFilePrecedence,
    ::testing::Values(PrecedenceRow{"none", {}, ""},
                      PrecedenceRow{"odd case alone is found", {"LrC"}, "LrC"},
                      PrecedenceRow{"lower case beats odd case", {"LrC", "lrc"}, "lrc"},
                      PrecedenceRow{"upper before title case", {"Lrc", "LRC"}, "LRC"},
                      PrecedenceRow{"lRc is last", {"lRc", "LrC"}, "LrC"},
                      PrecedenceRow{"lRc alone", {"lRc"}, "lRc"},
                      PrecedenceRow{"other names are ignored", {"lrcx", "txt"}, ""}));

TEST(LyricFileNames, eightSuffixesInOrder)
{
    EXPECT_EQ(LyricLookup::candidatePaths("/m/Song.mp3"),
              QStringList({"/m/Song.lrc", "/m/Song.LRC", "/m/Song.Lrc", "/m/Song.LRc",
                           "/m/Song.lRC", "/m/Song.lrC", "/m/Song.LrC", "/m/Song.lRc"}));
}

TEST(LyricFileNames, extensionOfAnyLengthIsReplaced)
{
    const struct {
        QString song;
        QString first;
    } rows[] = {{"/m/a.mp3", "/m/a.lrc"},
                {"/m/a.flac", "/m/a.lrc"},
                {"/m/a.b.ogg", "/m/a.b.lrc"},
                {"/m.d/song", "/m.d/song.lrc"},
                {"/m/$(rm -rf x)\n\".wav", "/m/$(rm -rf x)\n\".lrc"}};
    for (const auto &row : rows)
        EXPECT_EQ(LyricLookup::candidatePaths(row.song).first(), row.first)
            << row.song.toStdString();
}

TEST(LyricLookupFailures, unreadableCandidateStopsTheLookup)
{
    // A directory named like the lyric file exists but cannot be read; the later
    // suffixes are not tried and nothing is loaded.
    const QString dir = testenv::scratchDir();
    ASSERT_TRUE(QDir().mkpath(dir + "/b.lrc"));
    ASSERT_TRUE(testenv::writeFile(dir + "/b.LRC", "[00:01]x"));
    LyricTable table;
    EXPECT_FALSE(LyricLookup::loadLyricsFor(dir + "/b.mp3", LyricCharset::Gbk, table));
    EXPECT_TRUE(table.isEmpty());
}

TEST(LyricLookupFailures, fifoNamedLikeALyricFileDoesNotBlock)
{
    const QString dir = testenv::scratchDir();
    ASSERT_EQ(mkfifo(QFile::encodeName(dir + "/c.lrc").constData(), 0600), 0);
    LyricTable table;
    EXPECT_FALSE(LyricLookup::loadLyricsFor(dir + "/c.mp3", LyricCharset::Gbk, table));
    EXPECT_EQ(table.parseLrc(dir + "/c.lrc", LyricCharset::Gbk), -1);
}

TEST(LyricLookupCharsets, big5ChoiceReadsBig5File)
{
    const QString dir = testenv::scratchDir();
    ASSERT_TRUE(testenv::writeFile(dir + "/d.lrc", "[00:01]\xa7\x41\xa6\x6e"));
    LyricTable table;
    ASSERT_TRUE(LyricLookup::loadLyricsFor(dir + "/d.mp3", LyricCharset::Big5, table));
    EXPECT_EQ(table.at(1).text, QStringLiteral("你好"));
    ASSERT_TRUE(LyricLookup::loadLyricsFor(dir + "/d.mp3", LyricCharset::Gbk, table));
    EXPECT_NE(table.at(1).text, QStringLiteral("你好"));
}

TEST(LyricBacklight, litOnlyWhenLyricsShowUnderSoftwareLight)
{
    const struct {
        bool loaded, show, software;
        int seconds;
    } rows[] = {{true, true, true, 0},
                {false, true, true, 30},
                {true, false, true, 30},
                {true, true, false, 30},
                {false, false, false, 30}};
    for (const auto &row : rows) {
        const int calls = platform::lcdSleepTimeCalls();
        LyricLookup::applyBacklight(row.loaded, row.show, row.software);
        EXPECT_EQ(platform::lcdSleepTimeCalls(), calls + 1);
        EXPECT_EQ(platform::lastLcdSleepTime(), row.seconds)
            << row.loaded << row.show << row.software;
    }
}

} // namespace
