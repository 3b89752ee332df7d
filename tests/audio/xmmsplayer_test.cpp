// XMMSPlayer against the stand-in xmms playing real audio to the null output: the signals
// of the status poll, launching and killing, volume conversion, the cached playlist.
#include "audio/xmmsctrl.h"
#include "audio/xmmsplayer.h"
#include "audio/xmmsprotocol.h"
#include "fakexmmsserver.h"
#include "standinapp.h"
#include "tests/support/testenv.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTest>
#include <cstdio>
#include <functional>
#include <gtest/gtest.h>
#include <utility>

namespace
{

template <typename T> QByteArray le(T value)
{
    return QByteArray(reinterpret_cast<const char *>(&value), sizeof value);
}

const QByteArray Ack = XmmsProtocol::header(0, 0);

QByteArray packet(const QByteArray &data)
{
    return XmmsProtocol::header(0, uint32_t(data.size())) + data;
}

class XMMSPlayerTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_oldDir = QDir::currentPath();
        QDir::setCurrent(m_app.dir());
    }
    void TearDown() override
    {
        m_app.stop();
        QDir::setCurrent(m_oldDir);
    }
    StandinApp m_app{true};
    QString m_oldDir;
};

// Records the four signals the adapter raises, in order.
struct SignalLog {
    explicit SignalLog(XMMSPlayer &player)
    {
        QObject::connect(&player, &XMMSPlayer::playing, [this] { names << "playing"; });
        QObject::connect(&player, &XMMSPlayer::paused, [this] { names << "paused"; });
        QObject::connect(&player, &XMMSPlayer::stopped, [this] { names << "stopped"; });
        QObject::connect(&player, &XMMSPlayer::timeout, [this] { ++timeouts; });
    }
    QStringList names;
    int timeouts = 0;
};

TEST_F(XMMSPlayerTest, instancePointerFollowsTheAdapter)
{
    {
        XMMSPlayer first;
        XMMSPlayer second;
        EXPECT_EQ(xmmsInstance, &second);
    }
    EXPECT_EQ(xmmsInstance, nullptr) << "no dangling pointer to a deleted adapter";
}

TEST_F(XMMSPlayerTest, withoutXmmsEverythingReadsEmpty)
{
    XMMSPlayer player(nullptr, "");
    EXPECT_EQ(xmmsInstance, &player);
    EXPECT_FALSE(player.isRunning());
    EXPECT_TRUE(player.isStopped());
    EXPECT_FALSE(player.isPaused());
    EXPECT_EQ(player.volume(), 0);
    EXPECT_EQ(player.songLength(), 0);
    EXPECT_TRUE(player.currentTitle().isNull());
    int rate = 1, frequency = 2, channels = 3;
    player.getInfo(rate, frequency, channels);
    EXPECT_EQ(rate + frequency + channels, 6) << "left as they were";
    player.refreshList();
    EXPECT_EQ(player.listCount(), 0);
    EXPECT_EQ(player.totalTimeString(), "0:00");
    player.refreshEntryInfo(3); // not cached: ignored
    EXPECT_EQ(player.entry(3).file, QString());
    EXPECT_EQ(player.listCount(), 0);
}

TEST_F(XMMSPlayerTest, totalTimeFormats)
{
    const struct {
        unsigned int seconds;
        const char *text;
    } rows[] = {{0, "0:00"},       {5, "0:05"},         {59, "0:59"},
                {60, "1:00"},      {3600, "60:00"},     {3601, "1:00:01"},
                {3661, "1:01:01"}, {36061, "10:01:01"}, {359999, "99:59:59"}};
    for (const auto &row : rows)
        EXPECT_EQ(XMMSPlayer::formatTotalTime(row.seconds), row.text) << row.seconds;
}

