#include "skinart.h"

#include <QLinearGradient>
#include <QPainterPath>
#include <QRadialGradient>

#include <algorithm>
#include <cmath>

namespace
{

// Segments a..g as bits 0..6, for 0-9.
constexpr int segmentsOf[10] = {0x3F, 0x06, 0x5B, 0x4F, 0x66, 0x6D, 0x7D, 0x07, 0x7F, 0x6F};

// 5 x 7 dot digits 0-9 and the colon, one row of five bits per line, top first.
constexpr unsigned char dotFont[11][7] = {
    {0x0E, 0x11, 0x13, 0x15, 0x19, 0x11, 0x0E}, {0x04, 0x0C, 0x04, 0x04, 0x04, 0x04, 0x0E},
    {0x0E, 0x11, 0x01, 0x02, 0x04, 0x08, 0x1F}, {0x1F, 0x02, 0x04, 0x02, 0x01, 0x11, 0x0E},
    {0x02, 0x06, 0x0A, 0x12, 0x1F, 0x02, 0x02}, {0x1F, 0x10, 0x1E, 0x01, 0x01, 0x11, 0x0E},
    {0x06, 0x08, 0x10, 0x1E, 0x11, 0x11, 0x0E}, {0x1F, 0x01, 0x02, 0x04, 0x08, 0x08, 0x08},
    {0x0E, 0x11, 0x11, 0x0E, 0x11, 0x11, 0x0E}, {0x0E, 0x11, 0x11, 0x0F, 0x01, 0x02, 0x0C},
    {0x00, 0x04, 0x04, 0x00, 0x04, 0x04, 0x00},
};

QColor withAlpha(QColor c, int alpha)
{
    c.setAlpha(alpha);
    return c;
}

QFont labelFont(int px, bool bold)
{
    QFont f(QStringLiteral("DejaVu Sans Condensed"));
    f.setPixelSize(px);
    f.setBold(bold);
    f.setHintingPreference(QFont::PreferFullHinting);
    f.setLetterSpacing(QFont::AbsoluteSpacing, px >= 8 ? 0.3 : 0.0);
    return f;
}

} // namespace

void SkinArt::body(QPainter &p, const QRect &area, int fullHeight) const
{
    QLinearGradient g(0, 0, 0, fullHeight);
    g.setColorAt(0, d.bgTop);
    g.setColorAt(1, d.bgBottom);
    p.fillRect(area, g);
}

void SkinArt::topBar(QPainter &p, const QRect &area) const
{
    QLinearGradient g(area.topLeft(), area.bottomLeft());
    g.setColorAt(0, d.barTop);
    g.setColorAt(1, d.barBottom);
    p.fillRect(area, g);
    p.fillRect(QRect(area.left(), area.bottom(), area.width(), 1), d.faceEdge);
    p.fillRect(QRect(area.left(), area.top(), area.width(), 1), withAlpha(Qt::white, 40));
}

void SkinArt::panel(QPainter &p, const QRectF &r) const
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(d.panelEdge, 1));
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0, d.panel.lighter(106));
    g.setColorAt(1, d.panel);
    p.setBrush(g);
    p.drawRoundedRect(r.adjusted(0.5, 0.5, -0.5, -0.5), d.radius + 1, d.radius + 1);
    p.restore();
}

void SkinArt::inset(QPainter &p, const QRectF &r, const QColor &fill) const
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(d.insetEdge, 1));
    p.setBrush(fill);
    const qreal rad = std::min<qreal>(d.radius, r.height() / 2);
    p.drawRoundedRect(r.adjusted(0.5, 0.5, -0.5, -0.5), rad, rad);
    // A light lower lip makes it read as sunken.
    p.setPen(QPen(withAlpha(Qt::white, d.bgTop.lightness() > 128 ? 160 : 28), 1));
    p.drawLine(QPointF(r.left() + rad, r.bottom() + 0.5),
               QPointF(r.right() - rad, r.bottom() + 0.5));
    p.restore();
}

