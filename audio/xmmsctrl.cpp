#include "audio/xmmsctrl.h"

#include "audio/xmmspacketreader.h"
#include "audio/xmmsprotocol.h"
#include "platform/logging.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace
{

using Clock = std::chrono::steady_clock;

constexpr int DefaultTimeoutMs = 1000;
int g_timeoutMs = DefaultTimeoutMs;

// After an exchange runs into its bound, the socket counts as silent: calls give their
// "nothing answered" values at once, and at most one short probe a second talks to it, so
// a hung xmms stalls the caller once rather than once per call. A new socket file (another
// xmms) starts fresh.
constexpr int ProbeIntervalMs = 1000;
constexpr int ProbeTimeoutMs = 250;

struct SocketId {
    dev_t dev = 0;
    ino_t ino = 0;
    timespec changed{};
    bool operator==(const SocketId &o) const
    {
        return dev == o.dev && ino == o.ino && changed.tv_sec == o.changed.tv_sec &&
               changed.tv_nsec == o.changed.tv_nsec;
    }
};

struct Silence {
    bool on = false;
    SocketId socket;
    Clock::time_point nextProbe;
};
Silence g_silence;

// All exchanges of one pass of the caller's event loop (the status poll, the painter's
// questions, a key's volume change) share one bound: an xmms that answers each just
// inside it must not stall a pass once per call. The caller marks its passes
// (xmms_remote_begin_pass); a caller that does not gets a fresh bound each bound's length
// of time.
struct Budget {
    bool open = false;
    Clock::time_point start;
    Clock::duration spent{};
};
Budget g_budget;

// What is left of the bound for an exchange starting now (nothing left is zero).
Clock::duration budgetLeft(Clock::time_point now)
{
    const auto bound = std::chrono::milliseconds(g_timeoutMs);
    if (!g_budget.open || now - g_budget.start >= bound)
        g_budget = Budget{true, now, {}};
    return std::max<Clock::duration>(Clock::duration::zero(), bound - g_budget.spent);
}

// One request on one connection, the way libxmms does it, but never past the deadline.
class Connection
{
public:
    explicit Connection(gint session) : m_start(Clock::now())
    {
        m_deadline = m_start + budgetLeft(m_start);
        open(XmmsProtocol::socketPath(session));
    }
    ~Connection()
    {
        if (m_fd >= 0)
            ::close(m_fd);
        g_budget.spent += Clock::now() - m_start;
        if (m_timedOut) {
            g_silence.on = true;
            g_silence.socket = m_socket;
            g_silence.nextProbe = Clock::now() + std::chrono::milliseconds(ProbeIntervalMs);
            qCDebug(lcAudio) << "xmms client: no answer in time; treating xmms as silent";
        } else if (m_answered && g_silence.on && g_silence.socket == m_socket) {
            g_silence.on = false;
        }
    }
    Connection(const Connection &) = delete;
    Connection &operator=(const Connection &) = delete;

    bool isOpen() const { return m_fd >= 0; }

    bool send(uint16_t command, const QByteArray &payload)
    {
        const QByteArray bytes = XmmsProtocol::header(command, uint32_t(payload.size())) + payload;
        qsizetype done = 0;
        while (done < bytes.size()) {
            const ssize_t n =
                ::send(m_fd, bytes.constData() + done, size_t(bytes.size() - done), MSG_NOSIGNAL);
            if (n > 0) {
                done += n;
            } else if (n < 0 && errno == EINTR) {
                continue;
            } else if (n < 0 && errno == EAGAIN) {
                if (!waitFor(POLLOUT))
                    return false;
            } else {
                return false;
            }
        }
        return true;
    }

    // The next whole packet's data; false on end of stream, error, time-out or a packet
    // announcing an absurd length.
    bool readPacket(QByteArray &data)
    {
        XmmsPacketReader::Packet packet;
        char buffer[4096];
        while (!m_reader.take(packet)) {
            if (m_reader.broken()) {
                m_answered = true;
                return false;
            }
            const ssize_t n = ::recv(m_fd, buffer, sizeof buffer, 0);
            if (n == 0) {
                m_answered = true;
                return false;
            }
            if (n < 0) {
                if (errno == EINTR)
                    continue;
                if (errno != EAGAIN || !waitFor(POLLIN))
                    return false;
                continue;
            }
            m_reader.feed(buffer, n);
        }
        data = packet.data;
        m_answered = true;
        return true;
    }

private:
    int remainingMs() const
    {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(m_deadline - Clock::now());
        return int(std::max<long long>(0, left.count()));
    }

    bool waitFor(short events)
    {
        for (;;) {
            pollfd p{m_fd, events, 0};
            const int r = ::poll(&p, 1, remainingMs());
            if (r > 0)
                return true;
            if (r == 0) {
                m_timedOut = true;
                return false;
            }
            if (errno != EINTR)
                return false;
        }
    }

    void open(const QByteArray &path)
    {
        // Only our own socket: another local user could otherwise pose as the player.
        struct stat info;
        if (::lstat(path.constData(), &info) != 0)
            return;
        if (!S_ISSOCK(info.st_mode) || info.st_uid != ::getuid()) {
            qCDebug(lcAudio) << "xmms client: refusing" << path << "(not our socket)";
            return;
        }
        m_socket = SocketId{info.st_dev, info.st_ino, info.st_ctim};
        if (g_silence.on && g_silence.socket == m_socket) {
            const auto now = Clock::now();
            if (now < g_silence.nextProbe)
                return;
            // A probe has its own short bound, even in a pass whose bound is spent.
            m_deadline = now + std::chrono::milliseconds(ProbeTimeoutMs);
        }
        const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
        if (fd < 0)
            return;
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::memcpy(address.sun_path, path.constData(),
                    std::min<size_t>(size_t(path.size()), sizeof address.sun_path - 1));
        m_fd = fd;
        if (!connectBounded(address) || !peerIsUs()) {
            ::close(m_fd);
            m_fd = -1;
        }
    }

    bool connectBounded(const sockaddr_un &address)
    {
        for (;;) {
            if (::connect(m_fd, reinterpret_cast<const sockaddr *>(&address), sizeof address) == 0)
                return true;
            if (errno == EINTR)
                continue;
            if (errno == EAGAIN) {
                // The server's backlog is full: it is alive but busy; try again briefly.
                if (remainingMs() == 0) {
                    m_timedOut = true;
                    return false;
                }
                ::usleep(1000);
                continue;
            }
            if (errno != EINPROGRESS || !waitFor(POLLOUT))
                return false;
            int error = 0;
            socklen_t size = sizeof error;
            return ::getsockopt(m_fd, SOL_SOCKET, SO_ERROR, &error, &size) == 0 && error == 0;
        }
    }

    bool peerIsUs() const
    {
        ucred peer{};
        socklen_t size = sizeof peer;
        return ::getsockopt(m_fd, SOL_SOCKET, SO_PEERCRED, &peer, &size) == 0 &&
               peer.uid == ::getuid();
    }

    Clock::time_point m_start;
    Clock::time_point m_deadline;
    SocketId m_socket;
    bool m_answered = false; // the peer replied or hung up: it is not silent
    bool m_timedOut = false; // ran into the bound
    int m_fd = -1;
    XmmsPacketReader m_reader;
};

// A request that returns nothing: the one packet back is the ack, read and thrown away.
void command(gint session, uint16_t cmd, const QByteArray &payload = QByteArray())
{
    Connection connection(session);
    if (!connection.isOpen() || !connection.send(cmd, payload))
        return;
    QByteArray ack;
    connection.readPacket(ack);
}

// A request that returns a value: reply packet, then the ack. An empty or missing reply
// counts as no answer.
QByteArray query(gint session, uint16_t cmd, const QByteArray &payload = QByteArray())
{
    Connection connection(session);
    QByteArray reply;
    if (!connection.isOpen() || !connection.send(cmd, payload) || !connection.readPacket(reply))
        return QByteArray();
    QByteArray ack;
    connection.readPacket(ack);
    return reply;
}

template <typename T> QByteArray encode(T value)
{
    static_assert(sizeof(T) == 4);
    return QByteArray(reinterpret_cast<const char *>(&value), 4);
}

// The index-th 4-byte field of a reply, or fallback when the reply is too short.
template <typename T> T field(const QByteArray &reply, int index, T fallback)
{
    static_assert(sizeof(T) == 4);
    if (reply.size() < (index + 1) * 4)
        return fallback;
    T value;
    std::memcpy(&value, reply.constData() + index * 4, 4);
    return value;
}

gint queryInt(gint session, uint16_t cmd, const QByteArray &payload = QByteArray())
{
    return field<gint>(query(session, cmd, payload), 0, 0);
}

gboolean queryBool(gint session, uint16_t cmd)
{
    return queryInt(session, cmd) != 0 ? TRUE : FALSE;
}

gfloat queryFloat(gint session, uint16_t cmd, const QByteArray &payload = QByteArray())
{
    return field<gfloat>(query(session, cmd, payload), 0, 0.0f);
}

QByteArray position(gint pos)
{
    return encode(guint32(pos));
}

gchar *queryString(gint session, uint16_t cmd, gint pos)
{
    const QByteArray reply = query(session, cmd, position(pos));
    if (reply.isEmpty())
        return nullptr;
    // Terminated here whatever the server sent.
    auto *text = static_cast<gchar *>(std::malloc(size_t(reply.size()) + 1));
    if (!text)
        return nullptr;
    std::memcpy(text, reply.constData(), size_t(reply.size()));
    text[reply.size()] = '\0';
    return text;
}

QByteArray stringPayload(const gchar *string)
{
    return QByteArray(string, qsizetype(std::strlen(string)) + 1);
}

// Length-prefixed strings padded to 4 bytes, closed by a zero length.
QByteArray stringListPayload(const QList<const gchar *> &strings)
{
    QByteArray payload;
    for (const gchar *s : strings) {
        if (!s)
            continue;
        const guint32 length = guint32(std::strlen(s)) + 1;
        payload += encode(length);
        payload.append(s, qsizetype(length));
        payload.append(qsizetype((4 - length % 4) % 4), '\0');
    }
    payload += encode(guint32(0));
    return payload;
}

} // namespace

