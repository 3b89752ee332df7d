#pragma once
// Decoded pictures kept as raw pixels in the user's cache folder, one file a slot, so a start
// maps pixels instead of decoding PNGs (decoding, and even copying the pixels into fresh
// memory, is most of the program's start-up). A slot records its source's path, size,
// modification and change times and inode: a picture replaced with its old size and time
// kept (cp -p, tar, unzip) still has a new change time or inode. Any mismatch or damage
// decodes the source again and rewrites the slot. Slots are replaced by rename, never
// rewritten in place, so a mapped slot stays valid.

#include <QImage>
#include <QString>

class PictureCache
{
public:
    using Decoder = QImage (*)(const QString &path);

    // An empty folder caches nothing: every load decodes.
    explicit PictureCache(const QString &folder = QString());

    // The picture at path as decode gives it, from slot when that is current. A missing or
    // undecodable source gives a null image. The image may share read-only mapped memory;
    // writing to it copies.
    QImage load(const QString &path, const QString &slot, Decoder decode) const;

    // The slot's file (for tests); empty when nothing is cached.
    QString slotPath(const QString &slot) const;

    // The program's folder under the user's cache location; empty when there is none.
    static QString userFolder();

    // The plain decoder: a PNG in the drawing format (32-bit, premultiplied when it has
    // alpha).
    static QImage decodePicture(const QString &path);

private:
    // What a slot must match of its source file.
    struct Stamp {
        qint64 size;
        qint64 modified; // nanoseconds since the epoch
        qint64 changed;  // likewise
        quint64 inode;
    };

    QImage mapped(const QString &slotFile, const QByteArray &source, const Stamp &stamp) const;
    void store(const QString &slotFile, const QByteArray &source, const Stamp &stamp,
               const QImage &image) const;

    QString m_folder;
};
