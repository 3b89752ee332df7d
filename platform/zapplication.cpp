#include "platform/zapplication.h"

#include <QWidget>

ZApplication::ZApplication(int &argc, char **argv, Type) : QApplication(argc, argv)
{
    setApplicationName(QStringLiteral("orbal"));
}

void ZApplication::showMainWidget(QWidget *widget)
{
    if (!widget)
        return;
    widget->show();
    widget->raise();
    widget->activateWindow();
}