extern "C" {

void xmms_remote_set_timeout(gint milliseconds)
{
    g_timeoutMs = milliseconds < 1 ? DefaultTimeoutMs : milliseconds;
    g_silence.on = false;
    g_budget.open = false;
}

void xmms_remote_begin_pass(void)
{
    g_budget.open = false;
}

gboolean xmms_remote_is_silent(gint session)
{
    if (!g_silence.on)
        return FALSE;
    struct stat info;
    const QByteArray path = XmmsProtocol::socketPath(session);
    if (::lstat(path.constData(), &info) != 0)
        return FALSE;
    return g_silence.socket == SocketId{info.st_dev, info.st_ino, info.st_ctim} ? TRUE : FALSE;
}

gint xmms_remote_get_version(gint session)
{
    return queryInt(session, XmmsProtocol::GetVersion);
}

gboolean xmms_remote_is_running(gint session)
{
    return Connection(session).isOpen() ? TRUE : FALSE;
}

void xmms_remote_play(gint session)
{
    command(session, XmmsProtocol::Play);
}

void xmms_remote_pause(gint session)
{
    command(session, XmmsProtocol::Pause);
}

void xmms_remote_stop(gint session)
{
    command(session, XmmsProtocol::Stop);
}

void xmms_remote_play_pause(gint session)
{
    command(session, XmmsProtocol::PlayPause);
}

gboolean xmms_remote_is_playing(gint session)
{
    return queryBool(session, XmmsProtocol::IsPlaying);
}

gboolean xmms_remote_is_paused(gint session)
{
    return queryBool(session, XmmsProtocol::IsPaused);
}

void xmms_remote_playlist_prev(gint session)
{
    command(session, XmmsProtocol::PlaylistPrev);
}

void xmms_remote_playlist_next(gint session)
{
    command(session, XmmsProtocol::PlaylistNext);
}

void xmms_remote_quit(gint session)
{
    command(session, XmmsProtocol::Quit);
}

gint xmms_remote_get_playlist_pos(gint session)
{
    return queryInt(session, XmmsProtocol::GetPlaylistPos);
}

void xmms_remote_set_playlist_pos(gint session, gint pos)
{
    command(session, XmmsProtocol::SetPlaylistPos, position(pos));
}

gint xmms_remote_get_playlist_length(gint session)
{
    return queryInt(session, XmmsProtocol::GetPlaylistLength);
}

gchar *xmms_remote_get_playlist_file(gint session, gint pos)
{
    return queryString(session, XmmsProtocol::GetPlaylistFile, pos);
}

gchar *xmms_remote_get_playlist_title(gint session, gint pos)
{
    return queryString(session, XmmsProtocol::GetPlaylistTitle, pos);
}

gint xmms_remote_get_playlist_time(gint session, gint pos)
{
    return queryInt(session, XmmsProtocol::GetPlaylistTime, position(pos));
}

gint xmms_remote_get_output_time(gint session)
{
    return queryInt(session, XmmsProtocol::GetOutputTime);
}

void xmms_remote_jump_to_time(gint session, gint pos)
{
    command(session, XmmsProtocol::JumpToTime, position(pos));
}

void xmms_remote_get_info(gint session, gint *rate, gint *freq, gint *nch)
{
    const QByteArray reply = query(session, XmmsProtocol::GetInfo);
    if (reply.size() < 12)
        return;
    if (rate)
        *rate = field<gint>(reply, 0, 0);
    if (freq)
        *freq = field<gint>(reply, 1, 0);
    if (nch)
        *nch = field<gint>(reply, 2, 0);
}

void xmms_remote_playlist(gint session, gchar **list, gint num, gboolean enqueue)
{
    if (!list)
        return;
    QList<const gchar *> strings;
    for (gint i = 0; i < num; ++i)
        strings.append(list[i]);
    if (!enqueue)
        xmms_remote_playlist_clear(session);
    command(session, XmmsProtocol::PlaylistAdd, stringListPayload(strings));
    if (!enqueue)
        xmms_remote_play(session);
}

void xmms_remote_playlist_add(gint session, GList *list)
{
    QList<const gchar *> strings;
    for (GList *node = list; node; node = node->next)
        strings.append(static_cast<const gchar *>(node->data));
    if (strings.isEmpty())
        return;
    command(session, XmmsProtocol::PlaylistAdd, stringListPayload(strings));
}

void xmms_remote_playlist_add_url_string(gint session, gchar *string)
{
    // Never an empty payload: xmms would dereference a null string.
    if (!string)
        return;
    command(session, XmmsProtocol::PlaylistAddUrlString, stringPayload(string));
}

void xmms_remote_playlist_ins_url_string(gint session, gchar *string, gint pos)
{
    if (!string)
        return;
    command(session, XmmsProtocol::PlaylistInsUrlString, position(pos) + stringPayload(string));
}

void xmms_remote_playlist_delete(gint session, gint pos)
{
    command(session, XmmsProtocol::PlaylistDelete, position(pos));
}

void xmms_remote_playlist_clear(gint session)
{
    command(session, XmmsProtocol::PlaylistClear);
}

void xmms_remote_get_volume(gint session, gint *vl, gint *vr)
{
    const QByteArray reply = query(session, XmmsProtocol::GetVolume);
    if (reply.size() < 8)
        return;
    if (vl)
        *vl = field<gint>(reply, 0, 0);
    if (vr)
        *vr = field<gint>(reply, 1, 0);
}

gint xmms_remote_get_main_volume(gint session)
{
    // libxmms returns uninitialised values when nothing answers; ours gives 0.
    gint left = 0;
    gint right = 0;
    xmms_remote_get_volume(session, &left, &right);
    return std::max(left, right);
}

gint xmms_remote_get_balance(gint session)
{
    return queryInt(session, XmmsProtocol::GetBalance);
}

void xmms_remote_set_volume(gint session, gint vl, gint vr)
{
    vl = std::clamp(vl, 0, 100);
    vr = std::clamp(vr, 0, 100);
    command(session, XmmsProtocol::SetVolume, encode(guint32(vl)) + encode(guint32(vr)));
}

void xmms_remote_set_main_volume(gint session, gint v)
{
    v = std::clamp(v, 0, 100);
    // xmms keeps the balance in -100..100; anything else from the socket is clamped, and
    // the arithmetic is wide enough for any reply.
    const gint64 balance = std::clamp<gint64>(xmms_remote_get_balance(session), -100, 100);
    gint left = v;
    gint right = v;
    if (balance < 0)
        right = gint(std::rint(double(v * (100 + balance)) / 100.0));
    else if (balance > 0)
        left = gint(std::rint(double(v * (100 - balance)) / 100.0));
    xmms_remote_set_volume(session, left, right);
}

gboolean xmms_remote_is_shuffle(gint session)
{
    return queryBool(session, XmmsProtocol::IsShuffle);
}

gboolean xmms_remote_is_repeat(gint session)
{
    return queryBool(session, XmmsProtocol::IsRepeat);
}

void xmms_remote_toggle_shuffle(gint session)
{
    command(session, XmmsProtocol::ToggleShuffle);
}

void xmms_remote_toggle_repeat(gint session)
{
    command(session, XmmsProtocol::ToggleRepeat);
}

void xmms_remote_get_eq(gint session, gfloat *preamp, gfloat **bands)
{
    if (preamp)
        *preamp = 0.0f;
    if (bands)
        *bands = nullptr;
    const QByteArray reply = query(session, XmmsProtocol::GetEq);
    if (reply.size() < 44)
        return;
    if (preamp)
        *preamp = field<gfloat>(reply, 0, 0.0f);
    if (bands) {
        auto *values = static_cast<gfloat *>(std::malloc(10 * sizeof(gfloat)));
        if (!values)
            return;
        for (int i = 0; i < 10; ++i)
            values[i] = field<gfloat>(reply, i + 1, 0.0f);
        *bands = values;
    }
}

gfloat xmms_remote_get_eq_preamp(gint session)
{
    return queryFloat(session, XmmsProtocol::GetEqPreamp);
}

gfloat xmms_remote_get_eq_band(gint session, gint band)
{
    return queryFloat(session, XmmsProtocol::GetEqBand, position(band));
}

void xmms_remote_set_eq(gint session, gfloat preamp, gfloat *bands)
{
    if (!bands)
        return;
    QByteArray payload = encode(preamp);
    for (int i = 0; i < 10; ++i)
        payload += encode(bands[i]);
    command(session, XmmsProtocol::SetEq, payload);
}

void xmms_remote_set_eq_preamp(gint session, gfloat preamp)
{
    command(session, XmmsProtocol::SetEqPreamp, encode(preamp));
}

void xmms_remote_set_eq_band(gint session, gint band, gfloat value)
{
    command(session, XmmsProtocol::SetEqBand, position(band) + encode(value));
}

gboolean xmms_remote_is_eq_active(gint session)
{
    return queryBool(session, XmmsProtocol::IsEqActive);
}

void xmms_remote_toggle_eq_active(gint session)
{
    command(session, XmmsProtocol::ToggleEqActive);
}

} // extern "C"
