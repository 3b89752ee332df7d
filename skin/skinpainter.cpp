#include "skin/skinpainter.h"

#include "platform/pathcodec.h"
#include "skin/skin.h"
#include "state/orbalstate.h"

#include <QFontMetrics>
#include <QPainter>
#include <QStringDecoder>
#include <QTransform>

#include <algorithm>

namespace
{

using K = Skin::Key;

// Fixed pictures of the mini bar, cut from "mini_btn.png": destination, source, size.
struct MiniPiece {
    int dx, dy, sx, sy, w, h;
};
constexpr MiniPiece kMiniPieces[] = {
    {220, 0, 40, 40, 20, 18}, {200, 0, 20, 40, 20, 18}, {180, 0, 0, 40, 20, 18},
    {5, 3, 42, 0, 20, 20},    {47, 3, 62, 0, 20, 20},
};
constexpr MiniPiece kMiniPlay = {26, 3, 0, 0, 21, 20};
constexpr int kMiniPlayingShift = 21; // the playing picture lies right of the stopped one
constexpr int kMiniPressedShift = 20; // pressed mini pictures lie one row below

// Button numbers (the dispatcher's command codes) and the element each one draws.
struct ButtonRow {
    int number;
    int vertical;   // key in the vertical window, -1 none
    int horizontal; // key in the horizontal window, -1 none
};
constexpr ButtonRow kButtons[] = {
    {0, K::Prev, K::HPrev},        {1, K::Play, K::HPlay},    {2, K::Play, K::HPlay},
    {3, K::Stop, K::HStop},        {4, K::Next, K::HNext},    {5, K::OpBtn, -1},
    {6, K::ShufBtn, -1},           {7, K::RepeatBtn, -1},     {8, K::EqeBtn, -1},
    {10, K::PresetsBtn, -1},       {15, K::EqBtnZero, -1},    {16, K::Audio3dBtn, -1},
    {17, K::BassBooster, -1},      {18, K::TextCodecBtn, -1}, {19, K::ShowLrcBtn, -1},
    {20, K::PosA, K::HPosA},       {21, K::PosB, K::HPosB},   {22, K::ExitWin, K::HExitWin},
    {23, K::MiniWin, K::HMiniWin}, {24, K::HWin, K::VWinBtn}, {25, K::PlistBtn, -1},
};

void blit(QPainter &p, int dx, int dy, const QPixmap &src, int sx, int sy, int w, int h)
{
    // A zero size would make QPainter take the whole picture.
    if (w <= 0 || h <= 0 || src.isNull())
        return;
    p.drawPixmap(dx, dy, src, sx, sy, w, h);
}

QString fileNameOf(const QString &path)
{
    return PathCodec::displayName(path.mid(path.lastIndexOf(QLatin1Char('/')) + 1));
}

// Whether a two-state element shows its other picture for the current state.
bool isOn(const OrbalState &s, int key)
{
    switch (key) {
    case K::ShufBtn:
        return s.shuffleOn;
    case K::RepeatBtn:
        return s.repeatOn;
    case K::EqeBtn:
        return !s.equalizerOn; // the lower picture means "off"
    case K::Audio3dBtn:
        return s.audio3DOn;
    case K::BassBooster:
        return s.bassBoostOn;
    case K::TextCodecBtn:
        return s.useTextCodec;
    case K::ShowLrcBtn:
        return s.showLyric;
    case K::PosA:
        return s.markASet;
    case K::PosB:
        return s.markBSet;
    case K::BtnPlistWin:
        return s.playlistPanelOpen;
    case K::BtnLrcWin:
        return s.lyricPanelOpen;
    case K::BtnEqWin:
        return s.eqPanelOpen;
    default:
        return false;
    }
}

// No buffer larger than the screen's longer side each way: nothing beyond it can show.
QPixmap makeBuffer(int w, int h)
{
    const int most = SkinPainter::ScreenH;
    QPixmap pm(std::clamp(w, 1, most), std::clamp(h, 1, most));
    pm.fill(Qt::black);
    return pm;
}

} // namespace

SkinPainter::SkinPainter(const Skin &skin, OrbalState &state)
    : m_skin(skin), m_state(state), m_canvas(ScreenW, ScreenH)
{
    m_canvas.fill(Qt::black);
    m_rowBuf = makeBuffer(220, 15);
    m_sliderBuf = makeBuffer(12, 81);
    // Font sizes are the phone's points, and a point there is a pixel: sizing them in
    // pixels keeps texts inside the skin's rectangles whatever this screen's DPI is.
    m_titleFont = QFont(QStringLiteral("SSong"));
    m_titleFont.setPixelSize(10);
    m_titleFont.setWeight(QFont::Normal);
    setBaseFont(QFont());
}

