#include "audio/xmmsplayer.h"

#include "audio/xmmsctrl.h"
#include "dropin/kconfig.h"
#include "dropin/settingsnames.h"
#include "platform/logging.h"

#include <QAbstractEventDispatcher>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTimerEvent>
#include <algorithm>
#include <cstdlib>
#include <glib.h>
#include <unistd.h>

XMMSPlayer *xmmsInstance = nullptr;

namespace
{

constexpr gint Session = 0;
constexpr int StatusPollMs = 500;
constexpr int SecondMs = 1000;
constexpr int DefaultMaxVolume = 65;
constexpr int LaunchWaitMs = 1000;

// Blocks the adapter's signals for one operation and always unblocks them afterwards,
// whatever the state before.
class SignalBlock
{
public:
    explicit SignalBlock(QObject *object) : m_object(object) { m_object->blockSignals(true); }
    ~SignalBlock() { m_object->blockSignals(false); }
    SignalBlock(const SignalBlock &) = delete;
    SignalBlock &operator=(const SignalBlock &) = delete;

private:
    QObject *m_object;
};

// The folder's name reaches the shell as one word, whatever quotes, blanks or "$()" it holds.
QByteArray shellQuoted(const QByteArray &text)
{
    QByteArray quoted = text;
    quoted.replace('\'', "'\\''");
    return '\'' + quoted + '\'';
}

} // namespace

XMMSPlayer::XMMSPlayer(QObject *parent, const char *name) : QObject(parent)
{
    if (name)
        setObjectName(QString::fromLatin1(name));
    qCDebug(lcAudio) << "XMMSPlayer: created xmmsplayer interface";
    xmmsInstance = this;
    // Each pass of the event loop may spend the exchange bound once, in all its calls.
    if (QAbstractEventDispatcher *loop = QAbstractEventDispatcher::instance(thread()))
        connect(loop, &QAbstractEventDispatcher::aboutToBlock, this,
                [] { xmms_remote_begin_pass(); });

    {
        KConfig config(settings::playerFile(QDir::currentPath()), true);
        config.setGroup(settings::kWinskin);
        const int maxVolume = config.readNumEntry(settings::kMaximumVolume, DefaultMaxVolume);
        // The volume conversion divides by it: a broken value falls back to the default.
        if (maxVolume > 0)
            m_maxVolume = maxVolume;
        else
            qCWarning(lcAudio) << "XMMSPlayer: MaximumVolume" << maxVolume << "ignored, using"
                               << DefaultMaxVolume;
    }

    if (isRunning()) {
        startPolling();
        readToggles();
    }
}

XMMSPlayer::~XMMSPlayer()
{
    qCDebug(lcAudio) << "XMMSPlayer: deleted xmmsplayer interface";
    m_list.clear();
    // Nobody may reach a deleted adapter through the process-wide pointer.
    if (xmmsInstance == this)
        xmmsInstance = nullptr;
}

bool XMMSPlayer::isRunning()
{
    m_running = xmms_remote_get_version(Session) != 0;
    return m_running;
}

void XMMSPlayer::launch()
{
    // One second in all, but no longer than xmms takes to answer.
    QElapsedTimer clock;
    clock.start();
    if (isRunning())
        return;
    qCDebug(lcAudio) << "XMMSPlayer: launching xmms";
    const QByteArray command =
        shellQuoted(QFile::encodeName(QDir::currentPath()) + "/bin/xmms") + " &";
    if (std::system(command.constData()) == -1)
        qCWarning(lcAudio) << "XMMSPlayer: no shell to start xmms";
    while (!isRunning()) {
        // A hung xmms still holding the socket will not make way within the second.
        if (clock.elapsed() >= LaunchWaitMs || xmms_remote_is_silent(Session))
            return;
        ::usleep(10 * 1000);
    }
    m_running = true;
    startPolling();
    readToggles();
    qCDebug(lcAudio) << "XMMSPlayer: player started";
}

