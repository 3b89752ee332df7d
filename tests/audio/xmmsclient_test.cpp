// The xmms client: exact bytes on the wire, the "nothing answered" values, bounded waits,
// hostile replies, and every call against the real stand-in over a real socket.
#include "audio/xmmsctrl.h"
#include "audio/xmmspacketreader.h"
#include "audio/xmmsprotocol.h"
#include "fakexmmsserver.h"
#include "standinapp.h"
#include "tests/support/testenv.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTest>
#include <climits>
#include <cstring>
#include <functional>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace
{

template <typename T> QByteArray le(T value)
{
    return QByteArray(reinterpret_cast<const char *>(&value), sizeof value);
}

QByteArray packet(const QByteArray &data, uint16_t second = 0)
{
    return XmmsProtocol::header(second, uint32_t(data.size())) + data;
}

const QByteArray Ack = XmmsProtocol::header(0, 0);

class XmmsClient : public ::testing::Test
{
protected:
    void SetUp() override
    {
        StandinApp::useScratchSockets();
        xmms_remote_set_timeout(0);
    }
    void TearDown() override { xmms_remote_set_timeout(0); }
};

// ---- packet reader ----------------------------------------------------------------------

TEST(XmmsPacketReader, packetsSurviveAnySplitOfTheStream)
{
    const QByteArray stream = packet("hello", 7) + packet(QByteArray()) + packet(le(42), 5);
    for (int chunk = 1; chunk <= stream.size(); ++chunk) {
        XmmsPacketReader reader;
        QList<XmmsPacketReader::Packet> packets;
        for (int at = 0; at < stream.size(); at += chunk) {
            reader.feed(stream.constData() + at, std::min<int>(chunk, stream.size() - at));
            XmmsPacketReader::Packet p;
            while (reader.take(p))
                packets.append(p);
        }
        ASSERT_EQ(packets.size(), 3) << "chunk " << chunk;
        EXPECT_EQ(packets[0].command, 7);
        EXPECT_EQ(packets[0].data, "hello");
        EXPECT_TRUE(packets[1].data.isEmpty());
        EXPECT_EQ(packets[2].data, le(42));
        EXPECT_EQ(reader.pending(), 0);
    }
}

TEST(XmmsPacketReader, absurdLengthMarksTheStreamBroken)
{
    XmmsPacketReader reader;
    const QByteArray header = XmmsProtocol::header(1, 0xffffffffu);
    reader.feed(header.constData(), header.size());
    XmmsPacketReader::Packet p;
    EXPECT_FALSE(reader.take(p));
    EXPECT_TRUE(reader.broken());
}

// ---- exact requests ---------------------------------------------------------------------

struct WireRow {
    const char *name;
    std::function<void()> call;
    QList<QByteArray> requests; // one per connection
};

QByteArray request(uint16_t command, const QByteArray &payload = QByteArray())
{
    return XmmsProtocol::header(command, uint32_t(payload.size())) + payload;
}

TEST_F(XmmsClient, sendsEachRequestByteForByte)
{
    namespace P = XmmsProtocol;
    float bands[10] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
    QByteArray eqPayload = le(-3.5f);
    for (float b : bands)
        eqPayload += le(b);
    GList *list = g_list_append(nullptr, const_cast<char *>("/a.mp3"));
    list = g_list_append(list, const_cast<char *>("/bcd"));
    const QByteArray listPayload = le(7u) + QByteArray("/a.mp3\0", 7) + QByteArray(1, '\0') +
                                   le(5u) + QByteArray("/bcd\0", 5) + QByteArray(3, '\0') + le(0u);
    const QList<WireRow> rows = {
        {"version", [] { xmms_remote_get_version(0); }, {request(P::GetVersion)}},
        {"play", [] { xmms_remote_play(0); }, {request(P::Play)}},
        {"pause", [] { xmms_remote_pause(0); }, {request(P::Pause)}},
        {"stop", [] { xmms_remote_stop(0); }, {request(P::Stop)}},
        {"isPlaying", [] { xmms_remote_is_playing(0); }, {request(P::IsPlaying)}},
        {"isPaused", [] { xmms_remote_is_paused(0); }, {request(P::IsPaused)}},
        {"prev", [] { xmms_remote_playlist_prev(0); }, {request(P::PlaylistPrev)}},
        {"next", [] { xmms_remote_playlist_next(0); }, {request(P::PlaylistNext)}},
        {"setPos",
         [] { xmms_remote_set_playlist_pos(0, 3); },
         {request(P::SetPlaylistPos, le(3u))}},
        {"getPos", [] { xmms_remote_get_playlist_pos(0); }, {request(P::GetPlaylistPos)}},
        {"length", [] { xmms_remote_get_playlist_length(0); }, {request(P::GetPlaylistLength)}},
        {"title",
         [] { g_free(xmms_remote_get_playlist_title(0, 2)); },
         {request(P::GetPlaylistTitle, le(2u))}},
        {"file",
         [] { g_free(xmms_remote_get_playlist_file(0, 1)); },
         {request(P::GetPlaylistFile, le(1u))}},
        {"time",
         [] { xmms_remote_get_playlist_time(0, -1); },
         {request(P::GetPlaylistTime, le(0xffffffffu))}},
        {"outputTime", [] { xmms_remote_get_output_time(0); }, {request(P::GetOutputTime)}},
        {"jump", [] { xmms_remote_jump_to_time(0, 61000); }, {request(P::JumpToTime, le(61000u))}},
        {"info",
         [] {
             gint a = 0, b = 0, c = 0;
             xmms_remote_get_info(0, &a, &b, &c);
         },
         {request(P::GetInfo)}},
        {"mainVolume", [] { xmms_remote_get_main_volume(0); }, {request(P::GetVolume)}},
        {"setMainVolume",
         [] { xmms_remote_set_main_volume(0, 42); },
         {request(P::GetBalance), request(P::SetVolume, le(42u) + le(42u))}},
        {"setMainVolumeClamped",
         [] { xmms_remote_set_main_volume(0, 250); },
         {request(P::GetBalance), request(P::SetVolume, le(100u) + le(100u))}},
        {"shuffle", [] { xmms_remote_is_shuffle(0); }, {request(P::IsShuffle)}},
        {"repeat", [] { xmms_remote_is_repeat(0); }, {request(P::IsRepeat)}},
        {"toggleShuffle", [] { xmms_remote_toggle_shuffle(0); }, {request(P::ToggleShuffle)}},
        {"toggleRepeat", [] { xmms_remote_toggle_repeat(0); }, {request(P::ToggleRepeat)}},
        {"getEq",
         [] {
             gfloat p;
             gfloat *b;
             xmms_remote_get_eq(0, &p, &b);
             g_free(b);
         },
         {request(P::GetEq)}},
        {"setEq",
         [&bands] { xmms_remote_set_eq(0, -3.5f, bands); },
         {request(P::SetEq, eqPayload)}},
        {"setEqNoBands", [] { xmms_remote_set_eq(0, 1.0f, nullptr); }, {}},
        {"eqPreamp", [] { xmms_remote_get_eq_preamp(0); }, {request(P::GetEqPreamp)}},
        {"eqBand", [] { xmms_remote_get_eq_band(0, 9); }, {request(P::GetEqBand, le(9u))}},
        {"setEqPreamp",
         [] { xmms_remote_set_eq_preamp(0, 2.5f); },
         {request(P::SetEqPreamp, le(2.5f))}},
        {"setEqBand",
         [] { xmms_remote_set_eq_band(0, 4, -7.25f); },
         {request(P::SetEqBand, le(4u) + le(-7.25f))}},
        {"addUrl",
         [] { xmms_remote_playlist_add_url_string(0, const_cast<char *>("/x y.mp3")); },
         {request(P::PlaylistAddUrlString, QByteArray("/x y.mp3\0", 9))}},
        {"addNull", [] { xmms_remote_playlist_add_url_string(0, nullptr); }, {}},
        {"addList",
         [list] { xmms_remote_playlist_add(0, list); },
         {request(P::PlaylistAdd, listPayload)}},
        {"delete", [] { xmms_remote_playlist_delete(0, 5); }, {request(P::PlaylistDelete, le(5u))}},
        {"clear", [] { xmms_remote_playlist_clear(0); }, {request(P::PlaylistClear)}},
        {"quit", [] { xmms_remote_quit(0); }, {request(P::Quit)}},
        {"isEqActive", [] { xmms_remote_is_eq_active(0); }, {request(P::IsEqActive)}},
        {"toggleEqActive", [] { xmms_remote_toggle_eq_active(0); }, {request(P::ToggleEqActive)}},
    };
    FakeXmmsServer server(FakeXmmsServer::Mode::Answer, Ack);
    ASSERT_TRUE(server.isListening());
    for (const WireRow &row : rows) {
        server.clearRequests();
        row.call();
        EXPECT_EQ(server.requests(), row.requests) << row.name;
    }
    g_list_free(list);
}

// ---- nothing answering ------------------------------------------------------------------

struct DefaultRow {
    const char *name;
    std::function<bool()> givesDefault;
};

QList<DefaultRow> defaultRows()
{
    return {
        {"version", [] { return xmms_remote_get_version(0) == 0; }},
        {"isRunning", [] { return !xmms_remote_is_running(0); }},
        {"isPlaying", [] { return !xmms_remote_is_playing(0); }},
        {"isPaused", [] { return !xmms_remote_is_paused(0); }},
        {"pos", [] { return xmms_remote_get_playlist_pos(0) == 0; }},
        {"length", [] { return xmms_remote_get_playlist_length(0) == 0; }},
        {"time", [] { return xmms_remote_get_playlist_time(0, 0) == 0; }},
        {"outputTime", [] { return xmms_remote_get_output_time(0) == 0; }},
        {"title", [] { return xmms_remote_get_playlist_title(0, 0) == nullptr; }},
        {"file", [] { return xmms_remote_get_playlist_file(0, 0) == nullptr; }},
        {"mainVolume", [] { return xmms_remote_get_main_volume(0) == 0; }},
        {"balance", [] { return xmms_remote_get_balance(0) == 0; }},
        {"shuffle", [] { return !xmms_remote_is_shuffle(0); }},
        {"repeat", [] { return !xmms_remote_is_repeat(0); }},
        {"eqActive", [] { return !xmms_remote_is_eq_active(0); }},
        {"eqPreamp", [] { return xmms_remote_get_eq_preamp(0) == 0.0f; }},
        {"eqBand", [] { return xmms_remote_get_eq_band(0, 3) == 0.0f; }},
        {"info untouched",
         [] {
             gint rate = 7, freq = 8, nch = 9;
             xmms_remote_get_info(0, &rate, &freq, &nch);
             return rate == 7 && freq == 8 && nch == 9;
         }},
        {"volume untouched",
         [] {
             gint l = 5, r = 6;
             xmms_remote_get_volume(0, &l, &r);
             return l == 5 && r == 6;
         }},
        {"eq cleared",
         [] {
             gfloat preamp = 3.0f;
             gfloat dummy[10];
             gfloat *bands = dummy;
             xmms_remote_get_eq(0, &preamp, &bands);
             return preamp == 0.0f && bands == nullptr;
         }},
        {"commands quiet",
         [] {
             xmms_remote_play(0);
             xmms_remote_pause(0);
             xmms_remote_stop(0);
             xmms_remote_set_main_volume(0, 50);
             xmms_remote_playlist_clear(0);
             xmms_remote_quit(0);
             return true;
         }},
    };
}

void expectDefaults(const char *situation)
{
    for (const DefaultRow &row : defaultRows())
        EXPECT_TRUE(row.givesDefault()) << situation << ": " << row.name;
}

TEST_F(XmmsClient, noServerGivesTheNothingAnsweredValues)
{
    QFile::remove(StandinApp::socketPath());
    expectDefaults("no socket file");
}

TEST_F(XmmsClient, plainFileAtTheSocketPathCountsAsNoServer)
{
    ASSERT_TRUE(testenv::writeFile(StandinApp::socketPath(), "not a socket"));
    expectDefaults("plain file");
    EXPECT_EQ(testenv::readFile(StandinApp::socketPath()), "not a socket");
    QFile::remove(StandinApp::socketPath());
}

TEST_F(XmmsClient, socketLeftByADeadServerCountsAsNoServer)
{
    const QByteArray path = XmmsProtocol::socketPath(0);
    ::unlink(path.constData());
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, path.constData(), sizeof address.sun_path - 1);
    ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr *>(&address), sizeof address), 0);
    ::close(fd); // the file stays, nobody listens
    QElapsedTimer clock;
    clock.start();
    expectDefaults("dangling socket");
    EXPECT_LT(clock.elapsed(), 1000) << "refused connections must not wait for the time-out";
    ::unlink(path.constData());
}

