#include "video/engine.h"

#include "audio/mixer.h"
#include "dropin/kconfig.h"
#include "dropin/settingsnames.h"
#include "platform/logging.h"
#include "platform/pathcodec.h"
#include "platform/power.h"
#include "video/videoplayer.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSocketNotifier>
#include <QTimer>
#include <QWidget>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace
{

// The bass-booster setting, read when the engine is built; re-applied after mplayer
// answers, because mplayer resets the phone's output routing.
bool g_bassBooster = false;

constexpr const char *kAudioTypes[] = {"AMR", "OGG", "3GP", "WMA", "MP3", "PLS",
                                       "MP4", "RM",  "M4A", "ACC", "WAV", "RAM"};
constexpr const char *kVideoTypes[] = {"AVI", "3GP", "WMV", "MPG",  "ASF", "RM", "RMVB",
                                       "DAT", "MP4", "WOV", "MPEG", "SWF", "FLV"};

template <size_t N> bool inList(const char *const (&list)[N], const QString &suffix)
{
    for (const char *type : list)
        if (suffix == QLatin1String(type))
            return true;
    return false;
}

QString upperSuffix(const QString &path)
{
    return QFileInfo(path).suffix().toUpper();
}
QString lastThree(const QString &path)
{
    return path.right(3).toUpper();
}

// One argument row: added when its condition holds.
using OptionFlag = bool EngineOptions::*;
struct Row {
    OptionFlag flag; // nullptr: always
    const char *args[4];
};

constexpr Row kAudioHead[] = {
    {nullptr, {"./mplayer", "-slave", "-quiet", "-nortc"}},
    {nullptr, {"-af", "channels=2"}},
    {&EngineOptions::karaoke, {"-af", "karaoke=1"}},
};
constexpr Row kAudioLoop = {&EngineOptions::loop, {"-loop", "0"}};

constexpr Row kVideoHead[] = {
    {nullptr, {"./mplayer", "-af", "channels=2"}},
    {&EngineOptions::nosound, {"-nosound"}},
    {nullptr, {"-slave", "-quiet", "-nortc"}},
    {&EngineOptions::Lstereo, {"-af", "channels=2:2:0:0:0:1,volume=-15"}},
    {&EngineOptions::Rstereo, {"-af", "channels=2:2:1:0:1:1,volume=-15"}},
    {&EngineOptions::framedrop, {"-framedrop"}},
};
constexpr Row kVideoTail[] = {
    {&EngineOptions::autosync, {"-autosync", "60"}},
    {&EngineOptions::loop, {"-loop", "0"}},
    {&EngineOptions::scale, {"-vf", "expand=0:0:::1,scale=-3:240:0:0,rotate=2"}},
    {&EngineOptions::crop, {"-vf", "expand=320:240:::1,crop=320:240:-1:-1,rotate=2"}},
    {&EngineOptions::Tspeed, {"-vf", "expand=0:0:::1,scale=320:240:0:0,rotate=2"}},
    {&EngineOptions::speed, {"-vf", "rotate=4,scale=240:-2:0:0,"}},
};

void addRow(QList<QByteArray> &out, const Row &row, const EngineOptions &options)
{
    if (row.flag && !(options.*row.flag))
        return;
    for (const char *arg : row.args)
        if (arg)
            out << QByteArray(arg);
}

template <size_t N>
void addRows(QList<QByteArray> &out, const Row (&rows)[N], const EngineOptions &options)
{
    for (const Row &row : rows)
        addRow(out, row, options);
}

void closeFd(int &fd)
{
    if (fd >= 0)
        ::close(fd);
    fd = -1;
}

// Our child's state without touching anyone else's: reaps it when it has ended.
bool childAlive(pid_t pid)
{
    if (pid <= 0)
        return false;
    int status = 0;
    pid_t r = ::waitpid(pid, &status, WNOHANG);
    if (r == pid)
        return false;
    if (r == 0)
        return true;
    // EINTR aside, an error means it is no longer ours to wait for: gone (and possibly
    // reaped by the system), so its pid must never be signalled again.
    return r < 0 && errno == EINTR;
}

} // namespace

