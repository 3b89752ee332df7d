// The whole player as a user meets it: orbal started in a demo application folder under
// a real X server, driven by real pointer and key events, watched through screen grabs and
// through the processes it starts. Every wait is bounded; whatever happens, the programs
// started here are killed at the end.
#include "tests/support/testenv.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QThread>
#include <csignal>
#include <functional>
#include <gtest/gtest.h>
#include <sys/prctl.h>

namespace
{

struct Proc {
    int pid = 0;
    int ppid = 0;
    QStringList args;
};

QList<Proc> processes()
{
    QList<Proc> all;
    const QStringList names = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs);
    for (const QString &name : names) {
        bool ok = false;
        const int pid = name.toInt(&ok);
        if (!ok)
            continue;
        const QByteArray stat = testenv::readFile(QStringLiteral("/proc/%1/stat").arg(pid));
        // The command name may hold spaces and parentheses: the fields follow the last ')'.
        const QList<QByteArray> fields = stat.mid(stat.lastIndexOf(')') + 2).split(' ');
        if (fields.size() < 2 || fields[0] == "Z")
            continue;
        Proc p;
        p.pid = pid;
        p.ppid = fields[1].toInt();
        const QByteArray cmdline = testenv::readFile(QStringLiteral("/proc/%1/cmdline").arg(pid));
        for (const QByteArray &arg : cmdline.split('\0'))
            if (!arg.isEmpty())
                p.args << QString::fromLocal8Bit(arg);
        all << p;
    }
    return all;
}

bool alive(int pid)
{
    for (const Proc &p : processes())
        if (p.pid == pid)
            return true;
    return false;
}

// Every live process one of whose arguments mentions `text`.
QList<Proc> mentioning(const QString &text)
{
    QList<Proc> found;
    for (const Proc &p : processes())
        for (const QString &arg : p.args)
            if (arg.contains(text)) {
                found << p;
                break;
            }
    return found;
}

// The mplayer child of `parent` that plays (not one that only probes a file with
// "-frames 0"), or pid 0.
Proc mplayerChild(int parent)
{
    for (const Proc &p : processes()) {
        if (p.ppid != parent || p.args.isEmpty() || QFileInfo(p.args[0]).fileName() != "mplayer")
            continue;
        const int frames = int(p.args.indexOf(QStringLiteral("-frames")));
        if (frames < 0 || p.args.value(frames + 1) != QStringLiteral("0"))
            return p;
    }
    return {};
}

QString xdotool(const QStringList &args, int ms = 10000)
{
    const testenv::ProcessResult r = testenv::run(QStringLiteral("xdotool"), args, ms);
    return r.exitCode == 0 ? QString::fromLocal8Bit(r.out).trimmed() : QString();
}

// A skin element list from a skin description.
QList<int> element(const QString &conf, const QString &key)
{
    const QRegularExpression line(QStringLiteral("^%1=(.*)$").arg(key),
                                  QRegularExpression::MultilineOption);
    QList<int> values;
    for (const QString &v : line.match(conf).captured(1).split(','))
        values << v.trimmed().toInt();
    return values;
}

QPoint centre(const QList<int> &e)
{
    return e.size() >= 4 ? QPoint(e[0] + e[2] / 2, e[1] + e[3] / 2) : QPoint();
}

// Polls until check() holds or ms pass; sleeps between tries (nothing here needs our own
// event loop).
bool waitUntil(const std::function<bool()> &check, int ms = 10000)
{
    for (int waited = 0;; waited += 200) {
        if (check())
            return true;
        if (waited >= ms)
            return false;
        QThread::msleep(200);
    }
}

