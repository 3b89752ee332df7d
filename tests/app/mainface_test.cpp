// The window's start, settings, menus, title and end of life, on a scratch application
// directory with the coded test skin.
#include "app/mainface.h"
#include "app/optionmenus.h"
#include "audio/mixer.h"
#include "dropin/kconfig.h"
#include "platform/power.h"
#include "platform/zmessagebox.h"
#include "readme/xreadmewidget.h"
#include "state/orbalstate.h"
#include "tests/app/appfixture.h"
#include "tests/skin/painting/testskin.h"
#include "tests/support/testenv.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QMenu>
#include <QTimer>
#include <functional>

namespace
{

using Menu = MainFace::Menu;

struct Item {
    int id;
    const char *text;
};

std::vector<Item> itemsOf(QMenu *menu)
{
    std::vector<Item> items;
    static std::vector<QByteArray> texts;
    for (QAction *a : menu->actions()) {
        if (a->isSeparator() || !a->data().isValid())
            continue;
        texts.push_back(a->text().toUtf8());
        items.push_back({a->data().toInt(), texts.back().constData()});
    }
    return items;
}

class MainFaceTest : public AppFixture
{
};

TEST_F(MainFaceTest, firstStartWithoutSettingsUsesTheDefaultsAndWritesBothFiles)
{
    MainFace *face = makeFace();
    const OrbalState &s = orbalState();
    EXPECT_EQ(face->skinName(), QStringLiteral("default"));
    EXPECT_FALSE(s.xmmsMode);
    EXPECT_EQ(face->xmms(), nullptr);
    EXPECT_EQ(s.volume, 45);
    EXPECT_EQ(s.lyricFontSize, 18);
    EXPECT_EQ(s.lyricLineHeight, 32);
    EXPECT_TRUE(MainFace::menuItem(face->menu(Menu::Font), 3)->isChecked());
    EXPECT_EQ(s.keys.volUp, 4154);
    EXPECT_EQ(s.keys.line, 4148);
    EXPECT_TRUE(s.shuffleOn);
    EXPECT_TRUE(s.bassBoostOn);
    EXPECT_EQ(s.layoutMode, Form::Vertical);
    EXPECT_EQ(face->titleText(), QStringLiteral("MPLAYER v3.30 for motorola A1200"));
    EXPECT_EQ(face->titleTimer()->interval(), 200);
    EXPECT_TRUE(face->titleTimer()->isActive());
    EXPECT_EQ(face->checkTimer()->interval(), 1000);

    // Both files exist and are already in the store's own form: rewriting changes nothing.
    for (const char *name : {"tavrin_cfg", "config"}) {
        SCOPED_TRACE(name);
        const QByteArray first = readSettings(name);
        EXPECT_TRUE(QFile::exists(m_appDir + "/.xmms/" + name));
        {
            KConfig again(m_appDir + "/.xmms/" + name);
        }
        EXPECT_EQ(readSettings(name), first);
    }
    // mplayer mode sets the mixer volume and the two effects at start.
    bool volumeSent = false;
    for (const auto &[request, argument] : s_mixer)
        volumeSent |= request == MixerRequest::WriteVolume;
    EXPECT_TRUE(volumeSent);
}

TEST_F(MainFaceTest, savedSettingsAreReadAtStart)
{
    writeSettings("tavrin_cfg", "[tvskin]\nlrcfont=21\nlrccolor=#102030\nshowlrc=true\n"
                                "key_enter=4100\nsltfwd=true\nCurrentSkin=missing\n"
                                "[OPTION]\nnosound=true\nRstereo=true\ncrop=true\nnedtc=true\n");
    writeSettings("config", "[Winskin]\nVolume=77\n[OSS]\nezx_audio_3d=true\n"
                            "ezx_bass_booster=false\n[xmms]\nshuffle=false\n");
    MainFace *face = makeFace();
    const OrbalState &s = orbalState();
    EXPECT_EQ(face->skinName(), QStringLiteral("default")); // no such skin folder
    EXPECT_EQ(s.volume, 77);
    EXPECT_EQ(s.lyricLineHeight, 40);
    EXPECT_EQ(s.lyricColor, QColor(QStringLiteral("#102030")));
    EXPECT_TRUE(s.showLyric);
    EXPECT_EQ(s.keys.enter, 4100);
    EXPECT_TRUE(s.wireMode);
    EXPECT_FALSE(s.shuffleOn);
    struct Check {
        Menu menu;
        int id;
        bool checked;
    };
    const Check checks[] = {
        {Menu::Audio, 1, true},  {Menu::Audio, 6, true},   {Menu::Audio, 5, false},
        {Menu::Audio, 3, true},  {Menu::Audio, 4, false},  {Menu::Audio, 7, false},
        {Menu::Video, 2, true},  {Menu::Video, 1, false},  {Menu::Video, 5, true},
        {Menu::Option, 3, true}, {Menu::Option, 2, false}, {Menu::Font, 4, true},
        {Menu::Light, 1, true},
    };
    for (const Check &c : checks)
        EXPECT_EQ(MainFace::menuItem(face->menu(c.menu), c.id)->isChecked(), c.checked)
            << "menu " << int(c.menu) << " id " << c.id;
}

TEST_F(MainFaceTest, unknownFontSizeChecksNoFontEntry)
{
    writeSettings("tavrin_cfg", "[tvskin]\nlrcfont=20\n");
    MainFace *face = makeFace();
    for (QAction *a : face->menu(Menu::Font)->actions())
        EXPECT_FALSE(a->isChecked()) << a->text().toStdString();
    EXPECT_GT(orbalState().lyricLineHeight, 0);
}

TEST_F(MainFaceTest, menusCarryTheirTextsAndIds)
{
    MainFace *face = makeFace();
    struct Expected {
        Menu menu;
        std::vector<std::pair<int, std::string>> items;
    };
    const Expected expected[] = {
        {Menu::Main,
         {{1, "Audio Setting"},
          {2, "Video Setting"},
          {3, "Lights"},
          {4, "Background"},
          {6, "Skins"},
          {7, "Kerfa"},
          {8, "Advansed"}}},
        {Menu::Audio,
         {{1, "Mute"}, {3, "3-D"}, {4, "Bass"}, {5, "Left"}, {6, "Right"}, {7, "Karaoke"}}},
        {Menu::Video,
         {{1, "Scalable"},
          {2, "Full Screen"},
          {3, "Actual screen"},
          {4, "Verical"},
          {5, "avi sinc"}}},
        {Menu::Light, {{1, "Software"}, {2, "Auto"}, {3, "Long-Auto"}}},
        {Menu::Option, {{1, "Button"}, {2, "use ORBAL"}, {3, "use Wire"}}},
        {Menu::Font, {{0, "12"}, {1, "14"}, {2, "16"}, {3, "18"}, {4, "21"}}},
        {Menu::Playlist, {{0, "Edit List"}}},
    };
    for (const Expected &e : expected) {
        const auto items = itemsOf(face->menu(e.menu));
        ASSERT_EQ(items.size(), e.items.size()) << int(e.menu);
        for (size_t i = 0; i < items.size(); ++i) {
            EXPECT_EQ(items[i].id, e.items[i].first);
            EXPECT_EQ(std::string(items[i].text), e.items[i].second);
        }
    }
    QStringList plain;
    for (QAction *a : face->menu(Menu::Main)->actions())
        if (!a->data().isValid() && !a->isSeparator())
            plain << a->text();
    EXPECT_EQ(plain, QStringList({QStringLiteral("About"), QStringLiteral("Exit")}));
    // mplayer mode: the audio and video settings are offered.
    EXPECT_TRUE(MainFace::menuItem(face->menu(Menu::Main), 1)->isEnabled());
    EXPECT_TRUE(MainFace::menuItem(face->menu(Menu::Main), 2)->isEnabled());
}

TEST_F(MainFaceTest, skinMenuOffersTheFirstSevenSkinsInCaseInsensitiveOrder)
{
    for (const char *name : {"zeta", "Alpha", "beta", "Gamma", "delta", "Eps", "eta", "Theta"})
        QDir().mkpath(m_appDir + "/skins/" + name);
    MainFace *face = makeFace();
    QStringList names;
    for (QAction *a : face->menu(Menu::Skin)->actions())
        names << a->text();
    EXPECT_EQ(names, QStringList({"Alpha", "beta", "default", "delta", "Eps", "eta", "Gamma"}));
}

TEST_F(MainFaceTest, choosingASkinLoadsItSavesItAndResetsThePanels)
{
    testskin::writeSkin(m_appDir, QStringLiteral("blue"));
    QByteArray conf = testskin::description();
    conf.replace("win_enabled=true", "win_enabled=false");
    testenv::writeFile(m_appDir + "/skins/blue/skins.conf", conf);
    MainFace *face = makeFace();
    orbalState().lyricPanelOpen = true;
    face->selectMenumskin(MainFace::menuItem(face->menu(Menu::Skin), 1)->data().toInt());
    EXPECT_EQ(face->skinName(), QStringLiteral("blue"));
    EXPECT_TRUE(orbalState().playlistPanelOpen);
    EXPECT_TRUE(orbalState().eqPanelOpen);
    EXPECT_FALSE(orbalState().lyricPanelOpen);
    KConfig saved(m_appDir + "/.xmms/tavrin_cfg", true);
    saved.setGroup(QStringLiteral("tvskin"));
    EXPECT_EQ(saved.readEntry(QStringLiteral("CurrentSkin")), QStringLiteral("blue"));
}

TEST_F(MainFaceTest, titleTextKeepsItsTickerForTheSameText)
{
    MainFace *face = makeFace();
    const QString wide = QStringLiteral("A rather long song title that scrolls back and forth");
    face->setTitleText(wide);
    for (int i = 0; i < 8; ++i)
        face->drawTitle();
    const int offset = face->painter().titleOffset();
    ASSERT_NE(offset, 0);
    face->setTitleText(wide);
    EXPECT_EQ(face->painter().titleOffset(), offset);
    face->setTitleText(QStringLiteral("other"));
    EXPECT_EQ(face->painter().titleOffset(), 0);
}

TEST_F(MainFaceTest, theTickerRestsWhileTheTitleFits)
{
    MainFace *face = makeFace();
    QTimer *ticker = face->titleTimer();
    const Skin::List &tw = face->skin()[Skin::Key::TitleWin];
    const QRect area(tw[0], tw[1], tw[2], tw[3]);
    auto titleArea = [&] { return face->painter().canvas().toImage().copy(area); };
    auto runUntil = [](const std::function<bool()> &done) {
        QElapsedTimer clock;
        clock.start();
        while (!done() && clock.elapsed() < 3000)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
        return done();
    };

    face->setTitleText(QStringLiteral("song"));
    ASSERT_TRUE(runUntil([&] { return !ticker->isActive(); })) << "a title that fits rests";
    const QImage title = titleArea();

    // A message wakes it: shown at the next pass of the event loop, then the title again
    // and another rest.
    face->painter().showMessage(QStringLiteral("Volume  50%"), 3);
    EXPECT_TRUE(ticker->isActive());
    QCoreApplication::processEvents();
    EXPECT_NE(titleArea(), title) << "the message shows at once";
    EXPECT_EQ(ticker->interval(), 200);
    ASSERT_TRUE(runUntil([&] { return !ticker->isActive(); }));
    EXPECT_TRUE(face->painter().message().isNull());
    EXPECT_EQ(titleArea(), title);

    // A title too wide for its line keeps the ticker going.
    face->setTitleText(QStringLiteral("A rather long song title that scrolls back and forth"));
    EXPECT_TRUE(ticker->isActive());
    EXPECT_FALSE(runUntil([&] { return !ticker->isActive(); }));
    const int offset = face->painter().titleOffset();
    EXPECT_NE(offset, 0) << "it scrolled";

    // The mini bar's stop holds: nothing wakes the ticker until the window comes back.
    face->setTitleText(QStringLiteral("song"));
    ASSERT_TRUE(runUntil([&] { return !ticker->isActive(); }));
    face->sltminwin();
    face->painter().showMessage(QStringLiteral("Volume  55%"), 3);
    EXPECT_FALSE(ticker->isActive());
    face->kerfaclose();
    EXPECT_TRUE(ticker->isActive());
}

TEST_F(MainFaceTest, endOfTheLastVideoStartsTheFirstEntry)
{
    MainFace *face = makeFace();
    OrbalState &s = orbalState();
    s.fileList = {QStringLiteral("/nowhere/first clip.avi"), QStringLiteral("/nowhere/b.avi"),
                  QStringLiteral("/nowhere/c.avi")};
    s.currentIndex = 2;
    s.videoElapsed = 40;
    face->sltEngineQuit();
    EXPECT_EQ(s.currentIndex, 0);
    EXPECT_EQ(s.videoElapsed, 0);
    EXPECT_EQ(face->titleText(), QStringLiteral("1.first clip.avi"));
    face->sltEngineQuit();
    EXPECT_EQ(face->titleText(), QStringLiteral("2.b.avi"));

    s.fileList.clear();
    face->sltEngineQuit(); // nothing to go on with
    EXPECT_EQ(face->titleText(), QStringLiteral("2.b.avi"));
}

TEST_F(MainFaceTest, engineTimeoutStartsTheVideoClock)
{
    MainFace *face = makeFace();
    orbalState().videoElapsed = 9;
    face->slttimeout();
    EXPECT_EQ(orbalState().videoElapsed, 0);
    EXPECT_TRUE(orbalState().videoTiming);
}

TEST_F(MainFaceTest, miniBarAndBack)
{
    MainFace *face = makeFace();
    face->sltminwin();
    EXPECT_EQ(orbalState().layoutMode, Form::MiniBar);
    EXPECT_FALSE(face->titleTimer()->isActive());
    face->grab(); // paints the mini bar
    EXPECT_FALSE(face->mask().isEmpty());
    face->kerfaclose();
    EXPECT_EQ(orbalState().layoutMode, Form::Vertical);
    EXPECT_TRUE(face->titleTimer()->isActive());
    EXPECT_TRUE(face->mask().isEmpty());
    EXPECT_EQ(face->pos(), QPoint(0, 0));
}

TEST_F(MainFaceTest, aboutBoxOpensTheReadmeOnlyForItsSecondButton)
{
    MainFace *face = makeFace();
    for (int answer : {0, 1}) {
        ZMessageBox::setResponder([answer](const ZMessageBox::Shown &) { return answer; });
        face->sltAbout();
        ASSERT_FALSE(ZMessageBox::history().isEmpty());
        const auto &shown = ZMessageBox::history().last();
        EXPECT_TRUE(shown.text.startsWith(QStringLiteral("ORBAL v 3.30")));
        EXPECT_EQ(shown.buttons, QStringList({QStringLiteral("Ok"), QStringLiteral("Exit")}));
        EXPECT_EQ(face->findChildren<XreadmeWidget *>().size(), answer);
    }
}

TEST_F(MainFaceTest, exitSavesTheVolumeAndClosesTheWindow)
{
    MainFace *face = makeFace();
    orbalState().volume = 63;
    face->doclose();
    KConfig config(m_appDir + "/.xmms/config", true);
    config.setGroup(QStringLiteral("Winskin"));
    EXPECT_EQ(config.readNumEntry(QStringLiteral("Volume")), 63);
    EXPECT_TRUE(testenv::waitFor(
        [&] {
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            return m_face.isNull();
        },
        3000));
}

TEST_F(MainFaceTest, optionMenusWriteTheirSettings)
{
    MainFace *face = makeFace();
    auto option = [&](const char *key) {
        KConfig c(m_appDir + "/.xmms/tavrin_cfg", true);
        c.setGroup(QStringLiteral("OPTION"));
        return c.readBoolEntry(QLatin1String(key), false);
    };
    auto checked = [&](Menu menu, int id) {
        return MainFace::menuItem(face->menu(menu), id)->isChecked();
    };
    face->selectMenurmpp(5);
    face->selectMenurmpp(6);
    EXPECT_FALSE(checked(Menu::Audio, 5));
    EXPECT_TRUE(checked(Menu::Audio, 6));
    EXPECT_TRUE(option("Rstereo"));
    EXPECT_FALSE(option("Lstereo"));
    face->selectMenurmpp(6);
    face->selectMenurmpp(5);
    face->selectMenurmpp(5);
    EXPECT_FALSE(checked(Menu::Audio, 5));
    EXPECT_FALSE(checked(Menu::Audio, 6));
    EXPECT_FALSE(option("Lstereo"));
    EXPECT_FALSE(option("Rstereo"));

    // 3-D twice: on then off, in the music player's file and at the mixer.
    s_mixer.clear();
    auto audio3d = [&] {
        KConfig c(m_appDir + "/.xmms/config", true);
        c.setGroup(QStringLiteral("OSS"));
        return c.readBoolEntry(QStringLiteral("ezx_audio_3d"), false);
    };
    face->selectMenurmpp(3);
    EXPECT_TRUE(audio3d());
    EXPECT_TRUE(checked(Menu::Audio, 3));
    face->selectMenurmpp(3);
    EXPECT_FALSE(audio3d());
    EXPECT_FALSE(checked(Menu::Audio, 3));
    std::vector<int> requests;
    for (const auto &[request, argument] : s_mixer)
        if (request == MixerRequest::Audio3d)
            requests.push_back(argument);
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[0], 0);
    EXPECT_NE(requests[1], 0);

