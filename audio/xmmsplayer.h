// The front-end's one link to the outside xmms process: starts it, probes it, commands it
// through the remote-control client (always session 0), turns its play/pause changes into
// signals and keeps an optional cache of its playlist. Knows nothing of skins or painting.
#pragma once

#include <QMap>
#include <QObject>
#include <QString>
#include <QStringList>

// One cached entry of xmms's playlist. The stream fields stay 0 until refreshEntryInfo.
struct PlaylistEntry {
    QString title;    // as xmms reports it (Latin-1)
    QString file;     // file name or URL
    int position = 0; // 0-based
    int length = 0;   // milliseconds (-1 when xmms does not know it)
    int frequency = 0;
    int rate = 0;
    int channels = 0;
};

class XMMSPlayer : public QObject
{
    Q_OBJECT

public:
    // Reads "MaximumVolume" from ".xmms/config" under the working directory and, when xmms
    // already answers, starts the status poll. Sets xmmsInstance.
    explicit XMMSPlayer(QObject *parent = nullptr, const char *name = nullptr);
    ~XMMSPlayer() override;

    // Process control.
    bool isRunning();
    void launch(); // runs "<appDir>/bin/xmms &" through the shell unless xmms answers
    void kill();   // asks xmms to quit; the adapter counts as not running at once

    // Playback.
    void play();
    void pause(); // xmms toggles: a second pause resumes
    void setPlaylistPos(int position);
    void jumpToTime(int milliseconds);
    int outputTime(); // milliseconds played of the current song
    int songLength(); // milliseconds, of the current song
    int playlistPos();
    bool hasPlaylist();
    QString currentTitle(); // null when xmms has none
    bool isPlaying();       // true while paused, too
    bool isStopped();
    bool isPaused();
    void getInfo(int &rate, int &frequency, int &channels); // untouched when xmms is silent
    bool isShuffle();
    bool isRepeat();
    void setShuffle(bool on);
    void setRepeat(bool on);

    // Volume on the front-end's scale, 0..100.
    int volume();
    void setVolume(int volume);
    void setMaxVolume(int maxVolume); // the xmms volume that stands for 100

    // Equalizer, decibels; arrays are [0] preamp, [1]..[10] bands 0..9.
    void setEqActive(bool on);
    bool isEqActive();
    void setEq(const float values[11]);
    void setEqPreamp(float value);
    void setEqBand(int band, float value);
    float eqPreamp();
    float eqBand(int band);
    void getEq(float values[11]);

    // Playlist.
    void addUrl(const QString &url);
    void addUrls(const QStringList &urls);
    void deleteEntry(int position);
    void clearPlaylist();
    void refreshList();
    void refreshEntryInfo(int position);     // ignored for a position that is not cached
    PlaylistEntry entry(int position) const; // an empty entry for one that is not cached
    int listCount();
    QString totalTimeString() const; // "m:ss", or "h:mm:ss" above one hour
    static QString formatTotalTime(unsigned int seconds);

public slots:
    void back();
    void forward();
    void stop();
    void fileOpen();
    void updateStatus();

signals:
    void hideYourself();
    void showYourself();
    void playlistShown();
    void playlistHidden();
    void equalizerShown();
    void equalizerHidden();
    void shuffleChange(bool);
    void repeatChange(bool);
    void newSong();
    void timeout();
    void playing();
    void paused();
    void stopped();

protected:
    void timerEvent(QTimerEvent *event) override;

private:
    void startPolling();
    void readToggles();

    bool m_running = false;
    int m_statusTimer = -1;
    int m_secondTimer = -1;
    bool m_shuffle = false;
    bool m_repeat = false;
    bool m_playing = false;
    bool m_paused = false;
    int m_maxVolume = 65;
    QMap<int, PlaylistEntry> m_list;
    unsigned int m_totalSeconds = 0;
};

// The one adapter of the process, set by its constructor; null again once it is deleted
// (check before use: in mplayer mode there is none).
extern XMMSPlayer *xmmsInstance;
