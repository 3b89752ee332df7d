// The playlist editor on real files: loading, modes, adding and deleting, presets
// through its information boxes and chooser, and saves in xmms mode around a real
// (or, when the stand-in is not built, a recording) xmms.
#include "audio/xmmsplayer.h"
#include "cutter/viewdialog.h"
#include "platform/cardroot.h"
#include "platform/pathcodec.h"
#include "platform/zmessagebox.h"
#include "platform/zmultilineedit.h"
#include "playlist/filebrowser.h"
#include "playlist/myplaylist.h"
#include "playlist/playerrestart.h"
#include "playlist/playlist.h"
#include "tests/support/testenv.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <cstdio>
#include <gtest/gtest.h>
#include <signal.h>

// Readable failure messages for Qt strings.
inline void PrintTo(const QString &s, std::ostream *os)
{
    *os << '"' << s.toStdString() << '"';
}

namespace
{

QStringList rows(const QListWidget &list)
{
    QStringList texts;
    for (int i = 0; i < list.count(); ++i)
        texts << list.item(i)->text();
    return texts;
}

// Types text key by key, as a keyboard or input method would deliver it.
void typeText(QWidget *widget, const QString &text)
{
    for (QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &press);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &release);
    }
}

// Answers the next modal chooser: highlights `entry` and presses OK (or Back when there is
// no such entry).
void answerChooser(const QString &entry)
{
    auto *timer = new QTimer;
    QObject::connect(timer, &QTimer::timeout, timer, [timer, entry] {
        auto *chooser = qobject_cast<ViewDialog *>(QApplication::activeModalWidget());
        if (!chooser)
            return;
        timer->deleteLater();
        timer->stop();
        FileBrowser *browser = chooser->findChild<FileBrowser *>("browser");
        const int row = rows(*browser).indexOf(entry);
        if (row < 0) {
            chooser->close();
            return;
        }
        browser->setCurrentRow(row);
        chooser->findChild<QPushButton *>("ok")->click();
    });
    timer->start(20);
    QTimer::singleShot(5000, timer, [timer] { timer->deleteLater(); }); // never hang
}

class EditorTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_oldCwd = QDir::currentPath();
        m_home = testenv::useQuietHome();
        m_app = testenv::scratchDir("app");
        QDir::setCurrent(m_app);
        m_card = platform::cardRoot();
        for (const char *song : {"a.mp3", "b.mp3", "c.ogg", "sub/d.mp3", "notes.txt"})
            testenv::writeFile(m_card + "/" + song, "x");
        m_listFile = m_app + "/.xmms/xmms.m3u";
        ZMessageBox::history().clear();
        ZMessageBox::setResponder([](const ZMessageBox::Shown &) { return 0; });
    }
    void TearDown() override
    {
        ZMessageBox::setResponder(nullptr);
        QDir::setCurrent(m_oldCwd);
    }
    QString song(const char *name) const { return m_card + "/" + name; }
    void writeList(const QStringList &paths)
    {
        testenv::writeFile(m_listFile, (paths.join('\n') + '\n').toUtf8());
    }

    QString m_oldCwd, m_home, m_app, m_card, m_listFile;
};

TEST_F(EditorTest, loadsExistingEntriesAsBareNames)
{
    testenv::writeFile(m_listFile,
                       ("#EXTM3U\n" + song("a.mp3") + "\n" + song("gone.mp3") + "\n").toUtf8());
    PlayList editor(nullptr, m_listFile);
    EXPECT_EQ(editor.files(), QStringList{song("a.mp3")});
    EXPECT_EQ(rows(*editor.list()), QStringList{"a.mp3"});
    EXPECT_EQ(editor.listFile(), m_listFile);
}

struct ModeCase {
    const char *name;
    PlayList::MenuId action;
    int mode;
    const char *okText;
    bool selectionEnabled;
};

class EditorModes : public EditorTest, public ::testing::WithParamInterface<ModeCase>
{
};

