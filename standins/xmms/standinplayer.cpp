#include "standins/xmms/standinplayer.h"

#include "audio/xmmsprotocol.h"
#include "dropin/kconfig.h"
#include "standins/xmms/lengthprobe.h"
#include "standins/xmms/mplayerlaunch.h"
#include "standins/xmms/playlistsource.h"

#include <QDir>
#include <QProcess>
#include <QRandomGenerator>
#include <QTimer>
#include <algorithm>
#include <cmath>
#include <csignal>
#include <cstring>
#include <sys/prctl.h>

namespace
{

constexpr int PositionPollMs = 250;
constexpr qsizetype MaxOutputLine = 64 * 1024; // mplayer printing garbage without line feeds
constexpr float EqLimit = 20.0f;               // xmms's slider range, decibels
constexpr float MplayerEqLimit = 12.0f;        // mplayer's equalizer filter range
// A length query for an entry the background probe has not reached waits this long for it,
// inside the client's one-second answer budget.
constexpr int OnDemandProbeMs = 700;

const QString ConfigFile = QStringLiteral("/.xmms/config");
const QString PlaylistFile = QStringLiteral("/.xmms/xmms.m3u");

template <typename T> QByteArray encode(T value)
{
    static_assert(sizeof(T) == 4);
    return QByteArray(reinterpret_cast<const char *>(&value), 4);
}

// The index-th 4-byte field of a payload; false when the payload is too short.
template <typename T> bool field(const QByteArray &payload, int index, T &value)
{
    const QByteArrayView bytes(payload);
    if (index < 0 || bytes.size() < (index + 1) * 4)
        return false;
    std::memcpy(&value, bytes.data() + index * 4, 4);
    return true;
}

ControlReply ack()
{
    return {};
}

ControlReply value(const QByteArray &data)
{
    return {true, data};
}

ControlReply intValue(int v)
{
    return value(encode(v));
}

ControlReply boolValue(bool v)
{
    return intValue(v ? 1 : 0);
}

// NaN and out-of-range values from a client become something the sliders can hold.
float eqValue(float v)
{
    return std::isfinite(v) ? std::clamp(v, -EqLimit, EqLimit) : 0.0f;
}

float readFloat(const KConfig &config, const QString &key)
{
    bool ok = false;
    const float v = config.readEntry(key).trimmed().toFloat(&ok);
    return ok ? eqValue(v) : 0.0f;
}

QString floatText(float v)
{
    return QString::number(double(v), 'g', 6);
}

QString bandKey(int band)
{
    return QStringLiteral("equalizer_band%1").arg(band);
}

} // namespace

StandinPlayer::StandinPlayer(QObject *parent)
    : QObject(parent), m_positionPoll(new QTimer(this)), m_probe(new LengthProbe(this))
{
    m_positionPoll->setInterval(PositionPollMs);
    connect(m_positionPoll, &QTimer::timeout, this,
            [this] { send("pausing_keep_force get_time_pos"); });
    connect(m_probe, &LengthProbe::lengthFound, this, &StandinPlayer::lengthFound);
}

StandinPlayer::~StandinPlayer()
{
    shutdown();
}

void StandinPlayer::loadState()
{
    const QString dir = QDir::currentPath();
    {
        KConfig config(dir + ConfigFile, true);
        config.setGroup(QStringLiteral("xmms"));
        m_shuffle = config.readBoolEntry(QStringLiteral("shuffle"), false);
        m_repeat = config.readBoolEntry(QStringLiteral("repeat"), false);
        m_eqActive = config.readBoolEntry(QStringLiteral("equalizer_active"), false);
        m_preamp = readFloat(config, QStringLiteral("equalizer_preamp"));
        for (int band = 0; band < 10; ++band)
            m_bands[band] = readFloat(config, bandKey(band));
        config.setGroup(QStringLiteral("OSS"));
        m_left = std::clamp(config.readNumEntry(QStringLiteral("volume_left"), 100), 0, 100);
        m_right = std::clamp(config.readNumEntry(QStringLiteral("volume_right"), 100), 0, 100);
    }
    insertEntries(0, PlaylistSource::readM3u(QFile::encodeName(dir + PlaylistFile)));
}

