#include "audio/xmmspacketreader.h"
#include "audio/xmmsprotocol.h"
#include "fuzz/support.h"
#include "fuzz/targets.h"

#include <cstring>

// What our client reads back from a server, in the reads the socket hands it (the last byte
// cuts the rest), taken packet by packet the way the client does.
int orbalfuzz::xmmsClient(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    const QByteArray stream = bytesOf(data, size - 1);
    XmmsPacketReader reader;
    QList<XmmsPacketReader::Packet> packets;
    qsizetype fed = 0;
    for (const QByteArray &chunk : chunks(stream, data[size - 1])) {
        reader.feed(chunk.constData(), chunk.size());
        fed += chunk.size();
        XmmsPacketReader::Packet packet;
        while (reader.take(packet))
            packets.append(packet);
        if (reader.broken())
            break;
        FUZZ_CHECK(reader.pending() >= 0 && reader.pending() <= fed);
    }

    // The same stream read whole: header, then as much data as it announces.
    qsizetype at = 0;
    qsizetype count = 0;
    bool broken = false;
    while (stream.size() - at >= XmmsProtocol::HeaderSize) {
        uint32_t length = 0;
        std::memcpy(&length, stream.constData() + at + 4, 4);
        if (length > XmmsProtocol::MaxDataLength) {
            broken = true;
            break;
        }
        if (stream.size() - at - XmmsProtocol::HeaderSize < qsizetype(length))
            break;
        FUZZ_CHECK(count < packets.size());
        const XmmsPacketReader::Packet &p = packets.at(count);
        FUZZ_CHECK(std::memcmp(&p.version, stream.constData() + at, 2) == 0);
        FUZZ_CHECK(std::memcmp(&p.command, stream.constData() + at + 2, 2) == 0);
        FUZZ_CHECK(p.data == stream.mid(at + XmmsProtocol::HeaderSize, length));
        at += XmmsProtocol::HeaderSize + qsizetype(length);
        ++count;
    }
    FUZZ_CHECK(count == packets.size());
    FUZZ_CHECK(reader.broken() == broken);
    if (!broken)
        FUZZ_CHECK(reader.pending() == stream.size() - at);
    return 0;
}
