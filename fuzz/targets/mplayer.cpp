#include "fuzz/support.h"
#include "fuzz/targets.h"
#include "video/engine.h"

// The last byte cuts the rest into reads. A NUL followed by 0xFF stands for 40000 bytes of
// "x", so short inputs reach the overlong-line path. Four of them make two overlong lines;
// more would only make each run slower.
int orbalfuzz::mplayer(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    ensureApp();
    QByteArray stream;
    int expansions = 0;
    for (size_t i = 0; i + 1 < size; ++i) {
        if (data[i] == 0 && i + 2 < size && data[i + 1] == 0xFF && expansions < 4) {
            ++expansions;
            stream.append(40000, 'x');
            ++i;
        } else {
            stream.append(char(data[i]));
        }
    }

    Engine engine;
    QList<QByteArray> lines;
    QObject::connect(&engine, &Engine::outputLine,
                     [&lines](const QByteArray &line) { lines.append(line); });
    for (const QByteArray &chunk : chunks(stream, data[size - 1])) {
        engine.parseOutput(chunk);
        FUZZ_CHECK(engine.pendingBytes() <= Engine::MaxPendingBytes);
    }

    // However the reads fell, the lines are those of the whole output: each ended by a line
    // feed, one CR before it dropped, lines too long for the buffer left out.
    QList<QByteArray> expected;
    qsizetype start = 0;
    for (qsizetype end; (end = stream.indexOf('\n', start)) >= 0; start = end + 1) {
        QByteArray line = stream.mid(start, end - start);
        if (line.size() > Engine::MaxPendingBytes)
            continue;
        if (line.endsWith('\r'))
            line.chop(1);
        expected.append(line);
    }
    FUZZ_CHECK(lines == expected);
    return 0;
}
