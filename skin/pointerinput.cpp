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
    int button;
    int dx, dy, sx, sy, w, h; // pressed picture from "mini_btn.png" (w 0: drawButton)
};
constexpr MiniRegion kMiniRegions[] = {
    {219, 239, 1, 19, MiniAction::Exit, 22, 220, 0, 40, 60, 20, 18},
    {183, 199, 1, 19, MiniAction::None, 23, 180, 0, 20, 60, 20, 18},
    {201, 217, 1, 19, MiniAction::Restore, 24, 200, 0, 0, 60, 20, 18},
    {6, 24, 4, 22, MiniAction::Prev, 0, 0, 0, 0, 0, 0, 0},
    {27, 45, 4, 22, MiniAction::Play, 1, 0, 0, 0, 0, 0, 0},
    {48, 66, 4, 22, MiniAction::Next, 4, 0, 0, 0, 0, 0, 0},
};
constexpr int kMiniNormalRowY = 40; // the released pictures lie one row above the pressed

bool inMini(const MiniRegion &r, const QPoint &p)
{
    return r.x0 <= p.x() && p.x() <= r.x1 && r.y0 <= p.y() && p.y() <= r.y1;
}

// Main elements of the vertical form after the transport buttons, in hit order.
struct VerticalButton {
    int key;
    int button;
    bool picture; // shows a pressed picture
};
constexpr VerticalButton kVerticalButtons[] = {
    {K::BtnPlistWin, 11, false}, {K::BtnLrcWin, 12, false},  {K::BtnEqWin, 13, false},
    {K::ExitWin, 22, true},      {K::MiniWin, 23, true},     {K::HWin, 24, true},
    {K::Audio3dBtn, 16, true},   {K::BassBooster, 17, true}, {K::PosA, 20, false},
    {K::PosB, 21, false},
};
constexpr VerticalButton kHorizontalButtons[] = {
    {K::HPrev, 0, true},    {K::HPlay, 1, true},     {K::HStop, 3, true},
    {K::HNext, 4, true},    {K::HExitWin, 22, true}, {K::HMiniWin, 23, true},
    {K::VWinBtn, 24, true}, {K::HPosA, 20, false},   {K::HPosB, 21, false},
};

// Button numbers of the panels' elements.
constexpr std::array<int, 8> kPanelButtons = {5, 6, 7, 8, 10, 18, 19, 25};

bool isPanelButton(int number)
{
    return std::find(kPanelButtons.begin(), kPanelButtons.end(), number) != kPanelButtons.end();
}

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
            m_painter.drawButton(m_state.playingFlag ? 1 : 2, true);
        else
            m_painter.drawButton(r.button, true);
        m_pressedButton = r.button;
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
            emit command(22);
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
        if (inside) {
            emit command(1);
            m_painter.drawButton(m_state.playingFlag ? 2 : 1, false);
        } else {
            m_painter.drawButton(m_state.playingFlag ? 2 : 1, false);
        }
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

