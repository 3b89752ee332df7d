#include "platform/cardroot.h"
#include "platform/dirlisting.h"
#include "platform/pathcodec.h"
#include "platform/phonescreen.h"
#include "platform/power.h"
#include "platform/res_icon_reader.h"
#include "platform/util_cst.h"
#include "platform/zmainwidget.h"
#include "platform/zmessagebox.h"
#include "platform/zmultilineedit.h"
#include "tests/support/testenv.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

TEST(Platform, cardRootLivesUnderTheApplicationDirectoryOnADesktop)
{
    if (QFileInfo("/mmc/mmca1").isDir())
        GTEST_SKIP() << "a real card is mounted";
    const QString app = testenv::scratchDir("home/user/app");
    const QString old = QDir::currentPath();
    QDir::setCurrent(app);
    EXPECT_EQ(platform::cardRoot(), QDir::currentPath() + "/mmc/mmca1");
    EXPECT_EQ(platform::cardPath("/mmc/mmca1/.system/kerfa.tmp.mp3"),
              QDir::currentPath() + "/mmc/mmca1/.system/kerfa.tmp.mp3");
    EXPECT_EQ(platform::cardPath("/mmc/mmca10/x"), QString("/mmc/mmca10/x"));
    EXPECT_EQ(platform::cardPath("/tmp/x"), QString("/tmp/x"));
    QDir::setCurrent(old);
}

// Folder listings match name filters as the toolkit's wildcards do, ignoring case.
TEST(Platform, namePatternsMatchLikeShellWildcards)
{
    const struct {
        const char *name, *pattern;
        bool matches;
    } rows[] = {
        {"Song.MP3", "*.mp3", true},
        {"song.mp3.txt", "*.mp3", false},
        {"mp3", "*.mp3", false},
        {".mp3", "*.mp3", true},
        {"abc", "a?c", true},
        {"ac", "a?c", false},
        {"abxbc", "a*b*c", true},
        {"abxb", "a*b*c", false},
        {"", "*", true},
        {"x", "", false},
        {"Ä.Ogg", "ä*.OGG", true},
        {"a*b", "a*b", true},
    };
    for (const auto &row : rows)
        EXPECT_EQ(DirListing::matches(QString::fromUtf8(row.name), QString::fromUtf8(row.pattern)),
                  row.matches)
            << row.name << " ~ " << row.pattern;
}

// Names that are not UTF-8 are shown read as GBK, or with stray bytes marked; the others as
// they are (a character beyond the first plane is no stray byte).
TEST(Platform, fileNamesAreShownReadable)
{
    const struct {
        QByteArray bytes;
        QString shown;
    } rows[] = {
        {"plain.mp3", "plain.mp3"},
        {"\xd6\xd0\xce\xc4.mp3", QString::fromUtf8("中文.mp3")},
        {"\xff.mp3", QString(QChar::ReplacementCharacter) + ".mp3"},
        {"\xf0\x9f\x8e\xb5 \xb2.mp3",
         QString::fromUtf8("🎵 ") + QChar::ReplacementCharacter + ".mp3"},
    };
    for (const auto &row : rows)
        EXPECT_EQ(PathCodec::displayName(PathCodec::decode(row.bytes)), row.shown)
            << row.bytes.constData();
}

TEST(Platform, backlightCallsAreRemembered)
{
    const int before = platform::lcdSleepTimeCalls();
    PM_setupLcdSleepTime(0);
    EXPECT_EQ(platform::lastLcdSleepTime(), 0);
    PM_setupLcdSleepTime(30);
    EXPECT_EQ(platform::lastLcdSleepTime(), 30);
    EXPECT_EQ(platform::lcdSleepTimeCalls(), before + 2);
}

TEST(Platform, phoneCallStateIsOffUnlessSet)
{
    EXPECT_EQ(UTIL_GetPhoneInCall(), 0);
    platform::setPhoneInCall(true);
    EXPECT_EQ(UTIL_GetPhoneInCall(), 1);
    platform::setPhoneInCall(false);
}

TEST(Platform, everyIconNameHasAPicture)
{
    for (const QString &name : RES_ICON_Reader::knownNames())
        EXPECT_FALSE(RES_ICON_Reader().getIcon(name, true).isNull()) << name.toStdString();
    EXPECT_TRUE(RES_ICON_Reader().getIcon("no-such-icon", true).isNull());
}

TEST(Platform, messageBoxesAreAnsweredByTheResponder)
{
    ZMessageBox::history().clear();
    ZMessageBox::setResponder([](const ZMessageBox::Shown &s) { return s.buttons.size() - 1; });
    EXPECT_EQ(ZMessageBox::information(nullptr, QPixmap(), "Sure?", "Ok", "Exit"), 1);
    ZMessageBox::timerMessage(nullptr, QPixmap(), "Done", 1, 1);
    ZMessageBox::setResponder(nullptr);
    ASSERT_EQ(ZMessageBox::history().size(), 2);
    EXPECT_EQ(ZMessageBox::history()[0].buttons, QStringList({"Ok", "Exit"}));
    EXPECT_TRUE(ZMessageBox::history()[1].timed);
}

TEST(Platform, mainWidgetIsThePhonesScreen)
{
    ZMainWidget w;
    auto *content = new QWidget;
    w.setContentWidget(content);
    w.setCSTWidget(new UTIL_CST(nullptr, "Mid", "CST_Menu", "CST_Back"));
    w.showMaximized();
    EXPECT_EQ(w.size(), QSize(240, 320));
    EXPECT_EQ(content->parentWidget(), &w);
    auto *cst = qobject_cast<UTIL_CST *>(w.getCSTWidget());
    ASSERT_NE(cst, nullptr);
    EXPECT_EQ(cst->getMidBtn()->text(), QString("Mid"));
    EXPECT_EQ(cst->getRightBtn()->text(), QString("Back"));
}

