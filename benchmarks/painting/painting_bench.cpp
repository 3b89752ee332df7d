// What the main window's drawing costs, measured on a real MainFace built offscreen in a
// scratch application directory that holds the shipped skins and a short playlist.
#include "app/mainface.h"
#include "skin/skinpainter.h"
#include "state/orbalstate.h"

#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <memory>

namespace
{

MainFace *face = nullptr;

bool copyTree(const QString &from, const QString &to)
{
    QDirIterator it(from, QDir::Files | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString file = it.next();
        const QString target = to + file.mid(from.size());
        QDir().mkpath(QFileInfo(target).absolutePath());
        if (!QFile::copy(file, target))
            return false;
    }
    return true;
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

void fullRepaint(benchmark::State &state)
{
    orbalState().layoutMode = Form(state.range(0));
    for (auto _ : state) {
        face->painter().paintFull();
        benchmark::DoNotOptimize(face->painter().canvas().cacheKey());
    }
    orbalState().layoutMode = Form::Vertical;
}

// The status poll's call while playing, in the vertical form: digits, position bar, lights.
void perSecondUpdate(benchmark::State &state)
{
    orbalState().layoutMode = Form(state.range(0));
    face->painter().paintFull();
    int second = 1;
    for (auto _ : state) {
        face->drawTimer(second, 128000, 44100, second % 100, 100);
        second = second % 5999 + 1;
    }
    orbalState().layoutMode = Form::Vertical;
}

void titleTick(benchmark::State &state)
{
    orbalState().layoutMode = Form(state.range(0));
    face->painter().paintFull();
    // Wider than the title line, so every step scrolls.
    face->setTitleText(QStringLiteral("3.A rather long song title that has to scroll along.mp3"));
    for (auto _ : state)
        face->drawTitle();
    orbalState().layoutMode = Form::Vertical;
}

} // namespace

BENCHMARK(fullRepaint)->Arg(1)->Arg(2)->Arg(3)->Unit(benchmark::kMicrosecond);
BENCHMARK(perSecondUpdate)->Arg(2)->Arg(3)->Unit(benchmark::kMicrosecond);
BENCHMARK(titleTick)->Arg(2)->Arg(3)->Unit(benchmark::kMicrosecond);

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);

    QTemporaryDir scratch(QDir::tempPath() + QStringLiteral("/orbal-paint-XXXXXX"));
    const QString root = scratch.path();
    if (!scratch.isValid() || !copyTree(QStringLiteral(ORBAL_SKINS_DIR), root + "/skins")) {
        fprintf(stderr, "cannot set up the application directory\n");
        return 1;
    }
    qputenv("HOME", root.toLocal8Bit());
    writeFile(root + "/.mplayer/config", "ao=null\nvo=null\n");
    QByteArray list;
    for (int i = 1; i <= 12; ++i) {
        const QString song = root + QStringLiteral("/music/%1 Song number %1.mp3").arg(i);
        writeFile(song, "ID3");
        list += song.toUtf8() + '\n';
    }
    writeFile(root + "/.xmms/xmms.m3u", list);
    QDir::setCurrent(root);

    auto window = std::make_unique<MainFace>();
    face = window.get();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    window.reset();
    return 0;
}
