#include "platform/zscrollview.h"

ZScrollView::ZScrollView(QWidget *parent, const char *name, int) : QScrollArea(parent)
{
    if (name)
        setObjectName(QString::fromLatin1(name));
    setWidgetResizable(true);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
}

void ZScrollView::addChild(QWidget *child)
{
    setWidget(child);
}
