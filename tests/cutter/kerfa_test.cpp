#include "cutter/kerfa.h"
#include "cutter/kerfacommands.h"
#include "mp3frames.h"
#include "platform/cardroot.h"
#include "platform/mediaplayer.h"
#include "platform/util_cst.h"
#include "platform/zmessagebox.h"
#include "tests/support/testenv.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryFile>
#include <QTest>
#include <cstdio>
#include <gtest/gtest.h>
#include <unistd.h>

namespace
{

const QString kDone = QStringLiteral("恭喜，所有操作完成拉!!<br>文件位置：");
const QString kCutting = QStringLiteral("开始截取！请稍等.");
const QString kCutFailed = QStringLiteral("截取失败!");
const QString kNoInput = QStringLiteral("输入的文件不存在");
const QString kBadTimes = QStringLiteral("时间设置无效，请重新设置");
const QString kGaining =
    QStringLiteral("开始调整音量!这个操作可能将花费数分钟的时间，请耐心的等待。");
const QString kTagging = QStringLiteral("正在加入ID3tag信息，稍候.");
const QString kTagged = QStringLiteral("加入ID3tag信息完成.成没成功我也搞不清~~嘿嘿");

// Records each argument, NUL-terminated, in kerfa/<name>.args. The cutter fake writes
// its -o file unless kerfa/mp3asm.fail exists; then it fails and writes nothing.
const char kRecorder[] = R"(#!/bin/sh
dir=$(dirname "$0")
name=$(basename "$0")
: > "$dir/$name.args"
for a in "$@"; do printf '%s\0' "$a" >> "$dir/$name.args"; done
if [ "$name" = mp3asm ]; then
  [ -e "$dir/mp3asm.fail" ] && exit 1
  out=""; prev=""
  for a in "$@"; do [ "$prev" = "-o" ] && out=$a; prev=$a; done
  printf 'cut' > "$out"
fi
exit 0
)";

// Everything written to standard output while it lives.
class StdoutCapture
{
public:
    StdoutCapture()
    {
        m_file.open();
        std::fflush(stdout);
        m_saved = ::dup(1);
        ::dup2(m_file.handle(), 1);
    }
    ~StdoutCapture() { restore(); }
    QString text()
    {
        restore();
        m_file.seek(0);
        return QString::fromLocal8Bit(m_file.readAll());
    }

private:
    void restore()
    {
        if (m_saved < 0)
            return;
        std::fflush(stdout);
        ::dup2(m_saved, 1);
        ::close(m_saved);
        m_saved = -1;
    }
    QTemporaryFile m_file;
    int m_saved = -1;
};

class KerfaTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_oldDir = QDir::currentPath();
        m_appDir = testenv::scratchDir("app");
        QDir::setCurrent(m_appDir);
        QDir().mkpath(platform::cardRoot());
        ZMessageBox::history().clear();
        ZMessageBox::setResponder([](const ZMessageBox::Shown &) { return 0; });
        m_kerfa = new Kerfa;
    }
    void TearDown() override
    {
        delete m_kerfa.data();
        ZMessageBox::setResponder(nullptr);
        platform::setMediaPlayerProgram("mplayer");
        QDir::setCurrent(m_oldDir);
    }

    void installFakes()
    {
        for (const char *name : {"mp3asm", "mp3gain", "vellum"}) {
            const QString path = m_appDir + "/kerfa/" + name;
            testenv::writeFile(path, kRecorder);
            QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        }
    }

    // The real programs: ours from the build, and Debian's mp3gain.
    void installRealPrograms()
    {
        QDir().mkpath(m_appDir + "/kerfa");
        for (const char *name : {"mp3asm", "vellum"}) {
            const QString built = testenv::binaryDir() + "/bin/" + name;
            ASSERT_TRUE(QFile::exists(built)) << built.toStdString();
            ASSERT_TRUE(QFile::copy(built, m_appDir + "/kerfa/" + name));
        }
        ASSERT_TRUE(QFile::link("/usr/bin/mp3gain", m_appDir + "/kerfa/mp3gain"));
    }

    QStringList args(const char *program) const
    {
        const QString path = m_appDir + "/kerfa/" + program + ".args";
        if (!QFile::exists(path))
            return {"<not run>"};
        QStringList out = QString::fromUtf8(testenv::readFile(path)).split(QChar(0));
        out.removeLast();
        return out;
    }

    QLineEdit *edit(const char *name) const { return m_kerfa->findChild<QLineEdit *>(name); }
    QCheckBox *check(const char *name) const { return m_kerfa->findChild<QCheckBox *>(name); }
    void set(const char *name, const QString &text) const { edit(name)->setText(text); }

    QStringList messages() const
    {
        QStringList out;
        for (const auto &shown : ZMessageBox::history())
            out << shown.text;
        return out;
    }

    QString m_oldDir;
    QString m_appDir;
    QPointer<Kerfa> m_kerfa;
};

