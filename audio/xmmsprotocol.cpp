#include "audio/xmmsprotocol.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <pwd.h>
#include <unistd.h>

namespace XmmsProtocol
{

namespace
{

QByteArray tmpDir()
{
    for (const char *name : {"TMPDIR", "TMP", "TEMP"}) {
        if (const char *value = std::getenv(name))
            return QByteArray(value);
    }
    QByteArray dir(P_tmpdir);
    if (dir.size() > 1 && dir.endsWith('/'))
        dir.chop(1);
    return dir.isEmpty() ? QByteArray("/tmp") : dir;
}

// Looked up once: the passwd lookup costs more than a whole exchange with xmms.
QByteArray userName()
{
    static const QByteArray name = [] {
        if (const passwd *entry = getpwuid(getuid()); entry && entry->pw_name)
            return QByteArray(entry->pw_name);
        return QByteArray("somebody");
    }();
    return name;
}

} // namespace

QByteArray socketPath(int session)
{
    QByteArray path = tmpDir() + "/xmms_" + userName() + '.' + QByteArray::number(session);
    return path.left(107);
}

QByteArray header(uint16_t command, uint32_t dataLength)
{
    char bytes[HeaderSize];
    std::memcpy(bytes, &Version, 2);
    std::memcpy(bytes + 2, &command, 2);
    std::memcpy(bytes + 4, &dataLength, 4);
    return QByteArray(bytes, HeaderSize);
}

} // namespace XmmsProtocol
