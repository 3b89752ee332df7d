#include "app/mprisplayer.h"

#include "app/mprisplayeradaptor.h"
#include "app/mprisrootadaptor.h"
#include "audio/xmmsplayer.h"
#include "commands/commanddispatcher.h"
#include "platform/logging.h"
#include "platform/pathcodec.h"
#include "skin/pointerinput.h"
#include "state/orbalstate.h"
#include "video/engine.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QFileInfo>
#include <QTimer>
#include <QUrl>
#include <cmath>
#include <limits>
#include <utility>

const char *const MprisPlayer::kService = "org.mpris.MediaPlayer2.orbal";
const char *const MprisPlayer::kPath = "/org/mpris/MediaPlayer2";

namespace
{

constexpr qint64 kMicro = 1000000;
const QString kPlayerInterface = QStringLiteral("org.mpris.MediaPlayer2.Player");

// A bus named in the environment or at the usual per-user place. libdbus would otherwise
// autolaunch a bus daemon of its own, which nobody stops again.
bool sessionBusAround()
{
    if (!qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS"))
        return true;
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    return !runtime.isEmpty() && QFileInfo::exists(runtime + QStringLiteral("/bus"));
}

bool currentEntryValid(const OrbalState &s)
{
    return s.currentIndex >= 0 && s.currentIndex < s.fileList.size();
}

QString trackId(int index)
{
    return QStringLiteral("/org/orbal/track/%1").arg(index);
}

// Something plays or is paused: the commands that need a running player act.
bool active(const OrbalState &s)
{
    return s.playingFlag || s.pausedFlag;
}

} // namespace

MprisPlayer::MprisPlayer(CommandDispatcher &dispatcher, PointerInput &pointer, OrbalState &state,
                         QObject *parent)
    : QObject(parent), m_dispatcher(dispatcher), m_pointer(pointer), m_state(state)
{
    if (!sessionBusAround())
        return;
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected() || !bus.interface())
        return;
    new MprisRootAdaptor(this);
    new MprisPlayerAdaptor(this);
    if (!bus.registerObject(QLatin1String(kPath), this))
        return;
    // A second orbal on the same bus takes a name of its own, as MPRIS suggests.
    const QString names[] = {
        QLatin1String(kService),
        QLatin1String(kService) +
            QStringLiteral(".instance%1").arg(QCoreApplication::applicationPid())};
    for (const QString &name : names) {
        if (bus.interface()->registerService(name, QDBusConnectionInterface::DontQueueService) ==
            QDBusConnectionInterface::ServiceRegistered) {
            m_service = name;
            break;
        }
    }
    if (m_service.isEmpty()) {
        bus.unregisterObject(QLatin1String(kPath));
        return;
    }
    qCDebug(lcApp) << "on the session bus as" << m_service;
    m_announced = announced();
    connect(&m_dispatcher, &CommandDispatcher::stateChanged, this, &MprisPlayer::scheduleAnnounce);
    connect(&m_dispatcher, &CommandDispatcher::positionJumped, this,
            [this](qint64 ms) { emit seeked(ms * 1000); });
}

MprisPlayer::~MprisPlayer()
{
    if (m_service.isEmpty())
        return;
    QDBusConnection bus = QDBusConnection::sessionBus();
    bus.unregisterObject(QLatin1String(kPath));
    bus.interface()->unregisterService(m_service);
}

// --- actions --------------------------------------------------------------------------------

void MprisPlayer::play()
{
    const OrbalState &s = m_state;
    if (s.pausedFlag)
        m_dispatcher.buttonClick(Command::Pause); // pause toggles: resumes
    else if (!s.playingFlag)
        m_dispatcher.buttonClick(Command::Play);
}

void MprisPlayer::pause()
{
    const OrbalState &s = m_state;
    if (s.playingFlag && !s.pausedFlag)
        m_dispatcher.buttonClick(Command::Pause);
}

void MprisPlayer::playPause()
{
    if (playbackStatus() == QLatin1String("Playing"))
        pause();
    else
        play();
}

void MprisPlayer::stop()
{
    m_dispatcher.buttonClick(Command::Stop);
}

void MprisPlayer::next()
{
    m_dispatcher.buttonClick(Command::Next);
}

void MprisPlayer::previous()
{
    m_dispatcher.buttonClick(Command::Previous);
}

void MprisPlayer::quit()
{
    m_dispatcher.buttonClick(Command::Exit);
}

void MprisPlayer::seek(qint64 offset)
{
    if (!canSeek())
        return;
    qint64 target = 0;
    if (__builtin_add_overflow(position(), offset, &target))
        target = offset > 0 ? std::numeric_limits<qint64>::max() : 0;
    if (target > length()) {
        next();
        return;
    }
    m_dispatcher.jumpToSecond(int(qMax<qint64>(target, 0) / kMicro));
}

void MprisPlayer::setPosition(const QString &track, qint64 at)
{
    if (!canSeek() || track != trackId(m_state.currentIndex) || at < 0 || at > length())
        return;
    m_dispatcher.jumpToSecond(int(at / kMicro));
}

