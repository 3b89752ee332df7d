#include "cutter/directoryview.h"

#include "cutter/directory.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QTimer>
#include <QTreeWidgetItemIterator>

namespace
{

struct Pictures {
    QPixmap closed, open, locked, file;
};

QPixmap blank()
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

QPixmap folder(bool open)
{
    QPixmap pixmap = blank();
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QColor(0x8a, 0x62, 0x10));
    p.setBrush(QColor(0xe8, 0xb4, 0x3c));
    p.drawRoundedRect(QRectF(1.5, 3.5, 6, 3), 1, 1); // the tab
    p.drawRect(QRectF(1.5, 5.5, 13, 9));
    if (open) {
        QPainterPath flap;
        flap.moveTo(3.5, 8.5);
        flap.lineTo(15.5, 8.5);
        flap.lineTo(13.5, 14.5);
        flap.lineTo(1.5, 14.5);
        flap.closeSubpath();
        p.setBrush(QColor(0xf8, 0xd8, 0x78));
        p.drawPath(flap);
    }
    return pixmap;
}

QPixmap lockedFolder()
{
    QPixmap pixmap = folder(false);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0x40, 0x40, 0x48), 1.2));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(8.5, 6.5, 5, 6), 0, 180 * 16); // the shackle
    p.setPen(QColor(0x30, 0x30, 0x38));
    p.setBrush(QColor(0x70, 0x70, 0x80));
    p.drawRect(QRectF(7.5, 9.5, 7, 5.5));
    return pixmap;
}

QPixmap musicFile()
{
    QPixmap pixmap = blank();
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath page;
    page.moveTo(2.5, 0.5);
    page.lineTo(10.5, 0.5);
    page.lineTo(13.5, 3.5);
    page.lineTo(13.5, 15.5);
    page.lineTo(2.5, 15.5);
    page.closeSubpath();
    p.setPen(QColor(0x60, 0x68, 0x78));
    p.setBrush(Qt::white);
    p.drawPath(page);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x28, 0x58, 0xb0)); // a note
    p.drawEllipse(QRectF(4.5, 10, 4, 3));
    p.drawRect(QRectF(7.5, 4.5, 1.2, 7));
    p.drawRect(QRectF(7.5, 4.5, 3.5, 1.5));
    return pixmap;
}

Pictures *g_pictures = nullptr;

const Pictures &pictures()
{
    if (!g_pictures)
        g_pictures = new Pictures{folder(false), folder(true), lockedFolder(), musicFile()};
    return *g_pictures;
}

} // namespace

const QPixmap &DirectoryView::folderClosedPixmap()
{
    return pictures().closed;
}
const QPixmap &DirectoryView::folderOpenPixmap()
{
    return pictures().open;
}
const QPixmap &DirectoryView::folderLockedPixmap()
{
    return pictures().locked;
}
const QPixmap &DirectoryView::filePixmap()
{
    return pictures().file;
}

DirectoryView::DirectoryView(QWidget *parent, const char *name, bool showDirsOnly)
    : QTreeWidget(parent), m_showDirsOnly(showDirsOnly), m_autoOpenTimer(new QTimer(this))
{
    if (name)
        setObjectName(QString::fromLatin1(name));
    pictures();
    connect(m_autoOpenTimer, &QTimer::timeout, this, &DirectoryView::openFolder);
    connect(this, &QTreeWidget::itemDoubleClicked, this,
            [this](QTreeWidgetItem *item) { slotFolderSelected(item); });
    connect(this, &QTreeWidget::itemExpanded, this, &DirectoryView::itemOpened);
    connect(this, &QTreeWidget::itemCollapsed, this, &DirectoryView::itemClosed);
    setAcceptDrops(true);
    viewport()->setAcceptDrops(true);
}

Directory *DirectoryView::addRoot(const QString &rootPath)
{
    QString path = rootPath;
    if (!path.endsWith(QLatin1Char('/')))
        path += QLatin1Char('/');
    return new Directory(this, path);
}

QString DirectoryView::fullPath(const QTreeWidgetItem *item)
{
    if (!item)
        return QString();
    QString path = item->text(0);
    for (const QTreeWidgetItem *up = item->parent(); up; up = up->parent())
        path = up->parent() ? up->text(0) + QLatin1Char('/') + path : up->text(0) + path;
    return path;
}

// The toolkit opens and closes items itself (a tap on the arrow, the keys); the folder
// reads its entries and changes its picture here.
void DirectoryView::itemOpened(QTreeWidgetItem *item)
{
    if (auto *dir = dynamic_cast<Directory *>(item))
        dir->setOpen(true);
}

void DirectoryView::itemClosed(QTreeWidgetItem *item)
{
    if (auto *dir = dynamic_cast<Directory *>(item))
        dir->setOpen(false);
}

void DirectoryView::setDir(const QString &path)
{
    QTreeWidgetItem *first = topLevelItem(0);
    for (QTreeWidgetItemIterator it(this); *it; ++it)
        if (*it != first)
            (*it)->setExpanded(false);

    // A root of its own, such as the memory card, is walked from its top item; its path
    // may pass through folders the tree hides.
    QTreeWidgetItem *item = first;
    QString rest = path;
    int longest = 0;
    for (int i = 0; i < topLevelItemCount(); ++i) {
        const QString root = topLevelItem(i)->text(0);
        if (root.size() > longest && path.startsWith(root)) {
            longest = int(root.size());
            item = topLevelItem(i);
        }
    }
    if (longest > 0) {
        rest = path.mid(longest);
        if (auto *dir = dynamic_cast<Directory *>(item))
            dir->setOpen(true);
    }

    // Each part is looked for among the visible items from where the last one was found.
    const QStringList parts = rest.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    QTreeWidgetItem *from = item;
    for (const QString &part : parts) {
        item = from;
        while (item && item->text(0) != part)
            item = itemBelow(item);
        if (!item)
            break;
        if (auto *dir = dynamic_cast<Directory *>(item))
            dir->setOpen(true);
        else
            item->setExpanded(true);
        from = itemBelow(item);
    }
    setCurrentItem(item);
}

void DirectoryView::slotFolderSelected(QTreeWidgetItem *item)
{
    if (item && m_showDirsOnly)
        emit folderSelected(fullPath(item));
}

void DirectoryView::openFolder()
{
    m_autoOpenTimer->stop();
    if (m_dropItem && !m_dropItem->isExpanded()) {
        if (auto *dir = dynamic_cast<Directory *>(m_dropItem))
            dir->setOpen(true);
        else
            m_dropItem->setExpanded(true);
    }
}

void DirectoryView::mousePressEvent(QMouseEvent *event)
{
    QTreeWidget::mousePressEvent(event);
    const QPoint pos = event->position().toPoint();
    if (QTreeWidgetItem *item = itemAt(pos)) {
        // Only a press on the item's text counts, not on its branch arrow.
        if (pos.x() >= visualItemRect(item).x()) {
            m_pressPos = pos;
            m_mousePressed = true;
        }
    }
}

void DirectoryView::mouseReleaseEvent(QMouseEvent *event)
{
    m_mousePressed = false;
    QTreeWidget::mouseReleaseEvent(event);
}

// No dragging out of the chooser.
void DirectoryView::mouseMoveEvent(QMouseEvent *) {}

void DirectoryView::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        slotFolderSelected(currentItem());
    QTreeWidget::keyPressEvent(event);
}
