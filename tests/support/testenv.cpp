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

Footprint footprint(qint64 pid)
{
    const QString proc =
        pid > 0 ? QStringLiteral("/proc/%1").arg(pid) : QStringLiteral("/proc/self");
    Footprint f;
    f.descriptors = int(QDir(proc + "/fd").entryList(QDir::Files | QDir::System).size());
    const QStringList tasks = QDir(proc + "/task").entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString &t : tasks)
        for (const QByteArray &child : readFile(proc + "/task/" + t + "/children").split(' '))
            f.children += child.trimmed().isEmpty() ? 0 : 1;
    // "VmRSS:    12345 kB"
    for (const QByteArray &line : readFile(proc + "/status").split('\n'))
        if (line.startsWith("VmRSS:"))
            f.residentKiB = line.mid(6).trimmed().split(' ').value(0).toLong();
    return f;
}

namespace
{
// Calls f(name, member, first quarter's mean, last quarter's mean) for each measure.
template <typename F> bool eachQuarterMean(const QList<Footprint> &samples, F f)
{
    const qsizetype quarter = samples.size() / 4;
    if (quarter == 0)
        return false;
    const auto mean = [&](qsizetype from, auto member) {
        double sum = 0;
        for (qsizetype i = from; i < from + quarter; ++i)
            sum += double(samples.at(i).*member);
        return sum / double(quarter);
    };
    const auto one = [&](const char *name, auto member) {
        f(name, member, mean(0, member), mean(samples.size() - quarter, member));
    };
    one("descriptors", &Footprint::descriptors);
    one("children", &Footprint::children);
    one("resident KiB", &Footprint::residentKiB);
    return true;
}
} // namespace

QString growth(const QList<Footprint> &samples, const Footprint &allowed)
{
    QStringList grown;
    const bool enough =
        eachQuarterMean(samples, [&](const char *name, auto member, double first, double last) {
            if (allowed.*member >= 0 && last - first > double(allowed.*member))
                grown << QStringLiteral("%1 %2 -> %3").arg(name).arg(first).arg(last);
        });
    return enough ? grown.join(QStringLiteral(", ")) : QStringLiteral("too few samples");
}

QString summary(const QList<Footprint> &samples)
{
    QStringList parts;
    eachQuarterMean(samples, [&](const char *name, auto, double first, double last) {
        parts << QStringLiteral("%1 %2 -> %3").arg(name).arg(first, 0, 'f', 1).arg(last, 0, 'f', 1);
    });
    return QStringLiteral("%1 samples: %2")
        .arg(samples.size())
        .arg(parts.join(QStringLiteral(", ")));
}

int soakCycles(int count)
{
    bool ok = false;
    const int wanted = qEnvironmentVariableIntValue("ORBAL_SOAK_CYCLES", &ok);
    return ok && wanted > 0 ? wanted : count;
}

} // namespace testenv
