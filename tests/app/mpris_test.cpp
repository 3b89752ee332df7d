// The window on a private session bus, driven as the desktop drives it: gdbus calls go in,
// gdbus monitor reads what comes out, and the window, mplayer and the stand-in xmms show
// what each call did.
#include "app/mainface.h"
#include "app/mprisplayer.h"
#include "state/orbalstate.h"
#include "audio/mixer.h"
#include "audio/xmmsctrl.h"
#include "audio/xmmsplayer.h"
#include "commands/commanddispatcher.h"
#include "tests/app/appfixture.h"
#include "tests/skin/painting/testskin.h"
#include "tests/support/testenv.h"
#include "video/engine.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTest>
#include <limits>
#include <memory>
#include <utility>

namespace
{

const QString kService = QStringLiteral("org.mpris.MediaPlayer2.orbal");
const QString kPlayer = QStringLiteral("org.mpris.MediaPlayer2.Player");

// One bus daemon for the whole program: Qt keeps its session connection for the process.
class PrivateBus : public ::testing::Environment
{
public:
    static QString &missing()
    {
        static QString why;
        return why;
    }
    void SetUp() override
    {
        if (QStandardPaths::findExecutable(QStringLiteral("dbus-daemon")).isEmpty() ||
            QStandardPaths::findExecutable(QStringLiteral("gdbus")).isEmpty()) {
            missing() = QStringLiteral("dbus-daemon or gdbus not installed");
            return;
        }
        const QString dir = testenv::scratchDir(QStringLiteral("bus"));
        testenv::writeFile(
            dir + QStringLiteral("/bus.conf"),
            "<!DOCTYPE busconfig PUBLIC \"-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN\"\n"
            " \"http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd\">\n"
            "<busconfig><type>session</type><listen>unix:dir=" +
                dir.toUtf8() +
                "</listen><auth>EXTERNAL</auth><policy context=\"default\">"
                "<allow send_destination=\"*\" eavesdrop=\"true\"/><allow eavesdrop=\"true\"/>"
                "<allow own=\"*\"/></policy></busconfig>\n");
        m_daemon = std::make_unique<QProcess>();
        m_daemon->setProcessChannelMode(QProcess::SeparateChannels);
        m_daemon->start(QStringLiteral("dbus-daemon"),
                        {QStringLiteral("--config-file=") + dir + QStringLiteral("/bus.conf"),
                         QStringLiteral("--nofork"), QStringLiteral("--print-address=1")});
        if (!m_daemon->waitForStarted(5000) ||
            !testenv::waitFor([&] { return m_daemon->canReadLine(); }, 5000)) {
            missing() = QStringLiteral("dbus-daemon did not start");
            return;
        }
        qputenv("DBUS_SESSION_BUS_ADDRESS", m_daemon->readLine().trimmed());
    }
    void TearDown() override
    {
        if (!m_daemon)
            return;
        m_daemon->terminate();
        m_daemon->waitForFinished(3000);
    }

private:
    std::unique_ptr<QProcess> m_daemon;
};
[[maybe_unused]] ::testing::Environment *const g_bus =
    ::testing::AddGlobalTestEnvironment(new PrivateBus);

struct Reply {
    bool ok = false;
    QString out;
};

// gdbus runs while the event loop turns, so the window in this process can answer it.
Reply gdbus(const QStringList &args)
{
    QProcess p;
    p.start(QStringLiteral("gdbus"), args);
    Reply r;
    if (!p.waitForStarted(5000) ||
        !testenv::waitFor([&] { return p.state() == QProcess::NotRunning; }, 10000)) {
        p.kill();
        p.waitForFinished(1000);
        return r;
    }
    r.ok = p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
    r.out = QString::fromUtf8(p.readAllStandardOutput() + p.readAllStandardError());
    return r;
}

Reply call(const QString &method, const QStringList &args = {})
{
    return gdbus(QStringList{QStringLiteral("call"), QStringLiteral("--session"),
                             QStringLiteral("--dest"), kService, QStringLiteral("--object-path"),
                             QStringLiteral("/org/mpris/MediaPlayer2"), QStringLiteral("--method"),
                             method, QStringLiteral("--")} +
                 args);
}

QString property(const QString &name, const QString &interface = kPlayer)
{
    return call(QStringLiteral("org.freedesktop.DBus.Properties.Get"), {interface, name}).out;
}

// A volume as gdbus prints it ("(<0.29999999999999999>,)"), in percent.
int percent(QString text)
{
    text.remove(QRegularExpression(QStringLiteral("[^0-9.e+-]")));
    return qRound(text.toDouble() * 100);
}

Reply player(const char *method, const QStringList &args = {})
{
    return call(kPlayer + QLatin1Char('.') + QLatin1String(method), args);
}

// What gdbus monitor printed about the player so far.
class Monitor
{
public:
    Monitor()
    {
        m_p.setProcessChannelMode(QProcess::MergedChannels);
        m_p.start(QStringLiteral("gdbus"), {QStringLiteral("monitor"), QStringLiteral("--session"),
                                            QStringLiteral("--dest"), kService});
        // Subscribed once it has named the owner.
        testenv::waitFor([&] { return text().contains(QLatin1String("is owned by")); }, 5000);
    }
    ~Monitor()
    {
        m_p.terminate();
        m_p.waitForFinished(2000);
    }
    QString text()
    {
        m_seen += QString::fromUtf8(m_p.readAll());
        return m_seen;
    }
    bool waitFor(const QString &needle)
    {
        return testenv::waitFor([&] { return text().contains(needle); }, 5000);
    }
    int count(const QString &needle) { return int(text().count(needle)); }

private:
    QProcess m_p;
    QString m_seen;
};

class MprisTest : public AppFixture
{
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        if (!PrivateBus::missing().isEmpty())
            GTEST_SKIP() << qPrintable(PrivateBus::missing());
    }
};