qint64 SkinPainter::bufferBytes() const
{
    qint64 bytes = 0;
    for (const QPixmap *pm : {&m_canvas, &m_titleBuf, &m_titleText, &m_timeBuf, &m_curveBuf,
                              &m_posBuf, &m_hPosBuf, &m_rowBuf, &m_sliderBuf})
        bytes += qint64(pm->width()) * pm->height() * pm->depth() / 8;
    return bytes;
}

void SkinPainter::setBaseFont(const QFont &font)
{
    m_rowFont = font;
    m_rowFont.setPixelSize(12);
}

void SkinPainter::changed(const QRect &rect)
{
    if (m_updater)
        m_updater(rect);
}

void SkinPainter::skinLoaded()
{
    const Skin &s = m_skin;
    m_titleBuf = makeBuffer(s[K::TitleWin][2], s[K::TitleWin][3]);
    m_timeBuf = makeBuffer(s[K::TimeWin][6], s[K::TimeWin][7]);
    m_curveBuf = makeBuffer(s[K::EqalzrWin][2], s[K::EqalzrWin][3]);
    m_posBuf = makeBuffer(s[K::PosBar][2], s[K::PosBar][3]);
    m_hPosBuf = makeBuffer(s[K::HPosBar][2], s[K::HPosBar][3]);
    if (s[K::Eq][2] > 0 && s[K::Eq][3] > 0)
        m_sliderBuf = makeBuffer(s[K::Eq][2], s[K::Eq][3]);
    m_lastPercent = -1;
    m_titleWidth = -1;
    m_titleOffset = 0;
    unsettleTitle();
    m_topRow = 0;
}

QString SkinPainter::modeTitle() const
{
    return m_state.xmmsMode ? QStringLiteral("ORBAL v 3.30 for motorola A1200")
                            : QStringLiteral("MPLAYER v3.30 for motorola A1200");
}

void SkinPainter::unsettleTitle()
{
    m_titleSettled = false;
    if (m_titleWake)
        m_titleWake();
}

void SkinPainter::setTitleText(const QString &text)
{
    const QString wanted = text.isNull() ? modeTitle() : text;
    if (!text.isNull() && wanted == m_title)
        return;
    m_title = wanted;
    m_titleOffset = 0;
    m_titleWidth = -1;
    unsettleTitle();
}

void SkinPainter::showMessage(const QString &text, int ticks)
{
    m_message = text;
    m_countdown = ticks;
    unsettleTitle();
}

QPixmap SkinPainter::turn(const QPixmap &landscape)
{
    return landscape.transformed(QTransform().rotate(270));
}

QPixmap SkinPainter::turnedBackground() const
{
    QPixmap land(ScreenH, ScreenW);
    land.fill(Qt::black);
    {
        QPainter p(&land);
        p.drawPixmap(0, 0, m_background);
    }
    return turn(land);
}

void SkinPainter::drawElement(QPainter &p, int key, int dx, int dy, bool alternate) const
{
    const Skin::List &e = m_skin[Skin::Key(key)];
    int sx = e[4];
    int sy = e[5];
    if (alternate) {
        switch (key) {
        case K::Play:
        case K::HPosA:
        case K::HPosB:
            sx += e[2];
            break;
        case K::HPlay:
            sy -= e[3];
            break;
        default:
            sy += e[3];
            break;
        }
    }
    blit(p, e[0] + dx, e[1] + dy, m_skin.picture(), sx, sy, e[2], e[3]);
}

// --- full repaint ---------------------------------------------------------------------------

void SkinPainter::paintFull()
{
    if (m_skin.picture().isNull())
        return;
    m_lastPercent = -1;
    unsettleTitle();
    auto updater = std::move(m_updater); // the window repaints all of it afterwards
    m_updater = nullptr;
    {
        QPainter p(&m_canvas);
        switch (m_state.layoutMode) {
        case Form::MiniBar:
            paintMini(p);
            break;
        case Form::Horizontal:
            paintHorizontal(p);
            break;
        default:
            paintVertical(p);
            break;
        }
    }
    if (m_state.layoutMode == Form::Vertical) {
        drawPlayStatus(-1);
        const OrbalState &s = m_state;
        if (s.playlistPanelOpen && !s.fileList.isEmpty()) {
            int row = s.currentIndex;
            if (s.xmmsMode && m_view.playlistPos)
                row = m_view.playlistPos();
            drawPlaylistBar(thumbOffsetFor(row, int(s.fileList.size()), m_skin.visibleRows(),
                                           m_skin[K::PlistBar][3]),
                            false);
        }
        if (s.lyricPanelOpen && s.lyricsLoaded)
            drawLyrics();
        if (s.eqPanelOpen && s.xmmsMode)
            drawEqCurve();
    } else if (m_state.layoutMode == Form::MiniBar && m_state.lyricsLoaded) {
        drawLyrics();
    }
    m_updater = std::move(updater);
}