TEST_F(XMMSPlayerTest, pauseResumeStopSignals)
{
    m_app.writePlaylist({testSong(8)});
    XMMSPlayer player;
    SignalLog log(player);
    ASSERT_FALSE(player.isRunning());

    QElapsedTimer clock;
    clock.start();
    player.launch();
    ASSERT_TRUE(player.isRunning());
    EXPECT_LT(clock.elapsed(), 900) << "launch waits for the answer, not a fixed second";
    EXPECT_EQ(m_app.starts(), 1);
    player.launch();
    EXPECT_EQ(m_app.starts(), 1) << "launch while xmms answers must run no shell command";

    player.play();
    ASSERT_TRUE(testenv::waitFor([&] { return log.names == QStringList{"playing"}; }));
    ASSERT_TRUE(testenv::waitFor([&] { return log.timeouts >= 1; }, 2500))
        << "timeout() once a second while playing";

    player.pause();
    ASSERT_TRUE(testenv::waitFor([&] { return log.names.size() >= 2; }));
    const int timeoutsWhenPaused = log.timeouts;
    QTest::qWait(1300);
    EXPECT_EQ(log.names, (QStringList{"playing", "paused"})) << "exactly one paused()";
    EXPECT_EQ(log.timeouts, timeoutsWhenPaused) << "no timeout() while paused";

    player.pause();
    ASSERT_TRUE(testenv::waitFor([&] { return log.names.size() >= 4; }));
    QTest::qWait(700);
    EXPECT_EQ(log.names, (QStringList{"playing", "paused", "paused", "playing"}));

    player.stop();
    ASSERT_TRUE(testenv::waitFor([&] { return log.names.size() >= 5; }));
    QTest::qWait(700);
    EXPECT_EQ(log.names, (QStringList{"playing", "paused", "paused", "playing", "stopped"}));

    player.kill();
    EXPECT_TRUE(testenv::waitFor([] { return !QFile::exists(StandinApp::socketPath()); }));
    EXPECT_FALSE(player.isRunning());
}

TEST(XMMSPlayerLaunch, applicationDirectoryNameReachesTheShellAsOneWord)
{
    StandinApp app(true, QStringLiteral("it's a $(touch PWNED) `touch PWNED` dir"));
    const QString oldDir = QDir::currentPath();
    QDir::setCurrent(app.dir());
    {
        XMMSPlayer player;
        player.launch();
        EXPECT_TRUE(player.isRunning());
        EXPECT_EQ(app.starts(), 1);
    }
    app.stop();
    QDir::setCurrent(oldDir);
    EXPECT_FALSE(QFile::exists(app.dir() + QStringLiteral("/PWNED")));
    EXPECT_FALSE(QFile::exists(QDir(app.dir()).filePath(QStringLiteral("../PWNED"))));
}

// Hung (never answers) or slow (each answer takes most of the bound): either way the window
// waits about one bound in all, not once per call.
TEST_F(XMMSPlayerTest, hungOrSlowXmmsStallsTheWindowOnceNotPerCall)
{
    for (FakeXmmsServer::Mode mode : {FakeXmmsServer::Mode::Silent, FakeXmmsServer::Mode::Slow}) {
        SCOPED_TRACE(mode == FakeXmmsServer::Mode::Slow ? "slow" : "hung");
        xmms_remote_set_timeout(0); // a fresh start for each
        FakeXmmsServer server(mode, packet(le(2467)) + Ack);
        ASSERT_TRUE(server.isListening());
        QElapsedTimer clock;
        clock.start();
        XMMSPlayer player;
        // What one tick of the window asks: the status poll, the painter, a volume key.
        for (int tick = 0; tick < 10; ++tick) {
            player.isRunning();
            player.isStopped();
            player.isPaused();
            player.outputTime();
            player.songLength();
            player.playlistPos();
            player.setVolume(player.volume() + 5);
        }
        player.launch(); // a hung xmms holds the socket: bounded all the same
        player.kill();
        EXPECT_LT(clock.elapsed(), 1500) << "every call waited anew for xmms";

        server.setMode(FakeXmmsServer::Mode::Answer);
        EXPECT_TRUE(testenv::waitFor([&] { return player.isRunning(); }, 3000))
            << "an xmms that answers again is used again";
    }
}

