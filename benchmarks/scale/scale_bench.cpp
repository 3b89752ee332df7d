// Times the actions a big library makes slow, on a card folder and a player list of N songs
// (1,000, 10,000 and 100,000 unless sizes are given): listing the folder in the open-files
// dialog until painted, scanning it into the player list, opening the playlist editor on the list
// until painted, its selection menu and deleting every other song, entering "Add Songs" and adding
// the whole folder. Each is printed with its ratio to a plain directory listing or a plain read of
// the same list, taken in the same run, and with the heap it holds while shown. Targets: every
// action under 200 ms at any size, except adding 10,000 songs (under 1 s), the dialog on 10,000
// entries (under 40 ms, 15 MB) and the editor on 100,000 entries (under 300 ms).
#include "cutter/viewdialog.h"
#include "platform/cardroot.h"
#include "playlist/filebrowser.h"
#include "playlist/myplaylist.h"
#include "playlist/playlist.h"
#include "playlist/playlistfile.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QItemSelection>
#include <QLoggingCategory>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <fcntl.h>
#include <functional>
#include <malloc.h>
#include <tuple>
#include <unistd.h>

namespace
{

double heapMb()
{
    const struct mallinfo2 m = mallinfo2();
    return double(m.uordblks + m.hblkhd) / (1024.0 * 1024.0);
}

// Counts paints of a widget's viewport.
class PaintWatch : public QObject
{
public:
    bool painted = false;
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            painted = true;
        return false;
    }
};

