#include "skin/pointerinput.h"

#include "skin/skin.h"
#include "skin/skinpainter.h"
#include "state/orbalstate.h"

#include <algorithm>
#include <array>

namespace
{

using K = Skin::Key;

// The mini bar: fixed regions, bounds included, tested in this order.
enum class MiniAction { Exit, None, Restore, Prev, Play, Next };
struct MiniRegion {
    int x0, x1, y0, y1;
    MiniAction action;
    Command button;
    int dx, dy, sx, sy, w, h; // pressed picture from "mini_btn.png" (w 0: drawButton)
};
constexpr MiniRegion kMiniRegions[] = {
    {219, 239, 1, 19, MiniAction::Exit, Command::Exit, 220, 0, 40, 60, 20, 18},
    {183, 199, 1, 19, MiniAction::None, Command::MiniBar, 180, 0, 20, 60, 20, 18},
    {201, 217, 1, 19, MiniAction::Restore, Command::Horizontal, 200, 0, 0, 60, 20, 18},
    {6, 24, 4, 22, MiniAction::Prev, Command::Previous, 0, 0, 0, 0, 0, 0},
    {27, 45, 4, 22, MiniAction::Play, Command::Play, 0, 0, 0, 0, 0, 0},
    {48, 66, 4, 22, MiniAction::Next, Command::Next, 0, 0, 0, 0, 0, 0},
};
constexpr int kMiniNormalRowY = 40; // the released pictures lie one row above the pressed

bool inMini(const MiniRegion &r, const QPoint &p)
{
    return r.x0 <= p.x() && p.x() <= r.x1 && r.y0 <= p.y() && p.y() <= r.y1;
}

using C = Command;

constexpr int kLightsArea = -1; // the lights, an area of the display with no element

} // namespace

namespace pointer
{
// What a release over a pressed button does.
enum class Release {
    Command, // the released picture; inside: the command
    Play,    // always plays, wherever it ends; inside it also ends A-B repeat
    Stop,    // as Command, and inside play shows its play picture again
    Panel,   // inside: that panel of the vertical form opens
    Effect,  // inside: the effect switches, then the command that saves it
    Form,    // inside: the window takes another form, then the command
    MarkA,   // inside: the A mark is set or cleared
    MarkB,
    Lights, // inside the lights area: the next lights style
};
} // namespace pointer

using pointer::Release;

// The window's own buttons, in hit order; the panels' elements are tested apart.
struct pointer::Button {
    int key; // skin element, or kLightsArea
    Command number;
    bool picture; // shows a pressed picture
    Release release;
    Form form = Form::Vertical; // the form a Release::Form button switches to
};

namespace
{

using pointer::Button;
using pointer::PanelButton;

constexpr Button kVerticalButtons[] = {
    {K::Prev, C::Previous, true, Release::Command},
    {K::Play, C::Play, true, Release::Play},
    {K::Stop, C::Stop, true, Release::Stop},
    {K::Next, C::Next, true, Release::Command},
    {kLightsArea, C::Lights, false, Release::Lights},
    {K::BtnPlistWin, C::PlaylistPanel, false, Release::Panel},
    {K::BtnLrcWin, C::LyricPanel, false, Release::Panel},
    {K::BtnEqWin, C::EqualizerPanel, false, Release::Panel},
    {K::ExitWin, C::Exit, true, Release::Command},
    {K::MiniWin, C::MiniBar, true, Release::Form, Form::MiniBar},
    {K::HWin, C::Horizontal, true, Release::Form, Form::Horizontal},
    {K::Audio3dBtn, C::Audio3d, true, Release::Effect},
    {K::BassBooster, C::BassBooster, true, Release::Effect},
    {K::PosA, C::MarkA, false, Release::MarkA},
    {K::PosB, C::MarkB, false, Release::MarkB},
};
constexpr Button kHorizontalButtons[] = {
    {K::HPrev, C::Previous, true, Release::Command},
    {K::HPlay, C::Play, true, Release::Play},
    {K::HStop, C::Stop, true, Release::Stop},
    {K::HNext, C::Next, true, Release::Command},
    {K::HExitWin, C::Exit, true, Release::Command},
    {K::HMiniWin, C::MiniBar, true, Release::Form, Form::MiniBar},
    {K::VWinBtn, C::Horizontal, true, Release::Form, Form::Vertical},
    {K::HPosA, C::MarkA, false, Release::MarkA},
    {K::HPosB, C::MarkB, false, Release::MarkB},
};

// Button numbers of the panels' elements.
constexpr std::array<Command, 8> kPanelButtons = {C::Open,      C::Shuffle,     C::Repeat,
                                                  C::Equalizer, C::Presets,     C::TextCodec,
                                                  C::ShowLyric, C::PlaylistMenu};

bool isPanelButton(int number)
{
    return std::find(kPanelButtons.begin(), kPanelButtons.end(), Command(number)) !=
           kPanelButtons.end();
}

} // namespace

