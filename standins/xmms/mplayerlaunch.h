// How the stand-in starts mplayer: which program, and how a file name of raw bytes reaches
// it intact through an argument vector (no shell anywhere).
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace MplayerLaunch
{

// "./mplayer" of the working directory when it is executable, else "mplayer" from PATH.
QString program();

// The argument naming path. A name that does not survive the trip through QString (not
// valid UTF-8) is reached through a symbolic link with a plain name in a private folder.
QString pathArgument(const QByteArray &path);

// Options every run gets: slave mode on stdin, identification lines, no terminal or LIRC.
QStringList commonArguments();

} // namespace MplayerLaunch
