#include "lyrics/lyricpanel.h"

#include <QFontMetrics>
#include <QPainter>
#include <QTextOption>
#include <algorithm>
#include <cmath>
#include <cstring>

namespace
{

struct FontStep {
    int pointSize;
    int lineHeight;
};
constexpr FontStep kFontSteps[] = {{12, 20}, {14, 24}, {16, 28}, {18, 32}, {21, 40}};

constexpr int kTextFlags = Qt::AlignHCenter | Qt::AlignTop | Qt::AlignVCenter | Qt::TextWordWrap;
constexpr int kVerticalWidth = 240;
constexpr int kHorizontalWidth = 320;
constexpr QSize kWindowSize(240, 320);
constexpr int kEarliestLineY = -30; // earlier lines stop once they leave the panel's top
constexpr int kMaxLaidOutLines = 1000;

// The phone's points are pixels here, so lines fit the line heights made for them.
QFont sized(const QFont &font, int pointSize)
{
    QFont f = font;
    f.setPixelSize(std::max(1, pointSize));
    return f;
}

} // namespace

int LyricPanel::lineHeightForFontSize(int pointSize, int fallback)
{
    for (const FontStep &step : kFontSteps) {
        if (step.pointSize == pointSize)
            return step.lineHeight;
    }
    return fallback;
}

void LyricPanel::seekTo(const LyricTable &table, double seconds, int lineHeight)
{
    m_time = std::isfinite(seconds) ? seconds : 0.0;
    m_current = table.lineAt(m_time);
    m_scroll = 0.0;
    if (m_current + 1 >= table.size())
        return;
    const double from = table.at(m_current).time;
    const double span = table.at(m_current + 1).time - from;
    if (span > 0.0)
        m_scroll =
            std::clamp(-lineHeight * (m_time - from) / span, -double(std::abs(lineHeight)), 0.0);
}

void LyricPanel::reset()
{
    m_current = 0;
    m_time = 0.0;
    m_scroll = 0.0;
}

bool LyricPanel::currentLineSpan(const LyricTable &table, int *start, int *next) const
{
    if (m_current + 1 >= table.size())
        return false;
    *start = int(table.at(m_current).time);
    *next = int(table.at(m_current + 1).time);
    return true;
}

void LyricPanel::drawLines(QPainter &p, const LyricTable &table, int current, double scroll,
                           int width, int height, const Look &look)
{
    if (table.isEmpty())
        return;
    // A table replaced since the last seekTo may be shorter.
    current = std::clamp(current, 0, table.size() - 1);
    const int lineHeight = std::max(1, look.lineHeight);
    const int middle = height / 2;
    p.setFont(sized(look.font, look.fontSize));
    // A line of r rows takes r line heights and a box grown by the same; the current line
    // stays centred, and the glide to the next line covers half of each one's height.
    auto box = [&](int y, int rows) {
        return QRect(0, y, width, kLineBoxHeight + (rows - 1) * lineHeight);
    };
    const int rows = rowsOf(p, table.at(current).text, width);
    const int nextRows =
        current + 1 < table.size() ? rowsOf(p, table.at(current + 1).text, width) : 1;
    const double glide = scroll * (rows + nextRows) / 2.0;
    const int lift = (rows - 1) * lineHeight / 2;

    p.setPen(look.current);
    drawLine(p, box(int(glide) + middle - lift, rows), table.at(current).text);

    p.setPen(look.other);
    double y = glide + middle - lift;
    for (int i = current - 1; i >= 1; --i) {
        const int r = rowsOf(p, table.at(i).text, width);
        y -= r * lineHeight;
        if (y + (r - 1) * lineHeight <= kEarliestLineY)
            break;
        drawLine(p, box(int(y), r), table.at(i).text);
    }
    y = glide + middle - lift + rows * lineHeight;
    for (int i = current + 1; y < height && i < table.size(); ++i) {
        const int r = rowsOf(p, table.at(i).text, width);
        drawLine(p, box(int(y), r), table.at(i).text);
        y += r * lineHeight;
    }
}