void SkinPainter::drawLyrics()
{
    if (!m_lyricDrawer)
        return;
    QRect drawn;
    {
        QPainter p(&m_canvas);
        drawn = m_lyricDrawer(p);
    }
    if (!drawn.isEmpty())
        changed(drawn);
}

QBitmap SkinPainter::miniMask() const
{
    return m_skin.miniMask(m_state.lyricsLoaded);
}

void SkinPainter::paintMini(QPainter &p)
{
    m_canvas.fill(Qt::black);
    p.drawPixmap(0, 0, m_skin.miniMain());
    const QPixmap &btn = m_skin.miniButtons();
    for (const MiniPiece &m : kMiniPieces)
        blit(p, m.dx, m.dy, btn, m.sx, m.sy, m.w, m.h);
    const int shift = m_state.playingFlag ? kMiniPlayingShift : 0;
    blit(p, kMiniPlay.dx, kMiniPlay.dy, btn, kMiniPlay.sx + shift, kMiniPlay.sy, kMiniPlay.w,
         kMiniPlay.h);
}

void SkinPainter::paintVertical(QPainter &p)
{
    const OrbalState &s = m_state;
    const QPixmap &pic = m_skin.picture();
    blit(p, 0, 0, pic, 0, m_skin.mwinY(), ScreenW, m_skin.mwinH());
    for (int key : {K::ExitWin, K::HWin, K::MiniWin, K::Prev})
        drawElement(p, key);
    drawElement(p, K::Play, 0, 0, s.playingFlag != 0);
    for (int key : {K::Stop, K::Next})
        drawElement(p, key);
    for (int key : {K::Audio3dBtn, K::BassBooster, K::PosA, K::PosB})
        drawElement(p, key, 0, 0, isOn(m_state, key));
    drawElement(p, K::VlBtn);
    const Skin::List &vl = m_skin[K::VlBtn];
    blit(p, vl[0] + m_skin.volTravel() * s.volume / 100, vl[1], pic, vl[6], vl[7], vl[8], vl[9]);
    if (s.playlistPanelOpen)
        drawPlaylistPanel(p);
    if (s.lyricPanelOpen)
        drawLyricPanelFrame(p);
    if (s.eqPanelOpen)
        drawEqPanel(p);
    drawTabs(p);
}

void SkinPainter::drawPlaylistPanel(QPainter &p)
{
    const Skin::List &w = m_skin[K::PlistWin];
    blit(p, 0, w[1], m_skin.picture(), 0, w[5], ScreenW, w[3]);
    drawElement(p, K::OpBtn);
    drawElement(p, K::PlistBtn);
    drawElement(p, K::ShufBtn, 0, 0, isOn(m_state, K::ShufBtn));
    drawElement(p, K::RepeatBtn, 0, 0, isOn(m_state, K::RepeatBtn));
}

void SkinPainter::drawLyricPanelFrame(QPainter &p)
{
    const Skin::List &w = m_skin[K::LrcWin];
    blit(p, 0, w[1], m_skin.picture(), 0, w[5], ScreenW, w[3]);
    drawElement(p, K::ShowLrcBtn, 0, 0, isOn(m_state, K::ShowLrcBtn));
    drawElement(p, K::TextCodecBtn, 0, 0, isOn(m_state, K::TextCodecBtn));
    drawElement(p, K::FontBtn);
    drawElement(p, K::ColorBtn);
}

void SkinPainter::drawEqPanel(QPainter &p)
{
    const OrbalState &s = m_state;
    const Skin::List &w = m_skin[K::EqWin];
    const Skin::List &eq = m_skin[K::Eq];
    const Skin::List &pre = m_skin[K::EqPreamp];
    blit(p, 0, w[1], m_skin.picture(), 0, w[5], ScreenW, w[3]);
    for (int i = 0; i < 10; ++i) {
        renderSlider(i, s.eqBands[i]);
        p.drawPixmap(eq[0] + i * eq[10], eq[1], m_sliderBuf);
    }
    blit(p, pre[0] + 2, pre[1] - eq[9] / 2 + pre[3] / 2 - s.eqPreampValue, m_skin.picture(), eq[6],
         eq[7], eq[8], eq[9]);
    drawElement(p, K::PresetsBtn);
    drawElement(p, K::EqBtnZero);
    drawElement(p, K::EqeBtn, 0, 0, isOn(m_state, K::EqeBtn));
}