TEST_P(EditorModes, setTextsMenusAndListAndReturnDiscards)
{
    writeList({song("a.mp3"), song("b.mp3")});
    const QByteArray before = testenv::readFile(m_listFile);
    PlayList editor(nullptr, m_listFile);
    ASSERT_EQ(editor.openList(), 0);
    editor.menuSelect(GetParam().action);

    EXPECT_EQ(editor.mode(), GetParam().mode);
    EXPECT_EQ(editor.okButton()->text(), GetParam().okText);
    for (auto id : {PlayList::SelectAll, PlayList::UnselectAll, PlayList::ReverseSelect})
        EXPECT_EQ(editor.menuAction(id)->isEnabled(), GetParam().selectionEnabled);
    for (auto id : {PlayList::AddSongs, PlayList::DelSongs})
        EXPECT_EQ(editor.menuAction(id)->isEnabled(), !GetParam().selectionEnabled);
    for (auto id : {PlayList::IntoList, PlayList::SaveAsPreset, PlayList::DeleteList})
        EXPECT_TRUE(editor.menuAction(id)->isEnabled());
    if (GetParam().mode == PlayList::Adding) {
        EXPECT_EQ(editor.list()->currentDir(), QDir(m_card).canonicalPath());
        EXPECT_EQ(rows(*editor.list()), QStringList({"..", "sub", "a.mp3", "b.mp3", "c.ogg"}));
    } else {
        EXPECT_EQ(rows(*editor.list()), QStringList({"a.mp3", "b.mp3"}));
    }

    editor.list()->selectAll();
    editor.hideWithCancel();
    if (GetParam().mode == PlayList::Normal) { // Return in normal mode closes
        EXPECT_FALSE(editor.isVisible());
        EXPECT_EQ(editor.list()->count(), 0);
        return;
    }
    EXPECT_EQ(editor.mode(), PlayList::Normal);
    EXPECT_EQ(editor.okButton()->text(), "Ok");
    EXPECT_FALSE(editor.menuAction(PlayList::SelectAll)->isEnabled());
    EXPECT_TRUE(editor.menuAction(PlayList::AddSongs)->isEnabled());
    EXPECT_EQ(rows(*editor.list()), QStringList({"a.mp3", "b.mp3"}));
    EXPECT_EQ(testenv::readFile(m_listFile), before);
    EXPECT_TRUE(editor.isVisible());
}

