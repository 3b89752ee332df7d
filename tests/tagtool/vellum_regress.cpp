// vellum as a process on real files: one row per case, whole files compared byte for byte.
#include "tests/support/testenv.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <gtest/gtest.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace
{

using Bytes = std::string;

// A plausible stream start: an MPEG-1 layer III frame header, then filler.
Bytes audio(int size = 300)
{
    Bytes b = "\xFF\xFB\x90\x64";
    for (int i = 4; i < size; ++i)
        b += char('a' + i % 26);
    return b;
}

Bytes padded(const Bytes &text, size_t width)
{
    Bytes b = text.substr(0, width);
    b.resize(width, '\0');
    return b;
}

struct Tag {
    Bytes song, artist, album, year, comment;
    int track = 0;
    int genre = 255;
};

// Builds the 128 bytes by hand, independent of the program's own tag code.
Bytes tag(const Tag &t)
{
    return "TAG" + padded(t.song, 30) + padded(t.artist, 30) + padded(t.album, 30) +
           padded(t.year, 4) + padded(t.comment, 28) + '\0' + char(t.track) + char(t.genre);
}

// An ID3v1.0 tag: a 30-byte comment running into the track bytes.
Bytes tagV10(const Bytes &song, const Bytes &comment30, int genre)
{
    return "TAG" + padded(song, 30) + padded("", 60) + padded("1999", 4) + padded(comment30, 30) +
           char(genre);
}

const Tag full = {"Old Song", "Old Artist", "Old Album", "1987", "Old comment", 4, 17};

enum class Kind { Regular, ReadOnly, Directory, Absent };

struct FileCase {
    std::string name;
    Bytes before;
    Bytes after; // expected content once the program has run
    Kind kind = Kind::Regular;
};

FileCase same(const std::string &name, const Bytes &bytes, Kind kind = Kind::Regular)
{
    return {name, bytes, bytes, kind};
}

const Bytes usage = "usage: vellum [-s \"song name\"] [-a \"artist name\"] [-b \"album name\"]\n"
                    "               [-y year] [-c \"your comment\"] [-t track] [-g genre] [-l]\n"
                    "               [-v] [-i] [-f] [-d] [-p] [-h] file(s)\n";

Bytes listing(const std::string &file, const Tag &t, const Bytes &genreName)
{
    return "\nFile:\t\t" + file + "\nSong:\t\t" + t.song + "\nArtist:\t\t" + t.artist +
           "\nAlbum:\t\t" + t.album + "\nYear:\t\t" + t.year + "\nComment:\t" + t.comment +
           "\nTrack:\t\t" + std::to_string(t.track) + "\nGenre:\t\t" + genreName + "(" +
           std::to_string(t.genre) + ")\n\n";
}

struct Row {
    const char *name;
    int status;
    std::vector<std::string> args;
    std::vector<FileCase> files;
    Bytes out;
    Bytes err;
    long fileSizeLimit = 0; // bytes, run under prlimit when set
};

void PrintTo(const Row &row, std::ostream *os)
{
    *os << row.name;
}

const Bytes s30 = "abcdefghijklmnopqrstuvwxyz0123";
const Bytes s40 = s30 + "456789ABCD";

std::vector<Row> rows()
{
    Tag hello;
    hello.song = "Hello";
    Tag artistOnly = full;
    artistOnly.artist = "New";
    Tag numbers;
    numbers.track = 7;
    numbers.genre = 44;
    Tag cut;
    cut.song = s30;
    cut.album = "1234567";
    cut.track = 123;
    Tag everything = {"S", "A", "B", "2024", "C", 255, 0};
    Tag quoted;
    quoted.song = "it's \"$(x)\" `y`";

    // clang-format off
    return {
        {"songOnUntaggedAppendsEmptyTag", 0, {"-s", "Hello", "a.mp3"},
         {{"a.mp3", audio(), audio() + tag(hello)}}, "", ""},
        {"longSongCutTo30FullFieldHasNoZero", 0,
         {"-s", s40, "-b", "1234567", "-t", "1234", "a.mp3"},
         {{"a.mp3", audio(), audio() + tag(cut)}}, "", ""},
        {"trackSevenAndGenre300", 0, {"-t", "7", "-g", "300", "a.mp3"},
         {{"a.mp3", audio(), audio() + tag(numbers)}}, "", ""},
        {"everyFieldAtOnce", 0,
         {"-s", "S", "-a", "A", "-b", "B", "-y", "20245", "-c", "C", "-t", "-1", "-g", "0",
          "a.mp3"},
         {{"a.mp3", audio(), audio() + tag(everything)}}, "", ""},
        {"artistOnTaggedLeavesOtherBytes", 0, {"-a", "New", "a.mp3"},
         {{"a.mp3", audio() + tag(full), audio() + tag(artistOnly)}}, "", ""},
        {"commentKeepsV10TrackBytes", 0, {"-c", "short", "a.mp3"},
         {{"a.mp3", audio() + tagV10("X", s30, 3),
           audio() + tagV10("X", padded("short", 28) + s30.substr(28), 3)}},
         "", ""},
        {"trackClearsV10CommentEnd", 0, {"-t", "9", "a.mp3"},
         {{"a.mp3", audio() + tagV10("X", s30, 3),
           audio() + tagV10("X", s30.substr(0, 28) + '\0' + '\x09', 3)}},
         "", ""},
        {"repeatedOptionLastWins", 0, {"-s", "one", "-s", "Hello", "a.mp3"},
         {{"a.mp3", audio(), audio() + tag(hello)}}, "", ""},
        {"quotesAndShellTextStoredAsGiven", 0, {"-s", quoted.song, "a.mp3"},
         {{"a.mp3", audio(), audio() + tag(quoted)}}, "", ""},
        {"listTagged", 0, {"-l", "a.mp3"}, {same("a.mp3", audio() + tag(full))},
         listing("a.mp3", full, "Rock"), ""},
        {"listAfterSetShowsUnknown255", 0, {"-l", "-s", "Hello", "a.mp3"},
         {{"a.mp3", audio(), audio() + tag(hello)}}, listing("a.mp3", hello, "Unknown"), ""},
        {"listUntagged", 0, {"-l", "a.mp3"}, {same("a.mp3", audio())},
         "File:\t\ta.mp3 (no tag)\n", ""},
        {"deleteTaggedCuts128", 0, {"-d", "a.mp3"}, {{"a.mp3", audio() + tag(full), audio()}},
         "", ""},
        {"deleteUntaggedChangesNothing", 0, {"-d", "a.mp3"}, {same("a.mp3", audio())}, "", ""},
        {"deleteThenListShowsNoTag", 0, {"-dl", "a.mp3"}, {{"a.mp3", audio() + tag(full), audio()}},
         "File:\t\ta.mp3 (no tag)\n", ""},
        {"setAndDeleteOnUntaggedLeavesFile", 0, {"-s", "x", "-d", "a.mp3"},
         {same("a.mp3", audio())}, "", ""},
        {"id3v2StartIsNotMp3", 0, {"-s", "x", "a.mp3"}, {same("a.mp3", "ID3\x03" + audio())},
         "", "/vellum: a.mp3 is not a valid mp3\n"},
        {"forceTagsId3v2Start", 0, {"-f", "-s", "Hello", "a.mp3"},
         {{"a.mp3", "ID3\x03" + audio(), "ID3\x03" + audio() + tag(hello)}}, "", ""},
        {"notMp3InMiddleSkipped", 0, {"-s", "Hello", "a.mp3", "b.txt", "c.mp3"},
         {{"a.mp3", audio(), audio() + tag(hello)}, same("b.txt", "plain text, not audio"),
          {"c.mp3", audio(), audio() + tag(hello)}},
         "", "/vellum: b.txt is not a valid mp3\n"},
        {"missingInMiddleStopsRun", 1, {"-s", "Hello", "a.mp3", "missing.mp3", "c.mp3"},
         {{"a.mp3", audio(), audio() + tag(hello)}, {"missing.mp3", "", "", Kind::Absent},
          same("c.mp3", audio())},
         "", "/vellum: can't open file missing.mp3\n"},
        {"directoryCannotBeOpened", 1, {"-f", "-l", "dir", "c.mp3"},
         {{"dir", "", "", Kind::Directory}, same("c.mp3", audio())},
         "", "/vellum: can't open file dir\n"},
        {"readOnlyRefusesWrite", 1, {"-s", "x", "ro.mp3"},
         {same("ro.mp3", audio(), Kind::ReadOnly)}, "", "/vellum: can't open file ro.mp3\n"},
        {"readOnlyStillListed", 0, {"-l", "ro.mp3"},
         {same("ro.mp3", audio() + tag(full), Kind::ReadOnly)},
         listing("ro.mp3", full, "Rock"), ""},
        {"readOnlyUntaggedDeleteIsNoOp", 0, {"-d", "ro.mp3"},
         {same("ro.mp3", audio(), Kind::ReadOnly)}, "", ""},
        {"readOnlyTaggedDeleteRefused", 1, {"-d", "ro.mp3"},
         {same("ro.mp3", audio() + tag(full), Kind::ReadOnly)},
         "", "/vellum: can't open file ro.mp3\n"},
        {"shortFileWithTagLettersIsUntagged", 0, {"-l", "-d", "s.mp3"},
         {same("s.mp3", "\xFF\xFBTAG")}, "File:\t\ts.mp3 (no tag)\n", ""},
        {"shortFileGetsTagAppended", 0, {"-s", "Hello", "s.mp3"},
         {{"s.mp3", "\xFF\xFBTAG", "\xFF\xFBTAG" + tag(hello)}}, "", ""},
        {"emptyFileIsNotMp3", 0, {"-d", "e.mp3"}, {same("e.mp3", "")},
         "", "/vellum: e.mp3 is not a valid mp3\n"},
        {"exactly128BytesTagged", 0, {"-d", "t.mp3"}, {same("t.mp3", tag(full))},
         "", "/vellum: t.mp3 is not a valid mp3\n"},
        {"exactly128BytesForced", 0, {"-fd", "t.mp3"}, {{"t.mp3", tag(full), ""}}, "", ""},
        {"doubleDashThenDashName", 0, {"-s", "Hello", "--", "-d"},
         {{"-d", audio(), audio() + tag(hello)}}, "", ""},
        {"writeFailureLeavesFileAsItWas", 1, {"-s", "x", "a.mp3", "c.mp3"},
         {same("a.mp3", audio(400)), same("c.mp3", audio())},
         "", "/vellum: can't write file a.mp3\n", 450},
        {"largeFileTaggedInPlace", 0, {"-l", "-a", "New", "big.mp3"},
         {{"big.mp3", audio(9000) + tag(full), audio(9000) + tag(artistOnly)}},
         listing("big.mp3", artistOnly, "Rock"), ""},
        {"largeFileUntaggedAppended", 0, {"-s", "Hello", "big.mp3"},
         {{"big.mp3", audio(5000), audio(5000) + tag(hello)}}, "", ""},
        {"noArgumentsUsage", 1, {}, {}, "", usage},
        {"versionOnlyNoFile", 0, {"-v"}, {}, "vellum: Version 2.0\n", ""},
        {"helpThenFileGoesOn", 0, {"-h", "-s", "Hello", "a.mp3"},
         {{"a.mp3", audio(), audio() + tag(hello)}}, usage, ""},
        {"unknownOptionTouchesNothing", 1, {"-v", "-x", "-s", "y", "a.mp3"},
         {same("a.mp3", audio())},
         "vellum: Version 2.0\n", "/vellum: invalid option -- 'x'\n" + usage},
        {"optionAfterFileIsAFile", 1, {"a.mp3", "-s"}, {same("a.mp3", audio())},
         "", "/vellum: can't open file -s\n"},
        {"missingArgumentAtEnd", 1, {"-l", "-s"}, {},
         "", "/vellum: option requires an argument -- 's'\n" + usage},
    };
    // clang-format on
}

// Root ignores permission bits; drop that capability so read-only means read-only.
QStringList privilegePrefix()
{
    if (::geteuid() != 0)
        return {};
    QString setpriv = QStandardPaths::findExecutable("setpriv");
    if (setpriv.isEmpty())
        return {};
    return {setpriv, "--inh-caps=-dac_override,-dac_read_search",
            "--bounding-set=-dac_override,-dac_read_search"};
}

QString shellQuoted(const QString &word)
{
    QString q = word;
    q.replace("'", "'\\''");
    return "'" + q + "'";
}

class VellumRegress : public ::testing::TestWithParam<Row>
{
};

TEST_P(VellumRegress, runsAsTheRowSays)
{
    const Row &row = GetParam();
    const QString dir = testenv::scratchDir(row.name);
    bool readOnly = false;
    for (const FileCase &f : row.files) {
        const QString path = dir + "/" + QString::fromStdString(f.name);
        if (f.kind == Kind::Directory) {
            ASSERT_TRUE(QDir().mkpath(path));
        } else if (f.kind != Kind::Absent) {
            ASSERT_TRUE(testenv::writeFile(path, QByteArray::fromStdString(f.before)));
        }
        if (f.kind == Kind::ReadOnly) {
            ::chmod(QFile::encodeName(path).constData(), 0444);
            readOnly = true;
        }
    }

    QStringList command = readOnly ? privilegePrefix() : QStringList();
    if (row.fileSizeLimit > 0)
        command << "prlimit" << QString("--fsize=%1").arg(row.fileSizeLimit);
    command << testenv::binaryDir() + "/bin/vellum";
    for (const std::string &a : row.args)
        command << QString::fromStdString(a);
    QStringList quoted;
    for (const QString &word : command)
        quoted << shellQuoted(word);
    SCOPED_TRACE(("reproduce: cd " + shellQuoted(dir) + " && " + quoted.join(' ')).toStdString());

    const QString program = command.takeFirst();
    const testenv::ProcessResult r = testenv::run(program, command, 10000, dir);
    EXPECT_EQ(r.exitCode, row.status);
    EXPECT_EQ(r.out.toStdString(), row.out);
    EXPECT_EQ(r.err.toStdString(), row.err);
    for (const FileCase &f : row.files) {
        const QString path = dir + "/" + QString::fromStdString(f.name);
        if (f.kind == Kind::Absent)
            EXPECT_FALSE(QFileInfo::exists(path)) << f.name;
        else if (f.kind == Kind::Directory)
            EXPECT_TRUE(QFileInfo(path).isDir()) << f.name;
        else
            EXPECT_EQ(testenv::readFile(path).toStdString(), f.after) << f.name;
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, VellumRegress, ::testing::ValuesIn(rows()),
                         [](const ::testing::TestParamInfo<Row> &info) { return info.param.name; });

TEST(VellumPrints, genreListHasNamedGenresOnly)
{
    const testenv::ProcessResult r = testenv::run(testenv::binaryDir() + "/bin/vellum", {"-p"});
    ASSERT_EQ(r.exitCode, 0);
    const QList<QByteArray> lines = r.out.split('\n');
    ASSERT_EQ(lines.size(), 143); // 0-141 and the empty rest after the last newline
    EXPECT_EQ(lines[0], "0: Blues");
    EXPECT_EQ(lines[67], "67: Psychadelic");
    EXPECT_EQ(lines[118], "118: Rhytmic Soul");
    EXPECT_EQ(lines[141], "141: Christian Rock");
}

TEST(VellumPrints, bannerEndsWithIndentedVersion)
{
    const testenv::ProcessResult r = testenv::run(testenv::binaryDir() + "/bin/vellum", {"-i"});
    ASSERT_EQ(r.exitCode, 0);
    const QList<QByteArray> lines = r.out.split('\n');
    ASSERT_EQ(lines.size(), 9);
    EXPECT_EQ(lines[6], "         Version 2.0");
}

} // namespace