const LyricPanel::LaidOut &LyricPanel::laidOut(QPainter &p, const QString &text, int width)
{
    if (p.font() != m_laidOutFont || width != m_laidOutWidth ||
        m_laidOut.size() > kMaxLaidOutLines) {
        m_laidOut.clear();
        m_laidOutFont = p.font();
        m_laidOutWidth = width;
    }
    auto laid = m_laidOut.find(text);
    if (laid == m_laidOut.end())
        laid = m_laidOut.insert(text, layOut(text, p.font(), p.layoutDirection(), width));
    return *laid;
}

int LyricPanel::rowsOf(QPainter &p, const QString &text, int width)
{
    return text.isEmpty() ? 1 : laidOut(p, text, width).rows;
}

void LyricPanel::drawLine(QPainter &p, const QRect &box, const QString &text)
{
    // Laying a line out is most of drawing it, and the same lines are drawn every second:
    // each is laid out once, the way drawText lays it out. The turned horizontal panel takes
    // the general way, where a kept layout would not land on exactly the same pixels.
    if (text.isEmpty())
        return; // drawText draws nothing for it either
    if (p.transform().type() > QTransform::TxTranslate) {
        p.drawText(box, kTextFlags, text);
        return;
    }
    const LaidOut &laid = laidOut(p, text, box.width());
    if (!laid.layout) {
        p.drawText(box, kTextFlags, text);
        return;
    }
    // Rows that would start below the box are left out; the block is centred in the box
    // and cut off where it overflows.
    int kept = 0;
    while (kept < laid.rows && (kept == 0 || laid.rowBottom[kept - 1] < box.height()))
        ++kept;
    const qreal height = laid.rowBottom[kept - 1];
    const qreal top = (box.height() - height) / 2;
    qreal width = 0;
    for (int i = 0; i < kept; ++i)
        width = std::max(width, laid.layout->lineAt(i).naturalTextWidth());
    const QRectF block((box.width() - width) / 2, top, width, height);
    const bool clipped = !QRectF(QPointF(0, 0), QSizeF(box.size())).contains(block);
    if (clipped) {
        p.save();
        p.setClipRect(QRectF(box), Qt::IntersectClip);
    }
    for (int i = 0; i < kept; ++i)
        laid.layout->lineAt(i).draw(&p, QPointF(box.x() + laid.rowX[i], box.y() + top));
    if (clipped)
        p.restore();
}

LyricPanel::LaidOut LyricPanel::layOut(const QString &text, const QFont &font,
                                       Qt::LayoutDirection direction, int width)
{
    // Rows break at words within the width and sit on whole pixels; each row is centred on
    // its own.
    LaidOut w;
    // drawText treats these characters specially; lines with them are left to it, and only
    // their row count is taken here.
    for (QChar c : text) {
        if (c == u'\t' || c == u'\r' || c == u'\n' || c == QChar(0x9c)) {
            const QFontMetrics metrics(font);
            const QRect bounds =
                metrics.boundingRect(QRect(0, 0, width, 1 << 20), kTextFlags, text);
            w.rows = std::max(1, bounds.height() / std::max(1, metrics.lineSpacing()));
            return w;
        }
    }
    w.layout = std::make_shared<QTextLayout>(text, font);
    QTextOption option(Qt::AlignLeft);
    option.setWrapMode(QTextOption::WordWrap);
    option.setTextDirection(direction);
    w.layout->setTextOption(option);
    w.layout->setCacheEnabled(true);
    const int leading = QFontMetrics(font).leading();
    qreal height = 0;
    w.layout->beginLayout();
    for (QTextLine row = w.layout->createLine(); row.isValid(); row = w.layout->createLine()) {
        row.setLineWidth(width);
        height = std::ceil(height + leading);
        row.setPosition(QPointF(0, height));
        height += row.ascent() + row.descent() + (row.leadingIncluded() ? row.leading() : 0);
        w.rowX.append((width - row.horizontalAdvance()) / 2);
        w.rowBottom.append(height);
    }
    w.layout->endLayout();
    w.rows = std::max(1, int(w.rowBottom.size()));
    if (w.rowBottom.isEmpty()) {
        w.layout.reset(); // nothing to lay out: drawText draws what there is
        w.rows = 1;
    }
    return w;
}

