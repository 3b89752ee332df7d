#include "playlist/playlistfile.h"

#include "platform/dirlisting.h"
#include "platform/logging.h"
#include "platform/pathcodec.h"
#include "platform/regularfiles.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{

// The player reads no more of a list than this either, so both see the same entries.
constexpr qint64 MaxListBytes = 16 * 1024 * 1024;

// The file one line names, or nothing. The rule the player follows too: ASCII blanks and
// CR around the line are not part of the name (a no-break space or any non-ASCII byte
// is), unless only the line as written names a file; "#" lines, empty lines and names
// with a NUL name nothing.
QByteArray entryName(const QByteArray &raw, RegularFiles &files)
{
    const QByteArray line = raw.trimmed();
    if (line.isEmpty() || line.startsWith('#') || line.contains('\0'))
        return QByteArray();
    if (files.contains(line))
        return line;
    QByteArray exact = raw;
    if (exact.endsWith('\r'))
        exact.chop(1);
    return exact != line && files.contains(exact) ? exact : QByteArray();
}

// For a folder that takes no new file: the list is rewritten where it is, never truncated
// first. The new bytes go out in one write, padded with line feeds to the old length (empty
// lines, which every reader skips), are synced, and only then is the file cut to size: a
// kill at any moment leaves the old list or the new one.
bool writeInPlace(const QString &path, const QByteArray &bytes)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat info;
    bool done = false;
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode)) {
        QByteArray data = bytes;
        if (data.size() < info.st_size)
            data.append(qsizetype(info.st_size - data.size()), '\n');
        qsizetype written = 0;
        while (written < data.size()) {
            const ssize_t n = ::pwrite(fd, data.constData() + written,
                                       size_t(data.size() - written), off_t(written));
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                break;
            written += n;
        }
        done = written == data.size() && ::fdatasync(fd) == 0 &&
               ::ftruncate(fd, off_t(bytes.size())) == 0 && ::fsync(fd) == 0;
    }
    ::close(fd);
    return done;
}

// Where the file system has no unnamed temporary files, an atomic save killed part-way
// leaves "<name>.XXXXXX" beside the list. Those of this list that nobody has touched for a
// minute (so not another process's save under way) are removed.
void removeStaleTemporaries(const QString &path)
{
    const QFileInfo info(path);
    const QDir dir = info.dir();
    const QString prefix = info.fileName() + QLatin1Char('.');
    const QDateTime stale = QDateTime::currentDateTime().addSecs(-60);
    const QRegularExpression suffix(QStringLiteral("^[A-Za-z0-9]{6}$"));
    for (const QFileInfo &candidate :
         dir.entryInfoList(QDir::Files | QDir::Hidden | QDir::NoSymLinks)) {
        const QString name = candidate.fileName();
        if (name.size() == prefix.size() + 6 && name.startsWith(prefix) &&
            suffix.match(name.mid(prefix.size())).hasMatch() && candidate.lastModified() < stale &&
            QFile::remove(candidate.filePath()))
            qCInfo(lcPlaylist) << "removed a stale temporary" << candidate.filePath();
    }
}

bool saveWhole(const QString &path, const QByteArray &bytes)
{
    removeStaleTemporaries(path);
    // Beside the old file and renamed over it: a kill leaves the old list or the new one.
    QSaveFile out(path);
    if (out.open(QIODevice::WriteOnly)) {
        // A short write (full card) must not replace the old list.
        if (out.write(bytes) != bytes.size() || !out.flush()) {
            out.cancelWriting();
            out.commit();
            qCWarning(lcPlaylist) << "cannot write" << path << out.errorString();
            return false;
        }
        if (out.commit())
            return true;
    }
    // No temporary file could be made or renamed (a folder that takes no new file, a name
    // with no room for a suffix): an existing list is still rewritten, in place.
    if (writeInPlace(path, bytes)) {
        static bool warned = false;
        if (!warned)
            qCWarning(lcPlaylist) << "rewrote" << path << "in place: no temporary file beside it";
        warned = true;
        return true;
    }
    qCWarning(lcPlaylist) << "cannot write" << path << out.errorString();
    return false;
}

} // namespace

const char *const PlaylistFile::kMediaFilter =
    "*.mp3;*.ogg;*.wav;*.asf;*.au;*.avi;*.mpeg;*.mpg;*.mv1;*.wma;*.mov;*.wmv;*.ram;*.rm;"
    "*.rmvb;*.dat;*.3gp;*.mp4;*.m4a;*.flv;*.aac;*.fmr";

QString PlaylistFile::playerListPath(const QString &appDir)
{
    return appDir + QStringLiteral("/.xmms/xmms.m3u");
}

std::optional<QStringList> PlaylistFile::read(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    removeStaleTemporaries(path); // the list is read at start
    return parse(file.read(MaxListBytes));
}

QStringList PlaylistFile::parse(const QByteArray &bytes)
{
    QStringList entries;
    RegularFiles files;
    for (const QByteArray &raw : bytes.split('\n')) {
        const QByteArray name = entryName(raw, files);
        if (!name.isEmpty())
            entries << PathCodec::decode(name);
    }
    return entries;
}

bool PlaylistFile::write(const QString &path, const QStringList &entries)
{
    QByteArray bytes;
    for (const QString &entry : entries) {
        if (!storable(entry)) {
            qCWarning(lcPlaylist) << "left out a path with a line break:" << entry;
            continue;
        }
        bytes += PathCodec::encode(entry);
        bytes += '\n';
    }
    return saveWhole(path, bytes);
}

bool PlaylistFile::storable(const QString &entry)
{
    return !entry.contains(QLatin1Char('\n')) && !entry.contains(QLatin1Char('\r'));
}

std::optional<QStringList> PlaylistFile::scanDirectory(const QString &dir)
{
    const std::optional<QList<DirListing::Entry>> entries =
        DirListing::read(dir, splitFilter(QString::fromLatin1(kMediaFilter)));
    if (!entries)
        return std::nullopt;
    QStringList paths;
    for (const DirListing::Entry &entry : *entries)
        if (!entry.isDir)
            paths << dir + QLatin1Char('/') + entry.name;
    return paths;
}

bool PlaylistFile::rebuildFromDirectory(const QString &dir, const QString &listPath)
{
    const std::optional<QStringList> paths = scanDirectory(dir);
    return paths && write(listPath, *paths);
}

bool PlaylistFile::copyList(const QString &source, const QString &dest)
{
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly)) {
        qCWarning(lcPlaylist) << "cannot read saved list" << source;
        return false;
    }
    const QByteArray bytes = in.readAll();
    if (in.error() != QFileDevice::NoError)
        return false;
    return saveWhole(dest, bytes);
}

QStringList PlaylistFile::savedListNames(const QString &folder, int max)
{
    QDir d(folder, QStringLiteral("*.m3u"), QDir::Name | QDir::IgnoreCase, QDir::Files);
    QStringList names;
    for (const QFileInfo &info : d.entryInfoList()) {
        if (names.size() >= max)
            break;
        names << info.completeBaseName();
    }
    return names;
}

QString PlaylistFile::savedListPath(const QString &folder, const QString &baseName)
{
    QDir d(folder, QStringLiteral("*.m3u"), QDir::Name | QDir::IgnoreCase, QDir::Files);
    for (const QFileInfo &info : d.entryInfoList()) {
        if (info.completeBaseName() == baseName)
            return info.filePath();
    }
    return QString();
}

QStringList PlaylistFile::splitFilter(const QString &filter)
{
    return filter.split(QLatin1Char(';'), Qt::SkipEmptyParts);
}
