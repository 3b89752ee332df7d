// The lyric line table of one song: time-sorted lines and the song's id tags, and the LRC
// reader that fills it. The main window keeps one table and replaces it at every lookup.
#pragma once

#include "lyrics/textdecoder.h"

#include <QByteArray>
#include <QString>
#include <QVector>

struct LyricLine {
    double time = 0.0; // seconds from the start of the song
    QString text;
};

// Stored for the song; nothing shows them.
struct LyricIdTags {
    QString title;  // "ti"
    QString artist; // "ar"
    QString album;  // "al"
    QString author; // "by", who wrote the lyric file
};

class LyricTable
{
public:
    // Time of the closing entry: every real line has a successor, so the panel can always
    // measure how far it is between one line and the next.
    static constexpr double kEndTime = 268435455.0;
    // Lyric files beyond this are read only this far: lyrics never come close, and a huge
    // file misnamed ".lrc" must not swallow the memory.
    static constexpr qint64 kMaxFileBytes = 8 * 1024 * 1024;

    // Reads LRC text. The result always opens with {0, ""} and closes with {kEndTime, ""};
    // lines are sorted by time, equal times in file order. Any bytes are accepted.
    static LyricTable fromLrc(const QByteArray &bytes, LyricCharset charset);

    // Replaces the table with the file's lines: 0 on success, -1 when the file cannot be
    // opened (also when it is not a regular file, which could block the reader), and then
    // the table is left as it was.
    int parseLrc(const QString &path, LyricCharset charset);

    void clear();
    bool isEmpty() const { return m_lines.isEmpty(); }
    int size() const { return int(m_lines.size()); }
    const LyricLine &at(int index) const { return m_lines.at(index); }
    const QVector<LyricLine> &lines() const { return m_lines; }
    const LyricIdTags &idTags() const { return m_tags; }

    // The line being sung at t seconds: the last entry whose time is not after t (so the
    // last of several equal times), 0 before the first entry or on an empty table.
    int lineAt(double seconds) const;

private:
    void readLine(QStringView line, QVector<double> &times);

    QVector<LyricLine> m_lines;
    LyricIdTags m_tags;
};
