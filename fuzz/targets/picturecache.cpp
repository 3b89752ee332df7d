#include "skin/picturecache.h"
#include "fuzz/support.h"
#include "fuzz/targets.h"

#include <QFile>
#include <QFileInfo>
#include <cstring>
#include <sys/stat.h>

namespace
{

// The slot layout the cache writes; the input supplies everything but the stamp and the
// path, which must match the source for the slot to be used at all.
struct Header {
    char magic[8];
    qint64 sourceSize;
    qint64 sourceTime;
    qint32 fields[6]; // width, height, format, bytes per line, path bytes, colours
    qint64 sourceChange;
    quint64 sourceInode;
};
static_assert(sizeof(Header) == 64);

QImage nothing(const QString &)
{
    return QImage();
}

} // namespace

// First byte 'R': the rest is the whole slot file. Otherwise the first 24 bytes are the
// header's picture fields (the path length is set right), then come the colours the header
// announces, and the rest is the pixels, placed where the cache puts them.
int orbalfuzz::pictureCache(const uint8_t *data, size_t size)
{
    ensureApp();
    static const QString folder = scratch(QStringLiteral("pictures"));
    static const QString source = folder + QStringLiteral("/source.png");
    static const QByteArray sourceName = [] {
        writeFile(source, QByteArray("not a picture"));
        return QFileInfo(source).absoluteFilePath().toUtf8();
    }();
    const PictureCache cache(folder);
    const QString slot = cache.slotPath(QStringLiteral("s"));

    QByteArray file;
    if (size > 0 && data[0] == 'R') {
        file = bytesOf(data + 1, size - 1);
    } else {
        struct stat st;
        if (::stat(sourceName.constData(), &st) != 0)
            fail("stat", __FILE__, __LINE__);
        Header h{};
        std::memcpy(h.magic, "ORBPIX02", 8);
        h.sourceSize = st.st_size;
        h.sourceTime = qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
        h.sourceChange = qint64(st.st_ctim.tv_sec) * 1000000000 + st.st_ctim.tv_nsec;
        h.sourceInode = st.st_ino;
        std::memcpy(h.fields, data, std::min<size_t>(size, sizeof h.fields));
        h.fields[4] = qint32(sourceName.size());
        file = QByteArray(reinterpret_cast<const char *>(&h), sizeof h) + sourceName;
        const QByteArray rest = size > sizeof h.fields
                                    ? bytesOf(data + sizeof h.fields, size - sizeof h.fields)
                                    : QByteArray();
        const qsizetype colourBytes =
            h.fields[5] > 0 && h.fields[5] <= 256 ? qsizetype(h.fields[5]) * 4 : 0;
        file += rest.left(colourBytes);
        file.append((64 - file.size() % 64) % 64, '\0');
        file += rest.mid(colourBytes);
    }
    writeFile(slot, file);

    // Every pixel read, as painting would: a slot that maps must hold all of them.
    const QImage image = cache.load(source, QStringLiteral("s"), nothing);
    if (image.isNull())
        return 0;
    quint32 sum = 0;
    for (int y = 0; y < image.height(); ++y) {
        const uchar *line = image.constScanLine(y);
        for (qsizetype x = 0; x < image.bytesPerLine(); ++x)
            sum += line[x];
    }
    quint32 whole = 0;
    for (qsizetype i = 0; i < image.sizeInBytes(); ++i)
        whole += image.constBits()[i];
    FUZZ_CHECK(whole == sum);
    const QImage drawn = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    FUZZ_CHECK(drawn.size() == image.size());
    return 0;
}
