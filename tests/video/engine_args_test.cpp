// mplayer's argument vectors, row by row, and the file-type lists.
#include "video/engine.h"

#include "tests/support/testenv.h"

#include <QDir>
#include <gtest/gtest.h>

namespace
{

using Flag = bool EngineOptions::*;

struct ArgsCase {
    const char *name;
    Engine::Mode mode;
    const char *path;
    std::vector<Flag> flags;
    const char *expected; // the whole vector but the path, space-separated
};

EngineOptions with(const std::vector<Flag> &flags)
{
    EngineOptions o;
    for (Flag f : flags)
        o.*f = true;
    return o;
}

class ArgumentRows : public ::testing::TestWithParam<ArgsCase>
{
};

TEST_P(ArgumentRows, vectorMatchesRowsInOrder)
{
    const ArgsCase &c = GetParam();
    QList<QByteArray> expected = QByteArray(c.expected).split(' ');
    expected << QByteArray(c.path);
    EXPECT_EQ(Engine::arguments(c.mode, c.path, with(c.flags)), expected);
}

using E = EngineOptions;
constexpr auto A = Engine::Mode::Audio;
constexpr auto V = Engine::Mode::Video;
#define AUDIO "./mplayer -slave -quiet -nortc -af channels=2"
#define VIDEO "./mplayer -af channels=2 -slave -quiet -nortc"
#define SLICED " -noslices -lavdopts skipframe=bidir"

// clang-format off
INSTANTIATE_TEST_SUITE_P(Rows, ArgumentRows, ::testing::Values(
    ArgsCase{"audioPlain", A, "/m/song.ogg", {}, AUDIO},
    ArgsCase{"audioKaraoke", A, "/m/song.ogg", {&E::karaoke}, AUDIO " -af karaoke=1"},
    ArgsCase{"audioWmaResample", A, "/m/song.wma", {}, AUDIO " -af resample=11025:0:1,volume=10"},
    ArgsCase{"audioWmaAnyCase", A, "/m/S.WmA", {}, AUDIO " -af resample=11025:0:1,volume=10"},
    ArgsCase{"audioLoop", A, "/m/song.mp3", {&E::loop}, AUDIO " -loop 0"},
    ArgsCase{"audioIgnoresVideoSwitches", A, "/m/song.mp3",
             {&E::nosound, &E::framedrop, &E::scale, &E::Lstereo, &E::autosync}, AUDIO},
    ArgsCase{"audioAllRows", A, "/m/a b.wma", {&E::karaoke, &E::loop},
             AUDIO " -af karaoke=1 -af resample=11025:0:1,volume=10 -loop 0"},
    ArgsCase{"videoPlain", V, "/v/clip.mpg", {}, VIDEO},
    ArgsCase{"videoNosoundBeforeSlave", V, "/v/clip.mpg", {&E::nosound},
             "./mplayer -af channels=2 -nosound -slave -quiet -nortc"},
    ArgsCase{"videoLeft", V, "/v/c.mpg", {&E::Lstereo}, VIDEO " -af channels=2:2:0:0:0:1,volume=-15"},
    ArgsCase{"videoRight", V, "/v/c.mpg", {&E::Rstereo}, VIDEO " -af channels=2:2:1:0:1:1,volume=-15"},
    ArgsCase{"videoFramedrop", V, "/v/clip.mpg", {&E::framedrop}, VIDEO " -framedrop"},
    ArgsCase{"videoAviSliced", V, "/v/clip.avi", {}, VIDEO SLICED},
    ArgsCase{"videoWmvSliced", V, "/v/clip.wmv", {}, VIDEO SLICED},
    ArgsCase{"videoAsfSliced", V, "/v/clip.asf", {}, VIDEO SLICED},
    ArgsCase{"videoMp4SlicedWithIdct", V, "/v/clip.MP4", {&E::nedtc},
             VIDEO " -noslices -lavdopts idct=7 -lavdopts skipframe=bidir"},
    ArgsCase{"videoNedtcOnlyWhenSliced", V, "/v/clip.mpg", {&E::nedtc}, VIDEO},
    ArgsCase{"videoMpegNotSliced", V, "/v/clip.mpeg", {}, VIDEO},
    ArgsCase{"videoAutosync", V, "/v/clip.flv", {&E::autosync}, VIDEO " -autosync 60"},
    ArgsCase{"videoLoop", V, "/v/clip.flv", {&E::loop}, VIDEO " -loop 0"},
    ArgsCase{"videoScale", V, "/v/c.flv", {&E::scale}, VIDEO " -vf expand=0:0:::1,scale=-3:240:0:0,rotate=2"},
    ArgsCase{"videoCrop", V, "/v/c.flv", {&E::crop}, VIDEO " -vf expand=320:240:::1,crop=320:240:-1:-1,rotate=2"},
    ArgsCase{"videoTspeed", V, "/v/c.flv", {&E::Tspeed}, VIDEO " -vf expand=0:0:::1,scale=320:240:0:0,rotate=2"},
    ArgsCase{"videoSpeed", V, "/v/c.flv", {&E::speed}, VIDEO " -vf rotate=4,scale=240:-2:0:0,"},
    ArgsCase{"videoIgnoresKaraoke", V, "/v/clip.flv", {&E::karaoke}, VIDEO},
    ArgsCase{"videoNosoundFramedropNedtcAvi", V, "/v/clip.avi", {&E::nosound, &E::framedrop, &E::nedtc},
             "./mplayer -af channels=2 -nosound -slave -quiet -nortc -framedrop"
             " -noslices -lavdopts idct=7 -lavdopts skipframe=bidir"}),
    [](const auto &info) { return std::string(info.param.name); });
// clang-format on

TEST(ArgumentVector, everyRowAtOnceGivesThirtyEntriesInTableOrder)
{
    EngineOptions all =
        with({&E::nosound, &E::karaoke, &E::Lstereo, &E::Rstereo, &E::framedrop, &E::nedtc,
              &E::autosync, &E::loop, &E::scale, &E::crop, &E::Tspeed, &E::speed});
    const QList<QByteArray> args = Engine::arguments(Engine::Mode::Video, "/v/x.avi", all);
    ASSERT_EQ(args.size(), 30);
    EXPECT_EQ(args.indexOf("-nosound"), 3);
    EXPECT_EQ(args.indexOf("expand=0:0:::1,scale=-3:240:0:0,rotate=2"), 22);
    EXPECT_EQ(args.indexOf("rotate=4,scale=240:-2:0:0,"), 28);
    EXPECT_EQ(args.last(), "/v/x.avi");
}

TEST(ArgumentVector, hostilePathsStayOneArgument)
{
    const char *paths[] = {"/m/a b 'c' \"d\" $(rm -rf x) `id`.mp3", "/m/new\nline.mp3",
                           "/m/ünïcode 歌.mp3"};
    for (const char *p : paths) {
        const QList<QByteArray> args =
            Engine::arguments(Engine::Mode::Audio, QString::fromUtf8(p), EngineOptions());
        EXPECT_EQ(args.last(), QByteArray(p));
    }
}

TEST(ArgumentVector, leadingDashCannotPassForAnOption)
{
    const QList<QByteArray> args =
        Engine::arguments(Engine::Mode::Audio, "-vo=foo.mp3", EngineOptions());
    EXPECT_EQ(args.last(), "./-vo=foo.mp3");
}

TEST(ArgumentVector, longPathsAreNotCut)
{
    const QString path = "/m/" + QString(400, QLatin1Char('x')) + ".mp3";
    EXPECT_EQ(Engine::arguments(Engine::Mode::Audio, path, EngineOptions()).last(), path.toUtf8());
}

TEST(ArgumentVector, windowArgumentsHandOverTheWindowAndSilenceMplayersInput)
{
    const QList<QByteArray> extra = Engine::windowArguments(0x2a00005);
    ASSERT_GE(extra.size(), 2);
    EXPECT_EQ(extra[0], "-wid");
    EXPECT_EQ(extra[1], "44040197");
    EXPECT_TRUE(extra.contains("-nomouseinput"));
    EXPECT_TRUE(extra.contains("nodefault-bindings:conf=/dev/null"));
}

struct TypeCase {
    const char *file;
    Engine::Mode mode;
};

TEST(FileTypes, modeByLastExtensionForExistingFiles)
{
    const QString dir = testenv::scratchDir("types");
    const TypeCase cases[] = {
        {"clip.3gp", Engine::Mode::Video},    {"clip.MP4", Engine::Mode::Video},
        {"clip.rm", Engine::Mode::Video},     {"clip.rmvb", Engine::Mode::Video},
        {"clip.flv", Engine::Mode::Video},    {"clip.wov", Engine::Mode::Video},
        {"song.wma", Engine::Mode::Audio},    {"song.ogg", Engine::Mode::Audio},
        {"song.Mp3", Engine::Mode::Audio},    {"song.acc", Engine::Mode::Audio},
        {"song.ram", Engine::Mode::Audio},    {"a.mp3.txt", Engine::Mode::None},
        {"song.flac", Engine::Mode::None},    {"noext", Engine::Mode::None},
        {"tar.mp3.avi", Engine::Mode::Video},
    };
    for (const TypeCase &c : cases) {
        const QString path = dir + "/" + c.file;
        EXPECT_EQ(Engine::modeOf(path), Engine::Mode::None) << c.file << " before it exists";
        testenv::writeFile(path, "x");
        EXPECT_EQ(Engine::modeOf(path), c.mode) << c.file;
    }
    QDir(dir).mkdir("folder.avi");
    EXPECT_EQ(Engine::modeOf(dir + "/folder.avi"), Engine::Mode::None);
}

} // namespace