// The panels' buttons that end in a command, each with the switch a release flips first.
struct pointer::PanelButton {
    int key;
    Command number;
    bool OrbalState::*flag; // none: the command alone
};

namespace
{

constexpr PanelButton kPlaylistButtons[] = {
    {K::ShufBtn, C::Shuffle, &OrbalState::shuffleOn},
    {K::RepeatBtn, C::Repeat, &OrbalState::repeatOn},
    {K::OpBtn, C::Open, nullptr},
    {K::PlistBtn, C::PlaylistMenu, nullptr},
};
constexpr PanelButton kLyricButtons[] = {
    {K::TextCodecBtn, C::TextCodec, &OrbalState::useTextCodec},
    {K::ShowLrcBtn, C::ShowLyric, &OrbalState::showLyric},
};
constexpr PanelButton kEqualizerButtons[] = {
    {K::EqeBtn, C::Equalizer, &OrbalState::equalizerOn},
    {K::PresetsBtn, C::Presets, nullptr},
};

bool inMenuCorner(const QPoint &p)
{
    return 3 <= p.x() && p.x() <= 59 && 1 <= p.y() && p.y() <= 29;
}

bool inLightsPress(const QPoint &p)
{
    return 25 <= p.x() && p.x() <= 99 && 45 <= p.y() && p.y() <= 58;
}

bool inLightsRelease(const QPoint &p)
{
    return 25 < p.x() && p.x() < 100 && 44 < p.y() && p.y() < 59;
}

} // namespace

PointerInput::PointerInput(const Skin &skin, SkinPainter &painter, OrbalState &state,
                           QObject *parent)
    : QObject(parent), m_skin(skin), m_painter(painter), m_state(state)
{
}

void PointerInput::press(const QPoint &pos)
{
    switch (m_state.layoutMode) {
    case Form::MiniBar:
        pressMini(pos);
        break;
    case Form::Vertical:
        pressVertical(pos);
        break;
    case Form::Horizontal:
        pressHorizontal(pos);
        break;
    default:
        break;
    }
    m_pressPos = pos;
}

void PointerInput::move(const QPoint &pos, const QPoint &global)
{
    switch (m_state.layoutMode) {
    case Form::MiniBar:
        if (80 < pos.x() && pos.x() < 160 && -60 < pos.y() && pos.y() < 60)
            emit windowMoveRequested(global - m_pressPos);
        break;
    case Form::Vertical:
        moveVertical(pos);
        break;
    case Form::Horizontal:
        moveHorizontal(pos);
        break;
    default:
        break;
    }
}

void PointerInput::release(const QPoint &pos)
{
    switch (m_state.layoutMode) {
    case Form::MiniBar:
        releaseMini(pos);
        break;
    case Form::Vertical:
        releaseVertical(pos);
        break;
    case Form::Horizontal:
        releaseHorizontal(pos);
        break;
    default:
        break;
    }
    m_pressedButton = -1;
    m_pressedRow = nullptr;
    m_pressedMini = -1;
}