void SkinArt::lcd(QPainter &p, const QRectF &r) const
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(d.lcdEdge, 1));
    p.setBrush(d.lcd);
    p.drawRoundedRect(r.adjusted(0.5, 0.5, -0.5, -0.5), d.radius + 1, d.radius + 1);
    p.setPen(QPen(withAlpha(Qt::black, 90), 1));
    p.drawLine(QPointF(r.left() + 3, r.top() + 1.5), QPointF(r.right() - 3, r.top() + 1.5));
    p.restore();
}

void SkinArt::face(QPainter &p, const QRectF &r, Face f) const
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF box = r.adjusted(0.5, 0.5, -0.5, -0.5);
    const qreal rad = std::min<qreal>(d.radius, box.height() / 2);
    const bool down = f == Pressed || f == OnPressed;
    QLinearGradient g(box.topLeft(), box.bottomLeft());
    if (down) {
        g.setColorAt(0, d.facePressed.darker(112));
        g.setColorAt(1, d.facePressed);
    } else {
        g.setColorAt(0, d.faceTop);
        g.setColorAt(1, d.faceBottom);
    }
    p.setPen(QPen(d.faceEdge, 1));
    p.setBrush(g);
    p.drawRoundedRect(box, rad, rad);
    if (!down) {
        p.setPen(QPen(withAlpha(Qt::white, 60), 1));
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(box.adjusted(1, 1, -1, -1), rad - 1, rad - 1);
    } else {
        p.setPen(QPen(withAlpha(Qt::black, 70), 1));
        p.drawLine(QPointF(box.left() + rad, box.top() + 1.5),
                   QPointF(box.right() - rad, box.top() + 1.5));
    }
    if (f == On || f == OnPressed) {
        // A lit strip along the lower edge.
        QRectF bar(box.left() + 4, box.bottom() - 3.2, box.width() - 8, 2);
        p.setPen(Qt::NoPen);
        p.setBrush(withAlpha(d.accent, 90));
        p.drawRoundedRect(bar.adjusted(-1, -1, 1, 1), 2, 2);
        p.setBrush(d.accent);
        p.drawRoundedRect(bar, 1, 1);
    }
    p.restore();
}