TEST_F(XmmsClient, socketOfAnotherUserIsRefused)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "needs root to hand the socket to another user";
    FakeXmmsServer server(FakeXmmsServer::Mode::Answer, packet(le(2467)) + Ack);
    ASSERT_TRUE(server.isListening());
    EXPECT_EQ(xmms_remote_get_version(0), 2467);
    ASSERT_EQ(::chown(XmmsProtocol::socketPath(0).constData(), 65534, 65534), 0);
    EXPECT_EQ(xmms_remote_get_version(0), 0);
    EXPECT_TRUE(server.requests().size() == 1) << "nothing may be sent to a foreign socket";
}

TEST_F(XmmsClient, serverThatNeverAnswersCostsAtMostTheBound)
{
    FakeXmmsServer server(FakeXmmsServer::Mode::Silent);
    ASSERT_TRUE(server.isListening());
    // The default bound, once.
    QElapsedTimer clock;
    clock.start();
    EXPECT_FALSE(xmms_remote_is_playing(0));
    EXPECT_GE(clock.elapsed(), 900);
    EXPECT_LT(clock.elapsed(), 1500);
    // Every call, with a shorter bound so the table stays quick.
    xmms_remote_set_timeout(100);
    for (const DefaultRow &row : defaultRows()) {
        if (QByteArray(row.name) == "isRunning")
            continue; // connecting is all it asks, and that works
        clock.restart();
        EXPECT_TRUE(row.givesDefault()) << row.name;
        // The command row makes seven exchanges of its own.
        EXPECT_LT(clock.elapsed(), QByteArray(row.name) == "commands quiet" ? 1500 : 400)
            << row.name;
    }
}

