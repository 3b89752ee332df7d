#include "lyrics/lyricslog.h"

Q_LOGGING_CATEGORY(lcLyrics, "orbal.lyrics")
