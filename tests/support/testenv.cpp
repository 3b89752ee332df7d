#include "testenv.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <memory>
#include <vector>

namespace testenv
{

QString sourceDir()
{
    return qEnvironmentVariable("ORBAL_SOURCE_DIR");
}
QString binaryDir()
{
    return qEnvironmentVariable("ORBAL_BINARY_DIR");
}

QString scratchDir(const QString &name)
{
    static std::vector<std::unique_ptr<QTemporaryDir>> dirs;
    auto dir = std::make_unique<QTemporaryDir>(QDir::tempPath() + "/orbal-test-XXXXXX");
    QString path = dir->path();
    if (!name.isEmpty()) {
        path += "/" + name;
        QDir().mkpath(path);
    }
    dirs.push_back(std::move(dir));
    return path;
}

QString useQuietHome(bool keepVideo)
{
    QString home = scratchDir("home");
    QByteArray config = "ao=null\n";
    if (!keepVideo)
        config += "vo=null\n";
    writeFile(home + "/.mplayer/config", config);
    qputenv("HOME", home.toLocal8Bit());
    return home;
}

bool waitFor(const std::function<bool()> &pred, int ms)
{
    QDeadlineTimer deadline(ms);
    while (!pred()) {
        if (deadline.hasExpired())
            return pred();
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(5);
    }
    return true;
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    return f.write(bytes) == bytes.size();
}

QByteArray readFile(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return QByteArray();
    return f.readAll();
}

bool setModified(const QString &path, const QDateTime &time)
{
    QFile f(path); // the time can only be set through an open file
    return f.open(QIODevice::ReadWrite) && f.setFileTime(time, QFileDevice::FileModificationTime);
}

ProcessResult run(const QString &program, const QStringList &args, int ms, const QString &workDir)
{
    ProcessResult r;
    QProcess p;
    if (!workDir.isEmpty())
        p.setWorkingDirectory(workDir);
    p.start(program, args);
    if (!p.waitForStarted(ms)) {
        r.err = "could not start " + program.toLocal8Bit();
        return r;
    }
    p.closeWriteChannel();
    if (!p.waitForFinished(ms)) {
        p.kill();
        p.waitForFinished(1000);
        r.err = "timed out";
        return r;
    }
    r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = p.readAllStandardOutput();
    r.err = p.readAllStandardError();
    return r;
}

QString makeMp3(const QString &path, double seconds, int bitrate)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QString wav = path + ".wav";
    ProcessResult s = run("sox", {"-n", "-r", "44100", "-c", "2", "-b", "16", wav, "synth",
                                  QString::number(seconds), "sine", "440", "vol", "0.3"});
    if (s.exitCode != 0)
        return QString();
    ProcessResult l = run("lame", {"--quiet", "-b", QString::number(bitrate), "--cbr", wav, path});
    QFile::remove(wav);
    return l.exitCode == 0 ? path : QString();
}

} // namespace testenv