// Each answer comes just inside the bound, but one pass of calls still costs the bound in all:
// the call that would overrun it gives up, and xmms counts as silent until it answers again.
TEST_F(XmmsClient, slowServerCostsOneBoundPerPass)
{
    FakeXmmsServer server(FakeXmmsServer::Mode::Slow, packet(le(2467)) + Ack);
    ASSERT_TRUE(server.isListening());
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(xmms_remote_get_version(0), 2467);
    for (int i = 0; i < 5; ++i)
        xmms_remote_get_version(0);
    EXPECT_LT(clock.elapsed(), 1300) << "six calls of " << FakeXmmsServer::SlowMs << " ms each";
    EXPECT_TRUE(xmms_remote_is_silent(0));
    // The next pass gets a whole bound again once xmms answers in time.
    server.setMode(FakeXmmsServer::Mode::Answer);
    QTest::qWait(1100);
    xmms_remote_begin_pass();
    EXPECT_EQ(xmms_remote_get_version(0), 2467);
    EXPECT_FALSE(xmms_remote_is_silent(0));
}

struct BadReplyRow {
    const char *name;
    QByteArray answer;
    QList<QByteArray> exempt = {}; // calls for which the reply is valid after all
};

TEST_F(XmmsClient, shortEmptyOrWrongSizedRepliesGiveDefaults)
{
    QByteArray oversized = XmmsProtocol::header(0, 0xfffffff0u);
    oversized += QByteArray(64, 'x');
    const QList<BadReplyRow> rows = {
        {"nothing at all", QByteArray()},
        {"half a header", QByteArray("\1\0\0\0", 4)},
        {"header promising more", XmmsProtocol::header(0, 12) + QByteArray(5, '\1')},
        {"empty reply", Ack + Ack},
        {"two-byte value", packet(QByteArray("\7\7", 2)) + Ack, {"title", "file"}},
        {"absurd length", oversized},
    };
    for (const BadReplyRow &row : rows) {
        FakeXmmsServer server(FakeXmmsServer::Mode::Answer, row.answer);
        ASSERT_TRUE(server.isListening());
        xmms_remote_set_timeout(300);
        for (const DefaultRow &dr : defaultRows()) {
            if (QByteArray(dr.name) != "isRunning" && !row.exempt.contains(dr.name)) {
                EXPECT_TRUE(dr.givesDefault()) << row.name << ": " << dr.name;
            }
        }
    }
}

