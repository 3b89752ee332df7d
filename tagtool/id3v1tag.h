// The 128-byte ID3v1.1 record that ends a tagged MP3 file.
#pragma once

#include <array>
#include <string>

namespace tagtool
{

enum class TagField { Song, Artist, Album, Year, Comment };

class Id3v1Tag
{
public:
    static constexpr int size = 128;
    using Bytes = std::array<unsigned char, size>;

    // The tag appended to an untagged file: "TAG", zeros, track 0, genre 255.
    Id3v1Tag();
    explicit Id3v1Tag(const Bytes &bytes) : m_bytes(bytes) {}

    // True when the bytes (at least three) begin with the letters "TAG".
    static bool startsWithTag(const unsigned char *bytes);

    // Width in bytes of a text field in the file (30, 30, 30, 4, 28).
    static int width(TagField field);

    // The field's text up to its first zero byte, at most width(field) bytes.
    std::string text(TagField field) const;
    int track() const { return m_bytes[126]; }
    int genre() const { return m_bytes[127]; }

    // Clears the field to zeros and copies at most width(field) bytes of value.
    void setText(TagField field, const std::string &value);
    // Writes the zero byte at 125 and the track at 126 (version 1.1 layout).
    void setTrack(unsigned char track);
    void setGenre(unsigned char genre) { m_bytes[127] = genre; }

    const Bytes &bytes() const { return m_bytes; }

private:
    Bytes m_bytes;
};

} // namespace tagtool
