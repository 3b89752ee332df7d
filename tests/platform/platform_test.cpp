#include "platform/cardroot.h"
#include "platform/power.h"
#include "platform/res_icon_reader.h"
#include "platform/util_cst.h"
#include "platform/zmainwidget.h"
#include "platform/zmessagebox.h"
#include "platform/zmultilineedit.h"
#include "tests/support/testenv.h"

#include <QDir>
#include <QPushButton>
#include <QRegularExpression>
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
