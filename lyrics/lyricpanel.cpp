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

    p.setPen(look.current);
    drawLine(p, QRect(0, int(scroll) + middle, width, kLineBoxHeight), table.at(current).text);

    p.setPen(look.other);
    double y = scroll + middle - lineHeight;
    for (int i = current - 1; i >= 1 && y > kEarliestLineY; --i, y -= lineHeight)
        drawLine(p, QRect(0, int(y), width, kLineBoxHeight), table.at(i).text);
    y = scroll + middle + lineHeight;
    for (int i = current + 1; y < height && i < table.size(); ++i, y += lineHeight)
        drawLine(p, QRect(0, int(y), width, kLineBoxHeight), table.at(i).text);
}

void LyricPanel::drawLine(QPainter &p, const QRect &box, const QString &text)
{
    // Laying a line out is most of drawing it, and the same lines are drawn every second:
    // each is laid out once, the way drawText lays it out. The turned horizontal panel takes
    // the general way, where a kept layout would not land on exactly the same pixels.
    if (text.isEmpty())
        return; // drawText draws nothing for it either
    if (p.transform().type() > QTransform::TxTranslate || box.height() != kLineBoxHeight) {
        p.drawText(box, kTextFlags, text);
        return;
    }
    if (p.font() != m_laidOutFont || box.width() != m_laidOutWidth ||
        m_laidOut.size() > kMaxLaidOutLines) {
        m_laidOut.clear();
        m_laidOutFont = p.font();
        m_laidOutWidth = box.width();
    }
    auto laid = m_laidOut.find(text);
    if (laid == m_laidOut.end())
        laid = m_laidOut.insert(text, layOut(text, p.font(), p.layoutDirection(), box.size()));
    if (!laid->layout) {
        p.drawText(box, kTextFlags, text);
        return;
    }
    if (laid->clipped) {
        p.save();
        p.setClipRect(QRectF(box), Qt::IntersectClip);
    }
    for (int i = 0; i < laid->layout->lineCount(); ++i)
        laid->layout->lineAt(i).draw(&p, QPointF(box.x() + laid->rowX[i], box.y() + laid->top));
    if (laid->clipped)
        p.restore();
}

LyricPanel::LaidOut LyricPanel::layOut(const QString &text, const QFont &font,
                                       Qt::LayoutDirection direction, QSize box)
{
    // Rows break at words within the box's width and sit on whole pixels; rows that would
    // start below the box are left out; each row is centred on its own, the block as a whole.
    LaidOut w;
    // drawText treats these characters specially; lines with them are left to it.
    for (QChar c : text) {
        if (c == u'\t' || c == u'\r' || c == u'\n' || c == QChar(0x9c))
            return w;
    }
    w.layout = std::make_shared<QTextLayout>(text, font);
    QTextOption option(Qt::AlignLeft);
    option.setWrapMode(QTextOption::WordWrap);
    option.setTextDirection(direction);
    w.layout->setTextOption(option);
    w.layout->setCacheEnabled(true);
    const int leading = QFontMetrics(font).leading();
    qreal height = 0;
    qreal width = 0;
    w.layout->beginLayout();
    for (QTextLine row = w.layout->createLine(); row.isValid(); row = w.layout->createLine()) {
        row.setLineWidth(box.width());
        height = std::ceil(height + leading);
        row.setPosition(QPointF(0, height));
        height += row.ascent() + row.descent() + (row.leadingIncluded() ? row.leading() : 0);
        width = std::max(width, row.naturalTextWidth());
        w.rowX.append((box.width() - row.horizontalAdvance()) / 2);
        if (height >= box.height())
            break;
    }
    w.layout->endLayout();
    w.top = (box.height() - height) / 2;
    const QRectF block((box.width() - width) / 2, w.top, width, height);
    w.clipped = !QRectF(QPointF(0, 0), QSizeF(box)).contains(block);
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
