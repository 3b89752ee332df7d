#include "playlist/playlistfile.h"

#include "platform/logging.h"
#include "platform/pathcodec.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <sys/stat.h>

namespace
{

// The player reads no more of a list than this either, so both see the same entries.
constexpr qint64 MaxListBytes = 16 * 1024 * 1024;

bool isRegularFile(const QByteArray &name)
{
    struct stat info;
    return ::stat(name.constData(), &info) == 0 && S_ISREG(info.st_mode);
}

// The file one line names, or nothing. The rule the player follows too: ASCII blanks and
// CR around the line are not part of the name (a no-break space or any non-ASCII byte
// is), unless only the line as written names a file; "#" lines, empty lines and names
// with a NUL name nothing. One stat for an ordinary line.
QByteArray entryName(const QByteArray &raw)
{
    const QByteArray line = raw.trimmed();
    if (line.isEmpty() || line.startsWith('#') || line.contains('\0'))
        return QByteArray();
    if (isRegularFile(line))
        return line;
    QByteArray exact = raw;
    if (exact.endsWith('\r'))
        exact.chop(1);
    return exact != line && isRegularFile(exact) ? exact : QByteArray();
}

bool saveWhole(const QString &path, const QByteArray &bytes)
{
    QSaveFile out(path);
    // A list in a folder we may not create files in can still be rewritten in place.
    out.setDirectWriteFallback(true);
    if (!out.open(QIODevice::WriteOnly)) {
        qCWarning(lcPlaylist) << "cannot write" << path << out.errorString();
        return false;
    }
    if (out.write(bytes) != bytes.size()) {
        out.cancelWriting();
        return false;
    }
    return out.commit();
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
    QStringList entries;
    for (const QByteArray &raw : file.read(MaxListBytes).split('\n')) {
        const QByteArray name = entryName(raw);
        if (!name.isEmpty())
            entries << PathCodec::decode(name);
    }
    return entries;
}

bool PlaylistFile::write(const QString &path, const QStringList &entries)
{
    QByteArray bytes;
    for (const QString &entry : entries) {
        if (entry.contains(QLatin1Char('\n')) || entry.contains(QLatin1Char('\r'))) {
            qCWarning(lcPlaylist) << "left out a path with a line break:" << entry;
            continue;
        }
        bytes += PathCodec::encode(entry);
        bytes += '\n';
    }
    return saveWhole(path, bytes);
}

std::optional<QStringList> PlaylistFile::scanDirectory(const QString &dir)
{
    QDir d(dir);
    if (!d.exists() || !d.isReadable())
        return std::nullopt;
    d.setNameFilters(splitFilter(QString::fromLatin1(kMediaFilter)));
    d.setFilter(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
    d.setSorting(QDir::Name | QDir::IgnoreCase);
    QStringList paths;
    for (const QString &name : d.entryList())
        paths << dir + QLatin1Char('/') + name;
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
