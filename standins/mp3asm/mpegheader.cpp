#include "mpegheader.h"

namespace mp3asm
{

namespace
{

// kbit/s by bit rate index; index 0 (free format) and 15 (bad) are refused before lookup.
constexpr int bitRates[5][15] = {
    {0, 32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448}, // MPEG-1 layer I
    {0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384},    // MPEG-1 layer II
    {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320},     // MPEG-1 layer III
    {0, 32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256},    // MPEG-2/2.5 layer I
    {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160},         // MPEG-2/2.5 II, III
};

constexpr int sampleRates[3][3] = {
    {44100, 48000, 32000}, // MPEG-1
    {22050, 24000, 16000}, // MPEG-2
    {11025, 12000, 8000},  // MPEG-2.5
};

int bitRateRow(MpegHeader::Version version, int layer)
{
    if (version == MpegHeader::Version::Mpeg1)
        return layer - 1;
    return layer == 1 ? 3 : 4;
}

} // namespace

std::optional<MpegHeader> MpegHeader::parse(const unsigned char *b)
{
    if (b[0] != 0xFF || (b[1] & 0xE0) != 0xE0)
        return std::nullopt;
    const int versionBits = (b[1] >> 3) & 3;
    const int layerBits = (b[1] >> 1) & 3;
    const int bitRateIndex = b[2] >> 4;
    const int rateIndex = (b[2] >> 2) & 3;
    const int emphasis = b[3] & 3;
    if (versionBits == 1 || layerBits == 0 || bitRateIndex == 0 || bitRateIndex == 15 ||
        rateIndex == 3 || emphasis == 2)
        return std::nullopt;

    MpegHeader h;
    h.version = versionBits == 3   ? Version::Mpeg1
                : versionBits == 2 ? Version::Mpeg2
                                   : Version::Mpeg25;
    h.layer = 4 - layerBits;
    h.bitRate = bitRates[bitRateRow(h.version, h.layer)][bitRateIndex];
    h.sampleRate = sampleRates[static_cast<int>(h.version)][rateIndex];
    h.padding = (b[2] >> 1) & 1;
    h.crc = (b[1] & 1) == 0;
    h.mono = (b[3] >> 6) == 3;
    return h;
}

int MpegHeader::frameLength() const
{
    const long bits = bitRate * 1000L;
    if (layer == 1)
        return static_cast<int>((12 * bits / sampleRate + (padding ? 1 : 0)) * 4);
    const int factor = (layer == 3 && version != Version::Mpeg1) ? 72 : 144;
    return static_cast<int>(factor * bits / sampleRate + (padding ? 1 : 0));
}

int MpegHeader::samplesPerFrame() const
{
    if (layer == 1)
        return 384;
    if (layer == 3 && version != Version::Mpeg1)
        return 576;
    return 1152;
}

int MpegHeader::sideInfoEnd() const
{
    int side = version == Version::Mpeg1 ? (mono ? 17 : 32) : (mono ? 9 : 17);
    return 4 + (crc ? 2 : 0) + side;
}

bool MpegHeader::sameStream(const MpegHeader &other) const
{
    return version == other.version && layer == other.layer && sampleRate == other.sampleRate;
}

const char *MpegHeader::versionName() const
{
    switch (version) {
    case Version::Mpeg1:
        return "MPEG-1";
    case Version::Mpeg2:
        return "MPEG-2";
    case Version::Mpeg25:
        return "MPEG-2.5";
    }
    return "MPEG";
}

} // namespace mp3asm
