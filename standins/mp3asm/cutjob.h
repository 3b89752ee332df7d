// Reads the input, cuts the frames and writes the output through a temporary file that
// is renamed into place, so a failed cut leaves no output and never harms existing files.
#pragma once

#include "cutoptions.h"

#include <cstdio>
#include <string>

namespace mp3asm
{

// Returns an empty string on success, else the reason for failure. -v details go to
// `log`; warnings (a cut running past the last frame, a truncated last frame) to `warn`.
std::string cutFile(const CutOptions &options, std::FILE *log, std::FILE *warn);

} // namespace mp3asm
