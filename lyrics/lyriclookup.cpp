#include "lyrics/lyriclookup.h"

#include "platform/logging.h"
#include "platform/power.h"

#include <QFileInfo>

namespace
{

constexpr const char *kSuffixes[] = {"lrc", "LRC", "Lrc", "LRc", "lRC", "lrC", "LrC", "lRc"};

// The song path up to and including the dot of its extension. Songs almost always have
// three extension letters; for the others ("song.flac", "song") we still look for
// "song.lrc" rather than cutting three letters blindly.
QString basePath(const QString &songPath)
{
    const qsizetype slash = songPath.lastIndexOf(QLatin1Char('/'));
    const qsizetype dot = songPath.lastIndexOf(QLatin1Char('.'));
    if (dot > slash)
        return songPath.left(dot + 1);
    return songPath + QLatin1Char('.');
}

} // namespace

QStringList LyricLookup::candidatePaths(const QString &songPath)
{
    const QString base = basePath(songPath);
    QStringList paths;
    paths.reserve(std::size(kSuffixes));
    for (const char *suffix : kSuffixes)
        paths.append(base + QLatin1String(suffix));
    return paths;
}

QString LyricLookup::lyricFileFor(const QString &songPath)
{
    for (const QString &path : candidatePaths(songPath)) {
        if (QFileInfo::exists(path))
            return path;
    }
    return QString();
}

bool LyricLookup::loadLyricsFor(const QString &songPath, LyricCharset charset, LyricTable &table)
{
    table.clear();
    const QString path = lyricFileFor(songPath);
    if (path.isEmpty())
        return false;
    qCDebug(lcLyrics).noquote() << QStringLiteral("lyrics %1").arg(path);
    return table.parseLrc(path, charset) == 0;
}

int LyricLookup::backlightSeconds(bool lyricsLoaded, bool showLyric, bool softwareLight)
{
    return lyricsLoaded && showLyric && softwareLight ? kBacklightAlwaysOn : kBacklightNormal;
}

void LyricLookup::applyBacklight(bool lyricsLoaded, bool showLyric, bool softwareLight)
{
    PM_setupLcdSleepTime(backlightSeconds(lyricsLoaded, showLyric, softwareLight));
}
