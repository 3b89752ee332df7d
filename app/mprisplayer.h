// The player as the desktop sees it: registers "org.mpris.MediaPlayer2.orbal" on the session
// bus (object /org/mpris/MediaPlayer2, the two MPRIS 2 interfaces of MprisRootAdaptor and
// MprisPlayerAdaptor) and turns their calls into the window's own commands, so the screen
// always shows what the desktop asked for. Announces changes of the entry, the play state
// and the volume with PropertiesChanged. Without a session bus it does nothing at all.
#pragma once

#include <QObject>
#include <QString>
#include <QVariantMap>

class CommandDispatcher;
class PointerInput;
struct OrbalState;

class MprisPlayer : public QObject
{
    Q_OBJECT
public:
    static const char *const kService; // the well-known name asked for first
    static const char *const kPath;

    // Registers at once when a session bus can be reached; `parent` is the window.
    MprisPlayer(CommandDispatcher &dispatcher, PointerInput &pointer, OrbalState &state,
                QObject *parent);
    ~MprisPlayer() override;

    // The bus name held, empty when not on a bus.
    QString serviceName() const { return m_service; }

    // Player actions, the MPRIS meaning mapped onto the window's commands.
    void play();
    void pause();
    void playPause();
    void stop();
    void next();
    void previous();
    void quit();
    // Microseconds, relative to the position; past the end acts as next().
    void seek(qint64 offset);
    // Microseconds; ignored for another track or a point outside the song.
    void setPosition(const QString &trackId, qint64 position);

    // The "Playing" / "Paused" / "Stopped" of the window's own flags.
    QString playbackStatus() const;
    QVariantMap metadata() const;
    double volume() const;
    // 0.0 .. 1.0, clamped; not-a-number is ignored.
    void setVolume(double volume);
    qint64 position() const; // microseconds
    bool canGoNext() const;
    bool canGoPrevious() const;
    bool canPlay() const;
    bool canSeek() const;

signals:
    void seeked(qint64 position); // microseconds

private:
    // Only the current track: length in microseconds, 0 while unknown.
    qint64 length() const;
    // The properties PropertiesChanged reports, as they are now.
    QVariantMap announced() const;
    void scheduleAnnounce();
    void announceChanges();

    CommandDispatcher &m_dispatcher;
    PointerInput &m_pointer;
    OrbalState &m_state;
    QString m_service;
    QVariantMap m_announced;
    bool m_announceDue = false;
};
