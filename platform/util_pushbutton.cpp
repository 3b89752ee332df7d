#include "platform/util_pushbutton.h"

#include "platform/res_icon_reader.h"

UTIL_PushButton::UTIL_PushButton(const char *resource, const QString &text, QWidget *parent, int,
                                 int width, int height)
    : QPushButton(text, parent)
{
    if (resource && *resource) {
        setObjectName(QString::fromLatin1(resource));
        const QPixmap icon = RES_ICON_Reader().getIcon(QString::fromLatin1(resource), true);
        if (!icon.isNull())
            setIcon(icon);
    }
    setFixedSize(width > 0 ? width : defaultWidth(), height > 0 ? height : defaultHeight());
}
