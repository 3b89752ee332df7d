// What XMMSPlayer's 500 ms status poll costs the front-end: the two remote calls it makes
// (is_paused, is_playing), each one connection to the stand-in xmms. The stand-in runs from
// a scratch application directory with its own socket folder, idle and then playing a song
// to the null output.
#include "audio/xmmsctrl.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <benchmark/benchmark.h>
#include <csignal>
#include <cstdio>
#include <sys/prctl.h>

namespace
{

void statusPoll(benchmark::State &state)
{
    if (state.range(0) == 1 && !xmms_remote_is_playing(0)) {
        xmms_remote_play(0);
        QDeadlineTimer deadline(5000);
        while (xmms_remote_get_output_time(0) == 0 && !deadline.hasExpired())
            QThread::msleep(10);
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(xmms_remote_is_paused(0));
        benchmark::DoNotOptimize(xmms_remote_is_playing(0));
    }
}

bool waitUntil(bool (*pred)(), int ms)
{
    QDeadlineTimer deadline(ms);
    while (!pred() && !deadline.hasExpired())
        QThread::msleep(10);
    return pred();
}

bool write(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);

    QTemporaryDir scratch(QDir::tempPath() + QStringLiteral("/orbal-poll-XXXXXX"));
    const QString root = scratch.path();
    qputenv("TMPDIR", root.toLocal8Bit());
    qputenv("HOME", (root + QStringLiteral("/home")).toLocal8Bit());
    write(root + QStringLiteral("/home/.mplayer/config"), "ao=null\nvo=null\n");
    const QString appDir = root + QStringLiteral("/app");
    QDir().mkpath(appDir + QStringLiteral("/bin"));
    QFile::link(QCoreApplication::applicationDirPath() + QStringLiteral("/xmms"),
                appDir + QStringLiteral("/bin/xmms"));

    // A thirty-second tone, so the playing case has real decoding beside it.
    const QString song = root + QStringLiteral("/tone.wav");
    QProcess::execute(QStringLiteral("sox"),
                      {QStringLiteral("-n"), QStringLiteral("-r"), QStringLiteral("44100"), song,
                       QStringLiteral("synth"), QStringLiteral("30"), QStringLiteral("sine"),
                       QStringLiteral("440")});
    write(appDir + QStringLiteral("/.xmms/xmms.m3u"), song.toUtf8() + '\n');

    QProcess standin;
    standin.setWorkingDirectory(appDir);
    // The stand-in goes with us, however we end.
    standin.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
    standin.start(appDir + QStringLiteral("/bin/xmms"), {});
    if (!waitUntil([] { return xmms_remote_get_version(0) != 0; }, 5000)) {
        std::fprintf(stderr, "poll_bench: the stand-in xmms did not answer\n");
        return 1;
    }

    // Argument 0: xmms idle; 1: xmms playing.
    benchmark::RegisterBenchmark("statusPoll", statusPoll)->Arg(0)->Arg(1);
    benchmark::RunSpecifiedBenchmarks();

    xmms_remote_quit(0);
    standin.waitForFinished(5000);
    benchmark::Shutdown();
    return 0;
}
