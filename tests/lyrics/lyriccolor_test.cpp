// The lyric colour choices: the real colour dialog (sized for the phone), answered here, and the
// settings write.
#include "dropin/kconfig.h"
#include "lyrics/lyriccolorchooser.h"
#include "lyrics/lyriccolordialog.h"
#include "tests/support/testenv.h"

#include <QApplication>
#include <QDir>
#include <QTimer>
#include <gtest/gtest.h>

namespace
{

struct DialogSeen {
    bool shown = false;
    QColor openedAt;
    QRect geometry;
};

// Answers the next colour dialog with `answer`, or cancels it when `answer` is invalid.
// Gives up after five seconds by rejecting whatever dialog is up, so a regression fails
// the test instead of hanging it.
void answerNextColorDialog(const QColor &answer, DialogSeen *seen)
{
    auto *timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [=, ticks = 0]() mutable {
        LyricColorDialog *dialog = nullptr;
        for (QWidget *w : QApplication::topLevelWidgets()) {
            if (auto *d = qobject_cast<LyricColorDialog *>(w); d && d->isVisible())
                dialog = d;
        }
        if (!dialog && ++ticks < 500)
            return;
        timer->stop();
        timer->deleteLater();
        if (!dialog) {
            for (QWidget *w : QApplication::topLevelWidgets())
                if (auto *d = qobject_cast<QDialog *>(w))
                    d->reject();
            return;
        }
        seen->shown = true;
        seen->openedAt = dialog->currentColor();
        seen->geometry = dialog->frameGeometry();
        if (answer.isValid()) {
            dialog->setCurrentColor(answer);
            dialog->accept();
        } else {
            dialog->reject();
        }
    });
    timer->start();
}

QString savedEntry(const QString &appDir, const QString &key)
{
    KConfig config(appDir + "/.xmms/tavrin_cfg", true);
    config.setGroup("tvskin");
    return config.readEntry(key, "<absent>");
}

struct ColorRow {
    const char *name;
    LyricColorRole role;
    QByteArray settings; // ".xmms/tavrin_cfg" before, empty for no file
    QColor answer;       // invalid = cancel
    QColor expectedStart;
    QString expectedCurrent; // "lrccolor" afterwards
    QString expectedOther;   // "lrcbcolor" afterwards
};

TEST(LyricColorChoice, dialogStartsAtSavedColourAndSavesTheAnswer)
{
    const QByteArray saved = "[tvskin]\nlrcbcolor=#445566\nlrccolor=#112233\n";
    const ColorRow rows[] = {
        {"current line confirmed", LyricColorRole::CurrentLine, saved, QColor("#00ff80"),
         QColor("#112233"), "#00ff80", "#445566"},
        {"other lines confirmed", LyricColorRole::OtherLines, saved, QColor(1, 2, 3),
         QColor("#445566"), "#112233", "#010203"},
        {"no settings yet start at the default",
         LyricColorRole::OtherLines,
         {},
         QColor("#abcdef"),
         QColor("#C8C8C8"),
         "<absent>",
         "#abcdef"},
        {"cancel writes nothing", LyricColorRole::CurrentLine, saved, QColor(), QColor("#112233"),
         "#112233", "#445566"},
    };
    for (const ColorRow &row : rows) {
        SCOPED_TRACE(row.name);
        const QString appDir = testenv::scratchDir();
        ASSERT_TRUE(QDir().mkpath(appDir + "/.xmms"));
        if (!row.settings.isEmpty()) {
            ASSERT_TRUE(testenv::writeFile(appDir + "/.xmms/tavrin_cfg", row.settings));
        }

        DialogSeen seen;
        answerNextColorDialog(row.answer, &seen);
        const QColor chosen = LyricColorChooser::choose(appDir, row.role);

        EXPECT_TRUE(seen.shown);
        EXPECT_EQ(seen.openedAt, row.expectedStart);
        EXPECT_TRUE(QRect(0, 0, 240, 320).contains(seen.geometry))
            << seen.geometry.x() << "," << seen.geometry.width();
        EXPECT_EQ(chosen, row.answer);
        EXPECT_EQ(savedEntry(appDir, "lrccolor"), row.expectedCurrent);
        EXPECT_EQ(savedEntry(appDir, "lrcbcolor"), row.expectedOther);
        if (!row.answer.isValid() && !row.settings.isEmpty()) {
            EXPECT_EQ(testenv::readFile(appDir + "/.xmms/tavrin_cfg"), row.settings);
        }
    }
}

} // namespace