void SkinPainter::drawTabs(QPainter &p)
{
    drawElement(p, K::BtnLrcWin, 0, 0, isOn(m_state, K::BtnLrcWin));
    drawElement(p, K::BtnEqWin, 0, 0, isOn(m_state, K::BtnEqWin));
    if (m_skin.winEnabled())
        drawElement(p, K::BtnPlistWin, 0, 0, isOn(m_state, K::BtnPlistWin));
}

void SkinPainter::paintHorizontal(QPainter &p)
{
    const OrbalState &s = m_state;
    QPixmap land(ScreenH, ScreenW);
    land.fill(Qt::black);
    {
        QPainter lp(&land);
        lp.drawPixmap(0, 0, m_background);
        if (!s.lyricsLoaded && s.xmmsMode && m_view.stream) {
            const PlayerView::Stream st = m_view.stream();
            lp.setPen(s.lyricColor);
            lp.drawText(40, 70, QStringLiteral("Speed:%1 Kbps").arg(st.rate / 1000));
            lp.drawText(40, 100, QStringLiteral("Sampl:%1 KHZ").arg(st.frequency / 1000));
            if (st.channels == 2)
                lp.drawText(40, 130, QStringLiteral("Chl : Stereo"));
            else if (st.channels == 1)
                lp.drawText(40, 130, QStringLiteral("Chl : Mono"));
            lp.drawText(QRect(40, 140, 60, 30), Qt::AlignLeft | Qt::AlignTop,
                        QStringLiteral("Artist:"));
            QStringDecoder gbk("GBK");
            const QString title =
                gbk.isValid() ? gbk.decode(st.title) : QString::fromLatin1(st.title);
            lp.drawText(QRect(100, 140, 210, 50), Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap,
                        title);
        }
    }
    m_canvas.fill(Qt::black);
    p.drawPixmap(0, 0, turn(land));

    const int shift = s.hPanelsHidden ? 63 : 0;
    drawElement(p, K::HWinT, -shift);
    drawElement(p, K::HWinB, shift);
    if (s.hPanelsHidden)
        return;
    for (int key : {K::HExitWin, K::VWinBtn, K::HMiniWin, K::HPrev})
        drawElement(p, key);
    drawElement(p, K::HPlay, 0, 0, s.playingFlag != 0);
    for (int key : {K::HStop, K::HNext})
        drawElement(p, key);
    drawElement(p, K::HPosA, 0, 0, s.markASet);
    drawElement(p, K::HPosB, 0, 0, s.markBSet);
    const Skin::List &vl = m_skin[K::HVlBtn];
    blit(p, vl[0], vl[1] - 2, m_skin.picture(), vl[4], vl[5], vl[2], vl[3] + 4);
    blit(p, vl[0], vl[1] + m_skin.hVolTravel() * (100 - s.volume) / 100, m_skin.picture(), vl[6],
         vl[7], vl[8], vl[9]);
}

// --- title ticker ---------------------------------------------------------------------------

