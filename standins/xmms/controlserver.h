// The listening end of the xmms control socket: one request per connection, answered with
// an optional reply packet and always an ack, then closed. Built on the event loop so the
// player keeps running while clients come and go.
#pragma once

#include "audio/xmmspacketreader.h"

#include <QByteArray>
#include <QHash>
#include <QObject>
#include <functional>
#include <sys/types.h>

class QSocketNotifier;
class QTimer;

struct ControlReply {
    bool hasValue = false; // a reply packet (possibly empty) goes before the ack
    QByteArray data;
};

class ControlServer : public QObject
{
    Q_OBJECT

public:
    using Handler = std::function<ControlReply(uint16_t command, const QByteArray &payload)>;

    explicit ControlServer(Handler handler, QObject *parent = nullptr);
    ~ControlServer() override;

    // Binds path owner-only, after removing a stale socket of ours there. False with errno
    // set when the path cannot be taken.
    bool listen(const QByteArray &path);
    // Stops accepting and removes the socket file, unless another server replaced it.
    void close();

signals:
    // The socket file was removed or replaced behind our back: nobody can reach us any more.
    void lost();

private:
    void checkPath();

    struct Client {
        int fd = -1;
        QSocketNotifier *notifier = nullptr;
        QTimer *deadline = nullptr;
        XmmsPacketReader reader;
    };

    void acceptClients();
    void readClient(int fd);
    void dropClient(int fd);

    Handler m_handler;
    int m_listenFd = -1;
    QByteArray m_path;
    dev_t m_device = 0;
    ino_t m_inode = 0;
    QSocketNotifier *m_listenNotifier = nullptr;
    QTimer *m_pathCheck = nullptr;
    QHash<int, Client *> m_clients;
};
