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

void LengthProbe::startNext()
{
    if (m_queue.isEmpty())
        return;
    m_current = m_queue.takeFirst();
    m_process = new QProcess(this);
    m_process->setProcessChannelMode(QProcess::MergedChannels);
    m_process->setStandardInputFile(QProcess::nullDevice());
    connect(m_process, &QProcess::finished, this, &LengthProbe::finish);
    connect(m_process, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart)
            finish();
    });
    QStringList arguments = MplayerLaunch::commonArguments();
    arguments << QStringLiteral("-ao") << QStringLiteral("null") << QStringLiteral("-frames")
              << QStringLiteral("0") << QStringLiteral("--")
              << MplayerLaunch::pathArgument(m_current);
    m_process->start(MplayerLaunch::program(), arguments);
    m_limit->start(ProbeLimitMs);
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
