#include "cutter/directory.h"

#include "cutter/directoryview.h"
#include "cutter/fileitem.h"

#include <QDir>
#include <unistd.h>

namespace
{
// The phone's own system folders, never offered to the user.
constexpr const char *kHiddenNames[] = {"bin",  "dev", "diskb", "ezxlocal", "etc", "home", "lib",
                                        "proc", "ram", "sbin",  "tmp",      "usr", "var"};

// Listing needs read permission and entering needs search permission; root passes both.
bool canList(const QString &path)
{
    return ::access(QFile::encodeName(path).constData(), R_OK | X_OK) == 0 && QDir(path).exists();
}
} // namespace

bool Directory::isHiddenName(const QString &name)
{
    for (const char *hidden : kHiddenNames)
        if (name == QLatin1String(hidden))
            return true;
    return false;
}

Directory::Directory(DirectoryView *view, const QString &rootPath)
    : QTreeWidgetItem(view), f(rootPath), p(nullptr), readable(canList(rootPath)),
      showDirsOnly(view->showDirsOnly())
{
    setChildIndicatorPolicy(QTreeWidgetItem::ShowIndicator);
}

Directory::Directory(Directory *parent, const QString &name)
    : QTreeWidgetItem(parent), f(name), p(parent), readable(canList(fullName())),
      showDirsOnly(parent->showDirsOnly)
{
    setChildIndicatorPolicy(QTreeWidgetItem::ShowIndicator);
    pix = readable ? &DirectoryView::folderClosedPixmap() : &DirectoryView::folderLockedPixmap();
    setIcon(0, *pix);
}

DirectoryView *Directory::view() const
{
    return static_cast<DirectoryView *>(treeWidget());
}

QString Directory::fullName() const
{
    if (!p)
        return f.fileName();
    return p->fullName() + f.fileName() + QLatin1Char('/');
}

QVariant Directory::data(int column, int role) const
{
    if (role == Qt::DisplayRole) {
        if (column == 0)
            return f.fileName();
        return readable ? QStringLiteral("Directory") : QStringLiteral("Unreadable Directory");
    }
    return QTreeWidgetItem::data(column, role);
}

void Directory::setOpen(bool open)
{
    if (open && !m_entriesRead && childCount() == 0)
        readEntries();
    if (!readable) {
        // Stays closed; the toolkit may already have drawn it open.
        setChildIndicatorPolicy(QTreeWidgetItem::DontShowIndicator);
        setIcon(0, DirectoryView::folderLockedPixmap());
        setExpanded(false);
        return;
    }
    setIcon(0, open ? DirectoryView::folderOpenPixmap() : DirectoryView::folderClosedPixmap());
    setExpanded(open);
}

void Directory::readEntries()
{
    const QString path = fullName();
    if (!canList(path)) {
        readable = false;
        return;
    }
    readable = true;
    m_entriesRead = true;
    const QFileInfoList entries = QDir(path).entryInfoList(
        QDir::AllEntries | QDir::Hidden | QDir::System, QDir::Name | QDir::IgnoreCase);

    DirectoryView *tree = view();
    const bool updates = tree && tree->updatesEnabled();
    if (tree)
        tree->setUpdatesEnabled(false);
    for (const QFileInfo &entry : entries) {
        const QString name = entry.fileName();
        if (name == QLatin1String(".") || name == QLatin1String("..") || isHiddenName(name))
            continue;
        if (entry.isSymLink() && !showDirsOnly)
            new FileItem(this, name, QStringLiteral("Symbolic Link"));
        else if (entry.isDir())
            new Directory(this, name);
        else if (showDirsOnly)
            continue;
        else if (name.toLower().endsWith(QLatin1String(".mp3")))
            new FileItem(this, name,
                         entry.isFile() ? QStringLiteral("File") : QStringLiteral("Special"));
    }
    setChildIndicatorPolicy(QTreeWidgetItem::DontShowIndicatorWhenChildless);
    if (tree)
        tree->setUpdatesEnabled(updates);
}
