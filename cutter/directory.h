// A folder in the tree chooser. Its entries are read the first time it is opened;
// a folder that cannot be listed shows a lock and stays closed.
#pragma once

#include <QFile>
#include <QTreeWidgetItem>

class DirectoryView;
class QPixmap;

class Directory : public QTreeWidgetItem
{
public:
    // A top item named by a root path such as "/" (a path ending in "/").
    Directory(DirectoryView *view, const QString &rootPath);
    Directory(Directory *parent, const QString &name);

    // Opens (reading the entries on the first open) or closes the folder.
    void setOpen(bool open);
    // The folder's path, ending in "/": the parent's full name plus the own name.
    QString fullName() const;
    QString name() const { return f.fileName(); }
    bool isReadable() const { return readable; }

    // Column 0 is the name; any other column reads "Directory" or "Unreadable Directory".
    QVariant data(int column, int role) const override;

    // The hidden names, checked at every level of the tree.
    static bool isHiddenName(const QString &name);

private:
    DirectoryView *view() const;
    void readEntries();

    QFile f;
    Directory *p;
    bool readable;
    bool showDirsOnly;
    const QPixmap *pix = nullptr;
    bool m_entriesRead = false;
};