TEST_F(KerfaTest, windowCarriesItsTexts)
{
    EXPECT_EQ(m_kerfa->windowTitle(), "Kerfa Lumora");
    const struct {
        const char *object;
        QString text;
    } groups[] = {{"inputGroup", "输入文件"},
                  {"outputGroup", "输出文件"},
                  {"timeGroup", "开始和结束的秒"},
                  {"gainGroup", "音量选项"},
                  {"tagGroup", "ID3标签编辑"}};
    for (const auto &g : groups) {
        auto *group = m_kerfa->findChild<QGroupBox *>(g.object);
        ASSERT_NE(group, nullptr) << g.object;
        EXPECT_EQ(group->title(), g.text);
    }
    const struct {
        const char *object;
        QString text;
    } checks[] = {{"verboseCheck", "冗余"},           {"keepTagCheck", "继承原始id3tag信息"},
                  {"gainCheck", "启用音量调整"},      {"leftCheck", "左声道(仅立体声)"},
                  {"rightCheck", "右声道(仅立体声)"}, {"tagCheck", "编辑ID3tag"}};
    for (const auto &c : checks) {
        ASSERT_NE(check(c.object), nullptr) << c.object;
        EXPECT_EQ(check(c.object)->text(), c.text);
        EXPECT_FALSE(check(c.object)->isChecked());
    }
    QStringList labels;
    for (QLabel *label : m_kerfa->findChildren<QLabel *>())
        labels << label->text();
    for (const char *text :
         {"程序将使用MP3Gain\n对输出文件进行处理.\n但此操作将花费比较\n长的时间.",
          "文件音量:", "歌曲标题:", "歌曲作者:", "歌曲专辑:"})
        EXPECT_TRUE(labels.contains(QString::fromUtf8(text))) << text;

    EXPECT_EQ(edit("outputEdit")->text(), platform::cardRoot() + "/");
    EXPECT_EQ(m_kerfa->findChild<QPushButton *>("modeButton")->text(), "->");
    EXPECT_EQ(m_kerfa->findChild<QPushButton *>("browseButton")->text(), "...");

    auto *keys = qobject_cast<UTIL_CST *>(m_kerfa->getCSTWidget());
    ASSERT_NE(keys, nullptr);
    EXPECT_EQ(keys->getMidBtn()->text(), "SAVE MP3");
    ASSERT_NE(keys->getLeftBtn()->menu(), nullptr);
    QStringList items;
    for (QAction *action : keys->getLeftBtn()->menu()->actions())
        items << (action->isSeparator() ? "-" : action->text());
    EXPECT_EQ(items, QStringList({"preview", "-", "About "}));
}

