// The readme viewer: the home directory's GBK readme (else the application folder's) shown as text,
// Back closing and deleting the dialog.
#include "platform/util_pushbutton.h"
#include "platform/zmultilineedit.h"
#include "readme/xreadmewidget.h"
#include "tests/support/testenv.h"

#include <QDir>
#include <QPointer>
#include <QStringEncoder>
#include <QTest>
#include <gtest/gtest.h>

// Readable failure messages for Qt strings.
inline void PrintTo(const QString &s, std::ostream *os)
{
    *os << '"' << s.toStdString() << '"';
}

namespace
{

struct ReadmeCase {
    const char *name;
    QString text;
};

class ReadmeText : public ::testing::TestWithParam<ReadmeCase>
{
};

TEST_P(ReadmeText, gbkBytesShowAsText)
{
    const QString home = testenv::useQuietHome();
    QStringEncoder gbk("GBK");
    ASSERT_TRUE(gbk.isValid());
    const QByteArray bytes = gbk.encode(GetParam().text);
    ASSERT_TRUE(testenv::writeFile(home + "/readme", bytes));
    QPointer<XreadmeWidget> viewer = new XreadmeWidget(nullptr, nullptr, 0);
    EXPECT_EQ(viewer->textView()->text(), GetParam().text);
    EXPECT_TRUE(viewer->textView()->isReadOnly());
    delete viewer;
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ReadmeText,
    ::testing::Values(ReadmeCase{"chinese", QStringLiteral("播放器说明\n按菜单键打开选项。\n")},
                      ReadmeCase{"ascii", QStringLiteral("ORBAL readme\nline two")},
                      ReadmeCase{"mixed", QStringLiteral("歌词 LRC: [00:12.00]你好\n")}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(XreadmeWidget, missingReadmeShowsTheApplicationFoldersOrNothing)
{
    const QString home = testenv::useQuietHome();
    const QString appDir = testenv::scratchDir(QStringLiteral("app"));
    const QString old = QDir::currentPath();
    QDir::setCurrent(appDir);
    {
        XreadmeWidget viewer;
        EXPECT_TRUE(viewer.textView()->text().isEmpty());
    }
    ASSERT_TRUE(testenv::writeFile(appDir + "/readme", "installed\n"));
    {
        XreadmeWidget viewer;
        EXPECT_EQ(viewer.textView()->text(), QStringLiteral("installed\n"));
    }
    ASSERT_TRUE(testenv::writeFile(home + "/readme", "mine\n")); // the user's wins
    {
        XreadmeWidget viewer;
        EXPECT_EQ(viewer.textView()->text(), QStringLiteral("mine\n"));
    }
    QDir::setCurrent(old);
}

TEST(XreadmeWidget, backClosesAndDeletes)
{
    testenv::useQuietHome();
    for (int round = 0; round < 2; ++round) {
        QPointer<XreadmeWidget> viewer = new XreadmeWidget(nullptr, nullptr, 0);
        viewer->show();
        auto *back = viewer->findChild<UTIL_PushButton *>("CST_Back");
        ASSERT_NE(back, nullptr);
        QTest::mouseClick(back, Qt::LeftButton);
        ASSERT_TRUE(testenv::waitFor([&] { return viewer.isNull(); }, 2000));
    }
    QPointer<XreadmeWidget> viewer = new XreadmeWidget;
    viewer->show();
    viewer->doCancel();
    EXPECT_TRUE(testenv::waitFor([&] { return viewer.isNull(); }, 2000));
}

} // namespace
