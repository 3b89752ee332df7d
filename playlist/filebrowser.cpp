#include "playlist/filebrowser.h"

#include "platform/dirlisting.h"
#include "platform/logging.h"
#include "platform/pathcodec.h"
#include "platform/res_icon_reader.h"
#include "playlist/playlistfile.h"

#include <QApplication>
#include <QHash>
#include <QStyledItemDelegate>

namespace
{

// The size of every row, for a view of uniform rows: that of a row showing the widest
// text, so the rows still reach as far as the longest name. Texts are compared by the sum
// of their characters' advances (shaping each of a long folder's names costs more than
// listing it); only the widest is laid out. The size is kept until the rows or the font
// change: the view asks again at every layout. Rows hold the names that find the files and
// show them as the user reads them (PathCodec::displayName).
class WidestRow : public QStyledItemDelegate
{
public:
    explicit WidestRow(QAbstractItemView *view) : QStyledItemDelegate(view)
    {
        QAbstractItemModel *model = view->model();
        for (auto changed : {&QAbstractItemModel::rowsInserted, &QAbstractItemModel::rowsRemoved})
            connect(model, changed, this, [this] { m_known = false; });
        connect(model, &QAbstractItemModel::modelReset, this, [this] { m_known = false; });
        connect(model, &QAbstractItemModel::dataChanged, this, [this] { m_known = false; });
    }

    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        QStyleOptionViewItem widest(option);
        initStyleOption(&widest, index);
        if (m_known && widest.font == m_font)
            return m_size;
        const QFontMetrics metrics(widest.font);
        QHash<char16_t, int> advances;
        const QAbstractItemModel *model = index.model();
        int widestWidth = -1;
        for (int row = 0; row < model->rowCount(index.parent()); ++row) {
            const QString text = PathCodec::displayName(
                model->index(row, index.column(), index.parent()).data().toString());
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
        m_size = style->sizeFromContents(QStyle::CT_ItemViewItem, &widest, QSize(), view);
        m_font = widest.font;
        m_known = true;
        return m_size;
    }

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        option->text = PathCodec::displayName(option->text);
    }

private:
    mutable bool m_known = false;
    mutable QFont m_font;
    mutable QSize m_size;
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

void FileBrowser::addRows(const QStringList &texts, const QIcon &icon)
{
    // One insertion for all rows: row by row, a folder of thousands tells the view each.
    const int first = count();
    addItems(texts);
    {
        // The rows are new and not laid out yet: nothing to tell the view per icon.
        const QSignalBlocker quietModel(model());
        for (int i = first; i < count(); ++i)
            item(i)->setIcon(icon);
    }
    viewport()->update();
}

bool FileBrowser::setDir(const QString &path)
{
    // An empty path would be the working directory.
    const QString canonical = path.isEmpty() ? QString() : PathCodec::canonical(path);
    const std::optional<QList<DirListing::Entry>> entries =
        canonical.isEmpty() ? std::nullopt
                            : DirListing::read(canonical, PlaylistFile::splitFilter(m_filter));
    if (!entries) {
        qCDebug(lcPlaylist) << "cannot list" << path;
        return false;
    }
    QStringList dirs;
    QStringList files;
    if (canonical != QLatin1String("/"))
        dirs << QStringLiteral("..");
    for (const DirListing::Entry &entry : *entries)
        (entry.isDir ? dirs : files) << entry.name;

    // Rebuilding the rows moves the current row; nothing was highlighted by the user.
    const QSignalBlocker quiet(this);
    clear();
    m_currentDir = canonical;
    // One icon of each kind shared by every row: a folder of thousands of songs would
    // otherwise draw and hold a picture per row.
    addRows(dirs, folderIcon());
    addRows(files, fileIcon());
    return true;
}

void FileBrowser::itemHighlighted(int index)
{
    QListWidgetItem *it = item(index);
    if (!it)
        return;
    const QString path = pathOf(it->text());
    const bool isFile = PathCodec::isRegularFile(path);
    const bool isDir = !isFile && PathCodec::isDirectory(path);
    m_pickedFile = isFile ? path : QString();
    if (isFile)
        emit picked(path);
    emit isFilePicked(isFile);
    m_pickedDir = isDir ? path : QString();
    if (isDir)
        emit dirpicked(path);
    emit isDirPicked(isDir);
    // At the root every entry stands for a folder to pick, whatever it is.
    if (m_currentDir == QLatin1String("/")) {
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
    const bool isFile = PathCodec::isRegularFile(path);
    if (!isFile && PathCodec::isDirectory(path))
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
    if (PathCodec::isDirectory(path))
        setDir(path);
}

void FileBrowser::itemdoubleClicked(QListWidgetItem *item)
{
    itemClicked(item);
}
