#include "video/videoplayer.h"

#include "audio/mixer.h"
#include "dropin/kconfig.h"
#include "dropin/settingsnames.h"
#include "platform/phonekeys.h"
#include "video/engine.h"

#include <QDir>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <climits>

namespace
{

constexpr VideoPlayer::KeySetting kKeySettings[VideoPlayer::KeyCount] = {
    {"key_vol_up", 0x1016},    {"key_vol_down", 0x1017}, {"key_enter", 0x1004},
    {"key_up", 0x1013},        {"key_down", 0x1015},     {"key_left", 0x1012},
    {"key_right", 0x1014},     {"key_camera", 0x1034},   {"key_SoftLeft", 0x1033},
    {"key_SoftRight", 0x104d}, {"key_cancel", 0x1030},   {"key_dial", 0x1049},
};

constexpr VideoPlayer::Adjustment kAdjustments[] = {
    {"Volume", "volume", 0, 0, 100, 4, 100},
    {"Brightness", "brightness", 1, 0, 100, 2, 50},
    {"Contrast", "contrast", 1, 0, 100, 2, 50},
    {"saturation", "saturation", 1, 0, 100, 2, 50},
    {"", "", -1, 0, 0, 0, 0},
};

constexpr VideoPlayer::Action kActions[] = {
    {"Pause", "pause"},
    {"Restart", "seek 0 2"},
    {"Stop", "quit"},
};

enum class Act {
    Send,       // the row's command
    NextAdjust, // select the next adjustment and show its label
    QuitByUser,
    RunAction, // the current action row's command
    SpeedToggle,
    StepUp,
    StepDown,
    Seek, // relative seek by the row's value
};

struct KeyRow {
    VideoPlayer::KeyId key;
    Act act;
    const char *command;
    int value;
};

// Keys during playback; every row that matches acts, in this order. The camera key has no
// row: mplayer is started without its menu, so there is none to open.
constexpr KeyRow kPlayKeys[] = {
    {VideoPlayer::KeySoftLeft, Act::NextAdjust, nullptr, 0},
    {VideoPlayer::KeyCancel, Act::QuitByUser, nullptr, 0},
    {VideoPlayer::KeyEnter, Act::RunAction, nullptr, 0},
    {VideoPlayer::KeyDial, Act::SpeedToggle, nullptr, 0},
    {VideoPlayer::KeyVolUp, Act::StepUp, nullptr, 0},
    {VideoPlayer::KeyVolDown, Act::StepDown, nullptr, 0},
    {VideoPlayer::KeyLeft, Act::Seek, nullptr, -60},
    {VideoPlayer::KeyRight, Act::Seek, nullptr, 60},
    {VideoPlayer::KeyUp, Act::Seek, nullptr, 10},
    {VideoPlayer::KeyDown, Act::Seek, nullptr, -10},
    {VideoPlayer::KeySoftRight, Act::Send, "osd", 0},
};

// Touch regions, inclusive bounds, first match acts.
struct TouchRow {
    int left, right, top, bottom;
    Act act;
    const char *command;
};
constexpr TouchRow kTouches[] = {
    {191, 238, INT_MIN, 39, Act::QuitByUser, nullptr}, // top right corner
    {81, 159, 101, 199, Act::RunAction, nullptr},      // centre
    {3, 99, INT_MIN, 39, Act::Send, "quit"},           // top left: next entry follows
};

// Volume steps stay within these; the lower bound lets -1 and -2 through (kept in the settings
// and shown, the device gets 0).
constexpr int VolumeStep = 3;
constexpr int VolumeCeiling = 80;
constexpr int VolumeFloorExclusive = -3;

} // namespace

const VideoPlayer::KeySetting *VideoPlayer::keySettings()
{
    return kKeySettings;
}
const VideoPlayer::Adjustment *VideoPlayer::adjustments()
{
    return kAdjustments;
}
const VideoPlayer::Action *VideoPlayer::actions()
{
    return kActions;
}
QRect VideoPlayer::readoutRect()
{
    return QRect(80, 150, 100, 30);
}

QString VideoPlayer::osdTextCommand(const QString &label)
{
    return QString("osd 1\nosd_show_text \"%1\"").arg(label);
}