// --- mini bar -------------------------------------------------------------------------------

void PointerInput::pressMini(const QPoint &pos)
{
    const int count = int(std::size(kMiniRegions));
    for (int i = 0; i < count; ++i) {
        const MiniRegion &r = kMiniRegions[i];
        if (!inMini(r, pos))
            continue;
        if (r.w > 0)
            m_painter.drawMiniPicture(r.dx, r.dy, r.sx, r.sy, r.w, r.h);
        else if (r.action == MiniAction::Play)
            m_painter.drawButton(m_state.playingFlag ? C::Play : C::Pause, true);
        else
            m_painter.drawButton(r.button, true);
        m_pressedButton = int(r.button);
        m_pressedMini = i;
        return;
    }
}

void PointerInput::releaseMini(const QPoint &pos)
{
    if (m_pressedMini < 0)
        return;
    const MiniRegion &r = kMiniRegions[m_pressedMini];
    const bool inside = inMini(r, pos);
    switch (r.action) {
    case MiniAction::Exit:
        m_painter.drawMiniPicture(r.dx, r.dy, r.sx, kMiniNormalRowY, r.w, r.h);
        if (inside)
            emit command(C::Exit);
        break;
    case MiniAction::None:
        m_painter.drawMiniPicture(r.dx, r.dy, r.sx, kMiniNormalRowY, r.w, r.h);
        break;
    case MiniAction::Restore:
        m_painter.drawMiniPicture(r.dx, r.dy, r.sx, kMiniNormalRowY, r.w, r.h);
        if (inside)
            emit layoutRequested(Form::Vertical);
        break;
    case MiniAction::Prev:
    case MiniAction::Next:
        m_painter.drawButton(r.button, false);
        if (inside)
            emit command(r.button);
        break;
    case MiniAction::Play:
        if (inside)
            emit command(C::Play);
        m_painter.drawButton(m_state.playingFlag ? C::Pause : C::Play, false);
        break;
    }
}

// --- vertical window ------------------------------------------------------------------------

int PointerInput::volumeFromX(int x) const
{
    const int travel = m_skin.volTravel();
    if (travel <= 0)
        return 0;
    const int p = qBound(0, x - m_skin[K::VlBtn][0] - 7, travel - 1);
    return p * 100 / travel;
}

int PointerInput::percentFromX(int x) const
{
    const int span = m_skin[K::PosBar][2] - 32;
    if (span <= 0)
        return 0;
    const int p = qBound(0, x - m_skin[K::PosBar][0] - 15, span);
    return p * 100 / span;
}

int PointerInput::playlistThumbFromY(int y) const
{
    const Skin::List &b = m_skin[K::PlistBar];
    return qBound(0, y - b[1] - 10, qMax(0, b[3] - b[9]));
}

void PointerInput::pressButton(Command number, bool picture)
{
    m_pressedButton = int(number);
    if (picture)
        m_painter.drawButton(number, true);
}

