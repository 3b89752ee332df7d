// The lyrics subsystem's debug output ("orbal.lyrics"): file lookups, unreadable files,
// tags that do not parse.
#pragma once

#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcLyrics)
