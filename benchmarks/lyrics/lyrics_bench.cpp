// Times the LRC reader on a 5,000-line GBK file, from bytes on disk to the sorted line
// table, and prints the median of many runs against the 5 ms target.
#include "lyrics/lyricpanel.h"
#include "lyrics/lyrictable.h"

#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QLoggingCategory>
#include <QPainter>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace
{

constexpr int kLines = 5000;
constexpr int kRuns = 200;
constexpr double kTargetMs = 5.0;

// A long song's worth of lines: GBK text mixed with ASCII, a few id tags, some lines with
// two time tags and some out of order, like real files.
QByteArray makeLrc()
{
    const QByteArray words[] = {
        "\xc4\xe3\xba\xc3", "\xb8\xe8\xb4\xca", "love", "\xd4\xc2\xc1\xc1", "night",
        "\xd0\xc7\xd0\xc7"};
    QByteArray lrc = "[ti:\xb2\xe2\xca\xd4]\r\n[ar:Someone]\r\n[al:Album]\r\n[by:bench]\r\n";
    for (int i = 0; i < kLines; ++i) {
        const int centis = (i * 37 + (i % 7 == 0 ? 500 : 0)) % 600000;
        lrc += QStringLiteral("[%1:%2.%3]")
                   .arg(centis / 6000, 2, 10, QLatin1Char('0'))
                   .arg(centis / 100 % 60, 2, 10, QLatin1Char('0'))
                   .arg(centis % 100, 2, 10, QLatin1Char('0'))
                   .toLatin1();
        if (i % 10 == 0)
            lrc += "[59:00.00]";
        for (int w = 0; w < 6; ++w)
            lrc += words[(i + w) % 6] + ' ';
        lrc += "\r\n";
    }
    return lrc;
}

} // namespace

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    QLoggingCategory::setFilterRules(QStringLiteral("orbal.*.debug=false"));
    QTemporaryDir dir;
    const QString path = dir.path() + QStringLiteral("/song.lrc");
    QFile out(path);
    const QByteArray lrc = makeLrc();
    if (!out.open(QIODevice::WriteOnly) || out.write(lrc) != lrc.size())
        return 2;
    out.close();

    std::vector<double> ms;
    int entries = 0;
    for (int run = 0; run < kRuns; ++run) {
        LyricTable table;
        QElapsedTimer clock;
        clock.start();
        if (table.parseLrc(path, LyricCharset::Gbk) != 0)
            return 2;
        ms.push_back(clock.nsecsElapsed() / 1e6);
        entries = table.size();
    }
    std::sort(ms.begin(), ms.end());
    const double median = ms[ms.size() / 2];
    std::printf("lrc parse: %d lines, %lld bytes, %d entries\n", kLines, qint64(lrc.size()),
                entries);
    std::printf("median %.3f ms, best %.3f ms, worst %.3f ms over %d runs (target < %.1f ms)\n",
                median, ms.front(), ms.back(), kRuns, kTargetMs);
    std::printf("%s\n", median < kTargetMs ? "PASS" : "FAIL");

    // For the per-second update's budget: one panel draw in each form (no target here).
    LyricTable table;
    table.parseLrc(path, LyricCharset::Gbk);
    LyricPanel panel;
    LyricPanel::Skin skin;
    skin.skin = QPixmap(240, 500);
    skin.skin.fill(Qt::darkBlue);
    skin.background = QPixmap(320, 240);
    skin.background.fill(Qt::darkGreen);
    skin.show = QRect(0, 150, 240, 120);
    skin.showSource = QPoint(0, 300);
    LyricPanel::Look look;
    QImage window(240, 320, QImage::Format_RGB32);
    for (int mode = 1; mode <= 3; ++mode) {
        std::vector<double> us;
        for (int run = 0; run < kRuns; ++run) {
            panel.seekTo(table, 60 + run * 0.5, look.lineHeight);
            QElapsedTimer clock;
            clock.start();
            QPainter p(&window);
            panel.paint(p, mode, table, skin, look);
            p.end();
            us.push_back(clock.nsecsElapsed() / 1e3);
        }
        std::sort(us.begin(), us.end());
        std::printf("lyric panel draw, mode %d: median %.1f us\n", mode, us[us.size() / 2]);
    }
    return median < kTargetMs ? 0 : 1;
}