void SkinPainter::drawTitle()
{
    const Skin::List &tw = m_skin[K::TitleWin];
    const int mode = int(m_state.layoutMode);
    if (m_titleBuf.isNull() || tw[2] <= 0 || tw[3] <= 0)
        return;
    const int W = tw[2];
    const int place = mode * 2 + (m_state.hPanelsHidden ? 1 : 0);
    if (m_titleSettled && m_titleSettledMode == place && m_countdown <= 0)
        return;
    bool drewTitle = false;
    auto draw = [&](QPainter &p) {
        blit(p, 0, 0, m_skin.picture(), tw[4], tw[5], tw[2], tw[3]);
        const int flags = Qt::AlignLeft | Qt::AlignTop;
        if (m_countdown > 0) {
            --m_countdown;
            p.setFont(m_titleFont);
            p.setPen(m_skin.titleColor());
            p.drawText(QRect(0, 0, 4096, m_titleBuf.height()), flags, m_message);
        } else if (!m_title.isNull()) {
            drewTitle = true;
            if (m_titleWidth < 0) {
                // Measured and drawn once per title; ticks copy it at their offset.
                const QRect bound =
                    QFontMetrics(m_titleFont)
                        .boundingRect(QRect(0, 0, 4096, m_titleBuf.height()), flags, m_title);
                m_titleWidth = bound.width();
                m_titleDir = -1;
                m_titleOffset = m_titleWidth > W ? 5 : 0;
                m_titleText = QPixmap(qMax(1, bound.right() + 1), m_titleBuf.height());
                m_titleText.fill(Qt::transparent);
                QPainter t(&m_titleText);
                t.setFont(m_titleFont);
                t.setPen(m_skin.titleColor());
                t.drawText(QRect(0, 0, 4096, m_titleBuf.height()), flags, m_title);
                p.drawPixmap(0, 0, m_titleText);
            } else {
                int x = W - m_titleWidth;
                if (m_titleOffset >= 0)
                    x = 0;
                else if (m_titleOffset + m_titleWidth > W)
                    x = m_titleOffset;
                p.drawPixmap(x, 0, m_titleText);
            }
            if (m_titleWidth > W) {
                m_titleOffset += m_titleDir;
                if (m_titleOffset + m_titleWidth <= W - 3)
                    m_titleDir = 1;
                else if (m_titleOffset > 4)
                    m_titleDir = -1;
            }
        }
    };
    if (mode == 2) {
        // Straight onto the window picture: one painter a step, five steps a second.
        const QRect area(tw[0], tw[1], tw[2], tw[3]);
        QPainter c(&m_canvas);
        c.setClipRect(area);
        c.translate(area.topLeft());
        draw(c);
        changed(area);
    } else {
        {
            QPainter p(&m_titleBuf);
            draw(p);
        }
        if (mode == 3) {
            const QPixmap turned = turn(m_titleBuf);
            const int x = m_state.hPanelsHidden ? 10 : 21;
            QPainter c(&m_canvas);
            c.drawPixmap(x, 112, turned);
            changed(QRect(QPoint(x, 112), turned.size()));
        }
    }
    m_titleSettled = drewTitle && m_titleWidth <= W;
    m_titleSettledMode = place;
}

// --- digits, position bar, indicator --------------------------------------------------------

void SkinPainter::drawDigitCells(QPainter &p, int x0, int y0, int seconds) const
{
    const Skin::List &t = m_skin[K::TimeWin];
    seconds = qMax(0, seconds);
    const QByteArray mm = QByteArray::number(seconds / 60).rightJustified(2, '0').left(2);
    const int ss = seconds % 60;
    const int glyphs[5] = {mm[0] - '0', mm[1] - '0', 10, ss / 10, ss % 10};
    const int w = t[2];
    for (int k = 0; k < 5; ++k)
        blit(p, x0 + k * w, y0, m_skin.picture(), t[4] + glyphs[k] * w, t[5], w, t[3]);
}

void SkinPainter::drawDigits(int seconds)
{
    const OrbalState &s = m_state;
    const Skin::List &t = m_skin[K::TimeWin];
    seconds = qMax(0, seconds);
    if (s.layoutMode == Form::MiniBar) {
        const QByteArray mm = QByteArray::number(seconds / 60).rightJustified(2, '0').left(2);
        const int ss = seconds % 60;
        const int digits[4] = {mm[0] - '0', mm[1] - '0', ss / 10, ss % 10};
        const int xs[4] = {90, 101, 121, 132};
        QPainter p(&m_canvas);
        for (int k = 0; k < 4; ++k)
            blit(p, xs[k], 8, m_skin.miniButtons(), 82 + 10 * digits[k], 0, 10, 16);
        blit(p, 114, 8, m_skin.miniButtons(), 182, 0, 4, 16);
        changed(QRect(90, 8, 52, 16));
    } else if (s.layoutMode == Form::Vertical) {
        QPainter p(&m_canvas);
        drawDigitCells(p, t[0], t[1], seconds);
        changed(QRect(t[0], t[1], 5 * t[2], t[3]));
    } else {
        m_timeBuf.fill(Qt::black);
        {
            QPainter tp(&m_timeBuf);
            drawDigitCells(tp, 0, 0, seconds);
        }
        const QPixmap turned = turn(m_timeBuf);
        const int x = s.hPanelsHidden ? 5 : 40;
        QPainter p(&m_canvas);
        p.drawPixmap(x, 10, turned);
        changed(QRect(QPoint(x, 10), turned.size()));
    }
}