TEST_F(XmmsClient, hostileBalanceStillSplitsTheVolumeSanely)
{
    namespace P = XmmsProtocol;
    const struct {
        gint balance;
        guint32 left, right;
    } rows[] = {{INT_MIN, 80, 0}, {INT_MAX, 0, 80}, {-50, 80, 40}, {1000, 0, 80}};
    for (const auto &row : rows) {
        FakeXmmsServer server(FakeXmmsServer::Mode::Answer, packet(le(row.balance)) + Ack);
        ASSERT_TRUE(server.isListening());
        xmms_remote_set_main_volume(0, 80);
        const QList<QByteArray> sent = server.requests();
        ASSERT_EQ(sent.size(), 2) << row.balance;
        EXPECT_EQ(sent[1], request(P::SetVolume, le(row.left) + le(row.right))) << row.balance;
    }
}

TEST_F(XmmsClient, partialStructuredRepliesAreIgnored)
{
    // 40 bytes of equalizer (one float short), 8 bytes of info, 4 of volume.
    {
        FakeXmmsServer server(FakeXmmsServer::Mode::Answer, packet(QByteArray(40, '\1')) + Ack);
        gfloat preamp = 1.0f;
        gfloat *bands = reinterpret_cast<gfloat *>(&preamp);
        xmms_remote_get_eq(0, &preamp, &bands);
        EXPECT_EQ(preamp, 0.0f);
        EXPECT_EQ(bands, nullptr);
    }
    {
        FakeXmmsServer server(FakeXmmsServer::Mode::Answer, packet(le(1) + le(2)) + Ack);
        gint rate = -5, freq = -5, nch = -5;
        xmms_remote_get_info(0, &rate, &freq, &nch);
        EXPECT_EQ(rate, -5);
        EXPECT_EQ(nch, -5);
        EXPECT_EQ(xmms_remote_get_main_volume(0), 2); // two ints are enough for the volume
    }
    {
        // A title without its NUL still comes back terminated; -1 passes through as -1.
        FakeXmmsServer server(FakeXmmsServer::Mode::Answer, packet("abc") + Ack);
        gchar *title = xmms_remote_get_playlist_title(0, 0);
        ASSERT_NE(title, nullptr);
        EXPECT_STREQ(title, "abc");
        g_free(title);
    }
    {
        FakeXmmsServer server(FakeXmmsServer::Mode::Answer, packet(le(-1)) + Ack);
        EXPECT_EQ(xmms_remote_get_playlist_time(0, 99), -1);
    }
}

