#include "platform/res_icon_reader.h"

#include <QPainter>
#include <QPainterPath>

namespace
{

QPixmap canvas(int w, int h)
{
    QPixmap pm(w, h);
    pm.fill(Qt::transparent);
    return pm;
}

QPixmap folderIcon()
{
    QPixmap pm = canvas(16, 16);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0x9a, 0x6b, 0x10), 1));
    p.setBrush(QColor(0xf2, 0xc0, 0x4a));
    QPainterPath tab;
    tab.addRoundedRect(QRectF(1.5, 2.5, 6, 3), 1, 1);
    p.drawPath(tab);
    p.setBrush(QColor(0xf7, 0xd0, 0x62));
    p.drawRoundedRect(QRectF(1.5, 4.5, 13, 9), 1.5, 1.5);
    return pm;
}

QPixmap fileIcon()
{
    QPixmap pm = canvas(16, 16);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0x55, 0x60, 0x70), 1));
    p.setBrush(Qt::white);
    QPainterPath page;
    page.moveTo(3.5, 1.5);
    page.lineTo(10.5, 1.5);
    page.lineTo(13.5, 4.5);
    page.lineTo(13.5, 14.5);
    page.lineTo(3.5, 14.5);
    page.closeSubpath();
    p.drawPath(page);
    p.setBrush(QColor(0x3a, 0x7b, 0xd5));
    p.setPen(Qt::NoPen);
    p.drawEllipse(QRectF(5, 9, 3.5, 3));
    p.fillRect(QRectF(7.6, 5, 1, 5.5), QColor(0x3a, 0x7b, 0xd5));
    return pm;
}

QPixmap exclamationIcon()
{
    QPixmap pm = canvas(32, 32);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0xb0, 0x70, 0x00), 1.5));
    p.setBrush(QColor(0xff, 0xc8, 0x2e));
    QPainterPath tri;
    tri.moveTo(16, 2);
    tri.lineTo(30, 29);
    tri.lineTo(2, 29);
    tri.closeSubpath();
    p.drawPath(tri);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x30, 0x20, 0x00));
    p.drawRoundedRect(QRectF(14.5, 10, 3, 11), 1.5, 1.5);
    p.drawEllipse(QRectF(14.5, 23, 3, 3));
    return pm;
}

// Soft-key glyphs: a back arrow, a menu of three bars, an exit cross.
QPixmap softKeyIcon(int kind)
{
    QPixmap pm = canvas(16, 16);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0x30, 0x38, 0x48), 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    if (kind == 0) {
        p.drawLine(QPointF(3, 8), QPointF(13, 8));
        p.drawPolyline(QPolygonF({QPointF(7, 4), QPointF(3, 8), QPointF(7, 12)}));
    } else if (kind == 1) {
        for (int y : {4, 8, 12})
            p.drawLine(QPointF(3, y), QPointF(13, y));
    } else {
        p.drawLine(QPointF(4, 4), QPointF(12, 12));
        p.drawLine(QPointF(12, 4), QPointF(4, 12));
    }
    return pm;
}

} // namespace

QStringList RES_ICON_Reader::knownNames()
{
    return {"CST_Back",
            "CST_Menu",
            "CST_Exit",
            "Dialog_Exclamatory_Mark.gif",
            "FMMS_Personal_Folder_S.gif",
            "FMMS_Personal_File_S.gif"};
}

QPixmap RES_ICON_Reader::getIcon(const QString &name, bool) const
{
    if (name == QLatin1String("CST_Back"))
        return softKeyIcon(0);
    if (name == QLatin1String("CST_Menu"))
        return softKeyIcon(1);
    if (name == QLatin1String("CST_Exit"))
        return softKeyIcon(2);
    if (name == QLatin1String("Dialog_Exclamatory_Mark.gif"))
        return exclamationIcon();
    if (name == QLatin1String("FMMS_Personal_Folder_S.gif"))
        return folderIcon();
    if (name == QLatin1String("FMMS_Personal_File_S.gif"))
        return fileIcon();
    return QPixmap();
}

QString RES_ICON_Reader::label(const QString &name)
{
    if (name.startsWith(QLatin1String("CST_")))
        return name.mid(4);
    return QString();
}
