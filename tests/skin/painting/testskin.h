// A small synthetic skin for the window tests: every element at a known place, and
// pictures whose every pixel encodes its own position, so a pixel on the window tells
// exactly which picture pixel was copied there.
#pragma once

#include <QImage>
#include <QRgb>
#include <QString>

namespace testskin
{

// The colour of picture pixel (x, y) in every generated picture.
inline QRgb codeAt(int x, int y)
{
    return qRgb(x & 255, y & 255, ((x >> 8) << 4) | (y >> 8));
}

// A picture of the given size filled with codeAt.
QImage codedImage(int width, int height);

// Writes appDir/skins/<name>/ (skins.conf, skins.png, mini pictures, masks, lights) and,
// for "default", backskin.png. Returns the skin folder.
QString writeSkin(const QString &appDir, const QString &name = QStringLiteral("default"));

// The description written by writeSkin, as text.
QByteArray description();

} // namespace testskin
