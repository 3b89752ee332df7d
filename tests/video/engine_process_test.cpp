// The engine with a real child: the real mplayer where the user meets it, a fake ./mplayer
// where a test needs exact control over what the child says and does.
#include "video/engine.h"

#include "audio/mixer.h"
#include "fakemplayer.h"
#include "platform/pathcodec.h"
#include "platform/power.h"
#include "tests/support/testenv.h"
#include "video/videoplayer.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPointer>
#include <QProcess>
#include <QThread>
#include <QWidget>
#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <sys/wait.h>
#include <unistd.h>

namespace
{

bool processGone(pid_t pid)
{
    return pid > 0 && ::kill(pid, 0) != 0;
}

// Windows are released with deleteLater, which a test's own wait loop does not run.
bool released(const QPointer<VideoPlayer> &window)
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return window.isNull();
}

int openDescriptors()
{
    return testenv::footprint().descriptors;
}

// Children of this process that still exist (zombies included).
QStringList childPids()
{
    QStringList out;
    const QStringList tasks = QDir("/proc/self/task").entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString &t : tasks) {
        const QString text =
            QString::fromLatin1(testenv::readFile("/proc/self/task/" + t + "/children"));
        out += text.split(' ', Qt::SkipEmptyParts);
    }
    return out;
}

// No child of this process beyond those listed (ended ones reaped, none left over).
bool noNewChildren(const QStringList &before)
{
    for (const QString &pid : childPids())
        if (!before.contains(pid))
            return false;
    return true;
}

struct Counters {
    int quits = 0;
    int timeouts = 0;
    int needGui = 0;
    void watch(Engine &e)
    {
        QObject::connect(&e, &Engine::onQuit, [this] { ++quits; });
        QObject::connect(&e, &Engine::ontimeout, [this] { ++timeouts; });
        QObject::connect(&e, &Engine::onNeedGUI, [this] { ++needGui; });
    }
};

QString fakeMedia(const QString &dir, const QString &name)
{
    const QString path = dir + "/" + name;
    testenv::writeFile(path, "not really media");
    return path;
}

class RealMplayer : public ::testing::Test
{
protected:
    void SetUp() override
    {
        testenv::useQuietHome();
        m_app = testenv::scratchDir("app");
        fakemplayer::installReal(m_app);
    }
    QString m_app;
};

TEST_F(RealMplayer, songGivesTimeoutLengthAndQuitAtItsEnd)
{
    const QString song = testenv::makeMp3(m_app + "/music/song.mp3", 2.0);
    ASSERT_FALSE(song.isEmpty());
    Engine engine;
    Counters c;
    c.watch(engine);
    ASSERT_TRUE(engine.play(song));
    EXPECT_EQ(engine.mode(), Engine::Mode::Audio);
    EXPECT_EQ(engine.videoWindow(), nullptr);
    EXPECT_TRUE(testenv::waitFor([&] { return c.timeouts > 0; }, 10000));
    EXPECT_TRUE(testenv::waitFor([&] { return engine.length() == 2; }, 10000)) << engine.length();
    EXPECT_TRUE(testenv::waitFor([&] { return c.quits == 1; }, 15000));
    EXPECT_FALSE(engine.isRunning());
    EXPECT_TRUE(processGone(engine.pid()));
}

TEST_F(RealMplayer, quitByUserEndsWithoutOnQuit)
{
    const QString song = testenv::makeMp3(m_app + "/long.mp3", 20.0, 32);
    Engine engine;
    Counters c;
    c.watch(engine);
    ASSERT_TRUE(engine.play(song));
    ASSERT_TRUE(testenv::waitFor([&] { return c.timeouts > 0; }, 10000));
    const pid_t pid = engine.pid();
    engine.quitByUser();
    EXPECT_TRUE(testenv::waitFor([&] { return processGone(pid); }, 5000));
    testenv::waitFor([] { return false; }, 1500); // a poll or two more
    EXPECT_EQ(c.quits, 0);
    EXPECT_FALSE(engine.isRunning());
}

