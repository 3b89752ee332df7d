#include "playlist/canonicalfiles.h"

#include "platform/pathcodec.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

CanonicalFiles::~CanonicalFiles()
{
    for (const Folder &f : std::as_const(m_folders))
        if (f.fd >= 0)
            ::close(f.fd);
}

const CanonicalFiles::Folder &CanonicalFiles::folder(const QString &path)
{
    if (!m_lastPath.isNull() && m_lastPath == path)
        return m_last;
    auto it = m_folders.constFind(path);
    if (it == m_folders.constEnd()) {
        const QString canonical = PathCodec::canonical(path);
        const int fd = canonical.isEmpty() ? -1
                                           : ::open(PathCodec::encode(canonical).constData(),
                                                    O_PATH | O_DIRECTORY | O_CLOEXEC);
        it = m_folders.insert(path, Folder{fd, canonical});
    }
    m_lastPath = path;
    m_last = *it;
    return m_last;
}

QString CanonicalFiles::of(const QString &path)
{
    // Not cleaned: "link/.." is for realpath to resolve, not for text to drop.
    const QString absolute = path.startsWith(QLatin1Char('/')) ? path : PathCodec::absolute(path);
    const qsizetype slash = absolute.lastIndexOf(QLatin1Char('/'));
    const Folder &parent = folder(slash == 0 ? QStringLiteral("/") : absolute.left(slash));
    if (parent.fd < 0)
        return QString();
    const QString name = absolute.mid(slash + 1);
    struct stat info;
    if (name.isEmpty() ||
        ::fstatat(parent.fd, PathCodec::encode(name).constData(), &info, AT_SYMLINK_NOFOLLOW) != 0)
        return QString();
    if (S_ISLNK(info.st_mode))
        return PathCodec::isRegularFile(absolute) ? PathCodec::canonical(absolute) : QString();
    // A plain file in a resolved folder: nothing of it is left to resolve.
    if (!S_ISREG(info.st_mode))
        return QString();
    return (parent.canonical == QLatin1String("/") ? QString() : parent.canonical) +
           QLatin1Char('/') + name;
}
