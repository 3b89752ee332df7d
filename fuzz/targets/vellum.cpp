#include "fuzz/support.h"
#include "fuzz/targets.h"
#include "tagtool/tagfile.h"

#include <QFile>
#include <QFileInfo>
#include <cstdio>

// The first byte chooses the options (bit 0 delete, 1 force, 2 a new title, 3 a track,
// 4 a genre; the tag is always listed); the rest is the file.
int orbalfuzz::vellum(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    static const QString path = scratch(QStringLiteral("vellum")) + QStringLiteral("/song.mp3");
    static std::FILE *const out = std::fopen("/dev/null", "w");
    const QByteArray before = bytesOf(data + 1, size - 1);
    writeFile(path, before);

    tagtool::Options options;
    options.list = true;
    options.remove = data[0] & 1;
    options.force = data[0] & 2;
    if (data[0] & 4)
        options.song = std::string("title");
    if (data[0] & 8)
        options.track = 7;
    if (data[0] & 16)
        options.genre = 12;
    const tagtool::FileOutcome outcome =
        tagtool::processFile(QFile::encodeName(path).toStdString(), options, out);

    const bool mp3 =
        before.size() >= 2 && uchar(before[0]) == 0xFF && (uchar(before[1]) & 0xE0) == 0xE0;
    const bool tagged = before.size() >= 128 && before.right(128).startsWith("TAG");
    QFile file(path);
    FUZZ_CHECK(file.open(QIODevice::ReadOnly));
    const QByteArray after = file.readAll();
    if (!options.force && !mp3) {
        FUZZ_CHECK(outcome == tagtool::FileOutcome::NotMp3 && after == before);
        return 0;
    }
    FUZZ_CHECK(outcome == tagtool::FileOutcome::Done);
    const QByteArray audio = tagged ? before.left(before.size() - 128) : before;
    if (options.remove) {
        FUZZ_CHECK(after == audio); // exactly the tag goes
    } else if (options.changesFields()) {
        FUZZ_CHECK(after.size() == audio.size() + 128 && after.startsWith(audio));
        FUZZ_CHECK(after.right(128).startsWith("TAG"));
        if (options.track)
            FUZZ_CHECK(after[after.size() - 3] == 0 && after[after.size() - 2] == 7);
    } else {
        FUZZ_CHECK(after == before);
    }
    return 0;
}
