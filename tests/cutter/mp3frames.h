// Counts the MPEG audio frames of a file, as a player would find them: after an ID3v2
// tag, one frame after another until something that is not a frame (an ID3v1 or APE
// tag, or the end). A leading Xing/Info frame carries no sound and is not counted.
#pragma once

#include <QString>

namespace mp3frames
{

struct Count {
    int frames = 0;    // sound frames
    bool info = false; // a Xing/Info frame came first
    qint64 rest = 0;   // bytes after the last frame
};

Count count(const QString &path);

} // namespace mp3frames