TEST_F(XmmsClient, unknownCommandOnARealOneTwoServerReadsFalse)
{
    // What xmms 1.2.x does with our extension numbers: the bare ack, then close.
    FakeXmmsServer server(FakeXmmsServer::Mode::Answer, Ack);
    EXPECT_FALSE(xmms_remote_is_eq_active(0));
}

// ---- against the stand-in ---------------------------------------------------------------

class XmmsClientStandin : public XmmsClient
{
protected:
    void SetUp() override
    {
        XmmsClient::SetUp();
        m_songs = {testSong(1), testSong(3)};
        ASSERT_FALSE(m_songs.contains(QString()));
        m_app.writePlaylist(m_songs);
        ASSERT_TRUE(m_app.start());
    }
    // Lengths are found in the background, like xmms reading tags.
    bool lengthsKnown()
    {
        return testenv::waitFor(
            [] {
                return xmms_remote_get_playlist_time(0, 0) > 0 &&
                       xmms_remote_get_playlist_time(0, 1) > 0;
            },
            10000);
    }
    StandinApp m_app;
    QStringList m_songs;
};

TEST_F(XmmsClientStandin, readsThePlaylistItStartedWith)
{
    EXPECT_EQ(xmms_remote_get_version(0), 0x09A3);
    EXPECT_TRUE(xmms_remote_is_running(0));
    EXPECT_EQ(xmms_remote_get_playlist_length(0), 2);
    EXPECT_EQ(xmms_remote_get_playlist_pos(0), 0);
    for (int i = 0; i < 2; ++i) {
        gchar *file = xmms_remote_get_playlist_file(0, i);
        gchar *title = xmms_remote_get_playlist_title(0, i);
        EXPECT_STREQ(file, m_songs[i].toUtf8().constData());
        EXPECT_STREQ(title, QFileInfo(m_songs[i]).fileName().toUtf8().constData());
        g_free(file);
        g_free(title);
    }
    EXPECT_EQ(xmms_remote_get_playlist_title(0, 2), nullptr);
    EXPECT_EQ(xmms_remote_get_playlist_file(0, -1), nullptr);
    EXPECT_EQ(xmms_remote_get_playlist_time(0, 2), -1);
    ASSERT_TRUE(lengthsKnown());
    EXPECT_NEAR(xmms_remote_get_playlist_time(0, 0), 1000, 100);
    EXPECT_NEAR(xmms_remote_get_playlist_time(0, 1), 3000, 100);
}

