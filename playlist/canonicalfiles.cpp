#include "playlist/canonicalfiles.h"

#include "platform/pathcodec.h"

#include <sys/stat.h>

QString CanonicalFiles::folder(const QString &path)
{
    auto it = m_folders.constFind(path);
    if (it == m_folders.constEnd())
        it = m_folders.insert(path, PathCodec::canonical(path));
    return *it;
}

QString CanonicalFiles::of(const QString &path)
{
    // Not cleaned: "link/.." is for realpath to resolve, not for text to drop.
    const QString absolute = path.startsWith(QLatin1Char('/')) ? path : PathCodec::absolute(path);
    struct stat info;
    if (::lstat(PathCodec::encode(absolute).constData(), &info) != 0)
        return QString();
    if (S_ISLNK(info.st_mode))
        return PathCodec::isRegularFile(absolute) ? PathCodec::canonical(absolute) : QString();
    if (!S_ISREG(info.st_mode))
        return QString();
    // A plain file in a folder: only the folder's part can hold links.
    const qsizetype slash = absolute.lastIndexOf(QLatin1Char('/'));
    const QString parent = folder(slash == 0 ? QStringLiteral("/") : absolute.left(slash));
    if (parent.isEmpty())
        return QString();
    return (parent == QLatin1String("/") ? QString() : parent) + absolute.mid(slash);
}
