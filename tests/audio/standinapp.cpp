#include "standinapp.h"

#include "audio/xmmsctrl.h"
#include "audio/xmmsprotocol.h"
#include "tests/support/testenv.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QThread>
#include <cstdlib>

void StandinApp::useScratchSockets()
{
    static bool done = false;
    if (done)
        return;
    done = true;
    // Short and private, so the socket path never meets a real user's xmms.
    qputenv("TMPDIR", testenv::scratchDir().toLocal8Bit());
    testenv::useQuietHome();
}

QString StandinApp::socketPath()
{
    return QString::fromLocal8Bit(XmmsProtocol::socketPath(0));
}

QString StandinApp::standinBinary()
{
    return testenv::binaryDir() + QStringLiteral("/bin/xmms");
}

StandinApp::StandinApp(bool wrapper, const QString &name)
{
    useScratchSockets();
    m_dir = testenv::scratchDir(name);
    QDir().mkpath(m_dir + QStringLiteral("/.xmms"));
    QDir().mkpath(m_dir + QStringLiteral("/bin"));
    if (wrapper) {
        QByteArray quotedDir = m_dir.toLocal8Bit();
        quotedDir.replace('\'', "'\\''");
        const QByteArray script = "#!/bin/sh\necho start >> '" + quotedDir +
                                  "/starts.log'\nexec '" + standinBinary().toLocal8Bit() +
                                  "' \"$@\"\n";
        testenv::writeFile(path(QStringLiteral("bin/xmms")), script);
        QFile::setPermissions(path(QStringLiteral("bin/xmms")),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    } else {
        QFile::link(standinBinary(), path(QStringLiteral("bin/xmms")));
    }
    m_process.setWorkingDirectory(m_dir);
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
}

StandinApp::~StandinApp()
{
    stop();
}

void StandinApp::writePlaylist(const QStringList &files) const
{
    testenv::writeFile(path(QStringLiteral(".xmms/xmms.m3u")),
                       files.join(QLatin1Char('\n')).toUtf8() + '\n');
}

void StandinApp::writeConfig(const QByteArray &text) const
{
    testenv::writeFile(path(QStringLiteral(".xmms/config")), text);
}

int StandinApp::starts() const
{
    return int(testenv::readFile(path(QStringLiteral("starts.log"))).count("start"));
}

bool StandinApp::start()
{
    m_process.start(path(QStringLiteral("bin/xmms")), {});
    return testenv::waitFor([] { return xmms_remote_get_version(0) != 0; }, 5000);
}

void StandinApp::stop()
{
    if (xmms_remote_is_running(0)) {
        xmms_remote_quit(0);
        testenv::waitFor([] { return !QFile::exists(socketPath()); }, 5000);
    }
    if (m_process.state() != QProcess::NotRunning && !m_process.waitForFinished(5000))
        m_process.kill();
    m_process.waitForFinished(1000);
}

QString testSong(int seconds)
{
    static QHash<int, QString> songs;
    if (!songs.contains(seconds)) {
        const QString dir = testenv::scratchDir(QStringLiteral("songs"));
        songs.insert(seconds,
                     testenv::makeMp3(dir + QStringLiteral("/tone%1s.mp3").arg(seconds), seconds));
    }
    return songs.value(seconds);
}
