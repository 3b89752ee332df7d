// The phone's application object: a QApplication that shows one main widget.
#pragma once

#include <QApplication>

class ZApplication : public QApplication
{
    Q_OBJECT
public:
    enum Type { GuiClient, GuiServer };
    // The program's text size, in pixels (the phone's standard font).
    static constexpr int DefaultFontPixels = 12;

    ZApplication(int &argc, char **argv, Type type = GuiClient);

    // Shows the widget as the application's one full-screen window.
    void showMainWidget(QWidget *widget);
};
