// The phone's screen on a desktop: the 240 x 320 rectangle where the main window stands.
// Menus, dialogs and messages belong inside it, whatever room the desktop around it offers
// (the toolkit would open a submenu or a button's menu wherever the monitor has space).
#pragma once

#include <QFont>
#include <QRect>

class QPushButton;
class QWidget;

class PhoneScreen
{
public:
    static constexpr int Width = 240;
    static constexpr int Height = 320;

    // The screen's rectangle in desktop coordinates.
    static QRect rect();
    // Where the main window was put when it took the whole screen.
    static void setOrigin(const QPoint &topLeft);

    // Where a window of rectangle r goes so that it lies inside screen. A window opened
    // beside or below its anchor (a submenu's menu, a menu's button) that has no room there
    // goes to the anchor's other side when that side has room; otherwise it is pushed
    // inside. A window larger than the screen keeps its size and shows its top left.
    static QRect fitted(const QRect &r, const QRect &screen, const QRect &anchor = QRect());

    // From now on every menu and dialog of the program is fitted into the screen as it is
    // shown, and dialogs that cannot shrink below their minimum keep their top left on it.
    // Safe to call more than once.
    static void keepPopupsInside();

    // The font for dialog texts: the phone's sizes are pixels, whatever this screen's DPI.
    static QFont font(const QFont &base, int pixels);
    // The largest pixel size up to maxPixels at which text fits in room (at least 6).
    static int fittingPixelSize(const QFont &base, const QString &text, const QSize &room,
                                int maxPixels);
    // Sets the button's font so its label fits inside the frame the style draws.
    static void fitLabel(QPushButton *button, int maxPixels);
};