TEST_F(XMMSPlayerTest, pollNoticesAnXmmsThatDies)
{
    m_app.writePlaylist({testSong(8)});
    ASSERT_TRUE(m_app.start());
    XMMSPlayer player;
    SignalLog log(player);
    player.play();
    ASSERT_TRUE(testenv::waitFor([&] { return log.names == QStringList{"playing"}; }));
    m_app.process().kill();
    EXPECT_TRUE(testenv::waitFor([&] { return log.names.contains("stopped"); }));
}

// Polls as the adapter's and the main window's timers make them, many times faster: neither
// side may keep anything per call.
TEST_F(XMMSPlayerTest, longRunOfStatusPollsLeavesNothingBehind)
{
    m_app.writePlaylist({testSong(30)});
    ASSERT_TRUE(m_app.start());
    XMMSPlayer player;
    SignalLog log(player);
    player.play();
    ASSERT_TRUE(testenv::waitFor([&] { return log.names == QStringList{"playing"}; }));
    const qint64 standin = m_app.process().processId();
    QList<testenv::Footprint> ours;
    QList<testenv::Footprint> theirs;
    for (int i = 0, n = testenv::soakCycles(2000); i < n; ++i) {
        player.updateStatus();
        int rate = 0, frequency = 0, channels = 0;
        player.getInfo(rate, frequency, channels);
        player.songLength();
        player.outputTime();
        player.playlistPos();
        if (i % 20 == 0) {
            QCoreApplication::processEvents();
            ours << testenv::footprint();
            theirs << testenv::footprint(standin);
        }
    }
    EXPECT_EQ(log.names, QStringList{"playing"});
#ifdef __SANITIZE_ADDRESS__
    const long residentKiB = -1; // LeakSanitizer's part; its quarantine keeps freed memory
#else
    const long residentKiB = 1024;
#endif
    std::printf("front-end: %s\nstand-in: %s\n", qPrintable(testenv::summary(ours)),
                qPrintable(testenv::summary(theirs)));
    EXPECT_EQ(testenv::growth(ours, {0, 0, residentKiB}).toStdString(), "");
    // A sample may catch the stand-in between accepting a connection and closing it.
    EXPECT_EQ(testenv::growth(theirs, {1, 0, residentKiB}).toStdString(), "") << "the stand-in";
}

TEST_F(XMMSPlayerTest, backAndForwardRaiseTimeoutOnlyWhenStopped)
{
    m_app.writePlaylist({testSong(1), testSong(3)});
    ASSERT_TRUE(m_app.start());
    XMMSPlayer player;
    SignalLog log(player);
    player.forward();
    EXPECT_EQ(log.timeouts, 1);
    EXPECT_EQ(player.playlistPos(), 1);
    player.back();
    EXPECT_EQ(log.timeouts, 2);
    EXPECT_EQ(player.playlistPos(), 0);
    EXPECT_FALSE(player.signalsBlocked());
}

