// A list of one directory at a time: ".." (except at the root), the subdirectories
// whatever their names, then the files matching a ";"-separated name filter. Hidden
// entries are listed, and names that are not UTF-8 kept (PathCodec). Highlighting or selecting an
// entry remembers it; clicking a directory enters it. Entry texts are bare names; full paths are
// rebuilt from the directory shown.
#pragma once

#include <QIcon>
#include <QListWidget>
#include <QString>

class FileBrowser : public QListWidget
{
    Q_OBJECT
public:
    explicit FileBrowser(const QString &filter, QWidget *parent = nullptr,
                         const char *name = nullptr);

    // Lists `path`. An unreadable or missing directory changes nothing and gives false.
    bool setDir(const QString &path);

    QString filter() const { return m_filter; }
    // Canonical path of the directory shown; empty until the first listing.
    QString currentDir() const { return m_currentDir; }
    // The file last highlighted or selected; empty when the highlight is not a file.
    QString pickedFile() const { return m_pickedFile; }
    // The directory last highlighted; empty when the highlight is not a directory. At the
    // root any entry highlighted counts as one.
    QString pickedDir() const { return m_pickedDir; }

    // Full path of an entry text in the directory shown; empty when none is shown.
    QString pathOf(const QString &entryText) const;

    virtual QIcon folderIcon() const;
    virtual QIcon fileIcon() const;

public slots:
    void itemHighlighted(int index);
    void itemSelected(int index);
    void itemClicked(QListWidgetItem *item);
    void itemdoubleClicked(QListWidgetItem *item);

signals:
    void picked(const QString &path);
    void isFilePicked(bool file);
    void isDirPicked(bool dir);
    void isFileClicked(bool file);
    void dirpicked(const QString &path);

protected:
    // Empties the list and forgets the directory, for owners that fill it themselves.
    void forgetDir();
    // Appends a row per text, all with `icon`.
    void addRows(const QStringList &texts, const QIcon &icon);

private:
    QString m_filter;
    QString m_currentDir;
    QString m_pickedFile;
    QString m_pickedDir;
};
