#include "standins/xmms/controlserver.h"

#include "audio/xmmsprotocol.h"

#include <QSocketNotifier>
#include <QTimer>
#include <cerrno>
#include <cstring>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace
{

// A client that connects and sends nothing is dropped after this long.
constexpr int ClientDeadlineMs = 2000;
constexpr int PathCheckMs = 2000;

void sendAll(int fd, const QByteArray &bytes)
{
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n =
            ::send(fd, bytes.constData() + done, size_t(bytes.size() - done), MSG_NOSIGNAL);
        if (n > 0)
            done += n;
        else if (n < 0 && errno == EINTR)
            continue;
        else
            return; // the client went away or stopped reading; it counts as "no answer" there
    }
}

} // namespace

ControlServer::ControlServer(Handler handler, QObject *parent)
    : QObject(parent), m_handler(std::move(handler))
{
}

ControlServer::~ControlServer()
{
    close();
}

bool ControlServer::listen(const QByteArray &path)
{
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, path.constData(),
                std::min<size_t>(size_t(path.size()), sizeof address.sun_path - 1));
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0)
        return false;
    const auto fail = [fd](int error) {
        ::close(fd);
        errno = error;
        return false;
    };
    for (int attempt = 0;; ++attempt) {
        // Owner-only from the moment it exists: no window in which another user could connect.
        const mode_t oldMask = ::umask(077);
        const bool bound = ::bind(fd, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0;
        const int error = errno;
        ::umask(oldMask);
        if (bound)
            break;
        if (error != EADDRINUSE || attempt > 0)
            return fail(error);
        // Only a dead socket of ours is cleared; a plain file or another user's socket is
        // not ours to remove, and a live one means another server.
        struct stat info;
        if (::lstat(path.constData(), &info) != 0 || !S_ISSOCK(info.st_mode) ||
            info.st_uid != ::getuid())
            return fail(EEXIST);
        const int probe = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        const bool alive = probe >= 0 && ::connect(probe, reinterpret_cast<sockaddr *>(&address),
                                                   sizeof address) == 0;
        if (probe >= 0)
            ::close(probe);
        if (alive)
            return fail(EADDRINUSE);
        ::unlink(path.constData());
    }
    struct stat info;
    if (::chmod(path.constData(), 0600) != 0 || ::listen(fd, 100) != 0 ||
        ::lstat(path.constData(), &info) != 0)
        return fail(errno);
    m_listenFd = fd;
    m_path = path;
    m_device = info.st_dev;
    m_inode = info.st_ino;
    m_listenNotifier = new QSocketNotifier(fd, QSocketNotifier::Read, this);
    connect(m_listenNotifier, &QSocketNotifier::activated, this, &ControlServer::acceptClients);
    m_pathCheck = new QTimer(this);
    connect(m_pathCheck, &QTimer::timeout, this, &ControlServer::checkPath);
    m_pathCheck->start(PathCheckMs);
    return true;
}

void ControlServer::close()
{
    const auto fds = m_clients.keys();
    for (int fd : fds)
        dropClient(fd);
    if (m_listenFd < 0)
        return;
    m_pathCheck->stop();
    m_listenNotifier->setEnabled(false);
    m_listenNotifier->deleteLater();
    m_listenNotifier = nullptr;
    ::close(m_listenFd);
    m_listenFd = -1;
    struct stat info;
    if (::lstat(m_path.constData(), &info) == 0 && info.st_dev == m_device &&
        info.st_ino == m_inode)
        ::unlink(m_path.constData());
}

void ControlServer::checkPath()
{
    struct stat info;
    if (m_listenFd >= 0 && (::lstat(m_path.constData(), &info) != 0 || info.st_dev != m_device ||
                            info.st_ino != m_inode))
        emit lost();
}

void ControlServer::acceptClients()
{
    for (;;) {
        const int fd = ::accept4(m_listenFd, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
        if (fd < 0)
            return;
        ucred peer{};
        socklen_t size = sizeof peer;
        if (::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &peer, &size) != 0 ||
            peer.uid != ::getuid()) {
            ::close(fd);
            continue;
        }
        auto *client = new Client;
        client->fd = fd;
        m_clients.insert(fd, client);
        // The request usually arrives with the connection: answer it without registering
        // anything with the event loop.
        readClient(fd);
        if (!m_clients.contains(fd))
            continue;
        client->notifier = new QSocketNotifier(fd, QSocketNotifier::Read, this);
        connect(client->notifier, &QSocketNotifier::activated, this,
                [this, fd] { readClient(fd); });
        client->deadline = new QTimer(this);
        client->deadline->setSingleShot(true);
        connect(client->deadline, &QTimer::timeout, this, [this, fd] { dropClient(fd); });
        client->deadline->start(ClientDeadlineMs);
    }
}

void ControlServer::readClient(int fd)
{
    Client *client = m_clients.value(fd);
    if (!client)
        return;
    char buffer[8192];
    for (;;) {
        const ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
        if (n > 0) {
            client->reader.feed(buffer, n);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && errno == EAGAIN)
            break;
        dropClient(fd); // closed before a whole request, or an error
        return;
    }
    XmmsPacketReader::Packet request;
    if (client->reader.broken()) {
        dropClient(fd);
        return;
    }
    if (!client->reader.take(request))
        return; // wait for the rest

    const ControlReply reply = m_handler(request.command, request.data);
    if (m_clients.value(fd) != client)
        return; // the handler shut the server down
    QByteArray out;
    if (reply.hasValue)
        out = XmmsProtocol::header(0, uint32_t(reply.data.size())) + reply.data;
    out += XmmsProtocol::header(0, 0);
    sendAll(fd, out);
    dropClient(fd);
}

void ControlServer::dropClient(int fd)
{
    Client *client = m_clients.take(fd);
    if (!client)
        return;
    // Either may be the object whose signal brought us here: let the event loop delete them.
    if (client->notifier) {
        client->notifier->setEnabled(false);
        client->notifier->deleteLater();
    }
    if (client->deadline) {
        client->deadline->stop();
        client->deadline->deleteLater();
    }
    ::close(fd);
    delete client;
}
