// Turning 8-bit text into display text: the program-wide "GBK" decoder for the window's own
// strings, and the two character sets a lyric file may be written in.
#pragma once

#include <QByteArray>
#include <QString>

enum class LyricCharset { Gbk, Big5 };

class TextDecoder
{
public:
    // Every literal text the main window shows goes through this ("GBK").
    static QString decodeText(const QByteArray &bytes);
    // Bytes that are not valid in the character set become U+FFFD; a character cut off at
    // the very end is dropped. Each call stands alone.
    static QString decode(const QByteArray &bytes, LyricCharset charset);
    // The charset chosen by the "textcodec" switch.
    static LyricCharset lyricCharset(bool useTextCodec)
    {
        return useTextCodec ? LyricCharset::Big5 : LyricCharset::Gbk;
    }
};
