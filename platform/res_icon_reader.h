// The phone's named icons, drawn here: every name the program uses has a picture.
#pragma once

#include <QPixmap>
#include <QString>

class RES_ICON_Reader
{
public:
    // An unknown name gives a null pixmap.
    QPixmap getIcon(const QString &name, bool flag = true) const;
    // Short text for a soft key named by resource ("CST_Back" gives "Back").
    static QString label(const QString &name);
    static QStringList knownNames();
};
