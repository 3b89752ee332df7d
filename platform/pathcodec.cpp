#include "platform/pathcodec.h"

#include <QDir>
#include <QStringDecoder>

#include <algorithm>
#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

namespace PathCodec
{

namespace
{

constexpr char16_t EscapeBase = 0xDC00; // + byte (0x80..0xFF)

// Length of the valid UTF-8 sequence at `at`, or 0 when the byte there starts none.
// Overlong forms, encoded surrogates and values past U+10FFFF are not valid.
int sequenceLength(const unsigned char *s, qsizetype at, qsizetype size)
{
    const unsigned char c = s[at];
    if (c < 0x80)
        return 1;
    int length;
    char32_t value;
    if (c >= 0xC2 && c <= 0xDF) {
        length = 2;
        value = c & 0x1F;
    } else if (c >= 0xE0 && c <= 0xEF) {
        length = 3;
        value = c & 0x0F;
    } else if (c >= 0xF0 && c <= 0xF4) {
        length = 4;
        value = c & 0x07;
    } else {
        return 0;
    }
    if (at + length > size)
        return 0;
    for (int i = 1; i < length; ++i) {
        if ((s[at + i] & 0xC0) != 0x80)
            return 0;
        value = (value << 6) | (s[at + i] & 0x3F);
    }
    if ((length == 3 && value < 0x800) || (length == 4 && value < 0x10000) ||
        (value >= 0xD800 && value <= 0xDFFF) || value > 0x10FFFF)
        return 0;
    return length;
}

bool isEscape(char16_t unit)
{
    return unit >= EscapeBase + 0x80 && unit <= EscapeBase + 0xFF;
}

// An escape at `i`, not the second half of a real character.
bool isEscapeAt(const QString &path, qsizetype i)
{
    return isEscape(path.at(i).unicode()) && !(i > 0 && path.at(i - 1).isHighSurrogate());
}

} // namespace

QString decode(const QByteArray &bytes)
{
    const auto *s = reinterpret_cast<const unsigned char *>(bytes.constData());
    const qsizetype size = bytes.size();
    QString out;
    qsizetype runStart = 0;
    qsizetype at = 0;
    while (at < size) {
        const int length = sequenceLength(s, at, size);
        if (length > 0) {
            at += length;
            continue;
        }
        out += QString::fromUtf8(bytes.constData() + runStart, at - runStart);
        out += QChar(char16_t(EscapeBase + s[at]));
        runStart = ++at;
    }
    if (runStart == 0)
        return QString::fromUtf8(bytes);
    out += QString::fromUtf8(bytes.constData() + runStart, size - runStart);
    return out;
}

QByteArray encode(const QString &path)
{
    QByteArray out;
    qsizetype runStart = 0;
    for (qsizetype i = 0; i < path.size(); ++i) {
        if (!isEscapeAt(path, i))
            continue;
        out += QStringView(path).mid(runStart, i - runStart).toUtf8();
        out += char(path.at(i).unicode() - EscapeBase);
        runStart = i + 1;
    }
    if (runStart == 0)
        return path.toUtf8();
    out += QStringView(path).mid(runStart).toUtf8();
    return out;
}

QString displayName(const QString &name)
{
    bool escaped = false;
    for (qsizetype i = 0; i < name.size() && !escaped; ++i)
        escaped = isEscapeAt(name, i);
    if (!escaped)
        return name;
    QStringDecoder gbk("GBK", QStringConverter::Flag::Stateless);
    if (gbk.isValid()) {
        const QString decoded = gbk.decode(encode(name));
        // Bytes GBK has no character for come out as private-use ones: no reading either.
        const bool unreadable = std::any_of(decoded.cbegin(), decoded.cend(), [](QChar c) {
            return c.category() == QChar::Other_PrivateUse || c == QChar::ReplacementCharacter;
        });
        if (!gbk.hasError() && !unreadable)
            return decoded;
    }
    QString shown = name;
    for (qsizetype i = 0; i < shown.size(); ++i)
        if (isEscapeAt(name, i))
            shown[i] = QChar::ReplacementCharacter;
    return shown;
}

QString absolute(const QString &path)
{
    if (path.startsWith(QLatin1Char('/')))
        return QDir::cleanPath(path);
    char buffer[4096];
    const QString cwd = ::getcwd(buffer, sizeof buffer) ? decode(buffer) : QString();
    return QDir::cleanPath(cwd + QLatin1Char('/') + path);
}

bool isRegularFile(const QString &path)
{
    struct stat info;
    return ::stat(encode(path).constData(), &info) == 0 && S_ISREG(info.st_mode);
}

bool isDirectory(const QString &path)
{
    struct stat info;
    return ::stat(encode(path).constData(), &info) == 0 && S_ISDIR(info.st_mode);
}

QString canonical(const QString &path)
{
    char *resolved = ::realpath(encode(path).constData(), nullptr);
    if (!resolved)
        return QString();
    const QString result = decode(QByteArray(resolved));
    ::free(resolved);
    return result;
}

} // namespace PathCodec
