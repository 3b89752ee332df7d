// The lyric panel: which line is current, the scroll offset, and what lands on the window
// in each display form, checked by pixels.
#include "lyrics/lyricpanel.h"

#include <QPainter>
#include <gtest/gtest.h>
#include <vector>

namespace
{

const LyricTable kSong =
    LyricTable::fromLrc("[00:10]a\n[00:20]b\n[00:20]c\n[00:30]d", LyricCharset::Gbk);

struct SeekRow {
    const char *name;
    double t;
    int lineHeight;
    int line;
    double offset;
};

TEST(LyricPanelSeek, currentLineAndOffset)
{
    // Entries: 0 {0}, 1 a@10, 2 b@20, 3 c@20, 4 d@30, 5 end
    const SeekRow rows[] = {
        {"before the first line", 5, 32, 0, -16},
        {"exactly at a line", 10, 32, 1, 0},
        {"half way to the next", 15, 32, 1, -16},
        {"half way, smaller font", 15, 20, 1, -10},
        {"equal times pick the last", 20, 32, 3, 0},
        {"three quarters", 27.5, 32, 3, -24},
        {"last real line barely moves", 31, 32, 4, -32.0 / (LyricTable::kEndTime - 30)},
        {"past the closing entry", 3e8, 32, 5, 0},
    };
    for (const SeekRow &row : rows) {
        LyricPanel panel;
        panel.seekTo(kSong, row.t, row.lineHeight);
        EXPECT_EQ(panel.currentLine(), row.line) << row.name;
        EXPECT_DOUBLE_EQ(panel.scrollOffset(), row.offset) << row.name;
        EXPECT_DOUBLE_EQ(panel.currentTime(), row.t) << row.name;
    }
    LyricPanel panel;
    panel.seekTo(LyricTable(), 7, 32);
    EXPECT_EQ(panel.currentLine(), 0);
    EXPECT_EQ(panel.scrollOffset(), 0.0);
}

TEST(LyricPanelSeek, repeatSpanIsCurrentAndNextStart)
{
    LyricPanel panel;
    panel.seekTo(kSong, 12.7, 32);
    int a = -1, b = -1;
    ASSERT_TRUE(panel.currentLineSpan(kSong, &a, &b));
    EXPECT_EQ(a, 10);
    EXPECT_EQ(b, 20);
    panel.seekTo(kSong, 3e8, 32);
    EXPECT_FALSE(panel.currentLineSpan(kSong, &a, &b));
}

TEST(LyricPanelLook, lineHeightFollowsFontMenuSizes)
{
    const int rows[][2] = {{12, 20}, {14, 24}, {16, 28}, {18, 32}, {21, 40}, {20, -1}, {0, -1}};
    for (const auto &row : rows)
        EXPECT_EQ(LyricPanel::lineHeightForFontSize(row[0], -1), row[1]) << row[0];
}

// Pictures whose every pixel tells where it came from; blue never below 100, so text in
// pure red or green cannot be mistaken for them.
QPixmap codedPicture(int w, int h)
{
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.setPixel(x, y, qRgb(x % 256, y % 256, 100 + x / 256 + 2 * (y / 256)));
    return QPixmap::fromImage(image);
}

const QRgb kRed = qRgb(255, 0, 0);
const QRgb kGreen = qRgb(0, 255, 0);
const QRgb kUntouched = qRgb(255, 0, 255);

struct Spread {
    int count = 0;
    double meanX = 0, meanY = 0;
    int minX = INT_MAX, maxX = INT_MIN, minY = INT_MAX, maxY = INT_MIN;
};

// Where the pixels of one colour lie within `area`.
Spread spreadOf(const QImage &image, QRgb color, QRect area)
{
    Spread s;
    area &= image.rect();
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if ((image.pixel(x, y) & 0xffffff) != (color & 0xffffff))
                continue;
            ++s.count;
            s.meanX += x;
            s.meanY += y;
            s.minX = std::min(s.minX, x);
            s.maxX = std::max(s.maxX, x);
            s.minY = std::min(s.minY, y);
            s.maxY = std::max(s.maxY, y);
        }
    }
    if (s.count) {
        s.meanX /= s.count;
        s.meanY /= s.count;
    }
    return s;
}

class LyricPanelDrawing : public ::testing::Test
{
protected:
    LyricPanelDrawing() : window(240, 320, QImage::Format_RGB32)
    {
        window.fill(kUntouched);
        skin.skin = codedPicture(240, 500);
        skin.background = codedPicture(320, 240);
        skin.show = QRect(0, 100, 240, 200); // middle of the panel at window y 200
        skin.showSource = QPoint(0, 290);
        look.font = QFont(QStringLiteral("DejaVu Sans")); // any face will do
        look.fontSize = 18;
        look.lineHeight = 32;
        look.current = kRed;
        look.other = kGreen;
    }

