// A collapsible tree of the file system showing folders and MP3 files (only folders
// when showDirsOnly). Folders are read when first opened; the phone's system folders
// are hidden at every level.
#pragma once

#include <QPoint>
#include <QTreeWidget>

class Directory;
class QTimer;

class DirectoryView : public QTreeWidget
{
    Q_OBJECT
public:
    DirectoryView(QWidget *parent = nullptr, const char *name = nullptr, bool showDirsOnly = false);

    bool showDirsOnly() const { return m_showDirsOnly; }

    // Adds a top item for a root path; a trailing "/" is added when missing.
    Directory *addRoot(const QString &rootPath);

    // The item's path: its name after its ancestors' names, each ancestor but the top
    // one followed by "/" ("/" + "mmc" + "mmca1" + "song.mp3" gives "/mmc/mmca1/song.mp3").
    static QString fullPath(const QTreeWidgetItem *item);

    // The shared 16 x 16 pictures, drawn once.
    static const QPixmap &folderClosedPixmap();
    static const QPixmap &folderOpenPixmap();
    static const QPixmap &folderLockedPixmap();
    static const QPixmap &filePixmap();

public slots:
    // Opens the folders along `path` and makes the last one found current. The walk
    // starts at the top item whose root path begins the path (the longest one), else
    // at the first item; when a part is not found nothing is current.
    void setDir(const QString &path);
    void slotFolderSelected(QTreeWidgetItem *item);
    void openFolder();

signals:
    void folderSelected(const QString &path);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void itemOpened(QTreeWidgetItem *item);
    void itemClosed(QTreeWidgetItem *item);

    bool m_showDirsOnly;
    QTreeWidgetItem *m_oldCurrent = nullptr;
    QTreeWidgetItem *m_dropItem = nullptr;
    QTimer *m_autoOpenTimer;
    QPoint m_pressPos;
    bool m_mousePressed = false;
};
