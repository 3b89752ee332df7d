#include "playlist/filebrowser.h"

#include "platform/logging.h"
#include "platform/res_icon_reader.h"
#include "playlist/playlistfile.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QStyledItemDelegate>

namespace
{

// The size of every row, for a view of uniform rows: that of a row showing the widest
// text, so the rows still reach as far as the longest name. Texts are compared by the sum
// of their characters' advances (shaping each of a long folder's names costs more than
// listing it); only the widest is laid out.
class WidestRow : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        QStyleOptionViewItem widest(option);
        initStyleOption(&widest, index);
        const QFontMetrics metrics(widest.font);
        QHash<char16_t, int> advances;
        const QAbstractItemModel *model = index.model();
        int widestWidth = -1;
        for (int row = 0; row < model->rowCount(index.parent()); ++row) {
            const QString text =
                model->index(row, index.column(), index.parent()).data().toString();
            int width = 0;
            for (QChar c : text) {
                auto it = advances.constFind(c.unicode());
                if (it == advances.constEnd())
                    it = advances.insert(c.unicode(), metrics.horizontalAdvance(c));
                width += *it;
            }
            if (width > widestWidth) {
                widestWidth = width;
                widest.text = text;
            }
        }
        const QWidget *view = widest.widget;
        const QStyle *style = view ? view->style() : QApplication::style();
        return style->sizeFromContents(QStyle::CT_ItemViewItem, &widest, QSize(), view);
    }
};

} // namespace

FileBrowser::FileBrowser(const QString &filter, QWidget *parent, const char *name)
    : QListWidget(parent), m_filter(filter)
{
    if (name)
        setObjectName(QString::fromLatin1(name));
    setSelectionMode(QAbstractItemView::SingleSelection);
    // Every row is one line beside an icon: the view sizes them all alike from the widest
    // name instead of laying out each of a long folder's rows.
    setUniformItemSizes(true);
    setItemDelegate(new WidestRow(this));
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
    // One icon of each kind shared by every row: a folder of thousands of songs would
    // otherwise draw and hold a picture per row.
    const QIcon folder = folderIcon();
    const QIcon file = fileIcon();
    if (!QDir(canonical).isRoot())
        addItem(new QListWidgetItem(folder, QStringLiteral("..")));
    for (const QFileInfo &info : entries)
        if (info.isDir())
            addItem(new QListWidgetItem(folder, info.fileName()));
    for (const QFileInfo &info : entries)
        if (!info.isDir())
            addItem(new QListWidgetItem(file, info.fileName()));
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
