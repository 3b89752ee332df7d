// The stand-in xmms as a program: what it reads at start, what it writes at quit, how it
// guards its socket, and how it plays its list through mplayer (real, or a recording fake).
#include "audio/xmmsctrl.h"
#include "dropin/kconfig.h"
#include "tests/audio/standinapp.h"
#include "tests/support/testenv.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QTest>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace
{

QByteArray fileOf(int position)
{
    gchar *file = xmms_remote_get_playlist_file(0, position);
    const QByteArray bytes(file);
    g_free(file);
    return bytes;
}

QList<QByteArray> playlist()
{
    QList<QByteArray> files;
    const int n = xmms_remote_get_playlist_length(0);
    for (int i = 0; i < n; ++i)
        files << fileOf(i);
    return files;
}

bool playingWithSound()
{
    gint rate = 0, freq = 0, nch = 0;
    xmms_remote_get_info(0, &rate, &freq, &nch);
    return xmms_remote_is_playing(0) && rate > 0;
}

// A "./mplayer" that notes its arguments and every line it is sent.
void installRecordingMplayer(const StandinApp &app, const QByteArray &extraOutput = "")
{
    const QByteArray dir = app.dir().toLocal8Bit();
    const QByteArray script = "#!/bin/sh\n"
                              "printf '%s\\n' \"$@\" > '" +
                              dir + "/args.log'\n" + extraOutput +
                              "echo ID_AUDIO_BITRATE=64000\necho ID_AUDIO_RATE=22050\n"
                              "echo ID_AUDIO_NCH=1\necho 'Starting playback...'\n"
                              "while read -r line; do\n"
                              "  echo \"$line\" >> '" +
                              dir +
                              "/stdin.log'\n"
                              "  [ \"$line\" = quit ] && exit 0\n"
                              "done\n";
    testenv::writeFile(app.path(QStringLiteral("mplayer")), script);
    QFile::setPermissions(app.path(QStringLiteral("mplayer")),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

TEST(StandinXmms, playlistFileKeepsOnlyExistingFiles)
{
    StandinApp app;
    const QByteArray song = testSong(1).toUtf8();
    QDir().mkpath(app.path(QStringLiteral("music")));
    QFile::copy(testSong(1), app.path(QStringLiteral("music/rel.mp3")));
    QByteArray m3u = "#EXTM3U\n#EXTINF:1,Tone\n   " + song + "  \n/nonexistent/x.mp3\n";
    m3u += "garbage \xff\xfe\x01 line\n";
    m3u += QByteArray("nul\0inside", 10) + "\n";
    m3u += QByteArray(100000, 'z') + "\n";
    m3u += app.dir().toUtf8() + "/music\n"; // a folder, not a file
    m3u += "music/rel.mp3\r\n\n\n";
    m3u += song; // no line feed at the end
    testenv::writeFile(app.path(QStringLiteral(".xmms/xmms.m3u")), m3u);
    ASSERT_TRUE(app.start());
    const QList<QByteArray> expected = {song, app.path(QStringLiteral("music/rel.mp3")).toUtf8(),
                                        song};
    EXPECT_EQ(playlist(), expected);
}

TEST(StandinXmms, missingPlaylistAndConfigGiveAnEmptyIdlePlayer)
{
    StandinApp app;
    ASSERT_TRUE(app.start());
    EXPECT_EQ(xmms_remote_get_playlist_length(0), 0);
    EXPECT_FALSE(xmms_remote_is_shuffle(0));
    EXPECT_EQ(xmms_remote_get_main_volume(0), 100);
}

TEST(StandinXmms, readsItsStateAtStartAndWritesItBackAtQuit)
{
    StandinApp app;
    app.writeConfig("[Winskin]\nMaximumVolume=80\n[xmms]\nshuffle=true\nrepeat=on\n"
                    "equalizer_active=true\nequalizer_preamp=2.5\nequalizer_band0=-4\n"
                    "equalizer_band9=nonsense\nequalizer_band5=1e9\nequalizer_band6=nan\n"
                    "[OSS]\nvolume_left=30\nvolume_right=60\nezx_bass_booster=true\n");
    ASSERT_TRUE(app.start());
    EXPECT_TRUE(xmms_remote_is_shuffle(0));
    EXPECT_TRUE(xmms_remote_is_repeat(0));
    EXPECT_TRUE(xmms_remote_is_eq_active(0));
    EXPECT_EQ(xmms_remote_get_eq_preamp(0), 2.5f);
    EXPECT_EQ(xmms_remote_get_eq_band(0, 0), -4.0f);
    EXPECT_EQ(xmms_remote_get_eq_band(0, 9), 0.0f) << "unreadable values count as 0";
    EXPECT_EQ(xmms_remote_get_eq_band(0, 5), 20.0f) << "held within the sliders' range";
    EXPECT_EQ(xmms_remote_get_eq_band(0, 6), 0.0f);
    gint left = 0, right = 0;
    xmms_remote_get_volume(0, &left, &right);
    EXPECT_EQ(left, 30);
    EXPECT_EQ(right, 60);

    xmms_remote_toggle_shuffle(0);
    xmms_remote_toggle_eq_active(0);
    xmms_remote_set_eq_band(0, 3, 7.5f);
    xmms_remote_set_volume(0, 55, 55);
    app.stop();
    ASSERT_EQ(app.process().state(), QProcess::NotRunning);

    KConfig config(app.path(QStringLiteral(".xmms/config")), true);
    config.setGroup(QStringLiteral("xmms"));
    EXPECT_FALSE(config.readBoolEntry(QStringLiteral("shuffle"), true));
    EXPECT_TRUE(config.readBoolEntry(QStringLiteral("repeat")));
    EXPECT_FALSE(config.readBoolEntry(QStringLiteral("equalizer_active"), true));
    EXPECT_EQ(config.readEntry(QStringLiteral("equalizer_band3")), "7.5");
    EXPECT_EQ(config.readEntry(QStringLiteral("equalizer_band0")), "-4");
    EXPECT_EQ(config.readEntry(QStringLiteral("equalizer_preamp")), "2.5");
    config.setGroup(QStringLiteral("OSS"));
    EXPECT_EQ(config.readNumEntry(QStringLiteral("volume_left")), 55);
    EXPECT_TRUE(config.readBoolEntry(QStringLiteral("ezx_bass_booster"))) << "others' keys stay";
    config.setGroup(QStringLiteral("Winskin"));
    EXPECT_EQ(config.readNumEntry(QStringLiteral("MaximumVolume")), 80);
}

TEST(StandinXmms, terminationSavesStateAndFreesTheSocket)
{
    StandinApp app;
    ASSERT_TRUE(app.start());
    xmms_remote_toggle_repeat(0);
    app.process().terminate();
    ASSERT_TRUE(app.process().waitForFinished(5000));
    EXPECT_FALSE(QFile::exists(StandinApp::socketPath()));
    KConfig config(app.path(QStringLiteral(".xmms/config")), true);
    config.setGroup(QStringLiteral("xmms"));
    EXPECT_TRUE(config.readBoolEntry(QStringLiteral("repeat")));
}

TEST(StandinXmms, socketIsOwnerOnlyAndASecondStartLeavesAtOnce)
{
    StandinApp app;
    app.writePlaylist({testSong(1)});
    ASSERT_TRUE(app.start());
    struct stat before;
    ASSERT_EQ(::lstat(StandinApp::socketPath().toLocal8Bit().constData(), &before), 0);
    EXPECT_TRUE(S_ISSOCK(before.st_mode));
    EXPECT_EQ(before.st_mode & 0777, 0600u);

    QElapsedTimer clock;
    clock.start();
    const auto second = testenv::run(app.path(QStringLiteral("bin/xmms")), {}, 5000, app.dir());
    EXPECT_EQ(second.exitCode, 0);
    EXPECT_LT(clock.elapsed(), 1000);
    struct stat after;
    ASSERT_EQ(::lstat(StandinApp::socketPath().toLocal8Bit().constData(), &after), 0);
    EXPECT_EQ(after.st_ino, before.st_ino) << "the first one keeps its socket";
    EXPECT_EQ(xmms_remote_get_playlist_length(0), 1);
}

TEST(StandinXmms, plainFileAtTheSocketPathIsLeftAlone)
{
    StandinApp app;
    ASSERT_TRUE(testenv::writeFile(StandinApp::socketPath(), "precious"));
    const auto result = testenv::run(app.path(QStringLiteral("bin/xmms")), {}, 5000, app.dir());
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_TRUE(result.err.contains("cannot serve")) << result.err.constData();
    EXPECT_EQ(testenv::readFile(StandinApp::socketPath()), "precious");
    QFile::remove(StandinApp::socketPath());
}

TEST(StandinXmms, socketLeftByAKilledInstanceIsTakenOver)
{
    StandinApp app;
    ASSERT_TRUE(app.start());
    app.process().kill();
    app.process().waitForFinished(3000);
    ASSERT_TRUE(QFile::exists(StandinApp::socketPath()));
    EXPECT_TRUE(app.start());
}

TEST(StandinXmms, lengthsAreRealFromTheFirstQuery)
{
    StandinApp app;
    QDir().mkpath(app.path(QStringLiteral("music")));
    QStringList songs;
    for (int i = 0; i < 6; ++i) { // each its own path, so each needs a probe of its own
        songs << app.path(QStringLiteral("music/s%1.mp3").arg(i));
        ASSERT_TRUE(QFile::copy(testSong(1 + i % 3), songs.last()));
    }
    app.writePlaylist(songs);
    ASSERT_TRUE(app.start());
    // The last first: the background probe is furthest from them.
    for (int i = 5; i >= 0; --i)
        EXPECT_NEAR(xmms_remote_get_playlist_time(0, i), (1 + i % 3) * 1000, 100) << i;
}

TEST(StandinXmms, songEndMovesOnAndStopsAtTheEndWithoutRepeat)
{
    StandinApp app;
    app.writePlaylist({testSong(1), testSong(1)});
    ASSERT_TRUE(app.start());
    xmms_remote_play(0);
    ASSERT_TRUE(testenv::waitFor([] { return xmms_remote_get_playlist_pos(0) == 1; }, 8000));
    EXPECT_TRUE(xmms_remote_is_playing(0));
    ASSERT_TRUE(testenv::waitFor([] { return !xmms_remote_is_playing(0); }, 8000));
    EXPECT_EQ(xmms_remote_get_playlist_pos(0), 1);
}

TEST(StandinXmms, repeatWrapsAndShuffleVisitsEverySong)
{
    StandinApp app;
    app.writeConfig("[xmms]\nshuffle=true\nrepeat=true\n");
    app.writePlaylist({testSong(1), testSong(1), testSong(1)});
    ASSERT_TRUE(app.start());
    xmms_remote_play(0);
    QSet<int> seen;
    QList<int> order;
    testenv::waitFor(
        [&] {
            const int pos = xmms_remote_get_playlist_pos(0);
            if (order.isEmpty() || order.last() != pos)
                order << pos;
            seen << pos;
            return order.size() >= 5;
        },
        15000);
    EXPECT_EQ(seen.size(), 3);
    ASSERT_GE(order.size(), 3);
    EXPECT_EQ(QSet<int>(order.begin(), order.begin() + 3).size(), 3)
        << "each song once before any repeats";
    EXPECT_TRUE(xmms_remote_is_playing(0));
}

TEST(StandinXmms, entriesThatCannotPlayAreSkippedWithoutSpinning)
{
    StandinApp app;
    const QString dir = testenv::scratchDir();
    const QString gone = dir + QStringLiteral("/gone.mp3");
    const QString junk = dir + QStringLiteral("/junk.mp3");
    QFile::copy(testSong(1), gone);
    testenv::writeFile(junk, QByteArray(4096, '\x55'));
    app.writePlaylist({gone, junk, testSong(3)});
    ASSERT_TRUE(app.start());
    QFile::remove(gone);
    xmms_remote_play(0);
    EXPECT_TRUE(testenv::waitFor([] { return xmms_remote_get_playlist_pos(0) == 2; }, 10000));
    EXPECT_TRUE(testenv::waitFor(playingWithSound));

    xmms_remote_playlist_delete(0, 2);
    xmms_remote_set_playlist_pos(0, 0);
    xmms_remote_play(0);
    EXPECT_TRUE(testenv::waitFor([] { return !xmms_remote_is_playing(0); }, 10000))
        << "a list of unplayable entries ends in stop";
}

TEST(StandinXmms, hostileFileNamesPlayThroughTheArgumentVector)
{
    StandinApp app;
    const QString dir = testenv::scratchDir(QStringLiteral("hostile"));
    const QList<QByteArray> names = {"-leading dash.mp3", "quote\"'both.mp3",
                                     "$(touch PWNED) `touch PWNED`.mp3", "caf\xe9 latin1.mp3"};
    QList<QByteArray> paths;
    for (const QByteArray &name : names) {
        const QByteArray path = QFile::encodeName(dir) + '/' + name;
        const QByteArray song = testenv::readFile(testSong(1));
        FILE *f = std::fopen(path.constData(), "wb");
        ASSERT_NE(f, nullptr);
        std::fwrite(song.constData(), 1, size_t(song.size()), f);
        std::fclose(f);
        paths << path;
    }
    testenv::writeFile(app.path(QStringLiteral(".xmms/xmms.m3u")), paths.join('\n') + '\n');
    ASSERT_TRUE(app.start());
    ASSERT_EQ(playlist(), paths);
    for (int i = 0; i < paths.size(); ++i) {
        xmms_remote_set_playlist_pos(0, i);
        xmms_remote_play(0);
        EXPECT_TRUE(testenv::waitFor(playingWithSound)) << paths[i].constData();
        xmms_remote_stop(0);
    }
    EXPECT_FALSE(QFile::exists(app.path(QStringLiteral("PWNED"))));
    EXPECT_FALSE(QFile::exists(dir + QStringLiteral("/PWNED")));
}

TEST(StandinXmms, localMplayerGetsTheEqualizerVolumeAndPause)
{
    StandinApp app;
    installRecordingMplayer(app);
    app.writeConfig("[xmms]\nequalizer_active=true\nequalizer_preamp=2\nequalizer_band0=-3\n"
                    "equalizer_band1=15\n[OSS]\nvolume_left=40\nvolume_right=70\n");
    app.writePlaylist({testSong(1)});
    ASSERT_TRUE(app.start());
    xmms_remote_play(0);
    // The fake logs every start: the length probe ("-frames 0") comes first, then the play,
    // and each start creates its log before writing it.
    const QByteArray last = testSong(1).toUtf8() + '\n';
    ASSERT_TRUE(testenv::waitFor([&] {
        const QByteArray log = testenv::readFile(app.path(QStringLiteral("args.log")));
        return log.contains("\n-volume\n") && log.endsWith(last);
    }));
    const QList<QByteArray> args =
        testenv::readFile(app.path(QStringLiteral("args.log"))).split('\n');
    EXPECT_TRUE(args.contains("-slave")) << args.join(" ").constData();
    EXPECT_TRUE(args.contains("equalizer=-1.0:12.0:2.0:2.0:2.0:2.0:2.0:2.0:2.0:2.0"))
        << "the preamp folded into each band, held to mplayer's range";
    const qsizetype volume = args.indexOf("-volume");
    ASSERT_GE(volume, 0);
    EXPECT_EQ(args.value(volume + 1), "70");
    EXPECT_EQ(args.value(args.indexOf("--") + 1), testSong(1).toUtf8());
    gint rate = 0, freq = 0, nch = 0;
    testenv::waitFor([&] { // once the fake's stream lines have been read
        xmms_remote_get_info(0, &rate, &freq, &nch);
        return rate != 0;
    });
    EXPECT_EQ(rate, 64000);
    EXPECT_EQ(freq, 22050);
    EXPECT_EQ(nch, 1);

    xmms_remote_set_eq_band(0, 9, -1.0f);
    xmms_remote_toggle_eq_active(0);
    xmms_remote_set_main_volume(0, 33);
    xmms_remote_pause(0);
    xmms_remote_stop(0);
    const QByteArray expected =
        "pausing_keep_force af_cmdline equalizer -1.0:12.0:2.0:2.0:2.0:2.0:2.0:2.0:2.0:1.0\n"
        "pausing_keep_force af_cmdline equalizer "
        "0.0:0.0:0.0:0.0:0.0:0.0:0.0:0.0:0.0:0.0\n"
        "pausing_keep_force volume 33 1\n"
        "pause\n"
        "quit\n";
    EXPECT_TRUE(testenv::waitFor([&] {
        QByteArray log = testenv::readFile(app.path(QStringLiteral("stdin.log")));
        log.replace("pausing_keep_force get_time_pos\n", "");
        return log == expected;
    })) << testenv::readFile(app.path(QStringLiteral("stdin.log"))).constData();
}

TEST(StandinXmms, mplayerPrintingMegabytesWithoutALineFeedIsSurvived)
{
    StandinApp app;
    installRecordingMplayer(app, "head -c 3000000 /dev/zero | tr '\\0' x\necho\n");
    app.writePlaylist({testSong(1)});
    ASSERT_TRUE(app.start());
    xmms_remote_play(0);
    EXPECT_TRUE(testenv::waitFor(playingWithSound));
    EXPECT_EQ(xmms_remote_get_version(0), 0x09A3);
}

} // namespace
