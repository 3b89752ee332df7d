// The lyric panel: where it stands in the line table (current line, lyric time, scroll
// offset) and how it draws itself in the three display forms. It owns its off-screen
// buffers; the line table, the skin pictures and the colours belong to the main window and
// are handed in on every call.
#pragma once

#include "lyrics/lyrictable.h"

#include <QColor>
#include <QFont>
#include <QHash>
#include <QImage>
#include <QPixmap>
#include <QPoint>
#include <QRect>
#include <QTextLayout>

#include <memory>

class QPainter;

class LyricPanel
{
public:
    // How the text looks; all from the settings and the font menu.
    struct Look {
        QFont font;                       // the window's font; only the point size is changed
        int fontSize = 18;                // "lrcfont", points, vertical and horizontal windows
        int lineHeight = 32;              // pixels from one line to the next
        QColor current{0xC8, 0xC8, 0xC8}; // "lrccolor", the line being sung
        QColor other{0xC8, 0xC8, 0xC8};   // "lrcbcolor", the lines around it
    };
    // The pictures and the one skin element the panel draws from.
    struct Skin {
        QPixmap skin;       // "skins.png": `lrcwin_show` background, mini strip at (0,463)
        QPixmap background; // the horizontal window's background picture (320 x 240)
        QRect show;         // `lrcwin_show` indices 0-3: place and size on the window
        QPoint showSource;  // `lrcwin_show` indices 4, 5: its picture in "skins.png"
    };

    static constexpr int kMiniFontSize = 15;
    static constexpr QRect kMiniStripSource{0, 463, 240, 23};
    static constexpr QPoint kMiniStripTarget{0, 25};
    static constexpr QRect kHorizontalSource{0, 60, 320, 120}; // of the background picture
    static constexpr int kHorizontalPanelHeight = 100;
    static constexpr QPoint kHorizontalTarget{60, 0}; // the band turned by 270 degrees
    static constexpr int kLineBoxHeight = 40;

    // Line height for a lyric font size of the font menu (12, 14, 16, 18, 21), else
    // `fallback`.
    static int lineHeightForFontSize(int pointSize, int fallback);

    // Moves to t seconds (the play time plus the lead): current line and scroll offset,
    // which runs from 0 at a line's start to almost -lineHeight just before the next.
    void seekTo(const LyricTable &table, double seconds, int lineHeight);
    // Back to the start position (line 0, time 0, offset 0).
    void reset();

    int currentLine() const { return m_current; }
    double currentTime() const { return m_time; }
    double scrollOffset() const { return m_scroll; }

    // Start of the current line and of the next one, in whole seconds, for repeating the
    // line (A-B). False when the table has no line after the current one.
    bool currentLineSpan(const LyricTable &table, int *start, int *next) const;

    // Draws the panel of display mode 1, 2 or 3 onto `window` (window coordinates, pixels
    // copied as they are, like a bit blit) at the current position; returns the window
    // rectangle drawn, empty when there was nothing to draw (empty table, unknown mode).
    QRect paint(QPainter &window, int layoutMode, const LyricTable &table, const Skin &skin,
                const Look &look);

    // The three buffers as paint() fills them, before they are copied to the window.
    const QImage &renderVertical(const LyricTable &table, const Skin &skin, const Look &look);
    const QImage &renderMini(const LyricTable &table, const Skin &skin, const Look &look);
    const QImage &renderHorizontal(const LyricTable &table, const Skin &skin, const Look &look);

    // The line block of a panel `width` x `height` around line `current`, drawn with p on
    // whatever background it already holds.
    void drawLines(QPainter &p, const LyricTable &table, int current, double scroll, int width,
                   int height, const Look &look);

private:
    // A panel's picture under the text, composed once per picture, place and size.
    struct Backdrop {
        const QImage &of(const QPixmap &picture, const QRect &source, QSize size, bool turned);
        qint64 key = 0;
        QRect from;
        bool wasTurned = false;
        QImage image;
    };
    // A lyric line laid out once, in all its rows, the way QPainter::drawText lays it out
    // in a line box of its width: the layout, each row's left edge and the bottom of each
    // row from the block's top.
    struct LaidOut {
        std::shared_ptr<QTextLayout> layout; // none: drawn by QPainter::drawText
        QList<qreal> rowX;
        QList<qreal> rowBottom;
        int rows = 1;
    };
    static LaidOut layOut(const QString &text, const QFont &font, Qt::LayoutDirection direction,
                          int width);
    // The line's layout for the painter's font at this width, kept across draws.
    const LaidOut &laidOut(QPainter &p, const QString &text, int width);

    static void copyInto(QImage &buffer, const QImage &backdrop);
    // One line of text centred in its box, as QPainter::drawText with the panel's flags.
    void drawLine(QPainter &p, const QRect &box, const QString &text);
    // Rows the line takes at this width: a wrapped line takes a line height for each.
    int rowsOf(QPainter &p, const QString &text, int width);

    int m_current = 0;
    double m_time = 0.0;
    double m_scroll = 0.0; // pixels, 0 or negative
    QImage m_vertical;     // `lrcwin_show` size
    QImage m_mini;         // the strip under the mini bar
    QImage m_horizontal;   // the horizontal band, already turned
    Backdrop m_verticalBack;
    Backdrop m_miniBack;
    Backdrop m_horizontalBack;
    // Lines laid out for the font and width they were last drawn with.
    QHash<QString, LaidOut> m_laidOut;
    QFont m_laidOutFont;
    int m_laidOutWidth = -1;
};
