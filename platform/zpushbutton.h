// The phone's push button; with a popup menu it opens the menu when pressed.
#pragma once

#include <QPushButton>

class QMenu;

class ZPushButton : public QPushButton
{
    Q_OBJECT
public:
    explicit ZPushButton(QWidget *parent = nullptr, int a = 0, int b = 0, int c = 0);
    void setPopup(QMenu *menu) { setMenu(menu); }
};
