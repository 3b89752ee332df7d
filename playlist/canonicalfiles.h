// Canonical paths of many files, for telling whether two names are the same file: each
// folder is resolved once, and a file that is not a link costs one lstat instead of a walk
// of its whole path. Names are kept byte for byte (PathCodec).
#pragma once

#include <QHash>
#include <QString>

class CanonicalFiles
{
public:
    // The canonical path of `path` when it names a regular file (links followed); empty
    // otherwise.
    QString of(const QString &path);

private:
    QString folder(const QString &path);

    QHash<QString, QString> m_folders;
};