EngineOptions EngineOptions::read(KConfig &config)
{
    config.setGroup(settings::kOption);
    EngineOptions o;
    o.nosound = config.readBoolEntry("nosound", false);
    o.karaoke = config.readBoolEntry("karaoke", false);
    o.Lstereo = config.readBoolEntry("Lstereo", false);
    o.Rstereo = config.readBoolEntry("Rstereo", false);
    o.framedrop = config.readBoolEntry("framedrop", false);
    o.nedtc = config.readBoolEntry("nedtc", false);
    o.autosync = config.readBoolEntry("autosync", false);
    o.loop = config.readBoolEntry("loop", false);
    o.scale = config.readBoolEntry("scale", false);
    o.crop = config.readBoolEntry("crop", false);
    o.Tspeed = config.readBoolEntry("Tspeed", false);
    o.speed = config.readBoolEntry("speed", false);
    return o;
}

Engine::Engine(QObject *parent, const char *name) : QObject(parent)
{
    setObjectName(QString::fromLatin1(name ? name : "Engine"));
    m_appDir = QDir::currentPath();
    m_pollTimer = new QTimer(this);
    m_pollTimer->setTimerType(Qt::VeryCoarseTimer); // on the window's status-poll beat
    connect(m_pollTimer, &QTimer::timeout, this, &Engine::sltTimer);
    m_pollTimer->start(1000);

    KConfig config(settings::playerFile(m_appDir), true);
    config.setGroup(settings::kOss);
    g_bassBooster = config.readBoolEntry("ezx_bass_booster", false);
}

Engine::~Engine()
{
    if (m_videoWindow)
        delete m_videoWindow;
    closeChannels();
    reapOrphans();
}

bool Engine::isAudioType(const QString &path)
{
    return inList(kAudioTypes, upperSuffix(path));
}
bool Engine::isVideoType(const QString &path)
{
    return inList(kVideoTypes, upperSuffix(path));
}

Engine::Mode Engine::modeOf(const QString &path)
{
    if (!isAudioType(path) && !isVideoType(path))
        return Mode::None;
    if (!PathCodec::isRegularFile(path))
        return Mode::None;
    return isVideoType(path) ? Mode::Video : Mode::Audio;
}

QList<QByteArray> Engine::arguments(Mode mode, const QString &path, const EngineOptions &options)
{
    QList<QByteArray> out;
    if (mode == Mode::Audio) {
        addRows(out, kAudioHead, options);
        if (lastThree(path) == QLatin1String("WMA"))
            out << "-af"
                << "resample=11025:0:1,volume=10";
        addRow(out, kAudioLoop, options);
    } else {
        addRows(out, kVideoHead, options);
        static constexpr const char *kSliced[] = {"AVI", "WMV", "ASF", "MP4"};
        if (inList(kSliced, lastThree(path))) {
            out << "-noslices";
            if (options.nedtc)
                out << "-lavdopts"
                    << "idct=7";
            out << "-lavdopts"
                << "skipframe=bidir";
        }
        addRows(out, kVideoTail, options);
    }
    // Byte for byte as the list held it, also where the name is not UTF-8.
    QByteArray file = PathCodec::encode(path);
    if (file.startsWith('-'))
        file.prepend("./");
    out << file;
    return out;
}

QList<QByteArray> Engine::windowArguments(unsigned long long windowId)
{
    return {"-wid", QByteArray::number(windowId), "-nomouseinput", "-input",
            "nodefault-bindings:conf=/dev/null"};
}

QList<QByteArray> Engine::commandLine(Mode mode, const QString &path,
                                      const EngineOptions &options) const
{
    QList<QByteArray> args = arguments(mode, PathCodec::absolute(path), options);
    // Without a mixer device the volume is the child's own, on a scale where 100 is full.
    if (!MixerDevice::available())
        args = args.mid(0, 1) +
               QList<QByteArray>{"-softvol", "-volume", QByteArray::number(m_volume)} + args.mid(1);
    return args;
}