    QRect paint(int mode, double t)
    {
        panel.seekTo(table, t, look.lineHeight);
        QPainter p(&window);
        return panel.paint(p, mode, table, skin, look);
    }

    // Text is set in a 40-pixel box and centred in it.
    static constexpr double kBoxMiddle = 20;
    static constexpr double kSlack = 5;

    LyricTable table = LyricTable::fromLrc("[00:10]HHHH\n[00:20]HHHH\n[00:30]HHHH\n[00:40]HHHH",
                                           LyricCharset::Gbk);
    LyricPanel panel;
    LyricPanel::Skin skin;
    LyricPanel::Look look;
    QImage window;
};

TEST_F(LyricPanelDrawing, verticalLineAtItsTimeStartsAtTheMiddle)
{
    EXPECT_EQ(paint(2, 20), QRect(0, 100, 240, 200));
    const QRect panelArea(0, 100, 240, 200);
    const Spread red = spreadOf(window, kRed, panelArea);
    ASSERT_GT(red.count, 20);
    EXPECT_NEAR(red.meanY, 200 + kBoxMiddle, kSlack);
    EXPECT_NEAR(red.meanX, 120, kSlack);
    EXPECT_GE(red.minY, 200);
    EXPECT_LT(red.maxY, 240);
    // One earlier line (line 1) a line height above; later lines (3, 4) below.
    const Spread above = spreadOf(window, kGreen, QRect(0, 100, 240, 100));
    EXPECT_NEAR(above.meanY, 200 - 32 + kBoxMiddle, kSlack);
    const Spread below = spreadOf(window, kGreen, QRect(0, 200, 240, 100));
    EXPECT_NEAR(below.minY, 200 + 32 + kBoxMiddle - 10, 6);
    EXPECT_GT(below.maxY, 200 + 64 + kBoxMiddle - 4);
    // Background straight from the skin's `lrcwin_show` picture, nothing outside the panel.
    for (const QPoint &at : {QPoint(0, 100), QPoint(239, 100), QPoint(0, 299), QPoint(239, 299)})
        EXPECT_EQ(window.pixel(at), skin.skin.toImage().pixel(at + QPoint(0, 190))) << at.y();
    EXPECT_EQ(window.pixel(0, 99), kUntouched);
    EXPECT_EQ(window.pixel(0, 300), kUntouched);
}

TEST_F(LyricPanelDrawing, verticalBlockGlidesBetweenLines)
{
    paint(2, 15); // half way from line 1 to line 2: offset -16
    const Spread red = spreadOf(window, kRed, QRect(0, 100, 240, 200));
    ASSERT_GT(red.count, 20);
    EXPECT_NEAR(red.meanY, 200 - 16 + kBoxMiddle, kSlack);
    // The opening entry is never drawn as an earlier line, so nothing green above.
    EXPECT_EQ(spreadOf(window, kGreen, QRect(0, 100, 240, 100)).count, 0);
}

TEST_F(LyricPanelDrawing, aNewSkinPictureOrPlaceShowsAtOnce)
{
    paint(2, 20);
    const QRgb first = window.pixel(0, 100);
    // Another skin: the composed background must not outlive its picture.
    QImage plain(240, 500, QImage::Format_ARGB32_Premultiplied);
    plain.fill(qRgb(10, 20, 200));
    plain.setPixel(0, 290, qRgba(0, 0, 0, 0)); // no picture here: black, not old pixels
    skin.skin = QPixmap::fromImage(plain);
    paint(2, 20);
    EXPECT_NE(window.pixel(0, 100), first);
    EXPECT_EQ(window.pixel(0, 100), qRgb(0, 0, 0));
    EXPECT_EQ(window.pixel(239, 299), qRgb(10, 20, 200));
    // Another source place in the same picture.
    skin.skin = codedPicture(240, 500);
    skin.showSource = QPoint(0, 250);
    paint(2, 20);
    EXPECT_EQ(window.pixel(5, 100), skin.skin.toImage().pixel(5, 250));
}

