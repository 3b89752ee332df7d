#include "skinbuilder.h"

#include "dropin/kconfig.h"

#include <QDir>
#include <QFile>
#include <QPainterPath>
#include <QTransform>

#include <algorithm>
#include <cmath>

namespace
{

constexpr int sheetWidth = 760;
constexpr int packLeft = 240;    // x 0-239 holds the full-width pictures
constexpr int lyricStripY = 463; // where the mini bar's lyric strip is read
constexpr int firstStripY = 486; // panel strips go below it
constexpr int levelY = 322;      // equalizer level frames, between band and lyric strip

// Turned the way the horizontal window is turned onto the screen.
QImage turned(const QImage &img)
{
    return img.transformed(QTransform().rotate(270));
}

// A rectangle of the 320 x 240 horizontal layout as it lands on the 240 x 320 screen.
QRect onScreen(const QRect &l)
{
    return QRect(l.y(), 320 - l.x() - l.width(), l.height(), l.width());
}

QImage blank(int w, int h)
{
    QImage img(w, h, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    return img;
}

// Meter levels of the three lights frames: eleven spectrum columns (0-6) and the left and
// right level rows (0-10).
constexpr int spectrum[3][11] = {{2, 4, 6, 5, 3, 4, 2, 3, 1, 2, 1},
                                 {4, 6, 4, 3, 5, 6, 4, 2, 3, 1, 2},
                                 {3, 5, 5, 6, 4, 2, 3, 4, 2, 3, 1}};
constexpr int levels[3][2] = {{7, 6}, {9, 8}, {6, 7}};

const char *const bandLabels[10] = {"60", "170", "310", "600", "1K",
                                    "3K", "6K",  "12K", "14K", "16K"};

} // namespace

SkinBuilder::SkinBuilder(const SkinDesign &design) : d(design), art(d) {}

const QImage &SkinBuilder::scene(Scene s) const
{
    return s == Band ? m_band : m_scenes[s];
}

QPoint SkinBuilder::sourceOf(Scene s, const QPoint &pt) const
{
    if (s == Band)
        return pt; // the band sits at (0,0) of the skin picture
    return QPoint(pt.x(), m_stripY[s] + pt.y() - m_panelY[s]);
}

QPoint SkinBuilder::place(const QImage &block)
{
    if (m_packX + block.width() > sheetWidth) {
        m_packX = packLeft;
        m_packY += m_shelfH + 1;
        m_shelfH = 0;
    }
    const QPoint at(m_packX, m_packY);
    QPainter p(&m_sheet);
    p.setCompositionMode(QPainter::CompositionMode_Source);
    p.drawImage(at, block);
    m_packX += block.width() + 1;
    m_shelfH = std::max(m_shelfH, block.height());
    m_usedH = std::max(m_usedH, m_packY + block.height());
    return at;
}

void SkinBuilder::set(const QString &key, const QList<int> &items, const QString &colour)
{
    QStringList list;
    for (int v : items)
        list << QString::number(v);
    if (!colour.isEmpty())
        list << colour;
    m_conf[key] = list;
}

QImage SkinBuilder::cell(Scene s, const QRect &r, SkinArt::Face f, SkinArt::Symbol sym,
                         const QString &text) const
{
    QImage img = scene(s).copy(r);
    QPainter p(&img);
    art.button(p, QRectF(0, 0, r.width(), r.height()), f, sym, text);
    return img;
}

void SkinBuilder::twoRowButton(const QString &key, Scene s, SkinArt::Face upper,
                               SkinArt::Face lower, SkinArt::Symbol sym, const QString &text)
{
    const QRect r = d.v.value(key);
    if (r.isEmpty()) {
        set(key, {0, 0, 0, 0, 0, 0});
        return;
    }
    QImage block = blank(r.width(), 2 * r.height());
    QPainter p(&block);
    p.drawImage(0, 0, cell(s, r, upper, sym, text));
    p.drawImage(0, r.height(), cell(s, r, lower, sym, text));
    p.end();
    const QPoint at = place(block);
    set(key, {r.x(), r.y(), r.width(), r.height(), at.x(), at.y()});
}

// ---- vertical window ---------------------------------------------------------------

void SkinBuilder::paintBase(QImage &img) const
{
    QPainter p(&img);
    art.body(p, img.rect());
    art.topBar(p, QRect(0, 0, 240, 32));

    // The menu corner: the window opens its main menu for a tap here.
    const QRectF menu(4, 5, 54, 22);
    art.face(p, menu, SkinArt::Normal);
    art.symbol(p, QRectF(8, 8, 16, 16), SkinArt::Menu, d.icon);
    art.label(p, QRectF(24, 5, 32, 22), QStringLiteral("MENU"), d.icon, 8);

    art.lcd(p, d.lcdRect);
    p.setPen(QPen(d.lcdEdge, 1));
    p.drawLine(QPointF(101.5, d.lcdRect.top() + 5), QPointF(101.5, d.lcdRect.top() + 25));
    art.lcd(p, QRectF(99, 8, 61, 22)); // behind the level rows in the top bar
    paintMeters(p, 0);

    const QRect pos = d.v.value("posbar");
    art.groove(p, pos);
    const QRect vol = d.v.value("VL_BTN");
    art.groove(p, QRectF(vol).adjusted(2, vol.height() / 2 - 2, -2, -(vol.height() / 2 - 2)));
    art.symbol(p, d.speaker, SkinArt::Speaker, d.label);
}

void SkinBuilder::paintMeters(QPainter &p, int frame) const
{
    // Spectrum in the display's left part, level rows in the top bar: the lights pictures.
    const int top = d.lcdRect.top();
    for (int col = 0; col < 11; ++col)
        for (int seg = 0; seg < 6; ++seg) {
            const bool lit = frame > 0 && seg < spectrum[frame - 1][col];
            const QColor c = seg >= 5 ? d.warm : seg >= 4 ? d.lcdText.lighter(120) : d.lcdText;
            const QRectF r = d.dotMatrix ? QRectF(10 + 8 * col, top + 20.5 - 3.5 * seg, 3.2, 3.2)
                                         : QRectF(9 + 8 * col, top + 21 - 3.5 * seg, 6, 2.4);
            art.led(p, r, c, lit);
        }
    art.label(p, QRectF(101, 11, 8, 9), QStringLiteral("L"), d.label, 7);
    art.label(p, QRectF(101, 20, 8, 9), QStringLiteral("R"), d.label, 7);
    for (int row = 0; row < 2; ++row)
        for (int k = 0; k < 10; ++k) {
            const bool lit = frame > 0 && k < levels[frame - 1][row];
            const QColor c = k >= 8 ? d.warm : d.lcdText;
            const QRectF r = d.dotMatrix ? QRectF(111 + 4.6 * k, 13 + 9 * row, 3.2, 3.2)
                                         : QRectF(110 + 4.6 * k, 13 + 9 * row, 3.4, 4);
            art.led(p, r, c, lit);
        }
}

void SkinBuilder::paintPanel(QImage &img, Scene which) const
{
    const int y = which == PlaylistPanel ? d.plistY : which == LyricPanel ? d.lrcY : d.eqY;
    const int h = which == PlaylistPanel ? d.plistH : which == LyricPanel ? d.lrcH : d.eqH;
    QPainter p(&img);
    const QRect strip(0, y, 240, h);
    art.body(p, strip);
    art.panel(p, QRectF(2, y + 1, 236, h - 2));
    switch (which) {
    case PlaylistPanel: {
        const QRect bar = d.v.value("plist_Bar");
        art.inset(p, QRectF(6, bar.top() - 2, 216, bar.height() + 3), d.inset);
        art.groove(p, bar);
        const QRect open = d.v.value("plist_BTN");
        const QRect shuf = d.v.value("shuf_BTN");
        art.label(
            p, QRectF(open.right() + 2, open.top(), shuf.left() - open.right() - 4, open.height()),
            QStringLiteral("PLAYLIST"), d.label, 8);
        break;
    }
    case LyricPanel: {
        const QRect show = d.v.value("lrcwin_show");
        // Dark in both skins: lyric colours are the user's, light grey unless changed.
        art.inset(p, QRectF(show).adjusted(4, 0, -4, 0), d.dotMatrix ? d.lcd : d.inset);
        break;
    }
    case EqPanel: {
        const QRect curve = d.v.value("eqalzr_win");
        art.inset(p, curve, d.lcd);
        // The caption sits in the button row when the switch and presets leave room for it.
        const QRect presets = d.v.value("presets_BTN");
        const QRect zero = d.v.value("EQ_BTN_ZERO");
        if (zero.left() - presets.right() > 60)
            art.label(p,
                      QRectF(presets.right() + 2, presets.top(), zero.left() - presets.right() - 4,
                             presets.height()),
                      QStringLiteral("EQUALIZER"), d.label, 8);
        p.setPen(QPen(d.lcdGhost, 1, Qt::DotLine));
        p.drawLine(curve.left() + 2, curve.top() + 10, curve.right() - 2, curve.top() + 10);
        const QRect eq = d.v.value("EQ");
        const QRect pre = d.v.value("EQ_Preamp");
        auto column = [&](int x, int w) {
            art.groove(p, QRectF(x + w / 2.0 - 2.5, eq.top() + 3, 5, eq.height() - 6));
        };
        column(pre.left(), pre.width());
        for (int i = 0; i < 10; ++i)
            column(eq.left() + i * d.eqPitch, eq.width());
        // Zero line across all sliders.
        p.setPen(QPen(d.label, 1, Qt::DotLine));
        const int mid = eq.top() + eq.height() / 2;
        p.drawLine(pre.left() - 2, mid, eq.left() + 9 * d.eqPitch + eq.width() + 2, mid);
        art.label(p, QRectF(2, eq.top() - 1, 20, 10), QStringLiteral("+"), d.label, 8);
        art.label(p, QRectF(2, mid - 5, 20, 10), QStringLiteral("0"), d.label, 7);
        art.label(p, QRectF(2, eq.bottom() - 8, 20, 10), QStringLiteral("\u2013"), d.label, 8);
        if (y + h - eq.bottom() >= 12) {
            art.label(p, QRectF(pre.left() - 4, eq.bottom() + 2, pre.width() + 8, 10),
                      QStringLiteral("PRE"), d.label, 7);
            for (int i = 0; i < 10; ++i)
                art.label(
                    p, QRectF(eq.left() + i * d.eqPitch - 3, eq.bottom() + 2, eq.width() + 6, 10),
                    QString::fromLatin1(bandLabels[i]), d.label, 7, false);
        }
        break;
    }
    case Band:
        break;
    }
}

void SkinBuilder::buildVertical()
{
    using F = SkinArt;
    // Transport: play carries its playing picture beside it, pressed pictures below.
    twoRowButton("prev", Band, F::Normal, F::Pressed, F::Prev);
    twoRowButton("stop", Band, F::Normal, F::Pressed, F::Stop);
    twoRowButton("next", Band, F::Normal, F::Pressed, F::Next);
    {
        const QRect r = d.v.value("play");
        QImage block = blank(2 * r.width(), 2 * r.height());
        QPainter p(&block);
        p.drawImage(0, 0, cell(Band, r, F::Normal, F::Play));
        p.drawImage(r.width(), 0, cell(Band, r, F::On, F::Pause));
        p.drawImage(0, r.height(), cell(Band, r, F::Pressed, F::Play));
        p.drawImage(r.width(), r.height(), cell(Band, r, F::OnPressed, F::Pause));
        p.end();
        const QPoint at = place(block);
        set("play", {r.x(), r.y(), r.width(), r.height(), at.x(), at.y()});
    }
    twoRowButton("exit_win", Band, F::Normal, F::Pressed, F::Exit);
    twoRowButton("H_win", Band, F::Normal, F::Pressed, F::Rotate);
    twoRowButton("mini_win", Band, F::Normal, F::Pressed, F::Minimize);
    // Two-state elements: the lower picture is the "on" one.
    twoRowButton("audio3d_btn", Band, F::Normal, F::On, F::Text, QStringLiteral("3D"));
    twoRowButton("bassbooster", Band, F::Normal, F::On, F::Text, QStringLiteral("BASS"));
    twoRowButton("pos_A", Band, F::Normal, F::On, F::Text, QStringLiteral("A"));
    twoRowButton("pos_B", Band, F::Normal, F::On, F::Text, QStringLiteral("B"));
    twoRowButton("btn_plistwin", Band, F::Normal, F::On, F::Text, QStringLiteral("LIST"));
    twoRowButton("btn_lrcwin", Band, F::Normal, F::On, F::Text, QStringLiteral("LYRIC"));
    twoRowButton("btn_eqwin", Band, F::Normal, F::On, F::Text, QStringLiteral("EQ"));

    twoRowButton("OP_BTN", PlaylistPanel, F::Normal, F::Pressed, F::Open);
    twoRowButton("plist_BTN", PlaylistPanel, F::Normal, F::Pressed, F::List);
    twoRowButton("shuf_BTN", PlaylistPanel, F::Normal, F::On, F::Shuffle);
    twoRowButton("repeat_BTN", PlaylistPanel, F::Normal, F::On, F::Repeat);

    twoRowButton("showlrc_BTN", LyricPanel, F::Normal, F::On, F::Text, QStringLiteral("LRC"));
    twoRowButton("textcodec_BTN", LyricPanel, F::Normal, F::On, F::Text, QStringLiteral("BIG5"));
    twoRowButton("font_BTN", LyricPanel, F::Normal, F::Pressed, F::Text, QStringLiteral("FONT"));
    twoRowButton("color_BTN", LyricPanel, F::Normal, F::Pressed, F::Text, QStringLiteral("COLOR"));

    // The equalizer switch shows its lower picture while the equalizer is off.
    twoRowButton("EQE_BTN", EqPanel, F::On, F::Normal, F::Text, QStringLiteral("EQ"));
    twoRowButton("presets_BTN", EqPanel, F::Normal, F::Pressed, F::Text, QStringLiteral("PRESET"));
    twoRowButton("EQ_BTN_ZERO", EqPanel, F::Normal, F::Pressed, F::Text, QStringLiteral("0dB"));

    // Position bar: groove from the band, thumb and its dragged picture below it.
    {
        const QRect r = d.v.value("posbar");
        const int th = r.height() - 2;
        QImage block = blank(32, 2 * th);
        QPainter p(&block);
        art.knob(p, QRectF(0, 0, 32, th), SkinArt::Lit, false);
        art.knob(p, QRectF(0, th, 32, th), SkinArt::Bright, false);
        p.end();
        const QPoint at = place(block);
        set("posbar", {r.x(), r.y(), r.width(), r.height(), r.x(), r.y(), at.x(), at.y(), 32, th});
    }
    // Volume: 68 wide, a 14 wide knob cell whose visible part keeps 2 pixels clear each side.
    {
        const QRect r = d.v.value("VL_BTN");
        QImage block = blank(14, 2 * r.height());
        QPainter p(&block);
        art.knob(p, QRectF(2, 0, 10, r.height()), SkinArt::Plain, false);
        art.knob(p, QRectF(2, r.height(), 10, r.height()), SkinArt::Lit, false);
        p.end();
        const QPoint at = place(block);
        set("VL_BTN",
            {r.x(), r.y(), r.width(), r.height(), r.x(), r.y(), at.x(), at.y(), 14, r.height()});
    }
    // Title: drawn on its own display background, cut from the band.
    {
        const QRect r = d.v.value("title_win");
        set("title_win", {r.x(), r.y(), r.width(), r.height(), r.x(), r.y()}, d.titleColour);
    }
    // Time digits 0-9 and the colon, one row.
    {
        const QRect r = d.v.value("time_win");
        QImage block = blank(11 * r.width(), r.height());
        QPainter p(&block);
        for (int g = 0; g <= 10; ++g)
            art.glyph(p, QRect(g * r.width(), 0, r.width(), r.height()), g, d.lcdText);
        p.end();
        const QPoint at = place(block);
        set("time_win",
            {r.x(), r.y(), r.width(), r.height(), at.x(), at.y(), 5 * r.width(), r.height()});
    }
    // Play state pictures one below the other: playing, paused, stopped.
    {
        const QRect r = d.v.value("play_display_win");
        QImage block = blank(r.width(), 3 * r.height());
        QPainter p(&block);
        const SkinArt::Symbol sym[3] = {F::Play, F::Pause, F::Stop};
        const char *const text[3] = {"PLAY", "PAUSE", "STOP"};
        const QColor colour[3] = {d.lcdText, d.warm, d.label};
        for (int s = 0; s < 3; ++s) {
            const QRect c(0, s * r.height(), r.width(), r.height());
            p.drawImage(c.topLeft(), m_band.copy(r));
            art.symbol(p, QRectF(c.left() + 1, c.top() + 2, r.height() - 4, r.height() - 4), sym[s],
                       colour[s]);
            art.label(
                p,
                QRectF(c.left() + r.height() - 3, c.top(), r.width() - r.height() + 3, r.height()),
                QString::fromLatin1(text[s]), colour[s], 8, true, Qt::AlignVCenter | Qt::AlignLeft);
        }
        p.end();
        const QPoint at = place(block);
        set("play_display_win", {r.x(), r.y(), r.width(), r.height(), at.x(), at.y()});
    }
    // Playlist scroll bar: groove from the panel strip, thumb 20 high with its pressed picture.
    {
        const QRect r = d.v.value("plist_Bar");
        const QPoint bg = sourceOf(PlaylistPanel, r.topLeft());
        QImage block = blank(r.width() - 2, 40);
        QPainter p(&block);
        art.knob(p, QRectF(0, 0, r.width() - 2, 20), SkinArt::Plain, true);
        art.knob(p, QRectF(0, 20, r.width() - 2, 20), SkinArt::Lit, true);
        p.end();
        const QPoint at = place(block);
        set("plist_Bar",
            {r.x(), r.y(), r.width(), r.height(), bg.x(), bg.y(), at.x(), at.y(), r.width() - 2,
             20},
            d.listColour);
    }
    {
        const QRect r = d.v.value("lrcwin_show");
        const QPoint bg = sourceOf(LyricPanel, r.topLeft());
        set("lrcwin_show", {r.x(), r.y(), r.width(), r.height(), bg.x(), bg.y()});
    }
    const Scene strips[3] = {PlaylistPanel, LyricPanel, EqPanel};
    const char *const stripKeys[3] = {"plistwin", "lrcwin", "eqwin"};
    const int heights[3] = {d.plistH, d.lrcH, d.eqH};
    for (int i = 0; i < 3; ++i)
        set(stripKeys[i], {0, m_panelY[strips[i]], 240, heights[i], 0, m_stripY[strips[i]]});
}

void SkinBuilder::buildEqualizer()
{
    const QRect eq = d.v.value("EQ");
    const QRect pre = d.v.value("EQ_Preamp");
    const int w = eq.width(), h = eq.height(), mid = h / 2;
    const int knobH = h >= 60 ? 8 : 6;

    // Level frames: row at levelY for v < 0 (frame v/2 + 13), the row below for v >= 0
    // (frame v/2). Each frame is the whole column, so nothing behind it shows through.
    const QImage column = m_scenes[EqPanel].copy(eq);
    for (int row = 0; row < 2; ++row)
        for (int f = 0; f < 14; ++f) {
            QImage img = column;
            QPainter p(&img);
            p.setRenderHint(QPainter::Antialiasing);
            const int length = row == 0 ? 2 * (13 - f) : 2 * f;
            const QRectF fill = row == 0 ? QRectF(w / 2.0 - 1.5, mid, 3, length)
                                         : QRectF(w / 2.0 - 1.5, mid - length, 3, length);
            if (length > 0) {
                QLinearGradient g(0, mid - 26, 0, mid + 26);
                g.setColorAt(0, d.accent);
                g.setColorAt(0.5, d.accentDim);
                g.setColorAt(1, d.warm);
                p.setPen(Qt::NoPen);
                p.setBrush(g);
                p.drawRoundedRect(fill, 1, 1);
            }
            p.end();
            QPainter s(&m_sheet);
            s.setCompositionMode(QPainter::CompositionMode_Source);
            s.drawImage(f * w, levelY + row * h, img);
        }

    // Knob: the resting picture above, a brighter pressed one below. The bands always use
    // the lower one, the preamp the upper one in a full repaint and the lower one after.
    QImage knobs = blank(w - 2, 2 * knobH);
    {
        QPainter p(&knobs);
        art.knob(p, QRectF(0, 0, w - 2, knobH), SkinArt::Plain, true);
        art.knob(p, QRectF(0, knobH, w - 2, knobH), SkinArt::Plain, true);
    }
    // A third of the way to white, so it is brighter whatever the design's colours.
    for (int y = knobH; y < 2 * knobH; ++y)
        for (int x = 0; x < knobs.width(); ++x) {
            const QColor c = knobs.pixelColor(x, y);
            knobs.setPixelColor(x, y,
                                QColor(c.red() + (255 - c.red()) / 3,
                                       c.green() + (255 - c.green()) / 3,
                                       c.blue() + (255 - c.blue()) / 3, c.alpha()));
        }
    const QPoint k = place(knobs);
    set("EQ", {eq.x(), eq.y(), w, h, 0, levelY, k.x(), k.y(), w - 2, knobH, d.eqPitch});
    const QPoint preBg = sourceOf(EqPanel, pre.topLeft());
    set("EQ_Preamp", {pre.x(), pre.y(), pre.width(), pre.height(), preBg.x(), preBg.y()});

    // Curve: background from the panel, one dot column coloured by level (+8 top, -8 bottom).
    const QRect curve = d.v.value("eqalzr_win");
    QImage dots = blank(1, 17);
    for (int i = 0; i < 17; ++i) {
        const int level = 8 - i;
        const qreal t = std::abs(level) / 8.0;
        const QColor far = level >= 0 ? d.accent.lighter(130) : d.warm;
        const QColor c = QColor::fromRgbF(d.lcdText.redF() * (1 - t) + far.redF() * t,
                                          d.lcdText.greenF() * (1 - t) + far.greenF() * t,
                                          d.lcdText.blueF() * (1 - t) + far.blueF() * t);
        dots.setPixel(0, i, c.rgba());
    }
    const QPoint dot = place(dots);
    const QPoint bg = sourceOf(EqPanel, curve.topLeft());
    set("eqalzr_win", {curve.x(), curve.y(), curve.width(), curve.height(), bg.x(), bg.y(), dot.x(),
                       dot.y() + 8});
}

// ---- horizontal window --------------------------------------------------------------

void SkinBuilder::buildHorizontal()
{
    using F = SkinArt;
    // The two sliding panels, laid out on the 320 x 240 horizontal form.
    m_hScene = blank(320, 240);
    {
        QPainter p(&m_hScene);
        const QRect top(0, 0, 320, d.hTopH);
        const QRect bottom(0, d.hBottomY, 320, 240 - d.hBottomY);
        for (const QRect &r : {top, bottom}) {
            QLinearGradient g(r.topLeft(), r.bottomLeft());
            g.setColorAt(0, d.barTop);
            g.setColorAt(1, d.barBottom);
            p.fillRect(r, g);
        }
        p.fillRect(QRect(0, top.bottom(), 320, 1), d.faceEdge);
        p.fillRect(QRect(0, bottom.top(), 320, 1), d.faceEdge);
        p.fillRect(QRect(0, bottom.top() + 1, 320, 1), QColor(255, 255, 255, 40));
        // Displays behind the turned title (x 8-207, y 21-36) and time (x 240-309, y 40-59).
        art.lcd(p, QRectF(4, 18, 208, 22));
        art.lcd(p, QRectF(236, 37, 78, 23));
        art.label(p, QRectF(70, 42, 120, 16), QStringLiteral("O R B A L"), d.label, 9);
        art.groove(p, d.h.value("H_posbar"));
        const QRect vol = d.h.value("H_VL_BTN");
        art.groove(p,
                   QRectF(vol).adjusted(0, vol.height() / 2 - 2.5, 0, -(vol.height() / 2 - 2.5)));
        art.symbol(p, d.hSpeaker, F::Speaker, d.label);
    }
    const QImage topPanel = turned(m_hScene.copy(0, 0, 320, d.hTopH));
    const QImage bottomPanel = turned(m_hScene.copy(0, d.hBottomY, 320, 240 - d.hBottomY));
    m_hTopSource = place(topPanel);
    m_hBottomSource = place(bottomPanel);
    set("H_WIN_T", {0, 0, topPanel.width(), 320, m_hTopSource.x(), m_hTopSource.y()});
    set("H_WIN_B",
        {d.hBottomY, 0, bottomPanel.width(), 320, m_hBottomSource.x(), m_hBottomSource.y()});
    // Screen point of the bottom panel -> its place in the skin picture.
    auto bottomSource = [&](const QPoint &s) {
        return QPoint(m_hBottomSource.x() + s.x() - d.hBottomY, m_hBottomSource.y() + s.y());
    };

    auto hCell = [&](const QRect &l, F::Face f, F::Symbol sym, const QString &text = {}) {
        QImage img = m_hScene.copy(l);
        QPainter p(&img);
        art.button(p, QRectF(0, 0, l.width(), l.height()), f, sym, text);
        p.end();
        return turned(img);
    };
    // Pressed (or "on") picture one width to the right, on the screen's axes.
    auto besideButton = [&](const QString &key, F::Face second, F::Symbol sym,
                            const QString &text = {}) {
        const QRect l = d.h.value(key);
        const QRect s = onScreen(l);
        QImage block = blank(2 * s.width(), s.height());
        QPainter p(&block);
        p.drawImage(0, 0, hCell(l, F::Normal, sym, text));
        p.drawImage(s.width(), 0, hCell(l, second, sym, text));
        p.end();
        const QPoint at = place(block);
        set(key, {s.x(), s.y(), s.width(), s.height(), at.x(), at.y()});
    };
    besideButton("H_exit_win", F::Pressed, F::Exit);
    besideButton("V_win_btn", F::Pressed, F::Portrait);
    besideButton("H_mini_win", F::Pressed, F::Minimize);
    besideButton("H_prev", F::Pressed, F::Prev);
    besideButton("H_stop", F::Pressed, F::Stop);
    besideButton("H_next", F::Pressed, F::Next);
    besideButton("H_pos_A", F::On, F::Text, QStringLiteral("A"));
    besideButton("H_pos_B", F::On, F::Text, QStringLiteral("B"));
    {
        // Playing picture one height above, pressed pictures beside.
        const QRect l = d.h.value("H_play");
        const QRect s = onScreen(l);
        QImage block = blank(2 * s.width(), 2 * s.height());
        QPainter p(&block);
        p.drawImage(0, 0, hCell(l, F::On, F::Pause));
        p.drawImage(s.width(), 0, hCell(l, F::OnPressed, F::Pause));
        p.drawImage(0, s.height(), hCell(l, F::Normal, F::Play));
        p.drawImage(s.width(), s.height(), hCell(l, F::Pressed, F::Play));
        p.end();
        const QPoint at = place(block);
        set("H_play", {s.x(), s.y(), s.width(), s.height(), at.x(), at.y() + s.height()});
    }
    {
        // Position bar runs along the screen's height; thumb 32 high, dragged picture beside.
        const QRect s = onScreen(d.h.value("H_posbar"));
        const int tw = s.width() - 2;
        auto thumb = [&](bool dragged) {
            QImage land = blank(32, tw);
            QPainter p(&land);
            art.knob(p, QRectF(0, 0, 32, tw), dragged ? SkinArt::Bright : SkinArt::Lit, false);
            p.end();
            return turned(land);
        };
        QImage block = blank(2 * tw, 32);
        QPainter b(&block);
        b.drawImage(0, 0, thumb(false));
        b.drawImage(tw, 0, thumb(true));
        b.end();
        const QPoint at = place(block);
        const QPoint bg = bottomSource(s.topLeft());
        set("H_posbar",
            {s.x(), s.y(), s.width(), s.height(), bg.x(), bg.y(), at.x(), at.y(), tw, 32});
    }
    {
        // Volume along the screen's height; its picture is read from 2 pixels above with
        // 4 more rows, and the knob is 16 high with its pressed picture beside.
        const QRect s = onScreen(d.h.value("H_VL_BTN"));
        QImage block = blank(2 * s.width(), 16);
        QPainter p(&block);
        QImage knob = blank(16, s.width());
        {
            QPainter k(&knob);
            art.knob(k, QRectF(2, 0, 12, s.width()), SkinArt::Plain, false);
        }
        QImage pressed = blank(16, s.width());
        {
            QPainter k(&pressed);
            art.knob(k, QRectF(2, 0, 12, s.width()), SkinArt::Lit, false);
        }
        p.drawImage(0, 0, turned(knob));
        p.drawImage(s.width(), 0, turned(pressed));
        p.end();
        const QPoint at = place(block);
        const QPoint bg = bottomSource(QPoint(s.x(), s.y() - 2));
        set("H_VL_BTN",
            {s.x(), s.y(), s.width(), s.height(), bg.x(), bg.y(), at.x(), at.y(), s.width(), 16});
    }
}

// ---- mini bar -----------------------------------------------------------------------

QImage SkinBuilder::miniMain() const
{
    QImage img = blank(240, 25);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient g(0, 0, 0, 25);
    g.setColorAt(0, d.barTop);
    g.setColorAt(1, d.barBottom);
    p.fillRect(img.rect(), g);
    p.setPen(QPen(d.panelEdge, 1));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(QRectF(0.5, 0.5, 239, 24), 6, 6);
    art.lcd(p, QRectF(85, 5, 62, 20));
    art.label(p, QRectF(148, 4, 32, 18), QStringLiteral("ORBAL"), d.label, 7);
    art.button(p, QRectF(5, 3, 20, 20), SkinArt::Normal, SkinArt::Prev);
    art.button(p, QRectF(26, 3, 21, 20), SkinArt::Normal, SkinArt::Play);
    art.button(p, QRectF(47, 3, 20, 20), SkinArt::Normal, SkinArt::Next);
    art.button(p, QRectF(180, 0, 20, 18), SkinArt::Normal, SkinArt::Grip);
    art.button(p, QRectF(200, 0, 20, 18), SkinArt::Normal, SkinArt::Restore);
    art.button(p, QRectF(220, 0, 20, 18), SkinArt::Normal, SkinArt::Exit);
    p.end();
    // The digits of 00:00 as the bar shows them before the first second.
    QPainter q(&img);
    for (int x : {90, 101, 121, 132})
        art.glyph(q, QRect(x, 8, 10, 16), 0, d.lcdText);
    return img;
}

QImage SkinBuilder::miniButtons(const QImage &main) const
{
    using F = SkinArt;
    QImage img = blank(190, 80);
    QPainter p(&img);
    auto put = [&](int x, int y, const QRect &at, F::Face f, F::Symbol s) {
        QImage c = main.copy(at);
        QPainter cp(&c);
        cp.setCompositionMode(QPainter::CompositionMode_Source);
        // The face is redrawn on a clean background so the normal one does not show through.
        QLinearGradient g(0, -at.y(), 0, 25 - at.y());
        g.setColorAt(0, d.barTop);
        g.setColorAt(1, d.barBottom);
        cp.fillRect(c.rect(), g);
        cp.setCompositionMode(QPainter::CompositionMode_SourceOver);
        art.button(cp, QRectF(0, 0, at.width(), at.height()), f, s);
        cp.end();
        p.drawImage(x, y, c);
    };
    // Play (normal and playing), prev, next; pressed pictures one height below.
    put(0, 0, QRect(26, 3, 21, 20), F::Normal, F::Play);
    put(21, 0, QRect(26, 3, 21, 20), F::On, F::Pause);
    put(0, 20, QRect(26, 3, 21, 20), F::Pressed, F::Play);
    put(21, 20, QRect(26, 3, 21, 20), F::OnPressed, F::Pause);
    put(42, 0, QRect(5, 3, 20, 20), F::Normal, F::Prev);
    put(42, 20, QRect(5, 3, 20, 20), F::Pressed, F::Prev);
    put(62, 0, QRect(47, 3, 20, 20), F::Normal, F::Next);
    put(62, 20, QRect(47, 3, 20, 20), F::Pressed, F::Next);
    // Digits at x 82 + 10 d and the separator at 182.
    for (int g = 0; g < 10; ++g)
        art.glyph(p, QRect(82 + 10 * g, 0, 10, 16), g, d.lcdText);
    p.fillRect(QRect(182, 0, 4, 16), d.lcd);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(d.lcdText);
    p.drawEllipse(QRectF(183, 4, 2, 2));
    p.drawEllipse(QRectF(183, 10, 2, 2));
    // The three small buttons at (180,0), (200,0), (220,0), pressed pictures at y 60 (the
    // first two change places there).
    put(0, 40, QRect(180, 0, 20, 18), F::Normal, F::Grip);
    put(20, 40, QRect(200, 0, 20, 18), F::Normal, F::Restore);
    put(40, 40, QRect(220, 0, 20, 18), F::Normal, F::Exit);
    put(0, 60, QRect(200, 0, 20, 18), F::Pressed, F::Restore);
    put(20, 60, QRect(180, 0, 20, 18), F::Pressed, F::Grip);
    put(40, 60, QRect(220, 0, 20, 18), F::Pressed, F::Exit);
    return img;
}

QImage SkinBuilder::lyricStrip() const
{
    QImage img = blank(240, 23);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(img.rect(), d.lcd);
    p.setPen(QPen(d.lcdEdge, 1));
    p.drawLine(QPointF(0, 0.5), QPointF(240, 0.5));
    QLinearGradient g(0, 1, 0, 23);
    g.setColorAt(0, QColor(0, 0, 0, 60));
    g.setColorAt(0.3, QColor(0, 0, 0, 0));
    p.fillRect(QRect(0, 1, 240, 22), g);
    return img;
}

QImage SkinBuilder::mask(int height) const
{
    QImage shape(240, height, QImage::Format_ARGB32);
    shape.fill(Qt::white);
    QPainter p(&shape);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::black);
    p.drawRoundedRect(QRectF(0, 0, 240, height), 6, 6);
    p.end();
    // One bit a pixel; black (1) is the shape.
    QImage mono(240, height, QImage::Format_Mono);
    mono.setColorTable({qRgb(255, 255, 255), qRgb(0, 0, 0)});
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < 240; ++x)
            mono.setPixel(x, y, qGray(shape.pixel(x, y)) < 128 ? 1 : 0);
    return mono;
}

