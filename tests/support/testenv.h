// Shared helpers for the test programs: scratch folders, a HOME whose mplayer
// sends sound nowhere, and bounded waits on the event loop.
#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <functional>

namespace testenv
{

// The source and build trees, as ctest hands them to every test.
QString sourceDir();
QString binaryDir();

// A fresh folder under the system's temporary folder, removed when the test program ends.
QString scratchDir(const QString &name = QString());

// Points HOME at a scratch folder whose ".mplayer/config" sends audio to the null
// output (video too unless keepVideo), and returns that folder.
QString useQuietHome(bool keepVideo = false);

// Runs the event loop until pred() holds or ms milliseconds pass; returns pred().
bool waitFor(const std::function<bool()> &pred, int ms = 5000);

// Writes bytes to a file, creating folders on the way; returns success.
bool writeFile(const QString &path, const QByteArray &bytes);
QByteArray readFile(const QString &path);
// Sets a file's modification time; returns success.
bool setModified(const QString &path, const QDateTime &time);

struct ProcessResult {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};
// Runs a program to its end (at most ms milliseconds) with no shell in between.
ProcessResult run(const QString &program, const QStringList &args, int ms = 30000,
                  const QString &workDir = QString());

// Makes a short test song with sox and lame (seconds long, a tone); returns its path.
QString makeMp3(const QString &path, double seconds = 1.0, int bitrate = 128);

} // namespace testenv