TEST_F(KerfaTest, showsItsLogoFromTheProgramsFolder)
{
    auto logo = [](const Kerfa &k) { return k.findChild<QLabel *>("logo")->pixmap(); };
    EXPECT_TRUE(logo(*m_kerfa).isNull()) << "no kerfa/ folder yet";
    QDir().mkpath(m_appDir + "/kerfa");
    for (const char *name : {"logo.jpg", "kerfa.png"})
        ASSERT_TRUE(
            QFile::copy(testenv::sourceDir() + "/data/kerfa/" + name, m_appDir + "/kerfa/" + name));
    Kerfa withPictures;
    EXPECT_FALSE(logo(withPictures).isNull());
    EXPECT_LE(logo(withPictures).width(), 217);
    EXPECT_FALSE(QPixmap(m_appDir + "/kerfa/kerfa.png").isNull());
}

TEST_F(KerfaTest, optionGroupsFollowTheirBoxes)
{
    const struct {
        const char *box;
        const char *group;
        QList<const char *> controls;
    } rows[] = {{"gainCheck", "gainGroup", {"gainEdit", "leftCheck", "rightCheck"}},
                {"tagCheck", "tagGroup", {"titleEdit", "artistEdit", "albumEdit"}}};
    for (const auto &row : rows) {
        auto *group = m_kerfa->findChild<QGroupBox *>(row.group);
        auto enabled = [&](const char *name) {
            return m_kerfa->findChild<QWidget *>(name)->isEnabled();
        };
        EXPECT_FALSE(group->isVisibleTo(m_kerfa));
        for (const char *name : row.controls)
            EXPECT_FALSE(enabled(name)) << name;
        check(row.box)->click();
        EXPECT_TRUE(group->isVisibleTo(m_kerfa)) << row.group;
        for (const char *name : row.controls)
            EXPECT_TRUE(enabled(name)) << name;
        check(row.box)->click();
        EXPECT_FALSE(group->isVisibleTo(m_kerfa));
        EXPECT_FALSE(enabled(row.controls.first()));
    }
}

TEST_F(KerfaTest, modeButtonSwitchesBetweenEndAndLength)
{
    auto *mode = m_kerfa->findChild<QPushButton *>("modeButton");
    mode->click();
    EXPECT_EQ(mode->text(), "++");
    mode->click();
    EXPECT_EQ(mode->text(), "->");
}

TEST_F(KerfaTest, closingReportsAndDeletesTheWindow)
{
    int closed = 0;
    QObject::connect(m_kerfa, &Kerfa::clickcolse, [&] { ++closed; });
    m_kerfa->show();
    m_kerfa->close();
    EXPECT_EQ(closed, 1);
    EXPECT_TRUE(testenv::waitFor([&] { return m_kerfa.isNull(); }, 2000));
}

struct StopCase {
    const char *name;
    QString input;  // created under the app dir unless empty
    QString output; // the output field, "" = keep the card root
    QString start, end;
    bool lengthMode;
    bool cutFails;
    QStringList expected; // messages; "<out>" stands for the output path
};

class KerfaStops : public KerfaTest, public ::testing::WithParamInterface<StopCase>
{
};

TEST_P(KerfaStops, showsTheDocumentedMessage)
{
    const StopCase &c = GetParam();
    installFakes();
    testenv::writeFile(m_appDir + "/music/a.mp3", "x");
    if (c.cutFails)
        testenv::writeFile(m_appDir + "/kerfa/mp3asm.fail", "");
    set("inputEdit", c.input);
    if (!c.output.isEmpty())
        set("outputEdit", c.output);
    set("startEdit", c.start);
    set("endEdit", c.end);
    if (c.lengthMode)
        m_kerfa->switchMode();
    check("gainCheck")->click();
    check("leftCheck")->setChecked(true);
    check("tagCheck")->click();
    set("titleEdit", "t");
    m_kerfa->start();

    const QString out = platform::cardRoot() + "/a.mp3";
    QStringList expected = c.expected;
    expected.replaceInStrings("<out>", out);
    EXPECT_EQ(messages(), expected);
    const bool cutRan = expected.contains(kCutting);
    const bool finished = !expected.isEmpty() && expected.last().startsWith(kDone);
    EXPECT_EQ(args("mp3asm") != QStringList({"<not run>"}), cutRan);
    EXPECT_EQ(args("mp3gain") != QStringList({"<not run>"}), finished);
    EXPECT_EQ(args("vellum") != QStringList({"<not run>"}), finished);
}

