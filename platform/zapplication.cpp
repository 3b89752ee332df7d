#include "platform/zapplication.h"

#include "platform/phonescreen.h"

#include <QWidget>

ZApplication::ZApplication(int &argc, char **argv, Type) : QApplication(argc, argv)
{
    setApplicationName(QStringLiteral("orbal"));
    // The phone's font sizes are pixels: dialogs and menus keep their size at any DPI.
    setFont(PhoneScreen::font(font(), DefaultFontPixels));
    PhoneScreen::keepPopupsInside();
}

void ZApplication::showMainWidget(QWidget *widget)
{
    if (!widget)
        return;
    widget->show();
    widget->raise();
    widget->activateWindow();
}
