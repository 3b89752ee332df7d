#include "standins/xmms/playlistsource.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

namespace PlaylistSource
{

namespace
{

constexpr int MaxDirectoryDepth = 16;
constexpr qint64 MaxM3uBytes = 16 * 1024 * 1024;

bool isRegularFile(const QByteArray &path)
{
    struct stat info;
    return ::stat(path.constData(), &info) == 0 && S_ISREG(info.st_mode);
}

bool isDirectory(const QByteArray &path)
{
    struct stat info;
    return ::stat(path.constData(), &info) == 0 && S_ISDIR(info.st_mode);
}

QByteArray absolute(const QByteArray &path)
{
    if (path.startsWith('/'))
        return path;
    char buffer[4096];
    if (!::getcwd(buffer, sizeof buffer))
        return path;
    return QByteArray(buffer) + '/' + path;
}

// Symbolic links to directories are not followed, so a link loop cannot recurse forever.
void addDirectory(const QByteArray &dir, int depth, QList<QByteArray> &out)
{
    if (depth > MaxDirectoryDepth)
        return;
    DIR *handle = ::opendir(dir.constData());
    if (!handle)
        return;
    QList<QByteArray> names;
    while (dirent *e = ::readdir(handle)) {
        const QByteArray name(e->d_name);
        if (name != "." && name != "..")
            names.append(name);
    }
    ::closedir(handle);
    std::sort(names.begin(), names.end());
    for (const QByteArray &name : names) {
        const QByteArray path = dir + '/' + name;
        struct stat info;
        if (::lstat(path.constData(), &info) != 0)
            continue;
        if (S_ISDIR(info.st_mode))
            addDirectory(path, depth + 1, out);
        else if (isRegularFile(path))
            out.append(path);
    }
}

// Up to limit bytes from offset (negative: from the end); paths stay bytes, never decoded.
QByteArray readBytes(const QByteArray &path, long offset, qint64 limit)
{
    std::FILE *file = std::fopen(path.constData(), "rb");
    if (!file)
        return QByteArray();
    QByteArray bytes;
    if (std::fseek(file, offset, offset < 0 ? SEEK_END : SEEK_SET) == 0) {
        char buffer[65536];
        size_t n;
        while (bytes.size() < limit && (n = std::fread(buffer, 1, sizeof buffer, file)) > 0)
            bytes.append(buffer, qsizetype(n));
    }
    std::fclose(file);
    return bytes.left(limit);
}

QByteArray trimmedField(const char *bytes, int size)
{
    QByteArray field(bytes, size);
    const qsizetype nul = field.indexOf('\0');
    if (nul >= 0)
        field.truncate(nul);
    return field.trimmed();
}

} // namespace

QList<QByteArray> readM3u(const QByteArray &path)
{
    return parseM3u(readBytes(path, 0, MaxM3uBytes));
}

QList<QByteArray> parseM3u(const QByteArray &bytes)
{
    QList<QByteArray> entries;
    for (const QByteArray &raw : bytes.split('\n')) {
        // ASCII blanks and CR around a line are not part of the name, unless only the line
        // as written names a file; every other byte is.
        const QByteArray line = raw.trimmed();
        if (line.isEmpty() || line.startsWith('#') || line.contains('\0'))
            continue;
        const QByteArray full = absolute(line);
        if (isRegularFile(full)) {
            entries.append(full);
            continue;
        }
        QByteArray exact = raw;
        if (exact.endsWith('\r'))
            exact.chop(1);
        if (exact != line && isRegularFile(absolute(exact)))
            entries.append(absolute(exact));
    }
    return entries;
}

QList<QByteArray> addRequestTexts(const QByteArray &payload)
{
    QList<QByteArray> texts;
    qsizetype at = 0;
    for (;;) {
        uint32_t size = 0;
        if (payload.size() - at < 4)
            break;
        std::memcpy(&size, payload.constData() + at, 4);
        at += 4;
        if (size == 0 || size > uint32_t(payload.size() - at))
            break; // the end, or a string running past it: keep what came before
        QByteArray text = payload.mid(at, qsizetype(size));
        const qsizetype nul = text.indexOf('\0');
        if (nul >= 0)
            text.truncate(nul);
        texts.append(text);
        at += qsizetype((size + 3) / 4 * 4);
    }
    return texts;
}

QList<QByteArray> expand(const QByteArray &text)
{
    QList<QByteArray> entries;
    for (QByteArray piece : text.split('\n')) {
        if (piece.endsWith('\r'))
            piece.chop(1);
        if (piece.isEmpty())
            continue;
        if (piece.startsWith("file:")) {
            // "file:///a" and "file:/a" both name /a.
            piece = QByteArray::fromPercentEncoding(piece.mid(5));
            while (piece.startsWith("//"))
                piece.remove(0, 1);
        }
        const QByteArray full = piece.contains("://") ? piece : absolute(piece);
        if (isDirectory(full))
            addDirectory(full, 0, entries);
        else if (full.toLower().endsWith(".m3u") && isRegularFile(full))
            entries += readM3u(full);
        else
            entries.append(full);
    }
    return entries;
}

QByteArray titleOf(const QByteArray &path)
{
    if (isRegularFile(path)) {
        const QByteArray tag = readBytes(path, -128, 128);
        if (tag.size() == 128 && tag.startsWith("TAG")) {
            const QByteArray title = trimmedField(tag.constData() + 3, 30);
            const QByteArray artist = trimmedField(tag.constData() + 33, 30);
            if (!title.isEmpty())
                return artist.isEmpty() ? title : artist + " - " + title;
        }
    }
    const qsizetype slash = path.lastIndexOf('/');
    return slash >= 0 ? path.mid(slash + 1) : path;
}

} // namespace PlaylistSource
