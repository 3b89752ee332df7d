#include "cutter/fileitem.h"

#include "cutter/directoryview.h"

FileItem::FileItem(QTreeWidgetItem *parent, const QString &name, const QString &kind)
    : QTreeWidgetItem(parent)
{
    setText(0, name);
    setText(1, kind);
    setIcon(0, DirectoryView::filePixmap());
}
