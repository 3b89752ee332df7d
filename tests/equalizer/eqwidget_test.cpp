// The equalizer preset dialog: reading both preset files (garbage included), and
// applying and storing presets through the stand-in xmms over its real socket.
#include "audio/xmmsplayer.h"
#include "equalizer/eqwidget.h"
#include "equalizer/presetitem.h"
#include "tests/support/testenv.h"

#include <QDir>
#include <QFileInfo>
#include <QFocusEvent>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTreeWidget>
#include <gtest/gtest.h>
#include <memory>
#include <signal.h>

// Readable failure messages for Qt strings.
inline void PrintTo(const QString &s, std::ostream *os)
{
    *os << '"' << s.toStdString() << '"';
}

namespace
{

struct Preset {
    QString name;
    bool isDefault;
    PresetItem::Values values;
};

std::vector<Preset> presetsOf(const eqWidget &dialog)
{
    std::vector<Preset> found;
    QTreeWidget *view = dialog.presetList();
    for (int i = 0; i < view->topLevelItemCount(); ++i) {
        auto *item = dynamic_cast<PresetItem *>(view->topLevelItem(i));
        if (item)
            found.push_back({item->name(), item->isDefault(), item->values()});
    }
    return found;
}

QPushButton *buttonNamed(QWidget &dialog, const QString &text)
{
    for (QPushButton *b : dialog.findChildren<QPushButton *>())
        if (b->text() == text)
            return b;
    return nullptr;
}

// Sizes are the phone's pixels, whatever this screen's DPI, and each label fits inside its
// button's frame.
TEST(EqWidget, buttonLabelsFitTheirButtons)
{
    eqWidget dialog(nullptr);
    EXPECT_EQ(dialog.font().pixelSize(), 16);
    const QList<QPushButton *> buttons = dialog.findChildren<QPushButton *>();
    ASSERT_EQ(buttons.size(), 3);
    for (const QPushButton *b : buttons) {
        const QFontMetrics metrics(b->font());
        EXPECT_EQ(b->size(), QSize(50, 18));
        EXPECT_GT(b->font().pixelSize(), 0) << b->text().toStdString();
        EXPECT_LE(metrics.horizontalAdvance(b->text()), b->width() - 2) << b->text().toStdString();
        EXPECT_LE(metrics.height(), b->height() - 2) << b->text().toStdString();
    }
}

struct ReadCase {
    const char *name;
    QByteArray defaultFile; // null: no file
    QByteArray userFile;
    std::vector<Preset> expected;
};

class PresetReading : public ::testing::TestWithParam<ReadCase>
{
};

TEST_P(PresetReading, listsPresetsOfBothFiles)
{
    const QString home = testenv::useQuietHome();
    if (!GetParam().defaultFile.isNull())
        testenv::writeFile(home + "/.xmms/default.preset", GetParam().defaultFile);
    if (!GetParam().userFile.isNull())
        testenv::writeFile(home + "/.xmms/user.preset", GetParam().userFile);
    eqWidget dialog;
    const std::vector<Preset> found = presetsOf(dialog);
    ASSERT_EQ(found.size(), GetParam().expected.size());
    for (size_t i = 0; i < found.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(found[i].name, GetParam().expected[i].name);
        EXPECT_EQ(found[i].isDefault, GetParam().expected[i].isDefault);
        for (int v = 0; v < 11; ++v)
            EXPECT_FLOAT_EQ(found[i].values[v], GetParam().expected[i].values[v]) << "value " << v;
    }
}

const PresetItem::Values kZero{};
const PresetItem::Values kRock{1, 4, 3, 2, 1.5, 0, -1, -2.25, 0, 3, 5};

INSTANTIATE_TEST_SUITE_P(
    Files, PresetReading,
    ::testing::Values(
        ReadCase{"presetsGroupSkipped",
                 "[Presets]\nPreset0=Rock\nPreset1=Flat\n[Rock]\nPreamp=1\nBand0=4\nBand1=3\n"
                 "Band2=2\nBand3=1.5\nBand4=0\nBand5=-1\nBand6=-2.25\nBand7=0\nBand8=3\n"
                 "Band9=5\n[Flat]\nPreamp=0\n",
                 QByteArray(),
                 {{"Flat", true, kZero}, {"Rock", true, kRock}}},
        ReadCase{"userPresetsAfterDefaults",
                 "[Flat]\nBand0=0\n",
                 QString("[Presets]\n[我的音乐]\nPreamp=2\nBand9=-3\n").toUtf8(),
                 {{"Flat", true, kZero}, {"我的音乐", false, {2, 0, 0, 0, 0, 0, 0, 0, 0, 0, -3}}}},
        ReadCase{"garbageValuesCountAsZero",
                 "[Odd]\nPreamp=loud\nBand0=\nBand1=nan\nBand2=inf\nBand3=1e999\nBand4= 2.5 \n"
                 "Band5=3dB\nBand6=--1\nBand7=0x10\nBand8=-0.5\n",
                 QByteArray(),
                 {{"Odd", true, {0, 0, 0, 0, 0, 2.5f, 0, 0, 0, -0.5f, 0}}}},
        ReadCase{"strayLinesBeforeFirstGroup",
                 "Preamp=9\n[Only]\nBand0=1\n",
                 QByteArray(),
                 {{"Only", true, {0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0}}}},
        ReadCase{"binaryGarbage",
                 QByteArray("\x00\xff[\x01\n=\n[[]]\n\xfe=\xfd\n", 16),
                 QByteArray(),
                 {{"[", true, kZero}}},
        ReadCase{"missingFiles", QByteArray(), QByteArray(), {}}),
    [](const auto &info) { return std::string(info.param.name); });

// Against the stand-in xmms, started the way the front-end starts it.
class EqXmmsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        const QString standIn = testenv::binaryDir() + "/bin/xmms";
        if (!QFileInfo(standIn).isExecutable())
            GTEST_SKIP() << "stand-in xmms not built";
        m_oldCwd = QDir::currentPath();
        m_home = testenv::useQuietHome();
        m_app = testenv::scratchDir("app");
        m_oldTmp = qgetenv("TMPDIR");
        qputenv("TMPDIR", testenv::scratchDir("sockets").toLocal8Bit());
        QDir().mkpath(m_app + "/bin");
        ASSERT_TRUE(QFile::link(standIn, m_app + "/bin/xmms"));
        QDir::setCurrent(m_app);
        m_xmms = std::make_unique<XMMSPlayer>();
        m_xmms->launch();
        ASSERT_TRUE(m_xmms->isRunning());
        testenv::writeFile(m_home + "/.xmms/default.preset",
                           "[Presets]\nPreset0=Rock\n[Rock]\nPreamp=-2.5\nBand0=4\nBand3=1.5\n"
                           "Band9=-7.75\n[Flat]\n");
    }
    void TearDown() override
    {
        if (m_xmms)
            m_xmms->kill();
        if (!m_oldCwd.isEmpty()) {
            QDir::setCurrent(m_oldCwd);
            qputenv("TMPDIR", m_oldTmp);
        }
    }
    std::array<float, 11> eq()
    {
        std::array<float, 11> values{};
        m_xmms->getEq(values.data());
        return values;
    }
    QTreeWidgetItem *itemNamed(eqWidget &dialog, const QString &name)
    {
        auto items = dialog.presetList()->findItems(name, Qt::MatchExactly);
        return items.isEmpty() ? nullptr : items.first();
    }

    QString m_oldCwd, m_home, m_app;
    QByteArray m_oldTmp;
    std::unique_ptr<XMMSPlayer> m_xmms;
};

