#include "fuzz/support.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <unistd.h>

namespace orbalfuzz
{

QByteArray bytesOf(const uint8_t *data, size_t size)
{
    return QByteArray(reinterpret_cast<const char *>(data), qsizetype(size));
}

void ensureApp()
{
    if (QCoreApplication::instance())
        return;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "orbal-fuzz";
    static char *argv[] = {name, nullptr};
    new QGuiApplication(argc, argv); // lives as long as the process
}

QString scratch(const QString &name)
{
    static QTemporaryDir root(QDir::tempPath() + QStringLiteral("/orbal-fuzz-XXXXXX"));
    if (!root.isValid())
        fail("scratch folder", __FILE__, __LINE__);
    const QString path = root.filePath(name);
    QDir().mkpath(path);
    return path;
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    const int fd =
        ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0 || ::write(fd, bytes.constData(), size_t(bytes.size())) != bytes.size())
        fail("writing a scratch file", __FILE__, __LINE__);
    ::close(fd);
}

QList<QByteArray> chunks(const QByteArray &stream, uint8_t seed)
{
    if (seed == 0)
        return {stream};
    QList<QByteArray> pieces;
    const qsizetype most = qsizetype(1) << (seed % 12); // 1 to 2048 bytes a piece
    const qsizetype least = 1 + stream.size() / 256;    // a long stream in a few hundred
    uint32_t state = seed * 2654435761u + 1;
    for (qsizetype at = 0; at < stream.size();) {
        state = state * 1664525u + 1013904223u;
        const qsizetype length = least + qsizetype(state >> 8) % most;
        pieces.append(stream.mid(at, length));
        at += length;
    }
    return pieces;
}

void fail(const char *what, const char *file, int line)
{
    std::fprintf(stderr, "%s:%d: check failed: %s\n", file, line, what);
    std::abort();
}

} // namespace orbalfuzz
