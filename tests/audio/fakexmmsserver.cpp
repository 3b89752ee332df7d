#include "fakexmmsserver.h"

#include "audio/xmmsprotocol.h"

#include <chrono>
#include <cstring>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#include <vector>

namespace
{

// Reads one request (header and announced payload), giving up after a short while.
QByteArray readRequest(int fd)
{
    QByteArray bytes;
    char buffer[4096];
    for (int waited = 0; waited < 1000;) {
        if (bytes.size() >= 8) {
            uint32_t length = 0;
            std::memcpy(&length, bytes.constData() + 4, 4);
            if (bytes.size() >= 8 + qsizetype(length))
                break;
        }
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, 50) <= 0) {
            waited += 50;
            continue;
        }
        const ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
        if (n <= 0)
            break;
        bytes.append(buffer, n);
    }
    return bytes;
}

} // namespace

FakeXmmsServer::FakeXmmsServer(Mode mode, const QByteArray &answer) : m_mode(mode), m_answer(answer)
{
    const QByteArray path = XmmsProtocol::socketPath(0);
    ::unlink(path.constData());
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, path.constData(), sizeof address.sun_path - 1);
    if (::bind(fd, reinterpret_cast<sockaddr *>(&address), sizeof address) != 0 ||
        ::listen(fd, 100) != 0) {
        ::close(fd);
        return;
    }
    m_fd = fd;
    m_thread = std::thread([this] { serve(); });
}

FakeXmmsServer::~FakeXmmsServer()
{
    m_stop = true;
    if (m_thread.joinable())
        m_thread.join();
    if (m_fd >= 0) {
        ::close(m_fd);
        ::unlink(XmmsProtocol::socketPath(0).constData());
    }
}

QList<QByteArray> FakeXmmsServer::requests() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_requests;
}

void FakeXmmsServer::clearRequests()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_requests.clear();
}

void FakeXmmsServer::serve()
{
    std::vector<int> held;
    while (!m_stop) {
        pollfd p{m_fd, POLLIN, 0};
        if (::poll(&p, 1, 20) <= 0)
            continue;
        const int client = ::accept4(m_fd, nullptr, nullptr, SOCK_CLOEXEC);
        if (client < 0)
            continue;
        if (m_mode == Mode::Silent) {
            held.push_back(client);
            continue;
        }
        const QByteArray request = readRequest(client);
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_requests.append(request);
        }
        if (m_mode == Mode::Slow)
            std::this_thread::sleep_for(std::chrono::milliseconds(SlowMs));
        ::send(client, m_answer.constData(), size_t(m_answer.size()), MSG_NOSIGNAL);
        ::close(client);
    }
    for (int fd : held)
        ::close(fd);
}