TEST_F(RealMplayer, hostileFileNamesPlayAndRunNothing)
{
    // The last name is GBK from another system, not UTF-8: it must play all the same.
    const QStringList names = {"-vo null.mp3", "it's \"quoted\" $(touch pwned) `touch pwned`.mp3",
                               "{ braces }.mp3", "tab\tand\nnewline.mp3",
                               PathCodec::decode("\xd6\xd0\xce\xc4.mp3")};
    for (const QString &name : names) {
        const QString made = testenv::makeMp3(m_app + "/songs/made.mp3", 1.0);
        ASSERT_FALSE(made.isEmpty()) << name.toStdString();
        ASSERT_EQ(::rename(PathCodec::encode(made), PathCodec::encode(m_app + "/songs/" + name)),
                  0);
        QDir::setCurrent(m_app);
        Engine engine;
        Counters c;
        c.watch(engine);
        // Relative, as a user might have it: the engine must still find this very file.
        ASSERT_TRUE(engine.play("songs/" + name)) << name.toStdString();
        EXPECT_TRUE(testenv::waitFor([&] { return engine.length() == 1; }, 10000))
            << name.toStdString();
        EXPECT_TRUE(testenv::waitFor([&] { return c.quits == 1; }, 15000)) << name.toStdString();
    }
    EXPECT_FALSE(QFile::exists(m_app + "/pwned"));
    EXPECT_FALSE(QFile::exists(m_app + "/songs/pwned"));
}

// The user skipping through a list of very short songs: every cycle starts two children.
TEST_F(RealMplayer, playNextStopCyclesLeaveNothingBehind)
{
    const QString first = testenv::makeMp3(m_app + "/first.mp3", 0.3);
    const QString second = testenv::makeMp3(m_app + "/second.mp3", 0.3);
    ASSERT_FALSE(first.isEmpty() || second.isEmpty());
    Engine engine;
    Counters c;
    c.watch(engine);
    const auto playUntilStarted = [&](const QString &path) {
        const int before = c.timeouts;
        return engine.play(path) && testenv::waitFor([&] { return c.timeouts > before; }, 10000);
    };
    const int children = testenv::footprint().children;
    QList<testenv::Footprint> samples;
    for (int i = 0, n = testenv::soakCycles(200); i < n; ++i) {
        // Alternately skipped at once and after it began: the quit meets the child both
        // starting up and playing.
        ASSERT_TRUE(i % 2 ? engine.play(first) : playUntilStarted(first)) << i;
        ASSERT_TRUE(playUntilStarted(second)) << i; // next
        engine.stop();
        samples << testenv::footprint();
    }
    // Children are reaped by the engine's one-second poll, so a few may be pending at any
    // sample. Memory is left to LeakSanitizer in the sanitized build, whose quarantine
    // holds on to freed memory.
#ifdef __SANITIZE_ADDRESS__
    const long residentKiB = -1;
#else
    const long residentKiB = 2048;
#endif
    std::printf("engine: %s\n", qPrintable(testenv::summary(samples)));
    EXPECT_EQ(testenv::growth(samples, {0, 2, residentKiB}).toStdString(), "");
    const pid_t last = engine.pid();
    EXPECT_TRUE(testenv::waitFor([&] { return testenv::footprint().children <= children; }, 8000));
    EXPECT_TRUE(processGone(last));
}

TEST_F(RealMplayer, killChildEndsOursAndSparesOtherMplayers)
{
    const QString song = testenv::makeMp3(m_app + "/long.mp3", 20.0, 32);
    QProcess other;
    other.start("/usr/bin/mplayer", {"-idle", "-slave", "-quiet", "-ao", "null", "-vo", "null"});
    ASSERT_TRUE(other.waitForStarted(5000));

    Engine engine;
    ASSERT_TRUE(engine.play(song));
    const pid_t pid = engine.pid();
    engine.killChild();
    EXPECT_TRUE(processGone(pid));
    EXPECT_FALSE(engine.isRunning());
    EXPECT_EQ(other.state(), QProcess::Running);
    other.write("quit\n");
    if (!other.waitForFinished(5000))
        other.kill();
}

