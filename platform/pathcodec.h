// File names as the file system holds them (bytes) and as the program handles them
// (QString), without loss: valid UTF-8 decodes as usual, and each byte that is not part of
// valid UTF-8 (a GBK name from another system, say) becomes the lone surrogate U+DC80 +
// (byte - 0x80), which encode() turns back into that byte. Qt's own conversions would
// replace such bytes, and the file could then no longer be found.
#pragma once

#include <QByteArray>
#include <QString>

namespace PathCodec
{

QString decode(const QByteArray &bytes);
QByteArray encode(const QString &path);

// A name as the user should read it: as it is when it is UTF-8; otherwise its bytes read as
// GBK (the usual case: a card filled on a phone or an older system) when they are valid
// GBK, else with each stray byte shown as U+FFFD. For showing only: it does not name the file.
QString displayName(const QString &name);

// The path made absolute against the working directory and cleaned, without the lossy
// round trip QFileInfo makes.
QString absolute(const QString &path);

// stat() on the encoded name: an existing regular file (links followed).
bool isRegularFile(const QString &path);
// The same for a folder.
bool isDirectory(const QString &path);

// realpath() on the encoded name: absolute, no links, "." or ".." left; empty when the path
// does not exist.
QString canonical(const QString &path);

} // namespace PathCodec