// Shows `top` and runs the event loop until `view` has painted (at most 30 s).
void showUntilPainted(QWidget *top, QAbstractItemView *view)
{
    PaintWatch watch;
    view->viewport()->installEventFilter(&watch);
    top->show();
    QDeadlineTimer deadline(30000);
    while (!watch.painted && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    view->viewport()->removeEventFilter(&watch);
}

double msOf(const std::function<void()> &work)
{
    QElapsedTimer clock;
    clock.start();
    work();
    return clock.nsecsElapsed() / 1e6;
}

// Best of a few runs: the baselines are short and the machine noisy.
double bestMsOf(const std::function<void()> &work, int runs = 5)
{
    double best = 1e30;
    for (int i = 0; i < runs; ++i)
        best = std::min(best, msOf(work));
    return best;
}

bool writeBytes(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

void report(const char *what, double ms, double baseMs, const char *base, double mb = -1)
{
    std::printf("  %-28s %9.1f ms  %7.1fx %-8s", what, ms, ms / std::max(baseMs, 1e-3), base);
    if (mb >= 0)
        std::printf("  heap %+7.1f MB", mb);
    std::printf("\n");
}

void runSize(int n, const QString &root, long maxAdd)
{
    // A fresh application directory per size: the card folder holds n songs, the player
    // list names them all.
    const QString app = root + QStringLiteral("/app%1").arg(n);
    QDir().mkpath(app);
    QDir::setCurrent(app);
    const QString card = platform::cardRoot();
    QDir().mkpath(card);
    QByteArray list;
    for (int i = 0; i < n; ++i) {
        const QString song = card + QStringLiteral("/song %1.mp3").arg(i, 6, 10, QLatin1Char('0'));
        QFile f(song);
        if (!f.open(QIODevice::WriteOnly))
            std::exit(2);
        list += song.toUtf8() + '\n';
    }
    const QString listFile = app + QStringLiteral("/.xmms/xmms.m3u");
    const QString emptyList = app + QStringLiteral("/.xmms/empty.m3u");
    if (!writeBytes(listFile, list) || !writeBytes(emptyList, QByteArray()))
        std::exit(2);

    const double listing = bestMsOf([&] {
        QDir dir(card);
        dir.setSorting(QDir::Name | QDir::IgnoreCase);
        volatile int count = dir.entryList(QDir::AllEntries | QDir::Hidden).size();
        (void)count;
    });
    const double plainRead = bestMsOf([&] {
        QFile f(listFile);
        if (f.open(QIODevice::ReadOnly)) {
            volatile int count = QString::fromUtf8(f.readAll()).split(QLatin1Char('\n')).size();
            (void)count;
        }
    });
    std::printf("%d songs: plain directory listing %.1f ms, plain read of the list %.1f ms\n", n,
                listing, plainRead);

    report("player list read", bestMsOf([&] { PlaylistFile::read(listFile); }, 3), plainRead,
           "read");
    // What the open-files dialog's Ok does with the folder: scan it into the player list and
    // read that back.
    const QString scanned = app + QStringLiteral("/.xmms/scanned.m3u");
    report("folder to player list", msOf([&] {
               PlaylistFile::rebuildFromDirectory(card, scanned);
               PlaylistFile::read(scanned);
           }),
           listing, "listing");

    {
        const double heap = heapMb();
        ViewDialog *dialog = nullptr;
        const double ms = msOf([&] {
            // It opens on the card root.
            dialog = new ViewDialog(nullptr, QString::fromLatin1(PlaylistFile::kMediaFilter), true);
            showUntilPainted(dialog, dialog->browser());
        });
        const double held = heapMb() - heap;
        report("open-files dialog", ms, listing, "listing", held);
        delete dialog;
        QCoreApplication::processEvents();
    }
    {
        const double heap = heapMb();
        PlayList *editor = nullptr;
        const double ms = msOf([&] {
            editor = new PlayList(nullptr, listFile);
            editor->openList();
            showUntilPainted(editor, editor->list());
        });
        const double held = heapMb() - heap;
        report("editor open", ms, plainRead, "read", held);
        // The selection menu, last on every other row: the most runs a selection can have.
        auto everyOther = [&] {
            QItemSelection rows;
            for (int i = 0; i < n; i += 2)
                rows.select(editor->list()->model()->index(i, 0),
                            editor->list()->model()->index(i, 0));
            editor->list()->selectionModel()->select(rows, QItemSelectionModel::ClearAndSelect);
        };
        for (const auto &[what, id, alternate] :
             {std::tuple{"Select All", PlayList::SelectAll, false},
              std::tuple{"Revers Select, all", PlayList::ReverseSelect, false},
              std::tuple{"Revers Select, alternate", PlayList::ReverseSelect, true},
              std::tuple{"UnSelect All, alternate", PlayList::UnselectAll, true}}) {
            if (alternate)
                everyOther();
            const double ms = msOf([&] {
                editor->menuSelect(id);
                QCoreApplication::processEvents();
            });
            report(what, ms, plainRead, "read");
        }
        // Deleting every other song rewrites the list (the last use of it at this size).
        editor->menuSelect(PlayList::DelSongs);
        everyOther();
        report("Del Songs, alternate", msOf([&] {
                   editor->hideWithOk();
                   QCoreApplication::processEvents();
               }),
               plainRead, "read");
        if (editor->files().size() != n / 2)
            std::printf("  kept %lld songs, not %d\n", qint64(editor->files().size()), n / 2);
        delete editor;
        QCoreApplication::processEvents();
    }
    if (n > maxAdd) {
        std::printf("  (adding %d songs skipped)\n", n);
        return;
    }
    {
        PlayList editor(nullptr, emptyList);
        editor.openList();
        showUntilPainted(&editor, editor.list());
        const double enter = msOf([&] {
            editor.menuSelect(PlayList::AddSongs);
            QCoreApplication::processEvents();
        });
        report("enter Add Songs", enter, listing, "listing");
        editor.menuSelect(PlayList::SelectAll);
        // The editor prints a line per song added: send those nowhere.
        std::fflush(stdout);
        const int saved = dup(1);
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, 1);
        const double add = msOf([&] {
            editor.hideWithOk();
            QCoreApplication::processEvents();
        });
        std::fflush(stdout);
        dup2(saved, 1);
        close(saved);
        close(null);
        if (editor.files().size() != n)
            std::printf("  added %lld songs, not %d\n", qint64(editor.files().size()), n);
        report("add all songs", add, plainRead, "read");
    }
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QLoggingCategory::setFilterRules(QStringLiteral("orbal.*.debug=false"));
    // Sizes from the command line; "--max-add N" skips adding beyond N songs (the old
    // quadratic add takes hours at 100,000).
    QList<int> sizes;
    long maxAdd = 1L << 30;
    const QStringList args = app.arguments().mid(1);
    for (int i = 0; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--max-add") && i + 1 < args.size())
            maxAdd = args[++i].toLong();
        else if (args[i].toInt() > 0)
            sizes << args[i].toInt();
    }
    if (sizes.isEmpty())
        sizes = {1000, 10000, 100000};
    QTemporaryDir root(QDir::tempPath() + QStringLiteral("/orbal-scale-XXXXXX"));
    if (!root.isValid())
        return 2;
    for (int n : sizes) {
        runSize(n, root.path(), maxAdd);
        std::fflush(stdout);
    }
    QDir::setCurrent(QDir::tempPath());
    return 0;
}
