#include "mp3frames.h"

#include "tests/support/testenv.h"

namespace mp3frames
{

namespace
{

// Frame length in bytes, or 0 when the four bytes are not a layer III header.
int frameLength(const unsigned char *h)
{
    static const int kRates1[] = {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320};
    static const int kRates2[] = {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160};
    static const int kSampleRates[] = {44100, 48000, 32000};
    if (h[0] != 0xFF || (h[1] & 0xE0) != 0xE0)
        return 0;
    const int version = (h[1] >> 3) & 3; // 3 = MPEG-1, 2 = MPEG-2, 0 = MPEG-2.5
    const int layer = (h[1] >> 1) & 3;   // 1 = layer III
    const int rateIndex = h[2] >> 4;
    const int srIndex = (h[2] >> 2) & 3;
    if (version == 1 || layer != 1 || rateIndex == 0 || rateIndex == 15 || srIndex == 3)
        return 0;
    const bool mpeg1 = version == 3;
    int sampleRate = kSampleRates[srIndex];
    if (version == 2)
        sampleRate /= 2;
    else if (version == 0)
        sampleRate /= 4;
    const int bitRate = (mpeg1 ? kRates1 : kRates2)[rateIndex] * 1000;
    const int padding = (h[2] >> 1) & 1;
    return (mpeg1 ? 144 : 72) * bitRate / sampleRate + padding;
}

} // namespace

Count count(const QString &path)
{
    const QByteArray data = testenv::readFile(path);
    const auto *bytes = reinterpret_cast<const unsigned char *>(data.constData());
    qint64 pos = 0;
    if (data.size() >= 10 && data.startsWith("ID3"))
        pos = 10 + ((bytes[6] & 0x7F) << 21 | (bytes[7] & 0x7F) << 14 | (bytes[8] & 0x7F) << 7 |
                    (bytes[9] & 0x7F));
    Count c;
    bool first = true;
    while (pos + 4 <= data.size()) {
        const int length = frameLength(bytes + pos);
        if (length == 0 || pos + length > data.size())
            break;
        const QByteArray frame = data.mid(pos, length);
        if (first && (frame.contains("Xing") || frame.contains("Info")))
            c.info = true;
        else
            ++c.frames;
        first = false;
        pos += length;
    }
    c.rest = data.size() - pos;
    return c;
}

} // namespace mp3frames