void SkinPainter::drawPosBar(int percent, bool announce)
{
    const OrbalState &s = m_state;
    if (percent == m_lastPercent && !announce)
        return;
    if (s.layoutMode == Form::Vertical) {
        const Skin::List &b = m_skin[K::PosBar];
        m_lastPercent = percent;
        {
            QPainter p(&m_posBuf);
            blit(p, 0, 0, m_skin.picture(), b[4], b[5], b[2], b[3]);
            if (percent >= 0)
                blit(p, (b[2] - 32) * percent / 100, 1, m_skin.picture(), b[6],
                     b[7] + (m_thumbDragging ? b[9] : 0), b[8], b[9]);
        }
        QPainter c(&m_canvas);
        c.drawPixmap(b[0], b[1], m_posBuf);
        changed(QRect(b[0], b[1], b[2], b[3]));
        if (announce)
            showMessage(QStringLiteral("Moved To  %1%").arg(percent), 5);
    } else if (s.layoutMode == Form::Horizontal && !s.hPanelsHidden) {
        const Skin::List &b = m_skin[K::HPosBar];
        m_lastPercent = percent;
        {
            QPainter p(&m_hPosBuf);
            blit(p, 0, 0, m_skin.picture(), b[4], b[5], b[2], b[3]);
            if (percent >= 0)
                blit(p, 1, (b[3] - 32) * percent / 100, m_skin.picture(),
                     b[6] + (m_thumbDragging ? b[8] : 0), b[7], b[8], b[9]);
        }
        QPainter c(&m_canvas);
        c.drawPixmap(b[0], b[1], m_hPosBuf);
        changed(QRect(b[0], b[1], b[2], b[3]));
        if (announce)
            showMessage(QStringLiteral("Moved To  %1%").arg(100 - percent), 5);
    }
}

int SkinPainter::playerState() const
{
    if (m_view.state)
        return m_view.state();
    const OrbalState &s = m_state;
    if (s.pausedFlag)
        return 1;
    return s.playingFlag ? 0 : 2;
}

void SkinPainter::drawPlayStatus(int state)
{
    if (m_state.layoutMode != Form::Vertical)
        return;
    if (state < 0)
        state = playerState();
    if (state == 4)
        state = 0;
    const Skin::List &e = m_skin[K::PlayDisplayWin];
    QPainter p(&m_canvas);
    blit(p, e[0], e[1], m_skin.picture(), e[0], e[1], e[2], e[3]);
    if (state >= 0 && state <= 2)
        blit(p, e[0], e[1], m_skin.picture(), e[4], e[5] + state * e[3], e[2], e[3]);
    changed(e.rect());
}

// --- playlist -------------------------------------------------------------------------------

int SkinPainter::thumbOffsetFor(int row, int count, int visibleRows, int barHeight)
{
    const long long travel = barHeight - 20;
    if (row < 0)
        return int(travel);
    if (count <= visibleRows)
        return 0;
    const long long span = count - visibleRows;
    return row < span ? int(row * travel / span) : int(travel);
}

void SkinPainter::drawRows(int firstRow)
{
    const OrbalState &s = m_state;
    const Skin::List &bar = m_skin[K::PlistBar];
    const int n = int(s.fileList.size());
    const int r = m_skin.visibleRows();
    int first = 0;
    int count = n;
    if (n > r) {
        first = qBound(0, firstRow, n - r);
        count = r;
    }
    QPainter c(&m_canvas);
    for (int k = 0; k < count; ++k) {
        const int row = first + k;
        {
            QPainter p(&m_rowBuf);
            blit(p, 0, 0, m_skin.picture(), 10, bar[1] + 10, 210, 14);
            p.setFont(m_rowFont);
            p.setPen(m_skin.playlistTextColor());
            if (row == s.selectedRow) {
                p.setBackgroundMode(Qt::OpaqueMode);
                p.setBackground(Qt::white);
            }
            p.drawText(QRect(0, 0, 210, 14), Qt::AlignLeft | Qt::AlignTop,
                       QStringLiteral("%1.%2").arg(row + 1).arg(fileNameOf(s.fileList.at(row))));
        }
        c.drawPixmap(10, bar[1] + 20 * k, m_rowBuf, 0, 0, 210, 14);
    }
    if (count > 0)
        changed(QRect(10, bar[1], 210, 20 * (count - 1) + 14));
}

void SkinPainter::drawPList(int firstRow)
{
    if (m_state.layoutMode != Form::Vertical)
        return;
    drawRows(firstRow);
}

