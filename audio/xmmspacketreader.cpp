#include "audio/xmmspacketreader.h"

#include "audio/xmmsprotocol.h"

#include <cstring>

void XmmsPacketReader::feed(const char *bytes, qsizetype size)
{
    if (m_broken || size <= 0)
        return;
    // Drop what was taken before growing, so the buffer holds at most one unfinished packet
    // plus the new bytes.
    if (m_start > 0) {
        m_buffer.remove(0, m_start);
        m_start = 0;
    }
    m_buffer.append(bytes, size);
}

bool XmmsPacketReader::take(Packet &packet)
{
    if (m_broken || pending() < XmmsProtocol::HeaderSize)
        return false;
    const char *head = m_buffer.constData() + m_start;
    uint32_t length = 0;
    std::memcpy(&packet.version, head, 2);
    std::memcpy(&packet.command, head + 2, 2);
    std::memcpy(&length, head + 4, 4);
    if (length > XmmsProtocol::MaxDataLength) {
        m_broken = true;
        return false;
    }
    if (pending() < XmmsProtocol::HeaderSize + qsizetype(length))
        return false;
    packet.data = QByteArray(head + XmmsProtocol::HeaderSize, qsizetype(length));
    m_start += XmmsProtocol::HeaderSize + qsizetype(length);
    if (m_start == m_buffer.size()) {
        m_buffer.clear();
        m_start = 0;
    }
    return true;
}

void XmmsPacketReader::clear()
{
    m_buffer.clear();
    m_start = 0;
    m_broken = false;
}