enum class Mode { Mplayer, Xmms };

class MprisModeTest : public MprisTest, public ::testing::WithParamInterface<Mode>
{
protected:
    void SetUp() override
    {
        MprisTest::SetUp();
        if (IsSkipped())
            return;
        const QString standin = testenv::binaryDir() + QStringLiteral("/bin/xmms");
        if (!QFile::exists(QStringLiteral("/usr/bin/mplayer")) ||
            (xmmsMode() && !QFile::exists(standin)))
            GTEST_SKIP() << "mplayer or the stand-in xmms missing";
        QFile::link(QStringLiteral("/usr/bin/mplayer"), m_appDir + QStringLiteral("/mplayer"));
        m_songs << testenv::makeMp3(m_appDir + QStringLiteral("/mmc/first.mp3"), 20.0)
                << testenv::makeMp3(m_appDir + QStringLiteral("/mmc/second.mp3"), 20.0);
        ASSERT_FALSE(m_songs.contains(QString()));
        writeSettings("xmms.m3u", m_songs.join(QLatin1Char('\n')).toUtf8() + '\n');
        if (xmmsMode()) {
            // A private socket folder, so no other xmms is ever reached.
            qputenv("TMPDIR", testenv::scratchDir(QStringLiteral("sockets")).toLocal8Bit());
            QDir().mkpath(m_appDir + QStringLiteral("/bin"));
            QFile::link(standin, m_appDir + QStringLiteral("/bin/xmms"));
            writeSettings("tavrin_cfg", "[tvskin]\nEnxmms=true\n");
        }
        makeFace();
        m_face->grab();
        orbalState().fileList = m_songs;
        if (xmmsMode()) {
            ASSERT_TRUE(testenv::waitFor([&] { return m_face->xmms()->isRunning(); }, 8000));
        }
    }
    void TearDown() override
    {
        if (m_face && m_face->xmms()) {
            m_face->xmms()->kill();
            testenv::waitFor([] { return xmms_remote_get_version(0) == 0; }, 5000);
        } else if (m_face) {
            m_face->buttonClick(3);
        }
        MprisTest::TearDown();
    }
    bool xmmsMode() const { return GetParam() == Mode::Xmms; }
    static int lastMixerVolume()
    {
        for (auto it = s_mixer.rbegin(); it != s_mixer.rend(); ++it)
            if (it->first == MixerRequest::WriteVolume)
                return it->second & 0xff;
        return -1;
    }
    // The player itself is in this state (the window's flags are checked apart).
    bool playerIs(const QString &status)
    {
        if (xmmsMode()) {
            XMMSPlayer *x = m_face->xmms();
            if (status == QLatin1String("Stopped"))
                return x->isStopped();
            return !x->isStopped() && x->isPaused() == (status == QLatin1String("Paused"));
        }
        return m_face->engine()->isRunning() == (status != QLatin1String("Stopped"));
    }
    // Playing the first entry with its length known, so that seeking is possible.
    void playFirst()
    {
        ASSERT_TRUE(player("Play").ok);
        ASSERT_TRUE(testenv::waitFor([&] { return playerIs(QStringLiteral("Playing")); }, 8000));
        ASSERT_TRUE(testenv::waitFor(
            [&] { return property(QStringLiteral("CanSeek")).contains(QLatin1String("true")); },
            8000));
    }
    qint64 playedSeconds()
    {
        if (xmmsMode())
            return m_face->xmms()->outputTime() / 1000;
        return orbalState().videoElapsed;
    }
    QStringList m_songs;
};

