#include "dropin/kconfig.h"
#include "keys/configwidget.h"
#include "tests/support/testenv.h"

#include <QCoreApplication>
#include <QDir>
#include <QKeyEvent>
#include <QPushButton>
#include <gtest/gtest.h>

namespace
{

// Each test runs in its own application directory.
class ConfigWidgetTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_oldDir = QDir::currentPath();
        m_appDir = testenv::scratchDir("app");
        QDir::setCurrent(m_appDir);
    }
    void TearDown() override { QDir::setCurrent(m_oldDir); }

    QString settingsFile() const { return m_appDir + "/.xmms/tavrin_cfg"; }

    QStringList shownCodes(const ConfigWidget &w) const
    {
        QStringList codes;
        for (int i = 0; i < ConfigWidget::RowCount; ++i)
            codes << w.rowButton(i)->text();
        return codes;
    }

    static void press(ConfigWidget &w, int key)
    {
        QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier);
        QCoreApplication::sendEvent(&w, &event);
    }

    QString m_oldDir;
    QString m_appDir;
};

TEST_F(ConfigWidgetTest, rowsShowDefaultsWhenNothingIsStored)
{
    ConfigWidget w;
    EXPECT_EQ(shownCodes(w), QStringList({"4154", "4155", "4148", "4146", "0", "0", "4101"}));
    for (int i = 0; i < ConfigWidget::RowCount; ++i)
        EXPECT_TRUE(w.rowButton(i)->isCheckable()) << i;
}

TEST_F(ConfigWidgetTest, rowsShowStoredCodesEvenWhenNotNumbers)
{
    testenv::writeFile(settingsFile(), "[tvskin]\nkey_Next=77\nkey_lock=abc\n"
                                       "[OPTION]\nkey_vol_up=1\n");
    ConfigWidget w;
    EXPECT_EQ(shownCodes(w), QStringList({"4154", "4155", "4148", "abc", "0", "77", "4101"}));
}

struct KeyCase {
    const char *name;
    QList<int> rowsOn;
    int toolkitKey;
    QStringList expected;
};

class ConfigWidgetKeys : public ConfigWidgetTest, public ::testing::WithParamInterface<KeyCase>
{
};

TEST_P(ConfigWidgetKeys, firstRowThatIsOnTakesThePhoneKeyCode)
{
    const KeyCase &c = GetParam();
    ConfigWidget w;
    for (int row : c.rowsOn)
        w.rowButton(row)->setChecked(true);
    press(w, c.toolkitKey);
    EXPECT_EQ(shownCodes(w), c.expected);
    for (int row : c.rowsOn)
        EXPECT_TRUE(w.rowButton(row)->isChecked()) << "the row stays on";
}

INSTANTIATE_TEST_SUITE_P(
    Rows, ConfigWidgetKeys,
    ::testing::Values(KeyCase{"volUpAndWireOnOnlyVolUpChanges",
                              {0, 2},
                              Qt::Key_F6,
                              {"4149", "4155", "4148", "4146", "0", "0", "4101"}},
                      KeyCase{"wireAndNextOnOnlyWireChanges",
                              {5, 2},
                              Qt::Key_Up,
                              {"4154", "4155", "4115", "4146", "0", "0", "4101"}},
                      // Desktop keys arrive as the phone key they stand for.
                      KeyCase{"desktopPageUpIsVolumeUp",
                              {6},
                              Qt::Key_PageUp,
                              {"4154", "4155", "4148", "4146", "0", "0", "4154"}},
                      KeyCase{"printableKeyKeepsItsCode",
                              {4},
                              Qt::Key_A,
                              {"4154", "4155", "4148", "4146", "65", "0", "4101"}},
                      KeyCase{"noRowOnIgnoresTheKey",
                              {},
                              Qt::Key_Up,
                              {"4154", "4155", "4148", "4146", "0", "0", "4101"}}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(ConfigWidgetTest, saveWritesAllSevenRowsAndEndsWithOne)
{
    ConfigWidget w;
    w.rowButton(1)->setChecked(true);
    press(w, Qt::Key_F13);
    w.doSave();
    EXPECT_EQ(w.result(), 1);

    KConfig config(settingsFile(), true);
    config.setGroup("tvskin");
    const QStringList expected = {"4154", "4156", "4148", "4146", "0", "0", "4101"};
    for (int i = 0; i < ConfigWidget::RowCount; ++i)
        EXPECT_EQ(config.readEntry(ConfigWidget::rowKey(i), "absent"), expected[i])
            << ConfigWidget::rowKey(i).toStdString();
    // The main window reads the unbound rows as 0, which matches no key.
    EXPECT_EQ(config.readNumEntry("key_Prev", -1), 0);
}

TEST_F(ConfigWidgetTest, saveKeepsOtherSettings)
{
    testenv::writeFile(settingsFile(), "[tvskin]\nskin=blue\n[OPTION]\nlrcfont=20\n");
    ConfigWidget w;
    w.doSave();
    KConfig config(settingsFile(), true);
    config.setGroup("tvskin");
    EXPECT_EQ(config.readEntry("skin"), "blue");
    config.setGroup("OPTION");
    EXPECT_EQ(config.readEntry("lrcfont"), "20");
}

TEST_F(ConfigWidgetTest, cancelWritesNothingAndEndsWithOne)
{
    ConfigWidget w;
    w.rowButton(0)->setChecked(true);
    press(w, Qt::Key_Up);
    w.doCancel();
    EXPECT_EQ(w.result(), 1);
    EXPECT_FALSE(QFile::exists(settingsFile()));
}

} // namespace