void StandinPlayer::saveState() const
{
    KConfig config(QDir::currentPath() + ConfigFile);
    config.setGroup(QStringLiteral("xmms"));
    config.writeEntry(QStringLiteral("shuffle"), m_shuffle);
    config.writeEntry(QStringLiteral("repeat"), m_repeat);
    config.writeEntry(QStringLiteral("equalizer_active"), m_eqActive);
    config.writeEntry(QStringLiteral("equalizer_preamp"), floatText(m_preamp));
    for (int band = 0; band < 10; ++band)
        config.writeEntry(bandKey(band), floatText(m_bands[band]));
    config.setGroup(QStringLiteral("OSS"));
    config.writeEntry(QStringLiteral("volume_left"), m_left);
    config.writeEntry(QStringLiteral("volume_right"), m_right);
}

void StandinPlayer::shutdown()
{
    m_probe->clear();
    stopPlayback();
    // Songs being let go of still run; none may outlive the stand-in.
    const auto processes = findChildren<QProcess *>();
    for (QProcess *process : processes) {
        process->kill();
        process->waitForFinished(1000);
    }
}

ControlReply StandinPlayer::handle(uint16_t command, const QByteArray &payload)
{
    using Handler = ControlReply (StandinPlayer::*)(const QByteArray &);
    struct Row {
        uint16_t command;
        Handler handler;
    };
    namespace P = XmmsProtocol;
    static constexpr Row table[] = {
        {P::GetVersion, &StandinPlayer::version},
        {P::PlaylistAdd, &StandinPlayer::addList},
        {P::Play, &StandinPlayer::play},
        {P::Pause, &StandinPlayer::pause},
        {P::Stop, &StandinPlayer::stop},
        {P::IsPlaying, &StandinPlayer::isPlaying},
        {P::IsPaused, &StandinPlayer::isPaused},
        {P::GetPlaylistPos, &StandinPlayer::position},
        {P::SetPlaylistPos, &StandinPlayer::setPosition},
        {P::GetPlaylistLength, &StandinPlayer::length},
        {P::PlaylistClear, &StandinPlayer::clear},
        {P::GetOutputTime, &StandinPlayer::outputTime},
        {P::JumpToTime, &StandinPlayer::jumpToTime},
        {P::GetVolume, &StandinPlayer::getVolume},
        {P::SetVolume, &StandinPlayer::setVolume},
        {P::GetPlaylistFile, &StandinPlayer::fileName},
        {P::GetPlaylistTitle, &StandinPlayer::title},
        {P::GetPlaylistTime, &StandinPlayer::entryTime},
        {P::GetInfo, &StandinPlayer::info},
        {P::PlaylistPrev, &StandinPlayer::previous},
        {P::PlaylistNext, &StandinPlayer::next},
        {P::Ping, &StandinPlayer::ping},
        {P::GetBalance, &StandinPlayer::balance},
        {P::ToggleRepeat, &StandinPlayer::toggleRepeat},
        {P::ToggleShuffle, &StandinPlayer::toggleShuffle},
        {P::PlaylistAddUrlString, &StandinPlayer::addUrlString},
        {P::PlaylistDelete, &StandinPlayer::deleteEntry},
        {P::IsRepeat, &StandinPlayer::isRepeat},
        {P::IsShuffle, &StandinPlayer::isShuffle},
        {P::GetEq, &StandinPlayer::getEq},
        {P::GetEqPreamp, &StandinPlayer::getEqPreamp},
        {P::GetEqBand, &StandinPlayer::getEqBand},
        {P::SetEq, &StandinPlayer::setEq},
        {P::SetEqPreamp, &StandinPlayer::setEqPreamp},
        {P::SetEqBand, &StandinPlayer::setEqBand},
        {P::Quit, &StandinPlayer::quit},
        {P::PlaylistInsUrlString, &StandinPlayer::insertUrlString},
        {P::PlayPause, &StandinPlayer::playPause},
        {P::IsEqActive, &StandinPlayer::isEqActive},
        {P::ToggleEqActive, &StandinPlayer::toggleEqActive},
    };
    for (const Row &row : table) {
        if (row.command == command)
            return (this->*row.handler)(payload);
    }
    return ack(); // unknown commands get the bare ack, as xmms 1.2.x gives them
}

// ---- commands ---------------------------------------------------------------------------

ControlReply StandinPlayer::version(const QByteArray &)
{
    return intValue(XmmsProtocol::ServerVersion);
}

ControlReply StandinPlayer::addList(const QByteArray &payload)
{
    QList<QByteArray> paths;
    for (const QByteArray &text : PlaylistSource::addRequestTexts(payload))
        paths += PlaylistSource::expand(text);
    insertEntries(int(m_entries.size()), paths);
    return ack();
}

