// A scratch application directory with the stand-in xmms as "bin/xmms", a private socket
// folder (TMPDIR) and a HOME whose mplayer plays to the null output.
#pragma once

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QStringList>

class StandinApp
{
public:
    // wrapper: "bin/xmms" becomes a shell script that notes each start in "starts.log"
    // before running the stand-in, so tests can count launches.
    // name: the application directory's own name (it may hold quotes, blanks, "$()").
    explicit StandinApp(bool wrapper = false, const QString &name = QStringLiteral("app"));
    ~StandinApp();
    StandinApp(const StandinApp &) = delete;
    StandinApp &operator=(const StandinApp &) = delete;

    // Gives every test program its own socket folder; call before any socket is used.
    static void useScratchSockets();
    static QString socketPath();
    static QString standinBinary();

    QString dir() const { return m_dir; }
    QString path(const QString &relative) const { return m_dir + '/' + relative; }
    void writePlaylist(const QStringList &files) const;
    void writeConfig(const QByteArray &text) const;
    int starts() const; // wrapper starts so far

    // Starts the stand-in from the application directory, as a child of the test, and waits
    // until it answers; false when it does not within five seconds.
    bool start();
    // Asks it to quit and waits for it (and for any instance started through launch).
    void stop();
    QProcess &process() { return m_process; }

private:
    QString m_dir;
    QProcess m_process;
};

// Songs made once per test program: a tone of the given length in seconds.
QString testSong(int seconds);