void SkinArt::symbol(QPainter &p, const QRectF &box, Symbol s, const QColor &c) const
{
    const qreal side = std::min(box.width(), box.height());
    const qreal u = side / 16.0;
    const QPointF o(box.center().x() - 8 * u, box.center().y() - 8 * u);
    auto P = [&](qreal x, qreal y) { return QPointF(o.x() + x * u, o.y() + y * u); };
    auto R = [&](qreal x, qreal y, qreal w, qreal h) {
        return QRectF(P(x, y), QSizeF(w * u, h * u));
    };

    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    QPen pen(c, std::max<qreal>(1.2, 1.5 * u), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    p.setPen(Qt::NoPen);
    p.setBrush(c);
    QPainterPath path;
    switch (s) {
    case Play:
        path.moveTo(P(5, 3));
        path.lineTo(P(13, 8));
        path.lineTo(P(5, 13));
        path.closeSubpath();
        p.setPen(QPen(c, u, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPath(path);
        break;
    case Pause:
        p.drawRoundedRect(R(4, 3.5, 3, 9), u, u);
        p.drawRoundedRect(R(9, 3.5, 3, 9), u, u);
        break;
    case Stop:
        p.drawRoundedRect(R(4, 4, 8, 8), 1.2 * u, 1.2 * u);
        break;
    case Prev:
    case Next: {
        const bool next = s == Next;
        auto X = [&](qreal x) { return next ? 16 - x : x; };
        p.drawRoundedRect(R(std::min(X(3), X(5)), 4, 2, 8), 0.6 * u, 0.6 * u);
        path.moveTo(P(X(13), 4));
        path.lineTo(P(X(6), 8));
        path.lineTo(P(X(13), 12));
        path.closeSubpath();
        p.setPen(QPen(c, u * 0.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPath(path);
        break;
    }
    case Open:
        path.moveTo(P(2, 4.5));
        path.lineTo(P(6.5, 4.5));
        path.lineTo(P(8, 6));
        path.lineTo(P(14, 6));
        path.lineTo(P(14, 12.5));
        path.lineTo(P(2, 12.5));
        path.closeSubpath();
        p.drawPath(path);
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(withAlpha(Qt::black, 70), u));
        p.drawLine(P(2.5, 7.5), P(13.5, 7.5));
        break;
    case List:
    case Menu:
        for (int i = 0; i < 3; ++i) {
            const qreal y = 4.5 + 3.5 * i;
            if (s == List) {
                p.drawEllipse(P(3.5, y), 1.1 * u, 1.1 * u);
                p.drawRoundedRect(R(6, y - 0.9, 8, 1.8), 0.8 * u, 0.8 * u);
            } else {
                p.drawRoundedRect(R(2.5, y - 0.9, 11, 1.8), 0.8 * u, 0.8 * u);
            }
        }
        break;
    case Shuffle: {
        p.setBrush(Qt::NoBrush);
        p.setPen(pen);
        QPainterPath a;
        a.moveTo(P(2, 5));
        a.cubicTo(P(7, 5), P(8, 11), P(12.5, 11));
        QPainterPath b;
        b.moveTo(P(2, 11));
        b.cubicTo(P(7, 11), P(8, 5), P(12.5, 5));
        p.drawPath(a);
        p.drawPath(b);
        p.setPen(Qt::NoPen);
        p.setBrush(c);
        for (qreal y : {5.0, 11.0}) {
            QPainterPath head;
            head.moveTo(P(15, y));
            head.lineTo(P(12, y - 2.3));
            head.lineTo(P(12, y + 2.3));
            head.closeSubpath();
            p.drawPath(head);
        }
        break;
    }
    case Repeat: {
        p.setBrush(Qt::NoBrush);
        p.setPen(pen);
        QPainterPath loop;
        loop.moveTo(P(7, 4.5));
        loop.lineTo(P(5.5, 4.5));
        loop.arcTo(R(2, 4.5, 7, 7), 90, 180);
        loop.lineTo(P(10.5, 11.5));
        loop.arcTo(R(7, 4.5, 7, 7), 270, 150);
        p.drawPath(loop);
        p.setPen(Qt::NoPen);
        p.setBrush(c);
        QPainterPath head;
        head.moveTo(P(8.2, 4.5));
        head.lineTo(P(11.4, 2));
        head.lineTo(P(11.4, 7));
        head.closeSubpath();
        p.drawPath(head);
        break;
    }
    case Exit:
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(c, 1.7 * u, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(P(4.5, 4.5), P(11.5, 11.5));
        p.drawLine(P(11.5, 4.5), P(4.5, 11.5));
        break;
    case Minimize:
        p.drawRoundedRect(R(3.5, 10.5, 9, 2.2), u, u);
        break;
    case Restore:
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(c, 1.4 * u));
        p.drawRoundedRect(R(3.5, 3.5, 9, 9), u, u);
        p.setPen(Qt::NoPen);
        p.setBrush(c);
        p.drawRect(R(3.5, 3.5, 9, 2.2));
        break;
    case Rotate:
    case Portrait: {
        // A phone outline the way it stands now, and an arrow turning it a quarter.
        const bool upright = s == Rotate;
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(c, 1.3 * u, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawRoundedRect(upright ? R(2.5, 4, 7, 10.5) : R(1.5, 8, 10.5, 6.5), 1.3 * u, 1.3 * u);
        QPainterPath arc;
        QPainterPath head;
        if (upright) {
            arc.moveTo(P(8, 1.5));
            arc.quadTo(P(14, 1.5), P(14, 7.5));
            head.moveTo(P(14, 10.5));
            head.lineTo(P(11.6, 7));
            head.lineTo(P(16.4, 7));
        } else {
            arc.moveTo(P(14.5, 6.5));
            arc.quadTo(P(14.5, 1.5), P(8.5, 1.5));
            head.moveTo(P(5.5, 1.5));
            head.lineTo(P(9, -0.9));
            head.lineTo(P(9, 3.9));
        }
        p.drawPath(arc);
        head.closeSubpath();
        p.setPen(Qt::NoPen);
        p.setBrush(c);
        p.drawPath(head);
        break;
    }
    case Speaker:
        path.moveTo(P(2, 6));
        path.lineTo(P(5, 6));
        path.lineTo(P(9, 2.5));
        path.lineTo(P(9, 13.5));
        path.lineTo(P(5, 10));
        path.lineTo(P(2, 10));
        path.closeSubpath();
        p.drawPath(path);
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(c, 1.2 * u, Qt::SolidLine, Qt::RoundCap));
        p.drawArc(R(7, 5, 5, 6), -50 * 16, 100 * 16);
        p.drawArc(R(6.5, 2.5, 8.5, 11), -50 * 16, 100 * 16);
        break;
    case Grip:
        for (int i = 0; i < 3; ++i)
            for (int j = 0; j < 2; ++j)
                p.drawEllipse(P(6 + 4 * j, 4 + 4 * i), 1.1 * u, 1.1 * u);
        break;
    case Text:
        break;
    }
    p.restore();
}

void SkinArt::label(QPainter &p, const QRectF &r, const QString &text, const QColor &c, int px,
                    bool bold, Qt::Alignment align) const
{
    p.save();
    p.setRenderHint(QPainter::TextAntialiasing);
    p.setFont(labelFont(px, bold));
    p.setPen(c);
    p.drawText(r, int(align), text);
    p.restore();
}

void SkinArt::button(QPainter &p, const QRectF &r, Face f, Symbol s, const QString &text) const
{
    face(p, r, f);
    const bool down = f == Pressed || f == OnPressed;
    const bool on = f == On || f == OnPressed;
    const QColor c = down ? d.iconPressed : on ? d.accent : d.icon;
    const QRectF inner = r.adjusted(2, 2 + (down ? 1 : 0), -2, -2 + (down ? 1 : 0) - (on ? 2 : 0));
    if (s != Text && text.isEmpty()) {
        symbol(p, inner, s, c);
    } else if (s != Text) {
        const qreal side = inner.height();
        symbol(p, QRectF(inner.left() + 1, inner.top(), side, side), s, c);
        label(p, inner.adjusted(side + 1, 0, 0, 0), text, c, r.height() >= 18 ? 8 : 7);
    } else {
        label(p, inner, text, c, r.height() >= 18 ? 9 : 8);
    }
}

void SkinArt::glyph(QPainter &p, const QRect &cell, int g, const QColor &on) const
{
    p.fillRect(cell, d.lcd);
    if (d.dotMatrix)
        dots(p, QRectF(cell), g, on);
    else
        sevenSegment(p, QRectF(cell), g, on);
}

void SkinArt::sevenSegment(QPainter &p, const QRectF &r, int g, const QColor &on) const
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    const qreal w = r.width(), h = r.height();
    if (g == 10) {
        const qreal dot = std::max<qreal>(1.8, w * 0.17);
        p.setBrush(on);
        for (qreal fy : {0.33, 0.70})
            p.drawRoundedRect(
                QRectF(r.center().x() - dot / 2, r.top() + h * fy - dot / 2, dot, dot), 0.4, 0.4);
        p.restore();
        return;
    }
    const qreal t = std::max<qreal>(1.6, w * 0.17); // stroke
    const qreal gap = 0.45;
    const qreal x0 = r.left() + w * 0.14, x1 = r.right() - w * 0.14;
    const qreal y0 = r.top() + h * 0.09, y2 = r.bottom() - h * 0.09, y1 = (y0 + y2) / 2;
    const qreal skew = 0.09; // a slight lean, as on real displays
    auto pt = [&](qreal x, qreal y) { return QPointF(x + (y1 - y) * skew, y); };
    auto horiz = [&](qreal y) {
        QPolygonF s;
        s << pt(x0 + gap, y) << pt(x0 + gap + t / 2, y - t / 2) << pt(x1 - gap - t / 2, y - t / 2)
          << pt(x1 - gap, y) << pt(x1 - gap - t / 2, y + t / 2) << pt(x0 + gap + t / 2, y + t / 2);
        return s;
    };
    auto vert = [&](qreal x, qreal ya, qreal yb) {
        QPolygonF s;
        s << pt(x, ya + gap) << pt(x + t / 2, ya + gap + t / 2) << pt(x + t / 2, yb - gap - t / 2)
          << pt(x, yb - gap) << pt(x - t / 2, yb - gap - t / 2) << pt(x - t / 2, ya + gap + t / 2);
        return s;
    };
    const QPolygonF seg[7] = {horiz(y0),        vert(x1, y0, y1), vert(x1, y1, y2), horiz(y2),
                              vert(x0, y1, y2), vert(x0, y0, y1), horiz(y1)};
    for (int i = 0; i < 7; ++i) {
        const bool lit = segmentsOf[g] & (1 << i);
        p.setBrush(lit ? on : d.lcdGhost);
        p.drawPolygon(seg[i]);
    }
    p.restore();
}

void SkinArt::dots(QPainter &p, const QRectF &r, int g, const QColor &on) const
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    const qreal pitch = std::min((r.width() - 1) / 5.0, (r.height() - 2) / 7.0);
    const qreal left = r.left() + (r.width() - 5 * pitch) / 2;
    const qreal top = r.top() + (r.height() - 7 * pitch) / 2;
    const qreal rad = pitch * 0.46;
    for (int row = 0; row < 7; ++row)
        for (int col = 0; col < 5; ++col) {
            const bool lit = dotFont[g][row] & (0x10 >> col);
            if (!lit && g == 10)
                continue; // the colon keeps a clean background
            p.setBrush(lit ? on : d.lcdGhost);
            p.drawEllipse(QPointF(left + (col + 0.5) * pitch, top + (row + 0.5) * pitch), rad, rad);
        }
    p.restore();
}

void SkinArt::led(QPainter &p, const QRectF &r, const QColor &c, bool lit) const
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    if (!lit) {
        p.setBrush(d.lcdGhost);
    } else {
        QRadialGradient g(r.center(), std::max(r.width(), r.height()));
        g.setColorAt(0, c.lighter(140));
        g.setColorAt(1, c);
        p.setBrush(g);
    }
    if (d.dotMatrix)
        p.drawEllipse(r);
    else
        p.drawRoundedRect(r, 0.6, 0.6);
    p.restore();
}

void SkinArt::knob(QPainter &p, const QRectF &r, Knob look, bool upright) const
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF box = r.adjusted(0.5, 0.5, -0.5, -0.5);
    QLinearGradient g(box.topLeft(), upright ? box.topRight() : box.bottomLeft());
    switch (look) {
    case Plain:
        g.setColorAt(0, d.faceTop.lighter(104));
        g.setColorAt(1, d.faceBottom);
        break;
    case Lit:
        g.setColorAt(0, d.accent.lighter(115));
        g.setColorAt(1, d.accent.darker(120));
        break;
    case Bright:
        g.setColorAt(0, d.accent.lighter(150));
        g.setColorAt(1, d.accent);
        break;
    }
    p.setPen(QPen(look == Plain ? d.faceEdge : d.accent.darker(170), 1));
    p.setBrush(g);
    const qreal rad = std::min({d.radius, box.width() / 2, box.height() / 2});
    p.drawRoundedRect(box, rad, rad);
    // A grip line across the direction of travel.
    p.setPen(QPen(look == Plain ? d.accent : QColor(Qt::white), 1.2));
    const QPointF c = box.center();
    if (upright)
        p.drawLine(QPointF(box.left() + 2.5, c.y()), QPointF(box.right() - 2.5, c.y()));
    else
        p.drawLine(QPointF(c.x(), box.top() + 2.5), QPointF(c.x(), box.bottom() - 2.5));
    p.restore();
}

void SkinArt::groove(QPainter &p, const QRectF &r) const
{
    inset(p, r, d.inset);
}