void PointerInput::pressVertical(const QPoint &pos)
{
    const OrbalState &s = m_state;
    const int x = pos.x();
    const int y = pos.y();
    bool hit = false;
    if (inMenuCorner(pos)) {
        hit = true; // nothing pressed; the release opens the main menu
    } else {
        for (const Button &b : kVerticalButtons) {
            const bool over =
                b.key == kLightsArea ? inLightsPress(pos) : m_skin[Skin::Key(b.key)].contains(x, y);
            if (!over)
                continue;
            m_pressedRow = &b;
            // Play's pressed look is the other picture of the one it shows.
            pressButton(b.number, b.picture && b.number != C::Play);
            if (b.number == C::Play)
                m_painter.drawButton(s.playingFlag ? C::Play : C::Pause, true);
            hit = true;
            break;
        }
    }
    if (!hit) {
        const Skin::List &vl = m_skin[K::VlBtn];
        const Skin::List &pb = m_skin[K::PosBar];
        const int travel = m_skin.volTravel();
        const int thumbX = (pb[2] - 32) * m_painter.positionPercent() / 100 + 10;
        if (travel > 0 && vl[0] + 7 <= x && x < vl[0] + travel + 7 && vl[1] < y &&
            y < vl[1] + vl[3]) {
            m_volumeDrag = 0;
            setVolumeSlider(((x - vl[0]) * 100 - 700) / travel, true);
        } else if (s.playingFlag && pb[2] > 32 && thumbX <= x && x < thumbX + 29 && pb[1] < y &&
                   y < pb[1] + pb[3]) {
            m_seekGrab = x - thumbX;
            m_painter.setThumbDragging(true);
            m_painter.drawPosBar(qBound(0, ((x - pb[0]) * 100 - 1500) / (pb[2] - 32), 100), true);
        }
    }

    // The panels' elements never overlap the ones above.
    pressVerticalPanels(pos);
}

void PointerInput::pressVerticalPanels(const QPoint &pos)
{
    const OrbalState &s = m_state;
    const int x = pos.x();
    const int y = pos.y();
    if (s.playlistPanelOpen) {
        if (m_skin[K::PlistBar].contains(x, y))
            m_plistDrag = 0;
        else if (m_skin[K::ShufBtn].contains(x, y))
            pressButton(C::Shuffle, false);
        else if (m_skin[K::RepeatBtn].contains(x, y))
            pressButton(C::Repeat, false);
        else if (m_skin[K::OpBtn].contains(x, y))
            pressButton(C::Open, true);
        else if (m_skin[K::PlistBtn].contains(x, y))
            pressButton(C::PlaylistMenu, true);
    }
    if (s.lyricPanelOpen) {
        if (m_skin[K::TextCodecBtn].contains(x, y))
            pressButton(C::TextCodec, true);
        else if (m_skin[K::ShowLrcBtn].contains(x, y))
            pressButton(C::ShowLyric, true);
        else if (m_skin[K::FontBtn].contains(x, y))
            m_painter.drawElementPressed(K::FontBtn, true);
    }
    if (s.eqPanelOpen) {
        const Skin::List &eq = m_skin[K::Eq];
        const int mid = m_skin.eqMidY();
        const bool inBand = mid - 21 < y && y < mid + 31;
        if (m_skin[K::PresetsBtn].contains(x, y)) {
            pressButton(C::Presets, true);
        } else if (m_skin[K::EqeBtn].contains(x, y)) {
            pressButton(C::Equalizer, true);
        } else if (eq[10] > 0 && eq[0] < x && x < eq[0] + 10 * eq[10] && inBand) {
            const int slot = (x - eq[0]) / eq[10];
            m_painter.setEqValue(slot, 5 - (y - mid), true);
            m_eqDragSlot = slot;
        } else if (m_skin[K::EqBtnZero].contains(x, y)) {
            m_painter.drawElementPressed(K::EqBtnZero, true);
            m_eqZeroPressed = 1;
        } else if (22 < x && x < 34 && inBand) {
            m_painter.setEqValue(11, 5 - (y - mid), true);
            m_eqDragSlot = 11;
        }
    }
}

void PointerInput::moveVertical(const QPoint &pos)
{
    const OrbalState &s = m_state;
    if (m_volumeDrag >= 0) {
        setVolumeSlider(volumeFromX(pos.x()), true);
    } else if (m_seekGrab >= 0 && s.playingFlag) {
        m_painter.drawPosBar(percentFromX(pos.x()), true);
    }
    if (m_plistDrag >= 0 && s.playlistPanelOpen)
        m_painter.drawPlaylistBar(playlistThumbFromY(pos.y()), true);
    if (m_eqDragSlot >= 0 && s.eqPanelOpen) {
        const int v = qBound(-25, 5 - (pos.y() - m_skin.eqMidY()), 25);
        m_painter.showMessage(QStringLiteral(" EQ %1 == %2 db").arg(m_eqDragSlot).arg(v), 5);
        m_painter.setEqValue(m_eqDragSlot, v, true);
    }
}

