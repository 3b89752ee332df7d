#include "playlist/myplaylist.h"

#include <QItemSelection>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>

namespace
{

// 16 x 16: a folder, and a note for songs.
QIcon drawFolder()
{
    QPixmap pm(16, 16);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0x44, 0x5a, 0x78), 1));
    p.setBrush(QColor(0x8f, 0xb4, 0xe3));
    p.drawRoundedRect(QRectF(1.5, 3.5, 6, 3), 1, 1);
    p.setBrush(QColor(0xa9, 0xc8, 0xf0));
    p.drawRoundedRect(QRectF(1.5, 5.5, 13, 8), 1.5, 1.5);
    return QIcon(pm);
}

QIcon drawNote()
{
    QPixmap pm(16, 16);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor ink(0x2b, 0x3d, 0x55);
    p.setPen(Qt::NoPen);
    p.setBrush(ink);
    p.drawEllipse(QRectF(2.5, 10, 5, 4));
    p.drawEllipse(QRectF(9, 8.5, 5, 4));
    p.setPen(QPen(ink, 1.4));
    p.drawLine(QPointF(7.2, 12), QPointF(7.2, 3));
    p.drawLine(QPointF(13.7, 10.5), QPointF(13.7, 1.5));
    p.setPen(QPen(ink, 2));
    p.drawLine(QPointF(7.2, 3.5), QPointF(13.7, 2));
    return QIcon(pm);
}

} // namespace

MyPlayList::MyPlayList(const QString &filter, QWidget *parent, const char *name)
    : FileBrowser(filter, parent, name)
{
    setSelectionMode(QAbstractItemView::MultiSelection);
}

QIcon MyPlayList::folderIcon() const
{
    static const QIcon icon = drawFolder();
    return icon;
}

QIcon MyPlayList::fileIcon() const
{
    static const QIcon icon = drawNote();
    return icon;
}

void MyPlayList::showEntries(const QStringList &texts)
{
    forgetDir();
    addRows(texts, fileIcon());
}

QList<int> MyPlayList::selectedRows() const
{
    // From the selection's ranges: asking each of a long list's rows is slow.
    QList<int> rows;
    for (const QModelIndex &index : selectionModel()->selectedIndexes())
        rows << index.row();
    std::sort(rows.begin(), rows.end());
    return rows;
}

void MyPlayList::invertSelection()
{
    // The unselected runs become the selection in two steps, each against an empty one:
    // flipping rows one by one, or swapping one selection for another, costs the square
    // of the rows (or of the runs) in a long list.
    const QList<int> selected = selectedRows();
    QItemSelection flipped;
    int from = 0;
    auto addRun = [&](int to) {
        if (from < to)
            flipped.select(model()->index(from, 0), model()->index(to - 1, 0));
    };
    for (int row : selected) {
        addRun(row);
        from = row + 1;
    }
    addRun(count());
    selectionModel()->clearSelection();
    selectionModel()->select(flipped, QItemSelectionModel::Select);
}