ControlReply StandinPlayer::play(const QByteArray &)
{
    if (m_mode == Mode::Paused)
        togglePause();
    else if (!m_entries.isEmpty())
        startCurrent();
    return ack();
}

ControlReply StandinPlayer::pause(const QByteArray &)
{
    if (m_mode != Mode::Stopped)
        togglePause();
    return ack();
}

ControlReply StandinPlayer::playPause(const QByteArray &payload)
{
    return m_mode == Mode::Playing ? pause(payload) : play(payload);
}

ControlReply StandinPlayer::stop(const QByteArray &)
{
    stopPlayback();
    return ack();
}

ControlReply StandinPlayer::isPlaying(const QByteArray &)
{
    return boolValue(m_mode != Mode::Stopped);
}

ControlReply StandinPlayer::isPaused(const QByteArray &)
{
    return boolValue(m_mode == Mode::Paused);
}

ControlReply StandinPlayer::position(const QByteArray &)
{
    return intValue(m_entries.isEmpty() ? 0 : m_position);
}

ControlReply StandinPlayer::setPosition(const QByteArray &payload)
{
    uint32_t position = 0;
    // Compared unsigned, so a negative position is out of range like xmms has it.
    if (field(payload, 0, position) && position < uint32_t(m_entries.size())) {
        m_position = int(position);
        if (m_mode != Mode::Stopped)
            startCurrent();
    }
    return ack();
}

ControlReply StandinPlayer::length(const QByteArray &)
{
    return intValue(int(m_entries.size()));
}

ControlReply StandinPlayer::clear(const QByteArray &)
{
    stopPlayback();
    m_probe->clear();
    m_entries.clear();
    m_order.clear();
    m_position = 0;
    return ack();
}

ControlReply StandinPlayer::outputTime(const QByteArray &)
{
    return intValue(currentOutputTime());
}

ControlReply StandinPlayer::jumpToTime(const QByteArray &payload)
{
    uint32_t ms = 0;
    if (!field(payload, 0, ms) || m_mode == Mode::Stopped || m_entries.isEmpty())
        return ack();
    const int songLength = m_entries[m_position].length;
    if (songLength <= 0 || ms >= uint32_t(songLength))
        return ack();
    const uint32_t seconds = ms / 1000;
    send("pausing_keep seek " + QByteArray::number(seconds) + " 2");
    m_reportedMs = int(seconds * 1000);
    m_sinceReport.restart();
    return ack();
}

ControlReply StandinPlayer::getVolume(const QByteArray &)
{
    return value(encode(m_left) + encode(m_right));
}

ControlReply StandinPlayer::setVolume(const QByteArray &payload)
{
    uint32_t left = 0;
    uint32_t right = 0;
    if (field(payload, 0, left) && field(payload, 1, right)) {
        m_left = int(std::min<uint32_t>(left, 100));
        m_right = int(std::min<uint32_t>(right, 100));
        applyVolume();
    }
    return ack();
}

ControlReply StandinPlayer::fileName(const QByteArray &payload)
{
    uint32_t position = 0;
    if (!field(payload, 0, position) || position >= uint32_t(m_entries.size()))
        return value(QByteArray());
    return value(m_entries[int(position)].path + '\0');
}

ControlReply StandinPlayer::title(const QByteArray &payload)
{
    uint32_t position = 0;
    if (!field(payload, 0, position) || position >= uint32_t(m_entries.size()))
        return value(QByteArray());
    return value(m_entries[int(position)].title + '\0');
}

ControlReply StandinPlayer::entryTime(const QByteArray &payload)
{
    uint32_t position = 0;
    if (!field(payload, 0, position) || position >= uint32_t(m_entries.size()))
        return intValue(-1);
    Entry &entry = m_entries[int(position)];
    if (entry.length <= 0 && !entry.asked && !entry.path.contains("://")) {
        const QByteArray path = entry.path;
        for (Entry &same : m_entries)
            same.asked |= same.path == path;
        m_probe->probeNow(path, OnDemandProbeMs);
    }
    return intValue(m_entries[int(position)].length);
}

ControlReply StandinPlayer::info(const QByteArray &)
{
    return value(encode(m_rate) + encode(m_frequency) + encode(m_channels));
}

ControlReply StandinPlayer::previous(const QByteArray &)
{
    const int to = following(false);
    if (to >= 0) {
        m_position = to;
        if (m_mode != Mode::Stopped)
            startCurrent();
    }
    return ack();
}

