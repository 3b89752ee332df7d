#include "fuzz/support.h"
#include "fuzz/targets.h"
#include "standins/mp3asm/mpegstream.h"

int orbalfuzz::mp3frames(const uint8_t *data, size_t size)
{
    const mp3asm::MpegStream stream(data, size);
    const size_t audioEnd = stream.hasId3v1() ? stream.id3v1Offset() : size;
    FUZZ_CHECK(stream.id3v2Length() <= audioEnd && audioEnd <= size);
    FUZZ_CHECK(stream.error().empty() == !stream.frames().empty());
    // The cut copies these ranges: each a whole frame its header describes, in order, inside
    // the audio.
    size_t previousEnd = stream.id3v2Length();
    for (const mp3asm::Frame &frame : stream.frames()) {
        FUZZ_CHECK(frame.offset >= previousEnd && frame.length >= 4);
        FUZZ_CHECK(frame.offset + frame.length <= audioEnd);
        const auto header = mp3asm::MpegHeader::parse(data + frame.offset);
        FUZZ_CHECK(header && size_t(header->frameLength()) == frame.length);
        FUZZ_CHECK(header->sameStream(stream.firstHeader()));
        previousEnd = frame.offset + frame.length;
    }
    return 0;
}
