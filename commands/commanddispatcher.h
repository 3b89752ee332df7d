// The main window's command layer: every skin button and most keys end in buttonClick(code),
// which acts on the xmms adapter (xmms mode) or the mplayer engine (mplayer mode). Also the
// once-a-second status poll and its per-second display update, starting playlist entries,
// the equalizer link to xmms, and the song's lyrics (lookup, line table, panel position).
// Window-level actions (closing, menus, dialogs' parent) go through the signals and the
// parent widget given at construction.
#pragma once

#include "lyrics/lyricpanel.h"
#include "lyrics/lyrictable.h"
#include "skin/command.h"

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QRect>
#include <QString>
#include <QStringList>

class Engine;
class KConfig;
class QPainter;
class QWidget;
class Skin;
class SkinPainter;
struct OrbalState;
class XMMSPlayer;

class CommandDispatcher : public QObject
{
    Q_OBJECT
public:
    CommandDispatcher(const Skin &skin, SkinPainter &painter, OrbalState &state, QWidget *window,
                      const QString &appDir);

    void setXmms(XMMSPlayer *xmms);
    XMMSPlayer *xmms() const;
    void setEngine(Engine *engine);
    Engine *engine() const;

    // The name filter of the "open" browser.
    static const char *const kOpenFilter;

    // Plays entry i of the media list through the engine (mplayer mode).
    void startEntry(int index);
    // The player now plays entry i: highlight, title, lyrics, thumb, indicator and play button.
    void entryStarted(int index);
    // Title "<i+1>.<file name>" and the entry's lyrics.
    void announceEntry(int index);
    // The indicator, the play button and the flags for 0 playing, 1 paused, 2 stopped.
    void showPlayState(int state);
    // Tells a freshly started xmms what the window shows: volume, shuffle, repeat and the
    // equalizer switch; the sliders take xmms's own bands.
    void syncXmms();
    // mplayer began playing the current entry (its clock starts).
    void playbackBegan();
    // The engine's child ended by itself: starts the next entry, unless a whole pass of the
    // list ended without anything heard, which stops and tells the user why.
    void entryEnded();
    // Moves the playlist thumb so that row i shows (vertical form, playlist panel open).
    void thumbFollow(int row);
    // Sends the front-end volume to the player in use.
    void sendVolume();
    // Seeks the song in use to `percent` of its length / to `seconds` (A-B repeat).
    void seekToPercent(int percent);
    void jumpToSecond(int seconds);
    // Sends the panel's equalizer values to xmms: slot 0-9 one band, 10 or more the preamp,
    // -1 all bands; redraws the curve first.
    void applyEq(int slot);

    // Lyrics of the current song.
    void lookupLyrics(const QString &songPath);
    void seekLyrics(int seconds);
    // Draws the lyric panel of the current form; the rectangle drawn (empty: nothing).
    QRect drawLyrics(QPainter &window);
    // Repeats the lyric line being sung (A-B from its start to the next line's start).
    void repeatLyricLine();
    const LyricTable &lyricTable() const { return m_lyrics; }
    const LyricPanel &lyricPanel() const { return m_panel; }
    int lyricLead() const { return m_lead; }

    void buttonClick(Command code);

public slots:
    // The design's numeric form; codes that name no command do nothing.
    void buttonClick(int code);
    void doCheckTimer();
    // seconds elapsed, bit rate, frequency, percent of the song, length in seconds.
    void drawTimer(int seconds, unsigned int rate, unsigned int frequency, int percent, int length);
    // The playlist editor asked to play its row `row`.
    void playlistSlot(int row);
    void plistPOSClick(int row);
    void equalizerChangeSlot();

signals:
    void exitRequested();
    // Fill the playlist menu with the saved lists and pop it up.
    void playlistMenuRequested(const QStringList &names, const QPoint &pos);
    // The media list was replaced (directory scan).
    void playlistReplaced();
    void lyricsChanged(QRect area);
    // The entry, the play state or the volume may have changed (also after every poll).
    void stateChanged();
    // Playback was moved to this point of the song (milliseconds).
    void positionJumped(qint64 milliseconds);

private:
    using Handler = void (CommandDispatcher::*)();
    struct Row {
        Command code;
        Handler xmms;    // null: nothing in xmms mode
        Handler mplayer; // null: nothing in mplayer mode
    };
    static const Row kCommands[];

    bool xmmsPlaying();
    // 0 playing, 1 paused, 2 stopped, as xmms says / as the flags say.
    int xmmsState();
    int flagState() const;
    // The status poll's work: the window follows what the player does by itself.
    void poll();
    // xmms moved to another entry: the window follows it.
    void followXmms();
    QString entryTitle(int index) const;
    void prevXmms();
    void prevMplayer();
    void playXmms();
    void playMplayer();
    void pauseXmms();
    void pauseMplayer();
    void stopXmms();
    void stopMplayer();
    void nextXmms();
    void nextMplayer();
    void openFiles();
    void shuffleXmms();
    void repeatXmms();
    void equalizerXmms();
    void presets();
    void save3d();
    void saveBass();
    void saveTextCodec();
    void saveShowLyric();
    void exitProgram();
    void playlistMenu();
    bool engineRunning();
    QString appPath(const char *tail) const;

    const Skin &m_skin;
    SkinPainter &m_painter;
    OrbalState &m_state;
    QWidget *m_window;
    QString m_appDir;
    QPointer<XMMSPlayer> m_xmms;
    QPointer<Engine> m_engine;
    KConfig *m_config = nullptr;   // ".xmms/config" during one buttonClick
    KConfig *m_frontEnd = nullptr; // ".xmms/tavrin_cfg" during one buttonClick
    LyricTable m_lyrics;
    LyricPanel m_panel;
    int m_lead = 1;
    bool m_abTitleShown = false; // the title shows the A-B marks
    // Entries in a row that ended without a second of playback, and whether any of them
    // found no sound output.
    int m_unheard = 0;
    bool m_unheardNoSound = false;
    QElapsedTimer m_playingSince;
};