void XMMSPlayer::kill()
{
    qCDebug(lcAudio) << "XMMSPlayer: killing xmms";
    m_running = false;
    if (m_statusTimer != -1)
        killTimer(m_statusTimer);
    if (m_secondTimer != -1)
        killTimer(m_secondTimer);
    m_statusTimer = -1;
    m_secondTimer = -1;
    xmms_remote_quit(Session);
}

void XMMSPlayer::startPolling()
{
    if (m_statusTimer == -1)
        m_statusTimer = startTimer(StatusPollMs);
}

void XMMSPlayer::readToggles()
{
    m_shuffle = xmms_remote_is_shuffle(Session) != 0;
    m_repeat = xmms_remote_is_repeat(Session) != 0;
    m_paused = xmms_remote_is_paused(Session) != 0;
}

void XMMSPlayer::play()
{
    SignalBlock block(this);
    xmms_remote_play(Session);
}

void XMMSPlayer::pause()
{
    SignalBlock block(this);
    xmms_remote_pause(Session);
}

void XMMSPlayer::stop()
{
    SignalBlock block(this);
    xmms_remote_stop(Session);
}

void XMMSPlayer::back()
{
    bool stoppedNow;
    {
        SignalBlock block(this);
        xmms_remote_playlist_prev(Session);
        ::usleep(250);
        stoppedNow = !xmms_remote_is_playing(Session);
    }
    if (stoppedNow)
        emit timeout();
}

void XMMSPlayer::forward()
{
    bool stoppedNow;
    {
        SignalBlock block(this);
        xmms_remote_playlist_next(Session);
        ::usleep(250);
        stoppedNow = !xmms_remote_is_playing(Session);
    }
    if (stoppedNow)
        emit timeout();
}

void XMMSPlayer::fileOpen()
{
    SignalBlock block(this);
}

void XMMSPlayer::setPlaylistPos(int position)
{
    SignalBlock block(this);
    xmms_remote_set_playlist_pos(Session, position);
    if (!xmms_remote_is_playing(Session))
        xmms_remote_play(Session);
}

void XMMSPlayer::jumpToTime(int milliseconds)
{
    SignalBlock block(this);
    xmms_remote_jump_to_time(Session, milliseconds);
}

int XMMSPlayer::outputTime()
{
    SignalBlock block(this);
    return xmms_remote_get_output_time(Session);
}

int XMMSPlayer::songLength()
{
    SignalBlock block(this);
    return xmms_remote_get_playlist_time(Session, xmms_remote_get_playlist_pos(Session));
}

int XMMSPlayer::playlistPos()
{
    SignalBlock block(this);
    return xmms_remote_get_playlist_pos(Session);
}

bool XMMSPlayer::hasPlaylist()
{
    SignalBlock block(this);
    return xmms_remote_get_playlist_length(Session) > 0;
}

QString XMMSPlayer::currentTitle()
{
    SignalBlock block(this);
    gchar *title = xmms_remote_get_playlist_title(Session, xmms_remote_get_playlist_pos(Session));
    if (!title)
        return QString();
    const QString text = QString::fromLatin1(title);
    std::free(title);
    return text;
}

bool XMMSPlayer::isPlaying()
{
    SignalBlock block(this);
    return xmms_remote_is_playing(Session) != 0;
}

bool XMMSPlayer::isStopped()
{
    SignalBlock block(this);
    return xmms_remote_is_playing(Session) == 0;
}

bool XMMSPlayer::isPaused()
{
    SignalBlock block(this);
    return xmms_remote_is_paused(Session) != 0;
}

void XMMSPlayer::getInfo(int &rate, int &frequency, int &channels)
{
    SignalBlock block(this);
    xmms_remote_get_info(Session, &rate, &frequency, &channels);
}

