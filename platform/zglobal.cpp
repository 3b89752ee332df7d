#include "platform/zglobal.h"

#include <QApplication>
#include <QFontMetrics>

int ZGlobal::getLineHeight()
{
    return QFontMetrics(QApplication::font()).height() + 4;
}