TEST_F(EqXmmsTest, fractionalBandAppliedExactlyAndSavedWhole)
{
    QPointer<eqWidget> dialog = new eqWidget;
    QSignalSpy changed(dialog.data(), &eqWidget::equalizerChange);
    dialog->show();
    dialog->presetList()->setCurrentItem(itemNamed(*dialog, "Rock"));
    QTest::mouseClick(buttonNamed(*dialog, "OK"), Qt::LeftButton);

    EXPECT_EQ(changed.count(), 1);
    EXPECT_FLOAT_EQ(m_xmms->eqBand(3), 1.5f);
    EXPECT_FLOAT_EQ(m_xmms->eqBand(0), 4.0f);
    EXPECT_FLOAT_EQ(m_xmms->eqBand(9), -7.75f);
    EXPECT_FLOAT_EQ(m_xmms->eqPreamp(), -2.5f);
    // OK deletes the dialog later, once control is back in the event loop.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(dialog.isNull());

    testenv::writeFile(m_home + "/.xmms/user.preset", "[Mine]\nBand0=5\n");
    eqWidget saver;
    QTest::mouseClick(buttonNamed(saver, "Save"), Qt::LeftButton);
    const QByteArray saved = testenv::readFile(m_home + "/.xmms/user.preset");
    EXPECT_TRUE(saved.contains("[Mine]\nBand0=5\n")) << saved.constData();
    const QByteArray mine = QString("[我的音乐]\nBand0=4\nBand1=0\nBand2=0\nBand3=1\nBand4=0\n"
                                    "Band5=0\nBand6=0\nBand7=0\nBand8=0\nBand9=-7\nPreamp=-2\n")
                                .toUtf8();
    EXPECT_TRUE(saved.contains(mine)) << saved.constData();

    // The stored preset reads back under its name, as whole numbers.
    saver.reload();
    QTreeWidgetItem *item = itemNamed(saver, "我的音乐");
    ASSERT_NE(item, nullptr);
    EXPECT_FLOAT_EQ(static_cast<PresetItem *>(item)->values()[4], 1.0f);
}