class EndToEnd : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_FALSE(qEnvironmentVariableIsEmpty("DISPLAY")) << "needs an X server (DISPLAY)";
        const QString build = testenv::binaryDir();
        const QString scratch = testenv::scratchDir(QStringLiteral("e2e"));
        m_demo = scratch + "/demo";
        m_tmp = scratch + "/tmp";
        QDir().mkpath(m_tmp);
        // The generated songs take a while to make: keep them across runs.
        const QString cache = build + "/tests/e2e/card-cache";
        QDir().mkpath(m_demo + "/mmc");
        if (QFileInfo::exists(cache + "/music"))
            testenv::run("cp", {"-a", cache, m_demo + "/mmc/mmca1"}, 30000);
        const testenv::ProcessResult made =
            testenv::run(testenv::sourceDir() + "/scripts/make-demo.sh", {build, m_demo}, 150000);
        ASSERT_EQ(made.exitCode, 0) << made.err.constData();
        if (!QFileInfo::exists(cache + "/music")) {
            QDir().mkpath(QFileInfo(cache).absolutePath());
            testenv::run("cp", {"-a", m_demo + "/mmc/mmca1", cache}, 30000);
        }
        m_home = testenv::useQuietHome();
        const QStringList entries = QString::fromUtf8(testenv::readFile(m_demo + "/.xmms/xmms.m3u"))
                                        .split('\n', Qt::SkipEmptyParts);
        ASSERT_GE(entries.size(), 2);
        m_first = entries[0];
        m_second = entries[1];
        m_conf = QString::fromLatin1(testenv::readFile(m_demo + "/skins/default/skins.conf"));
        m_skin.load(m_demo + "/skins/default/skins.png");
        ASSERT_FALSE(m_skin.isNull());
    }

    void TearDown() override
    {
        if (m_orbal) {
            m_orbal->kill();
            m_orbal->waitForFinished(3000);
            delete m_orbal;
        }
        // Whatever the programs left behind (stand-in xmms, mplayer) runs from the demo.
        if (!m_demo.isEmpty())
            for (const Proc &p : mentioning(m_demo))
                ::kill(p.pid, SIGKILL);
    }

    void startOrbal(bool xmmsMode)
    {
        testenv::writeFile(m_demo + "/.xmms/tavrin_cfg",
                           xmmsMode ? "[tvskin]\nEnxmms=true\n" : "[tvskin]\nEnxmms=false\n");
        // In order: "next" is then the second song in both modes.
        testenv::writeFile(m_demo + "/.xmms/config", "[xmms]\nshuffle=false\n");
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove(QStringLiteral("QT_QPA_PLATFORM"));
        env.insert(QStringLiteral("HOME"), m_home);
        env.insert(QStringLiteral("TMPDIR"), m_tmp); // the xmms socket lives here
        m_orbal = new QProcess;
        m_orbal->setProcessEnvironment(env);
        m_orbal->setWorkingDirectory(m_demo);
        m_orbal->setStandardOutputFile(m_demo + "/orbal.log");
        m_orbal->setStandardErrorFile(m_demo + "/orbal.log", QIODevice::Append);
        // A test killed by its time limit takes orbal with it.
        m_orbal->setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGKILL); });
        m_orbal->start(m_demo + "/orbal", {});
        ASSERT_TRUE(m_orbal->waitForStarted(5000));
        const QString found = xdotool(
            {"search", "--sync", "--onlyvisible", "--pid", QString::number(m_orbal->processId())},
            20000);
        m_window = found.section('\n', 0, 0);
        ASSERT_FALSE(m_window.isEmpty()) << "orbal showed no window\n" << log().toStdString();
    }

    QString log() const { return QString::fromLocal8Bit(testenv::readFile(m_demo + "/orbal.log")); }

    void click(const char *key)
    {
        const QPoint at = centre(element(m_conf, QString::fromLatin1(key)));
        ASSERT_FALSE(at.isNull()) << key;
        xdotool({"mousemove", "--window", m_window, QString::number(at.x()),
                 QString::number(at.y()), "click", "1"});
    }

    QImage grab()
    {
        const QString file = m_tmp + "/grab.png";
        QFile::remove(file);
        testenv::run("import", {"-window", m_window, file}, 10000);
        return QImage(file).convertToFormat(QImage::Format_RGB32);
    }

    // The time digits as seconds, read by matching each cell against the skin's glyphs;
    // -1 while they show no time.
    int shownSeconds(const QImage &shot)
    {
        const QList<int> t = element(m_conf, "time_win");
        if (shot.isNull() || t.size() < 6)
            return -1;
        const int w = t[2], h = t[3];
        auto distance = [&](int cell, int glyph) {
            qint64 sum = 0;
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x) {
                    const QRgb a = shot.pixel(t[0] + cell * w + x, t[1] + y);
                    const QRgb b = m_skin.pixel(t[4] + glyph * w + x, t[5] + y);
                    sum += qAbs(qRed(a) - qRed(b)) + qAbs(qGreen(a) - qGreen(b)) +
                           qAbs(qBlue(a) - qBlue(b));
                }
            return sum;
        };
        // A glyph matches when its colours are off by less than 8 per channel on average
        // (the server's colour depth may round them).
        const qint64 limit = qint64(w) * h * 3 * 8;
        int digits[4];
        const int cells[4] = {0, 1, 3, 4};
        for (int k = 0; k < 4; ++k) {
            int best = -1;
            qint64 bestDistance = limit;
            for (int d = 0; d <= 9; ++d) {
                const qint64 dist = distance(cells[k], d);
                if (dist < bestDistance) {
                    best = d;
                    bestDistance = dist;
                }
            }
            if (best < 0)
                return -1;
            digits[k] = best;
        }
        return (digits[0] * 10 + digits[1]) * 60 + digits[2] * 10 + digits[3];
    }

    QImage titleOf(const QImage &shot)
    {
        const QList<int> t = element(m_conf, "title_win");
        return shot.copy(t[0], t[1], t[2], t[3]);
    }

    // The process playing for orbal: orbal itself in mplayer mode, the stand-in xmms else.
    int playerPid(bool xmmsMode)
    {
        if (!xmmsMode)
            return int(m_orbal->processId());
        for (const Proc &p : mentioning(m_demo + "/bin/xmms"))
            if (p.args.value(0) == m_demo + "/bin/xmms")
                return p.pid;
        return 0;
    }

    void playNextAndClose(bool xmmsMode);

    QString m_demo, m_tmp, m_home, m_first, m_second, m_conf, m_window;
    QImage m_skin;
    QProcess *m_orbal = nullptr;
};

