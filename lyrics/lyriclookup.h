// Finding a song's lyric file beside it, reading it into the main window's line table, and
// the backlight rule that follows every lookup. The caller keeps the table, the
// lyrics-loaded flag and the lyric lead.
#pragma once

#include "lyrics/lyrictable.h"

#include <QString>
#include <QStringList>

class LyricLookup
{
public:
    // Seconds the panel runs ahead of the play time: before any lookup, and after one.
    static constexpr int kLeadAtStart = 1;
    static constexpr int kLeadAfterLookup = 2;
    // Backlight times handed to the platform.
    static constexpr int kBacklightAlwaysOn = 0;
    static constexpr int kBacklightNormal = 30;

    // The eight lyric file names for a song, in order of precedence: the song path with
    // its extension letters replaced by "lrc", "LRC", "Lrc", "LRc", "lRC", "lrC", "LrC",
    // "lRc" (the dot stays).
    static QStringList candidatePaths(const QString &songPath);
    // The first candidate that exists, or an empty string.
    static QString lyricFileFor(const QString &songPath);

    // Empties the table, then reads the first candidate that exists (no other is tried).
    // Returns the new lyrics-loaded flag: true when that file was read.
    static bool loadLyricsFor(const QString &songPath, LyricCharset charset, LyricTable &table);

    // Keep the display lit while lyrics scroll, if the user wants that; else dim after 30 s.
    static int backlightSeconds(bool lyricsLoaded, bool showLyric, bool softwareLight);
    // Hands backlightSeconds() to PM_setupLcdSleepTime.
    static void applyBacklight(bool lyricsLoaded, bool showLyric, bool softwareLight);
};
