// LRC text to line table: the grammar, the id tags and the character sets.
#include "lyrics/lyrictable.h"

#include <gtest/gtest.h>

namespace
{

using Lines = std::vector<std::pair<double, QString>>;

struct ParseRow {
    const char *name;
    QByteArray lrc;
    Lines expected; // between the opening and closing entries
    LyricIdTags tags;
};

std::ostream &operator<<(std::ostream &os, const ParseRow &row)
{
    return os << row.name;
}

Lines bodyOf(const LyricTable &table)
{
    Lines body;
    for (int i = 1; i + 1 < table.size(); ++i)
        body.emplace_back(table.at(i).time, table.at(i).text);
    return body;
}

class LrcGrammar : public ::testing::TestWithParam<ParseRow>
{
};

TEST_P(LrcGrammar, readsLinesAndTags)
{
    const ParseRow &row = GetParam();
    const LyricTable table = LyricTable::fromLrc(row.lrc, LyricCharset::Gbk);

    ASSERT_GE(table.size(), 2);
    EXPECT_EQ(table.at(0).time, 0.0);
    EXPECT_TRUE(table.at(0).text.isEmpty());
    EXPECT_EQ(table.at(table.size() - 1).time, LyricTable::kEndTime);
    EXPECT_TRUE(table.at(table.size() - 1).text.isEmpty());

    const Lines body = bodyOf(table);
    ASSERT_EQ(body.size(), row.expected.size());
    for (size_t i = 0; i < body.size(); ++i) {
        EXPECT_DOUBLE_EQ(body[i].first, row.expected[i].first) << "entry " << i;
        EXPECT_EQ(body[i].second, row.expected[i].second) << "entry " << i;
    }
    EXPECT_EQ(table.idTags().title, row.tags.title);
    EXPECT_EQ(table.idTags().artist, row.tags.artist);
    EXPECT_EQ(table.idTags().album, row.tags.album);
    EXPECT_EQ(table.idTags().author, row.tags.author);
}

const QString hello = QStringLiteral("Hello");

INSTANTIATE_TEST_SUITE_P(
    Rows, LrcGrammar,
    ::testing::Values(
        ParseRow{"multi-tag line gives one entry per tag",
                 "[00:10.00][00:20.00]Hello",
                 {{10, hello}, {20, hello}},
                 {}},
        ParseRow{"timestamps out of order are sorted",
                 "[00:20]B\n[00:10]A\n",
                 {{10, "A"}, {20, "B"}},
                 {}},
        ParseRow{"equal times keep file order",
                 "[00:05]first\n[00:03]x\n[00:05]second\n[00:05]third",
                 {{3, "x"}, {5, "first"}, {5, "second"}, {5, "third"}},
                 {}},
        ParseRow{"a line at zero follows the opening entry", "[00:00]intro", {{0, "intro"}}, {}},
        ParseRow{"id-tag-only lines add no entry",
                 "[ti:Name]\n[ar:Singer]\n[al:Album]\n[by:Me]\n[00:01]a",
                 {{1, "a"}},
                 {"Name", "Singer", "Album", "Me"}},
        ParseRow{"id tags are lower case only", "[TI:Name]\n[00:01]a", {{1, "a"}}, {}},
        ParseRow{"id tag value stops at a second colon", "[ti:a:b]", {}, {"a", {}, {}, {}}},
        ParseRow{"third field is ignored", "[01:02:03]x", {{62, "x"}}, {}},
        ParseRow{
            "fraction of a second", "[01:02.5]x\n[00:00.125]y", {{0.125, "y"}, {62.5, "x"}}, {}},
        ParseRow{"empty line with timestamp", "[00:07]\n", {{7, ""}}, {}},
        ParseRow{"corrupted line is skipped, the rest is read",
                 "[aa:bb]text\n[00:0x]y\n[00:02]ok",
                 {{2, "ok"}},
                 {}},
        ParseRow{"offset and unknown keys have no effect",
                 "[offset:500]\n[re:tool]\n[00:01]a",
                 {{1, "a"}},
                 {}},
        ParseRow{"missing bracket ends the tags without stalling",
                 "[00:01]ok\n[00:02 broken\n[00:04][oops rest\n[00:05]next",
                 {{1, "ok"}, {4, "[oops rest"}, {5, "next"}},
                 {}},
        ParseRow{"lone bracket at the end of the file", "[00:01]a\n[", {{1, "a"}}, {}},
        ParseRow{"empty tag stops collecting", "[00:01][][00:02]x", {{1, "[00:02]x"}}, {}},
        ParseRow{"tags count only at the start", "hello [00:01]\n", {}, {}},
        ParseRow{"ends stripped, text after tags not",
                 "  [00:01] hi there \t\r\n\r\n\n",
                 {{1, " hi there"}},
                 {}},
        ParseRow{"old Mac line ends", "[00:01]a\r[00:02]b", {{1, "a"}, {2, "b"}}, {}},
        ParseRow{"times that break the table are refused",
                 "[-1:00]neg\n[00:nan]n\n[00:inf]i\n[4473925:00]far\n[99999999999:00]big",
                 {},
                 {}},
        ParseRow{"binary garbage", QByteArray("\x00\xff[\x01]\n\xfe\xfe[", 9), {}, {}},
        ParseRow{"empty file", "", {}, {}}));

TEST(LrcCharsets, gbkTextIsDecoded)
{
    // "[ti:乚]" - the GBK trail byte of 乚 is "]", so decoding must come before the tags.
    const QByteArray gbk = "[ti:\x81\x5d]\n[00:01]\xc4\xe3\xba\xc3";
    const LyricTable table = LyricTable::fromLrc(gbk, LyricCharset::Gbk);
    ASSERT_EQ(table.size(), 3);
    EXPECT_EQ(table.at(1).text, QStringLiteral("你好"));
    EXPECT_EQ(table.idTags().title, QStringLiteral("乚"));
}

TEST(LrcCharsets, big5TextIsDecoded)
{
    // 也 is A4 5D in Big5; 你好 is A7 41 A6 6E.
    const QByteArray big5 = "[ar:\xa4\x5d]\n[00:02.50]\xa7\x41\xa6\x6e";
    const LyricTable table = LyricTable::fromLrc(big5, LyricCharset::Big5);
    ASSERT_EQ(table.size(), 3);
    EXPECT_DOUBLE_EQ(table.at(1).time, 2.5);
    EXPECT_EQ(table.at(1).text, QStringLiteral("你好"));
    EXPECT_EQ(table.idTags().artist, QStringLiteral("也"));
}

TEST(LrcCharsets, windowTextIsGbk)
{
    EXPECT_EQ(TextDecoder::decodeText("\xb8\xe8\xb4\xca"), QStringLiteral("歌词"));
    // A character cut off at the end of one text does not swallow the start of the next.
    TextDecoder::decodeText("\xb8");
    EXPECT_EQ(TextDecoder::decodeText("\xb4\xca"), QStringLiteral("词"));
    EXPECT_EQ(TextDecoder::decodeText("abc"), QStringLiteral("abc"));
}

struct LineAtRow {
    double t;
    int expected;
};

TEST(LyricTableLineAt, lastEntryNotAfterTheTime)
{
    const LyricTable table =
        LyricTable::fromLrc("[00:10]a\n[00:20]b\n[00:20]c\n[00:30]d", LyricCharset::Gbk);
    // 0 {0}, 1 a, 2 b, 3 c, 4 d, 5 end
    const LineAtRow rows[] = {{0, 0},  {9.99, 0}, {10, 1},  {19.5, 1}, {20, 3},
                              {29, 3}, {30, 4},   {1e9, 5}, {-5, 0}};
    for (const LineAtRow &row : rows)
        EXPECT_EQ(table.lineAt(row.t), row.expected) << "t=" << row.t;
    EXPECT_EQ(LyricTable().lineAt(3), 0);
}

TEST(LrcGrammarLimits, unclosedBracketsOnEveryLineAreRead)
{
    QByteArray lrc;
    for (int i = 0; i < 20000; ++i)
        lrc += "[00:01][[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[\n";
    const LyricTable table = LyricTable::fromLrc(lrc, LyricCharset::Gbk);
    ASSERT_EQ(table.size(), 20002);
    EXPECT_EQ(table.at(20000).text, QStringLiteral("[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[["));
}

} // namespace
