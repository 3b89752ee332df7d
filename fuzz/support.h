// What the fuzz targets share: the Qt application some readers need, a scratch folder for the
// readers that take file names, and a way to cut one input into the chunks a stream brings.
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <cstddef>
#include <cstdint>

namespace orbalfuzz
{

QByteArray bytesOf(const uint8_t *data, size_t size);

// A QGuiApplication on the offscreen platform, made once when the process has none yet.
void ensureApp();

// A folder of this process under the temporary folder, made on first use; `name` is one
// level below it, also made.
QString scratch(const QString &name);

// Replaces the file's content (created when missing); aborts when it cannot.
void writeFile(const QString &path, const QByteArray &bytes);

// The stream cut into pieces the way reads may deliver it: the sizes follow from seed (0:
// all in one piece), at most a few hundred pieces. The pieces joined give the stream back.
QList<QByteArray> chunks(const QByteArray &stream, uint8_t seed);

[[noreturn]] void fail(const char *what, const char *file, int line);

} // namespace orbalfuzz

// A broken invariant is a finding: abort so the fuzzer keeps the input.
#define FUZZ_CHECK(condition)                                                                      \
    do {                                                                                           \
        if (!(condition))                                                                          \
            ::orbalfuzz::fail(#condition, __FILE__, __LINE__);                                     \
    } while (0)