void PointerInput::toggleMarkA()
{
    OrbalState &s = m_state;
    s.markASet = !s.markASet;
    if (s.markASet)
        s.markA = s.lastSecond;
    m_painter.drawButton(C::MarkA, false);
}

void PointerInput::toggleMarkB()
{
    OrbalState &s = m_state;
    s.markBSet = !s.markBSet;
    if (!s.markBSet) {
        s.abRepeat = false;
    } else {
        s.markB = s.lastSecond;
        s.abRepeat = true;
        emit jumpRequested(s.markA);
    }
    m_painter.drawButton(C::MarkB, false);
}

void PointerInput::openPanel(Command tab)
{
    OrbalState &s = m_state;
    // The playlist tab only where the skin lets panels close; the equalizer only for xmms.
    if ((tab == C::PlaylistPanel && !m_skin.winEnabled()) ||
        (tab == C::EqualizerPanel && !s.xmmsMode))
        return;
    s.playlistPanelOpen = tab == C::PlaylistPanel || (!m_skin.winEnabled() && s.playlistPanelOpen);
    s.lyricPanelOpen = tab == C::LyricPanel;
    s.eqPanelOpen = tab == C::EqualizerPanel;
    m_painter.drawButton(tab, false);
    emit panelsChanged();
}

template <size_t N>
bool PointerInput::releasePanelButton(const pointer::PanelButton (&buttons)[N], const QPoint &pos)
{
    for (const PanelButton &b : buttons) {
        if (!m_skin[Skin::Key(b.key)].contains(pos.x(), pos.y()))
            continue;
        if (b.flag)
            m_state.*(b.flag) = !(m_state.*(b.flag));
        m_painter.drawButton(b.number, false);
        emit command(b.number);
        return true;
    }
    return false;
}

void PointerInput::releaseButton(const pointer::Button &b, const QPoint &pos)
{
    OrbalState &s = m_state;
    const bool inside = b.key == kLightsArea ? inLightsRelease(pos)
                                             : m_skin[Skin::Key(b.key)].contains(pos.x(), pos.y());
    switch (b.release) {
    case Release::Command:
    case Release::Stop:
        m_painter.drawButton(b.number, false);
        if (inside) {
            emit command(b.number);
            if (b.release == Release::Stop)
                m_painter.drawButton(C::Play, false);
        }
        break;
    case Release::Play:
        if (inside)
            s.abRepeat = false;
        emit command(C::Play);
        m_painter.drawButton(s.playingFlag ? C::Pause : C::Play, false);
        break;
    case Release::Panel:
        if (inside)
            openPanel(b.number);
        break;
    case Release::Effect:
        if (inside) {
            bool &on = b.number == C::Audio3d ? s.audio3DOn : s.bassBoostOn;
            on = !on;
            emit effectToggled(b.number);
        }
        m_painter.drawButton(b.number, false);
        if (inside)
            emit command(b.number);
        break;
    case Release::Form:
        m_painter.drawButton(b.number, false);
        if (inside) {
            emit layoutRequested(b.form);
            emit command(b.number);
        }
        break;
    case Release::MarkA:
        if (inside)
            toggleMarkA();
        break;
    case Release::MarkB:
        if (inside)
            toggleMarkB();
        break;
    case Release::Lights:
        if (inside && s.lightsStyle >= 0)
            s.lightsStyle = s.lightsStyle == 2 ? -1 : s.lightsStyle + 1;
        break;
    }
}