void SkinPainter::drawPlaylistBar(int offset, bool pressed)
{
    if (m_state.layoutMode != Form::Vertical)
        return;
    const Skin::List &b = m_skin[K::PlistBar];
    {
        QPainter p(&m_canvas);
        blit(p, b[0], b[1], m_skin.picture(), b[4], b[5], b[2], b[3]);
        blit(p, b[0] + 1, b[1] + offset, m_skin.picture(), b[6], b[7] + (pressed ? b[9] : 0), b[8],
             b[9]);
    }
    changed(b.rect());
    const int n = int(m_state.fileList.size());
    const int r = m_skin.visibleRows();
    m_topRow = 0;
    if (n > r && b[3] - 20 > 0)
        m_topRow = qBound(0, int((long long)(n - r) * offset / (b[3] - 20)), n - r);
    drawRows(m_topRow);
}

// --- buttons --------------------------------------------------------------------------------

void SkinPainter::drawButton(Command button, bool pressed)
{
    const OrbalState &s = m_state;
    const int number = int(button);
    if (s.layoutMode == Form::MiniBar) {
        const QPixmap &btn = m_skin.miniButtons();
        const int dy = pressed ? kMiniPressedShift : 0;
        QPainter p(&m_canvas);
        if (number == 0) {
            blit(p, 5, 3, btn, 42, dy, 20, 20);
            changed(QRect(5, 3, 20, 20));
        } else if (number == 1 || number == 2) {
            blit(p, 26, 3, btn, number == 2 ? kMiniPlayingShift : 0, dy, 21, 20);
            changed(QRect(26, 3, 21, 20));
        } else if (number == 4) {
            blit(p, 47, 3, btn, 62, dy, 20, 20);
            changed(QRect(47, 3, 20, 20));
        }
        return;
    }
    if (s.layoutMode == Form::Vertical && number >= 11 && number <= 13) {
        {
            QPainter p(&m_canvas);
            if (number == 11)
                drawPlaylistPanel(p);
            else if (number == 12)
                drawLyricPanelFrame(p);
            else
                drawEqPanel(p);
            drawTabs(p);
        }
        changed(QRect(0, 0, ScreenW, ScreenH));
        if (number == 11 && !s.fileList.isEmpty())
            drawPlaylistBar(thumbOffsetFor(s.selectedRow, int(s.fileList.size()),
                                           m_skin.visibleRows(), m_skin[K::PlistBar][3]),
                            false);
        if (number == 13 && s.xmmsMode)
            drawEqCurve();
        return;
    }
    if (s.layoutMode == Form::Horizontal && s.hPanelsHidden)
        return;
    for (const ButtonRow &row : kButtons) {
        if (row.number != number)
            continue;
        const int key = s.layoutMode == Form::Horizontal ? row.horizontal : row.vertical;
        if (key < 0)
            return;
        const Skin::List &e = m_skin[Skin::Key(key)];
        int sx = e[4];
        int sy = e[5];
        if (number == 2)
            sx += (key == K::HPlay) ? 0 : e[2];
        if (number == 2 && key == K::HPlay)
            sy -= e[3];
        if (pressed) {
            if (s.layoutMode == Form::Horizontal)
                sx += e[2];
            else
                sy += e[3];
        } else if (isOn(m_state, key)) {
            if (key == K::HPosA || key == K::HPosB)
                sx += e[2];
            else
                sy += e[3];
        }
        QPainter p(&m_canvas);
        blit(p, e[0], e[1], m_skin.picture(), sx, sy, e[2], e[3]);
        changed(e.rect());
        return;
    }
}

void SkinPainter::drawMiniPicture(int dx, int dy, int sx, int sy, int w, int h)
{
    {
        QPainter p(&m_canvas);
        blit(p, dx, dy, m_skin.miniButtons(), sx, sy, w, h);
    }
    changed(QRect(dx, dy, w, h));
}

void SkinPainter::drawElementPressed(int key, bool pressed)
{
    {
        QPainter p(&m_canvas);
        drawElement(p, key, 0, 0, pressed);
    }
    changed(m_skin[Skin::Key(key)].rect());
}

// --- equalizer ------------------------------------------------------------------------------

void SkinPainter::renderSlider(int slot, int value)
{
    const Skin::List &eq = m_skin[K::Eq];
    const QPixmap &pic = m_skin.picture();
    QPainter p(&m_sliderBuf);
    blit(p, 0, 0, pic, eq[0] + slot * eq[10], eq[1], eq[2], eq[3]);
    const int frame = value < 0 ? value / 2 + 13 : value / 2;
    const int rowY = value < 0 ? eq[5] : eq[5] + eq[3];
    blit(p, 0, 0, pic, eq[4] + frame * eq[2], rowY, eq[2], eq[3]);
    // Bands always take the lower knob picture, held or not; only the full repaint's preamp
    // takes the upper one.
    blit(p, 1, eq[3] / 2 - eq[9] / 2 - value, pic, eq[6], eq[7] + eq[9], eq[8], eq[9]);
}

