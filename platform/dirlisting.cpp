#include "platform/dirlisting.h"

#include "platform/pathcodec.h"

#include <algorithm>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <numeric>
#include <sys/stat.h>
#include <unistd.h>

namespace
{

bool sameIgnoringCase(QChar a, QChar b)
{
    return a == b || a.toCaseFolded() == b.toCaseFolded();
}

// A pattern, with the usual "*.mp3" kept as the suffix to compare: a media filter has
// twenty of them and a card folder tens of thousands of names.
struct Pattern {
    QString text;
    QString suffix; // set when the pattern is "*" and a plain suffix
};

QList<Pattern> compile(const QStringList &patterns)
{
    QList<Pattern> compiled;
    for (const QString &p : patterns) {
        const bool plainSuffix = p.startsWith(QLatin1Char('*')) && p.size() > 1 &&
                                 !p.mid(1).contains(QLatin1Char('*')) &&
                                 !p.contains(QLatin1Char('?'));
        compiled.append({p, plainSuffix ? p.mid(1) : QString()});
    }
    return compiled;
}

bool matchesAny(QStringView name, const QList<Pattern> &patterns)
{
    if (patterns.isEmpty())
        return true;
    return std::any_of(patterns.cbegin(), patterns.cend(), [name](const Pattern &p) {
        return p.suffix.isEmpty() ? DirListing::matches(name, p.text)
                                  : name.endsWith(p.suffix, Qt::CaseInsensitive);
    });
}

} // namespace

bool DirListing::matches(QStringView name, QStringView pattern)
{
    // Greedy with one step back to the last "*": linear for the usual "*.mp3".
    qsizetype n = 0;
    qsizetype p = 0;
    qsizetype starAt = -1;
    qsizetype resumeAt = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == QLatin1Char('*')) {
            starAt = p++;
            resumeAt = n;
        } else if (p < pattern.size() &&
                   (pattern[p] == QLatin1Char('?') || sameIgnoringCase(pattern[p], name[n]))) {
            ++p;
            ++n;
        } else if (starAt >= 0) {
            p = starAt + 1;
            n = ++resumeAt;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == QLatin1Char('*'))
        ++p;
    return p == pattern.size();
}

std::optional<QList<DirListing::Entry>> DirListing::read(const QString &path,
                                                         const QStringList &patterns)
{
    DIR *dir = ::opendir(PathCodec::encode(path).constData());
    if (!dir)
        return std::nullopt;
    const int fd = ::dirfd(dir);
    const QList<Pattern> compiled = compile(patterns);
    QList<Entry> entries;
    while (const dirent *d = ::readdir(dir)) {
        const char *raw = d->d_name;
        if (raw[0] == '.' && (raw[1] == 0 || (raw[1] == '.' && raw[2] == 0)))
            continue;
        unsigned char type = d->d_type;
        if (type == DT_LNK || type == DT_UNKNOWN) {
            struct stat info;
            if (::fstatat(fd, raw, &info, 0) != 0)
                continue; // a broken link
            type = S_ISDIR(info.st_mode) ? DT_DIR : S_ISREG(info.st_mode) ? DT_REG : DT_UNKNOWN;
        }
        if (type != DT_DIR && type != DT_REG)
            continue;
        // decode() copies the name out of readdir's buffer.
        Entry entry{PathCodec::decode(QByteArray::fromRawData(raw, qsizetype(std::strlen(raw)))),
                    type == DT_DIR};
        if (entry.isDir || matchesAny(entry.name, compiled))
            entries.append(std::move(entry));
    }
    ::closedir(dir);

    // Sorted by the lower-cased names, each worked out once; equal ones by the names.
    QStringList keys;
    keys.reserve(entries.size());
    for (const Entry &e : entries)
        keys << e.name.toLower();
    QList<qsizetype> order(entries.size());
    std::iota(order.begin(), order.end(), 0);
    std::sort(order.begin(), order.end(), [&](qsizetype a, qsizetype b) {
        const int c = keys.at(a).compare(keys.at(b));
        return c != 0 ? c < 0 : entries.at(a).name < entries.at(b).name;
    });
    QList<Entry> sorted;
    sorted.reserve(entries.size());
    for (qsizetype i : order)
        sorted.append(std::move(entries[i]));
    return sorted;
}