bool XMMSPlayer::isShuffle()
{
    SignalBlock block(this);
    return xmms_remote_is_shuffle(Session) != 0;
}

bool XMMSPlayer::isRepeat()
{
    SignalBlock block(this);
    return xmms_remote_is_repeat(Session) != 0;
}

void XMMSPlayer::setShuffle(bool on)
{
    SignalBlock block(this);
    if (on == (xmms_remote_is_shuffle(Session) != 0))
        return;
    m_shuffle = on;
    xmms_remote_toggle_shuffle(Session);
}

void XMMSPlayer::setRepeat(bool on)
{
    SignalBlock block(this);
    if (on == (xmms_remote_is_repeat(Session) != 0))
        return;
    m_repeat = on;
    xmms_remote_toggle_repeat(Session);
}

int XMMSPlayer::volume()
{
    SignalBlock block(this);
    // In 64 bits: neither a huge MaximumVolume nor a server's garbage may overflow.
    const qint64 shown = qint64(xmms_remote_get_main_volume(Session)) * 100 / m_maxVolume;
    return int(std::clamp<qint64>(shown, 0, 100));
}

void XMMSPlayer::setVolume(int volume)
{
    SignalBlock block(this);
    volume = std::clamp(volume, 0, 100);
    xmms_remote_set_main_volume(Session, int(qint64(volume) * m_maxVolume / 100));
}

void XMMSPlayer::setMaxVolume(int maxVolume)
{
    SignalBlock block(this);
    // Zero or less would divide by zero in volume(); keep the value we have.
    if (maxVolume > 0)
        m_maxVolume = maxVolume;
    else
        qCWarning(lcAudio) << "XMMSPlayer: maximum volume" << maxVolume << "ignored";
}

void XMMSPlayer::setEqActive(bool on)
{
    SignalBlock block(this);
    if (on != (xmms_remote_is_eq_active(Session) != 0))
        xmms_remote_toggle_eq_active(Session);
}

bool XMMSPlayer::isEqActive()
{
    SignalBlock block(this);
    return xmms_remote_is_eq_active(Session) != 0;
}

void XMMSPlayer::setEq(const float values[11])
{
    SignalBlock block(this);
    float bands[10];
    std::copy(values + 1, values + 11, bands);
    xmms_remote_set_eq(Session, values[0], bands);
}

void XMMSPlayer::setEqPreamp(float value)
{
    SignalBlock block(this);
    xmms_remote_set_eq_preamp(Session, value);
}

void XMMSPlayer::setEqBand(int band, float value)
{
    SignalBlock block(this);
    xmms_remote_set_eq_band(Session, band, value);
}

float XMMSPlayer::eqPreamp()
{
    SignalBlock block(this);
    return xmms_remote_get_eq_preamp(Session);
}

float XMMSPlayer::eqBand(int band)
{
    SignalBlock block(this);
    return xmms_remote_get_eq_band(Session, band);
}

void XMMSPlayer::getEq(float values[11])
{
    SignalBlock block(this);
    gfloat preamp = 0.0f;
    gfloat *bands = nullptr;
    xmms_remote_get_eq(Session, &preamp, &bands);
    values[0] = preamp;
    for (int i = 0; i < 10; ++i)
        values[i + 1] = bands ? bands[i] : 0.0f;
    g_free(bands);
}

void XMMSPlayer::addUrl(const QString &url)
{
    SignalBlock block(this);
    QByteArray bytes = url.toLatin1();
    xmms_remote_playlist_add_url_string(Session, bytes.data());
}

void XMMSPlayer::addUrls(const QStringList &urls)
{
    SignalBlock block(this);
    addUrl(urls.join(QStringLiteral("\r\n")));
}

void XMMSPlayer::deleteEntry(int position)
{
    SignalBlock block(this);
    xmms_remote_playlist_delete(Session, position);
}

void XMMSPlayer::clearPlaylist()
{
    SignalBlock block(this);
    xmms_remote_playlist_clear(Session);
}

