// What vellum does to one file: MP3 test, tag test, field updates, delete, list.
#pragma once

#include "options.h"

#include <cstdio>
#include <string>

namespace tagtool
{

enum class FileOutcome {
    Done,
    NotMp3,   // skipped; the run goes on
    CantOpen, // missing, unreadable, not a regular file, or read-only when a write is due
    CantWrite // a write or truncation failed; the file is left as it was
};

// Applies the options to one file through a single open. The bytes that result are the
// same as updating each field in turn: a tag is appended to an untagged file (track 0,
// genre 255), only the named fields change, and delete cuts exactly the last 128 bytes.
// A file shorter than 128 bytes never counts as tagged. The listing goes to `out`.
FileOutcome processFile(const std::string &path, const Options &options, std::FILE *out);

} // namespace tagtool
