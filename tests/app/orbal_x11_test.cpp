// The program as a user meets it: orbal started in an application directory under a real
// X server, driven with real pointer and key events (xdotool), playing through the real
// mplayer to the null output.
#include "tests/skin/painting/testskin.h"
#include "tests/support/testenv.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QThread>
#include <gtest/gtest.h>

namespace
{

QString childMplayer(qint64 parent)
{
    const auto r = testenv::run(
        QStringLiteral("pgrep"),
        {QStringLiteral("-P"), QString::number(parent), QStringLiteral("mplayer")}, 5000);
    return QString::fromLatin1(r.out).trimmed();
}

QImage windowShot(const QString &window, const QString &dir)
{
    const QString file = dir + QStringLiteral("/shot.png");
    testenv::run(QStringLiteral("import"), {QStringLiteral("-window"), window, file}, 10000);
    return QImage(file);
}

TEST(OrbalX11, playNextAndExitWithRealEvents)
{
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        GTEST_SKIP() << "needs an X server";
    const QString home = testenv::useQuietHome();
    const QString app = testenv::scratchDir(QStringLiteral("orbal"));
    testskin::writeSkin(app);
    QFile::link(QStringLiteral("/usr/bin/mplayer"), app + QStringLiteral("/mplayer"));
    const QString a = testenv::makeMp3(app + QStringLiteral("/mmc/a.mp3"), 20.0);
    const QString b = testenv::makeMp3(app + QStringLiteral("/mmc/b.mp3"), 20.0);
    testenv::writeFile(app + QStringLiteral("/.xmms/xmms.m3u"), (a + '\n' + b + '\n').toUtf8());

    QProcess orbal;
    orbal.setWorkingDirectory(app);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("HOME"), home);
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    orbal.setProcessEnvironment(env);
    orbal.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    orbal.setStandardOutputFile(QProcess::nullDevice());
    orbal.start(testenv::binaryDir() + QStringLiteral("/bin/orbal"), {});
    ASSERT_TRUE(orbal.waitForStarted(5000));
    const QString pid = QString::number(orbal.processId());

    QString window;
    ASSERT_TRUE(testenv::waitFor(
        [&] {
            const auto r = testenv::run(QStringLiteral("xdotool"),
                                        {QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                                         QStringLiteral("--pid"), pid},
                                        5000);
            window = QString::fromLatin1(r.out).split(QLatin1Char('\n')).value(0).trimmed();
            return !window.isEmpty();
        },
        10000));
    auto click = [&](int x, int y) {
        testenv::run(QStringLiteral("xdotool"),
                     {QStringLiteral("mousemove"), QStringLiteral("--window"), window,
                      QString::number(x), QString::number(y), QStringLiteral("click"),
                      QStringLiteral("1")});
    };

    click(47, 258); // play
    QString first;
    ASSERT_TRUE(testenv::waitFor(
        [&] { return !(first = childMplayer(orbal.processId())).isEmpty(); }, 8000));
    // The digits advance while it plays (seconds cells at x 40-60, y 50-66).
    const QImage before = windowShot(window, app).copy(40, 50, 20, 16);
    QThread::sleep(2);
    const QImage after = windowShot(window, app).copy(40, 50, 20, 16);
    EXPECT_FALSE(before.isNull());
    EXPECT_NE(before, after);

    testenv::run(QStringLiteral("xdotool"), {QStringLiteral("key"), QStringLiteral("--window"),
                                             window, QStringLiteral("End")});
    QString second;
    EXPECT_TRUE(testenv::waitFor(
        [&] {
            second = childMplayer(orbal.processId());
            return !second.isEmpty() && second != first;
        },
        8000));

    click(215, 9); // exit
    EXPECT_TRUE(orbal.waitForFinished(10000));
    // Closing ends our own mplayer child.
    EXPECT_TRUE(
        testenv::waitFor([&] { return !QFile::exists(QStringLiteral("/proc/") + second); }, 8000));
    EXPECT_TRUE(testenv::readFile(app + QStringLiteral("/.xmms/config")).contains("Volume=45"));
    if (orbal.state() != QProcess::NotRunning) {
        orbal.kill();
        orbal.waitForFinished(3000);
    }
}

} // namespace
