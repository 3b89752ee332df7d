#include "standins/mp3asm/mpegstream.h"

#include <gtest/gtest.h>
#include <string>

using mp3asm::MpegStream;

namespace
{

using Bytes = std::vector<unsigned char>;

// An MPEG-1 layer III frame, 128 kbit/s, 44.1 kHz: 417 bytes, 418 padded.
Bytes frame(bool padded = false, unsigned char fill = 0x55)
{
    Bytes f(padded ? 418 : 417, fill);
    f[0] = 0xFF;
    f[1] = 0xFB;
    f[2] = padded ? 0x92 : 0x90;
    f[3] = 0x64;
    return f;
}

Bytes infoFrame()
{
    Bytes f = frame(false, 0);
    std::copy_n("Info", 4, f.begin() + 36); // after the stereo side information
    return f;
}

Bytes bytes(const std::string &text)
{
    return Bytes(text.begin(), text.end());
}

Bytes head(const Bytes &b, size_t n)
{
    return Bytes(b.begin(), b.begin() + n);
}

Bytes operator+(Bytes a, const Bytes &b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

Bytes frames(int count)
{
    Bytes b;
    for (int i = 0; i < count; ++i)
        b = b + frame(i % 3 == 1, static_cast<unsigned char>(0x20 + i));
    return b;
}

Bytes id3v2(size_t body, bool footer = false)
{
    Bytes t = {'I',
               'D',
               '3',
               4,
               0,
               static_cast<unsigned char>(footer ? 0x10 : 0),
               0,
               0,
               static_cast<unsigned char>(body >> 7),
               static_cast<unsigned char>(body & 0x7F)};
    t.resize(10 + body + (footer ? 10 : 0), 0xFF); // tag bodies may hold sync-like bytes
    return t;
}

// An MPEG-2 layer III frame, 64 kbit/s, 22.05 kHz: 208 bytes.
Bytes mpeg2Frame()
{
    Bytes f(208, 0x33);
    f[0] = 0xFF;
    f[1] = 0xF3;
    f[2] = 0x80;
    f[3] = 0x64;
    return f;
}

Bytes id3v1()
{
    return bytes("TAG") + Bytes(125, 'x');
}

struct StreamRow {
    const char *name;
    Bytes data;
    size_t frames;
    size_t firstOffset;
    bool hasId3v1;
    size_t skipped;
    bool truncatedTail;
    bool infoSkipped;
};

class Streams : public ::testing::TestWithParam<StreamRow>
{
};

TEST_P(Streams, findWholeFrames)
{
    const StreamRow &row = GetParam();
    MpegStream s(row.data);
    ASSERT_EQ(s.error(), "");
    EXPECT_EQ(s.frames().size(), row.frames);
    EXPECT_EQ(s.frames().front().offset, row.firstOffset);
    EXPECT_EQ(s.hasId3v1(), row.hasId3v1);
    EXPECT_EQ(s.skippedBytes(), row.skipped);
    EXPECT_EQ(s.truncatedTail(), row.truncatedTail);
    EXPECT_EQ(s.infoFrameSkipped(), row.infoSkipped);
    for (const mp3asm::Frame &f : s.frames())
        EXPECT_EQ(row.data[f.offset], 0xFF);
}

const Bytes garbage = bytes("junk\xFF\xFB\x90 more junk \xFF\xFF\xFF");

INSTANTIATE_TEST_SUITE_P(
    Rows, Streams,
    ::testing::Values(
        StreamRow{"plain", frames(5), 5, 0, false, 0, false, false},
        StreamRow{"singleFrame", frame(), 1, 0, false, 0, false, false},
        StreamRow{"id3v2Skipped", id3v2(300) + frames(3), 3, 310, false, 0, false, false},
        StreamRow{"id3v2WithFooter", id3v2(20, true) + frames(3), 3, 40, false, 0, false, false},
        StreamRow{"twoId3v2Tags", id3v2(5) + id3v2(7) + frames(2), 2, 32, false, 0, false, false},
        StreamRow{"id3v1Found", frames(4) + id3v1(), 4, 0, true, 0, false, false},
        StreamRow{"garbageBeforeFrames", garbage + frames(3), 3, garbage.size(), false,
                  garbage.size(), false, false},
        StreamRow{"garbageBetweenFrames", frames(2) + garbage + frames(2), 4, 0, false,
                  garbage.size(), false, false},
        StreamRow{"otherStreamIsGarbage",
                  frames(2) + garbage + mpeg2Frame() + mpeg2Frame() + frames(2), 4, 0, false,
                  garbage.size() + 2 * 208, false, false},
        StreamRow{"truncatedLastFrame", frames(3) + head(frame(), 200), 3, 0, false, 0, true,
                  false},
        StreamRow{"infoFrameNotCounted", infoFrame() + frames(3), 3, 417, false, 0, false, true},
        StreamRow{"everythingTogether", id3v2(50) + infoFrame() + frames(6) + garbage + id3v1(), 6,
                  60 + 417, true, garbage.size(), false, true}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(Streams, unusableFilesSayWhy)
{
    struct {
        const char *name;
        Bytes data;
        const char *error;
    } rows[] = {
        {"empty", {}, "no MPEG audio frames found (not an MP3 file?)"},
        {"text", bytes(std::string(5000, 'a')), "no MPEG audio frames found (not an MP3 file?)"},
        {"lonelySyncInText", bytes("hello \xFF\xFB\x90\x64 world"),
         "no MPEG audio frames found (not an MP3 file?)"},
        {"onlyTags", id3v2(10) + id3v1(), "no MPEG audio frames found (not an MP3 file?)"},
        {"truncatedId3v2", head(id3v2(300), 100),
         "the ID3v2 tag runs past the end of the file (truncated)"},
        {"cutInsideFirstFrame", head(frame(), 100),
         "no MPEG audio frames found (not an MP3 file?)"},
    };
    for (const auto &row : rows)
        EXPECT_EQ(MpegStream(row.data).error(), row.error) << row.name;
}

} // namespace
