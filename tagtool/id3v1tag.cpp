#include "id3v1tag.h"

#include <algorithm>
#include <cstring>

namespace tagtool
{

namespace
{

struct FieldSpan {
    int offset;
    int width;
};

// Indexed by TagField; offsets within the tag.
constexpr FieldSpan fieldSpans[] = {{3, 30}, {33, 30}, {63, 30}, {93, 4}, {97, 28}};

const FieldSpan &spanOf(TagField field)
{
    return fieldSpans[static_cast<int>(field)];
}

} // namespace

Id3v1Tag::Id3v1Tag()
{
    m_bytes.fill(0);
    std::memcpy(m_bytes.data(), "TAG", 3);
    m_bytes[127] = 255;
}

bool Id3v1Tag::startsWithTag(const unsigned char *bytes)
{
    return std::memcmp(bytes, "TAG", 3) == 0;
}

int Id3v1Tag::width(TagField field)
{
    return spanOf(field).width;
}

std::string Id3v1Tag::text(TagField field) const
{
    const FieldSpan &span = spanOf(field);
    const unsigned char *begin = m_bytes.data() + span.offset;
    const unsigned char *end = std::find(begin, begin + span.width, 0);
    return std::string(begin, end);
}

void Id3v1Tag::setText(TagField field, const std::string &value)
{
    const FieldSpan &span = spanOf(field);
    unsigned char *begin = m_bytes.data() + span.offset;
    std::fill(begin, begin + span.width, 0);
    std::memcpy(begin, value.data(), std::min<size_t>(value.size(), span.width));
}

void Id3v1Tag::setTrack(unsigned char track)
{
    m_bytes[125] = 0;
    m_bytes[126] = track;
}

} // namespace tagtool