void EndToEnd::playNextAndClose(bool xmmsMode)
{
    int player = 0;
    if (xmmsMode) {
        ASSERT_TRUE(waitUntil([&] { return (player = playerPid(true)) != 0; }, 10000))
            << "orbal did not launch bin/xmms\n"
            << log().toStdString();
    } else {
        player = playerPid(false);
    }
    // Quiet until asked.
    EXPECT_EQ(mplayerChild(player).pid, 0);

    click("play");
    Proc first;
    ASSERT_TRUE(waitUntil(
        [&] {
            first = mplayerChild(player);
            return first.args.contains(m_first);
        },
        10000))
        << "no mplayer playing " << m_first.toStdString() << "\n"
        << log().toStdString();

    int before = -1;
    ASSERT_TRUE(waitUntil([&] { return (before = shownSeconds(grab())) >= 1; }, 10000))
        << "the time digits never showed a running time";
    // The digits must keep up with the clock: two more seconds shown take at least one
    // real second and not much more than two (the poll runs once a second).
    QElapsedTimer clock;
    clock.start();
    QImage later;
    int after = -1;
    const bool advanced = waitUntil(
        [&] {
            later = grab();
            after = shownSeconds(later);
            return after >= before + 2;
        },
        8000);
    const qint64 took = clock.elapsed();
    RecordProperty("seconds_before", before);
    RecordProperty("seconds_after", after);
    RecordProperty("ms_taken", int(took));
    EXPECT_TRUE(advanced) << "from " << before << " s to " << after << " s";
    EXPECT_GE(took, 1000);
    EXPECT_LE(after, before + took / 1000 + 2);

    click("next");
    Proc second;
    EXPECT_TRUE(waitUntil(
        [&] {
            second = mplayerChild(player);
            return second.args.contains(m_second);
        },
        10000))
        << "next did not move mplayer to " << m_second.toStdString();
    EXPECT_FALSE(alive(first.pid)) << "the first song's mplayer still runs";
    // Next shows the new entry's title; give the poll a second to notice in xmms mode.
    EXPECT_TRUE(waitUntil([&] { return titleOf(grab()) != titleOf(later); }, 3000));

    // Volume up through the keyboard: 45 becomes 50, saved on exit.
    xdotool({"windowfocus", m_window});
    xdotool({"key", "Prior"});
    QThread::msleep(300);

    click("exit_win");
    ASSERT_TRUE(m_orbal->waitForFinished(10000)) << "orbal did not end on exit";
    EXPECT_EQ(m_orbal->exitStatus(), QProcess::NormalExit);
    const QString config = QString::fromLatin1(testenv::readFile(m_demo + "/.xmms/config"));
    EXPECT_TRUE(config.contains(QRegularExpression("\\[Winskin\\][^\\[]*\\nVolume=50\\n")))
        << config.toStdString();
    EXPECT_TRUE(waitUntil([&] { return mentioning(m_demo + "/mmc/").isEmpty(); }, 5000))
        << "an mplayer outlived orbal";
    if (xmmsMode) {
        EXPECT_TRUE(waitUntil([&] { return !alive(player); }, 5000)) << "xmms outlived orbal";
    }
}

