#include "skin/picturecache.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

#include <algorithm>
#include <cstring>
#include <iterator>

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{

struct Header {
    char magic[8];
    qint64 sourceSize;
    qint64 sourceTime;
    qint32 width;
    qint32 height;
    qint32 format;
    qint32 bytesPerLine;
    qint32 pathBytes;
    qint32 colorCount; // the colour table of an indexed picture follows the path
    qint64 sourceChange;
    quint64 sourceInode;
};
constexpr char kMagic[8] = {'O', 'R', 'B', 'P', 'I', 'X', '0', '2'};
constexpr int kMaxSide = 8192;
constexpr int kMaxPath = 4096;

// Pixels start on a 64-byte boundary after the header, the source path and the colours.
qint64 pixelOffset(const Header &h)
{
    return (qint64(sizeof(Header)) + h.pathBytes + h.colorCount * qint64(sizeof(QRgb)) + 63) / 64 *
           64;
}

qint64 nanoseconds(const struct timespec &t)
{
    return qint64(t.tv_sec) * 1000000000 + t.tv_nsec;
}

bool indexed(QImage::Format format)
{
    return format == QImage::Format_Mono || format == QImage::Format_MonoLSB ||
           format == QImage::Format_Indexed8;
}

struct Mapping {
    void *address;
    size_t length;
};

void unmap(void *info)
{
    auto *m = static_cast<Mapping *>(info);
    munmap(m->address, m->length);
    delete m;
}

} // namespace

PictureCache::PictureCache(const QString &folder) : m_folder(folder) {}

QString PictureCache::slotPath(const QString &slot) const
{
    if (m_folder.isEmpty() || slot.isEmpty() || slot.contains(QLatin1Char('/')))
        return QString();
    return m_folder + QLatin1Char('/') + slot + QLatin1String(".pixels");
}

QString PictureCache::userFolder()
{
    const QString base = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
    return base.isEmpty() ? QString() : base + QLatin1String("/pictures");
}

QImage PictureCache::decodePicture(const QString &path)
{
    QImage image;
    if (!image.load(path, "PNG"))
        return QImage();
    return image.convertToFormat(image.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied
                                                         : QImage::Format_RGB32,
                                 Qt::OrderedDither | Qt::OrderedAlphaDither);
}

QImage PictureCache::load(const QString &path, const QString &slot, Decoder decode) const
{
    const QFileInfo info(path);
    struct stat st;
    if (path.isEmpty() || ::stat(QFile::encodeName(path).constData(), &st) != 0 ||
        !S_ISREG(st.st_mode))
        return QImage();
    const QByteArray source = info.absoluteFilePath().toUtf8();
    const Stamp stamp{qint64(st.st_size), nanoseconds(st.st_mtim), nanoseconds(st.st_ctim),
                      quint64(st.st_ino)};
    const QString slotFile = source.size() <= kMaxPath ? slotPath(slot) : QString();
    if (!slotFile.isEmpty()) {
        QImage image = mapped(slotFile, source, stamp);
        if (!image.isNull())
            return image;
    }
    const QImage image = decode(path);
    if (!image.isNull() && !slotFile.isEmpty())
        store(slotFile, source, stamp, image);
    return image;
}

QImage PictureCache::mapped(const QString &slotFile, const QByteArray &source,
                            const Stamp &stamp) const
{
    const int fd = ::open(QFile::encodeName(slotFile).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return QImage();
    QImage image;
    struct stat st;
    Header h;
    QByteArray path(source.size(), Qt::Uninitialized);
    const bool headerFits =
        fstat(fd, &st) == 0 && S_ISREG(st.st_mode) &&
        pread(fd, &h, sizeof h, 0) == ssize_t(sizeof h) &&
        std::equal(std::begin(kMagic), std::end(kMagic), h.magic) && h.sourceSize == stamp.size &&
        h.sourceTime == stamp.modified && h.sourceChange == stamp.changed &&
        h.sourceInode == stamp.inode && h.pathBytes == source.size() &&
        pread(fd, path.data(), path.size(), sizeof h) == ssize_t(path.size()) && path == source &&
        h.width > 0 && h.height > 0 && h.width <= kMaxSide && h.height <= kMaxSide &&
        h.format > QImage::Format_Invalid && h.format < QImage::NImageFormats &&
        h.bytesPerLine > 0 && h.bytesPerLine <= 8 * kMaxSide &&
        (indexed(QImage::Format(h.format)) ? h.colorCount > 0 && h.colorCount <= 256
                                           : h.colorCount == 0) &&
        st.st_size == pixelOffset(h) + qint64(h.bytesPerLine) * h.height;
    if (headerFits) {
        const size_t length = size_t(st.st_size);
        // Populated at once: faulting the pages in one by one costs more than the read.
        void *address = mmap(nullptr, length, PROT_READ, MAP_PRIVATE | MAP_POPULATE, fd, 0);
        if (address != MAP_FAILED) {
            const auto *start = static_cast<const uchar *>(address);
            const auto *pixels = start + pixelOffset(h);
            auto *mapping = new Mapping{address, length};
            image = QImage(pixels, h.width, h.height, h.bytesPerLine, QImage::Format(h.format),
                           unmap, mapping);
            // A line too short for the format gives a null image that never took the mapping.
            if (image.isNull()) {
                unmap(mapping);
            } else if (h.colorCount > 0) {
                QList<QRgb> colours(h.colorCount);
                std::memcpy(colours.data(), start + sizeof h + h.pathBytes,
                            colours.size() * sizeof(QRgb));
                image.setColorTable(colours); // a copy, but indexed pictures are the small masks
            }
        }
    }
    ::close(fd);
    return image;
}

void PictureCache::store(const QString &slotFile, const QByteArray &source, const Stamp &stamp,
                         const QImage &image) const
{
    if (!QDir().mkpath(m_folder))
        return;
    Header h{};
    std::copy(std::begin(kMagic), std::end(kMagic), h.magic);
    h.sourceSize = stamp.size;
    h.sourceTime = stamp.modified;
    h.sourceChange = stamp.changed;
    h.sourceInode = stamp.inode;
    h.width = image.width();
    h.height = image.height();
    h.format = image.format();
    h.bytesPerLine = int(image.bytesPerLine());
    h.pathBytes = int(source.size());
    const QList<QRgb> colours = image.colorTable();
    h.colorCount = int(colours.size());
    QByteArray head(reinterpret_cast<const char *>(&h), sizeof h);
    head += source;
    head.append(reinterpret_cast<const char *>(colours.constData()), colours.size() * sizeof(QRgb));
    head.resize(pixelOffset(h), '\0');
    QSaveFile out(slotFile);
    if (out.open(QIODevice::WriteOnly) && out.write(head) == head.size() &&
        out.write(reinterpret_cast<const char *>(image.constBits()), image.sizeInBytes()) ==
            image.sizeInBytes())
        out.commit();
}
