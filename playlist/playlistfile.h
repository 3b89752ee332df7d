// The playlist file format shared with the outside audio player: UTF-8, one absolute
// media path per line, each line ended by a line feed, no header. Free-standing file
// operations only; whoever owns the player stops it before replacing its list and
// starts it again afterwards.
#pragma once

#include <QString>
#include <QStringList>
#include <optional>

class PlaylistFile
{
public:
    // Patterns for directory scans, separated by ";".
    static const char *const kMediaFilter;
    // The player's own list under the application directory.
    static QString playerListPath(const QString &appDir);

    // Entries of the file: lines trimmed of ASCII blanks, "#" lines and lines not naming an
    // existing regular file dropped; names kept byte for byte (PathCodec), as the player
    // reads them, so row n here is position n there. nullopt when the file cannot be
    // opened (keep the old list).
    static std::optional<QStringList> read(const QString &path);
    // The entries of a list's bytes by the same rules (names relative to the working folder).
    static QStringList parse(const QByteArray &bytes);

    // Replaces the file's content with one line per entry, each name the bytes read(). The new
    // content appears whole or not at all. Entries holding a line break cannot be stored and are
    // left out. False when the file cannot be written.
    static bool write(const QString &path, const QStringList &entries);
    // Whether write() keeps the entry (no line break in it).
    static bool storable(const QString &entry);

    // Full paths of the regular files in `dir` (hidden ones too) matching the media
    // filter, sorted by name ignoring case. nullopt when the directory is unreadable.
    static std::optional<QStringList> scanDirectory(const QString &dir);

    // A new player list of the media files of `dir` (scan, then write). False, with the
    // list untouched, when the directory is unreadable or the list cannot be written.
    // Scan before stopping the player: an unreadable folder then costs no restart.
    static bool rebuildFromDirectory(const QString &dir, const QString &listPath);

    // Copies a saved list over `dest` byte for byte, without a shell in between; dest
    // is replaced atomically and left as it was when anything fails.
    static bool copyList(const QString &source, const QString &dest);

    // Base names of the "*.m3u" files of `folder`, sorted by name ignoring case, at
    // most `max` of them (the playlist menu offers seven).
    static QStringList savedListNames(const QString &folder, int max = 7);

    // The saved list of `folder` named `baseName` (its ".m3u" in any case), or empty.
    static QString savedListPath(const QString &folder, const QString &baseName);

    // Splits a ";"-separated filter into name patterns.
    static QStringList splitFilter(const QString &filter);
};
