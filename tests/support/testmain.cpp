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
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
