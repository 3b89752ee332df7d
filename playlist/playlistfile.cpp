#include "playlist/playlistfile.h"

#include "platform/logging.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace
{

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
    const QString text = QString::fromUtf8(file.readAll());
    QStringList entries;
    for (const QString &raw : text.split(QLatin1Char('\n'))) {
        const QString line = raw.trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        if (QFileInfo(line).isFile())
            entries << line;
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
        bytes += entry.toUtf8();
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