TEST_F(EndToEnd, MplayerModePlaysSkipsAndSavesTheVolume)
{
    ASSERT_NO_FATAL_FAILURE(startOrbal(false));
    playNextAndClose(false);
}

TEST_F(EndToEnd, XmmsModeDrivesTheStandInXmms)
{
    ASSERT_NO_FATAL_FAILURE(startOrbal(true));
    playNextAndClose(true);
}

// Installed as a user installs it: from the Debian package, started from the desktop menu
// (outside any application folder) with a fresh home holding one song.
class Installed : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_FALSE(qEnvironmentVariableIsEmpty("DISPLAY")) << "needs an X server (DISPLAY)";
        m_scratch = testenv::scratchDir(QStringLiteral("installed"));
    }
    void TearDown() override
    {
        if (m_orbal) {
            m_orbal->kill();
            m_orbal->waitForFinished(3000);
            delete m_orbal;
        }
        for (const Proc &p : mentioning(m_scratch))
            ::kill(p.pid, SIGKILL);
    }

    // A home with a song in its music folder, audio to the null output.
    QString freshHome(const QString &name)
    {
        const QString home = m_scratch + QLatin1Char('/') + name;
        testenv::writeFile(home + "/.mplayer/config", "ao=null\nvo=null\n");
        testenv::makeMp3(home + "/Music/My Song.mp3", 20.0);
        QDir().mkpath(home + "/runtime");
        QFile::setPermissions(home + "/runtime",
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        return home;
    }

    QProcessEnvironment envFor(const QString &home) const
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove(QStringLiteral("QT_QPA_PLATFORM"));
        env.remove(QStringLiteral("XDG_DATA_HOME"));
        env.remove(QStringLiteral("XDG_MUSIC_DIR"));
        env.remove(QStringLiteral("QT_LOGGING_RULES"));
        env.insert(QStringLiteral("HOME"), home);
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), home + "/runtime");
        env.insert(QStringLiteral("TMPDIR"), home);
        return env;
    }

    testenv::ProcessResult runIn(const QString &program, const QStringList &args,
                                 const QString &home)
    {
        QProcess p;
        p.setProcessEnvironment(envFor(home));
        p.setWorkingDirectory(home);
        p.start(program, args);
        testenv::ProcessResult r;
        if (!p.waitForFinished(10000))
            p.kill();
        r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
        r.out = p.readAllStandardOutput();
        r.err = p.readAllStandardError();
        return r;
    }

    // Starts the program from the home folder, waits for its window, plays the first row and
    // returns the song the mplayer child plays.
    QString startAndPlay(const QString &program, const QString &home)
    {
        m_orbal = new QProcess;
        m_orbal->setProcessEnvironment(envFor(home));
        m_orbal->setWorkingDirectory(home);
        m_orbal->setStandardOutputFile(home + "/out.log");
        m_orbal->setStandardErrorFile(home + "/err.log");
        m_orbal->setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGKILL); });
        m_orbal->start(program, {});
        if (!m_orbal->waitForStarted(5000))
            return "not started";
        const QString window = xdotool({"search", "--sync", "--onlyvisible", "--pid",
                                        QString::number(m_orbal->processId())},
                                       20000)
                                   .section('\n', 0, 0);
        if (window.isEmpty())
            return "no window";
        const QString conf = QString::fromLatin1(
            testenv::readFile(home + "/.local/share/orbal/skins/default/skins.conf"));
        const QPoint play = centre(element(conf, "play"));
        xdotool({"mousemove", "--window", window, QString::number(play.x()),
                 QString::number(play.y()), "click", "1"});
        Proc child;
        waitUntil([&] { return (child = mplayerChild(int(m_orbal->processId()))).pid != 0; });
        const QString song = child.args.value(child.args.size() - 1);
        m_orbal->kill();
        m_orbal->waitForFinished(3000);
        delete m_orbal;
        m_orbal = nullptr;
        return song;
    }

    QString m_scratch;
    QProcess *m_orbal = nullptr;
};