    const char *geometry[] = {"Tspeed", "crop", "scale", "speed"};
    for (int id = 1; id <= 4; ++id) {
        face->selectMenuvmpp(id);
        for (int k = 0; k < 4; ++k) {
            EXPECT_EQ(option(geometry[k]), k + 1 == id) << id << geometry[k];
            EXPECT_EQ(checked(Menu::Video, k + 1), k + 1 == id);
        }
    }
    face->selectMenuvmpp(5);
    EXPECT_TRUE(option("nedtc"));
    face->selectMenuvmpp(5);
    EXPECT_FALSE(option("nedtc"));

    face->selectMenumfont(4);
    EXPECT_EQ(orbalState().lyricLineHeight, 40);
    EXPECT_TRUE(checked(Menu::Font, 4));
    EXPECT_FALSE(checked(Menu::Font, 3));
    KConfig c(m_appDir + "/.xmms/tavrin_cfg", true);
    c.setGroup(QStringLiteral("tvskin"));
    EXPECT_EQ(c.readNumEntry(QStringLiteral("lrcfont")), 21);
}

TEST_F(MainFaceTest, everyMenuSettingComesBackAtTheNextStart)
{
    // Each entry that keeps a setting, chosen once: menus built afresh on the same files
    // show the same check marks.
    QDir().mkpath(m_appDir + "/.xmms");
    QWidget window;
    OptionMenus menus(&window, m_appDir);
    for (const OptionMenus::Row &row : OptionMenus::rows())
        if (row.key)
            menus.apply(row.menu, row.id);
    OptionMenus again(&window, m_appDir);
    for (const OptionMenus::Row &row : OptionMenus::rows()) {
        if (!row.key)
            continue;
        EXPECT_EQ(again.isChecked(row.menu, row.id), menus.isChecked(row.menu, row.id)) << row.text;
    }
    EXPECT_TRUE(menus.isChecked(OptionMenus::Menu::Video, 4)); // the last of its group
    EXPECT_TRUE(menus.isChecked(OptionMenus::Menu::Audio, 6));
    EXPECT_FALSE(menus.isChecked(OptionMenus::Menu::Audio, 4)); // Bass starts on: now off
}