void PointerInput::releaseVertical(const QPoint &pos)
{
    OrbalState &s = m_state;
    const int x = pos.x();
    const int y = pos.y();
    // A press that began on the window's own controls ends there: dragged off over a
    // panel it must not also play a row or switch a panel button.
    const bool panelsToo = m_volumeDrag < 0 && m_seekGrab < 0 &&
                           (m_pressedButton < 0 || isPanelButton(m_pressedButton));
    if (m_pressedButton < 0) {
        if (m_volumeDrag >= 0) {
            m_volumeDrag = -1;
            setVolumeSlider(volumeFromX(x), false);
        } else if (m_seekGrab >= 0) {
            m_seekGrab = -1;
            m_painter.setThumbDragging(false);
            if (s.playingFlag) {
                m_painter.drawPosBar(percentFromX(x), true);
                emit seekRequested(m_painter.positionPercent());
            }
        } else if (2 < x && x < 60 && 0 < y && y < 30) {
            emit mainMenuRequested(QPoint(2, 30));
        }
    } else if (m_pressedRow) {
        releaseButton(*m_pressedRow, pos);
    }
    if (panelsToo)
        releaseVerticalPanels(pos);
    m_eqDragSlot = -1;
    m_eqZeroPressed = 0;
    m_plistDrag = -1;
}

void PointerInput::releaseVerticalPanels(const QPoint &pos)
{
    OrbalState &s = m_state;
    const int x = pos.x();
    const int y = pos.y();
    if (s.playlistPanelOpen) {
        const Skin::List &bar = m_skin[K::PlistBar];
        if (m_plistDrag < 0) {
            if (10 < x && x < 210 && bar[1] < y && y < bar[1] + bar[3]) {
                const int row = m_painter.topRow() + (y - bar[1]) / 20;
                // Rows below the end of a short list are empty.
                if (row < s.fileList.size()) {
                    m_painter.drawButton(C::Pause, false);
                    emit rowClicked(row);
                }
            } else {
                releasePanelButton(kPlaylistButtons, pos);
            }
        } else {
            m_plistDrag = -1;
            m_painter.drawPlaylistBar(playlistThumbFromY(y), false);
        }
    }
    if (s.lyricPanelOpen) {
        const Skin::List &lw = m_skin[K::LrcWin];
        const int middle = lw[1] + lw[3] / 2;
        if (releasePanelButton(kLyricButtons, pos)) {
        } else if (m_skin[K::FontBtn].contains(x, y)) {
            m_painter.drawElementPressed(K::FontBtn, false);
            const Skin::List &f = m_skin[K::FontBtn];
            emit fontMenuRequested(QPoint(f[0] + f[2], 100));
        } else if (20 < x && x < 200 && qAbs(y - middle) < 20 && s.lyricsLoaded) {
            emit lyricRepeatRequested();
        }
    }
    if (s.eqPanelOpen) {
        if (m_eqDragSlot >= 0 && m_eqDragSlot <= 10) {
            m_painter.setEqValue(m_eqDragSlot, s.eqBands[qMin(m_eqDragSlot, 9)], false);
            emit eqApplyRequested(m_eqDragSlot);
        } else if (m_eqDragSlot == 11) {
            m_painter.setEqValue(11, s.eqPreampValue, false);
            emit eqApplyRequested(11);
        } else if (m_eqZeroPressed) {
            if (m_skin[K::EqBtnZero].contains(x, y)) {
                for (int i = 0; i < 10; ++i)
                    m_painter.setEqValue(i, 0, false);
                emit eqApplyRequested(-1);
            }
            m_painter.drawButton(C::EqualizerZero, false);
        } else {
            releasePanelButton(kEqualizerButtons, pos);
        }
    }
    m_eqDragSlot = -1;
    m_eqZeroPressed = 0;
    m_plistDrag = -1;
}

// --- horizontal window ----------------------------------------------------------------------

int PointerInput::volumeFromY(int y) const
{
    const int travel = m_skin.hVolTravel();
    if (travel <= 0)
        return 0;
    const int p = qBound(0, y - m_skin[K::HVlBtn][1] - 7, travel);
    return p * 100 / travel;
}