TEST_F(XMMSPlayerTest, volumeConversionFollowsMaximumVolume)
{
    ASSERT_TRUE(m_app.start());
    const struct {
        // as written in the file; nullptr: no entry. The largest int must not overflow the
        // conversion into a negative volume.
        const char *maximum;
        int set;
        int sent;
    } rows[] = {
        {nullptr, 100, 65}, {nullptr, 50, 32}, {nullptr, 1, 0},          {"65", 150, 65},
        {"65", -5, 0},      {"100", 37, 37},   {"80", 99, 79},           {"0", 100, 65},
        {"-3", 50, 32},     {"junk", 100, 65}, {"2147483647", 100, 100},
    };
    for (const auto &row : rows) {
        m_app.writeConfig(row.maximum ? QByteArray("[Winskin]\nMaximumVolume=") + row.maximum + "\n"
                                      : QByteArray());
        XMMSPlayer player;
        player.setVolume(row.set);
        EXPECT_EQ(xmms_remote_get_main_volume(0), row.sent)
            << "MaximumVolume " << (row.maximum ? row.maximum : "absent") << ", " << row.set;
    }

    m_app.writeConfig(QByteArray());
    XMMSPlayer player;
    const struct {
        int xmmsVolume;
        int shown;
    } reads[] = {{65, 100}, {100, 100}, {13, 20}, {0, 0}, {32, 49}};
    for (const auto &row : reads) {
        xmms_remote_set_main_volume(0, row.xmmsVolume);
        EXPECT_EQ(player.volume(), row.shown) << row.xmmsVolume;
    }
    player.setMaxVolume(0);
    player.setMaxVolume(-20);
    xmms_remote_set_main_volume(0, 13);
    EXPECT_EQ(player.volume(), 20) << "a maximum of zero or less is refused";
    player.setMaxVolume(26);
    EXPECT_EQ(player.volume(), 50);
}

TEST_F(XMMSPlayerTest, settersSendNothingWhenTheStateAlreadyHolds)
{
    ASSERT_TRUE(m_app.start());
    XMMSPlayer player;
    struct Row {
        const char *name;
        std::function<void(bool)> set;
        std::function<bool()> read;
    };
    const Row rows[] = {
        {"shuffle", [&](bool on) { player.setShuffle(on); }, [&] { return player.isShuffle(); }},
        {"repeat", [&](bool on) { player.setRepeat(on); }, [&] { return player.isRepeat(); }},
        {"equalizer", [&](bool on) { player.setEqActive(on); },
         [&] { return player.isEqActive(); }},
    };
    // A toggle sent for a state that already holds would flip it.
    for (const Row &row : rows) {
        for (bool on : {true, true, false, false, true}) {
            row.set(on);
            EXPECT_EQ(row.read(), on) << row.name;
        }
    }
}

TEST_F(XMMSPlayerTest, everyOperationLeavesSignalsUnblocked)
{
    ASSERT_TRUE(m_app.start());
    XMMSPlayer player;
    float eq[11] = {};
    int a = 0, b = 0, c = 0;
    // Every operation but isRunning, launch, kill, entry and totalTimeString.
    using Operation = std::pair<const char *, std::function<void()>>;
#define OPERATION(call) Operation(#call, [&] { player.call; })
    const Operation operations[] = {
        OPERATION(play()),
        OPERATION(pause()),
        OPERATION(stop()),
        OPERATION(outputTime()),
        OPERATION(songLength()),
        OPERATION(currentTitle()),
        OPERATION(getInfo(a, b, c)),
        OPERATION(setVolume(10)),
        OPERATION(volume()),
        OPERATION(getEq(eq)),
        OPERATION(setEq(eq)),
        OPERATION(refreshList()),
        OPERATION(addUrls({})),
        OPERATION(clearPlaylist()),
        OPERATION(listCount()),
        OPERATION(fileOpen()),
        OPERATION(updateStatus()),
        OPERATION(refreshEntryInfo(0)),
        OPERATION(addUrl({})),
        OPERATION(deleteEntry(5)),
        OPERATION(playlistPos()),
        OPERATION(hasPlaylist()),
        OPERATION(isPlaying()),
        OPERATION(isStopped()),
        OPERATION(isPaused()),
        OPERATION(isShuffle()),
        OPERATION(isRepeat()),
        OPERATION(setShuffle(false)),
        OPERATION(setRepeat(false)),
        OPERATION(setMaxVolume(65)),
        OPERATION(setEqActive(false)),
        OPERATION(isEqActive()),
        OPERATION(setEqPreamp(0)),
        OPERATION(setEqBand(1, 0)),
        OPERATION(eqPreamp()),
        OPERATION(eqBand(1)),
        OPERATION(jumpToTime(0)),
        OPERATION(setPlaylistPos(0)),
        OPERATION(back()),
        OPERATION(forward()),
    };
#undef OPERATION
    for (const auto &[name, operation] : operations) {
        player.blockSignals(true);
        operation();
        EXPECT_FALSE(player.signalsBlocked()) << name;
    }
}