class FakeMplayer : public ::testing::Test
{
protected:
    void SetUp() override
    {
        testenv::useQuietHome();
        m_app = testenv::scratchDir("app");
        fakemplayer::install(m_app);
    }
    QString m_app;
};

TEST_F(FakeMplayer, commandsReachTheChildAsExactLines)
{
    Engine engine;
    Counters c;
    c.watch(engine);
    ASSERT_TRUE(engine.play(fakeMedia(m_app, "song.ogg")));
    // The first output line asks for the length; the fake answers 42.
    ASSERT_TRUE(testenv::waitFor([&] { return engine.length() == 42; }));
    EXPECT_EQ(c.timeouts, 1);
    engine.seek(2, 75);
    engine.seek(0, -10);
    engine.pause();
    engine.setVolume(30);
    engine.sendCommand("osd");
    const pid_t pid = engine.pid();
    engine.stop();
    ASSERT_TRUE(testenv::waitFor([&] { return processGone(pid); }));
    const QList<QByteArray> expected = {"get_time_length", "seek 75 2", "seek -10 0", "pause",
                                        "volume 30",       "osd",       "quit"};
    EXPECT_EQ(fakemplayer::lines(m_app), expected);
    testenv::waitFor([] { return false; }, 1200);
    EXPECT_EQ(c.quits, 0) << "stop is not the child ending by itself";
    EXPECT_EQ(c.needGui, 0);
}

TEST_F(FakeMplayer, absolutePathGoesLastAndWindowArgumentsOnlyForVideo)
{
    Engine engine;
    QDir::setCurrent(m_app);
    testenv::writeFile(m_app + "/-x.mp3", "x");
    ASSERT_TRUE(engine.play("-x.mp3"));
    ASSERT_TRUE(testenv::waitFor([&] { return engine.length() == 42; }));
    QList<QByteArray> args = fakemplayer::arguments(m_app);
    ASSERT_FALSE(args.isEmpty());
    EXPECT_EQ(args.last(), QFile::encodeName(m_app + "/-x.mp3"));
    EXPECT_FALSE(args.contains("-wid"));
    engine.stop();

    const QString clip = fakeMedia(m_app, "clip.3gp");
    ASSERT_TRUE(engine.play(clip));
    EXPECT_EQ(engine.length(), 42) << "the last answer stands until the new file's";
    ASSERT_NE(engine.videoWindow(), nullptr);
    ASSERT_TRUE(testenv::waitFor(
        [&] { return fakemplayer::arguments(m_app).contains(QFile::encodeName(clip)); }));
    args = fakemplayer::arguments(m_app);
    const int wid = int(args.indexOf("-wid"));
    ASSERT_GT(wid, 0);
    EXPECT_EQ(args[wid - 1], QFile::encodeName(clip));
    EXPECT_EQ(args[wid + 1], QByteArray::number(qulonglong(engine.videoWindow()->winId())));
    engine.stop();
}

TEST_F(FakeMplayer, videoWindowLivesExactlyWhileTheVideoPlays)
{
    Engine engine;
    Counters c;
    c.watch(engine);
    ASSERT_TRUE(engine.play(fakeMedia(m_app, "clip.avi")));
    QPointer<VideoPlayer> window = engine.videoWindow();
    ASSERT_TRUE(window);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->size(), QSize(240, 320));
    EXPECT_EQ(platform::lastLcdSleepTime(), 0);
    // Video mode never reports the start of playback.
    ASSERT_TRUE(testenv::waitFor([&] { return engine.length() == 42; }));
    EXPECT_EQ(c.timeouts, 0);

    engine.stop();
    EXPECT_EQ(engine.videoWindow(), nullptr);
    EXPECT_EQ(c.needGui, 1);
    EXPECT_EQ(platform::lastLcdSleepTime(), 30);
    EXPECT_TRUE(testenv::waitFor([&] { return released(window); }));
    engine.stop();
    EXPECT_EQ(c.needGui, 1) << "a second stop has no window to give back";
}

