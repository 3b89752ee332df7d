// Canonical paths of many files, for telling whether two names are the same file: each
// folder is opened and resolved once, and a file that is not a link costs one stat relative
// to its folder instead of a walk of its whole path. Names are kept byte for byte
// (PathCodec).
#pragma once

#include <QHash>
#include <QString>

class CanonicalFiles
{
public:
    CanonicalFiles() = default;
    ~CanonicalFiles();
    CanonicalFiles(const CanonicalFiles &) = delete;
    CanonicalFiles &operator=(const CanonicalFiles &) = delete;

    // The canonical path of `path` when it names a regular file (links followed); empty
    // otherwise.
    QString of(const QString &path);

private:
    struct Folder {
        int fd = -1; // -1: it cannot be opened
        QString canonical;
    };
    const Folder &folder(const QString &path);

    QHash<QString, Folder> m_folders;
    // The lines of a list mostly name the same folder as the line before.
    QString m_lastPath;
    Folder m_last;
};
