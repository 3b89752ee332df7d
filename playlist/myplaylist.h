// The playlist editor's list: a FileBrowser where each tap toggles an entry's
// selection, drawn with its own small icons. It shows either a directory to pick
// songs from or, filled by its owner, the entries of a playlist.
#pragma once

#include "playlist/filebrowser.h"

class MyPlayList : public FileBrowser
{
    Q_OBJECT
public:
    explicit MyPlayList(const QString &filter, QWidget *parent = nullptr,
                        const char *name = nullptr);

    // Shows rows of plain texts (a playlist's file names) instead of a directory;
    // taps on them never navigate.
    void showEntries(const QStringList &texts);
    // Rows selected, in row order.
    QList<int> selectedRows() const;
    // Selects exactly the rows that were not selected.
    void invertSelection();

    QIcon folderIcon() const override;
    QIcon fileIcon() const override;
};