TEST_F(FakeMplayer, videoWindowCoversTheMainWindow)
{
    QWidget mainWindow;
    mainWindow.setGeometry(37, 53, 240, 320);
    mainWindow.show();
    auto *engine = new Engine(&mainWindow, "Engine");
    EXPECT_EQ(engine->objectName(), "Engine");
    ASSERT_TRUE(engine->play(fakeMedia(m_app, "clip.avi")));
    ASSERT_NE(engine->videoWindow(), nullptr);
    EXPECT_EQ(engine->videoWindow()->pos(), mainWindow.pos());
    engine->killChild();
}

TEST_F(FakeMplayer, playWhilePlayingReplacesTheWindowWithoutOnQuit)
{
    Engine engine;
    Counters c;
    c.watch(engine);
    ASSERT_TRUE(engine.play(fakeMedia(m_app, "a.avi")));
    QPointer<VideoPlayer> first = engine.videoWindow();
    const pid_t firstPid = engine.pid();
    ASSERT_TRUE(engine.play(fakeMedia(m_app, "b.avi")));
    EXPECT_NE(engine.videoWindow(), first.data());
    EXPECT_TRUE(testenv::waitFor([&] { return released(first) && processGone(firstPid); }));
    EXPECT_EQ(c.needGui, 1);
    EXPECT_TRUE(engine.isRunning());
    testenv::waitFor([] { return false; }, 1200);
    EXPECT_EQ(c.quits, 0);
    engine.stop();
}

TEST_F(FakeMplayer, childEndingByItselfGivesOnQuitWithinAboutASecond)
{
    fakemplayer::install(m_app, "sleep 0.3; exit 0\n");
    Engine engine;
    Counters c;
    c.watch(engine);
    ASSERT_TRUE(engine.play(fakeMedia(m_app, "clip.mpg")));
    QPointer<VideoPlayer> window = engine.videoWindow();
    ASSERT_TRUE(testenv::waitFor([&] { return c.quits == 1; }, 2500));
    EXPECT_EQ(c.needGui, 1);
    EXPECT_TRUE(testenv::waitFor([&] { return released(window); }));
    EXPECT_FALSE(engine.isRunning());
}

TEST_F(FakeMplayer, unplayableFilesStartNothing)
{
    Engine engine;
    const QStringList bad = {m_app + "/missing.mp3", fakeMedia(m_app, "notes.txt"),
                             fakeMedia(m_app, "song.flac"), QString(), m_app};
    for (const QString &path : bad) {
        EXPECT_FALSE(engine.play(path)) << path.toStdString();
        EXPECT_EQ(engine.videoWindow(), nullptr);
    }
    EXPECT_FALSE(QFile::exists(m_app + "/args.rec"));
}

TEST_F(FakeMplayer, missingPlayerFailsAndTheChildNeverRunsOurCode)
{
    QFile::remove(m_app + "/mplayer");
    Engine engine;
    Counters c;
    c.watch(engine);
    const int fds = openDescriptors();
    const QStringList children = childPids();
    EXPECT_FALSE(engine.play(fakeMedia(m_app, "clip.avi")));
    EXPECT_EQ(engine.videoWindow(), nullptr);
    EXPECT_EQ(platform::lastLcdSleepTime() == 0, false);
    // A child that returned into the front-end would still be around, running these tests.
    EXPECT_TRUE(testenv::waitFor([&] { return noNewChildren(children); }, 3000))
        << childPids().join(' ').toStdString();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(openDescriptors(), fds);
    testenv::waitFor([] { return false; }, 1200);
    EXPECT_EQ(c.quits, 0);
}

