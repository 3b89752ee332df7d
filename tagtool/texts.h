// The fixed texts vellum prints: usage, version, banner and genre list.
#pragma once

#include "options.h"

#include <cstdio>

namespace tagtool
{

extern const char *const versionText; // "Version 2.0"

void printUsage(std::FILE *to);
void printVersion(std::FILE *to);
void printBanner(std::FILE *to);
// "%d: %s" for every genre from 0 to 253 that has a name.
void printGenres(std::FILE *to);
void printRequested(PrintRequest request, std::FILE *to);

} // namespace tagtool
