// The phone's own media player, used for previews: on a desktop, mplayer playing the
// file once to its end in the background.
#pragma once

#include <QString>

namespace platform
{
// Starts playing; false when the player could not be started. The path is handed
// over as one argument, never through a shell.
bool playMedia(const QString &file);
// The program used ("mplayer" unless a test points elsewhere).
void setMediaPlayerProgram(const QString &program);
} // namespace platform