int PointerInput::percentFromY(int y) const
{
    const int span = m_skin[K::HPosBar][3] - 32;
    if (span <= 0)
        return 0;
    const int p = qBound(0, y - m_skin[K::HPosBar][1] - 15, span);
    return p * 100 / span;
}

void PointerInput::pressHorizontal(const QPoint &pos)
{
    const OrbalState &s = m_state;
    if (s.hPanelsHidden)
        return;
    const int x = pos.x();
    const int y = pos.y();
    for (const Button &b : kHorizontalButtons) {
        if (m_skin[Skin::Key(b.key)].contains(x, y)) {
            m_pressedButton = int(b.number);
            m_pressedRow = &b;
            if (b.picture)
                m_painter.drawButton(b.number == C::Play && s.playingFlag ? C::Pause : b.number,
                                     true);
            return;
        }
    }
    const Skin::List &pb = m_skin[K::HPosBar];
    const Skin::List &vl = m_skin[K::HVlBtn];
    if (s.playingFlag && pb[3] > 32 && pb[0] <= x && x < pb[0] + pb[2] && pb[1] + 15 < y &&
        y < pb[1] + pb[3] - 15) {
        m_seekGrab = y - (pb[3] - 32) * m_painter.positionPercent() / 100 - 10;
        if (m_seekGrab < 0)
            m_seekGrab = 0;
        m_painter.setThumbDragging(true);
        m_painter.drawPosBar(qBound(0, ((y - pb[1]) * 100 - 1500) / (pb[3] - 32), 100), true);
    } else if (m_skin.hVolTravel() > 0 && vl[0] <= x && x < vl[0] + vl[2] && vl[1] + 7 < y &&
               y < vl[1] + vl[3] - 7) {
        m_volumeDrag = 0;
        setVolumeSlider(((y - vl[1]) * 100 - 700) / m_skin.hVolTravel(), true);
    }
}

void PointerInput::moveHorizontal(const QPoint &pos)
{
    if (m_volumeDrag >= 0)
        setVolumeSlider(volumeFromY(pos.y()), true);
    else if (m_seekGrab >= 0 && m_state.playingFlag)
        m_painter.drawPosBar(percentFromY(pos.y()), true);
}

void PointerInput::releaseHorizontal(const QPoint &pos)
{
    OrbalState &s = m_state;
    const int x = pos.x();
    const int y = pos.y();
    if (m_pressedButton < 0) {
        if (m_volumeDrag >= 0) {
            m_volumeDrag = -1;
            setVolumeSlider(volumeFromY(y), false);
        } else if (m_seekGrab >= 0) {
            m_seekGrab = -1;
            m_painter.setThumbDragging(false);
            if (s.playingFlag) {
                m_painter.drawPosBar(percentFromY(y), true);
                // The bar runs from the bottom of the turned screen.
                emit seekRequested(100 - m_painter.positionPercent());
            }
        } else if (91 <= x && x <= 149 && 1 <= y && y <= 319 && s.lyricsLoaded) {
            emit lyricRepeatRequested();
        }
        return;
    }
    if (m_pressedRow)
        releaseButton(*m_pressedRow, pos);
}

// --- volume ---------------------------------------------------------------------------------

void PointerInput::setVolumeSlider(int position, bool pressed)
{
    OrbalState &s = m_state;
    position = qBound(0, position, 100);
    int volume;
    if (s.layoutMode == Form::Vertical)
        volume = position;
    else if (s.layoutMode == Form::Horizontal)
        volume = 100 - position;
    else
        return;
    m_painter.drawVolumeSlider(position, pressed);
    if (volume == s.volume)
        return;
    s.volume = volume;
    emit volumeChanged(volume);
    m_painter.showMessage(QStringLiteral("Volume  %1%").arg(volume), 10);
}
