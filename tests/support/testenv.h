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

// What a process holds, for checking that nothing piles up over many cycles.
struct Footprint {
    int descriptors = 0; // open file descriptors
    int children = 0;    // child processes, zombies included
    long residentKiB = 0;
};
// Of this process, or of the process pid (one of ours: /proc must let us look).
Footprint footprint(qint64 pid = 0);
// Empty when the samples' last quarter grew by at most `allowed` over their first quarter
// (compared by their means, so a child reaped a poll later does not count); otherwise says
// which measure grew by how much. A negative allowance leaves that measure unchecked.
QString growth(const QList<Footprint> &samples, const Footprint &allowed);
// The first and last quarters' means of each measure, one line, for the log.
QString summary(const QList<Footprint> &samples);
// A soak test's number of cycles: its own, or ORBAL_SOAK_CYCLES for the long runs of
// benchmarks/soak.
int soakCycles(int count);

// Makes a short test song with sox and lame (seconds long, a tone); returns its path.
QString makeMp3(const QString &path, double seconds = 1.0, int bitrate = 128);

} // namespace testenv
