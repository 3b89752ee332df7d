#include "playlist/playerrestart.h"

#include "audio/xmmsplayer.h"
#include "platform/logging.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QThread>

#include <algorithm>
#include <signal.h>
#include <sys/types.h>

namespace
{

bool waitGone(const QString &appDir, int ms)
{
    QDeadlineTimer deadline(ms);
    while (!PlayerRestart::xmmsProcessesIn(appDir).isEmpty()) {
        if (deadline.hasExpired())
            return false;
        QThread::msleep(20);
    }
    return true;
}

void signalAll(const QList<qint64> &pids, int sig)
{
    for (qint64 pid : pids)
        ::kill(pid_t(pid), sig);
}
} // namespace

QList<qint64> PlayerRestart::xmmsProcessesIn(const QString &appDir)
{
    const QString wanted = QFileInfo(appDir).canonicalFilePath();
    QList<qint64> pids;
    if (wanted.isEmpty())
        return pids;
    QHash<qint64, qint64> parentOf;
    const QStringList entries = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs);
    for (const QString &entry : entries) {
        bool numeric = false;
        const qint64 pid = entry.toLongLong(&numeric);
        if (!numeric)
            continue;
        const QString base = QStringLiteral("/proc/") + entry;
        QFile comm(base + QStringLiteral("/comm"));
        if (!comm.open(QIODevice::ReadOnly) || comm.readAll().trimmed() != "xmms")
            continue;
        if (QFileInfo(base + QStringLiteral("/cwd")).canonicalFilePath() != wanted)
            continue;
        // "pid (comm) state ppid ...": the parent follows the last ")".
        QFile stat(base + QStringLiteral("/stat"));
        const QByteArray line = stat.open(QIODevice::ReadOnly) ? stat.readAll() : QByteArray();
        const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
        parentOf.insert(pid, fields.size() > 1 ? fields.at(1).toLongLong() : 0);
    }
    // A child forked by xmms carries its name until it execs something else.
    for (auto it = parentOf.cbegin(); it != parentOf.cend(); ++it)
        if (!parentOf.contains(it.value()))
            pids << it.key();
    std::sort(pids.begin(), pids.end());
    return pids;
}

PlayerRestart::PlayerRestart(XMMSPlayer *xmms, const QString &appDir) : m_xmms(xmms)
{
    if (!m_xmms)
        return;
    m_xmms->kill();
    if (waitGone(appDir, kQuitWaitMs))
        return;
    qCWarning(lcPlaylist) << "xmms did not quit; terminating it";
    signalAll(xmmsProcessesIn(appDir), SIGTERM);
    if (!waitGone(appDir, 1000))
        signalAll(xmmsProcessesIn(appDir), SIGKILL);
    waitGone(appDir, 1000);
}

PlayerRestart::~PlayerRestart()
{
    if (m_xmms)
        m_xmms->launch();
}