INSTANTIATE_TEST_SUITE_P(
    Kerfa, KerfaStops,
    ::testing::Values(
        StopCase{"missingInput", "music/none.mp3", "", "1", "2", false, false, {kNoInput}},
        StopCase{"inputIsAFolder", "music", "", "1", "2", false, false, {kNoInput}},
        StopCase{"endBeforeStart", "music/a.mp3", "", "40", "10", false, false, {kBadTimes}},
        StopCase{"fractionalStartCountsAsZero",
                 "music/a.mp3",
                 "",
                 "12.5",
                 "0",
                 false,
                 false,
                 {kBadTimes}},
        StopCase{"lengthModeHasNoTimeTest",
                 "music/a.mp3",
                 "",
                 "40",
                 "10",
                 true,
                 false,
                 {kCutting, "截取完毕!!<out>", kGaining, kTagging, kTagged, kDone + "<out>"}},
        StopCase{"fractionalStartPassesWithWholeEnd",
                 "music/a.mp3",
                 "",
                 "12.5",
                 "1",
                 false,
                 false,
                 {kCutting, "截取完毕!!<out>", kGaining, kTagging, kTagged, kDone + "<out>"}},
        StopCase{"failedCutSkipsGainAndTag",
                 "music/a.mp3",
                 "",
                 "1",
                 "2",
                 false,
                 true,
                 {kCutting, kCutFailed}},
        // The output folder is the input's own: the cut would overwrite its source.
        StopCase{"outputIsTheInput",
                 "music/a.mp3",
                 "music",
                 "1",
                 "2",
                 false,
                 false,
                 {"输出文件不能与输入文件相同"}}),
    [](const auto &info) { return std::string(info.param.name); });

struct HostileCase {
    const char *name;
    QString inputDir, inputName; // relative to the app dir
    QString outputDir;           // relative to the app dir, given as the output field
    QString title, artist, album;
};

class KerfaHostile : public KerfaTest, public ::testing::WithParamInterface<HostileCase>
{
};