TEST_P(MprisModeTest, eachMethodChangesWhatPlaysAndWhatTheWindowShows)
{
    struct Step {
        const char *method;
        const char *status;
        int entry; // -1: the default title
    };
    const Step steps[] = {
        {"Play", "Playing", 0}, {"Next", "Playing", 1},      {"Previous", "Playing", 0},
        {"Pause", "Paused", 0}, {"PlayPause", "Playing", 0}, {"PlayPause", "Paused", 0},
        {"Play", "Playing", 0}, {"Stop", "Stopped", -1},     {"PlayPause", "Playing", 0},
        {"Next", "Playing", 1},
    };
    const QString defaultTitle = m_face->titleText();
    Monitor monitor;
    QString status = QStringLiteral("Stopped");
    int entry = 0;
    for (const Step &step : steps) {
        SCOPED_TRACE(step.method);
        const QString wasStatus = std::exchange(status, QLatin1String(step.status));
        const int wasEntry = std::exchange(entry, step.entry < 0 ? entry : step.entry);
        auto statusSignal = QStringLiteral("'PlaybackStatus': <'%1'>").arg(status);
        auto entrySignal = QStringLiteral("'/org/orbal/track/%1'>").arg(entry);
        const int statusSignals = monitor.count(statusSignal);
        const int entrySignals = monitor.count(entrySignal);
        ASSERT_TRUE(player(step.method).ok);
        EXPECT_TRUE(testenv::waitFor([&] { return playerIs(status); }, 8000));
        const QString title =
            step.entry < 0
                ? defaultTitle
                : QStringLiteral("%1.%2").arg(entry + 1).arg(QFileInfo(m_songs[entry]).fileName());
        // xmms's own move shows at the next poll.
        EXPECT_TRUE(testenv::waitFor([&] { return m_face->titleText() == title; }, 5000))
            << qPrintable(m_face->titleText());
        const OrbalState &s = orbalState();
        EXPECT_EQ(s.playingFlag, status == QLatin1String("Playing"));
        EXPECT_EQ(s.pausedFlag, status == QLatin1String("Paused"));
        EXPECT_TRUE(property(QStringLiteral("PlaybackStatus")).contains(status));
        // Metadata follows the entry; stopped, it keeps the one last played.
        const QString meta = property(QStringLiteral("Metadata"));
        EXPECT_TRUE(meta.contains(QStringLiteral("'/org/orbal/track/%1'").arg(entry)))
            << qPrintable(meta);
        EXPECT_TRUE(meta.contains(QStringLiteral("'xesam:trackNumber': <%1>").arg(entry + 1)));
        EXPECT_TRUE(
            meta.contains(QStringLiteral("'xesam:url': <'file://%1'>").arg(m_songs[entry])));
        // Every real change is announced.
        if (status != wasStatus) {
            EXPECT_TRUE(testenv::waitFor(
                [&] { return monitor.count(statusSignal) > statusSignals; }, 5000));
        }
        if (entry != wasEntry) {
            EXPECT_TRUE(
                testenv::waitFor([&] { return monitor.count(entrySignal) > entrySignals; }, 5000));
        }
    }
    EXPECT_TRUE(monitor.waitFor(QStringLiteral("'mpris:length': <int64 20")));
    // Playing on, the polls find nothing new to announce.
    QTest::qWait(1500);
    const int announced = monitor.count(QStringLiteral("PropertiesChanged"));
    QTest::qWait(2500);
    EXPECT_EQ(monitor.count(QStringLiteral("PropertiesChanged")), announced)
        << qPrintable(monitor.text());
}

