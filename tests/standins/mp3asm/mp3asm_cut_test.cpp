// mp3asm as a process on MP3 files made by lame; results decoded by sox and played by mplayer.
#include "tests/support/testenv.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <gtest/gtest.h>

namespace
{

QString program()
{
    return testenv::binaryDir() + "/bin/mp3asm";
}

// Walks MPEG-1 layer III 128 kbit/s 44.1 kHz frames (what makeMp3 writes) by their padding
// bit alone; -1 when anything else is met.
int countCbrFrames(const QByteArray &bytes)
{
    int count = 0;
    qsizetype at = 0;
    while (at < bytes.size()) {
        if (bytes.size() - at < 4 || uchar(bytes[at]) != 0xFF || uchar(bytes[at + 1]) != 0xFB ||
            (uchar(bytes[at + 2]) & 0xF0) != 0x90)
            return -1;
        at += (uchar(bytes[at + 2]) & 0x02) ? 418 : 417;
        ++count;
    }
    return at == bytes.size() ? count : -1;
}

// Samples per channel that sox decodes.
long decodedSamples(const QString &path)
{
    testenv::ProcessResult r = testenv::run("sox", {path, "-n", "stat"});
    QRegularExpressionMatch m = QRegularExpression("Samples read:\\s+(\\d+)").match(r.err);
    return m.hasMatch() ? m.captured(1).toLong() / 2 : -1;
}

QByteArray id3v1(const QByteArray &song)
{
    QByteArray tag = "TAG" + song.leftJustified(30, '\0', true);
    tag += QByteArray(93, '\0') + QByteArray(1, 2) + QByteArray(1, 17); // v1.1: zero, track, genre
    return tag;
}

class Mp3asmCut : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_dir = testenv::scratchDir("cut");
        m_song = testenv::makeMp3(m_dir + "/song.mp3", 8.0, 128);
        ASSERT_FALSE(m_song.isEmpty()) << "sox and lame are needed";
    }
    testenv::ProcessResult cut(const QStringList &args)
    {
        return testenv::run(program(), args, 30000, m_dir);
    }
    QString m_dir;
    QString m_song;
};

TEST_F(Mp3asmCut, endFrameGivesExactFrameCountThatDecodesAndPlays)
{
    testenv::ProcessResult r = cut({"-o", "out.mp3", "-s", "100", "-e", "150", "song.mp3"});
    ASSERT_EQ(r.exitCode, 0) << r.err.constData();
    EXPECT_EQ(r.out, "");
    const QByteArray out = testenv::readFile(m_dir + "/out.mp3");
    EXPECT_EQ(countCbrFrames(out), 50);
    // The bit reservoir may cost a decoder the first frames of a cut, never more.
    const long samples = decodedSamples(m_dir + "/out.mp3");
    EXPECT_LE(samples, 50 * 1152);
    EXPECT_GE(samples, 45 * 1152);

    testenv::useQuietHome();
    testenv::ProcessResult play =
        testenv::run("mplayer", {"-noconsolecontrols", "out.mp3"}, 30000, m_dir);
    EXPECT_EQ(play.exitCode, 0);
    EXPECT_TRUE(play.out.contains("End of file")) << play.out.constData();
}

TEST_F(Mp3asmCut, lengthFormMatchesEndFormAndCopiesSourceBytes)
{
    ASSERT_EQ(cut({"-o", "a.mp3", "-s", "20", "-e", "60", "song.mp3"}).exitCode, 0);
    ASSERT_EQ(cut({"-o", "b.mp3", "-s", "20", "-r", "40", "song.mp3"}).exitCode, 0);
    const QByteArray a = testenv::readFile(m_dir + "/a.mp3");
    EXPECT_EQ(a, testenv::readFile(m_dir + "/b.mp3"));
    EXPECT_EQ(countCbrFrames(a), 40);
    EXPECT_TRUE(testenv::readFile(m_song).contains(a)); // whole frames, bytes unchanged
}