TEST_F(Installed, fromAPrefixAndFromThePackageItStartsInTheUsersFolder)
{
    const QString build = testenv::binaryDir();
    const QString prefix = m_scratch + "/prefix";
    const testenv::ProcessResult installed =
        testenv::run("cmake", {"--install", build, "--prefix", prefix}, 60000);
    ASSERT_EQ(installed.exitCode, 0) << installed.err.constData();
    for (const char *file :
         {"bin/orbal", "bin/vellum", "lib/orbal/xmms", "lib/orbal/mp3asm",
          "share/orbal/skins/default/skins.conf", "share/orbal/skins/ivory/skins.conf",
          "share/orbal/kerfa/kerfa.png", "share/orbal/readme", "share/man/man1/orbal.1",
          "share/man/man1/vellum.1", "share/icons/hicolor/scalable/apps/orbal.svg",
          "share/icons/hicolor/48x48/apps/orbal.png", "share/icons/hicolor/256x256/apps/orbal.png"})
        EXPECT_TRUE(QFileInfo::exists(prefix + QLatin1Char('/') + QLatin1String(file))) << file;
    EXPECT_FALSE(QFileInfo::exists(prefix + "/bin/xmms")); // not on the PATH
    const testenv::ProcessResult desktop = testenv::run(
        "desktop-file-validate", {prefix + "/share/applications/org.orbal.Orbal.desktop"});
    EXPECT_EQ(desktop.exitCode, 0) << desktop.out.constData() << desktop.err.constData();
    const testenv::ProcessResult meta =
        testenv::run("appstreamcli", {"validate", "--no-net",
                                      prefix + "/share/metainfo/org.orbal.Orbal.metainfo.xml"});
    EXPECT_EQ(meta.exitCode, 0) << meta.out.constData() << meta.err.constData();

    // The command line: usage and version on stdout, a bad word on stderr with status 2,
    // and not a file made for any of them.
    const QString quiet = m_scratch + "/quiet";
    QDir().mkpath(quiet);
    const QString orbal = prefix + "/bin/orbal";
    const testenv::ProcessResult help = runIn(orbal, {"--help"}, quiet);
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.out.startsWith("Usage: orbal")) << help.out.constData();
    EXPECT_TRUE(help.out.contains("QT_LOGGING_RULES"));
    const testenv::ProcessResult version = runIn(orbal, {"--version"}, quiet);
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_TRUE(version.out.startsWith("orbal 3.")) << version.out.constData();
    for (const char *bad : {"--bogus", "song.mp3"}) {
        const testenv::ProcessResult r = runIn(orbal, {bad}, quiet);
        EXPECT_EQ(r.exitCode, 2) << bad;
        EXPECT_TRUE(r.out.isEmpty()) << bad;
        EXPECT_TRUE(r.err.startsWith("orbal: ")) << r.err.constData();
        EXPECT_TRUE(r.err.contains("\nUsage: orbal")) << bad;
    }
    const testenv::ProcessResult vellumHelp = runIn(prefix + "/bin/vellum", {"--help"}, quiet);
    EXPECT_EQ(vellumHelp.exitCode, runIn(prefix + "/bin/vellum", {"-h"}, quiet).exitCode);
    EXPECT_TRUE(
        QDir(quiet).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot).isEmpty());

    // First start: the user's folder is made and its list is the music folder.
    const QString home = freshHome("home");
    const QString song = home + "/Music/My Song.mp3";
    EXPECT_EQ(startAndPlay(orbal, home), song);
    const QString folder = home + "/.local/share/orbal";
    EXPECT_TRUE(QFileInfo(folder + "/skins/default/skins.conf").exists());
    EXPECT_EQ(QFileInfo(folder + "/mmc/mmca1").canonicalFilePath(),
              QFileInfo(home + "/Music").canonicalFilePath());
    EXPECT_EQ(QFileInfo(folder + "/playlist").canonicalFilePath(),
              QFileInfo(home + "/playlist").canonicalFilePath());
    EXPECT_TRUE(QFileInfo(folder + "/bin/xmms").isExecutable());
    // Nothing on the terminal for a normal session.
    EXPECT_EQ(testenv::readFile(home + "/err.log"), QByteArray());
    EXPECT_EQ(testenv::readFile(home + "/out.log"), QByteArray());

    // Second start: what the user changed stays.
    QFile::remove(folder + "/readme");
    testenv::writeFile(folder + "/readme", "mine\n");
    testenv::writeFile(folder + "/skins/mine/skins.conf", "[SKINS]\n");
    testenv::writeFile(folder + "/.xmms/xmms.m3u", song.toUtf8() + "\n" + song.toUtf8() + "\n");
    EXPECT_EQ(startAndPlay(orbal, home), song);
    EXPECT_EQ(testenv::readFile(folder + "/readme"), "mine\n");
    EXPECT_TRUE(QFileInfo::exists(folder + "/skins/mine/skins.conf"));
    EXPECT_EQ(testenv::readFile(folder + "/.xmms/xmms.m3u").count('\n'), 2);

    // The Debian package, unpacked into a scratch root, works the same way.
    const QString packages = m_scratch + "/packages";
    const testenv::ProcessResult packed = testenv::run(
        "cpack", {"-G", "DEB", "--config", build + "/CPackConfig.cmake", "-B", packages}, 180000);
    ASSERT_EQ(packed.exitCode, 0) << packed.out.constData() << packed.err.constData();
    const QStringList debs = QDir(packages).entryList({"orbal_*.deb"}, QDir::Files);
    ASSERT_EQ(debs.size(), 1);
    const QString deb = packages + QLatin1Char('/') + debs.first();
    const QByteArray depends = testenv::run("dpkg-deb", {"-f", deb, "Depends"}).out.trimmed();
    for (const char *needed : {"mplayer", "mp3gain", "fonts-wqy-microhei", "libqt6widgets6"})
        EXPECT_TRUE(depends.contains(needed)) << needed << " in " << depends.constData();
    const QString root = m_scratch + "/root";
    ASSERT_EQ(testenv::run("dpkg", {"-x", deb, root}).exitCode, 0);
    const QString packagedHome = freshHome("packaged");
    EXPECT_EQ(startAndPlay(root + "/usr/bin/orbal", packagedHome),
              packagedHome + "/Music/My Song.mp3");
}

} // namespace