TEST_P(MprisModeTest, volumeMovesTheSliderAndTheSoundAndRefusesNonsense)
{
    struct Row {
        const char *value;
        int volume;
    };
    const Row rows[] = {
        {"0.3", 30}, {"nan", 30}, {"-5.0", 0}, {"inf", 100}, {"1e300", 100}, {"0.555", 56},
    };
    playFirst();
    Monitor monitor;
    for (const Row &row : rows) {
        SCOPED_TRACE(row.value);
        ASSERT_TRUE(call(QStringLiteral("org.freedesktop.DBus.Properties.Set"),
                         {kPlayer, QStringLiteral("Volume"),
                          QStringLiteral("<%1>").arg(QLatin1String(row.value))})
                        .ok);
        EXPECT_EQ(orbalState().volume, row.volume);
        EXPECT_EQ(m_face->painter().message(), QStringLiteral("Volume  %1%").arg(row.volume));
        if (xmmsMode()) {
            EXPECT_TRUE(testenv::waitFor(
                [&] { return qAbs(m_face->xmms()->volume() - row.volume) <= 2; }, 3000));
        } else {
            EXPECT_EQ(lastMixerVolume(), row.volume);
        }
        EXPECT_EQ(percent(property(QStringLiteral("Volume"))), row.volume);
    }
    // Announced once per change: the two refused values changed nothing.
    std::vector<int> announced;
    const QRegularExpression volume(QStringLiteral("'Volume': <([^>]*)>"));
    testenv::waitFor([&] { return monitor.text().contains(QLatin1String("'Volume': <0.5")); });
    for (const auto &m : volume.globalMatch(monitor.text()))
        announced.push_back(percent(m.captured(1)));
    EXPECT_EQ(announced, (std::vector<int>{30, 0, 100, 56}));
}