TEST_F(Mp3asmCut, cutterShellLineWithVerboseAndKeptTag)
{
    // The ringtone cutter's own form, through the shell, from "kerfa/" in the app folder.
    QByteArray song = testenv::readFile(m_song) + id3v1("Tagged");
    ASSERT_TRUE(testenv::writeFile(m_dir + "/music/a b.mp3", song));
    ASSERT_TRUE(QDir().mkpath(m_dir + "/kerfa"));
    ASSERT_TRUE(QFile::link(program(), m_dir + "/kerfa/mp3asm"));
    const QString line = "./kerfa/mp3asm  -o 'out dir/t.mp3' -s 38 -e 115 -v  -t  'music/a b.mp3'";
    QDir().mkpath(m_dir + "/out dir");
    testenv::ProcessResult r = testenv::run("sh", {"-c", line}, 30000, m_dir);
    ASSERT_EQ(r.exitCode, 0) << r.err.constData();
    EXPECT_TRUE(r.out.contains("77 frames")) << r.out.constData();
    const QByteArray out = testenv::readFile(m_dir + "/out dir/t.mp3");
    EXPECT_EQ(out.right(128), id3v1("Tagged"));
    EXPECT_EQ(countCbrFrames(out.chopped(128)), 77);

    ASSERT_EQ(testenv::run("sh", {"-c", "./kerfa/mp3asm -o notag.mp3 -s 38 -e 115 'music/a b.mp3'"},
                           30000, m_dir)
                  .exitCode,
              0);
    EXPECT_EQ(countCbrFrames(testenv::readFile(m_dir + "/notag.mp3")), 77);
}

TEST_F(Mp3asmCut, leadingId3v2IsSkipped)
{
    QByteArray v2 = QByteArray("ID3\x04\x00\x00\x00\x00\x01\x00", 10) + QByteArray(128, '\xFF');
    ASSERT_TRUE(testenv::writeFile(m_dir + "/v2.mp3", v2 + testenv::readFile(m_song)));
    ASSERT_EQ(cut({"-o", "out.mp3", "-s", "0", "-r", "10", "v2.mp3"}).exitCode, 0);
    EXPECT_EQ(countCbrFrames(testenv::readFile(m_dir + "/out.mp3")), 10);
}

TEST_F(Mp3asmCut, endPastLastFrameCutsToTheEnd)
{
    testenv::ProcessResult r = cut({"-o", "out.mp3", "-s", "300", "-e", "100000", "song.mp3"});
    ASSERT_EQ(r.exitCode, 0);
    EXPECT_TRUE(r.err.contains("warning")) << r.err.constData();
    const int total = countCbrFrames(testenv::readFile(m_dir + "/out.mp3"));
    EXPECT_GT(total, 0);
    EXPECT_LT(total, 8 * 39);
}

TEST_F(Mp3asmCut, hostileNamesArePlainArguments)
{
    const QString in = "-in 'q' \"$(touch pwned)\" `x`.mp3";
    const QString out = "-t out; rm -rf x.mp3";
    ASSERT_TRUE(QFile::copy(m_song, m_dir + "/" + in));
    testenv::ProcessResult r = cut({"-o", out, "-s", "1", "-e", "3", in});
    ASSERT_EQ(r.exitCode, 0) << r.err.constData();
    EXPECT_EQ(countCbrFrames(testenv::readFile(m_dir + "/" + out)), 2);
    EXPECT_FALSE(QFileInfo::exists(m_dir + "/pwned"));
    r = cut({"-o", "dashed.mp3", "-s", "1", "-e", "3", "--", in});
    EXPECT_EQ(r.exitCode, 0) << r.err.constData();
}

TEST_F(Mp3asmCut, failedWriteLeavesNoFileBehind)
{
    ASSERT_TRUE(testenv::writeFile(m_dir + "/out.mp3", "older cut"));
    const QStringList before = QDir(m_dir).entryList(QDir::AllEntries | QDir::Hidden);
    testenv::ProcessResult r = testenv::run(
        "prlimit", {"--fsize=5000", program(), "-o", "out.mp3", "-e", "100", "song.mp3"}, 30000,
        m_dir);
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains("cannot write")) << r.err.constData();
    EXPECT_EQ(QDir(m_dir).entryList(QDir::AllEntries | QDir::Hidden), before);
    EXPECT_EQ(testenv::readFile(m_dir + "/out.mp3"), "older cut");
}

