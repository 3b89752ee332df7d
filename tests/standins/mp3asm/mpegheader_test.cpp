#include "standins/mp3asm/mpegheader.h"

#include <gtest/gtest.h>

using mp3asm::MpegHeader;

namespace
{

struct HeaderRow {
    const char *name;
    unsigned char bytes[4];
    int layer;
    int bitRate;
    int sampleRate;
    int length;
    int samples;
};

class Headers : public ::testing::TestWithParam<HeaderRow>
{
};

TEST_P(Headers, giveRateAndFrameLength)
{
    const HeaderRow &row = GetParam();
    std::optional<MpegHeader> h = MpegHeader::parse(row.bytes);
    ASSERT_TRUE(h.has_value());
    EXPECT_EQ(h->layer, row.layer);
    EXPECT_EQ(h->bitRate, row.bitRate);
    EXPECT_EQ(h->sampleRate, row.sampleRate);
    EXPECT_EQ(h->frameLength(), row.length);
    EXPECT_EQ(h->samplesPerFrame(), row.samples);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, Headers,
    ::testing::Values(
        HeaderRow{"mpeg1Layer3", {0xFF, 0xFB, 0x90, 0x64}, 3, 128, 44100, 417, 1152},
        HeaderRow{"mpeg1Layer3Padded", {0xFF, 0xFB, 0x92, 0x64}, 3, 128, 44100, 418, 1152},
        HeaderRow{"mpeg1Layer3Crc32k", {0xFF, 0xFA, 0xDA, 0xC0}, 3, 256, 32000, 1153, 1152},
        HeaderRow{"mpeg2Layer3", {0xFF, 0xF3, 0x90, 0x44}, 3, 80, 22050, 261, 576},
        HeaderRow{"mpeg25Layer3", {0xFF, 0xE3, 0x88, 0xC4}, 3, 64, 8000, 576, 576},
        HeaderRow{"mpeg1Layer1", {0xFF, 0xFF, 0xC4, 0x00}, 1, 384, 48000, 384, 384},
        HeaderRow{"mpeg1Layer1Padded", {0xFF, 0xFF, 0xC6, 0x00}, 1, 384, 48000, 388, 384},
        HeaderRow{"mpeg1Layer2", {0xFF, 0xFD, 0xA4, 0x00}, 2, 192, 48000, 576, 1152},
        HeaderRow{"mpeg2Layer2", {0xFF, 0xF5, 0xE0, 0x00}, 2, 160, 22050, 1044, 1152},
        HeaderRow{"mpeg2Layer1", {0xFF, 0xF7, 0x10, 0x00}, 1, 32, 22050, 68, 384}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(Headers, refuseWhatDecodersRefuse)
{
    const unsigned char rows[][4] = {
        {0xFF, 0xFB, 0x00, 0x64}, // free format
        {0xFF, 0xFB, 0xF0, 0x64}, // bit rate index 15
        {0xFF, 0xFB, 0x9C, 0x64}, // reserved sample rate
        {0xFF, 0xEB, 0x90, 0x64}, // reserved version
        {0xFF, 0xF9, 0x90, 0x64}, // reserved layer
        {0xFF, 0xFB, 0x90, 0x66}, // reserved emphasis
        {0xFE, 0xFB, 0x90, 0x64}, // no sync
        {0xFF, 0x1B, 0x90, 0x64}, // sync cut short
        {'I', 'D', '3', 0x03},
    };
    for (const auto &bytes : rows)
        EXPECT_FALSE(MpegHeader::parse(bytes).has_value())
            << std::hex << int(bytes[1]) << " " << int(bytes[2]) << " " << int(bytes[3]);
}

} // namespace