bool Engine::openChannels()
{
    // Close-on-exec: no later child (of ours or of the shell) inherits these ends.
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, m_cmdPair) != 0) {
        m_cmdPair[0] = m_cmdPair[1] = -1;
        return false;
    }
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, m_outPair) != 0) {
        m_outPair[0] = m_outPair[1] = -1;
        closeChannels();
        return false;
    }
    ::fcntl(m_outPair[0], F_SETFL, ::fcntl(m_outPair[0], F_GETFL) | O_NONBLOCK);
    m_notifier = new QSocketNotifier(m_outPair[0], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this,
            [this](QSocketDescriptor fd) { sltSocketData(int(fd)); });
    return true;
}

pid_t Engine::startChild(QList<QByteArray> args)
{
    // Children are reaped through their pid (childAlive), so SIGCHLD keeps its default and
    // the exit statuses of other programs we run stay intact.
    ::signal(SIGPIPE, SIG_IGN);

    // Everything the child needs is built before the fork: after it only exec-safe calls.
    std::vector<char *> argv;
    for (QByteArray &arg : args)
        argv.push_back(arg.data());
    argv.push_back(nullptr);

    // Tells the front-end whether exec worked: closed by a successful exec, written to when
    // it fails.
    int execStatus[2] = {-1, -1};
    if (::pipe2(execStatus, O_CLOEXEC) != 0)
        return 0;

    const pid_t frontEnd = ::getpid();
    const pid_t pid = ::fork();
    if (pid == 0) {
        // Should the front-end die without closing (killed, crashed), the player goes too
        // instead of playing on unseen; SIGKILL, since a player may ignore SIGTERM.
        ::prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (::getppid() != frontEnd)
            ::_exit(127);
        ::dup2(m_cmdPair[0], STDIN_FILENO);
        ::dup2(m_outPair[1], STDOUT_FILENO);
        ::dup2(m_outPair[1], STDERR_FILENO);
        ::signal(SIGPIPE, SIG_DFL);
        ::execvp(argv[0], argv.data());
        const int error = errno;
        (void)!::write(execStatus[1], &error, sizeof error);
        ::_exit(127);
    }
    ::close(execStatus[1]);
    int execError = 0;
    ssize_t got = -1;
    if (pid > 0) {
        do
            got = ::read(execStatus[0], &execError, sizeof execError);
        while (got < 0 && errno == EINTR);
    }
    ::close(execStatus[0]);
    if (got > 0) {
        qCWarning(lcVideo) << "cannot run" << argv[0] << ::strerror(execError);
        ::waitpid(pid, nullptr, 0);
        return 0;
    }
    qCDebug(lcVideo) << "started" << args << "pid" << pid;
    return pid > 0 ? pid : 0;
}

void Engine::showVideoWindow(VideoPlayer *window)
{
    PM_setupLcdSleepTime(0);
    m_videoWindow = window;
    // On a desktop the phone's screen is the main window: cover it.
    if (auto *owner = qobject_cast<QWidget *>(parent()))
        window->move(owner->window()->pos());
    window->show();
    window->activateWindow();
    window->setFocus();
}

bool Engine::play(const QString &path)
{
    KConfig config(settings::frontEndFile(m_appDir), true);
    const EngineOptions options = EngineOptions::read(config);

    // A window whose child ended unnoticed goes too, not only a running child.
    if (isRunning() || m_videoWindow)
        stop();
    closeChannels();
    m_noSound = false;

    const Mode mode = modeOf(path);
    if (mode == Mode::None || !openChannels())
        return false;

    QList<QByteArray> args = commandLine(mode, path, options);
    // The window exists before mplayer starts so that mplayer can draw into it.
    VideoPlayer *window = nullptr;
    if (mode == Mode::Video) {
        window = new VideoPlayer(nullptr, this);
        args << windowArguments(window->winId());
    }
    m_pid = startChild(args);
    m_started = m_pid > 0 ? 1 : 0;
    closeFd(m_cmdPair[0]);
    closeFd(m_outPair[1]);
    m_pending.clear();
    m_discarding = false;
    if (!isRunning()) {
        delete window;
        m_started = 0;
        closeChannels();
        return false;
    }

    m_mode = mode;
    m_userQuit = false;
    m_videoShown = window != nullptr;
    if (window)
        showVideoWindow(window);
    m_lengthDue = 1;
    m_boosterAtStart = 1;
    return isRunning();
}