QImage SkinBuilder::backdrop() const
{
    // The horizontal window's fall-back background: quiet where the texts and lyrics go.
    QImage img(320, 240, QImage::Format_RGB32);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient g(0, 0, 320, 240);
    g.setColorAt(0, QColor("#1d2229"));
    g.setColorAt(1, QColor("#0f1216"));
    p.fillRect(img.rect(), g);
    QRadialGradient glow(QPointF(270, 120), 150);
    glow.setColorAt(0, QColor(51, 214, 193, 46));
    glow.setColorAt(1, QColor(51, 214, 193, 0));
    p.fillRect(img.rect(), glow);
    // A record's grooves, mostly off the right edge.
    p.setBrush(Qt::NoBrush);
    for (int r = 30; r < 170; r += 6) {
        p.setPen(QPen(QColor(255, 255, 255, r % 24 == 6 ? 16 : 8), 1));
        p.drawEllipse(QPointF(300, 120), r, r);
    }
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(51, 214, 193, 60));
    p.drawEllipse(QPointF(300, 120), 18, 18);
    p.setBrush(QColor("#0f1216"));
    p.drawEllipse(QPointF(300, 120), 3, 3);
    return img;
}

QImage SkinBuilder::lights(bool right, int frame) const
{
    QImage img = m_base.copy(right ? QRect(100, 10, 60, 22) : QRect(0, 10, 100, 50));
    QPainter p(&img);
    p.translate(right ? -100 : 0, -10);
    paintMeters(p, frame);
    return img;
}

