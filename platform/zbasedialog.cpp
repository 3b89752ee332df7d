#include "platform/zbasedialog.h"

#include "platform/zmainwidget.h"

ZBaseDialog::ZBaseDialog(QWidget *parent, const char *name, bool modal, int) : QDialog(parent)
{
    if (name)
        setObjectName(QString::fromLatin1(name));
    setModal(modal);
    resize(ZMainWidget::ScreenWidth, ZMainWidget::ScreenHeight);
}
