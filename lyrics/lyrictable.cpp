#include "lyrics/lyrictable.h"

#include "platform/logging.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cmath>

namespace
{

struct IdTagKey {
    const char *key;
    QString LyricIdTags::*field;
};

constexpr IdTagKey kIdTagKeys[] = {
    {"ti", &LyricIdTags::title},
    {"ar", &LyricIdTags::artist},
    {"al", &LyricIdTags::album},
    {"by", &LyricIdTags::author},
};

// Keeps the value of an id tag ("ti", "ar", "al", "by", exactly); false for other keys.
bool storeIdTag(QStringView key, QStringView value, LyricIdTags &tags)
{
    if (key.size() != 2)
        return false; // the common case, a time tag, skips the compares
    for (const IdTagKey &id : kIdTagKeys) {
        if (key == QLatin1String(id.key)) {
            tags.*id.field = value.toString();
            return true;
        }
    }
    return false;
}

// Minutes must be a decimal integer and seconds a decimal number; a time outside
// [0, kEndTime) would break the opening and closing entries, so it counts as malformed.
bool toTime(QStringView minutes, QStringView seconds, double *time)
{
    bool minutesOk = false;
    bool secondsOk = false;
    const int m = minutes.toInt(&minutesOk);
    const double s = seconds.toDouble(&secondsOk);
    if (!minutesOk || !secondsOk || !std::isfinite(s))
        return false;
    *time = m * 60.0 + s;
    return *time >= 0.0 && *time < LyricTable::kEndTime;
}

} // namespace

LyricTable LyricTable::fromLrc(const QByteArray &bytes, LyricCharset charset)
{
    // Decode first, split afterwards: a two-byte GBK or Big5 character may end in the byte
    // of "[" or "]".
    const QString text = TextDecoder::decode(bytes, charset);
    LyricTable table;
    table.m_lines.reserve(text.count(QLatin1Char('\n')) + 2);
    table.m_lines.append({0.0, QString()});

    QVector<double> times;
    QStringView rest(text);
    while (!rest.isEmpty()) {
        qsizetype end = 0;
        while (end < rest.size() && rest[end] != QLatin1Char('\n') &&
               rest[end] != QLatin1Char('\r'))
            ++end;
        const QStringView line = rest.first(end).trimmed();
        if (end < rest.size() && rest[end] == QLatin1Char('\r') && end + 1 < rest.size() &&
            rest[end + 1] == QLatin1Char('\n'))
            ++end;
        rest = end < rest.size() ? rest.sliced(end + 1) : QStringView();
        if (!line.isEmpty())
            table.readLine(line, times);
    }

    // Stable: equal times keep file order, and the opening entry stays before any line
    // at 0 seconds.
    std::stable_sort(table.m_lines.begin(), table.m_lines.end(),
                     [](const LyricLine &a, const LyricLine &b) { return a.time < b.time; });
    table.m_lines.append({kEndTime, QString()});
    return table;
}

void LyricTable::readLine(QStringView line, QVector<double> &times)
{
    times.clear();
    while (line.startsWith(QLatin1Char('['))) {
        const qsizetype close = line.indexOf(QLatin1Char(']'));
        if (close < 0)
            break; // an unclosed "[" is text, not a tag
        const QStringView tag = line.sliced(1, close - 1);
        line = line.sliced(close + 1);
        if (tag.isEmpty())
            break;

        QStringView key = tag;
        QStringView value = tag;
        const qsizetype colon = tag.indexOf(QLatin1Char(':'));
        if (colon >= 0) {
            key = tag.first(colon);
            value = tag.sliced(colon + 1);
            const qsizetype second = value.indexOf(QLatin1Char(':'));
            if (second >= 0)
                value = value.first(second); // "[01:02:03]" is 1 minute 2 seconds
        }

        if (storeIdTag(key, value, m_tags))
            continue;

        double time = 0.0;
        if (toTime(key, value, &time))
            times.append(time);
        else
            qCDebug(lcLyrics).noquote()
                << QStringLiteral("unKnown section: %1 -- %2").arg(key, value);
    }
    if (times.isEmpty())
        return;
    const QString text = line.toString(); // shared by every entry of the line
    for (double time : times)
        m_lines.append({time, text});
}

int LyricTable::parseLrc(const QString &path, LyricCharset charset)
{
    QFile file(path);
    // A FIFO or device named like a lyric file would block open() or read() for ever.
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly)) {
        qCDebug(lcLyrics).noquote() << QStringLiteral("Can't open %1").arg(path);
        return -1;
    }
    *this = fromLrc(file.read(kMaxFileBytes), charset);
    return 0;
}

void LyricTable::clear()
{
    m_lines.clear();
    m_tags = LyricIdTags();
}

int LyricTable::lineAt(double seconds) const
{
    const auto after =
        std::upper_bound(m_lines.begin(), m_lines.end(), seconds,
                         [](double t, const LyricLine &line) { return t < line.time; });
    return std::max(0, int(after - m_lines.begin()) - 1);
}