bool Engine::isRunning()
{
    if (!m_started)
        return false;
    return childAlive(m_pid);
}

void Engine::stop()
{
    sendCommand("quit");
    quit();
    if (isRunning())
        m_orphans.append({m_pid, 0});
    closeChannels();

    if (VideoPlayer *window = m_videoWindow) {
        // Cleared first: hiding the window may lead back here through its focus loss.
        m_videoWindow = nullptr;
        window->hide();
        // We may be inside one of the window's own handlers.
        window->deleteLater();
        emit onNeedGUI();
        PM_setupLcdSleepTime(30);
    }
    m_started = 0;
}

bool Engine::sendCommand(const QString &command)
{
    const QByteArray line = command.toLatin1() + '\n';
    if (m_cmdPair[1] >= 0)
        // A child that stopped reading must not freeze the window: when its buffer is
        // full the command is dropped.
        (void)::send(m_cmdPair[1], line.constData(), size_t(line.size()),
                     MSG_NOSIGNAL | MSG_DONTWAIT);
    m_boosterDue = 1;
    return true;
}

void Engine::pause()
{
    sendCommand("pause");
}

void Engine::seek(int type, int value)
{
    sendCommand(QString("seek %1 %2").arg(value).arg(type));
}

void Engine::setVolume(int volume)
{
    sendCommand(QString("volume %1").arg(volume));
}

void Engine::applyVolume(int volume)
{
    m_volume = qBound(0, volume, 100);
    // Desktops have no OSS mixer: the child turns its own output up and down.
    if (MixerDevice::available())
        mixer_set_volume(volume);
    else
        sendCommand(QStringLiteral("volume %1 1").arg(m_volume));
}

void Engine::quit()
{
    sendCommand("quit");
}

void Engine::quitByUser()
{
    m_userQuit = true;
    sendCommand("quit");
}

void Engine::killChild()
{
    if (m_started || m_videoWindow)
        stop();
    for (const Orphan &o : std::as_const(m_orphans))
        ::kill(o.pid, SIGTERM);
    // A short, bounded grace before the hard way.
    for (int i = 0; i < 40 && !m_orphans.isEmpty(); ++i) {
        reapOrphans();
        if (!m_orphans.isEmpty())
            ::usleep(5000);
    }
    for (const Orphan &o : std::as_const(m_orphans)) {
        ::kill(o.pid, SIGKILL);
        ::waitpid(o.pid, nullptr, 0);
    }
    m_orphans.clear();
}

void Engine::closeChannels()
{
    if (m_notifier) {
        m_notifier->setEnabled(false);
        // May be inside the notifier's own signal.
        m_notifier->deleteLater();
        m_notifier = nullptr;
    }
    closeFd(m_cmdPair[0]);
    closeFd(m_cmdPair[1]);
    closeFd(m_outPair[0]);
    closeFd(m_outPair[1]);
    m_pending.clear();
    m_discarding = false;
    ++m_generation;
}

void Engine::reapOrphans()
{
    for (int i = m_orphans.size() - 1; i >= 0; --i)
        if (!childAlive(m_orphans[i].pid))
            m_orphans.removeAt(i);
}