TEST_F(MainFaceTest, lightsMenuSetsTheBacklightPolicy)
{
    MainFace *face = makeFace();
    face->selectMenumlight(2);
    EXPECT_FALSE(orbalState().softwareLight);
    EXPECT_EQ(platform::lastLcdSleepTime(), 0);
    face->selectMenumlight(3);
    EXPECT_EQ(platform::lastLcdSleepTime(), 30);
    EXPECT_TRUE(MainFace::menuItem(face->menu(Menu::Light), 3)->isChecked());
    EXPECT_FALSE(MainFace::menuItem(face->menu(Menu::Light), 2)->isChecked());
    face->selectMenumlight(1);
    EXPECT_TRUE(orbalState().softwareLight);
}

TEST_F(MainFaceTest, wireOptionToggles)
{
    MainFace *face = makeFace();
    face->selectMenuoption(3);
    EXPECT_TRUE(orbalState().wireMode);
    EXPECT_TRUE(MainFace::menuItem(face->menu(Menu::Option), 3)->isChecked());
    face->selectMenuoption(3);
    EXPECT_FALSE(orbalState().wireMode);
    KConfig c(m_appDir + "/.xmms/tavrin_cfg", true);
    c.setGroup(QStringLiteral("tvskin"));
    EXPECT_FALSE(c.readBoolEntry(QStringLiteral("sltfwd"), true));
}