TEST_F(FakeMplayer, nothingIsWrittenToDescriptorsNotOurs)
{
    // Descriptors the engine has closed get reused by the next open; none may receive text.
    Engine engine;
    engine.sendCommand("before any play");
    engine.quit();
    engine.stop();
    ASSERT_TRUE(engine.play(fakeMedia(m_app, "song.mp3")));
    engine.stop();
    QList<QFile *> files;
    for (int i = 0; i < 6; ++i) {
        auto *f = new QFile(m_app + QString("/victim%1").arg(i));
        ASSERT_TRUE(f->open(QIODevice::ReadWrite));
        files << f;
    }
    engine.sendCommand("after stop");
    engine.setVolume(3);
    engine.quitByUser();
    engine.stop();
    for (QFile *f : files) {
        f->flush();
        EXPECT_EQ(f->size(), 0) << f->fileName().toStdString();
        delete f;
    }
}

TEST_F(FakeMplayer, descriptorsAndWindowsStayFlatOverTwoHundredPlays)
{
    const QString song = fakeMedia(m_app, "song.mp3");
    const QString clip = fakeMedia(m_app, "clip.avi");
    Engine engine;
    // Warm-up: the first play creates lasting toolkit state (window system, fonts).
    ASSERT_TRUE(engine.play(clip));
    engine.stop();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    const int fds = openDescriptors();
    const int windows = int(QApplication::topLevelWidgets().size());
    const QStringList children = childPids();

    for (int i = 0; i < 200; ++i) {
        ASSERT_TRUE(engine.play(i % 2 ? clip : song)) << i;
        if (i % 3 == 0)
            QCoreApplication::processEvents();
    }
    engine.stop();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
    EXPECT_EQ(openDescriptors(), fds);
    EXPECT_EQ(int(QApplication::topLevelWidgets().size()), windows);
    // Every child leaves and is reaped: no zombies pile up.
    EXPECT_TRUE(testenv::waitFor([&] { return noNewChildren(children); }, 5000))
        << childPids().size();
}

TEST_F(FakeMplayer, childIgnoringQuitIsEndedAfterAFewSeconds)
{
    fakemplayer::install(m_app, "trap '' TERM\nwhile :; do sleep 0.1; done\n");
    Engine engine;
    ASSERT_TRUE(engine.play(fakeMedia(m_app, "song.mp3")));
    const pid_t pid = engine.pid();
    engine.stop();
    EXPECT_FALSE(processGone(pid));
    EXPECT_TRUE(testenv::waitFor([&] { return processGone(pid); }, 12000));
}

TEST_F(FakeMplayer, childThatStopsReadingNeverBlocksCommands)
{
    fakemplayer::install(m_app, "trap '' TERM\nwhile :; do sleep 0.1; done\n");
    Engine engine;
    ASSERT_TRUE(engine.play(fakeMedia(m_app, "song.mp3")));
    const QString command(200, QLatin1Char('x'));
    for (int i = 0; i < 20000; ++i) // 4 MB, far beyond any socket buffer
        engine.sendCommand(command);
    engine.killChild();
    SUCCEED();
}

TEST_F(FakeMplayer, killChildEndsAChildThatIgnoresTerminate)
{
    fakemplayer::install(m_app, "trap '' TERM\nwhile :; do sleep 0.1; done\n");
    Engine engine;
    ASSERT_TRUE(engine.play(fakeMedia(m_app, "song.mp3")));
    const pid_t pid = engine.pid();
    engine.killChild();
    EXPECT_TRUE(processGone(pid));
}

TEST_F(FakeMplayer, incomingCallStopsAtTheNextLine)
{
    Engine engine;
    Counters c;
    c.watch(engine);
    ASSERT_TRUE(engine.play(fakeMedia(m_app, "clip.avi")));
    ASSERT_TRUE(testenv::waitFor([&] { return engine.length() == 42; }));
    const pid_t pid = engine.pid();
    platform::setPhoneInCall(true);
    engine.sendCommand("get_time_length"); // the answer is the next line
    const bool stopped = testenv::waitFor([&] { return engine.videoWindow() == nullptr; });
    platform::setPhoneInCall(false);
    EXPECT_TRUE(stopped);
    EXPECT_EQ(c.needGui, 1);
    EXPECT_TRUE(testenv::waitFor([&] { return processGone(pid); }));
    EXPECT_EQ(fakemplayer::lines(m_app).last(), "quit");
}