void MprisPlayer::setVolume(double volume)
{
    if (std::isnan(volume))
        return;
    OrbalState &s = m_state;
    const int v = int(std::lround(qBound(0.0, volume, 1.0) * 100));
    // Through the slider where the form has one, so it and the title's message agree.
    switch (s.layoutMode) {
    case Form::Vertical:
        m_pointer.setVolumeSlider(v, false);
        break;
    case Form::Horizontal:
        m_pointer.setVolumeSlider(100 - v, false);
        break;
    case Form::MiniBar:
        s.volume = v;
        m_dispatcher.sendVolume();
        break;
    }
}

// --- properties -----------------------------------------------------------------------------

QString MprisPlayer::playbackStatus() const
{
    const OrbalState &s = m_state;
    if (s.pausedFlag)
        return QStringLiteral("Paused");
    return s.playingFlag ? QStringLiteral("Playing") : QStringLiteral("Stopped");
}

qint64 MprisPlayer::length() const
{
    if (!currentEntryValid(m_state))
        return 0;
    if (m_state.xmmsMode) {
        XMMSPlayer *xmms = m_dispatcher.xmms();
        return xmms ? qMax(0, xmms->songLength()) * qint64(1000) : 0;
    }
    Engine *engine = m_dispatcher.engine();
    return engine ? qMax(0, engine->length()) * kMicro : 0;
}

qint64 MprisPlayer::position() const
{
    const OrbalState &s = m_state;
    if (!active(m_state))
        return 0;
    if (s.xmmsMode) {
        XMMSPlayer *xmms = m_dispatcher.xmms();
        return xmms ? qMax(0, xmms->outputTime()) * qint64(1000) : 0;
    }
    return s.videoTiming ? qMax(0, s.videoElapsed) * kMicro : 0;
}

QVariantMap MprisPlayer::metadata() const
{
    const OrbalState &s = m_state;
    if (!currentEntryValid(m_state))
        return {{QStringLiteral("mpris:trackid"),
                 QVariant::fromValue(QDBusObjectPath(
                     QStringLiteral("/org/mpris/MediaPlayer2/TrackList/NoTrack")))}};
    const QString &path = s.fileList.at(s.currentIndex);
    QVariantMap map{
        {QStringLiteral("mpris:trackid"),
         QVariant::fromValue(QDBusObjectPath(trackId(s.currentIndex)))},
        {QStringLiteral("xesam:title"),
         PathCodec::displayName(path.mid(path.lastIndexOf(QLatin1Char('/')) + 1))},
        // From the name's bytes: a name that is not UTF-8 keeps them, percent-encoded.
        {QStringLiteral("xesam:url"),
         QStringLiteral("file://") +
             QString::fromLatin1(QUrl::toPercentEncoding(PathCodec::encode(path), "/"))},
        {QStringLiteral("xesam:trackNumber"), s.currentIndex + 1},
    };
    if (const qint64 len = length(); len > 0)
        map.insert(QStringLiteral("mpris:length"), len);
    return map;
}

double MprisPlayer::volume() const
{
    return m_state.volume / 100.0;
}

bool MprisPlayer::canGoNext() const
{
    return active(m_state) && !m_state.fileList.isEmpty();
}

bool MprisPlayer::canGoPrevious() const
{
    const OrbalState &s = m_state;
    return active(m_state) && (s.xmmsMode || s.currentIndex >= 1);
}

bool MprisPlayer::canPlay() const
{
    return !m_state.fileList.isEmpty();
}

bool MprisPlayer::canSeek() const
{
    return active(m_state) && length() > 0;
}

// --- change announcements -------------------------------------------------------------------

QVariantMap MprisPlayer::announced() const
{
    return {
        {QStringLiteral("PlaybackStatus"), playbackStatus()},
        {QStringLiteral("Metadata"), metadata()},
        {QStringLiteral("Volume"), volume()},
        {QStringLiteral("CanGoNext"), canGoNext()},
        {QStringLiteral("CanGoPrevious"), canGoPrevious()},
        {QStringLiteral("CanPlay"), canPlay()},
        {QStringLiteral("CanPause"), canPlay()},
        {QStringLiteral("CanSeek"), canSeek()},
    };
}

void MprisPlayer::scheduleAnnounce()
{
    // One command changes several things: they go out together, once it is done.
    if (std::exchange(m_announceDue, true))
        return;
    QTimer::singleShot(0, this, &MprisPlayer::announceChanges);
}

void MprisPlayer::announceChanges()
{
    m_announceDue = false;
    const QVariantMap now = announced();
    QVariantMap changed;
    for (auto it = now.cbegin(); it != now.cend(); ++it) {
        if (m_announced.value(it.key()) != it.value())
            changed.insert(it.key(), it.value());
    }
    m_announced = now;
    if (changed.isEmpty())
        return;
    QDBusMessage signal = QDBusMessage::createSignal(
        QLatin1String(kPath), QStringLiteral("org.freedesktop.DBus.Properties"),
        QStringLiteral("PropertiesChanged"));
    signal << kPlayerInterface << changed << QStringList();
    QDBusConnection::sessionBus().send(signal);
}