TEST_F(MainFaceTest, savedListIsCopiedOverThePlayerListWithoutAShell)
{
    const QString song = m_appDir + "/song.mp3";
    testenv::writeFile(song, "x");
    const QString hostile = QStringLiteral("a\"$(touch pwned)`touch pwned2`");
    testenv::writeFile(m_appDir + "/playlist/" + hostile + ".m3u", song.toUtf8() + "\n");
    MainFace *face = makeFace();
    face->buttonClick(25);
    face->menu(Menu::Playlist)->hide();
    QAction *item = MainFace::menuItem(face->menu(Menu::Playlist), 1);
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->text(), hostile);
    face->selectMenumplist(1);
    EXPECT_EQ(orbalState().fileList, QStringList({song}));
    EXPECT_FALSE(QFile::exists(m_appDir + "/pwned"));
    EXPECT_FALSE(QFile::exists(m_appDir + "/pwned2"));
}

TEST_F(MainFaceTest, playlistMenuOffersAtMostSevenLists)
{
    for (int i = 0; i < 9; ++i)
        testenv::writeFile(m_appDir + QStringLiteral("/playlist/list%1.m3u").arg(i), "");
    testenv::writeFile(m_appDir + "/playlist/notes.txt", "");
    MainFace *face = makeFace();
    for (int round = 0; round < 2; ++round) {
        face->buttonClick(25);
        face->menu(Menu::Playlist)->hide();
        const auto items = itemsOf(face->menu(Menu::Playlist));
        ASSERT_EQ(items.size(), 8u);
        EXPECT_EQ(items[0].id, 0);
        EXPECT_EQ(std::string(items[1].text), "list0");
        EXPECT_EQ(items[7].id, 7);
    }
}

} // namespace

