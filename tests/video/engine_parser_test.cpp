// mplayer's output as the engine reads it: lines across chunk boundaries, the length reply,
// the playback-started lines, and garbage.
#include "video/engine.h"

#include <QElapsedTimer>
#include <gtest/gtest.h>

namespace
{

struct ParseCase {
    const char *name;
    std::vector<QByteArray> chunks;
    int length;
    int timeouts;
};

class OutputParsing : public ::testing::TestWithParam<ParseCase>
{
};

TEST_P(OutputParsing, lengthAndTimeouts)
{
    const ParseCase &c = GetParam();
    Engine engine;
    int timeouts = 0;
    QObject::connect(&engine, &Engine::ontimeout, [&] { ++timeouts; });
    for (const QByteArray &chunk : c.chunks)
        engine.parseOutput(chunk);
    EXPECT_EQ(engine.length(), c.length);
    EXPECT_EQ(timeouts, c.timeouts);
}

std::vector<QByteArray> bytewise(const QByteArray &text)
{
    std::vector<QByteArray> out;
    for (char ch : text)
        out.push_back(QByteArray(1, ch));
    return out;
}

INSTANTIATE_TEST_SUITE_P(
    Lines, OutputParsing,
    ::testing::Values(
        ParseCase{"lengthSplitAcrossChunks", {"ANS_LEN", "GTH=754.08\n"}, 754, 0},
        ParseCase{"lengthTruncatedNotRounded", {"ANS_LENGTH=12.50\n"}, 12, 0},
        ParseCase{"lengthOneByteAtATime", bytewise("noise\nANS_LENGTH=61.99\n"), 61, 0},
        ParseCase{"unfinishedLineNotYetRead", {"ANS_LENGTH=5.00"}, 0, 0},
        ParseCase{"unfinishedLineReadWhenEnded", {"ANS_LENGTH=5.00", "", "\n"}, 5, 0},
        ParseCase{"carriageReturnBeforeFeed", {"ANS_LENGTH=9.00\r\n"}, 9, 0},
        ParseCase{"notANumberGivesZero", {"ANS_LENGTH=7.00\n", "ANS_LENGTH=x.yz\n"}, 0, 0},
        ParseCase{"tooShortGivesZero", {"ANS_LENGTH=7.00\n", "ANS_LENGTH=1.5\n"}, 0, 0},
        ParseCase{"emptyValueGivesZero", {"ANS_LENGTH=\n"}, 0, 0},
        ParseCase{"onlyAtLineStart", {" ANS_LENGTH=3.00\nxANS_LENGTH=4.00\n"}, 0, 0},
        ParseCase{"lastReplyWins", {"ANS_LENGTH=3.00\nANS_LENGTH=8.00\n"}, 8, 0},
        ParseCase{"severalLinesInOneChunk",
                  {"Playing x.\nStarting playback...\nANS_LENGTH=2.00\nOK!\n"},
                  2,
                  2},
        ParseCase{"startingSplit", {"Starting play", "back...\n"}, 0, 1},
        ParseCase{"startingWithTail", {"Starting playback... more\n"}, 0, 1},
        ParseCase{"startingNotAtLineStart", {"  Starting playback...\n"}, 0, 0},
        ParseCase{"okBang", {"OK!\n"}, 0, 1}, ParseCase{"okWithoutBang", {"OK\n"}, 0, 0},
        ParseCase{
            "binaryGarbageThenReply",
            {QByteArray("\0\xff\xfe\x01garbage", 11), QByteArray("\0\n", 2), "ANS_LENGTH=3.00\n"},
            3,
            0}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(OutputParsing, megabytesWithoutLineFeedStayBoundedAndTheLineIsDropped)
{
    Engine engine;
    const QByteArray junk(1023, 'A');
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < 8 * 1024; ++i) { // 8 MB
        engine.parseOutput(junk);
        ASSERT_LE(engine.pendingBytes(), Engine::MaxPendingBytes);
    }
    // The tail of the overlong line must not read as a line of its own.
    engine.parseOutput("ANS_LENGTH=99.00\nANS_LENGTH=4.00\n");
    EXPECT_EQ(engine.length(), 4);
    EXPECT_EQ(engine.pendingBytes(), 0);
    EXPECT_LT(timer.elapsed(), 20000); // linear, not quadratic
}

TEST(OutputParsing, hugeChunkWithLineFeedsKeepsOnlyTheUnfinishedRest)
{
    Engine engine;
    QByteArray big;
    for (int i = 0; i < 20000; ++i)
        big += "line of output " + QByteArray::number(i) + "\n";
    big += "ANS_LENGTH=42.00\nANS_LEN";
    engine.parseOutput(big);
    EXPECT_EQ(engine.length(), 42);
    EXPECT_EQ(engine.pendingBytes(), 7);
}

TEST(OutputParsing, lineJustUnderTheBoundIsStillRead)
{
    Engine engine;
    QByteArray line = "ANS_LENGTH=" + QByteArray(Engine::MaxPendingBytes - 20, '0') + "17.00";
    ASSERT_LT(line.size(), Engine::MaxPendingBytes);
    engine.parseOutput(line.left(1000));
    engine.parseOutput(line.mid(1000) + "\n");
    EXPECT_EQ(engine.length(), 17);
}

} // namespace