struct BadRow {
    const char *name;
    QStringList args;
    int status;
    const char *message; // part of standard error
};

class Mp3asmBadInput : public Mp3asmCut, public ::testing::WithParamInterface<BadRow>
{
};

// Nothing is created or changed when a cut fails: "keep.mp3" must survive every row.
TEST_P(Mp3asmBadInput, failsWithMessageAndWritesNothing)
{
    const BadRow &row = GetParam();
    ASSERT_TRUE(testenv::writeFile(m_dir + "/text.mp3", QByteArray(3000, 'a')));
    QByteArray song = testenv::readFile(m_song);
    ASSERT_TRUE(testenv::writeFile(m_dir + "/cutid3.mp3",
                                   QByteArray("ID3\x03\x00\x00\x00\x01\x00\x00", 10) + "short"));
    ASSERT_TRUE(testenv::writeFile(m_dir + "/stub.mp3", song.left(4000).mid(417 + 100, 200)));
    ASSERT_TRUE(testenv::writeFile(m_dir + "/keep.mp3", "precious"));
    QDir().mkpath(m_dir + "/folder");
    const QStringList before = QDir(m_dir).entryList(QDir::AllEntries | QDir::Hidden);

    testenv::ProcessResult r = cut(row.args);
    EXPECT_EQ(r.exitCode, row.status);
    EXPECT_TRUE(r.err.startsWith("mp3asm: ")) << r.err.constData();
    EXPECT_TRUE(r.err.contains(row.message)) << r.err.constData();
    EXPECT_EQ(QDir(m_dir).entryList(QDir::AllEntries | QDir::Hidden), before);
    EXPECT_EQ(testenv::readFile(m_dir + "/keep.mp3"), "precious");
    EXPECT_EQ(testenv::readFile(m_song), song);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, Mp3asmBadInput,
    ::testing::Values(
        BadRow{"notMp3", {"-o", "keep.mp3", "-s", "0", "-e", "5", "text.mp3"}, 1, "no MPEG audio"},
        BadRow{"truncatedId3v2", {"-o", "keep.mp3", "-e", "5", "cutid3.mp3"}, 1, "truncated"},
        BadRow{
            "truncatedFirstFrame", {"-o", "keep.mp3", "-e", "5", "stub.mp3"}, 1, "no MPEG audio"},
        BadRow{"missingInput", {"-o", "keep.mp3", "-e", "5", "nothere.mp3"}, 1, "cannot open"},
        BadRow{"inputIsFolder", {"-o", "keep.mp3", "-e", "5", "folder"}, 1, "not a regular file"},
        BadRow{"startPastEnd",
               {"-o", "keep.mp3", "-s", "5000", "-e", "5005", "song.mp3"},
               1,
               "past the end"},
        BadRow{"outputIsInput", {"-o", "song.mp3", "-e", "5", "song.mp3"}, 1, "is the input"},
        BadRow{"outputIsFolder", {"-o", "folder", "-e", "5", "song.mp3"}, 1, "is a directory"},
        BadRow{"outputFolderMissing",
               {"-o", "no/such/o.mp3", "-e", "5", "song.mp3"},
               1,
               "cannot create"},
        BadRow{"badNumber",
               {"-o", "keep.mp3", "-s", "1x", "-e", "5", "song.mp3"},
               2,
               "bad frame number"},
        BadRow{"endBeforeStart",
               {"-o", "keep.mp3", "-s", "9", "-e", "5", "song.mp3"},
               2,
               "after the start"},
        BadRow{"noInput", {"-o", "keep.mp3"}, 2, "no input"}),
    [](const auto &info) { return std::string(info.param.name); });

} // namespace
