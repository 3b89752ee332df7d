// One MPEG audio frame header (MPEG-1, 2 and 2.5, layers I to III).
#pragma once

#include <cstdint>
#include <optional>

namespace mp3asm
{

struct MpegHeader {
    enum class Version { Mpeg1, Mpeg2, Mpeg25 };

    Version version = Version::Mpeg1;
    int layer = 3;        // 1, 2 or 3
    int bitRate = 0;      // kbit/s
    int sampleRate = 0;   // Hz
    bool padding = false; // one slot more (4 bytes in layer I, 1 byte otherwise)
    bool crc = false;     // a 16-bit checksum follows the header
    bool mono = false;

    // Reads four bytes. Empty for anything a decoder would refuse: no sync, a reserved
    // version, layer, sample rate or emphasis, a bad bit rate, and free format (its
    // frame length cannot be known from the header).
    static std::optional<MpegHeader> parse(const unsigned char *bytes);

    // Whole frame in bytes, header included.
    int frameLength() const;
    int samplesPerFrame() const;
    // Where a Xing/Info tag would start in a layer III frame.
    int sideInfoEnd() const;
    // Frames of one stream share version, layer and sample rate.
    bool sameStream(const MpegHeader &other) const;
    const char *versionName() const;
};

} // namespace mp3asm
