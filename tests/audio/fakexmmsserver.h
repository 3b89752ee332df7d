// A scripted server on the session-0 socket path, run on its own thread: it answers every
// connection with fixed bytes, at once or after SlowMs, or accepts and never says a word.
// It records each request.
#pragma once

#include <QByteArray>
#include <QList>
#include <atomic>
#include <mutex>
#include <thread>

class FakeXmmsServer
{
public:
    enum class Mode { Answer, Slow, Silent };
    static constexpr int SlowMs = 400;
    FakeXmmsServer(Mode mode, const QByteArray &answer = QByteArray());
    ~FakeXmmsServer();
    FakeXmmsServer(const FakeXmmsServer &) = delete;
    FakeXmmsServer &operator=(const FakeXmmsServer &) = delete;

    bool isListening() const { return m_fd >= 0; }
    // From now on: new connections are served in this mode (a hung xmms coming back).
    void setMode(Mode mode) { m_mode = mode; }
    QList<QByteArray> requests() const;
    void clearRequests();

private:
    void serve();

    std::atomic<Mode> m_mode;
    QByteArray m_answer;
    int m_fd = -1;
    std::atomic<bool> m_stop{false};
    mutable std::mutex m_mutex;
    QList<QByteArray> m_requests;
    std::thread m_thread;
};
