#include "audio/xmmspacketreader.h"
#include "audio/xmmsprotocol.h"
#include "fuzz/support.h"
#include "fuzz/targets.h"
#include "standins/xmms/playlistsource.h"
#include "standins/xmms/standinplayer.h"

// Requests as the stand-in xmms reads them (the last byte cuts the rest into reads), each
// handled by a fresh player and answered the way its control server answers. Requests that
// would add files (and so scan folders and start mplayer) only have their texts read, and
// quitting is left out: nothing runs the event loop that would deliver it.
int orbalfuzz::xmmsServer(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    ensureApp();
    namespace P = XmmsProtocol;
    StandinPlayer player;
    XmmsPacketReader reader;
    for (const QByteArray &chunk : chunks(bytesOf(data, size - 1), data[size - 1])) {
        reader.feed(chunk.constData(), chunk.size());
        XmmsPacketReader::Packet request;
        while (reader.take(request)) {
            if (request.command == P::PlaylistAdd) {
                qsizetype bytes = 0;
                for (const QByteArray &text : PlaylistSource::addRequestTexts(request.data)) {
                    FUZZ_CHECK(!text.contains('\0'));
                    bytes += 4 + text.size();
                }
                FUZZ_CHECK(bytes <= request.data.size());
                continue;
            }
            if (request.command == P::PlaylistAddUrlString ||
                request.command == P::PlaylistInsUrlString || request.command == P::Quit)
                continue;
            const ControlReply reply = player.handle(request.command, request.data);
            // The answer as the server sends it reads back whole on the client's side.
            QByteArray out;
            if (reply.hasValue)
                out = P::header(0, uint32_t(reply.data.size())) + reply.data;
            out += P::header(0, 0);
            XmmsPacketReader client;
            client.feed(out.constData(), out.size());
            XmmsPacketReader::Packet answer;
            if (reply.hasValue) {
                FUZZ_CHECK(client.take(answer) && answer.data == reply.data);
            }
            FUZZ_CHECK(client.take(answer) && answer.data.isEmpty() && client.pending() == 0);
        }
        if (reader.broken())
            break;
    }
    return 0;
}
