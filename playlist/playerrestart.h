// Keeps the outside xmms stopped for as long as the guard lives, so its own playlist
// file can be replaced in between, and starts it again when the guard goes. xmms
// rewrites its list when it quits, so the guard waits (bounded) until the process
// is really gone. Only the xmms running in the application directory is ever
// signalled: other xmms processes on the machine are left alone. With no adapter
// the guard does nothing (mplayer mode).
#pragma once

#include <QList>
#include <QString>

class XMMSPlayer;

class PlayerRestart
{
public:
    PlayerRestart(XMMSPlayer *xmms, const QString &appDir);
    ~PlayerRestart();
    PlayerRestart(const PlayerRestart &) = delete;
    PlayerRestart &operator=(const PlayerRestart &) = delete;

    // Pids of the processes named "xmms" whose working directory is `appDir`.
    static QList<qint64> xmmsProcessesIn(const QString &appDir);

    // How long a quitting xmms may take before it is terminated, in milliseconds.
    static constexpr int kQuitWaitMs = 3000;

private:
    XMMSPlayer *m_xmms;
};
