// One entry per input the program reads from outside: takes any bytes, returns 0, aborts
// on a broken invariant. The fuzz programs and the replay test call the same entries.
#pragma once

#include <cstddef>
#include <cstdint>

namespace orbalfuzz
{

int settings(const uint8_t *data, size_t size);     // a settings file
int skin(const uint8_t *data, size_t size);         // a skin's "skins.conf"
int lrc(const uint8_t *data, size_t size);          // a lyric file
int m3u(const uint8_t *data, size_t size);          // a playlist, both readers
int mplayer(const uint8_t *data, size_t size);      // mplayer's output, in chunks
int xmmsServer(const uint8_t *data, size_t size);   // requests reaching the stand-in xmms
int xmmsClient(const uint8_t *data, size_t size);   // replies reaching our xmms client
int vellum(const uint8_t *data, size_t size);       // a file given to vellum
int mp3frames(const uint8_t *data, size_t size);    // a file given to the cutter
int pictureCache(const uint8_t *data, size_t size); // a decoded-picture cache slot

} // namespace orbalfuzz
