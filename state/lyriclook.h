// The lyric panel's options and whether the current song has lyrics.
#pragma once

#include <QColor>

struct LyricLook {
    int lyricFontSize = 18;
    int lyricLineHeight = 32;
    bool useTextCodec = false; // read lyric files as Big5 instead of GBK
    bool showLyric = false;
    bool lyricsLoaded = false;
    QColor lyricColor = QColor(0xC8, 0xC8, 0xC8);
    QColor lyricBackColor = QColor(0xC8, 0xC8, 0xC8);
};