TEST_P(KerfaHostile, valuesReachTheProgramsAsTypedAndRunNothingElse)
{
    const HostileCase &c = GetParam();
    installFakes();
    const QString inputPath =
        c.inputDir.isEmpty() ? c.inputName : m_appDir + "/" + c.inputDir + "/" + c.inputName;
    testenv::writeFile(
        m_appDir + "/" + (c.inputDir.isEmpty() ? "" : c.inputDir + "/") + c.inputName, "x");
    QDir().mkpath(m_appDir + "/" + c.outputDir);
    const QString outputField = m_appDir + "/" + c.outputDir;
    const QString out = outputField + "/" + c.inputName;

    set("inputEdit", inputPath);
    set("outputEdit", outputField);
    set("startEdit", "1");
    set("endEdit", "2");
    check("gainCheck")->click();
    set("gainEdit", "3");
    check("leftCheck")->setChecked(true);
    check("rightCheck")->setChecked(true);
    check("tagCheck")->click();
    set("titleEdit", c.title);
    set("artistEdit", c.artist);
    set("albumEdit", c.album);
    StdoutCapture capture;
    m_kerfa->start();
    const QString printed = capture.text();

    // A path that begins with "-" arrives as "./-...": the same file, never an option.
    const QString inputArgument = inputPath.startsWith("-") ? "./" + inputPath : inputPath;
    EXPECT_EQ(args("mp3asm"), QStringList({"-o", out, "-s", "38", "-e", "76", inputArgument}));
    EXPECT_EQ(args("mp3gain"), QStringList({"-g", "3", out}));
    EXPECT_EQ(args("vellum"), QStringList({"-s", c.title, "-a", c.artist, "-b", c.album, out}));
    EXPECT_EQ(testenv::readFile(out), "cut");
    EXPECT_EQ(messages().last(), kDone + out);
    // What is printed is what ran.
    EXPECT_EQ(printed, kerfa::cutCommand({inputPath, out, "1", "2", false, false, false}) + "\n" +
                           kerfa::gainCommand("3", true, true, out) + "\n" +
                           kerfa::tagCommand(c.title, c.artist, c.album, out) + "\n");
    QDirIterator it(m_appDir, QDir::AllEntries | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext())
        EXPECT_FALSE(QFileInfo(it.next()).fileName().startsWith("pwned"))
            << it.filePath().toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Kerfa, KerfaHostile,
    ::testing::Values(HostileCase{"quotesAndSubstitutions", "it's $(touch pwned1) dir",
                                  "-`touch pwned2`'x'.mp3", "out 'q' $(touch pwned3)", "a'b\"c",
                                  "$(touch pwned4)", "-b `touch pwned5`"},
                      HostileCase{"leadingDashesAndSpaces", "", "-lead ing.mp3", "  spaced out ",
                                  "-s", "--", "  100% %s \\' "},
                      HostileCase{"quotesOnly", "'", "''.mp3", "'''", "'", "''", "'''"}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(KerfaTest, previewCutsIntoTheCardAndPlaysIt)
{
    installFakes();
    const QString player = m_appDir + "/player";
    // Plays until told to return (a bounded wait, so it never outlives the test for long).
    testenv::writeFile(player,
                       "#!/bin/sh\nprintf '%s\\n' \"$@\" > \"$0.args\"\n"
                       "for i in $(seq 100); do [ -e \"$0.stop\" ] && exit 0; sleep 0.1; done\n");
    QFile::setPermissions(player, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    platform::setMediaPlayerProgram(player);
    testenv::writeFile(m_appDir + "/a b.mp3", "x");

    const QString preview = Kerfa::previewFile();
    EXPECT_EQ(preview, platform::cardRoot() + "/.system/kerfa.tmp.mp3");
    set("inputEdit", "a b.mp3");
    set("startEdit", "10");
    set("endEdit", "5"); // no time test for a preview
    check("verboseCheck")->setChecked(true);
    m_kerfa->preview();
    EXPECT_EQ(args("mp3asm"),
              QStringList({"-o", preview, "-s", "384", "-e", "192", "-v", "a b.mp3"}));
    EXPECT_EQ(messages(), QStringList({"正在生成预览！请稍等.", "开始预览"}));
    ASSERT_TRUE(testenv::waitFor([&] { return QFile::exists(player + ".args"); }));
    EXPECT_TRUE(testenv::readFile(player + ".args").endsWith("\n" + preview.toLocal8Bit() + "\n"));
    EXPECT_TRUE(QFile::exists(preview)) << "kept while the player plays it";
    testenv::writeFile(player + ".stop", "");
    EXPECT_TRUE(testenv::waitFor([&] { return !QFile::exists(preview); }))
        << "removed once the player returns";
    QFile::remove(player + ".stop");

    // A failed cut must not pass an earlier preview off as its own.
    testenv::writeFile(preview, "stale");
    QFile::remove(player + ".args");
    ZMessageBox::history().clear();
    testenv::writeFile(m_appDir + "/kerfa/mp3asm.fail", "");
    m_kerfa->preview();
    EXPECT_EQ(messages(), QStringList({"正在生成预览！请稍等.", "生成预览失败!"}));
    EXPECT_FALSE(QFile::exists(preview));
    QTest::qWait(200);
    EXPECT_FALSE(QFile::exists(player + ".args"));

    ZMessageBox::history().clear();
    set("inputEdit", "gone.mp3");
    m_kerfa->preview();
    EXPECT_EQ(messages(), QStringList({kNoInput}));
}

// The real programs: our mp3asm and vellum, Debian's mp3gain, on lame-made songs.
class KerfaReal : public KerfaTest
{
protected:
    void SetUp() override
    {
        KerfaTest::SetUp();
        installRealPrograms();
        m_song = testenv::makeMp3(m_appDir + "/music/song.mp3", 3.0);
        ASSERT_FALSE(m_song.isEmpty());
        QDir().mkpath(m_appDir + "/out");
        set("inputEdit", m_song);
        set("outputEdit", m_appDir + "/out");
    }
    QString output() const { return m_appDir + "/out/song.mp3"; }

    QString m_song;
};

TEST_F(KerfaReal, cutGivesAPlayableFileOfTheExpectedFrames)
{
    const struct {
        QString start, end;
        bool lengthMode;
        int frames;
    } rows[] = {{"1", "2", false, 38}, {"0.5", "1.5", true, 57}, {"0", "100", false, -1}};
    for (const auto &row : rows) {
        QFile::remove(output());
        ZMessageBox::history().clear();
        set("startEdit", row.start);
        set("endEdit", row.end);
        auto *mode = m_kerfa->findChild<QPushButton *>("modeButton");
        if ((mode->text() == "++") != row.lengthMode)
            mode->click();
        m_kerfa->start();
        EXPECT_EQ(messages().last(), kDone + output());
        const mp3frames::Count whole = mp3frames::count(m_song);
        const mp3frames::Count cut = mp3frames::count(output());
        EXPECT_EQ(cut.frames, row.frames < 0 ? whole.frames : row.frames)
            << row.start.toStdString();
        EXPECT_EQ(cut.rest, 0);

        const QString wav = m_appDir + "/out/decoded.wav";
        const auto decoded = testenv::run("lame", {"--decode", "--quiet", output(), wav});
        EXPECT_EQ(decoded.exitCode, 0) << decoded.err.toStdString();
        EXPECT_GT(QFileInfo(wav).size(), 44 + 4 * 1152 * (cut.frames - 2));
    }
}

TEST_F(KerfaReal, tagStepWritesTheTag)
{
    set("startEdit", "0");
    set("endEdit", "1");
    check("tagCheck")->click();
    set("titleEdit", "Ring 'One'");
    set("artistEdit", "Me & $(you)");
    set("albumEdit", "");
    m_kerfa->start();
    EXPECT_EQ(messages().last(), kDone + output());
    const QByteArray bytes = testenv::readFile(output());
    ASSERT_GT(bytes.size(), 128);
    const QByteArray tag = bytes.right(128);
    EXPECT_TRUE(tag.startsWith("TAG"));
    const auto listed = testenv::run(m_appDir + "/kerfa/vellum", {"-l", output()});
    EXPECT_TRUE(listed.out.contains("Song:\t\tRing 'One'\n")) << listed.out.toStdString();
    EXPECT_TRUE(listed.out.contains("Artist:\t\tMe & $(you)\n")) << listed.out.toStdString();
    EXPECT_TRUE(listed.out.contains("Album:\t\t\n")) << listed.out.toStdString();
    EXPECT_EQ(mp3frames::count(output()).frames, 38);
}

// Typed relative to the working directory, "-t.mp3" would be an option to every program.
TEST_F(KerfaReal, outputNamedLikeAnOptionIsCutAndTagged)
{
    set("outputEdit", "-t.mp3");
    set("startEdit", "0");
    set("endEdit", "1");
    check("tagCheck")->click();
    set("titleEdit", "Dash");
    m_kerfa->start();
    const QString out = m_appDir + "/-t.mp3";
    EXPECT_EQ(messages().last(), kDone + "-t.mp3");
    EXPECT_EQ(mp3frames::count(out).frames, 38);
    const auto listed = testenv::run(m_appDir + "/kerfa/vellum", {"-l", out});
    EXPECT_TRUE(listed.out.contains("Song:\t\tDash\n")) << listed.out.toStdString();
}

TEST_F(KerfaReal, gainStepChangesTheVolumeOfTheCut)
{
    // One channel alone can only be changed in plain (not joint) stereo.
    const QString wav = m_appDir + "/music/stereo.wav";
    ASSERT_EQ(testenv::run("sox", {"-n", "-r", "44100", "-c", "2", "-b", "16", wav, "synth", "2",
                                   "sine", "440", "sine", "660", "vol", "0.3"})
                  .exitCode,
              0);
    ASSERT_EQ(
        testenv::run("lame", {"--quiet", "-m", "s", "-b", "128", "--cbr", wav, m_song}).exitCode,
        0);
    set("startEdit", "0");
    set("endEdit", "1");
    m_kerfa->start();
    const QByteArray plain = testenv::readFile(output());
    ASSERT_FALSE(plain.isEmpty());
    const struct {
        bool left, right;
    } rows[] = {{true, true}, {true, false}, {false, true}};
    check("gainCheck")->click();
    for (const auto &row : rows) {
        QFile::remove(output());
        set("gainEdit", "-4");
        check("leftCheck")->setChecked(row.left);
        check("rightCheck")->setChecked(row.right);
        m_kerfa->start();
        const QByteArray gained = testenv::readFile(output());
        EXPECT_NE(gained.left(plain.size()), plain)
            << "mp3gain left the frames as they were " << row.left << row.right;
        EXPECT_EQ(mp3frames::count(output()).frames, 38);
        EXPECT_EQ(messages().last(), kDone + output());
    }
}

TEST_F(KerfaReal, badInputOrUnwritableOutputFailsAndKeepsOldFiles)
{
    const QString notMp3 = m_appDir + "/music/notes.mp3";
    testenv::writeFile(notMp3, QByteArray(4000, 'x'));
    const QByteArray song = testenv::readFile(m_song);
    const QString truncated = m_appDir + "/music/truncated.mp3";
    testenv::writeFile(truncated, song.left(song.size() / 3 + 17));
    testenv::writeFile(m_appDir + "/afile", "x");

    const struct {
        const char *name;
        QString input, output, start, end;
    } rows[] = {
        {"notAnMp3", notMp3, m_appDir + "/out/keep.mp3", "0", "1"},
        {"truncatedBeforeTheStart", truncated, m_appDir + "/out/keep.mp3", "2", "3"},
        {"folderIsAFile", m_song, m_appDir + "/afile/song.mp3", "0", "1"},
        {"noSuchFolder", m_song, m_appDir + "/missing/song.mp3", "0", "1"},
        {"procCannotBeWritten", m_song, "/proc/kerfa-song.mp3", "0", "1"},
    };
    for (const auto &row : rows) {
        testenv::writeFile(m_appDir + "/out/keep.mp3", "OLD");
        ZMessageBox::history().clear();
        set("inputEdit", row.input);
        set("outputEdit", row.output);
        set("startEdit", row.start);
        set("endEdit", row.end);
        m_kerfa->start();
        EXPECT_EQ(messages(), QStringList({kCutting, kCutFailed})) << row.name;
        EXPECT_EQ(testenv::readFile(m_appDir + "/out/keep.mp3"), "OLD") << row.name;
        EXPECT_FALSE(QFileInfo::exists(m_appDir + "/missing")) << row.name;
    }
    EXPECT_EQ(testenv::readFile(m_song), song);

    // What a truncated song still holds can be cut.
    ZMessageBox::history().clear();
    set("inputEdit", truncated);
    set("outputEdit", m_appDir + "/out/");
    set("startEdit", "0");
    set("endEdit", "2");
    m_kerfa->start();
    EXPECT_EQ(messages().last(), kDone + m_appDir + "/out/truncated.mp3");
    EXPECT_EQ(mp3frames::count(m_appDir + "/out/truncated.mp3").frames, 38);
}

} // namespace
