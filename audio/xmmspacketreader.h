// Cuts a byte stream of the xmms control socket into packets: feed it whatever arrived,
// take out each complete packet; an unfinished packet stays buffered for the next feed.
#pragma once

#include <QByteArray>
#include <cstdint>

class XmmsPacketReader
{
public:
    struct Packet {
        uint16_t version = 0;
        uint16_t command = 0; // the request's command; padding in a reply
        QByteArray data;
    };

    void feed(const char *bytes, qsizetype size);
    // Moves the next complete packet into packet; false when none is complete yet.
    bool take(Packet &packet);
    // A header announced more than XmmsProtocol::MaxDataLength: the stream is unusable.
    bool broken() const { return m_broken; }
    qsizetype pending() const { return m_buffer.size() - m_start; }
    void clear();

private:
    QByteArray m_buffer;
    qsizetype m_start = 0; // bytes before this were taken already
    bool m_broken = false;
};
