// Keeps the fuzz entries building and every kept input passing: the seeds, and the inputs
// of past findings (fuzz/regressions/<target>/), each of which once crashed or broke a check.
#include "fuzz/targets.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace
{

struct Target {
    const char *name;
    int (*entry)(const uint8_t *, size_t);
};

constexpr Target kTargets[] = {
    {"settings", orbalfuzz::settings},
    {"skin", orbalfuzz::skin},
    {"lrc", orbalfuzz::lrc},
    {"m3u", orbalfuzz::m3u},
    {"mplayer", orbalfuzz::mplayer},
    {"xmmsserver", orbalfuzz::xmmsServer},
    {"xmmsclient", orbalfuzz::xmmsClient},
    {"vellum", orbalfuzz::vellum},
    {"mp3frames", orbalfuzz::mp3frames},
    {"picturecache", orbalfuzz::pictureCache},
};

class FuzzReplay : public ::testing::TestWithParam<Target>
{
};

TEST_P(FuzzReplay, keptInputsPass)
{
    const QString root = qEnvironmentVariable("ORBAL_SOURCE_DIR") + QStringLiteral("/fuzz/");
    int inputs = 0;
    for (const char *kind : {"corpus/", "regressions/"}) {
        const QDir dir(root + QLatin1String(kind) + QLatin1String(GetParam().name));
        for (const QString &name : dir.entryList(QDir::Files, QDir::Name)) {
            QFile file(dir.filePath(name));
            ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << name.toStdString();
            const QByteArray bytes = file.readAll();
            SCOPED_TRACE(dir.filePath(name).toStdString());
            EXPECT_EQ(GetParam().entry(reinterpret_cast<const uint8_t *>(bytes.constData()),
                                       size_t(bytes.size())),
                      0);
            ++inputs;
        }
    }
    EXPECT_GT(inputs, 0) << "no seeds for " << GetParam().name;
}

INSTANTIATE_TEST_SUITE_P(Targets, FuzzReplay, ::testing::ValuesIn(kTargets),
                         [](const auto &info) { return std::string(info.param.name); });

} // namespace
