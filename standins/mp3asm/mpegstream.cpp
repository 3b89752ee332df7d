#include "mpegstream.h"

#include <cstring>

namespace mp3asm
{

namespace
{

constexpr size_t id3v1Length = 128;
constexpr size_t id3v2HeaderLength = 10;

} // namespace

MpegStream::MpegStream(const unsigned char *data, size_t size) : m_data(data), m_size(size)
{
    findTags();
    if (m_error.empty())
        findFrames();
}

void MpegStream::findTags()
{
    const unsigned char *d = m_data;
    size_t at = 0;
    // Some files carry more than one ID3v2 tag in a row.
    while (m_size - at >= id3v2HeaderLength && std::memcmp(d + at, "ID3", 3) == 0 &&
           d[at + 3] != 0xFF && d[at + 4] != 0xFF) {
        const unsigned char *s = d + at + 6;
        if ((s[0] | s[1] | s[2] | s[3]) & 0x80)
            break; // not a synchsafe size: not a tag after all
        size_t body = (size_t(s[0]) << 21) | (size_t(s[1]) << 14) | (size_t(s[2]) << 7) | s[3];
        size_t length = id3v2HeaderLength + body + ((d[at + 5] & 0x10) ? 10 : 0);
        if (length > m_size - at) {
            m_error = "the ID3v2 tag runs past the end of the file (truncated)";
            return;
        }
        at += length;
    }
    m_audioStart = at;
    m_audioEnd = m_size;
    if (m_audioEnd - m_audioStart >= id3v1Length &&
        std::memcmp(d + m_audioEnd - id3v1Length, "TAG", 3) == 0) {
        m_audioEnd -= id3v1Length;
        m_hasId3v1 = true;
    }
}

bool MpegStream::followedByFrame(size_t offset, const MpegHeader &h) const
{
    const size_t next = offset + h.frameLength();
    if (next == m_audioEnd)
        return true;
    if (next + 4 > m_audioEnd)
        return false;
    std::optional<MpegHeader> following = MpegHeader::parse(m_data + next);
    return following && following->sameStream(h);
}

bool MpegStream::isInfoFrame(const Frame &frame, const MpegHeader &h) const
{
    if (h.layer != 3)
        return false;
    const unsigned char *f = m_data + frame.offset;
    const size_t xing = h.sideInfoEnd();
    if (xing + 4 <= frame.length &&
        (std::memcmp(f + xing, "Xing", 4) == 0 || std::memcmp(f + xing, "Info", 4) == 0))
        return true;
    const size_t vbri = 4 + 32;
    return vbri + 4 <= frame.length && std::memcmp(f + vbri, "VBRI", 4) == 0;
}

void MpegStream::findFrames()
{
    size_t at = m_audioStart;
    bool locked = false; // the previous frame ended exactly here
    bool started = false;
    MpegHeader last;
    while (at + 4 <= m_audioEnd) {
        std::optional<MpegHeader> h = MpegHeader::parse(m_data + at);
        // Once the stream is known, a run of another stream's frames is garbage too: cut
        // into the output, it would change rate or layer mid-file.
        if (h && (!started || h->sameStream(last)) && (locked || followedByFrame(at, *h))) {
            const size_t length = h->frameLength();
            if (at + length > m_audioEnd) {
                m_truncatedTail = true;
                break;
            }
            if (m_frames.empty() && !m_infoFrameSkipped && isInfoFrame({at, length}, *h)) {
                m_infoFrameSkipped = true;
            } else {
                if (m_frames.empty())
                    m_first = *h;
                m_frames.push_back({at, length});
            }
            last = *h;
            locked = true;
            started = true;
            at += length;
            continue;
        }
        locked = false;
        ++at;
        ++m_skipped;
    }
    if (!m_truncatedTail && at < m_audioEnd && !m_frames.empty())
        m_skipped += m_audioEnd - at;
    if (m_frames.empty())
        m_error = "no MPEG audio frames found (not an MP3 file?)";
}

} // namespace mp3asm