TEST_F(XmmsClientStandin, playPauseToggleStop)
{
    ASSERT_TRUE(lengthsKnown());
    xmms_remote_set_playlist_pos(0, 1);
    EXPECT_EQ(xmms_remote_get_playlist_pos(0), 1);
    EXPECT_FALSE(xmms_remote_is_playing(0)) << "moving the cursor while stopped plays nothing";
    xmms_remote_set_playlist_pos(0, -1);
    xmms_remote_set_playlist_pos(0, 2);
    EXPECT_EQ(xmms_remote_get_playlist_pos(0), 1) << "out of range positions are ignored";

    xmms_remote_play(0);
    EXPECT_TRUE(xmms_remote_is_playing(0));
    gint rate = 0, freq = 0, nch = 0;
    ASSERT_TRUE(testenv::waitFor([&] {
        xmms_remote_get_info(0, &rate, &freq, &nch);
        return rate > 0 && xmms_remote_get_output_time(0) > 300;
    }));
    EXPECT_EQ(rate, 128000);
    EXPECT_EQ(freq, 44100);
    EXPECT_EQ(nch, 2);

    xmms_remote_pause(0);
    EXPECT_TRUE(xmms_remote_is_paused(0));
    EXPECT_TRUE(xmms_remote_is_playing(0)) << "a paused song still counts as playing";
    const int pausedAt = xmms_remote_get_output_time(0);
    QTest::qWait(400);
    EXPECT_NEAR(xmms_remote_get_output_time(0), pausedAt, 20) << "time stands while paused";
    xmms_remote_pause(0);
    EXPECT_FALSE(xmms_remote_is_paused(0));
    EXPECT_TRUE(testenv::waitFor([&] { return xmms_remote_get_output_time(0) > pausedAt + 200; }));

    xmms_remote_jump_to_time(0, 2500);
    EXPECT_GE(xmms_remote_get_output_time(0), 2000);
    xmms_remote_jump_to_time(0, 3500); // past the end: ignored
    EXPECT_LT(xmms_remote_get_output_time(0), 3000);

    xmms_remote_stop(0);
    EXPECT_FALSE(xmms_remote_is_playing(0));
    EXPECT_FALSE(xmms_remote_is_paused(0));
    EXPECT_EQ(xmms_remote_get_output_time(0), 0);
    xmms_remote_get_info(0, &rate, &freq, &nch);
    EXPECT_EQ(rate + freq + nch, 0);
    xmms_remote_pause(0);
    EXPECT_FALSE(xmms_remote_is_paused(0)) << "pause does nothing while stopped";
}

TEST_F(XmmsClientStandin, nextAndPrevFollowRepeat)
{
    xmms_remote_playlist_prev(0);
    EXPECT_EQ(xmms_remote_get_playlist_pos(0), 0);
    xmms_remote_playlist_next(0);
    EXPECT_EQ(xmms_remote_get_playlist_pos(0), 1);
    xmms_remote_playlist_next(0);
    EXPECT_EQ(xmms_remote_get_playlist_pos(0), 1) << "the end without repeat";
    xmms_remote_toggle_repeat(0);
    xmms_remote_playlist_next(0);
    EXPECT_EQ(xmms_remote_get_playlist_pos(0), 0);
    xmms_remote_playlist_prev(0);
    EXPECT_EQ(xmms_remote_get_playlist_pos(0), 1);
}

TEST_F(XmmsClientStandin, togglesFlipShuffleRepeatAndEqualizer)
{
    struct Toggle {
        const char *name;
        gboolean (*read)(gint);
        void (*flip)(gint);
    };
    const Toggle toggles[] = {
        {"shuffle", xmms_remote_is_shuffle, xmms_remote_toggle_shuffle},
        {"repeat", xmms_remote_is_repeat, xmms_remote_toggle_repeat},
        {"equalizer", xmms_remote_is_eq_active, xmms_remote_toggle_eq_active},
    };
    for (const Toggle &t : toggles) {
        EXPECT_FALSE(t.read(0)) << t.name;
        t.flip(0);
        EXPECT_TRUE(t.read(0)) << t.name;
        t.flip(0);
        EXPECT_FALSE(t.read(0)) << t.name;
    }
}

