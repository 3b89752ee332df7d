#include "dropin/kconfig.h"
#include "tests/support/testenv.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{

QString fileWith(const QByteArray &bytes)
{
    static int n = 0;
    const QString path = testenv::scratchDir() + QString("/settings%1.conf").arg(++n);
    testenv::writeFile(path, bytes);
    return path;
}

// Opens the file read-write and lets it go, so the store rewrites it.
QByteArray rewritten(const QByteArray &bytes)
{
    const QString path = fileWith(bytes);
    {
        KConfig cfg(path);
    }
    return testenv::readFile(path);
}

} // namespace

struct ReadCase {
    const char *name;
    QByteArray file;
    const char *group;
    const char *key;
    const char *expected; // nullptr: the key is absent
};

class KConfigRead : public ::testing::TestWithParam<ReadCase>
{
};

TEST_P(KConfigRead, readsWhatTheFileSays)
{
    const ReadCase &c = GetParam();
    KConfig cfg(fileWith(c.file), true);
    cfg.setGroup(QString::fromLatin1(c.group));
    if (c.expected) {
        EXPECT_TRUE(cfg.hasKey(c.key));
        EXPECT_EQ(cfg.readEntry(c.key, "dflt"), QString::fromLatin1(c.expected));
    } else {
        EXPECT_FALSE(cfg.hasKey(c.key));
        EXPECT_EQ(cfg.readEntry(c.key, "dflt"), QString("dflt"));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Parsing, KConfigRead,
    ::testing::Values(
        ReadCase{"entryBeforeHeaderGoesToDefault", "a=1\n", "", "a", "1"},
        ReadCase{"defaultGroupByName", "a=1\n", "<default>", "a", "1"},
        ReadCase{"blanksAroundLineDropped", "[g]\n \t x=5 \t\r\n", "g", "x", "5"},
        ReadCase{"blanksAroundEqualsKept", "[g]\nk = v\n", "g", "k ", " v"},
        ReadCase{"emptyValueStored", "[g]\nk=\n", "g", "k", ""},
        ReadCase{"furtherEqualsInValue", "[g]\nk=a=b=\n", "g", "k", "a=b="},
        ReadCase{"commentIgnored", "[g]\n#k=1\n", "g", "#k", nullptr},
        ReadCase{"lineWithoutEqualsIgnored", "[g]\njunk\n", "g", "junk", nullptr},
        ReadCase{"unclosedHeaderKeepsGroup", "[g]\n[broken\nk=2\n", "g", "k", "2"},
        ReadCase{"unclosedHeaderMakesNoGroup", "[g]\n[broken\nk=2\n", "broken", "k", nullptr},
        ReadCase{"textAfterHeaderIgnored", "[g] trailing\nk=3\n", "g", "k", "3"},
        ReadCase{"emptyBracketsAreTheirOwnGroup", "[]\nk=4\n", "", "k", nullptr},
        ReadCase{"repeatedKeyLaterValueWins", "[g]\nk=1\nk=2\n", "g", "k", "2"},
        ReadCase{"repeatedGroupMerges", "[g]\na=1\n[h]\nb=2\n[g]\nc=3\n", "g", "a", "1"},
        ReadCase{"groupNameVerbatim", "[ sp ]\nk=1\n", " sp ", "k", "1"},
        ReadCase{"latin1BytesPassThrough", "[g]\nk=\xe6\x88\x91\xa0\n", "g", "k",
                 "\xe6\x88\x91\xa0"}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(KConfig, latin1BytesSurviveARewriteUnchanged)
{
    const QByteArray bytes = "[g]\nk=\xe6\x88\x91\xa0\xff\n";
    EXPECT_EQ(rewritten(bytes), bytes);
}

TEST(KConfig, nulBytesAndLongLinesDoNotBreakTheStore)
{
    QByteArray bytes("[g]\nk=a\0b\n", 10);
    bytes += "long=" + QByteArray(1 << 20, 'x') + "\n";
    KConfig cfg(fileWith(bytes), true);
    cfg.setGroup("g");
    EXPECT_EQ(cfg.readEntry("k").size(), 3);
    EXPECT_EQ(cfg.readEntry("long").size(), 1 << 20);
}

TEST(KConfig, emptyBracketsDistinctFromDefault)
{
    KConfig cfg(fileWith("[]\nk=4\nz=1\n"), true);
    EXPECT_TRUE(cfg.groupList().contains(""));
    EXPECT_FALSE(cfg.groupList().contains("<default>"));
}

struct NumCase {
    const char *value; // nullptr: key absent
    int defaultValue;
    int expected;
};

class KConfigNum : public ::testing::TestWithParam<NumCase>
{
};

TEST_P(KConfigNum, convertsLikeTheDecimalReader)
{
    const NumCase &c = GetParam();
    QByteArray file = "[g]\n";
    if (c.value)
        file += QByteArray("n=") + c.value + "\n";
    KConfig cfg(fileWith(file), true);
    cfg.setGroup("g");
    EXPECT_EQ(cfg.readNumEntry("n", c.defaultValue), c.expected)
        << (c.value ? c.value : "(absent)");
}

INSTANTIATE_TEST_SUITE_P(Numbers, KConfigNum,
                         ::testing::Values(NumCase{nullptr, 7, 7}, NumCase{"", 7, 7},
                                           NumCase{"42", 7, 42}, NumCase{" -13 ", 7, -13},
                                           NumCase{"+5", 7, 5}, NumCase{"letters", 7, 0},
                                           NumCase{"12abc", 7, 0}, NumCase{"99999999999", 7, 0}));

struct BoolCase {
    const char *value;
    bool defaultValue;
    bool expected;
};

class KConfigBool : public ::testing::TestWithParam<BoolCase>
{
};

TEST_P(KConfigBool, acceptsWordsAndNumbers)
{
    const BoolCase &c = GetParam();
    QByteArray file = "[g]\n";
    if (c.value)
        file += QByteArray("b=") + c.value + "\n";
    KConfig cfg(fileWith(file), true);
    cfg.setGroup("g");
    EXPECT_EQ(cfg.readBoolEntry("b", c.defaultValue), c.expected)
        << (c.value ? c.value : "(absent)");
}

INSTANTIATE_TEST_SUITE_P(Booleans, KConfigBool,
                         ::testing::Values(BoolCase{nullptr, true, true}, BoolCase{"", true, true},
                                           BoolCase{"On", false, true}, BoolCase{"1", false, true},
                                           BoolCase{"TRUE", false, true},
                                           BoolCase{"yes", true, false},
                                           BoolCase{"OFF", true, false},
                                           BoolCase{"false", true, false},
                                           BoolCase{"0", true, false}, BoolCase{"7", false, true}));

TEST(KConfig, listEntriesDropEmptyPiecesAndKeepBlanks)
{
    KConfig cfg(fileWith("[g]\nl=1,,2,\nm= a , b\nempty=\n"), true);
    cfg.setGroup("g");
    EXPECT_EQ(cfg.readListEntry("l"), QStringList({"1", "2"}));
    EXPECT_EQ(cfg.readListEntry("m"), QStringList({" a ", " b"}));
    EXPECT_TRUE(cfg.readListEntry("empty").isEmpty());
    EXPECT_TRUE(cfg.readListEntry("absent").isEmpty());
}

TEST(KConfig, rewriteSortsGroupsAndKeysByCodeUnit)
{
    EXPECT_EQ(rewritten("[b]\nz=1\nB=2\na=3\n[a]\nk=1\n[B]\nk=2\n"),
              QByteArray("[B]\nk=2\n[a]\nk=1\n[b]\nB=2\na=3\nz=1\n"));
}

TEST(KConfig, rewriteNormalisesAndNamesTheDefaultGroup)
{
    EXPECT_EQ(rewritten("# comment\n\na=1\n\n[g]\n junk \nk = v\n"),
              QByteArray("[<default>]\na=1\n[g]\nk = v\n"));
}

TEST(KConfig, emptyGroupsAreNeverWritten)
{
    const QString path = fileWith("[keep]\nk=1\n[empty]\n");
    {
        KConfig cfg(path);
        cfg.setGroup("fresh");
    }
    EXPECT_EQ(testenv::readFile(path), QByteArray("[keep]\nk=1\n"));
}

TEST(KConfig, typedWritesStoreTheirText)
{
    const QString path = testenv::scratchDir() + "/new/written.conf";
    testenv::writeFile(path, "");
    {
        KConfig cfg(path);
        cfg.setGroup("g");
        cfg.writeEntry("i", -12);
        cfg.writeEntry("t", true);
        cfg.writeEntry("f", false);
        cfg.writeEntry("s", QString("x y"));
        cfg.writeEntry("c", "literal");
        cfg.writeEntry("l", QStringList({"1", "2", "3"}));
    }
    EXPECT_EQ(testenv::readFile(path),
              QByteArray("[g]\nc=literal\nf=false\ni=-12\nl=1,2,3\ns=x y\nt=true\n"));
}

TEST(KConfig, writeWithoutGroupStoresNothing)
{
    const QString path = fileWith("");
    {
        KConfig cfg(path);
        cfg.deleteGroup("nothing-here");
        cfg.writeEntry("k", "v");
    }
    EXPECT_TRUE(testenv::readFile(path).isEmpty());
}

// A hostile file name stored as a value must not turn into entries or groups of its own.
TEST(KConfig, lineBreaksCannotInjectEntries)
{
    const QString path = fileWith("[tvskin]\nEnxmms=false\nbackground=/old.png\n");
    {
        KConfig cfg(path);
        cfg.setGroup("tvskin");
        cfg.writeEntry("background", QString("/a.png\nEnxmms=true\n[OPTION]\nloop=true"));
        cfg.writeEntry("background", QString("/b.png\rEnxmms=true"));
        cfg.writeEntry(QString("key\nEnxmms"), QString("true"));
        cfg.setGroup(QString("x]\nEnxmms=true\n[tvskin"));
        cfg.writeEntry("k", "v");
        cfg.setGroup("tvskin");
        cfg.writeEntry("lyric", QString("/song one.lrc"));
    }
    EXPECT_EQ(testenv::readFile(path),
              QByteArray("[tvskin]\nEnxmms=false\nbackground=/old.png\nlyric=/song one.lrc\n"));
}

// Whatever is written reads back equal from a fresh store, or is refused with one warning
// and leaves the file without it.
struct RoundTripCase {
    const char *name;
    QString group;
    QString key;
    QString value;
    bool stored;
};

void PrintTo(const RoundTripCase &c, std::ostream *os)
{
    *os << c.name;
}

class KConfigRoundTrip : public ::testing::TestWithParam<RoundTripCase>
{
};

namespace
{
int settingsWarnings = 0;
void countSettingsWarnings(QtMsgType type, const QMessageLogContext &context, const QString &)
{
    if (type == QtWarningMsg && qstrcmp(context.category, "orbal.settings") == 0)
        ++settingsWarnings;
}
} // namespace

TEST_P(KConfigRoundTrip, readsBackEqualOrIsRefused)
{
    const RoundTripCase &c = GetParam();
    const QString path = fileWith("");
    settingsWarnings = 0;
    {
        KConfig cfg(path);
        cfg.setGroup(c.group);
        const QtMessageHandler previous = qInstallMessageHandler(countSettingsWarnings);
        cfg.writeEntry(c.key, c.value);
        qInstallMessageHandler(previous);
        cfg.sync();
    }
    KConfig fresh(path, true);
    fresh.setGroup(c.group);
    if (c.stored) {
        EXPECT_EQ(settingsWarnings, 0);
        EXPECT_TRUE(fresh.hasKey(c.key));
        EXPECT_EQ(fresh.readEntry(c.key, "dflt"), c.value);
    } else {
        EXPECT_EQ(settingsWarnings, 1);
        EXPECT_TRUE(testenv::readFile(path).isEmpty());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Writing, KConfigRoundTrip,
    ::testing::Values(RoundTripCase{"plainEntry", "g", "k", "v", true},
                      RoundTripCase{"emptyValue", "g", "k", "", true},
                      RoundTripCase{"emptyKey", "g", "", "v", true},
                      RoundTripCase{"valueLeadingBlanksKept", "g", "k", "  v", true},
                      RoundTripCase{"valueTrailingBlankRefused", "g", "k", "v ", false},
                      RoundTripCase{"valueTrailingTabRefused", "g", "k", "v\t", false},
                      RoundTripCase{"valueOnlyBlanksRefused", "g", "k", "   ", false},
                      RoundTripCase{"valueSpecialCharactersKept", "g", "k", "=#[x]=", true},
                      RoundTripCase{"valueLineBreakRefused", "g", "k", "a\nb", false},
                      RoundTripCase{"keyTrailingBlankKept", "g", "k ", "v", true},
                      RoundTripCase{"keyLeadingBlankRefused", "g", " k", "v", false},
                      RoundTripCase{"keyEqualsRefused", "g", "a=b", "v", false},
                      RoundTripCase{"keyLeadingHashRefused", "g", "#k", "v", false},
                      RoundTripCase{"keyLeadingBracketRefused", "g", "[k]", "v", false},
                      RoundTripCase{"keyInnerHashAndBracketsKept", "g", "k#[x]", "v", true},
                      RoundTripCase{"groupCloseBracketRefused", "a]b", "k", "v", false},
                      RoundTripCase{"groupOpenBracketKept", "a[b", "k", "v", true},
                      RoundTripCase{"groupBlanksKept", " g ", "k", "v", true},
                      RoundTripCase{"emptyGroupIsDefault", "", "k", "v", true},
                      RoundTripCase{"latin1BytesKept", QString::fromLatin1("g\xe9"),
                                    QString::fromLatin1("k\xa0"),
                                    QString::fromLatin1("\xe6\x88\xff"), true},
                      RoundTripCase{"valueBeyondLatin1Refused", "g", "k",
                                    QString::fromUtf8("\xe6\x88\x91"), false},
                      RoundTripCase{"groupBeyondLatin1Refused", QString::fromUtf8("\xe6\x88\x91"),
                                    "k", "v", false}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(KConfig, deletingTheCurrentGroupLeavesNoCurrentGroup)
{
    KConfig cfg(fileWith("[g]\nk=1\n[h]\nj=2\n"), true);
    cfg.setGroup("g");
    cfg.deleteGroup("g");
    EXPECT_TRUE(cfg.group().isNull());
    EXPECT_FALSE(cfg.hasKey("k"));
    EXPECT_EQ(cfg.groupList(), QStringList({"h"}));
}

TEST(KConfig, readOnlyStoreNeverWrites)
{
    const QByteArray original = "# keep me\n[g]\nk=1\n";
    const QString path = fileWith(original);
    {
        KConfig cfg(path, true);
        cfg.setGroup("g");
        cfg.writeEntry("k", "2");
    }
    EXPECT_EQ(testenv::readFile(path), original);
}

TEST(KConfig, missingFileReadsDefaultsAndIsCreatedOnWrite)
{
    const QString path = testenv::scratchDir() + "/absent.conf";
    {
        KConfig cfg(path);
        cfg.setGroup("Winskin");
        EXPECT_EQ(cfg.readNumEntry("Volume", 45), 45);
        cfg.writeEntry("Volume", 45);
    }
    EXPECT_EQ(testenv::readFile(path), QByteArray("[Winskin]\nVolume=45\n"));
}

TEST(KConfig, aFileAlreadyInNormalFormIsNotWrittenAgain)
{
    const QByteArray normal = "[a]\nk=1\n[b]\nz=2\n";
    const QString path = fileWith(normal);
    struct stat before;
    ASSERT_EQ(stat(QFile::encodeName(path).constData(), &before), 0);
    {
        KConfig cfg(path);
        cfg.setGroup("a");
        cfg.writeEntry("k", "1"); // the same value again
    }
    struct stat after;
    ASSERT_EQ(stat(QFile::encodeName(path).constData(), &after), 0);
    EXPECT_EQ(after.st_ino, before.st_ino) << "not replaced";
    EXPECT_EQ(testenv::readFile(path), normal);

    // Any difference, even of one byte, is written.
    {
        KConfig cfg(path);
        cfg.setGroup("a");
        cfg.writeEntry("k", "3");
    }
    EXPECT_EQ(testenv::readFile(path), QByteArray("[a]\nk=3\n[b]\nz=2\n"));
    // A comment or a blank line is not normal form: rewritten away.
    testenv::writeFile(path, "[a]\nk=3\n\n[b]\nz=2\n");
    {
        KConfig cfg(path);
    }
    EXPECT_EQ(testenv::readFile(path), QByteArray("[a]\nk=3\n[b]\nz=2\n"));
}

// Folders that take no temporary file beside the settings file: a writable file is then
// rewritten in place, an unwritable one keeps its old content.
struct NoTemporaryFile {
    const char *name;
    bool longestName; // no room left for the temporary file's suffix, even for root
    mode_t folderMode;
    mode_t fileMode;
    bool rewritten;
};

class KConfigNoTemporaryFile : public ::testing::TestWithParam<NoTemporaryFile>
{
};

TEST_P(KConfigNoTemporaryFile, writableFileIsRewrittenInPlace)
{
    const NoTemporaryFile &c = GetParam();
    if (!c.longestName && geteuid() == 0)
        GTEST_SKIP() << "permission bits do not stop root; the longest-name row covers it";
    const QString dir = testenv::scratchDir(c.name);
    const long nameMax = pathconf(dir.toLocal8Bit().constData(), _PC_NAME_MAX);
    const QString path =
        dir + '/' + (c.longestName ? QString(int(nameMax), 'c') : QString("config"));
    const QByteArray original = "# comment\n[g]\nk=1\n";
    ASSERT_TRUE(testenv::writeFile(path, original));
    chmod(path.toLocal8Bit().constData(), c.fileMode);
    chmod(dir.toLocal8Bit().constData(), c.folderMode);
    {
        KConfig cfg(path);
        cfg.setGroup("g");
        cfg.writeEntry("k", "2");
    }
    chmod(dir.toLocal8Bit().constData(), 0755);
    chmod(path.toLocal8Bit().constData(), 0644);
    EXPECT_EQ(testenv::readFile(path), c.rewritten ? QByteArray("[g]\nk=2\n") : original);
    EXPECT_EQ(QDir(dir).entryList(QDir::Files | QDir::Hidden).size(), 1) << "temporary left";
}

INSTANTIATE_TEST_SUITE_P(
    Folders, KConfigNoTemporaryFile,
    ::testing::Values(NoTemporaryFile{"longestName", true, 0755, 0644, true},
                      NoTemporaryFile{"readOnlyFolder", false, 0555, 0644, true},
                      NoTemporaryFile{"readOnlyFolderAndFile", false, 0555, 0444, false}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(KConfig, rewriteThatRunsOutOfSpaceLeavesTheOldFileIntact)
{
    // A file-size limit makes the write fail part-way, as a full card would, even as root.
    const QString path = testenv::scratchDir() + "/config";
    const QByteArray original = "[g]\nk=1\n";
    testenv::writeFile(path, original);
    struct rlimit old;
    getrlimit(RLIMIT_FSIZE, &old);
    signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = old;
    small.rlim_cur = 64;
    setrlimit(RLIMIT_FSIZE, &small);
    {
        KConfig cfg(path);
        cfg.setGroup("g");
        cfg.writeEntry("k", QString(4096, 'x'));
    }
    setrlimit(RLIMIT_FSIZE, &old);
    EXPECT_EQ(testenv::readFile(path), original);
}

TEST(KConfig, unopenableTargetIsLeftAlone)
{
    const QString dir = testenv::scratchDir() + "/target";
    QDir().mkpath(dir + "/inside");
    {
        KConfig cfg(dir);
        cfg.setGroup("g");
        cfg.writeEntry("k", "v");
    }
    EXPECT_TRUE(QFileInfo(dir + "/inside").isDir());
}

TEST(KConfig, relativeNamesAreWrittenUnderHome)
{
    const QString home = testenv::scratchDir("home");
    const QByteArray oldHome = qgetenv("HOME");
    qputenv("HOME", home.toLocal8Bit());
    {
        KConfig cfg("relative.conf");
        cfg.setGroup("g");
        cfg.writeEntry("k", 1);
    }
    qputenv("HOME", oldHome);
    EXPECT_EQ(testenv::readFile(home + "/relative.conf"), QByteArray("[g]\nk=1\n"));
}