TEST_F(LyricPanelDrawing, keptLayoutsDrawExactlyAsPlainTextDrawing)
{
    // Short lines, lines that wrap once, twice and with a tab, Chinese text; drawn twice
    // (the second time from the kept layouts), after a font change, and against
    // QPainter::drawText in the same boxes: a line of r rows gets r line heights and a box
    // grown by as much, and the current line stays centred.
    table = LyricTable::fromLrc("[00:10]first\n[00:20]HHHH\n[00:30]" +
                                    QByteArray("a line long enough to wrap twice in a box "
                                               "that is only two hundred and forty wide") +
                                    "\n[00:32]The lamps light one by one, slowly" +
                                    "\n[00:34]a tab\tin a line that wraps in the box" +
                                    "\n[00:40]\xce\xd2\xb5\xc4\xd2\xf4\xc0\xd6\n[00:50]end",
                                LyricCharset::Gbk);
    ASSERT_GE(table.size(), 8); // and the opening entry
    auto expected = [&](int current) {
        QImage image(240, 200, QImage::Format_RGB32);
        image.fill(Qt::black);
        QPainter p(&image);
        p.drawPixmap(QPoint(0, 0), skin.skin, QRect(skin.showSource, QSize(240, 200)));
        QFont f = look.font;
        f.setPixelSize(look.fontSize);
        p.setFont(f);
        const int flags = Qt::AlignHCenter | Qt::AlignTop | Qt::AlignVCenter | Qt::TextWordWrap;
        const QFontMetrics metrics(f);
        auto rows = [&](int i) {
            const QRect r = metrics.boundingRect(QRect(0, 0, 240, 10000), flags, table.at(i).text);
            return std::max(1, qRound(double(r.height()) / metrics.lineSpacing()));
        };
        const int lh = look.lineHeight;
        auto line = [&](int i, int y) {
            p.setPen(i == current ? look.current : look.other);
            p.drawText(QRect(0, y, 240, 40 + (rows(i) - 1) * lh), flags, table.at(i).text);
        };
        const int top = 100 - (rows(current) - 1) * lh / 2;
        line(current, top);
        int y = top;
        for (int i = current - 1; i >= 1; --i) {
            y -= rows(i) * lh;
            if (y + (rows(i) - 1) * lh <= -30)
                break;
            line(i, y);
        }
        y = top + rows(current) * lh;
        for (int i = current + 1; i < table.size() && y < 200; ++i) {
            line(i, y);
            y += rows(i) * lh;
        }
        return image;
    };
    for (int size : {18, 18, 21, 12}) {
        look.fontSize = size;
        for (auto [seconds, current] : {std::pair{20, 2}, std::pair{34, 5}}) {
            panel.seekTo(table, seconds, look.lineHeight);
            ASSERT_EQ(panel.currentLine(), current);
            const QImage drawn = panel.renderVertical(table, skin, look);
            EXPECT_EQ(drawn.convertToFormat(QImage::Format_RGB32), expected(current))
                << size << " " << seconds;
            LyricPanel fresh;
            fresh.seekTo(table, seconds, look.lineHeight);
            EXPECT_EQ(fresh.renderVertical(table, skin, look), drawn) << size << " " << seconds;
        }
    }
}

TEST_F(LyricPanelDrawing, wrappedLinesDoNotOverlapTheirNeighbours)
{
    table = LyricTable::fromLrc("[00:10]HHHH\n[00:20]a line long enough to wrap twice in a box "
                                "that is only two hundred and forty wide\n[00:30]HHHH\n[00:40]"
                                "another line that is long enough to wrap once\n[00:50]HHHH",
                                LyricCharset::Gbk);
    for (auto [size, lineHeight] : {std::pair{18, 32}, std::pair{21, 40}}) {
        for (double t : {20.0, 25.0, 40.0}) {
            look.fontSize = size;
            look.lineHeight = lineHeight;
            window.fill(kUntouched);
            paint(2, t);
            const QRect panelArea(0, 100, 240, 200);
            const Spread red = spreadOf(window, kRed, panelArea);
            ASSERT_GT(red.count, 20) << size << " " << t;
            const Spread above = spreadOf(window, kGreen, QRect(0, 100, 240, red.minY - 100));
            const Spread below =
                spreadOf(window, kGreen, QRect(0, red.maxY + 1, 240, 300 - red.maxY));
            const Spread within =
                spreadOf(window, kGreen, QRect(0, red.minY, 240, red.maxY - red.minY + 1));
            EXPECT_EQ(within.count, 0) << size << " " << t;
            EXPECT_GT(above.count + below.count, 20) << size << " " << t;
            if (t == 20.0 || t == 40.0) { // at its time centred where a short line is
                EXPECT_NEAR((red.minY + red.maxY) / 2.0, 200 + kBoxMiddle, kSlack + 2)
                    << size << " " << t;
            }
        }
    }
}

TEST_F(LyricPanelDrawing, beforeTheFirstLineTheMiddleIsEmpty)
{
    paint(2, 0);
    EXPECT_EQ(spreadOf(window, kRed, window.rect()).count, 0);
    const Spread green = spreadOf(window, kGreen, window.rect());
    ASSERT_GT(green.count, 20);
    EXPECT_GT(green.minY, 200 + 32);
}