// The mixer requests the engine makes, seen through the mixer's device seam.
QList<unsigned long> g_requests;
int recordIoctl(int, unsigned long request, void *)
{
    g_requests << request;
    return 0;
}

class Booster : public FakeMplayer, public ::testing::WithParamInterface<bool>
{
};

TEST_P(Booster, reappliedAfterOutputThatFollowsACommand)
{
    const bool on = GetParam();
    testenv::writeFile(m_app + "/.xmms/config",
                       QByteArray("[OSS]\nezx_bass_booster=") + (on ? "true" : "false") + "\n");
    testenv::writeFile(m_app + "/mixer", "");
    MixerDevice::setPath(m_app + "/mixer");
    MixerDevice::setIoctl(recordIoctl);
    g_requests.clear();
    const unsigned long expected = on ? MixerRequest::BassBoosterOn : MixerRequest::BassBoosterOff;

    Engine engine;
    ASSERT_TRUE(engine.play(fakeMedia(m_app, "song.mp3")));
    // The first line arms it; the answer to the length request applies it.
    ASSERT_TRUE(testenv::waitFor([&] { return engine.length() == 42 && !g_requests.isEmpty(); }));
    const int before = int(g_requests.size());
    engine.sendCommand("get_time_length");
    EXPECT_TRUE(testenv::waitFor([&] { return g_requests.size() > before; }));
    engine.stop();
    MixerDevice::setIoctl(nullptr);
    MixerDevice::setPath("/dev/mixer");
    for (unsigned long r : std::as_const(g_requests))
        EXPECT_EQ(r, expected);
}

INSTANTIATE_TEST_SUITE_P(Setting, Booster, ::testing::Bool());

} // namespace

TEST(EngineOrphans, playerEndsWhenTheFrontEndDies)
{
    // A front-end killed without closing must not leave its player running unseen.
    testenv::useQuietHome();
    const QString app = testenv::scratchDir("orphan");
    fakemplayer::install(app);
    // A player that, like mplayer, plays on when its command channel closes, and that
    // shrugs off SIGTERM.
    testenv::writeFile(app + "/mplayer", "#!/bin/sh\ntrap '' TERM\nexec sleep 30\n");
    QFile::setPermissions(app + "/mplayer",
                          QFile::permissions(app + "/mplayer") | QFileDevice::ExeOwner);
    const QString media = fakeMedia(app, "song.mp3");
    int pidPipe[2];
    ASSERT_EQ(::pipe(pidPipe), 0);
    const pid_t frontEnd = ::fork();
    ASSERT_GE(frontEnd, 0);
    if (frontEnd == 0) {
        ::close(pidPipe[0]);
        Engine engine;
        engine.play(media);
        const pid_t player = engine.pid();
        (void)!::write(pidPipe[1], &player, sizeof player);
        ::pause(); // until the test kills this process
        ::_exit(0);
    }
    ::close(pidPipe[1]);
    pid_t player = 0;
    ASSERT_EQ(::read(pidPipe[0], &player, sizeof player), ssize_t(sizeof player));
    ::close(pidPipe[0]);
    ASSERT_GT(player, 0);
    EXPECT_FALSE(processGone(player));
    ::kill(frontEnd, SIGKILL);
    ::waitpid(frontEnd, nullptr, 0);
    // Orphans are reaped by whoever adopts them, so an unreaped zombie counts as ended.
    auto ended = [player] {
        const QByteArray stat = testenv::readFile(QString("/proc/%1/stat").arg(player));
        const int close = stat.lastIndexOf(')');
        return stat.isEmpty() || (close > 0 && stat.mid(close + 2, 1) == "Z");
    };
    EXPECT_TRUE(testenv::waitFor(ended, 5000));
    ::kill(player, SIGKILL);
}