VideoPlayer::VideoPlayer(QWidget *parent, Engine *engine) : QWidget(parent), m_engine(engine)
{
    m_appDir = QDir::currentPath();
    KConfig config(settings::frontEndFile(m_appDir), true);
    config.setGroup(settings::kTvSkin);
    for (int i = 0; i < KeyCount; ++i)
        m_keys[i] = config.readNumEntry(kKeySettings[i].name, kKeySettings[i].defaultCode);

    // The phone's screen; mplayer draws onto this window, so it stays black underneath.
    setFixedSize(ScreenWidth, ScreenHeight);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::black);
    setPalette(pal);
    setAutoFillBackground(true);
    setFocusPolicy(Qt::StrongFocus);
}

Engine *VideoPlayer::engine() const
{
    Engine *e = m_engine.data();
    return e && e->videoWindow() == this ? e : nullptr;
}

void VideoPlayer::send(const QString &command)
{
    if (Engine *e = engine())
        e->sendCommand(command);
}

void VideoPlayer::sltEngineQuit()
{
    if (Engine *e = engine())
        e->stop();
}

void VideoPlayer::focusOutEvent(QFocusEvent *event)
{
    QWidget::focusOutEvent(event);
    if (Engine *e = engine())
        e->stop();
}

void VideoPlayer::keyPressEvent(QKeyEvent *event)
{
    // A desktop key stands for a phone key; when no row takes that code, its plain
    // numbering is tried too, so this window's own defaults (Return, Page Up/Down) work.
    const int key = PhoneKeys::fromEvent(event);
    const int plain = PhoneKeys::fromToolkit(event->key());
    if (!runPlayKey(key) && plain != key)
        runPlayKey(plain);
}

bool VideoPlayer::runPlayKey(int key)
{
    bool matched = false;
    for (const KeyRow &row : kPlayKeys) {
        if (m_keys[row.key] != key)
            continue;
        matched = true;
        switch (row.act) {
        case Act::NextAdjust:
            ++m_adjustRow;
            if (kAdjustments[m_adjustRow].label[0] == '\0')
                m_adjustRow = 0;
            send(osdTextCommand(QString::fromLatin1(kAdjustments[m_adjustRow].label)));
            break;
        case Act::QuitByUser:
            if (Engine *e = engine())
                e->quitByUser();
            break;
        case Act::RunAction:
            send(kActions[m_actionRow].command);
            break;
        case Act::SpeedToggle:
            send(m_normalSpeed ? "speed_set -0.05" : "speed_set 1");
            send("mute");
            m_normalSpeed = !m_normalSpeed;
            break;
        case Act::StepUp:
        case Act::StepDown:
            stepAdjustment(row.act == Act::StepUp);
            break;
        case Act::Seek:
            if (Engine *e = engine())
                e->seek(0, row.value);
            break;
        case Act::Send:
            send(row.command);
            break;
        }
    }
    return matched;
}

void VideoPlayer::stepAdjustment(bool up)
{
    const Adjustment &row = kAdjustments[m_adjustRow];
    if (row.kind == 1) {
        send(QString("%1 %2").arg(QString::fromLatin1(row.command)).arg(up ? row.step : -row.step));
        return;
    }
    if (row.kind != 0)
        return;

    KConfig config(settings::playerFile(m_appDir));
    config.setGroup(settings::kWinskin);
    const int value = config.readNumEntry("volume", 0);
    const int next = up ? value + VolumeStep : value - VolumeStep;
    if (up ? next > VolumeCeiling : next <= VolumeFloorExclusive)
        return;
    // -1 and -2 are stored and shown as they are, but the device must hear silence: a
    // negative value would reach it as full volume.
    if (Engine *e = engine())
        e->applyVolume(qMax(next, 0));
    else
        mixer_set_volume(qMax(next, 0));
    config.writeEntry("volume", next);
    m_readout = QString("vol: %1").arg(next);
    repaint(readoutRect());
}

void VideoPlayer::paintEvent(QPaintEvent *)
{
    if (m_readout.isEmpty())
        return;
    QPainter painter(this);
    QFont font = painter.font();
    font.setPixelSize(23);
    font.setWeight(QFont::Bold);
    painter.setFont(font);
    painter.setPen(QColor(0, 255, 0));
    painter.drawText(readoutRect(), Qt::AlignCenter, m_readout);
}

void VideoPlayer::mouseReleaseEvent(QMouseEvent *event)
{
    const QPoint p = event->position().toPoint();
    for (const TouchRow &row : kTouches) {
        if (p.x() < row.left || p.x() > row.right || p.y() < row.top || p.y() > row.bottom)
            continue;
        if (row.act == Act::QuitByUser) {
            if (Engine *e = engine())
                e->quitByUser();
        } else if (row.act == Act::RunAction) {
            send(kActions[m_actionRow].command);
        } else {
            send(row.command);
        }
        return;
    }
}