void PointerInput::pressVertical(const QPoint &pos)
{
    const OrbalState &s = m_state;
    const int x = pos.x();
    const int y = pos.y();
    auto pressButton = [this](int number, bool picture) {
        m_pressedButton = number;
        if (picture)
            m_painter.drawButton(number, true);
    };

    if (inMenuCorner(pos)) {
        // nothing pressed; the release opens the main menu
    } else if (m_skin[K::Prev].contains(x, y)) {
        pressButton(0, true);
    } else if (m_skin[K::Play].contains(x, y)) {
        m_pressedButton = 1;
        m_painter.drawButton(s.playingFlag ? 1 : 2, true);
    } else if (m_skin[K::Stop].contains(x, y)) {
        pressButton(3, true);
    } else if (m_skin[K::Next].contains(x, y)) {
        pressButton(4, true);
    } else if (inLightsPress(pos)) {
        m_pressedButton = 9;
    } else {
        bool hit = false;
        for (const VerticalButton &b : kVerticalButtons) {
            if (m_skin[Skin::Key(b.key)].contains(x, y)) {
                pressButton(b.button, b.picture);
                hit = true;
                break;
            }
        }
        const Skin::List &vl = m_skin[K::VlBtn];
        const Skin::List &pb = m_skin[K::PosBar];
        const int travel = m_skin.volTravel();
        const int thumbX = (pb[2] - 32) * m_painter.positionPercent() / 100 + 10;
        if (hit) {
        } else if (travel > 0 && vl[0] + 7 <= x && x < vl[0] + travel + 7 && vl[1] < y &&
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
    if (s.playlistPanelOpen) {
        if (m_skin[K::PlistBar].contains(x, y))
            m_plistDrag = 0;
        else if (m_skin[K::ShufBtn].contains(x, y))
            m_pressedButton = 6;
        else if (m_skin[K::RepeatBtn].contains(x, y))
            m_pressedButton = 7;
        else if (m_skin[K::OpBtn].contains(x, y))
            pressButton(5, true);
        else if (m_skin[K::PlistBtn].contains(x, y))
            pressButton(25, true);
    }
    if (s.lyricPanelOpen) {
        if (m_skin[K::TextCodecBtn].contains(x, y))
            pressButton(18, true);
        else if (m_skin[K::ShowLrcBtn].contains(x, y))
            pressButton(19, true);
        else if (m_skin[K::FontBtn].contains(x, y))
            m_painter.drawElementPressed(K::FontBtn, true);
    }
    if (s.eqPanelOpen) {
        const Skin::List &eq = m_skin[K::Eq];
        const int mid = m_skin.eqMidY();
        const bool inBand = mid - 21 < y && y < mid + 31;
        if (m_skin[K::PresetsBtn].contains(x, y)) {
            pressButton(10, true);
        } else if (m_skin[K::EqeBtn].contains(x, y)) {
            pressButton(8, true);
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
    m_painter.drawButton(20, false);
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
    m_painter.drawButton(21, false);
}

// The buttons both windows share; true when the number was one of them.
bool PointerInput::releaseCommonButton(const QPoint &pos, int key)
{
    OrbalState &s = m_state;
    const bool inside = key >= 0 && m_skin[Skin::Key(key)].contains(pos.x(), pos.y());
    switch (m_pressedButton) {
    case 0:
    case 3:
    case 4:
        m_painter.drawButton(m_pressedButton, false);
        if (inside) {
            emit command(m_pressedButton);
            if (m_pressedButton == 3)
                m_painter.drawButton(1, false);
        }
        return true;
    case 1:
        // A press on play always plays, wherever it ends; only inside does it end A-B.
        if (inside)
            s.abRepeat = false;
        emit command(1);
        m_painter.drawButton(s.playingFlag ? 2 : 1, false);
        return true;
    case 20:
        if (inside)
            toggleMarkA();
        return true;
    case 21:
        if (inside)
            toggleMarkB();
        return true;
    case 22:
        m_painter.drawButton(22, false);
        if (inside)
            emit command(22);
        return true;
    default:
        return false;
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
    } else {
        static constexpr struct {
            int button;
            int key;
        } kKeys[] = {{0, K::Prev},         {1, K::Play},        {3, K::Stop},
                     {4, K::Next},         {20, K::PosA},       {21, K::PosB},
                     {22, K::ExitWin},     {23, K::MiniWin},    {24, K::HWin},
                     {11, K::BtnPlistWin}, {12, K::BtnLrcWin},  {13, K::BtnEqWin},
                     {16, K::Audio3dBtn},  {17, K::BassBooster}};
        int key = -1;
        for (const auto &k : kKeys)
            if (k.button == m_pressedButton)
                key = k.key;
        const bool inside = key >= 0 && m_skin[Skin::Key(key)].contains(x, y);
        if (!releaseCommonButton(pos, key)) {
            switch (m_pressedButton) {
            case 9:
                if (inLightsRelease(pos) && s.lightsStyle >= 0)
                    s.lightsStyle = s.lightsStyle == 2 ? -1 : s.lightsStyle + 1;
                break;
            case 11:
                if (inside && m_skin.winEnabled()) {
                    s.playlistPanelOpen = true;
                    s.lyricPanelOpen = false;
                    s.eqPanelOpen = false;
                    m_painter.drawButton(11, false);
                    emit panelsChanged();
                }
                break;
            case 12:
                if (inside) {
                    s.lyricPanelOpen = true;
                    s.eqPanelOpen = false;
                    if (m_skin.winEnabled())
                        s.playlistPanelOpen = false;
                    m_painter.drawButton(12, false);
                    emit panelsChanged();
                }
                break;
            case 13:
                if (inside && s.xmmsMode) {
                    s.eqPanelOpen = true;
                    s.lyricPanelOpen = false;
                    if (m_skin.winEnabled())
                        s.playlistPanelOpen = false;
                    m_painter.drawButton(13, false);
                    emit panelsChanged();
                }
                break;
            case 16:
                if (inside) {
                    s.audio3DOn = !s.audio3DOn;
                    emit effectToggled(16);
                    m_painter.drawButton(16, false);
                    emit command(16);
                } else {
                    m_painter.drawButton(16, false);
                }
                break;
            case 17:
                if (inside) {
                    s.bassBoostOn = !s.bassBoostOn;
                    emit effectToggled(17);
                    m_painter.drawButton(17, false);
                    emit command(17);
                } else {
                    m_painter.drawButton(17, false);
                }
                break;
            case 23:
                m_painter.drawButton(23, false);
                if (inside) {
                    emit layoutRequested(Form::MiniBar);
                    emit command(23);
                }
                break;
            case 24:
                m_painter.drawButton(24, false);
                if (inside) {
                    emit layoutRequested(Form::Horizontal);
                    emit command(24);
                }
                break;
            default:
                break;
            }
        }
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
                    m_painter.drawButton(2, false);
                    emit rowClicked(row);
                }
            } else if (m_skin[K::ShufBtn].contains(x, y)) {
                s.shuffleOn = !s.shuffleOn;
                m_painter.drawButton(6, false);
                emit command(6);
            } else if (m_skin[K::RepeatBtn].contains(x, y)) {
                s.repeatOn = !s.repeatOn;
                m_painter.drawButton(7, false);
                emit command(7);
            } else if (m_skin[K::OpBtn].contains(x, y)) {
                m_painter.drawButton(5, false);
                emit command(5);
            } else if (m_skin[K::PlistBtn].contains(x, y)) {
                m_painter.drawButton(25, false);
                emit command(25);
            }
        } else {
            m_plistDrag = -1;
            m_painter.drawPlaylistBar(playlistThumbFromY(y), false);
        }
    }
    if (s.lyricPanelOpen) {
        const Skin::List &lw = m_skin[K::LrcWin];
        const int middle = lw[1] + lw[3] / 2;
        if (m_skin[K::TextCodecBtn].contains(x, y)) {
            s.useTextCodec = !s.useTextCodec;
            m_painter.drawButton(18, false);
            emit command(18);
        } else if (m_skin[K::ShowLrcBtn].contains(x, y)) {
            s.showLyric = !s.showLyric;
            m_painter.drawButton(19, false);
            emit command(19);
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
            m_painter.drawButton(15, false);
        } else if (m_skin[K::EqeBtn].contains(x, y)) {
            s.equalizerOn = !s.equalizerOn;
            m_painter.drawButton(8, false);
            emit command(8);
        } else if (m_skin[K::PresetsBtn].contains(x, y)) {
            m_painter.drawButton(10, false);
            emit command(10);
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
    for (const VerticalButton &b : kHorizontalButtons) {
        if (m_skin[Skin::Key(b.key)].contains(x, y)) {
            m_pressedButton = b.button;
            if (b.picture)
                m_painter.drawButton(b.button == 1 && s.playingFlag ? 2 : b.button, true);
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
    int key = -1;
    for (const VerticalButton &b : kHorizontalButtons)
        if (b.button == m_pressedButton)
            key = b.key;
    if (releaseCommonButton(pos, key))
        return;
    const bool inside = key >= 0 && m_skin[Skin::Key(key)].contains(x, y);
    m_painter.drawButton(m_pressedButton, false);
    if (!inside)
        return;
    if (m_pressedButton == 23) {
        emit layoutRequested(Form::MiniBar);
        emit command(23);
    } else if (m_pressedButton == 24) {
        emit layoutRequested(Form::Vertical);
        emit command(24);
    }
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
