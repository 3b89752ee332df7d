// The phone's own media player, used for previews: on a desktop, mplayer playing the
// file once to its end in the background.
#pragma once

#include <QString>
#include <functional>

class QObject;

namespace platform
{
// Starts playing; false when the player could not be started. The path is handed
// over as one argument, never through a shell. `ended` runs once the player has
// returned, unless `receiver` is gone by then.
bool playMedia(const QString &file, QObject *receiver = nullptr, std::function<void()> ended = {});
// The program used ("mplayer" unless a test points elsewhere).
void setMediaPlayerProgram(const QString &program);
} // namespace platform
