// Every picture of the skinned main window, drawn into one window-sized backing pixmap
// (canvas) that the window only copies on paint. The full repaint renders the current
// display form; the partial routines (digits, title ticker, position bar, indicator,
// playlist rows, equalizer, single buttons, lights) redraw their own region through small
// buffers made once per skin load and report the changed rectangle to the updater.
// State is the window's, handed in at construction; what only the player knows comes from
// PlayerView.
#pragma once

#include "skin/command.h"

#include <QBitmap>
#include <QByteArray>
#include <QFont>
#include <QPixmap>
#include <QRect>
#include <QString>
#include <functional>

class QPainter;

class Skin;
struct OrbalState;

// What the painting needs to ask the outside player; each may be left empty.
struct PlayerView {
    // 0 playing, 1 paused, 2 stopped.
    std::function<int()> state;
    // xmms's playlist position (xmms mode only), -1 when unknown.
    std::function<int()> playlistPos;
    struct Stream {
        int rate = 0; // bits per second
        int frequency = 0;
        int channels = 0;
        QByteArray title; // 8-bit text as the player gives it (GBK)
    };
    std::function<Stream()> stream;
};

class SkinPainter
{
public:
    static constexpr int ScreenW = 240;
    static constexpr int ScreenH = 320;

    SkinPainter(const Skin &skin, OrbalState &state);

    void setUpdater(std::function<void(const QRect &)> updater) { m_updater = std::move(updater); }
    void setPlayerView(const PlayerView &view) { m_view = view; }
    // The horizontal window's background picture (320 x 240).
    void setBackground(const QPixmap &background) { m_background = background; }
    const QPixmap &background() const { return m_background; }
    // The window's font; rows use it at 12 points.
    void setBaseFont(const QFont &font);

    // Draws the lyric panel of the current form onto the canvas; the rectangle drawn.
    void setLyricDrawer(std::function<QRect(QPainter &)> drawer)
    {
        m_lyricDrawer = std::move(drawer);
    }
    void drawLyrics();

    // Remakes the small buffers at the loaded skin's sizes and forgets cached values.
    void skinLoaded();

    const QPixmap &canvas() const { return m_canvas; }
    // Bytes held by the canvas and the off-screen buffers: bounded by the screen whatever
    // sizes a skin asks for.
    qint64 bufferBytes() const;

    // Full repaint of the current display form. In the mini bar form the shape to give
    // the window is then miniMask(); null when the skin has none.
    void paintFull();
    QBitmap miniMask() const;

    // Title line: a null text selects the player mode's own title. The same text again
    // leaves the ticker running.
    void setTitleText(const QString &text);
    QString titleText() const { return m_title; }
    // A message shown instead of the title for `ticks` ticker steps.
    void showMessage(const QString &text, int ticks);
    QString message() const { return m_countdown > 0 ? m_message : QString(); }
    void drawTitle(); // one ticker step
    // The title area shows what every further step would draw (a title that fits, no
    // message), so the ticker may rest until `wake` is called: on a new title, a message,
    // or a full repaint.
    bool titleSettled() const { return m_titleSettled && m_countdown <= 0; }
    void setTitleWake(std::function<void()> wake) { m_titleWake = std::move(wake); }
    int titleOffset() const { return m_titleOffset; }
    int titleWidth() const { return m_titleWidth; }

    void drawDigits(int seconds);
    // percent -1 draws an empty bar. In the horizontal form callers pass 100 - percent.
    void drawPosBar(int percent, bool announce);
    int positionPercent() const { return m_lastPercent; }
    void setThumbDragging(bool dragging) { m_thumbDragging = dragging; }
    bool thumbDragging() const { return m_thumbDragging; }
    // 0 playing, 1 paused, 2 stopped, 4 as 0, 3 and 5 background only, -1 the player's own.
    void drawPlayStatus(int state);
    void drawPList(int firstRow);
    void drawPlaylistBar(int offset, bool pressed);
    int topRow() const { return m_topRow; }
    // Thumb offset that shows `row` (negative rows sit at the bottom).
    static int thumbOffsetFor(int row, int count, int visibleRows, int barHeight);
    void drawButton(Command button, bool pressed);
    // A picture of "mini_btn.png" straight onto the mini bar.
    void drawMiniPicture(int dx, int dy, int sx, int sy, int w, int h);
    // An element's picture one height below its own (the pressed look of plain buttons).
    void drawElementPressed(int key, bool pressed);
    // slot 0-9 band, 10 or more preamp. Whether the pointer holds the slider does not
    // change its look: the knob pictures are fixed per drawing.
    void setEqValue(int slot, int value, bool pressed = false);
    void drawEqCurve();
    void drawLights();
    int lightsFrame() const { return m_lightsFrame; }
    // The volume slider at position p (0..100) in the vertical or horizontal form.
    void drawVolumeSlider(int position, bool pressed);
    // One frame of the horizontal side panels, pushed aside by d pixels.
    void drawSlideFrame(const QPixmap &turnedBackground, int d);

    // The horizontal background turned to the screen (240 x 320).
    QPixmap turnedBackground() const;
    static QPixmap turn(const QPixmap &landscape);

private:
    void changed(const QRect &rect);
    void unsettleTitle();
    void paintMini(QPainter &p);
    void paintVertical(QPainter &p);
    void paintHorizontal(QPainter &p);
    void drawElement(QPainter &p, int key, int dx = 0, int dy = 0, bool alternate = false) const;
    void drawPlaylistPanel(QPainter &p);
    void drawLyricPanelFrame(QPainter &p);
    void drawEqPanel(QPainter &p);
    void drawTabs(QPainter &p);
    void renderSlider(int slot, int value);
    void renderTime(int seconds);
    void drawDigitCells(QPainter &p, int x0, int y0, int seconds) const;
    void drawRows(int firstRow);
    int playerState() const;
    QString modeTitle() const;

    const Skin &m_skin;
    OrbalState &m_state;
    std::function<void(const QRect &)> m_updater;
    std::function<QRect(QPainter &)> m_lyricDrawer;
    PlayerView m_view;
    QPixmap m_canvas;
    QPixmap m_background;
    QFont m_rowFont;
    QFont m_titleFont;

    QPixmap m_titleBuf;
    QPixmap m_timeBuf;
    QPixmap m_curveBuf;
    QPixmap m_posBuf;
    QPixmap m_hPosBuf;
    QPixmap m_rowBuf;
    QPixmap m_sliderBuf;

    QString m_title;
    QPixmap m_titleText; // the title drawn once, transparent, so a tick only copies a slice
    QString m_message;
    int m_countdown = 0;
    // The title area already shows what a tick would draw (a title that fits, no message):
    // ticks then draw nothing until something changes it.
    bool m_titleSettled = false;
    int m_titleSettledMode = 0;
    std::function<void()> m_titleWake;
    int m_titleWidth = -1;
    int m_titleOffset = 0;
    int m_titleDir = -1;

    int m_lastPercent = -1;
    bool m_thumbDragging = false;
    int m_topRow = 0;
    int m_lightsFrame = 1;
};
