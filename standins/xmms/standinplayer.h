// The stand-in's player: the playlist, the options and the equalizer xmms keeps, with each
// entry really played by an mplayer child in slave mode. Answers the control-socket
// commands (handle) at once from its own state; never blocks on mplayer.
#pragma once

#include "standins/xmms/controlserver.h"

#include <QElapsedTimer>
#include <QList>
#include <QObject>

class LengthProbe;
class QProcess;
class QTimer;

class StandinPlayer : public QObject
{
    Q_OBJECT

public:
    explicit StandinPlayer(QObject *parent = nullptr);
    ~StandinPlayer() override;

    // Playlist from ".xmms/xmms.m3u", options from ".xmms/config" (working directory).
    void loadState();
    // Options back into ".xmms/config"; other keys of the file stay as they are.
    void saveState() const;
    // Stops playback for good (before quitting).
    void shutdown();

    ControlReply handle(uint16_t command, const QByteArray &payload);

signals:
    // A client asked xmms to quit; emitted after the answer has gone out.
    void quitRequested();

private:
    struct Entry {
        QByteArray path;
        QByteArray title;
        int length = -1;    // milliseconds, -1 while unknown
        bool asked = false; // a length query has waited for the probe once
    };
    enum class Mode { Stopped, Playing, Paused };

    // Command handlers, one per request kind.
    ControlReply version(const QByteArray &);
    ControlReply addList(const QByteArray &payload);
    ControlReply play(const QByteArray &);
    ControlReply pause(const QByteArray &);
    ControlReply playPause(const QByteArray &);
    ControlReply stop(const QByteArray &);
    ControlReply isPlaying(const QByteArray &);
    ControlReply isPaused(const QByteArray &);
    ControlReply position(const QByteArray &);
    ControlReply setPosition(const QByteArray &payload);
    ControlReply length(const QByteArray &);
    ControlReply clear(const QByteArray &);
    ControlReply outputTime(const QByteArray &);
    ControlReply jumpToTime(const QByteArray &payload);
    ControlReply getVolume(const QByteArray &);
    ControlReply setVolume(const QByteArray &payload);
    ControlReply fileName(const QByteArray &payload);
    ControlReply title(const QByteArray &payload);
    ControlReply entryTime(const QByteArray &payload);
    ControlReply info(const QByteArray &);
    ControlReply previous(const QByteArray &);
    ControlReply next(const QByteArray &);
    ControlReply ping(const QByteArray &);
    ControlReply balance(const QByteArray &);
    ControlReply toggleRepeat(const QByteArray &);
    ControlReply toggleShuffle(const QByteArray &);
    ControlReply addUrlString(const QByteArray &payload);
    ControlReply insertUrlString(const QByteArray &payload);
    ControlReply deleteEntry(const QByteArray &payload);
    ControlReply isRepeat(const QByteArray &);
    ControlReply isShuffle(const QByteArray &);
    ControlReply getEq(const QByteArray &);
    ControlReply getEqPreamp(const QByteArray &);
    ControlReply getEqBand(const QByteArray &payload);
    ControlReply setEq(const QByteArray &payload);
    ControlReply setEqPreamp(const QByteArray &payload);
    ControlReply setEqBand(const QByteArray &payload);
    ControlReply quit(const QByteArray &);
    ControlReply isEqActive(const QByteArray &);
    ControlReply toggleEqActive(const QByteArray &);

    void insertEntries(int at, const QList<QByteArray> &paths);
    void startCurrent();
    void stopPlayback();
    void releaseMplayer();
    void togglePause();
    int currentOutputTime() const;
    int following(bool forward) const; // -1: no entry that way
    void reshuffle();
    void send(const QByteArray &line);
    void applyEqualizer();
    void applyVolume();
    QString equalizerGains() const;
    void readMplayer();
    void parseMplayerLine(const QByteArray &line);
    void mplayerEnded();
    void lengthFound(const QByteArray &path, int milliseconds);

    QList<Entry> m_entries;
    int m_position = 0;
    QList<int> m_order; // play order while shuffling
    Mode m_mode = Mode::Stopped;
    bool m_shuffle = false;
    bool m_repeat = false;
    bool m_eqActive = false;
    float m_preamp = 0.0f;
    float m_bands[10] = {};
    int m_left = 100;
    int m_right = 100;

    QProcess *m_mplayer = nullptr;
    QByteArray m_output; // mplayer's unfinished output line
    bool m_started = false;
    int m_failuresInRow = 0;
    int m_rate = 0;
    int m_frequency = 0;
    int m_channels = 0;
    int m_pendingRate = 0; // stream figures as mplayer announces them, shown once it plays
    int m_pendingFrequency = 0;
    int m_pendingChannels = 0;
    int m_reportedMs = 0;
    QElapsedTimer m_sinceReport;
    QTimer *m_positionPoll = nullptr;
    LengthProbe *m_probe = nullptr;
};