void SkinPainter::setEqValue(int slot, int value, bool /*pressed*/)
{
    OrbalState &s = m_state;
    if (slot < 0)
        return;
    if (slot < 10)
        s.eqBands[slot] = value;
    else
        s.eqPreampValue = value;
    if (s.layoutMode != Form::Vertical || !s.eqPanelOpen)
        return;
    const Skin::List &eq = m_skin[K::Eq];
    QPainter c(&m_canvas);
    if (slot < 10) {
        renderSlider(slot, value);
        c.drawPixmap(eq[0] + slot * eq[10], eq[1], m_sliderBuf);
        changed(QRect(eq[0] + slot * eq[10], eq[1], m_sliderBuf.width(), m_sliderBuf.height()));
    } else {
        const Skin::List &pre = m_skin[K::EqPreamp];
        blit(c, pre[0], pre[1], m_skin.picture(), pre[4], pre[5], pre[2], pre[3]);
        blit(c, pre[0] + 2, pre[1] - eq[9] / 2 + pre[3] / 2 - value, m_skin.picture(), eq[6],
             eq[7] + eq[9], eq[8], eq[9]);
        changed(pre.rect().adjusted(0, -eq[9], eq[8], eq[9]));
    }
}

void SkinPainter::drawEqCurve()
{
    const Skin::List &w = m_skin[K::EqalzrWin];
    const OrbalState &s = m_state;
    {
        QPainter p(&m_curveBuf);
        blit(p, 0, 0, m_skin.picture(), w[4], w[5], w[2], w[3]);
        int x = 0;
        for (int k = 0; k < 9; ++k) {
            for (int j = 0; j < 12; ++j, ++x) {
                const int y = ((11 - j) * s.eqBands[k] + j * s.eqBands[k + 1]) / 33;
                blit(p, x, 10 - y, m_skin.picture(), w[6], w[7] - y, 1, 1);
            }
        }
    }
    QPainter c(&m_canvas);
    c.drawPixmap(w[0], w[1], m_curveBuf);
    changed(QRect(w[0], w[1], w[2], w[3]));
}

// --- lights, volume, slide ------------------------------------------------------------------

void SkinPainter::drawLights()
{
    if (m_state.lightsStyle < 0)
        return;
    const QPixmap left = m_skin.lights(false, m_lightsFrame);
    const QPixmap right = m_skin.lights(true, m_lightsFrame);
    m_lightsFrame = m_lightsFrame % 3 + 1;
    if (left.isNull() && right.isNull())
        return;
    QPainter p(&m_canvas);
    p.drawPixmap(0, 10, left);
    p.drawPixmap(100, 10, right);
    changed(QRect(QPoint(0, 10), left.size()) | QRect(QPoint(100, 10), right.size()));
}

void SkinPainter::drawVolumeSlider(int position, bool pressed)
{
    const OrbalState &s = m_state;
    if (s.layoutMode == Form::Vertical) {
        const Skin::List &e = m_skin[K::VlBtn];
        QPainter p(&m_canvas);
        drawElement(p, K::VlBtn);
        // The full repaint's travel, so the knob does not jump between the two.
        blit(p, e[0] + m_skin.volTravel() * position / 100, e[1], m_skin.picture(), e[6],
             e[7] + (pressed ? e[9] : 0), e[8], e[9]);
        changed(e.rect());
    } else if (s.layoutMode == Form::Horizontal && !s.hPanelsHidden) {
        const Skin::List &e = m_skin[K::HVlBtn];
        QPainter p(&m_canvas);
        blit(p, e[0], e[1] - 2, m_skin.picture(), e[4], e[5], e[2], e[3] + 4);
        blit(p, e[0], e[1] + m_skin.hVolTravel() * position / 100, m_skin.picture(),
             e[6] + (pressed ? e[8] : 0), e[7], e[8], e[9]);
        changed(QRect(e[0], e[1] - 2, e[2], e[3] + 4));
    }
}

void SkinPainter::drawSlideFrame(const QPixmap &turnedBackground, int d)
{
    unsettleTitle();
    {
        QPainter p(&m_canvas);
        p.drawPixmap(0, 0, turnedBackground);
        const Skin::List &t = m_skin[K::HWinT];
        const Skin::List &b = m_skin[K::HWinB];
        blit(p, -d, t[1], m_skin.picture(), t[4], t[5], t[2], t[3]);
        blit(p, b[0] + d, b[1], m_skin.picture(), b[4], b[5], b[2], b[3]);
    }
    changed(QRect(0, 0, ScreenW, ScreenH));
}