TEST_F(XmmsClientStandin, equalizerValuesRoundTrip)
{
    float bands[10] = {-20, -12.5f, -1, 0, 0.5f, 1.6f, 3, 7.25f, 12, 20};
    xmms_remote_set_eq(0, 4.5f, bands);
    gfloat preamp = 0;
    gfloat *read = nullptr;
    xmms_remote_get_eq(0, &preamp, &read);
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(preamp, 4.5f);
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(read[i], bands[i]) << "band " << i;
    g_free(read);

    xmms_remote_set_eq_band(0, 3, -6.5f);
    xmms_remote_set_eq_band(0, 10, 5.0f); // no such band: ignored
    xmms_remote_set_eq_preamp(0, -2.0f);
    EXPECT_EQ(xmms_remote_get_eq_band(0, 3), -6.5f);
    EXPECT_EQ(xmms_remote_get_eq_band(0, 10), 0.0f);
    EXPECT_EQ(xmms_remote_get_eq_band(0, -1), 0.0f);
    EXPECT_EQ(xmms_remote_get_eq_preamp(0), -2.0f);
    xmms_remote_set_eq_preamp(0, 99.0f);
    EXPECT_EQ(xmms_remote_get_eq_preamp(0), 20.0f) << "held within the sliders' range";
}

TEST_F(XmmsClientStandin, mainVolumeKeepsTheBalance)
{
    xmms_remote_set_main_volume(0, 40);
    EXPECT_EQ(xmms_remote_get_main_volume(0), 40);
    EXPECT_EQ(xmms_remote_get_balance(0), 0);
    xmms_remote_set_volume(0, 30, 60);
    EXPECT_EQ(xmms_remote_get_balance(0), 50);
    xmms_remote_set_main_volume(0, 80);
    gint left = 0, right = 0;
    xmms_remote_get_volume(0, &left, &right);
    EXPECT_EQ(left, 40);
    EXPECT_EQ(right, 80);
    xmms_remote_set_volume(0, 75, 0);
    EXPECT_EQ(xmms_remote_get_balance(0), -100);
}

TEST_F(XmmsClientStandin, playlistAddDeleteClear)
{
    const QByteArray extra = testSong(1).toUtf8();
    const QByteArray two = extra + "\r\n" + extra;
    xmms_remote_playlist_add_url_string(0, const_cast<char *>(two.constData()));
    EXPECT_EQ(xmms_remote_get_playlist_length(0), 4);
    GList *list = g_list_append(nullptr, const_cast<char *>(extra.constData()));
    xmms_remote_playlist_add(0, list);
    g_list_free(list);
    EXPECT_EQ(xmms_remote_get_playlist_length(0), 5);

    xmms_remote_set_playlist_pos(0, 1);
    xmms_remote_playlist_delete(0, 0);
    EXPECT_EQ(xmms_remote_get_playlist_length(0), 4);
    EXPECT_EQ(xmms_remote_get_playlist_pos(0), 0) << "the cursor stays on its song";
    gchar *file = xmms_remote_get_playlist_file(0, 0);
    EXPECT_STREQ(file, m_songs[1].toUtf8().constData());
    g_free(file);
    xmms_remote_playlist_delete(0, 99);
    EXPECT_EQ(xmms_remote_get_playlist_length(0), 4);

    xmms_remote_playlist_clear(0);
    EXPECT_EQ(xmms_remote_get_playlist_length(0), 0);
    EXPECT_EQ(xmms_remote_get_playlist_pos(0), 0);
    xmms_remote_play(0);
    EXPECT_FALSE(xmms_remote_is_playing(0)) << "nothing to play";

    gchar *names[] = {const_cast<char *>(extra.constData())};
    xmms_remote_playlist(0, names, 1, FALSE);
    EXPECT_EQ(xmms_remote_get_playlist_length(0), 1);
    EXPECT_TRUE(xmms_remote_is_playing(0));
}

TEST_F(XmmsClientStandin, quitRemovesTheSocket)
{
    xmms_remote_quit(0);
    EXPECT_TRUE(testenv::waitFor([] { return !QFile::exists(StandinApp::socketPath()); }));
    EXPECT_TRUE(m_app.process().waitForFinished(5000));
    EXPECT_EQ(m_app.process().exitCode(), 0);
    EXPECT_FALSE(xmms_remote_is_running(0));
}

} // namespace
