// Under a real X server: the real mplayer draws a generated clip inside the 240 x 320 control
// window, and real key presses (through the X server) reach mplayer as commands.
#include "video/engine.h"
#include "video/videoplayer.h"

#include "platform/phonekeys.h"
#include "tests/support/testenv.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPointer>
#include <QScreen>
#include <QWindow>
#include <gtest/gtest.h>

#include <csignal>

namespace
{

constexpr QRgb kClipColour = 0xffd02020; // red frames with a moving white bar

// A 10-second clip of 160 x 120 frames at 10 frames a second, made with mencoder.
QString makeClip(const QString &dir)
{
    const QString frames = dir + "/frames";
    QDir().mkpath(frames);
    for (int i = 0; i < 100; ++i) {
        QImage image(160, 120, QImage::Format_RGB32);
        image.fill(kClipColour);
        QPainter p(&image);
        p.fillRect((i * 7) % 150, 0, 10, 120, Qt::white);
        p.end();
        image.save(frames + QString("/f%1.png").arg(i, 3, 10, QLatin1Char('0')));
    }
    const QString clip = dir + "/clip.avi";
    const testenv::ProcessResult r =
        testenv::run("mencoder",
                     {"mf://" + frames + "/*.png", "-mf", "fps=10:type=png", "-ovc", "lavc",
                      "-lavcopts", "vcodec=mpeg4", "-o", clip},
                     60000);
    return r.exitCode == 0 && QFile::exists(clip) ? clip : QString();
}

bool isClipRed(QRgb c)
{
    return qRed(c) > 150 && qGreen(c) < 90 && qBlue(c) < 90;
}

// What the X server shows in the window's area (mplayer's drawing included).
QImage screenOf(QWidget *w)
{
    if (!w) // gone: the checks that follow fail instead of crashing
        return QImage();
    const QPoint origin = w->mapToGlobal(QPoint(0, 0));
    return QGuiApplication::primaryScreen()
        ->grabWindow(0, origin.x(), origin.y(), w->width(), w->height())
        .toImage();
}

int countRed(const QImage &image)
{
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            n += isClipRed(image.pixel(x, y));
    return n;
}

bool xdotool(const QStringList &args)
{
    return testenv::run("xdotool", args, 10000).exitCode == 0;
}

class VideoOnX11 : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (QGuiApplication::platformName() != "xcb")
            GTEST_SKIP() << "needs an X server (platform "
                         << qPrintable(QGuiApplication::platformName()) << ")";
        testenv::useQuietHome(true); // sound to nowhere, pictures to the window
        m_app = testenv::scratchDir("app");
        QFile::link("/usr/bin/mplayer", m_app + "/mplayer");
        QDir::setCurrent(m_app);
        // Bindings a desktop keyboard produces: Return is the centre key, Escape cancel.
        testenv::writeFile(m_app + "/.xmms/tavrin_cfg",
                           "[tvskin]\nkey_enter=" + QByteArray::number(PhoneKeys::Centre) +
                               "\nkey_cancel=" + QByteArray::number(PhoneKeys::Cancel) + "\n");
        m_clip = makeClip(m_app);
        ASSERT_FALSE(m_clip.isEmpty()) << "mencoder could not make the clip";
    }
    void TearDown() override
    {
        if (m_engine)
            m_engine->killChild();
    }

    QString m_app;
    QString m_clip;
    std::unique_ptr<Engine> m_engine;
};

TEST_F(VideoOnX11, pictureShowsInsideTheWindowAndKeysDriveMplayer)
{
    m_engine = std::make_unique<Engine>();
    int quits = 0;
    QObject::connect(m_engine.get(), &Engine::onQuit, [&] { ++quits; });
    ASSERT_TRUE(m_engine->play(m_clip));
    QPointer<VideoPlayer> w = m_engine->videoWindow();
    ASSERT_TRUE(w);
    EXPECT_EQ(w->size(), QSize(240, 320));
    w->move(380, 140); // away from where a window of mplayer's own would appear
    ASSERT_TRUE(testenv::waitFor([&] {
        return w && w->isVisible() && w->windowHandle()->isExposed();
    })) << "the video window went away before it was shown";

    // The clip's red fills a good part of the window (160 x 120 at least, scaled or not).
    QImage shot;
    const bool drawn = testenv::waitFor(
        [&] {
            shot = screenOf(w);
            return countRed(shot) > 160 * 120 / 2;
        },
        10000);
    EXPECT_TRUE(drawn) << "red pixels in the window: " << countRed(shot);
    const QImage outside =
        QGuiApplication::primaryScreen()->grabWindow(0, 0, 0, 370, 480).toImage();
    EXPECT_EQ(countRed(outside), 0) << "mplayer draws outside our window";

    // Playing: the bar moves between two looks.
    const QImage a = screenOf(w);
    testenv::waitFor([] { return false; }, 600);
    EXPECT_NE(a, screenOf(w)) << "the picture does not move";

    // Return through the X server: our window takes it (not mplayer) and sends "pause".
    ASSERT_TRUE(xdotool({"windowfocus", "--sync", QString::number(w->winId())}));
    testenv::waitFor([] { return false; }, 200);
    ASSERT_TRUE(xdotool({"key", "--window", QString::number(w->winId()), "Return"}));
    testenv::waitFor([] { return false; }, 800);
    const QImage paused = screenOf(w);
    testenv::waitFor([] { return false; }, 800);
    EXPECT_EQ(paused, screenOf(w)) << "the picture still moves after the pause key";
    EXPECT_GT(countRed(paused), 160 * 120 / 2);

    // Escape is the cancel key: mplayer quits, the window goes, the playlist does not advance.
    const pid_t pid = m_engine->pid();
    ASSERT_TRUE(xdotool({"key", "--window", QString::number(w->winId()), "Escape"}));
    EXPECT_TRUE(testenv::waitFor([&] { return ::kill(pid, 0) != 0; }, 5000));
    EXPECT_TRUE(testenv::waitFor([&] { return w.isNull(); }, 3000));
    testenv::waitFor([] { return false; }, 1200);
    EXPECT_EQ(quits, 0);
}

} // namespace
