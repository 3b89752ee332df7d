// Where the stand-in's playlist entries come from. Paths stay raw bytes throughout, so
// file names that are not valid UTF-8 still play.
#pragma once

#include <QByteArray>
#include <QList>

namespace PlaylistSource
{

// The entries of an m3u file read the way the front-end reads it: one path per line,
// stripped of ASCII blanks and CR (unless only the line as written names a file), "#"
// lines and lines with a NUL skipped, only names of existing regular files kept
// (relative names taken from the working directory). A missing file gives no entries.
QList<QByteArray> readM3u(const QByteArray &path);
// The same for an m3u file's bytes.
QList<QByteArray> parseM3u(const QByteArray &bytes);

// The texts of a playlist-add request: length-prefixed strings padded to 4 bytes, closed by a
// zero length, each cut at its first NUL. A string running past the end ends the list.
QList<QByteArray> addRequestTexts(const QByteArray &payload);

// What one "add" request names: the text split at line feeds (a carriage return before
// one dropped); "file:" URLs decoded; a directory added with everything below it, sorted;
// an ".m3u" file loaded; any other non-empty piece appended as it is (a URL, say).
QList<QByteArray> expand(const QByteArray &text);

// "Artist - Title" from an ID3v1 tag, the title alone without an artist, else the base name.
QByteArray titleOf(const QByteArray &path);

} // namespace PlaylistSource
