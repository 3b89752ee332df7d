// Plays one file at a time through the outside "./mplayer" (in the application directory)
// in slave mode: commands go to its standard input over one socket pair, its console output
// comes back over another and becomes the signals below. Video files also get the control
// window (VideoPlayer), into which mplayer draws.
#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QString>
#include <sys/types.h>

class KConfig;
class QSocketNotifier;
class QTimer;
class VideoPlayer;

// The "OPTION" switches of ".xmms/tavrin_cfg" that choose mplayer's arguments.
struct EngineOptions {
    bool nosound = false;
    bool karaoke = false;
    bool Lstereo = false;
    bool Rstereo = false;
    bool framedrop = false;
    bool nedtc = false;
    bool autosync = false;
    bool loop = false;
    bool scale = false;
    bool crop = false;
    bool Tspeed = false;
    bool speed = false;

    // Reads the group "OPTION" of an open store (missing keys are false).
    static EngineOptions read(KConfig &config);
};

class Engine : public QObject
{
    Q_OBJECT
public:
    enum class Mode { None, Audio, Video };

    // Unfinished output lines longer than this are dropped whole.
    static constexpr int MaxPendingBytes = 64 * 1024;

    explicit Engine(QObject *parent = nullptr, const char *name = "Engine");
    // Releases the window and the descriptors; the child, if any, is left running.
    ~Engine() override;

    // Starts the child for the file; true when it is alive afterwards. A running child is
    // stopped first. Files of neither type list, or missing files, start nothing.
    bool play(const QString &path);
    bool isRunning();
    // A child was started and its end has not been handled yet.
    bool isActive() const { return m_started != 0; }
    // Asks the child to quit and tears down the window; does not wait for the child.
    void stop();
    // One command line; dropped silently when no child channel is open. Always true.
    bool sendCommand(const QString &command);
    void pause();
    // type 0: relative step in seconds, type 2: absolute position in seconds.
    void seek(int type, int value);
    // Length in whole seconds from mplayer's last answer: 0 until the first, and the
    // previous file's until the new file's answer arrives.
    int length() const { return m_length; }
    // The current child said it has no sound output (no device, or no audio in the file).
    bool noSound() const { return m_noSound; }
    void setVolume(int volume);
    // The front-end volume (0..100): to the mixer device where there is one, else to the
    // child (now, and to every child started later).
    void applyVolume(int volume);
    void quit();
    // The user ended playback from the video window: the child's end gives no onQuit().
    void quitByUser();
    // Ends our own mplayer children (never anyone else's): asks, then terminates, then kills.
    // For the main window's close.
    void killChild();

    pid_t pid() const { return m_pid; }
    Mode mode() const { return m_mode; }
    VideoPlayer *videoWindow() const { return m_videoWindow; }

    // Which way a file is played: by its last extension (any case); None when the file does
    // not exist or its type is in neither list. Types in both lists play as video.
    static Mode modeOf(const QString &path);
    static bool isAudioType(const QString &path);
    static bool isVideoType(const QString &path);
    // mplayer's argument vector for a file, "./mplayer" first. Paths that begin with "-"
    // are prefixed with "./" so they cannot pass for an option.
    static QList<QByteArray> arguments(Mode mode, const QString &path,
                                       const EngineOptions &options);
    // What follows the vector in video mode: draw into our window, leave keys and the
    // pointer to it.
    static QList<QByteArray> windowArguments(unsigned long long windowId);

    // The line parser: takes a chunk of output, handles every complete line and keeps the
    // unfinished rest for the next chunk.
    void parseOutput(const QByteArray &chunk);
    // Bytes of the unfinished line kept so far (never above MaxPendingBytes).
    int pendingBytes() const { return int(m_pending.size()); }

signals:
    void onQuit();
    void ontimeout();
    void onNeedGUI();
    // Every complete line the child prints.
    void outputLine(const QByteArray &line);

public slots:
    void sltSocketData(int fd);
    void sltTimer();

private:
    // The three steps of play(): mplayer's argument vector for the file, the two socket
    // pairs with the output watched, and the child (its pid, 0 when it could not start).
    QList<QByteArray> commandLine(Mode mode, const QString &path,
                                  const EngineOptions &options) const;
    bool openChannels();
    pid_t startChild(QList<QByteArray> args);
    void showVideoWindow(VideoPlayer *window);
    void handleLine(const QByteArray &line);
    void logLine(const QByteArray &line);
    void closeChannels();
    void reapOrphans();

    bool m_videoShown = false;
    bool m_noSound = false;
    int m_volume = 45;
    static constexpr int MaxLoggedLinesPerSecond = 50;
    QElapsedTimer m_logWindow;
    int m_logShown = 0;
    int m_logDropped = 0;
    bool m_userQuit = false;
    QString m_appDir;
    pid_t m_pid = 0;
    int m_cmdPair[2] = {-1, -1};
    int m_outPair[2] = {-1, -1};
    QSocketNotifier *m_notifier = nullptr;
    QTimer *m_pollTimer = nullptr;
    VideoPlayer *m_videoWindow = nullptr;
    int m_started = 0;
    int m_length = 0;
    QByteArray m_pending;
    bool m_discarding = false; // inside an overlong line, skipping to its line feed
    quint64 m_generation = 0;  // counts channel teardowns; output of an old child is dropped
    int m_boosterDue = 0;
    int m_boosterAtStart = 0;
    int m_lengthDue = 0;
    Mode m_mode = Mode::None;

    // Children told to quit but not yet gone: reaped by the poll, terminated if they linger.
    struct Orphan {
        pid_t pid;
        int age; // polls since it was told to quit
    };
    QList<Orphan> m_orphans;
};