ControlReply StandinPlayer::next(const QByteArray &)
{
    const int to = following(true);
    if (to >= 0) {
        m_position = to;
        if (m_mode != Mode::Stopped)
            startCurrent();
    }
    return ack();
}

ControlReply StandinPlayer::ping(const QByteArray &)
{
    return ack();
}

ControlReply StandinPlayer::balance(const QByteArray &)
{
    // As xmms computes it: unsigned integer arithmetic, truncating.
    const unsigned l = unsigned(m_left);
    const unsigned r = unsigned(m_right);
    int b = 0;
    if (l > r)
        b = -100 + int((r * 100) / l);
    else if (r > l)
        b = 100 - int((l * 100) / r);
    return intValue(b);
}

ControlReply StandinPlayer::toggleRepeat(const QByteArray &)
{
    m_repeat = !m_repeat;
    return ack();
}

ControlReply StandinPlayer::toggleShuffle(const QByteArray &)
{
    m_shuffle = !m_shuffle;
    reshuffle();
    return ack();
}

ControlReply StandinPlayer::addUrlString(const QByteArray &payload)
{
    QByteArray text = payload;
    const qsizetype nul = text.indexOf('\0');
    if (nul >= 0)
        text.truncate(nul);
    insertEntries(int(m_entries.size()), PlaylistSource::expand(text));
    return ack();
}

ControlReply StandinPlayer::insertUrlString(const QByteArray &payload)
{
    uint32_t position = 0;
    if (!field(payload, 0, position))
        return ack();
    QByteArray text = payload.mid(4);
    const qsizetype nul = text.indexOf('\0');
    if (nul >= 0)
        text.truncate(nul);
    const int at = int(std::min<uint32_t>(position, uint32_t(m_entries.size())));
    insertEntries(at, PlaylistSource::expand(text));
    return ack();
}

ControlReply StandinPlayer::deleteEntry(const QByteArray &payload)
{
    uint32_t position = 0;
    if (!field(payload, 0, position) || position >= uint32_t(m_entries.size()))
        return ack();
    const int at = int(position);
    if (at == m_position && m_mode != Mode::Stopped)
        stopPlayback();
    m_entries.removeAt(at);
    if (at < m_position)
        --m_position;
    m_position = std::clamp(m_position, 0, std::max(0, int(m_entries.size()) - 1));
    reshuffle();
    return ack();
}

ControlReply StandinPlayer::isRepeat(const QByteArray &)
{
    return boolValue(m_repeat);
}

ControlReply StandinPlayer::isShuffle(const QByteArray &)
{
    return boolValue(m_shuffle);
}

ControlReply StandinPlayer::getEq(const QByteArray &)
{
    QByteArray data = encode(m_preamp);
    for (float band : m_bands)
        data += encode(band);
    return value(data);
}

ControlReply StandinPlayer::getEqPreamp(const QByteArray &)
{
    return value(encode(m_preamp));
}

ControlReply StandinPlayer::getEqBand(const QByteArray &payload)
{
    uint32_t band = 0;
    if (!field(payload, 0, band) || band > 9)
        return value(encode(0.0f));
    return value(encode(m_bands[band]));
}

ControlReply StandinPlayer::setEq(const QByteArray &payload)
{
    if (payload.size() < 44)
        return ack();
    float v = 0.0f;
    field(payload, 0, v);
    m_preamp = eqValue(v);
    for (int band = 0; band < 10; ++band) {
        field(payload, band + 1, v);
        m_bands[band] = eqValue(v);
    }
    applyEqualizer();
    return ack();
}

ControlReply StandinPlayer::setEqPreamp(const QByteArray &payload)
{
    float v = 0.0f;
    if (field(payload, 0, v)) {
        m_preamp = eqValue(v);
        applyEqualizer();
    }
    return ack();
}

ControlReply StandinPlayer::setEqBand(const QByteArray &payload)
{
    uint32_t band = 0;
    float v = 0.0f;
    if (field(payload, 0, band) && field(payload, 1, v) && band <= 9) {
        m_bands[band] = eqValue(v);
        applyEqualizer();
    }
    return ack();
}

ControlReply StandinPlayer::quit(const QByteArray &)
{
    // After the ack: the client is waiting for it.
    QTimer::singleShot(0, this, &StandinPlayer::quitRequested);
    return ack();
}

