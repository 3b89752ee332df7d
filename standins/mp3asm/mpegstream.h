// The layout of an MP3 file: leading ID3v2 tags, the audio frames, a trailing ID3v1 tag.
#pragma once

#include "mpegheader.h"

#include <cstddef>
#include <string>
#include <vector>

namespace mp3asm
{

struct Frame {
    size_t offset;
    size_t length;
};

class MpegStream
{
public:
    // Scans the whole file. Frames are only taken where the next header (or the end of
    // the audio) follows, so sync-like bytes in garbage are skipped; a Xing/Info/VBRI
    // frame at the start is not counted, since its totals would be wrong for a cut.
    // The bytes must outlive the stream.
    MpegStream(const unsigned char *data, size_t size);
    explicit MpegStream(const std::vector<unsigned char> &data)
        : MpegStream(data.data(), data.size())
    {
    }

    // Empty when the file is usable, else why not (no frames, truncated ID3v2 tag).
    const std::string &error() const { return m_error; }

    const std::vector<Frame> &frames() const { return m_frames; }
    const MpegHeader &firstHeader() const { return m_first; }
    size_t id3v2Length() const { return m_audioStart; }
    bool hasId3v1() const { return m_hasId3v1; }
    size_t id3v1Offset() const { return m_audioEnd; } // valid when hasId3v1()
    size_t skippedBytes() const { return m_skipped; } // garbage between frames
    bool truncatedTail() const { return m_truncatedTail; }
    bool infoFrameSkipped() const { return m_infoFrameSkipped; }

private:
    void findTags();
    void findFrames();
    bool followedByFrame(size_t offset, const MpegHeader &h) const;
    bool isInfoFrame(const Frame &frame, const MpegHeader &h) const;

    const unsigned char *m_data;
    size_t m_size;
    std::string m_error;
    std::vector<Frame> m_frames;
    MpegHeader m_first;
    size_t m_audioStart = 0;
    size_t m_audioEnd = 0;
    size_t m_skipped = 0;
    bool m_hasId3v1 = false;
    bool m_truncatedTail = false;
    bool m_infoFrameSkipped = false;
};

} // namespace mp3asm
