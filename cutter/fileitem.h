// A file or link in the tree chooser: its name and kind ("File", "Special",
// "Symbolic Link").
#pragma once

#include <QTreeWidgetItem>

class FileItem : public QTreeWidgetItem
{
public:
    FileItem(QTreeWidgetItem *parent, const QString &name, const QString &kind);
};