const QImage &LyricPanel::Backdrop::of(const QPixmap &picture, const QRect &source, QSize size,
                                       bool turned)
{
    // Opaque, in the window's format: a plain line copy onto the window where drawing the
    // picture anew each second would be a blend (which wakes helper threads). Parts of the
    // skin that hold no picture are black and never keep earlier text.
    const qint64 wanted = picture.cacheKey();
    if (image.size() == size && key == wanted && from == source && wasTurned == turned)
        return image;
    key = wanted;
    from = source;
    wasTurned = turned;
    image = QImage(size, QImage::Format_RGB32);
    if (image.isNull())
        return image;
    image.fill(Qt::black);
    QPainter p(&image);
    if (turned) {
        // The 320 x 120 band turned by 270 degrees: band pixel (x, y) lands on (y, 319 - x).
        p.translate(0, source.width());
        p.rotate(270);
    }
    p.drawPixmap(QPoint(0, 0), picture, source);
    return image;
}

// Into the buffer kept from the last drawing: no fresh memory every second.
void LyricPanel::copyInto(QImage &buffer, const QImage &backdrop)
{
    if (buffer.size() != backdrop.size() || buffer.format() != backdrop.format() ||
        buffer.bytesPerLine() != backdrop.bytesPerLine() || !buffer.isDetached())
        buffer = QImage(backdrop.size(), backdrop.format());
    if (!buffer.isNull())
        std::memcpy(buffer.bits(), backdrop.constBits(), backdrop.sizeInBytes());
}

const QImage &LyricPanel::renderVertical(const LyricTable &table, const Skin &skin,
                                         const Look &look)
{
    // Bounded by the window: a skin asking for more gets no bigger buffer.
    const QSize size = skin.show.size().expandedTo(QSize(0, 0)).boundedTo(kWindowSize);
    copyInto(m_vertical,
             m_verticalBack.of(skin.skin, QRect(skin.showSource, skin.show.size()), size, false));
    if (m_vertical.isNull())
        return m_vertical;
    QPainter p(&m_vertical);
    drawLines(p, table, m_current, m_scroll, kVerticalWidth, skin.show.height(), look);
    return m_vertical;
}

const QImage &LyricPanel::renderMini(const LyricTable &table, const Skin &skin, const Look &look)
{
    copyInto(m_mini, m_miniBack.of(skin.skin, kMiniStripSource, kMiniStripSource.size(), false));
    QPainter p(&m_mini);
    if (!table.isEmpty()) {
        p.setFont(sized(look.font, kMiniFontSize));
        p.setPen(look.current);
        p.drawText(QRect(QPoint(0, 0), kMiniStripSource.size()), kTextFlags,
                   table.at(std::clamp(m_current, 0, table.size() - 1)).text);
    }
    return m_mini;
}

const QImage &LyricPanel::renderHorizontal(const LyricTable &table, const Skin &skin,
                                           const Look &look)
{
    // Drawn through a painter turned by 270 degrees, so the buffer is already in screen
    // orientation.
    copyInto(m_horizontal, m_horizontalBack.of(skin.background, kHorizontalSource,
                                               kHorizontalSource.size().transposed(), true));
    QPainter p(&m_horizontal);
    p.translate(0, kHorizontalSource.width());
    p.rotate(270);
    drawLines(p, table, m_current, m_scroll, kHorizontalWidth, kHorizontalPanelHeight, look);
    return m_horizontal;
}

QRect LyricPanel::paint(QPainter &window, int layoutMode, const LyricTable &table, const Skin &skin,
                        const Look &look)
{
    if (table.isEmpty())
        return QRect();
    const QImage *buffer = nullptr;
    QPoint at;
    switch (layoutMode) {
    case 1:
        buffer = &renderMini(table, skin, look);
        at = kMiniStripTarget;
        break;
    case 2:
        buffer = &renderVertical(table, skin, look);
        at = skin.show.topLeft();
        break;
    case 3:
        buffer = &renderHorizontal(table, skin, look);
        at = kHorizontalTarget;
        break;
    default:
        return QRect();
    }
    if (buffer->isNull())
        return QRect();
    window.save();
    window.setCompositionMode(QPainter::CompositionMode_Source);
    window.drawImage(at, *buffer);
    window.restore();
    return QRect(at, buffer->size());
}
