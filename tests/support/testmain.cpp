// One main for every test program: a QApplication exists before any test runs.
#include <QApplication>
#include <QDir>
#include <gtest/gtest.h>

int main(int argc, char **argv)
{
    // The temporary folder ctest gives each test program may have been cleared since.
    const QByteArray tmp = qgetenv("TMPDIR");
    if (!tmp.isEmpty())
        QDir().mkpath(QString::fromLocal8Bit(tmp));
    const QByteArray home = qgetenv("HOME");
    if (!home.isEmpty())
        QDir().mkpath(QString::fromLocal8Bit(home));
    // The user's cache folder follows HOME, whichever scratch HOME a test sets, and never
    // lands in the real cache of the account running the tests.
    qunsetenv("XDG_CACHE_HOME");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
