// Playlist files on disk: reading, writing, directory scans, saved-list copies, and
// stopping only our own xmms around a rewrite.
#include "audio/xmmsplayer.h"
#include "dropin/kconfig.h"
#include "platform/pathcodec.h"
#include "playlist/playerrestart.h"
#include "playlist/playlistfile.h"
#include "standins/xmms/playlistsource.h"
#include "tests/support/testenv.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

// Readable failure messages for Qt strings.
inline void PrintTo(const QString &s, std::ostream *os)
{
    *os << '"' << s.toStdString() << '"';
}

namespace
{

const char kGarbage[] = "\xff\xfe\x00\x01garbage\n@/a.mp3\n\x80\x81\n";
const char kNul[] = "@/a.mp3\0/b c.ogg\n@/b c.ogg\n";
const QByteArray kGbk = "\xd6\xd0\xce\xc4.mp3"; // "中文" in GBK: not UTF-8
const QByteArray kNbsp = "nbsp\xc2\xa0.mp3";    // ends in a no-break space
const QByteArray kTrailingBlank = "blank .mp3";

struct ReadCase {
    const char *name;
    QByteArray content; // "@" stands for the scratch folder
    QList<QByteArray> expected;
};

class PlaylistReadTest : public ::testing::TestWithParam<ReadCase>
{
};

// The front-end and the player read the same list into the same entries, byte for byte,
// so that row n of the window is position n of the player; and writing gives the bytes back.
TEST_P(PlaylistReadTest, bothReadersKeepTheSameExistingFiles)
{
    const QByteArray dir = QFile::encodeName(testenv::scratchDir("songs"));
    for (const QByteArray &song : {QByteArray("a.mp3"), QByteArray("b c.ogg"),
                                   QString("中文.mp3").toUtf8(), kGbk, kNbsp, kTrailingBlank}) {
        std::FILE *f = std::fopen(dir + "/" + song, "w");
        ASSERT_NE(f, nullptr);
        std::fclose(f);
    }
    QDir(QFile::decodeName(dir)).mkdir("folder.mp3");
    ASSERT_EQ(::symlink("a.mp3", dir + "/link.mp3"), 0);
    ASSERT_EQ(::symlink("gone.mp3", dir + "/dangling.mp3"), 0);
    const QString list = QFile::decodeName(dir) + "/list.m3u";
    QByteArray content = GetParam().content;
    content.replace('@', dir);
    ASSERT_TRUE(testenv::writeFile(list, content));

    QList<QByteArray> expected;
    for (const QByteArray &e : GetParam().expected)
        expected << dir + "/" + e;
    const auto entries = PlaylistFile::read(list);
    ASSERT_TRUE(entries.has_value());
    QList<QByteArray> front;
    for (const QString &e : *entries)
        front << PathCodec::encode(e);
    EXPECT_EQ(front, expected) << "front-end";
    EXPECT_EQ(PlaylistSource::readM3u(QFile::encodeName(list)), expected) << "player";

    const QString out = QFile::decodeName(dir) + "/out.m3u";
    ASSERT_TRUE(PlaylistFile::write(out, *entries));
    EXPECT_EQ(testenv::readFile(out),
              expected.isEmpty() ? QByteArray() : expected.join('\n') + '\n');
}

INSTANTIATE_TEST_SUITE_P(
    Lines, PlaylistReadTest,
    ::testing::Values(
        ReadCase{
            "headerAndExtinfSkipped", "#EXTM3U\n#EXTINF:12,Song\n@/a.mp3\n#@/b c.ogg\n", {"a.mp3"}},
        ReadCase{
            "blanksAroundPathsStripped", "  @/a.mp3\t\n\t@/b c.ogg   \n", {"a.mp3", "b c.ogg"}},
        ReadCase{"missingFilesDropped", "@/gone.mp3\n@/a.mp3\n@/also-gone.mp3\n", {"a.mp3"}},
        ReadCase{"crlfLineEnds", "@/a.mp3\r\n@/b c.ogg\r\n", {"a.mp3", "b c.ogg"}},
        ReadCase{
            "blankLinesAndNoFinalLineFeed", "\n\n@/a.mp3\n\n   \n@/b c.ogg", {"a.mp3", "b c.ogg"}},
        ReadCase{"directoryIsNoEntry", "@/folder.mp3\n@/a.mp3\n", {"a.mp3"}},
        ReadCase{"utf8Names", "@/中文.mp3\n", {QString("中文.mp3").toUtf8()}},
        ReadCase{"gbkNameKeptAsItsBytes",
                 "@/a.mp3\n@/" + kGbk + "\n@/b c.ogg\n",
                 {"a.mp3", kGbk, "b c.ogg"}},
        ReadCase{"noBreakSpaceIsPartOfTheName", "@/" + kNbsp + "\n@/a.mp3\n", {kNbsp, "a.mp3"}},
        ReadCase{"nameEndingInABlank",
                 "@/" + kTrailingBlank + "\r\n@/a.mp3\n",
                 {kTrailingBlank, "a.mp3"}},
        ReadCase{"lineWithNulSkipped", QByteArray(kNul, sizeof kNul - 1), {"b c.ogg"}},
        ReadCase{"garbageBytes", QByteArray(kGarbage, sizeof kGarbage - 1), {"a.mp3"}},
        ReadCase{"emptyFile", "", {}},
        // Enough lines naming one folder that it is read whole instead of a stat a line.
        ReadCase{"longListOfOneFolder",
                 ("@/a.mp3\n@/gone.mp3\n@/folder.mp3\n@/link.mp3\n@/dangling.mp3\n@/" + kGbk + "\n")
                     .repeated(10),
                 [] {
                     QList<QByteArray> names;
                     for (int i = 0; i < 10; ++i)
                         names << "a.mp3"
                               << "link.mp3" << kGbk;
                     return names;
                 }()}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(PlaylistFile, unreadableFileGivesNothing)
{
    const QString dir = testenv::scratchDir();
    EXPECT_FALSE(PlaylistFile::read(dir + "/missing.m3u").has_value());
    EXPECT_FALSE(PlaylistFile::read(dir).has_value());
}

TEST(PlaylistFile, writeGivesOnePathPerLineAndDropsLineBreaks)
{
    const QString dir = testenv::scratchDir();
    const QString list = dir + "/out.m3u";
    testenv::writeFile(list, "old content that is much longer than the new one\n");
    ASSERT_TRUE(
        PlaylistFile::write(list, {"/a/b.mp3", "/x\n/etc/passwd", "/c/中.ogg", "/d\r.mp3"}));
    EXPECT_EQ(testenv::readFile(list), QString("/a/b.mp3\n/c/中.ogg\n").toUtf8());
    ASSERT_TRUE(PlaylistFile::write(list, {}));
    EXPECT_EQ(testenv::readFile(list), QByteArray());
}

TEST(PlaylistFile, writeIntoMissingFolderFails)
{
    const QString dir = testenv::scratchDir();
    EXPECT_FALSE(PlaylistFile::write(dir + "/no/such/folder/x.m3u", {"/a.mp3"}));
}

TEST(PlaylistFile, scanListsMediaFilesSortedIgnoringCase)
{
    const QString dir = testenv::scratchDir("music");
    for (const char *name : {"b.mp3", "A.ogg", "Track.MP3", ".hidden.wav", "notes.txt", "cover.jpg",
                             "z.fmr", "c.aac", "mp3"})
        testenv::writeFile(dir + "/" + name, "x");
    QDir(dir).mkdir("sub.mp3");
    const auto paths = PlaylistFile::scanDirectory(dir);
    ASSERT_TRUE(paths.has_value());
    QStringList names;
    for (const QString &p : *paths) {
        EXPECT_TRUE(p.startsWith(dir + "/"));
        names << QFileInfo(p).fileName();
    }
    EXPECT_EQ(names, QStringList({".hidden.wav", "A.ogg", "b.mp3", "c.aac", "Track.MP3", "z.fmr"}));
}

TEST(PlaylistFile, rebuildFromFolderWithoutMediaWritesEmptyList)
{
    const QString dir = testenv::scratchDir("empty");
    testenv::writeFile(dir + "/readme.txt", "x");
    const QString list = testenv::scratchDir() + "/xmms.m3u";
    testenv::writeFile(list, "/old/entry.mp3\n");
    // Unreadable folders leave the list as it was.
    EXPECT_FALSE(PlaylistFile::rebuildFromDirectory(dir + "/missing", list));
    EXPECT_FALSE(PlaylistFile::rebuildFromDirectory(dir + "/readme.txt", list));
    EXPECT_EQ(testenv::readFile(list), QByteArray("/old/entry.mp3\n"));
    ASSERT_TRUE(PlaylistFile::rebuildFromDirectory(dir, list));
    EXPECT_EQ(testenv::readFile(list), QByteArray());
}

class HostileListName : public ::testing::TestWithParam<const char *>
{
};

// A saved list's name reaches no shell: whatever it holds, the copy is byte-exact and
// nothing runs.
TEST_P(HostileListName, copiedExactlyAndNothingRuns)
{
    const QString app = testenv::scratchDir("app");
    const QString oldCwd = QDir::currentPath();
    QDir::setCurrent(app);
    const QString name = QString::fromUtf8(GetParam());
    const QString source = app + "/playlist/" + name + ".m3u";
    const QByteArray content = "/mmc/mmca1/one.mp3\n/mmc/mmca1/two \"quoted\".mp3\n";
    ASSERT_TRUE(testenv::writeFile(source, content));
    const QString dest = PlaylistFile::playerListPath(app);
    testenv::writeFile(dest, "/previous.mp3\n");

    EXPECT_TRUE(PlaylistFile::copyList(source, dest));
    EXPECT_EQ(testenv::readFile(dest), content);
    EXPECT_FALSE(QFileInfo::exists(app + "/pwned"));
    EXPECT_EQ(QDir(app + "/.xmms").entryList(QDir::Files | QDir::Hidden),
              QStringList({"xmms.m3u"}));
    QDir::setCurrent(oldCwd);
}

INSTANTIATE_TEST_SUITE_P(Names, HostileListName,
                         ::testing::Values("a\" ; touch pwned ; \"b", "$(touch pwned)",
                                           "`touch pwned`", "new\nline", "-rf", "x;touch pwned",
                                           "it's", "\\\"$(touch pwned)\\\""));

TEST(PlaylistFile, failedCopyLeavesPlayerListAlone)
{
    const QString app = testenv::scratchDir("app");
    const QString dest = PlaylistFile::playerListPath(app);
    testenv::writeFile(dest, "/kept.mp3\n");
    EXPECT_FALSE(PlaylistFile::copyList(app + "/playlist/missing.m3u", dest));
    EXPECT_EQ(testenv::readFile(dest), QByteArray("/kept.mp3\n"));
}

TEST(PlaylistFile, savedListNamesAreTheFirstSevenIgnoringCase)
{
    const QString dir = testenv::scratchDir("playlist");
    for (const char *name : {"h.m3u", "B.m3u", "a.m3u", "c.d.m3u", "E.m3u", "f.m3u", "g.m3u",
                             "zz.m3u", "notes.txt", "x.m3u.bak"})
        testenv::writeFile(dir + "/" + name, "");
    QDir(dir).mkdir("folder.m3u");
    EXPECT_EQ(PlaylistFile::savedListNames(dir),
              QStringList({"a", "B", "c.d", "E", "f", "g", "h"}));
    EXPECT_TRUE(PlaylistFile::savedListNames(dir + "/missing").isEmpty());
}

// A process named "xmms" running in `dir` (a shell script that ignores nothing).
qint64 startFakeXmms(const QString &dir, QProcess &process)
{
    const QString program = dir + "/bin/xmms";
    testenv::writeFile(program, "#!/bin/sh\nwhile :; do sleep 0.05; done\n");
    QFile::setPermissions(program, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    process.setWorkingDirectory(dir);
    process.start(program, {});
    process.waitForStarted();
    return process.processId();
}

// xmms that ignores the quit request is terminated, but only the one of our folder.
TEST(PlayerRestart, stopsOnlyTheXmmsOfTheApplicationDirectory)
{
    const QString app = testenv::scratchDir("app");
    const QString other = testenv::scratchDir("other");
    const QByteArray oldTmp = qgetenv("TMPDIR");
    qputenv("TMPDIR", testenv::scratchDir("sockets").toLocal8Bit());
    QProcess ours, theirs;
    const qint64 ourPid = startFakeXmms(app, ours);
    const qint64 theirPid = startFakeXmms(other, theirs);
    ASSERT_TRUE(testenv::waitFor([&] { return PlayerRestart::xmmsProcessesIn(app).size() == 1; }));
    EXPECT_EQ(PlayerRestart::xmmsProcessesIn(app), QList<qint64>{ourPid});
    EXPECT_EQ(PlayerRestart::xmmsProcessesIn(other), QList<qint64>{theirPid});

    const QString oldCwd = QDir::currentPath();
    QDir::setCurrent(app);
    // The relaunch starts a fresh instance from bin/xmms; make that one end at once.
    {
        XMMSPlayer xmms;
        PlayerRestart restart(&xmms, app);
        EXPECT_TRUE(ours.waitForFinished(2000));
        EXPECT_TRUE(PlayerRestart::xmmsProcessesIn(app).isEmpty());
        testenv::writeFile(app + "/bin/xmms", "#!/bin/sh\nexit 0\n");
    }
    QDir::setCurrent(oldCwd);
    qputenv("TMPDIR", oldTmp);
    EXPECT_EQ(theirs.state(), QProcess::Running);
    theirs.kill();
    theirs.waitForFinished();
}

TEST(PlayerRestart, withoutAdapterDoesNothing)
{
    const QString app = testenv::scratchDir("app");
    QProcess ours;
    const qint64 pid = startFakeXmms(app, ours);
    ASSERT_TRUE(testenv::waitFor([&] { return !PlayerRestart::xmmsProcessesIn(app).isEmpty(); }));
    {
        PlayerRestart restart(nullptr, app);
    }
    EXPECT_EQ(PlayerRestart::xmmsProcessesIn(app), QList<qint64>{pid});
    ours.kill();
    ours.waitForFinished();
}

} // namespace

// A save killed at any moment leaves every list and settings file with its old content or
// its new one, in a normal folder and where no temporary file can be made (a name with no
// room for the suffix, so even root takes the in-place path), and no temporary behind.
class KilledWhileSaving : public ::testing::TestWithParam<bool>
{
};

TEST_P(KilledWhileSaving, filesHoldTheOldOrTheNewContent)
{
    const QString dir = testenv::scratchDir(GetParam() ? "inplace" : "atomic");
    const long nameMax = ::pathconf(QFile::encodeName(dir).constData(), _PC_NAME_MAX);
    const QString list = dir + '/' + (GetParam() ? QString(int(nameMax), 'l') : "xmms.m3u");
    const QString settings = dir + "/tavrin_cfg";
    QStringList longList, shortList;
    for (int i = 0; i < 40; ++i) {
        longList << dir + QString("/song%1.mp3").arg(i);
        testenv::writeFile(longList.last(), "x");
    }
    shortList = longList.mid(7, 3);
    ASSERT_TRUE(PlaylistFile::write(list, longList));
    {
        KConfig cfg(settings);
        cfg.setGroup("OPTION");
        cfg.writeEntry("loop", "old");
    }

    std::srand(7);
    for (int round = 0; round < 300; ++round) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            for (int i = 0;; ++i) {
                PlaylistFile::write(list, i % 2 ? longList : shortList);
                KConfig cfg(settings);
                cfg.setGroup("OPTION");
                cfg.writeEntry("loop", i % 2 ? "old" : QString(300, 'n'));
            }
        }
        ::usleep(useconds_t(std::rand() % 4000));
        ::kill(child, SIGKILL);
        ::waitpid(child, nullptr, 0);
        const auto entries = PlaylistFile::read(list);
        ASSERT_TRUE(entries.has_value()) << "round " << round;
        ASSERT_TRUE(*entries == longList || *entries == shortList)
            << "round " << round << ": " << entries->size() << " entries";
        KConfig cfg(settings, true);
        cfg.setGroup("OPTION");
        const QString loop = cfg.readEntry("loop", "none");
        ASSERT_TRUE(loop == "old" || loop == QString(300, 'n')) << "round " << round;
    }
    // What killed saves of the list left behind goes at the next start (the list is read
    // then) once nobody has touched it for a minute; not a fresh one, not another list's.
    const QString fresh = list + ".Xy34Zw", other = dir + "/saved.m3u.Qq11Ww";
    auto aged = [](const QString &f) {
        QFile file(f);
        return file.open(QIODevice::ReadWrite) &&
               file.setFileTime(QDateTime::currentDateTime().addSecs(-3600),
                                QFileDevice::FileModificationTime);
    };
    for (const QString &name : QDir(dir).entryList({"*.m3u.*"}, QDir::Files | QDir::Hidden))
        ASSERT_TRUE(aged(dir + '/' + name));
    if (!GetParam()) { // no room for these beside the longest name
        testenv::writeFile(fresh, "/half/a/li");
        testenv::writeFile(other, "/half/a/li");
        ASSERT_TRUE(aged(other));
    }
    PlaylistFile::read(list);
    const QStringList left =
        QDir(dir).entryList({"*.m3u*", QFileInfo(list).fileName() + "*"}, QDir::Files);
    EXPECT_EQ(left, GetParam() ? QStringList{QFileInfo(list).fileName()}
                               : QStringList({"saved.m3u.Qq11Ww", "xmms.m3u", "xmms.m3u.Xy34Zw"}))
        << left.join(' ').toStdString();
}

INSTANTIATE_TEST_SUITE_P(Folders, KilledWhileSaving, ::testing::Values(false, true),
                         [](const auto &info) { return info.param ? "inPlace" : "atomic"; });
