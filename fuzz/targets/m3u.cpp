#include "fuzz/support.h"
#include "fuzz/targets.h"
#include "platform/pathcodec.h"
#include "playlist/playlistfile.h"
#include "standins/xmms/playlistsource.h"

#include <QDir>
#include <QFileInfo>
#include <unistd.h>

// Both readers of a playlist file, the front-end's and the stand-in player's, must see the
// same entries in the same order: row n of the editor is position n of the player.
int orbalfuzz::m3u(const uint8_t *data, size_t size)
{
    // Names a line can reach: blanks and a CR at either end, bytes that are not UTF-8, a
    // file in a folder. Relative names are taken from the working folder.
    static const QByteArray folder = [] {
        const QString dir = scratch(QStringLiteral("m3u"));
        for (const char *name : {"a", "a ", " a", "a\r", "#a", "\xe4\xb8\xad", "\xff\xfe", "d/e"}) {
            const QString path = dir + QLatin1Char('/') + PathCodec::decode(name);
            QDir().mkpath(QFileInfo(path).path());
            writeFile(path, QByteArray());
        }
        return QFile::encodeName(dir);
    }();
    if (::chdir(folder.constData()) != 0)
        fail("chdir", __FILE__, __LINE__);

    const QByteArray bytes = bytesOf(data, size);
    const QStringList front = PlaylistFile::parse(bytes);
    const QList<QByteArray> player = PlaylistSource::parseM3u(bytes);
    FUZZ_CHECK(front.size() == player.size());
    for (qsizetype i = 0; i < front.size(); ++i) {
        const QByteArray name = PathCodec::encode(front.at(i));
        FUZZ_CHECK(PathCodec::decode(name) == front.at(i));
        const QByteArray full = name.startsWith('/') ? name : folder + '/' + name;
        FUZZ_CHECK(full == player.at(i));
    }
    return 0;
}