TEST_F(LyricPanelDrawing, newLineHeightShowsOnTheNextDraw)
{
    paint(2, 20);
    const double before = spreadOf(window, kGreen, QRect(0, 100, 240, 100)).meanY;
    look.lineHeight = 40;
    window.fill(kUntouched);
    QPainter p(&window);
    panel.paint(p, 2, table, skin, look); // lrcRepaint: same position, new look
    p.end();
    const double after = spreadOf(window, kGreen, QRect(0, 100, 240, 100)).meanY;
    EXPECT_NEAR(before - after, 8, 2);
}

TEST_F(LyricPanelDrawing, miniStripShowsOnlyTheCurrentLine)
{
    EXPECT_EQ(paint(1, 20), QRect(0, 25, 240, 23));
    const Spread red = spreadOf(window, kRed, window.rect());
    ASSERT_GT(red.count, 10);
    EXPECT_GE(red.minY, 25);
    EXPECT_LT(red.maxY, 48);
    EXPECT_NEAR(red.meanY, 25 + 11.5, 4);
    EXPECT_EQ(spreadOf(window, kGreen, window.rect()).count, 0);
    const QImage skinImage = skin.skin.toImage();
    EXPECT_EQ(window.pixel(0, 25), skinImage.pixel(0, 463));
    EXPECT_EQ(window.pixel(239, 47), skinImage.pixel(239, 485));
    EXPECT_EQ(window.pixel(0, 24), kUntouched);
    EXPECT_EQ(window.pixel(0, 48), kUntouched);
}

TEST_F(LyricPanelDrawing, horizontalBandIsTurnedOntoTheScreen)
{
    EXPECT_EQ(paint(3, 20), QRect(60, 0, 120, 320));
    // Band pixel (x, y) of the background at (0,60) 320 x 120 lands on (60 + y - 60, 319 - x).
    const QImage background = skin.background.toImage();
    for (const QPoint &src :
         {QPoint(0, 60), QPoint(319, 60), QPoint(0, 179), QPoint(319, 179), QPoint(5, 70)})
        EXPECT_EQ(window.pixel(src.y(), 319 - src.x()), background.pixel(src))
            << src.x() << "," << src.y();
    EXPECT_EQ(window.pixel(59, 0), kUntouched);
    EXPECT_EQ(window.pixel(180, 319), kUntouched);

    // The current line's box starts at the band's middle (y 50) and reads along the screen.
    const Spread red = spreadOf(window, kRed, window.rect());
    ASSERT_GT(red.count, 20);
    EXPECT_NEAR(red.meanX, 60 + 50 + kBoxMiddle, kSlack);
    EXPECT_NEAR(red.meanY, 160, kSlack);
    EXPECT_GT(red.maxY - red.minY, red.maxX - red.minX); // turned: taller than wide
    // Earlier line toward the left, later lines toward the right, within the 100-pixel band.
    EXPECT_GT(spreadOf(window, kGreen, QRect(60, 0, 50, 320)).count, 0);
    EXPECT_GT(spreadOf(window, kGreen, QRect(150, 0, 30, 320)).count, 0);
}

TEST_F(LyricPanelDrawing, nothingWithoutLyricsOrInAnUnknownMode)
{
    table = LyricTable();
    EXPECT_TRUE(paint(2, 20).isEmpty());
    table = LyricTable::fromLrc("[00:01]x", LyricCharset::Gbk);
    EXPECT_TRUE(paint(4, 20).isEmpty());
    EXPECT_EQ(spreadOf(window, kUntouched, window.rect()).count, 240 * 320);
}

TEST_F(LyricPanelDrawing, shorterTableAfterASeekDoesNotOverrun)
{
    panel.seekTo(table, 45, 32); // line 4 of the long table
    table = LyricTable::fromLrc("[00:01]HHHH", LyricCharset::Gbk);
    QPainter p(&window);
    for (int mode = 1; mode <= 3; ++mode)
        EXPECT_FALSE(panel.paint(p, mode, table, skin, look).isEmpty());
}

TEST_F(LyricPanelDrawing, missingSkinPicturesStillShowText)
{
    skin.skin = QPixmap();
    skin.background = QPixmap();
    paint(2, 20);
    EXPECT_GT(spreadOf(window, kRed, window.rect()).count, 20);
    // The old window content under the panel is replaced, not kept behind the text.
    EXPECT_EQ(spreadOf(window, kUntouched, QRect(0, 100, 240, 200)).count, 0);
}

} // namespace
