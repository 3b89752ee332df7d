// A stand-in for xmms 1.2: serves its control socket for session 0 and plays the playlist
// through mplayer. Started from the application directory, whose ".xmms" it uses.
#include "audio/xmmsctrl.h"
#include "audio/xmmsprotocol.h"
#include "standins/xmms/controlserver.h"
#include "standins/xmms/standinplayer.h"

#include <QCoreApplication>
#include <QSocketNotifier>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <sys/socket.h>
#include <unistd.h>

namespace
{

int g_signalPipe[2] = {-1, -1};

void onTerminate(int)
{
    const char byte = 1;
    [[maybe_unused]] const ssize_t n = ::write(g_signalPipe[1], &byte, 1);
}

} // namespace

int main(int argc, char *argv[])
{
    std::signal(SIGPIPE, SIG_IGN);
    // Like xmms without "allow multiple instances": one answers already, so nothing to do.
    if (xmms_remote_is_running(0))
        return 0;

    QCoreApplication app(argc, argv);
    StandinPlayer player;
    player.loadState();
    ControlServer server([&player](uint16_t command, const QByteArray &payload) {
        return player.handle(command, payload);
    });
    const QByteArray path = XmmsProtocol::socketPath(0);
    if (!server.listen(path)) {
        if (errno == EADDRINUSE)
            return 0; // another one started at the same moment and won
        std::fprintf(stderr, "xmms: cannot serve %s: %s\n", path.constData(), std::strerror(errno));
        return 1;
    }

    bool quitting = false;
    const auto quit = [&] {
        if (quitting)
            return;
        quitting = true;
        // Gone from the socket first, so a new instance can start while we wind down.
        server.close();
        player.shutdown();
        player.saveState();
        app.quit();
    };
    QObject::connect(&player, &StandinPlayer::quitRequested, &app, quit);
    QObject::connect(&server, &ControlServer::lost, &app, quit);

    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, g_signalPipe) == 0) {
        auto *notifier = new QSocketNotifier(g_signalPipe[0], QSocketNotifier::Read, &app);
        QObject::connect(notifier, &QSocketNotifier::activated, &app, quit);
        for (int sig : {SIGTERM, SIGINT, SIGHUP})
            std::signal(sig, onTerminate);
    }
    return app.exec();
}