namespace
{

void copyTree(const QString &from, const QString &to)
{
    QDir().mkpath(to);
    const QDir dir(from);
    for (const QFileInfo &info :
         dir.entryInfoList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot)) {
        if (info.isDir())
            copyTree(info.filePath(), to + QLatin1Char('/') + info.fileName());
        else
            QFile::copy(info.filePath(), to + QLatin1Char('/') + info.fileName());
    }
}

// The shipped skins, drawn by the real window: every opaque pixel of the checked elements
// is the skin picture's pixel of the element's source rectangle.
TEST_F(MainFaceTest, shippedSkinsDrawTheirElementsInEveryForm)
{
    const QString shipped = testenv::sourceDir() + QStringLiteral("/skins");
    const QStringList names = QDir(shipped).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    if (names.isEmpty())
        GTEST_SKIP() << "no shipped skins";
    for (const QString &name : names) {
        SCOPED_TRACE(name.toStdString());
        copyTree(shipped + QLatin1Char('/') + name, m_appDir + QStringLiteral("/skins/") + name);
        writeSettings("tavrin_cfg", "[tvskin]\nCurrentSkin=" + name.toUtf8() + "\n");
        orbalState() = OrbalState();
        delete m_face.data();
        MainFace *face = makeFace();
        ASSERT_EQ(face->skinName(), name);
        const QImage picture = face->skin().picture().toImage();
        ASSERT_FALSE(picture.isNull());
        auto check = [&](Skin::Key key, bool horizontal) {
            const Skin::List &e = face->skin()[key];
            const QImage canvas = face->painter().canvas().toImage();
            int compared = 0;
            for (int y = 0; y < e[3]; ++y)
                for (int x = 0; x < e[2]; ++x) {
                    const QRgb want = picture.pixel(e[4] + x, e[5] + y);
                    if (qAlpha(want) != 255)
                        continue;
                    ++compared;
                    ASSERT_EQ(canvas.pixel(e[0] + x, e[1] + y) & 0xffffff, want & 0xffffff)
                        << Skin::keyName(key).toStdString() << " at " << x << "," << y;
                }
            EXPECT_GT(compared, 0) << Skin::keyName(key).toStdString() << horizontal;
        };
        face->grab();
        for (Skin::Key key : {Skin::Prev, Skin::Play, Skin::Stop, Skin::Next, Skin::ExitWin,
                              Skin::MiniWin, Skin::HWin, Skin::OpBtn, Skin::BtnLrcWin})
            check(key, false);
        orbalState().layoutMode = Form::Horizontal;
        face->repaintWhole();
        face->grab();
        for (Skin::Key key : {Skin::HPrev, Skin::HStop, Skin::HNext, Skin::HExitWin, Skin::VWinBtn})
            check(key, true);
        face->sltminwin();
        face->grab();
        const QImage mini = face->skin().miniMain().toImage();
        const QImage canvas = face->painter().canvas().toImage();
        if (qAlpha(mini.pixel(120, 20)) == 255) {
            EXPECT_EQ(canvas.pixel(120, 20) & 0xffffff, mini.pixel(120, 20) & 0xffffff);
        }
    }
}

} // namespace