TEST(Platform, multiLineEditFilterRefusesCharacters)
{
    ZMultiLineEdit edit(nullptr, 0);
    edit.setFilter(QRegularExpression("[/\\\\:*?\"<>|]"), true);
    EXPECT_EQ(edit.filtered("my/list:*1"), QString("mylist1"));
    edit.setFilter(QRegularExpression("[0-9]"), false);
    EXPECT_EQ(edit.filtered("a1b2"), QString("12"));
}

struct FitCase {
    const char *name;
    QRect popup, anchor, expected;
};

class PhoneScreenFit : public ::testing::TestWithParam<FitCase>
{
};

TEST_P(PhoneScreenFit, popupsLieInsideTheScreen)
{
    const FitCase &c = GetParam();
    EXPECT_EQ(PhoneScreen::fitted(c.popup, QRect(0, 0, 240, 320), c.anchor), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PhoneScreenFit,
    ::testing::Values(
        FitCase{"insideStays", {10, 10, 100, 50}, {}, {10, 10, 100, 50}},
        FitCase{
            "submenuGoesLeftOfItsMenu", {180, 40, 80, 60}, {100, 30, 100, 90}, {20, 40, 80, 60}},
        FitCase{"submenuWithNoRoomEitherSideIsPushedIn",
                {200, 40, 120, 60},
                {60, 30, 140, 90},
                {120, 40, 120, 60}},
        FitCase{
            "buttonMenuOpensAboveTheButton", {0, 320, 90, 60}, {0, 292, 60, 28}, {0, 232, 90, 60}},
        FitCase{"popupBelowTheBottomIsPushedUp", {30, 300, 90, 60}, {}, {30, 260, 90, 60}},
        FitCase{"offTheLeftIsPushedIn", {-20, 5, 90, 60}, {}, {0, 5, 90, 60}},
        FitCase{"largerThanTheScreenShowsItsTopLeft", {50, 50, 300, 400}, {}, {0, 0, 300, 400}}),
    [](const auto &info) { return std::string(info.param.name); });

// Geometry of the first dialog the opener shows, which is then closed.
QRect shownDialog(const std::function<void()> &open, QStringList &unfit)
{
    QRect shown;
    QTimer::singleShot(0, [&] {
        auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        shown = dialog->geometry();
        for (const QPushButton *b : dialog->findChildren<QPushButton *>()) {
            const QFontMetrics metrics(b->font());
            if (metrics.horizontalAdvance(b->text()) > b->width() - 2 ||
                !dialog->rect().contains(b->geometry()))
                unfit << b->text();
        }
        dialog->reject();
    });
    open();
    return shown;
}

TEST(Platform, messageBoxesStandInsideThePhonesScreen)
{
    ZMainWidget window;
    window.showMaximized();
    const QString about = "ORBAL v 3.30 for motorola A1200\nA skinned music and video player.\n"
                          "Music through xmms, video through mplayer.";
    const QString path = "/mmc/mmca1/" + QString(60, 'x') + ".mp3";
    QStringList unfit;
    const QRect boxes[] = {
        shownDialog([&] { ZMessageBox::information(&window, QPixmap(), about, "Ok", "Exit"); },
                    unfit),
        shownDialog([&] { ZMessageBox::timerMessage(nullptr, QPixmap(), "开始截取！请稍等.", 5); },
                    unfit),
        shownDialog(
            [&] {
                QPixmap icon(120, 90);
                icon.fill(Qt::red);
                ZMessageBox::information(nullptr, icon, "截取完毕!!<br>" + path, "Delete", "Cancel",
                                         "Keep");
            },
            unfit),
    };
    for (const QRect &box : boxes) {
        EXPECT_FALSE(box.isEmpty());
        EXPECT_TRUE(PhoneScreen::rect().contains(box))
            << box.x() << "," << box.y() << " " << box.width() << "x" << box.height();
    }
    EXPECT_TRUE(unfit.isEmpty()) << unfit.join(", ").toStdString();
}

TEST(Platform, menusOpenInsideThePhonesScreen)
{
    ZMainWidget window;
    window.showMaximized();
    QMenu menu(&window);
    QMenu sub(&window);
    sub.addAction("Scalable");
    sub.addAction("Actual screen");
    menu.addAction("Background");
    QAction *open = menu.addMenu(&sub);
    open->setText("Video Setting");
    menu.popup(window.mapToGlobal(QPoint(200, 20)));
    ASSERT_TRUE(testenv::waitFor([&] { return menu.isVisible(); }));
    EXPECT_TRUE(PhoneScreen::rect().contains(menu.geometry()));
    menu.setActiveAction(open);
    QTest::keyClick(&menu, Qt::Key_Right);
    ASSERT_TRUE(testenv::waitFor([&] { return sub.isVisible(); }));
    EXPECT_TRUE(PhoneScreen::rect().contains(sub.geometry()));
    sub.close();
    menu.close();

    // A soft key's menu at the bottom opens above its button.
    QPushButton button("Menu", &window);
    button.setGeometry(0, 292, 60, 28);
    button.show();
    QMenu buttonMenu(&button);
    buttonMenu.addAction("preview");
    buttonMenu.addAction("About ");
    button.setMenu(&buttonMenu);
    QRect shown;
    QTimer::singleShot(0, [&] {
        shown = buttonMenu.geometry();
        buttonMenu.close();
    });
    button.showMenu();
    EXPECT_TRUE(PhoneScreen::rect().contains(shown));
    EXPECT_LE(shown.bottom(), button.mapToGlobal(QPoint(0, 0)).y());
}