TEST_F(EqXmmsTest, cancelChangesNothing)
{
    const float start[11] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11};
    m_xmms->setEq(start);
    const auto before = eq();
    QPointer<eqWidget> dialog = new eqWidget;
    QSignalSpy changed(dialog.data(), &eqWidget::equalizerChange);
    dialog->show();
    dialog->presetList()->setCurrentItem(itemNamed(*dialog, "Rock"));
    QTest::mouseClick(buttonNamed(*dialog, "Cancel"), Qt::LeftButton);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(changed.count(), 0);
    EXPECT_EQ(eq(), before);
    EXPECT_FALSE(QFileInfo::exists(m_home + "/.xmms/user.preset"));
    delete dialog;
}

TEST_F(EqXmmsTest, okWithNothingSelectedAppliesNothingButReports)
{
    const float start[11] = {0, -1, -2, -3, -4, -5, -6, -7, -8, -9, -10};
    m_xmms->setEq(start);
    const auto before = eq();
    QPointer<eqWidget> dialog = new eqWidget;
    QSignalSpy changed(dialog.data(), &eqWidget::equalizerChange);
    dialog->show();
    // Taking the focus makes the first row current, which the user did not choose.
    QFocusEvent focusIn(QEvent::FocusIn, Qt::TabFocusReason);
    QCoreApplication::sendEvent(dialog->presetList(), &focusIn);
    ASSERT_NE(dialog->presetList()->currentItem(), nullptr);
    QTest::mouseClick(buttonNamed(*dialog, "OK"), Qt::LeftButton);
    EXPECT_EQ(changed.count(), 1);
    EXPECT_EQ(eq(), before);
    // OK deletes the dialog later, once control is back in the event loop.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(dialog.isNull());
}

TEST_F(EqXmmsTest, savingWithoutXmmsFolderCreatesIt)
{
    QDir(m_home + "/.xmms").removeRecursively();
    eqWidget dialog;
    EXPECT_EQ(dialog.presetList()->topLevelItemCount(), 0);
    dialog.savePreset();
    EXPECT_TRUE(testenv::readFile(m_home + "/.xmms/user.preset").startsWith("["));
}

} // namespace