void Engine::sltSocketData(int fd)
{
    // Bounded per wake-up so that a child printing without pause cannot hold the window.
    constexpr int MaxBytesPerWake = 256 * 1024;
    char buffer[1024];
    int total = 0;
    while (fd >= 0 && fd == m_outPair[0] && total < MaxBytesPerWake) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer - 1);
        if (n == 0 || (n < 0 && errno != EAGAIN && errno != EINTR)) {
            // The child closed its output: stop watching, or the notifier would spin.
            if (m_notifier)
                m_notifier->setEnabled(false);
            break;
        }
        if (n < 0)
            break;
        total += int(n);
        parseOutput(QByteArray(buffer, int(n)));
    }
    if (m_boosterDue) {
        m_boosterDue = 0;
        mixer_set_bass_booster(g_bassBooster ? 0 : 60);
    }
}

void Engine::parseOutput(const QByteArray &chunk)
{
    // Only the new bytes are searched, so a long unfinished line costs nothing per chunk.
    const quint64 generation = m_generation;
    qsizetype start = 0;
    qsizetype newline;
    while ((newline = chunk.indexOf('\n', start)) >= 0) {
        const qsizetype piece = newline - start;
        if (m_discarding || m_pending.size() + piece > MaxPendingBytes) {
            m_discarding = false; // the end of an overlong line: dropped whole
            m_pending.clear();
        } else {
            m_pending.append(chunk.constData() + start, piece);
            QByteArray line;
            line.swap(m_pending);
            if (line.endsWith('\r'))
                line.chop(1);
            handleLine(line);
            if (generation != m_generation)
                return; // stopped: the rest belonged to the old child
        }
        start = newline + 1;
    }
    if (m_discarding)
        return;
    m_pending.append(chunk.constData() + start, chunk.size() - start);
    if (m_pending.size() > MaxPendingBytes) {
        m_pending.clear();
        m_discarding = true;
    }
}

void Engine::logLine(const QByteArray &line)
{
    // A child that prints without pause must not flood the log: a bounded number of lines a
    // second, and a count of the rest.
    if (!lcVideoOutput().isDebugEnabled())
        return;
    if (!m_logWindow.isValid() || m_logWindow.elapsed() >= 1000) {
        if (m_logDropped > 0)
            qCDebug(lcVideoOutput) << m_logDropped << "lines not shown";
        m_logWindow.start();
        m_logShown = 0;
        m_logDropped = 0;
    }
    if (m_logShown < MaxLoggedLinesPerSecond) {
        ++m_logShown;
        qCDebug(lcVideoOutput, "%.*s", int(qMin<qsizetype>(line.size(), 512)), line.constData());
    } else {
        ++m_logDropped;
    }
}

void Engine::handleLine(const QByteArray &line)
{
    logLine(line);
    emit outputLine(line);
    if (UTIL_GetPhoneInCall() == 1)
        stop();
    if (line.startsWith("Audio: no sound"))
        m_noSound = true;
    if (!m_videoShown && (line.startsWith("Starting playback...") || line.startsWith("OK!")))
        emit ontimeout();
    if (m_boosterAtStart) {
        m_boosterDue = 1;
        m_boosterAtStart = 0;
    }
    if (m_lengthDue) {
        sendCommand("get_time_length");
        m_lengthDue = 0;
    }
    if (line.startsWith("ANS_LENGTH=")) {
        QByteArray value = line.mid(line.indexOf('=') + 1);
        value.chop(3); // ".dd"
        bool ok = false;
        const int seconds = value.toInt(&ok);
        m_length = ok ? seconds : 0;
    }
}

void Engine::sltTimer()
{
    reapOrphans();
    // A child that ignores "quit" is terminated after a few seconds, then killed.
    for (Orphan &o : m_orphans) {
        ++o.age;
        if (o.age == 5)
            ::kill(o.pid, SIGTERM);
        else if (o.age >= 8)
            ::kill(o.pid, SIGKILL);
    }
    if (m_started && !isRunning()) {
        m_started = 0;
        stop();
        if (!m_userQuit)
            emit onQuit();
    }
    m_lengthDue = 1;
}