ControlReply StandinPlayer::isEqActive(const QByteArray &)
{
    return boolValue(m_eqActive);
}

ControlReply StandinPlayer::toggleEqActive(const QByteArray &)
{
    m_eqActive = !m_eqActive;
    applyEqualizer();
    return ack();
}

// ---- playlist ---------------------------------------------------------------------------

void StandinPlayer::insertEntries(int at, const QList<QByteArray> &paths)
{
    if (paths.isEmpty())
        return;
    const bool wasEmpty = m_entries.isEmpty();
    QList<Entry> added;
    for (const QByteArray &path : paths) {
        added.append({path, PlaylistSource::titleOf(path), -1, false});
        if (!path.contains("://"))
            m_probe->enqueue(path);
    }
    for (int i = 0; i < added.size(); ++i)
        m_entries.insert(at + i, added[i]);
    if (!wasEmpty && at <= m_position)
        m_position += int(added.size());
    reshuffle();
}

void StandinPlayer::lengthFound(const QByteArray &path, int milliseconds)
{
    for (Entry &entry : m_entries) {
        if (entry.path == path && entry.length <= 0)
            entry.length = milliseconds;
    }
}

void StandinPlayer::reshuffle()
{
    m_order.clear();
    if (!m_shuffle)
        return;
    for (int i = 0; i < m_entries.size(); ++i)
        m_order.append(i);
    std::shuffle(m_order.begin(), m_order.end(), *QRandomGenerator::global());
    // The current song opens the order, so every other one comes before any repeats.
    const qsizetype current = m_order.indexOf(m_position);
    if (current > 0)
        m_order.move(current, 0);
}

int StandinPlayer::following(bool forward) const
{
    const int count = int(m_entries.size());
    if (count == 0)
        return -1;
    if (m_shuffle && m_order.size() == count) {
        const int at = int(m_order.indexOf(m_position));
        const int to = at + (forward ? 1 : -1);
        if (to >= 0 && to < count)
            return m_order[to];
        if (!m_repeat)
            return -1;
        return m_order[forward ? 0 : count - 1];
    }
    const int to = m_position + (forward ? 1 : -1);
    if (to >= 0 && to < count)
        return to;
    if (!m_repeat)
        return -1;
    return forward ? 0 : count - 1;
}

// ---- playback ---------------------------------------------------------------------------

void StandinPlayer::startCurrent()
{
    releaseMplayer();
    if (m_entries.isEmpty()) {
        stopPlayback();
        return;
    }
    m_position = std::clamp(m_position, 0, int(m_entries.size()) - 1);
    const Entry &entry = m_entries[m_position];

    m_mplayer = new QProcess(this);
    m_mplayer->setProcessChannelMode(QProcess::MergedChannels);
    // mplayer must not outlive us when we are killed outright, even if it ignores SIGTERM.
    m_mplayer->setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGKILL); });
    connect(m_mplayer, &QProcess::readyRead, this, &StandinPlayer::readMplayer);
    connect(m_mplayer, &QProcess::finished, this, &StandinPlayer::mplayerEnded);
    connect(m_mplayer, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart)
            mplayerEnded();
    });
    QStringList arguments = MplayerLaunch::commonArguments();
    arguments << QStringLiteral("-softvol") << QStringLiteral("-volume")
              << QString::number(std::max(m_left, m_right)) << QStringLiteral("-af")
              << QStringLiteral("equalizer=") + equalizerGains() << QStringLiteral("--")
              << MplayerLaunch::pathArgument(entry.path);

    m_mode = Mode::Playing;
    m_started = false;
    m_output.clear();
    m_rate = m_frequency = m_channels = 0;
    m_pendingRate = m_pendingFrequency = m_pendingChannels = 0;
    m_reportedMs = 0;
    m_sinceReport.restart();
    m_mplayer->start(MplayerLaunch::program(), arguments);
    m_positionPoll->start();
}

void StandinPlayer::releaseMplayer()
{
    m_positionPoll->stop();
    if (!m_mplayer)
        return;
    QProcess *old = m_mplayer;
    m_mplayer = nullptr;
    old->disconnect(this);
    if (old->state() == QProcess::NotRunning) {
        old->deleteLater();
        return;
    }
    old->write("quit\n");
    // Give it a moment to go by itself, then make sure.
    QTimer::singleShot(500, old, [old] { old->kill(); });
    connect(old, &QProcess::finished, old, &QObject::deleteLater);
}

