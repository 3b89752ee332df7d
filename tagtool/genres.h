// Names of the ID3v1 genre byte: the standard list with the Winamp extensions.
#pragma once

namespace tagtool
{

// Name of genre number 0-255; "Unknown" for 142-255 and anything out of range.
const char *genreName(int number);

// True when the number has a name of its own (0-141).
bool isKnownGenre(int number);

} // namespace tagtool