TEST_P(MprisModeTest, seekAndSetPositionMoveInTheSongOnlyWhenTheyMakeSense)
{
    struct Row {
        const char *name;
        const char *method;
        QStringList args;
        int second;    // where playback is afterwards; -1: not moved
        bool relative; // `second` counts from where playback was
        int entry;
    };
    const QString max = QString::number(std::numeric_limits<qint64>::max());
    const QString min = QString::number(std::numeric_limits<qint64>::min());
    const QString track0 = QStringLiteral("objectpath '/org/orbal/track/0'");
    const QString track1 = QStringLiteral("objectpath '/org/orbal/track/1'");
    const QString twoSeconds = QStringLiteral("2000000");
    const Row rows[] = {
        {"to a point", "SetPosition", {track0, QStringLiteral("8000000")}, 8, false, 0},
        {"another track", "SetPosition", {track1, twoSeconds}, -1, false, 0},
        {"unknown track",
         "SetPosition",
         {QStringLiteral("objectpath '/x/5'"), twoSeconds},
         -1,
         false,
         0},
        {"negative point", "SetPosition", {track0, QStringLiteral("-1")}, -1, false, 0},
        {"past the end", "SetPosition", {track0, max}, -1, false, 0},
        {"back by far too much", "Seek", {min}, 0, false, 0},
        {"forward", "Seek", {QStringLiteral("5000000")}, 5, true, 0},
        {"forward past the end: next entry", "Seek", {max}, -1, false, 1},
    };
    playFirst();
    Monitor monitor;
    const QRegularExpression seeked(QStringLiteral("Seeked \\(int64 (\\d+),\\)"));
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        const int seeks = monitor.count(QStringLiteral("Seeked"));
        const qint64 before = playedSeconds();
        ASSERT_TRUE(player(row.method, row.args).ok);
        if (row.second >= 0) {
            ASSERT_TRUE(testenv::waitFor(
                [&] { return monitor.count(QStringLiteral("Seeked")) > seeks; }, 5000));
            QRegularExpressionMatch last;
            for (const auto &m : seeked.globalMatch(monitor.text()))
                last = m;
            const qint64 to = last.captured(1).toLongLong() / 1000000;
            // The player's clock may tick between the test's reading and its own.
            EXPECT_LE(qAbs(to - (row.relative ? before + row.second : row.second)), 1);
            EXPECT_TRUE(testenv::waitFor([&] { return qAbs(playedSeconds() - to) <= 1; }, 5000))
                << playedSeconds();
        } else {
            QTest::qWait(300);
            EXPECT_EQ(monitor.count(QStringLiteral("Seeked")), seeks);
            if (row.entry == 0) {
                EXPECT_LE(qAbs(playedSeconds() - before), 2);
            }
        }
        EXPECT_TRUE(testenv::waitFor([&] { return orbalState().currentIndex == row.entry; }, 5000));
    }
}

INSTANTIATE_TEST_SUITE_P(Modes, MprisModeTest, ::testing::Values(Mode::Mplayer, Mode::Xmms),
                         [](const auto &info) {
                             return info.param == Mode::Xmms ? "xmms" : "mplayer";
                         });

TEST_F(MprisTest, quitLeavesThroughTheWindowsExitAndFreesTheName)
{
    makeFace();
    EXPECT_TRUE(property(QStringLiteral("Identity"), QStringLiteral("org.mpris.MediaPlayer2"))
                    .contains(QLatin1String("'ORBAL'")));
    orbalState().volume = 37;
    ASSERT_TRUE(call(QStringLiteral("org.mpris.MediaPlayer2.Quit")).ok);
    ASSERT_TRUE(testenv::waitFor(
        [&] {
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            return m_face.isNull();
        },
        5000));
    EXPECT_TRUE(readSettings("config").contains("Volume=37"));
    const Reply gone = player("Play");
    EXPECT_FALSE(gone.ok);
    EXPECT_TRUE(gone.out.contains(QLatin1String("ServiceUnknown"))) << qPrintable(gone.out);
}

TEST_F(MprisTest, withoutASessionBusTheProgramStartsSilently)
{
    const QString program = testenv::binaryDir() + QStringLiteral("/bin/orbal");
    if (!QFile::exists(program))
        GTEST_SKIP() << "orbal not built";
    QProcess orbal;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"),
               QStringLiteral("unix:path=") + m_appDir + QStringLiteral("/no-bus-here"));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    orbal.setProcessEnvironment(env);
    orbal.setWorkingDirectory(m_appDir);
    orbal.start(program, {});
    ASSERT_TRUE(orbal.waitForStarted(5000));
    QTest::qWait(1500);
    EXPECT_EQ(orbal.state(), QProcess::Running);
    orbal.terminate();
    orbal.waitForFinished(5000);
    const QString err = QString::fromUtf8(orbal.readAllStandardError());
    EXPECT_FALSE(err.contains(QLatin1String("bus"), Qt::CaseInsensitive)) << qPrintable(err);
}

} // namespace
