// A stand-in "./mplayer" for tests that need exact control: it records its arguments and
// every command line it receives, answers the length request and leaves on "quit".
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

namespace fakemplayer
{

// Makes dir the application directory (the working directory) with the fake as ./mplayer.
// extraScript runs before the command loop (e.g. to print something).
void install(const QString &dir, const QByteArray &extraScript = QByteArray());
// Makes dir the application directory with the real mplayer as ./mplayer.
void installReal(const QString &dir);
// The arguments of the last start, without the program.
QList<QByteArray> arguments(const QString &dir);
// Every command line received so far, over all starts.
QList<QByteArray> lines(const QString &dir);
void clearLines(const QString &dir);

} // namespace fakemplayer
