#include "cutter/kerfacommands.h"

#include <QFileInfo>
#include <QProcess>
#include <cmath>
#include <csignal>
#include <limits>
#include <unistd.h>

namespace kerfa
{

namespace
{
const QString kCutter = QStringLiteral("./kerfa/mp3asm ");
const QString kGain = QStringLiteral("./kerfa/mp3gain ");
const QString kTagger = QStringLiteral("./kerfa/vellum ");

QString quoted(const QString &value)
{
    return QLatin1Char('\'') + quoteInside(value) + QLatin1Char('\'');
}

// A file path between quotes: one that begins with "-" is given as "./-..." (the same file),
// so the program cannot take it for an option.
QString quotedPath(const QString &path)
{
    return quoted(path.startsWith(QLatin1Char('-')) ? QStringLiteral("./") + path : path);
}
} // namespace

QString quoteInside(const QString &value)
{
    QString out = value;
    return out.replace(QLatin1String("'"), QLatin1String("'\\''"));
}

QString secondsToFrames(const QString &seconds)
{
    bool ok = false;
    const float value = seconds.toFloat(&ok);
    if (!ok || !std::isfinite(value))
        return QStringLiteral("0");
    // One MPEG audio frame at 44.1 kHz lasts about 26 ms.
    const double frames = std::trunc(double(value * 1000.0f / 26.0f));
    constexpr double kMin = std::numeric_limits<int>::min();
    constexpr double kMax = std::numeric_limits<int>::max();
    return QString::number(qint64(qBound(kMin, frames, kMax)));
}

bool timesValid(const QString &start, const QString &end)
{
    // toInt gives 0 for anything that is not a whole number, "12.5" included.
    return end.toInt() > start.toInt();
}

QString outputPath(const QString &outputField, const QString &inputPath)
{
    if (!QFileInfo(outputField).isDir())
        return outputField;
    QString path = outputField;
    if (!path.endsWith(QLatin1Char('/')))
        path += QLatin1Char('/');
    return path + QFileInfo(inputPath).fileName();
}

QString cutCommand(const Cut &cut)
{
    QString command = kCutter;
    command += QStringLiteral(" -o ") + quotedPath(cut.output);
    command += QStringLiteral(" -s ") + secondsToFrames(cut.start);
    command += (cut.lengthMode ? QStringLiteral(" -r ") : QStringLiteral(" -e "));
    command += secondsToFrames(cut.end);
    if (cut.verbose)
        command += QStringLiteral(" -v ");
    if (cut.keepTag)
        command += QStringLiteral(" -t ");
    command += QStringLiteral(" ") + quotedPath(cut.input);
    return command;
}

QString gainCommand(const QString &gain, bool left, bool right, const QString &path)
{
    const QString amount = QString::number(gain.toInt());
    QString command = kGain;
    // The left-channel box selects channel 1 and the right one channel 0.
    if (left && right)
        command += QStringLiteral("-g ") + amount;
    else if (left)
        command += QStringLiteral("-l 1 ") + amount;
    else if (right)
        command += QStringLiteral("-l 0 ") + amount;
    else
        return command;
    return command + QStringLiteral(" ") + quotedPath(path);
}

QString tagCommand(const QString &title, const QString &artist, const QString &album,
                   const QString &path)
{
    QString command = kTagger;
    if (!title.isEmpty())
        command += QStringLiteral(" -s ") + quoted(title);
    if (!artist.isEmpty())
        command += QStringLiteral(" -a ") + quoted(artist);
    if (!album.isEmpty())
        command += QStringLiteral(" -b ") + quoted(album);
    return command + QStringLiteral(" ") + quotedPath(path);
}

int runShell(const QString &command, int timeoutMs)
{
    QProcess shell;
    shell.setProcessChannelMode(QProcess::ForwardedChannels);
    // Its own process group, so a hung program can be killed with everything it started.
    shell.setChildProcessModifier([] { ::setpgid(0, 0); });
    shell.start(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), command});
    if (!shell.waitForStarted())
        return -1;
    // Nothing to read: a program asking for input sees the end at once instead of waiting.
    shell.closeWriteChannel();
    if (!shell.waitForFinished(timeoutMs)) {
        ::kill(-pid_t(shell.processId()), SIGKILL);
        shell.waitForFinished(5000);
        return -1;
    }
    return shell.exitStatus() == QProcess::NormalExit ? shell.exitCode() : -1;
}

} // namespace kerfa
