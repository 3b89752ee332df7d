#include "playlist/filebrowser.h"

#include "platform/logging.h"
#include "platform/res_icon_reader.h"
#include "playlist/playlistfile.h"

#include <QDir>
#include <QFileInfo>

namespace
{
}

FileBrowser::FileBrowser(const QString &filter, QWidget *parent, const char *name)
    : QListWidget(parent), m_filter(filter)
{
    if (name)
        setObjectName(QString::fromLatin1(name));
    setSelectionMode(QAbstractItemView::SingleSelection);
    connect(this, &QListWidget::currentRowChanged, this, &FileBrowser::itemHighlighted);
    // Enter or a double tap.
    connect(this, &QListWidget::itemActivated, this,
            [this](QListWidgetItem *item) { itemSelected(row(item)); });
    connect(this, &QListWidget::itemClicked, this, &FileBrowser::itemClicked);
}

QIcon FileBrowser::folderIcon() const
{
    return QIcon(RES_ICON_Reader().getIcon(QStringLiteral("FMMS_Personal_Folder_S.gif")));
}

QIcon FileBrowser::fileIcon() const
{
    return QIcon(RES_ICON_Reader().getIcon(QStringLiteral("FMMS_Personal_File_S.gif")));
}

QString FileBrowser::pathOf(const QString &entryText) const
{
    if (m_currentDir.isEmpty())
        return QString();
    // At the root the directory already ends in "/".
    if (m_currentDir.endsWith(QLatin1Char('/')))
        return m_currentDir + entryText;
    return m_currentDir + QLatin1Char('/') + entryText;
}

void FileBrowser::forgetDir()
{
    const QSignalBlocker quiet(this);
    clear();
    m_currentDir.clear();
}

bool FileBrowser::setDir(const QString &path)
{
    QDir dir(path);
    // An empty path would be the working directory.
    if (path.isEmpty() || !dir.exists() || !dir.isReadable()) {
        qCDebug(lcPlaylist) << "cannot list" << path;
        return false;
    }
    dir.setNameFilters(PlaylistFile::splitFilter(m_filter));
    dir.setFilter(QDir::AllDirs | QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
    dir.setSorting(QDir::Name | QDir::IgnoreCase);
    const QFileInfoList entries = dir.entryInfoList();
    const QString canonical = dir.canonicalPath();
    if (canonical.isEmpty())
        return false;

    // Rebuilding the rows moves the current row; nothing was highlighted by the user.
    const QSignalBlocker quiet(this);
    clear();
    m_currentDir = canonical;
    if (!QDir(canonical).isRoot())
        addItem(new QListWidgetItem(folderIcon(), QStringLiteral("..")));
    for (const QFileInfo &info : entries)
        if (info.isDir())
            addItem(new QListWidgetItem(folderIcon(), info.fileName()));
    for (const QFileInfo &info : entries)
        if (!info.isDir())
            addItem(new QListWidgetItem(fileIcon(), info.fileName()));
    return true;
}

void FileBrowser::itemHighlighted(int index)
{
    QListWidgetItem *it = item(index);
    if (!it)
        return;
    const QString path = pathOf(it->text());
    const QFileInfo info(path);
    const bool isFile = info.isFile();
    const bool isDir = info.isDir();
    m_pickedFile = isFile ? path : QString();
    if (isFile)
        emit picked(path);
    emit isFilePicked(isFile);
    m_pickedDir = isDir ? path : QString();
    if (isDir)
        emit dirpicked(path);
    emit isDirPicked(isDir);
    // At the root every entry stands for a folder to pick, whatever it is.
    if (QDir(m_currentDir).isRoot()) {
        m_pickedDir = m_currentDir + it->text();
        emit isDirPicked(true);
    }
}

void FileBrowser::itemSelected(int index)
{
    QListWidgetItem *it = item(index);
    if (!it)
        return;
    const QString path = pathOf(it->text());
    const QFileInfo info(path);
    const bool isFile = info.isFile();
    if (info.isDir())
        setDir(path);
    else if (isFile)
        m_pickedFile = path;
    emit isFileClicked(isFile);
}

void FileBrowser::itemClicked(QListWidgetItem *item)
{
    if (!item)
        return;
    const QString path = pathOf(item->text());
    if (QFileInfo(path).isDir())
        setDir(path);
}

void FileBrowser::itemdoubleClicked(QListWidgetItem *item)
{
    itemClicked(item);
}