void XMMSPlayer::refreshList()
{
    SignalBlock block(this);
    m_list.clear();
    if (m_list.size() != 0)
        qCWarning(lcAudio) << "XMMSPlayer: playlist cache not empty after clearing";
    m_totalSeconds = 0;

    const int count = xmms_remote_get_playlist_length(Session);
    for (int i = 0; i < count; ++i) {
        gchar *title = xmms_remote_get_playlist_title(Session, i);
        gchar *file = xmms_remote_get_playlist_file(Session, i);
        PlaylistEntry entry;
        entry.title = QString::fromLatin1(title);
        entry.file = QString::fromLatin1(file);
        entry.position = i;
        entry.length = xmms_remote_get_playlist_time(Session, i);
        m_list.insert(i, entry);
        // Unknown lengths (-1) must not wrap the unsigned sum.
        if (entry.length > 0)
            m_totalSeconds += unsigned(entry.length / 1000);
        g_free(title);
        g_free(file);
    }
}

void XMMSPlayer::refreshEntryInfo(int position)
{
    SignalBlock block(this);
    auto it = m_list.find(position);
    if (it == m_list.end()) {
        qCWarning(lcAudio) << "XMMSPlayer: no cached entry" << position;
        return;
    }
    xmms_remote_get_info(Session, &it->rate, &it->frequency, &it->channels);
}

PlaylistEntry XMMSPlayer::entry(int position) const
{
    return m_list.value(position);
}

int XMMSPlayer::listCount()
{
    SignalBlock block(this);
    return int(m_list.size());
}

QString XMMSPlayer::totalTimeString() const
{
    return formatTotalTime(m_totalSeconds);
}

QString XMMSPlayer::formatTotalTime(unsigned int seconds)
{
    const gulong s = seconds;
    gchar *text = s < 3601 ? g_strdup_printf("%lu:%-2.2lu", s / 60, s % 60)
                           : g_strdup_printf("%lu:%-2.2lu:%-2.2lu", s / 3600,
                                             s / 60 - (s / 3600) * 60, s % 60);
    const QString result = QString::fromLatin1(text);
    g_free(text);
    return result;
}

void XMMSPlayer::timerEvent(QTimerEvent *event)
{
    if (event->timerId() == m_secondTimer)
        emit timeout();
    if (event->timerId() == m_statusTimer)
        updateStatus();
}

void XMMSPlayer::updateStatus()
{
    // The poll exists to raise signals: a caller's block must not swallow them, and the
    // adapter leaves them unblocked like every other operation.
    blockSignals(false);
    if (m_statusTimer != -1)
        killTimer(m_statusTimer);
    m_statusTimer = -1;

    const bool p = xmms_remote_is_paused(Session) != 0;
    if (p != m_paused) {
        if (m_secondTimer != -1)
            killTimer(m_secondTimer);
        m_secondTimer = -1;
        emit paused();
        m_paused = p;
        qCDebug(lcAudio) << "XMMSPlayer: emit paused()";
        if (!m_paused) {
            m_secondTimer = startTimer(SecondMs);
            emit playing();
            m_playing = true;
            qCDebug(lcAudio) << "XMMSPlayer: emit playing()";
        }
    }

    const bool q = xmms_remote_is_playing(Session) != 0;
    if (q != m_playing) {
        if (!m_playing) {
            if (m_secondTimer == -1)
                m_secondTimer = startTimer(SecondMs);
            emit playing();
            m_playing = q;
            qCDebug(lcAudio) << "XMMSPlayer: emit playing()";
        } else {
            if (m_secondTimer != -1)
                killTimer(m_secondTimer);
            m_secondTimer = -1;
            emit stopped();
            m_playing = q;
            qCDebug(lcAudio) << "XMMSPlayer: emit stopped()";
        }
    }

    m_statusTimer = startTimer(StatusPollMs);
}
