// The ringtone cutter's shell command lines, built from plain values so they can be
// checked byte for byte. Every value placed between single quotes is escaped so the
// program receives it exactly as typed: nothing inside can end the quotes or run. A file
// path that begins with "-" is written "./-..." so that no program takes it for an option.
#pragma once

#include <QString>

namespace kerfa
{

// The text to put between single quotes: each ' becomes '\'' (close, escaped quote, reopen).
QString quoteInside(const QString &value);

// Seconds as typed (a decimal number, 0 when not one) to 26 ms frames, truncated toward
// zero: "10" gives "384".
QString secondsToFrames(const QString &seconds);

// The "->" mode check: both fields read as whole numbers (0 when not one); the end must
// be greater than the start.
bool timesValid(const QString &start, const QString &end);

// The output field names a directory: that directory plus the input's file name;
// otherwise the field as typed.
QString outputPath(const QString &outputField, const QString &inputPath);

struct Cut {
    QString input;           // as typed
    QString output;          // after outputPath()
    QString start;           // seconds as typed
    QString end;             // seconds as typed: end time, or length in length mode
    bool lengthMode = false; // the "++" mode
    bool verbose = false;
    bool keepTag = false;
};
QString cutCommand(const Cut &cut);

// Empty when neither channel is chosen: then only the program name runs.
QString gainCommand(const QString &gain, bool left, bool right, const QString &path);

// Empty fields are left out.
QString tagCommand(const QString &title, const QString &artist, const QString &album,
                   const QString &path);

// Runs a command line through the shell and waits for it, as system() would, printing
// nothing itself; gives the exit status, or -1 when it could not run or was killed.
// A program that outlives `timeoutMs` is killed with everything it started.
int runShell(const QString &command, int timeoutMs = 30 * 60 * 1000);

} // namespace kerfa