void StandinPlayer::stopPlayback()
{
    releaseMplayer();
    m_mode = Mode::Stopped;
    m_started = false;
    m_rate = m_frequency = m_channels = 0;
    m_reportedMs = 0;
}

void StandinPlayer::togglePause()
{
    if (m_mode == Mode::Playing) {
        m_reportedMs = currentOutputTime();
        m_mode = Mode::Paused;
        m_positionPoll->stop();
        send("pause");
    } else if (m_mode == Mode::Paused) {
        m_mode = Mode::Playing;
        m_sinceReport.restart();
        m_positionPoll->start();
        send("pause");
    }
}

int StandinPlayer::currentOutputTime() const
{
    if (m_mode == Mode::Stopped || !m_started)
        return 0;
    qint64 ms = m_reportedMs;
    if (m_mode == Mode::Playing)
        ms += m_sinceReport.elapsed();
    const int songLength = m_entries.isEmpty() ? -1 : m_entries[m_position].length;
    if (songLength > 0)
        ms = std::min<qint64>(ms, songLength);
    return int(std::max<qint64>(0, ms));
}

void StandinPlayer::send(const QByteArray &line)
{
    if (m_mplayer && m_mplayer->state() != QProcess::NotRunning)
        m_mplayer->write(line + '\n');
}

QString StandinPlayer::equalizerGains() const
{
    // The preamp is folded into every band: mplayer's filter has no gain of its own.
    QStringList gains;
    for (float band : m_bands) {
        const float gain =
            m_eqActive ? std::clamp(band + m_preamp, -MplayerEqLimit, MplayerEqLimit) : 0.0f;
        gains << QString::number(double(gain), 'f', 1);
    }
    return gains.join(QLatin1Char(':'));
}

void StandinPlayer::applyEqualizer()
{
    send("pausing_keep_force af_cmdline equalizer " + equalizerGains().toLatin1());
}

void StandinPlayer::applyVolume()
{
    send("pausing_keep_force volume " + QByteArray::number(std::max(m_left, m_right)) + " 1");
}

void StandinPlayer::readMplayer()
{
    if (!m_mplayer)
        return;
    m_output += m_mplayer->readAll();
    qsizetype start = 0;
    for (qsizetype end; (end = m_output.indexOf('\n', start)) >= 0; start = end + 1)
        parseMplayerLine(m_output.mid(start, end - start).trimmed());
    m_output.remove(0, start);
    if (m_output.size() > MaxOutputLine)
        m_output.clear();
}

void StandinPlayer::parseMplayerLine(const QByteArray &line)
{
    const auto number = [&line](const char *key, double &v) {
        if (!line.startsWith(key))
            return false;
        bool ok = false;
        v = line.mid(qsizetype(std::strlen(key))).toDouble(&ok);
        return ok && std::isfinite(v) && std::fabs(v) < 1e9;
    };
    double v = 0;
    if (line.startsWith("Starting playback")) {
        // The decoder's figures came last and replace the demuxer's first guesses.
        m_rate = m_pendingRate;
        m_frequency = m_pendingFrequency;
        m_channels = m_pendingChannels;
        m_started = true;
        m_failuresInRow = 0;
        m_reportedMs = 0;
        m_sinceReport.restart();
    } else if (number("ANS_TIME_POSITION=", v)) {
        if (m_mode == Mode::Playing) {
            m_reportedMs = std::max(0, int(v * 1000));
            m_sinceReport.restart();
        }
    } else if (number("ID_AUDIO_BITRATE=", v)) {
        m_pendingRate = int(v);
    } else if (number("ID_AUDIO_RATE=", v)) {
        m_pendingFrequency = int(v);
    } else if (number("ID_AUDIO_NCH=", v)) {
        m_pendingChannels = int(v);
    } else if (number("ID_LENGTH=", v) && v > 0 && !m_entries.isEmpty()) {
        m_entries[m_position].length = int(std::lround(v * 1000));
    }
}

void StandinPlayer::mplayerEnded()
{
    if (!m_mplayer || sender() != m_mplayer)
        return;
    readMplayer();
    const bool played = m_started;
    releaseMplayer();
    // Entries that do not play are skipped, but a list of only such entries must not spin.
    m_failuresInRow = played ? 0 : m_failuresInRow + 1;
    const int to = following(true);
    if (to < 0 || m_failuresInRow >= m_entries.size()) {
        m_failuresInRow = 0;
        stopPlayback();
        return;
    }
    m_position = to;
    startCurrent();
}
