#include "standins/xmms/lengthprobe.h"

#include "standins/xmms/mplayerlaunch.h"

#include <QProcess>
#include <QTimer>
#include <cmath>

namespace
{

// A file mplayer chokes on must not hold up the rest of the list.
constexpr int ProbeLimitMs = 5000;

int lengthFromOutput(const QByteArray &output)
{
    int length = -1;
    for (const QByteArray &line : output.split('\n')) {
        if (!line.startsWith("ID_LENGTH="))
            continue;
        bool ok = false;
        const double seconds = line.mid(10).trimmed().toDouble(&ok);
        if (ok && std::isfinite(seconds) && seconds > 0 && seconds < 1e7)
            length = int(std::lround(seconds * 1000));
    }
    return length;
}

} // namespace

LengthProbe::LengthProbe(QObject *parent) : QObject(parent), m_limit(new QTimer(this))
{
    m_limit->setSingleShot(true);
    connect(m_limit, &QTimer::timeout, this, [this] {
        if (m_process)
            m_process->kill();
    });
}

LengthProbe::~LengthProbe()
{
    clear();
}

void LengthProbe::enqueue(const QByteArray &path)
{
    m_queue.append(path);
    if (!m_process)
        startNext();
}

void LengthProbe::clear()
{
    m_queue.clear();
    if (m_process) {
        m_process->disconnect(this);
        m_process->kill();
        m_process->waitForFinished(1000);
        delete m_process;
        m_process = nullptr;
    }
    m_limit->stop();
}

QProcess *LengthProbe::makeProcess(const QByteArray &path)
{
    auto *process = new QProcess(this);
    process->setProcessChannelMode(QProcess::MergedChannels);
    process->setStandardInputFile(QProcess::nullDevice());
    QStringList arguments = MplayerLaunch::commonArguments();
    arguments << QStringLiteral("-ao") << QStringLiteral("null") << QStringLiteral("-frames")
              << QStringLiteral("0") << QStringLiteral("--") << MplayerLaunch::pathArgument(path);
    process->setProgram(MplayerLaunch::program());
    process->setArguments(arguments);
    return process;
}

void LengthProbe::startNext()
{
    if (m_queue.isEmpty())
        return;
    m_current = m_queue.takeFirst();
    m_process = makeProcess(m_current);
    connect(m_process, &QProcess::finished, this, &LengthProbe::finish);
    connect(m_process, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart)
            finish();
    });
    m_process->start();
    m_limit->start(ProbeLimitMs);
}

void LengthProbe::probeNow(const QByteArray &path, int budgetMs)
{
    if (m_process && m_current == path) {
        // Already under way: finish() reports it when it ends in time.
        m_process->waitForFinished(budgetMs);
        return;
    }
    m_queue.removeAll(path);
    QProcess *process = makeProcess(path);
    process->start();
    if (process->waitForFinished(budgetMs)) {
        const int length = lengthFromOutput(process->readAll());
        delete process;
        emit lengthFound(path, length);
        return;
    }
    process->kill();
    process->waitForFinished(1000);
    delete process;
    enqueue(path);
}

void LengthProbe::finish()
{
    if (!m_process)
        return;
    m_limit->stop();
    const int length = lengthFromOutput(m_process->readAll());
    m_process->disconnect(this);
    m_process->deleteLater();
    m_process = nullptr;
    emit lengthFound(m_current, length);
    startNext();
}