// ---- the whole skin -----------------------------------------------------------------

bool SkinBuilder::write(const QString &dir, bool withBackground)
{
    m_sheet = blank(sheetWidth, 2000);
    m_packX = packLeft;
    m_packY = 0;
    m_shelfH = 0;
    m_usedH = 0;
    m_conf.clear();

    m_base = QImage(240, 320, QImage::Format_ARGB32_Premultiplied);
    paintBase(m_base);
    m_panelY[PlaylistPanel] = d.plistY;
    m_panelY[LyricPanel] = d.lrcY;
    m_panelY[EqPanel] = d.eqY;
    int stripY = firstStripY;
    for (Scene s : {PlaylistPanel, LyricPanel, EqPanel}) {
        m_scenes[s] = blank(240, 320);
        paintPanel(m_scenes[s], s);
        m_stripY[s] = stripY;
        const int h = s == PlaylistPanel ? d.plistH : s == LyricPanel ? d.lrcH : d.eqH;
        QPainter p(&m_sheet);
        p.drawImage(QPoint(0, stripY), m_scenes[s], QRect(0, m_panelY[s], 240, h));
        stripY += h;
    }
    // The band shows the panels open at start, so cuts taken from it at window places match.
    m_band = m_base;
    {
        QPainter p(&m_band);
        p.drawImage(0, 0, m_scenes[PlaylistPanel]);
        if (!d.winEnabled)
            p.drawImage(0, 0, m_scenes[EqPanel]);
        // Scenes for panel buttons also carry the body under the strips.
        for (Scene s : {PlaylistPanel, LyricPanel, EqPanel}) {
            QImage full = m_base;
            QPainter f(&full);
            f.drawImage(0, 0, m_scenes[s]);
            f.end();
            m_scenes[s] = full;
        }
    }
    {
        QPainter p(&m_sheet);
        p.drawImage(0, 0, m_band);
        p.drawImage(0, lyricStripY, lyricStrip());
    }
    m_usedH = std::max(m_usedH, stripY);

    buildVertical();
    buildEqualizer();
    buildHorizontal();

    if (!QDir().mkpath(dir))
        return false;
    const QImage sheet =
        m_sheet.copy(0, 0, sheetWidth, m_usedH + 1).convertToFormat(QImage::Format_ARGB32);
    bool ok = sheet.save(dir + "/skins.png", "PNG");
    const QImage main = miniMain();
    ok = main.convertToFormat(QImage::Format_RGB32).save(dir + "/mini_main.png", "PNG") && ok;
    ok = miniButtons(main)
             .convertToFormat(QImage::Format_ARGB32)
             .save(dir + "/mini_btn.png", "PNG") &&
         ok;
    ok = mask(25).save(dir + "/mask.png", "PNG") && ok;
    ok = mask(48).save(dir + "/mask_d.png", "PNG") && ok;
    for (int n = 1; n <= 3; ++n) {
        ok = lights(false, n)
                 .convertToFormat(QImage::Format_RGB32)
                 .save(dir + QStringLiteral("/xmaslights_l%1.png").arg(n), "PNG") &&
             ok;
        ok = lights(true, n)
                 .convertToFormat(QImage::Format_RGB32)
                 .save(dir + QStringLiteral("/xmaslights_r%1.png").arg(n), "PNG") &&
             ok;
    }
    if (withBackground)
        ok = backdrop().save(dir + "/backskin.png", "PNG") && ok;

    // The description, written whole through the settings store (so already normalised).
    const QString conf = dir + "/skins.conf";
    QFile::remove(conf);
    {
        KConfig out(conf);
        out.setGroup(QStringLiteral("SKINS"));
        for (auto it = m_conf.constBegin(); it != m_conf.constEnd(); ++it)
            out.writeEntry(it.key(), it.value());
        out.writeEntry(QStringLiteral("mwin_Y"), 0);
        out.writeEntry(QStringLiteral("mwin_H"), 320);
        out.writeEntry(QStringLiteral("win_enabled"), d.winEnabled);
    }
    return ok && QFile::exists(conf);
}