TEST_F(XMMSPlayerTest, playlistCacheAndEqualizer)
{
    m_app.writePlaylist({testSong(1), testSong(3)});
    ASSERT_TRUE(m_app.start());
    XMMSPlayer player;
    ASSERT_TRUE(testenv::waitFor([&] { return xmms_remote_get_playlist_time(0, 1) > 0; }, 10000));
    player.refreshList();
    ASSERT_EQ(player.listCount(), 2);
    EXPECT_EQ(player.entry(1).file, testSong(3));
    EXPECT_EQ(player.entry(1).position, 1);
    EXPECT_NEAR(player.entry(1).length, 3000, 100);
    EXPECT_EQ(player.entry(1).rate, 0);
    EXPECT_EQ(player.totalTimeString(), "0:04");

    player.setPlaylistPos(1);
    EXPECT_TRUE(player.isPlaying()) << "setPlaylistPos plays a stopped xmms";
    ASSERT_TRUE(testenv::waitFor([&] {
        int rate = 0, frequency = 0, channels = 0;
        player.getInfo(rate, frequency, channels);
        return rate > 0;
    }));
    player.refreshEntryInfo(1);
    EXPECT_EQ(player.entry(1).rate, 128000);
    EXPECT_EQ(player.entry(1).frequency, 44100);
    EXPECT_EQ(player.entry(1).channels, 2);
    EXPECT_EQ(player.entry(1).file, testSong(3)) << "other fields stay";

    player.addUrls({testSong(1), testSong(1), testSong(3)});
    player.deleteEntry(0);
    ASSERT_TRUE(testenv::waitFor(
        [] {
            for (int i = 0; i < 4; ++i) {
                if (xmms_remote_get_playlist_time(0, i) <= 0)
                    return false;
            }
            return true;
        },
        10000));
    player.refreshList();
    EXPECT_EQ(player.listCount(), 4);
    EXPECT_EQ(player.totalTimeString(), "0:08");
    player.clearPlaylist();
    EXPECT_FALSE(player.hasPlaylist());

    const float values[11] = {-1.5f, 1, 2, 3, 4, 5, -6, -7, -8, -9, -10};
    player.setEq(values);
    float read[11] = {};
    player.getEq(read);
    for (int i = 0; i < 11; ++i)
        EXPECT_EQ(read[i], values[i]) << i;
    player.setEqBand(2, 9.5f);
    player.setEqPreamp(3.0f);
    EXPECT_EQ(player.eqBand(2), 9.5f);
    EXPECT_EQ(player.eqPreamp(), 3.0f);
}

TEST_F(XMMSPlayerTest, currentTitleIsLatin1)
{
    const QString song = testenv::scratchDir() + QStringLiteral("/tagged.mp3");
    ASSERT_TRUE(QFile::copy(testSong(1), song));
    QByteArray tag = "TAG";
    tag += QByteArray("Caf\xe9 au lait").leftJustified(30, '\0');
    tag += QByteArray("Ren\xe9").leftJustified(30, '\0');
    tag += QByteArray(30 + 4 + 30, '\0') + char(12);
    QFile file(song);
    ASSERT_TRUE(file.open(QIODevice::Append));
    file.write(tag);
    file.close();
    m_app.writePlaylist({song});
    ASSERT_TRUE(m_app.start());
    XMMSPlayer player;
    EXPECT_EQ(player.currentTitle(), QString::fromUtf8("René - Café au lait"));
}

} // namespace