INSTANTIATE_TEST_SUITE_P(
    Modes, EditorModes,
    ::testing::Values(ModeCase{"normal", PlayList::UnselectAll, 0, "Ok", false},
                      ModeCase{"adding", PlayList::AddSongs, 1, "Add", true},
                      ModeCase{"deleting", PlayList::DelSongs, -1, "Delete", true}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(EditorTest, addingAppendsNewFilesOnlyAndSaves)
{
    writeList({song("a.mp3")});
    PlayList editor(nullptr, m_listFile);
    editor.openList();
    editor.menuSelect(PlayList::AddSongs);
    MyPlayList *list = editor.list();
    // "..", a folder, a song already listed and two new songs.
    for (const char *entry : {"..", "sub", "a.mp3", "c.ogg", "b.mp3"})
        list->item(rows(*list).indexOf(entry))->setSelected(true);
    editor.hideWithOk();

    const QStringList expected = {song("a.mp3"), song("b.mp3"), song("c.ogg")};
    EXPECT_EQ(editor.files(), expected);
    EXPECT_EQ(editor.mode(), PlayList::Normal);
    EXPECT_EQ(testenv::readFile(m_listFile), (expected.join('\n') + '\n').toUtf8());
    EXPECT_EQ(rows(*list), QStringList({"a.mp3", "b.mp3", "c.ogg"}));

    // Adding the same songs again, reached through another spelling, changes nothing.
    editor.menuSelect(PlayList::AddSongs);
    list->setDir(m_card + "/sub/..");
    list->selectAll();
    editor.hideWithOk();
    EXPECT_EQ(editor.files(), expected);
}

// Hundreds of songs, half of them listed already under another spelling of their folder:
// those are refused, the rest follow in row order, and the title shows the editor's name
// again once the add is done.
TEST_F(EditorTest, addingManySongsRefusesOtherSpellingsAndKeepsOrder)
{
    const QString many = m_card + "/many";
    const QString alias = m_app + "/alias";
    QStringList listed, added;
    for (int i = 0; i < 600; ++i) {
        const QString name = QString("s%1.mp3").arg(i, 3, 10, QChar('0'));
        testenv::writeFile(many + "/" + name, "x");
        (i % 2 ? added : listed) << (i % 2 ? many : alias) + "/" + name;
    }
    ASSERT_TRUE(QFile::link(many, alias));
    writeList(listed);
    PlayList editor(nullptr, m_listFile);
    editor.openList();
    editor.menuSelect(PlayList::AddSongs);
    ASSERT_TRUE(editor.list()->setDir(many));
    editor.list()->selectAll();
    editor.hideWithOk();

    const QStringList expected = listed + added;
    EXPECT_EQ(editor.files(), expected);
    EXPECT_EQ(testenv::readFile(m_listFile), (expected.join('\n') + '\n').toUtf8());
    EXPECT_EQ(editor.findChild<QLabel *>()->text(), "Edit List");
}

// Names from another system's card (GBK bytes) are listed, added and saved as their bytes;
// a name holding a line break cannot be stored and is not added.
TEST_F(EditorTest, namesThatAreNotUtf8AreAddedAsTheirBytes)
{
    const QByteArray folder = QFile::encodeName(m_card) + "/raw";
    const QByteArray gbk = "\xd6\xd0\xce\xc4.mp3";
    ASSERT_TRUE(QDir().mkpath(QFile::decodeName(folder)));
    for (const QByteArray &name : {gbk, QByteArray("line\nbreak.mp3")}) {
        std::FILE *f = std::fopen(folder + "/" + name, "w");
        ASSERT_NE(f, nullptr);
        std::fclose(f);
    }
    PlayList editor(nullptr, m_listFile);
    editor.openList();
    editor.menuSelect(PlayList::AddSongs);
    ASSERT_TRUE(editor.list()->setDir(PathCodec::decode(folder)));
    ASSERT_EQ(rows(*editor.list()).size(), 3); // "..", both songs
    editor.list()->setCurrentRow(rows(*editor.list()).indexOf(PathCodec::decode(gbk)));
    EXPECT_EQ(PathCodec::encode(editor.list()->pickedFile()), folder + "/" + gbk);
    editor.list()->selectAll();
    editor.hideWithOk();
    EXPECT_EQ(testenv::readFile(m_listFile), folder + "/" + gbk + "\n");
    EXPECT_EQ(rows(*editor.list()), QStringList({PathCodec::decode(gbk)}));
}

TEST_F(EditorTest, missingPlayerListIsCreatedByTheFirstSave)
{
    PlayList editor(nullptr, m_listFile);
    EXPECT_EQ(editor.list()->count(), 0);
    editor.openList();
    editor.menuSelect(PlayList::AddSongs);
    editor.hideWithCancel(); // back to the (empty) entries, not the folder
    EXPECT_EQ(editor.list()->count(), 0);
    editor.menuSelect(PlayList::AddSongs);
    editor.list()->item(rows(*editor.list()).indexOf("b.mp3"))->setSelected(true);
    editor.hideWithOk();
    EXPECT_EQ(testenv::readFile(m_listFile), (song("b.mp3") + "\n").toUtf8());
}

TEST_F(EditorTest, deletingRemovesSelectedRowsAndSaves)
{
    writeList({song("a.mp3"), song("b.mp3"), song("c.ogg")});
    PlayList editor(nullptr, m_listFile);
    editor.openList();
    editor.menuSelect(PlayList::DelSongs);
    editor.menuSelect(PlayList::SelectAll);
    editor.list()->item(1)->setSelected(false);
    editor.menuSelect(PlayList::ReverseSelect); // only b.mp3 stays selected
    EXPECT_EQ(editor.list()->selectedRows(), QList<int>({1}));
    editor.menuSelect(PlayList::ReverseSelect);
    EXPECT_EQ(editor.list()->selectedRows(), QList<int>({0, 2}));
    editor.menuSelect(PlayList::ReverseSelect);
    editor.hideWithOk();
    EXPECT_EQ(editor.files(), QStringList({song("a.mp3"), song("c.ogg")}));
    EXPECT_EQ(testenv::readFile(m_listFile),
              (song("a.mp3") + "\n" + song("c.ogg") + "\n").toUtf8());
}

TEST_F(EditorTest, okInNormalModeHandsOverTheEntryWithoutSaving)
{
    writeList({song("a.mp3"), song("b.mp3"), song("c.ogg")});
    testenv::writeFile(m_listFile, testenv::readFile(m_listFile) + "#comment\n");
    const QByteArray before = testenv::readFile(m_listFile);
    PlayList editor(nullptr, m_listFile);
    QSignalSpy cmd(&editor, &PlayList::playlistCmd);
    editor.openList();
    editor.list()->setCurrentRow(2);
    QTest::mouseClick(editor.okButton(), Qt::LeftButton);
    EXPECT_EQ(cmd.count(), 1);
    EXPECT_FALSE(editor.isVisible());
    QString path;
    EXPECT_EQ(editor.currentEntry(path), 2);
    EXPECT_EQ(path, song("c.ogg"));
    EXPECT_EQ(testenv::readFile(m_listFile), before);
}

TEST_F(EditorTest, currentEntryOnEmptyAndShrunkLists)
{
    testenv::writeFile(m_listFile, "");
    PlayList empty(nullptr, m_listFile);
    QString path = "untouched";
    EXPECT_EQ(empty.currentEntry(path), -1);
    EXPECT_EQ(path, "untouched");

    QStringList eight;
    for (int i = 0; i < 8; ++i)
        eight << song("a.mp3");
    writeList(eight);
    PlayList editor(nullptr, m_listFile);
    editor.openList();
    editor.list()->setCurrentRow(7);
    editor.hideWithOk();
    // Three entries left by the time the owner asks.
    writeList({song("b.mp3"), song("c.ogg"), song("a.mp3")});
    editor.openList();
    EXPECT_EQ(editor.currentEntry(path), 0);
    EXPECT_EQ(path, song("b.mp3"));
}

TEST_F(EditorTest, openWhileVisibleKeepsTheMode)
{
    writeList({song("a.mp3")});
    PlayList editor(nullptr, m_listFile);
    EXPECT_EQ(editor.openList(), 0);
    editor.menuSelect(PlayList::AddSongs);
    EXPECT_EQ(editor.openList(), -1);
    EXPECT_EQ(editor.mode(), PlayList::Adding);
    EXPECT_EQ(editor.okButton()->text(), "Add");
    editor.hideWithCancel();
    editor.hideWithCancel();
    EXPECT_FALSE(editor.isVisible());
    EXPECT_EQ(editor.openList(), 0);
}

TEST_F(EditorTest, menuButtonPopsTheMenuUpAboveTheButtons)
{
    writeList({song("a.mp3")});
    PlayList editor(nullptr, m_listFile);
    editor.openList();
    QMenu *menu = editor.findChild<QMenu *>();
    ASSERT_NE(menu, nullptr);
    QPushButton *menuButton = nullptr;
    for (QPushButton *b : editor.findChildren<QPushButton *>())
        if (b->text() == "Menu")
            menuButton = b;
    ASSERT_NE(menuButton, nullptr);
    QTest::mouseClick(menuButton, Qt::LeftButton);
    ASSERT_TRUE(testenv::waitFor([&] { return menu->isVisible(); }, 2000));
    EXPECT_EQ(menu->pos().x(), editor.mapToGlobal(QPoint(0, 0)).x());
    EXPECT_LE(menu->geometry().bottom(), editor.mapToGlobal(QPoint(0, 290)).y());
    QStringList texts;
    for (QAction *a : menu->actions())
        texts << (a->isSeparator() ? "-" : a->text());
    EXPECT_EQ(texts, QStringList({"Select All", "UnSelect All", "Revers Select", "-", "Add Songs",
                                  "Del Songs", "Into the list", "List of preser.", "Delete list"}));
    menu->hide();
}

struct PresetCase {
    const char *name;
    const char *typed;
    int answer;
    const char *savedAs; // null: nothing saved
};

class PresetSaving : public EditorTest, public ::testing::WithParamInterface<PresetCase>
{
};

TEST_P(PresetSaving, asksAndWritesIntoTheHomePresetFolder)
{
    writeList({song("a.mp3"), song("b.mp3")});
    PlayList editor(nullptr, m_listFile);
    editor.show();
    const int answer = GetParam().answer;
    ZMessageBox::setResponder([answer](const ZMessageBox::Shown &) { return answer; });
    editor.menuSelect(PlayList::SaveAsPreset);
    ASSERT_TRUE(editor.nameEdit()->isVisible());
    typeText(editor.nameEdit(), QString::fromUtf8(GetParam().typed));
    QTest::keyClick(editor.nameEdit(), Qt::Key_Return);

    EXPECT_FALSE(editor.nameEdit()->isVisible());
    const QString presets = m_home + "/playlist";
    ASSERT_EQ(ZMessageBox::history().size(), 1);
    const QString name = GetParam().savedAs ? QString::fromUtf8(GetParam().savedAs) : QString();
    if (GetParam().savedAs) {
        EXPECT_EQ(ZMessageBox::history().first().text, "Save      [" + name + "]Plyers outInput");
        EXPECT_EQ(QDir(presets).entryList(QDir::Files | QDir::Hidden), QStringList{name + ".m3u"});
        EXPECT_EQ(testenv::readFile(presets + "/" + name + ".m3u"),
                  (song("a.mp3") + "\n" + song("b.mp3") + "\n").toUtf8());
    } else {
        EXPECT_TRUE(QDir(presets).entryList(QDir::Files | QDir::Hidden).isEmpty());
    }
    EXPECT_EQ(ZMessageBox::history().first().buttons, QStringList({"", "Cancel"}));
    // The edited list itself is not touched by a preset save.
    EXPECT_EQ(editor.listFile(), m_listFile);
}

INSTANTIATE_TEST_SUITE_P(Names, PresetSaving,
                         ::testing::Values(PresetCase{"plain", "road trip", 0, "road trip"},
                                           PresetCase{"chinese", "旅行", 0, "旅行"},
                                           PresetCase{"forbiddenCharactersFiltered",
                                                      "../a/b:c*d?\"e<f>g\\h", 0, "..abcdefgh"},
                                           PresetCase{"emptyName", "", 0, ""},
                                           PresetCase{"cancelled", "kept out", 1, nullptr}),
                         [](const auto &info) { return std::string(info.param.name); });

TEST_F(EditorTest, presetNameSetOtherwiseIsFilteredToo)
{
    writeList({song("a.mp3")});
    PlayList editor(nullptr, m_listFile);
    editor.nameEdit()->setText("../../escape\n$(touch pwned)");
    editor.savelist();
    EXPECT_EQ(QDir(m_home + "/playlist").entryList(QDir::Files | QDir::Hidden),
              QStringList{"....escape$(touch pwned).m3u"});
    EXPECT_FALSE(QFileInfo::exists(m_home + "/escape.m3u"));
}

TEST_F(EditorTest, intoTheListLoadsAPresetAndEditsItFromThenOn)
{
    writeList({song("a.mp3")});
    const QString preset = m_home + "/playlist/mix.m3u";
    testenv::writeFile(preset, ("#EXTM3U\n" + song("b.mp3") + "\n" + song("gone.mp3") + "\n" +
                                song("c.ogg") + "\n")
                                   .toUtf8());
    PlayList editor(nullptr, m_listFile);
    editor.openList();
    answerChooser("mix.m3u");
    editor.menuSelect(PlayList::IntoList);

    EXPECT_EQ(editor.listFile(), preset);
    EXPECT_EQ(editor.files(), QStringList({song("b.mp3"), song("c.ogg")}));
    EXPECT_EQ(testenv::readFile(preset), (song("b.mp3") + "\n" + song("c.ogg") + "\n").toUtf8());
    EXPECT_EQ(testenv::readFile(m_listFile), (song("a.mp3") + "\n").toUtf8());

    // Cancelling the chooser changes nothing.
    testenv::writeFile(preset, ("#EXTM3U\n" + song("b.mp3") + "\n").toUtf8());
    editor.menuSelect(PlayList::AddSongs);
    answerChooser(QString());
    editor.menuSelect(PlayList::IntoList);
    EXPECT_EQ(editor.listFile(), preset);
    EXPECT_EQ(editor.mode(), PlayList::Adding);
    EXPECT_EQ(testenv::readFile(preset), ("#EXTM3U\n" + song("b.mp3") + "\n").toUtf8());

    // OK with no file picked keeps the list and saves it.
    answerChooser("..");
    editor.menuSelect(PlayList::IntoList);
    EXPECT_EQ(editor.listFile(), preset);
    EXPECT_EQ(editor.mode(), PlayList::Normal);
    EXPECT_EQ(testenv::readFile(preset), (song("b.mp3") + "\n" + song("c.ogg") + "\n").toUtf8());
}

TEST_F(EditorTest, deleteListAsksFirst)
{
    writeList({song("a.mp3")});
    const QString preset = m_home + "/playlist/old.m3u";
    testenv::writeFile(preset, "");
    PlayList editor(nullptr, m_listFile);
    editor.openList();

    ZMessageBox::setResponder([](const ZMessageBox::Shown &) { return 1; });
    answerChooser("old.m3u");
    editor.menuSelect(PlayList::DeleteList);
    ASSERT_EQ(ZMessageBox::history().size(), 1);
    EXPECT_EQ(ZMessageBox::history().first().text,
              "Delete ?    [" + QFileInfo(preset).canonicalFilePath() + "]This Play List?");
    EXPECT_EQ(ZMessageBox::history().first().buttons, QStringList({"Delete", "Cancel"}));
    EXPECT_TRUE(QFileInfo::exists(preset));

    ZMessageBox::setResponder([](const ZMessageBox::Shown &) { return 0; });
    answerChooser("old.m3u");
    editor.menuSelect(PlayList::DeleteList);
    EXPECT_FALSE(QFileInfo::exists(preset));
    EXPECT_EQ(editor.mode(), PlayList::Normal);
}

// xmms mode: every save of the edited list stops xmms, writes, starts it again.
class EditorXmmsTest : public EditorTest
{
protected:
    void SetUp() override
    {
        EditorTest::SetUp();
        m_oldTmp = qgetenv("TMPDIR");
        qputenv("TMPDIR", testenv::scratchDir("sockets").toLocal8Bit());
        testenv::writeFile(m_app + "/.xmms/tavrin_cfg", "[tvskin]\nEnxmms=true\n");
    }
    void TearDown() override
    {
        for (qint64 pid : PlayerRestart::xmmsProcessesIn(m_app))
            ::kill(pid_t(pid), SIGKILL);
        qputenv("TMPDIR", m_oldTmp);
        EditorTest::TearDown();
    }
    QByteArray m_oldTmp;
};

TEST_F(EditorXmmsTest, saveRestartsTheStandInXmmsWithTheNewList)
{
    const QString standIn = testenv::binaryDir() + "/bin/xmms";
    if (!QFileInfo(standIn).isExecutable())
        GTEST_SKIP() << "stand-in xmms not built";
    QDir().mkpath(m_app + "/bin");
    ASSERT_TRUE(QFile::link(standIn, m_app + "/bin/xmms"));
    const QString a = testenv::makeMp3(m_card + "/a.mp3", 2.0);
    const QString b = testenv::makeMp3(m_card + "/b.mp3", 2.0);
    ASSERT_FALSE(a.isEmpty());
    writeList({a});

    XMMSPlayer xmms;
    xmms.launch();
    ASSERT_TRUE(xmms.isRunning());
    const QList<qint64> first = PlayerRestart::xmmsProcessesIn(m_app);
    ASSERT_EQ(first.size(), 1);
    xmms.refreshList();
    EXPECT_EQ(xmms.listCount(), 1);

    PlayList editor(nullptr, m_listFile);
    editor.openList();
    editor.menuSelect(PlayList::AddSongs);
    editor.list()->item(rows(*editor.list()).indexOf("b.mp3"))->setSelected(true);
    editor.hideWithOk();

    EXPECT_EQ(testenv::readFile(m_listFile), (a + "\n" + b + "\n").toUtf8());
    ASSERT_TRUE(testenv::waitFor([&] { return xmms.isRunning(); }, 5000));
    const QList<qint64> second = PlayerRestart::xmmsProcessesIn(m_app);
    ASSERT_EQ(second.size(), 1);
    EXPECT_NE(second, first);
    xmms.refreshList();
    EXPECT_EQ(xmms.listCount(), 2);
    EXPECT_EQ(xmms.entry(1).file, b);

    // A preset save leaves xmms alone.
    ZMessageBox::setResponder([](const ZMessageBox::Shown &) { return 0; });
    editor.nameEdit()->setText("keep");
    editor.savelist();
    EXPECT_EQ(PlayerRestart::xmmsProcessesIn(m_app), second);
    xmms.kill();
}

// The same order of events seen by a recording xmms that does not speak the protocol:
// it logs its start and its termination together with the list it finds then.
TEST_F(EditorXmmsTest, saveStopsRecordingXmmsBeforeWritingAndStartsItAfter)
{
    const QString log = m_app + "/xmms.log";
    const QString program = m_app + "/bin/xmms";
    testenv::writeFile(program,
                       "#!/bin/sh\n"
                       "echo \"start $(wc -l < .xmms/xmms.m3u)\" >> xmms.log\n"
                       "trap 'echo \"stop $(wc -l < .xmms/xmms.m3u)\" >> xmms.log; exit 0' TERM\n"
                       "while :; do sleep 0.05; done\n");
    QFile::setPermissions(program, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    writeList({song("a.mp3")});

    XMMSPlayer xmms;
    xmms.launch(); // never answers: the adapter stays "not running"
    ASSERT_TRUE(testenv::waitFor([&] { return testenv::readFile(log) == "start 1\n"; }));
    PlayList editor(nullptr, m_listFile);
    editor.openList();
    editor.menuSelect(PlayList::AddSongs);
    editor.list()->item(rows(*editor.list()).indexOf("b.mp3"))->setSelected(true);
    editor.hideWithOk();
    ASSERT_TRUE(
        testenv::waitFor([&] { return testenv::readFile(log) == "start 1\nstop 1\nstart 2\n"; }));
    EXPECT_EQ(PlayerRestart::xmmsProcessesIn(m_app).size(), 1);
}

TEST_F(EditorXmmsTest, mplayerModeSavesWithoutTouchingXmms)
{
    testenv::writeFile(m_app + "/.xmms/tavrin_cfg", "[tvskin]\nEnxmms=false\n");
    const QString program = m_app + "/bin/xmms";
    testenv::writeFile(program, "#!/bin/sh\nwhile :; do sleep 0.05; done\n");
    QFile::setPermissions(program, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    writeList({song("a.mp3"), song("b.mp3")});
    XMMSPlayer xmms;
    xmms.launch();
    ASSERT_TRUE(
        testenv::waitFor([&] { return PlayerRestart::xmmsProcessesIn(m_app).size() == 1; }));
    const QList<qint64> before = PlayerRestart::xmmsProcessesIn(m_app);

    PlayList editor(nullptr, m_listFile);
    editor.openList();
    editor.menuSelect(PlayList::DelSongs);
    editor.list()->item(0)->setSelected(true);
    editor.hideWithOk();
    EXPECT_EQ(testenv::readFile(m_listFile), (song("b.mp3") + "\n").toUtf8());
    EXPECT_EQ(PlayerRestart::xmmsProcessesIn(m_app), before);
}

// The editor is made once and kept while the user switches player modes: each save follows
// the mode of that moment, not the one the editor was made in.
TEST_F(EditorXmmsTest, saveFollowsAModeSwitchAfterTheEditorWasMade)
{
    const QString log = m_app + "/xmms.log";
    const QString program = m_app + "/bin/xmms";
    testenv::writeFile(program, "#!/bin/sh\n"
                                "echo start >> xmms.log\n"
                                "trap 'echo stop >> xmms.log; exit 0' TERM\n"
                                "while :; do sleep 0.05; done\n");
    QFile::setPermissions(program, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    writeList({song("a.mp3"), song("b.mp3"), song("c.ogg")});
    testenv::writeFile(m_app + "/.xmms/tavrin_cfg", "[tvskin]\nEnxmms=false\n");
    PlayList editor(nullptr, m_listFile);

    // Switched to xmms mode: the adapter exists now and the save goes around xmms.
    testenv::writeFile(m_app + "/.xmms/tavrin_cfg", "[tvskin]\nEnxmms=true\n");
    auto *xmms = new XMMSPlayer;
    xmms->launch();
    ASSERT_TRUE(testenv::waitFor([&] { return testenv::readFile(log) == "start\n"; }));
    editor.openList();
    editor.menuSelect(PlayList::DelSongs);
    editor.list()->item(0)->setSelected(true);
    editor.hideWithOk();
    EXPECT_EQ(testenv::readFile(m_listFile),
              (song("b.mp3") + "\n" + song("c.ogg") + "\n").toUtf8());
    ASSERT_TRUE(testenv::waitFor([&] { return testenv::readFile(log) == "start\nstop\nstart\n"; }));

    // Back in mplayer mode: a save must not start xmms again.
    testenv::writeFile(m_app + "/.xmms/tavrin_cfg", "[tvskin]\nEnxmms=false\n");
    for (qint64 pid : PlayerRestart::xmmsProcessesIn(m_app))
        ::kill(pid_t(pid), SIGTERM);
    ASSERT_TRUE(testenv::waitFor([&] { return PlayerRestart::xmmsProcessesIn(m_app).isEmpty(); }));
    editor.menuSelect(PlayList::DelSongs);
    editor.list()->item(0)->setSelected(true);
    editor.hideWithOk();
    EXPECT_EQ(testenv::readFile(m_listFile), (song("c.ogg") + "\n").toUtf8());
    QTest::qWait(300);
    EXPECT_TRUE(PlayerRestart::xmmsProcessesIn(m_app).isEmpty());
    EXPECT_EQ(testenv::readFile(log), "start\nstop\nstart\nstop\n");
    delete xmms;
}

// The main window holds the editor as a dialog: QDialog::open() must show it in normal mode.
TEST_F(EditorTest, openThroughTheDialogBaseStartsInNormalMode)
{
    writeList({song("a.mp3")});
    PlayList editor(nullptr, m_listFile);
    editor.menuSelect(PlayList::AddSongs);
    ASSERT_EQ(editor.mode(), PlayList::Adding);
    static_cast<QDialog &>(editor).open();
    EXPECT_TRUE(editor.isVisible());
    EXPECT_EQ(editor.mode(), PlayList::Normal);
    EXPECT_EQ(editor.okButton()->text(), "Ok");
    EXPECT_EQ(rows(*editor.list()), QStringList({"a.mp3"}));
}

} // namespace
