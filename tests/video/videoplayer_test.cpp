// The video control window: what each key and touch sends to the player (recorded by a fake
// ./mplayer), its tables, the volume steps and the read-out.
#include "video/videoplayer.h"

#include "audio/mixer.h"
#include "dropin/kconfig.h"
#include "fakemplayer.h"
#include "platform/phonekeys.h"
#include "tests/support/testenv.h"
#include "video/engine.h"

#include <QCoreApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPointer>
#include <gtest/gtest.h>

#include <csignal>

namespace
{

using K = VideoPlayer::KeyId;

// Key codes a desktop keyboard can produce through the phone-key mapping.
const int kDesktopCodes[VideoPlayer::KeyCount] = {
    PhoneKeys::VolumeUp, PhoneKeys::VolumeDown, PhoneKeys::Centre, PhoneKeys::Up,
    PhoneKeys::Down,     PhoneKeys::Left,       PhoneKeys::Right,  PhoneKeys::Camera,
    PhoneKeys::SoftLeft, PhoneKeys::SoftRight,  PhoneKeys::Cancel, PhoneKeys::Dial,
};

// A toolkit key whose event maps to the phone code.
int toolkitKeyFor(int phoneCode)
{
    int count = 0;
    const PhoneKeys::DesktopKey *table = PhoneKeys::desktopTable(&count);
    for (int i = 0; i < count; ++i)
        if (table[i].phoneKey == phoneCode)
            return table[i].toolkitKey;
    const int key = PhoneKeys::toToolkit(phoneCode);
    return PhoneKeys::fromDesktop(key) == phoneCode ? key : 0;
}

void press(QWidget *w, int phoneCode)
{
    const int key = toolkitKeyFor(phoneCode);
    ASSERT_NE(key, 0) << std::hex << phoneCode;
    QKeyEvent e(QEvent::KeyPress, key, Qt::NoModifier);
    QCoreApplication::sendEvent(w, &e);
}

void touch(QWidget *w, QPoint p)
{
    QMouseEvent e(QEvent::MouseButtonRelease, QPointF(p), w->mapToGlobal(QPointF(p)),
                  Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(w, &e);
}

bool processGone(pid_t pid)
{
    return pid > 0 && ::kill(pid, 0) != 0;
}

class VideoWindow : public ::testing::Test
{
protected:
    void SetUp() override
    {
        testenv::useQuietHome();
        m_app = testenv::scratchDir("app");
        fakemplayer::install(m_app);
        QByteArray cfg = "[tvskin]\n";
        for (int i = 0; i < VideoPlayer::KeyCount; ++i)
            cfg += QByteArray(VideoPlayer::keySettings()[i].name) + "=" +
                   QByteArray::number(kDesktopCodes[i]) + "\n";
        testenv::writeFile(m_app + "/.xmms/tavrin_cfg", cfg);
        testenv::writeFile(m_app + "/clip.avi", "x");
        m_engine = std::make_unique<Engine>();
        QObject::connect(m_engine.get(), &Engine::onQuit, [this] { ++m_quits; });
    }
    void TearDown() override
    {
        m_engine->killChild();
        m_engine.reset();
    }

    // Starts the clip and waits until the start-up exchange is over.
    VideoPlayer *start()
    {
        fakemplayer::clearLines(m_app);
        if (!m_engine->play(m_app + "/clip.avi"))
            return nullptr;
        // The length of an earlier child stands until this one answers.
        if (!testenv::waitFor([this] {
                return fakemplayer::lines(m_app).contains("get_time_length") &&
                       m_engine->length() == 42;
            }))
            return nullptr;
        return m_engine->videoWindow();
    }

    // The lines the player received, without the engine's own length requests.
    QList<QByteArray> sent(int atLeast)
    {
        auto filtered = [this] {
            QList<QByteArray> out = fakemplayer::lines(m_app);
            out.removeAll("get_time_length");
            return out;
        };
        testenv::waitFor([&] { return filtered().size() >= atLeast; }, 3000);
        testenv::waitFor([] { return false; }, 100); // anything beyond what was expected
        return filtered();
    }

    QString m_app;
    std::unique_ptr<Engine> m_engine;
    int m_quits = 0;
};

struct KeyCase {
    const char *name;
    std::vector<K> keys;
    QList<QByteArray> lines;
};

class KeyCommands : public VideoWindow, public ::testing::WithParamInterface<KeyCase>
{
};

TEST_P(KeyCommands, sendExactLines)
{
    const KeyCase &c = GetParam();
    VideoPlayer *w = start();
    ASSERT_NE(w, nullptr);
    for (K key : c.keys)
        press(w, kDesktopCodes[key]);
    EXPECT_EQ(sent(int(c.lines.size())), c.lines);
    m_engine->stop();
}

const QByteArray kOsd = "osd 1";
QByteArray label(const char *text)
{
    return "osd_show_text \"" + QByteArray(text) + "\"";
}

INSTANTIATE_TEST_SUITE_P(
    Table, KeyCommands,
    ::testing::Values(
        KeyCase{"softLeftShowsTheNextAdjustment", {K::KeySoftLeft}, {kOsd, label("Brightness")}},
        KeyCase{"fourSoftLeftsComeBackToVolume",
                {K::KeySoftLeft, K::KeySoftLeft, K::KeySoftLeft, K::KeySoftLeft},
                {kOsd, label("Brightness"), kOsd, label("Contrast"), kOsd, label("saturation"),
                 kOsd, label("Volume")}},
        KeyCase{"enterRunsThePauseAction", {K::KeyEnter}, {"pause"}},
        KeyCase{"dialTogglesSlowMotion",
                {K::KeyDial, K::KeyDial, K::KeyDial},
                {"speed_set -0.05", "mute", "speed_set 1", "mute", "speed_set -0.05", "mute"}},
        KeyCase{"arrowsSeekRelative",
                {K::KeyLeft, K::KeyRight, K::KeyUp, K::KeyDown},
                {"seek -60 0", "seek 60 0", "seek 10 0", "seek -10 0"}},
        KeyCase{"softRightTogglesOsd", {K::KeySoftRight}, {"osd"}},
        KeyCase{"contrastStepsBothWays",
                {K::KeySoftLeft, K::KeySoftLeft, K::KeyVolUp, K::KeyVolDown},
                {kOsd, label("Brightness"), kOsd, label("Contrast"), "contrast 2", "contrast -2"}},
        KeyCase{"brightnessUp",
                {K::KeySoftLeft, K::KeyVolUp},
                {kOsd, label("Brightness"), "brightness 2"}},
        KeyCase{"saturationDown",
                {K::KeySoftLeft, K::KeySoftLeft, K::KeySoftLeft, K::KeyVolDown},
                {kOsd, label("Brightness"), kOsd, label("Contrast"), kOsd, label("saturation"),
                 "saturation -2"}},
        KeyCase{"cameraLeavesEveryOtherKeyWorking",
                {K::KeyCamera, K::KeyLeft, K::KeyEnter, K::KeySoftRight, K::KeyCamera, K::KeyUp},
                {"seek -60 0", "pause", "osd", "seek 10 0"}}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(VideoWindow, cancelEndsPlaybackWithoutAdvancing)
{
    VideoPlayer *w = start();
    ASSERT_NE(w, nullptr);
    const pid_t pid = m_engine->pid();
    press(w, kDesktopCodes[K::KeyCancel]);
    EXPECT_EQ(sent(1), QList<QByteArray>{"quit"});
    EXPECT_TRUE(testenv::waitFor([&] { return processGone(pid) && !m_engine->videoWindow(); }));
    testenv::waitFor([] { return false; }, 1200);
    EXPECT_EQ(m_quits, 0);
}

TEST_F(VideoWindow, defaultBindingsAnswerTheDesktopKeys)
{
    // With no bindings saved, Return and Page Up reach this window's own defaults even
    // though the desktop mapping gives them the main window's codes first.
    testenv::writeFile(m_app + "/.xmms/tavrin_cfg", "");
    VideoPlayer *w = start();
    ASSERT_NE(w, nullptr);
    for (int key : {int(Qt::Key_Return), int(Qt::Key_PageUp), int(Qt::Key_Down)}) {
        QKeyEvent e(QEvent::KeyPress, key, Qt::NoModifier);
        QCoreApplication::sendEvent(w, &e);
    }
    const QList<QByteArray> lines = sent(2);
    ASSERT_GE(lines.size(), 2);
    EXPECT_EQ(lines.first(), QByteArray("pause"));
    EXPECT_EQ(lines.last(), QByteArray("seek -10 0"));
    m_engine->stop();
}

TEST_F(VideoWindow, boundKeysMatchEveryRowThatHoldsThem)
{
    // Two settings on one key: both rows act, in table order.
    testenv::writeFile(m_app + "/.xmms/tavrin_cfg", "[tvskin]\nkey_enter=4115\nkey_up=4115\n");
    VideoPlayer *w = start();
    ASSERT_NE(w, nullptr);
    press(w, 4115);
    EXPECT_EQ(sent(2), (QList<QByteArray>{"pause", "seek 10 0"}));
    m_engine->stop();
}

struct TouchCase {
    const char *name;
    QPoint point;
    QList<QByteArray> lines;
    int quits; // onQuit() after the child is gone
};

class Touches : public VideoWindow, public ::testing::WithParamInterface<TouchCase>
{
};

TEST_P(Touches, regions)
{
    const TouchCase &c = GetParam();
    VideoPlayer *w = start();
    ASSERT_NE(w, nullptr);
    const pid_t pid = m_engine->pid();
    touch(w, c.point);
    EXPECT_EQ(sent(int(c.lines.size())), c.lines);
    if (c.lines == QList<QByteArray>{"quit"}) {
        EXPECT_TRUE(testenv::waitFor([&] { return processGone(pid); }));
        testenv::waitFor([] { return false; }, 1200);
    }
    EXPECT_EQ(m_quits, c.quits);
    m_engine->stop();
}

INSTANTIATE_TEST_SUITE_P(
    Regions, Touches,
    ::testing::Values(TouchCase{"topRightQuitsWithoutAdvancing", {200, 20}, {"quit"}, 0},
                      TouchCase{"topRightCornerInclusive", {191, 39}, {"quit"}, 0},
                      TouchCase{"topRightEdgeOutside", {239, 20}, {}, 0},
                      TouchCase{"topLeftQuitsAndAdvances", {50, 20}, {"quit"}, 1},
                      TouchCase{"topLeftInclusive", {3, 0}, {"quit"}, 1},
                      TouchCase{"leftOfTopLeft", {2, 10}, {}, 0},
                      TouchCase{"centrePauses", {120, 150}, {"pause"}, 0},
                      TouchCase{"centreCorner", {81, 101}, {"pause"}, 0},
                      TouchCase{"centreOutside", {160, 150}, {}, 0},
                      TouchCase{"between", {150, 20}, {}, 0},
                      TouchCase{"bottom", {120, 300}, {}, 0}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(VideoWindow, losingFocusEndsPlayback)
{
    VideoPlayer *w = start();
    ASSERT_NE(w, nullptr);
    QPointer<VideoPlayer> window = w;
    int needGui = 0;
    QObject::connect(m_engine.get(), &Engine::onNeedGUI, [&] { ++needGui; });
    QFocusEvent out(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
    QCoreApplication::sendEvent(w, &out);
    EXPECT_EQ(m_engine->videoWindow(), nullptr);
    EXPECT_EQ(needGui, 1);
    EXPECT_EQ(sent(1), QList<QByteArray>{"quit"}) << "quit sent, then quit again";
    EXPECT_TRUE(testenv::waitFor([&] { return window.isNull(); }));
}

TEST_F(VideoWindow, releasedWindowNoLongerSpeaksToTheEngine)
{
    VideoPlayer *first = start();
    ASSERT_NE(first, nullptr);
    QPointer<VideoPlayer> old = first;
    ASSERT_NE(start(), nullptr); // stops the first child, starts a second
    ASSERT_TRUE(old);            // deletion is deferred
    sent(1);                     // the first child's "quit"
    fakemplayer::clearLines(m_app);
    press(old, kDesktopCodes[K::KeyEnter]);
    QFocusEvent out(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
    QCoreApplication::sendEvent(old, &out);
    EXPECT_TRUE(m_engine->isRunning()) << "the old window's focus loss must not stop the new one";
    EXPECT_TRUE(sent(0).isEmpty());
    m_engine->stop();
}

TEST_F(VideoWindow, keysReadFromSettingsWithDefaults)
{
    testenv::writeFile(m_app + "/.xmms/tavrin_cfg", "[tvskin]\nkey_up=4154\nkey_dial=abc\n");
    VideoPlayer w(nullptr, m_engine.get());
    const int defaults[] = {0x1016, 0x1017, 0x1004, 0x1013, 0x1015, 0x1012,
                            0x1014, 0x1034, 0x1033, 0x104d, 0x1030, 0x1049};
    for (int i = 0; i < VideoPlayer::KeyCount; ++i) {
        const int expected = i == K::KeyUp ? 4154 : i == K::KeyDial ? 0 : defaults[i];
        EXPECT_EQ(w.keyCode(K(i)), expected) << VideoPlayer::keySettings()[i].name;
    }
}

TEST(VideoTables, adjustmentAndActionRows)
{
    const VideoPlayer::Adjustment *a = VideoPlayer::adjustments();
    const char *labels[] = {"Volume", "Brightness", "Contrast", "saturation", ""};
    const char *words[] = {"volume", "brightness", "contrast", "saturation", ""};
    const int kinds[] = {0, 1, 1, 1, -1};
    const int steps[] = {4, 2, 2, 2, 0};
    for (int i = 0; i < 5; ++i) {
        EXPECT_STREQ(a[i].label, labels[i]);
        EXPECT_STREQ(a[i].command, words[i]);
        EXPECT_EQ(a[i].kind, kinds[i]);
        EXPECT_EQ(a[i].step, steps[i]);
    }
    EXPECT_EQ(a[0].defaultValue, 100);
    EXPECT_EQ(a[1].defaultValue, 50);
    EXPECT_EQ(sizeof(a[0].label), 100u);
    const VideoPlayer::Action *act = VideoPlayer::actions();
    EXPECT_STREQ(act[0].command, "pause");
    EXPECT_STREQ(act[1].command, "seek 0 2");
    EXPECT_STREQ(act[2].command, "quit");
    EXPECT_EQ(VideoPlayer::osdTextCommand("Volume"), "osd 1\nosd_show_text \"Volume\"");
}

// Volume steps: the mixer request, the stored value and the read-out.
QList<int> g_volumes;
int recordVolume(int, unsigned long request, void *argument)
{
    if (request == MixerRequest::WriteVolume)
        g_volumes << *static_cast<int *>(argument);
    if (request == MixerRequest::ReadDeviceMask)
        *static_cast<int *>(argument) = 1;
    return 0;
}

struct VolumeCase {
    const char *name;
    const char *stored; // nullptr: no entry
    bool up;
    int applied; // INT_MIN: ignored
};

class VolumeSteps : public VideoWindow, public ::testing::WithParamInterface<VolumeCase>
{
};

int greenPixels(const QImage &image, const QRect &rect)
{
    int n = 0;
    for (int y = rect.top(); y <= rect.bottom(); ++y)
        for (int x = rect.left(); x <= rect.right(); ++x) {
            const QColor c = image.pixelColor(x, y);
            n += c.green() > 200 && c.red() < 60 && c.blue() < 60;
        }
    return n;
}

TEST_P(VolumeSteps, boundedStepThroughTheMixer)
{
    const VolumeCase &c = GetParam();
    QByteArray config = "[Winskin]\nskin=x\n";
    if (c.stored)
        config += QByteArray("volume=") + c.stored + "\n";
    testenv::writeFile(m_app + "/.xmms/config", config);
    testenv::writeFile(m_app + "/mixer", "");
    MixerDevice::setPath(m_app + "/mixer");
    MixerDevice::setIoctl(recordVolume);
    g_volumes.clear();

    VideoPlayer *w = start();
    ASSERT_NE(w, nullptr);
    press(w, kDesktopCodes[c.up ? K::KeyVolUp : K::KeyVolDown]);
    MixerDevice::setIoctl(nullptr);
    MixerDevice::setPath("/dev/mixer");

    KConfig stored(m_app + "/.xmms/config", true);
    stored.setGroup("Winskin");
    const QImage shot = w->grab().toImage();
    if (c.applied == INT_MIN) {
        EXPECT_TRUE(g_volumes.isEmpty());
        EXPECT_EQ(stored.readEntry("volume", "none"), c.stored ? c.stored : "none");
        EXPECT_TRUE(w->readout().isEmpty());
        EXPECT_EQ(greenPixels(shot, VideoPlayer::readoutRect()), 0);
    } else {
        EXPECT_EQ(g_volumes, QList<int>{qMax(c.applied, 0)}) << "never a negative volume";
        EXPECT_EQ(stored.readNumEntry("volume", 999), c.applied);
        EXPECT_EQ(w->readout(), QString("vol: %1").arg(c.applied));
        EXPECT_GT(greenPixels(shot, VideoPlayer::readoutRect()), 20);
        EXPECT_EQ(greenPixels(shot, QRect(0, 0, 240, 140)), 0);
    }
    EXPECT_EQ(stored.readEntry("skin"), "x");
    EXPECT_TRUE(sent(0).isEmpty()) << "the system volume is not a player command";
    m_engine->stop();
}

INSTANTIATE_TEST_SUITE_P(Bounds, VolumeSteps,
                         ::testing::Values(VolumeCase{"upToTheCeiling", "77", true, 80},
                                           VolumeCase{"upBeyondIgnored", "78", true, INT_MIN},
                                           VolumeCase{"downToMinusOne", "2", false, -1},
                                           VolumeCase{"downFromZeroIgnored", "0", false, INT_MIN},
                                           VolumeCase{"downFromOne", "1", false, -2},
                                           VolumeCase{"missingCountsAsZero", nullptr, true, 3},
                                           VolumeCase{"garbageCountsAsZero", "loud", true, 3}),
                         [](const auto &info) { return std::string(info.param.name); });

} // namespace
