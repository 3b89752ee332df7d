// The memory card: "/mmc/mmca1" on the phone; on a machine without it, the folder
// "mmc/mmca1" under the application directory (the working directory).
#pragma once

#include <QDir>
#include <QString>

namespace platform
{
QString cardRoot();
QDir cardRootDir();
// A phone path under "/mmc/mmca1" moved to the card root; other paths unchanged.
QString cardPath(const QString &phonePath);
} // namespace platform
