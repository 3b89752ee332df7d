// The file browser list on real folders: what it lists, what a highlight, a selection
// and a click do, and the playlist editor's multi-selection variant.
#include "playlist/filebrowser.h"
#include "playlist/myplaylist.h"
#include "tests/support/testenv.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>
#include <unistd.h>

// Readable failure messages for Qt strings.
inline void PrintTo(const QString &s, std::ostream *os)
{
    *os << '"' << s.toStdString() << '"';
}

namespace
{

QStringList rows(const QListWidget &list)
{
    QStringList texts;
    for (int i = 0; i < list.count(); ++i)
        texts << list.item(i)->text();
    return texts;
}

int rowOf(const QListWidget &list, const QString &text)
{
    return rows(list).indexOf(text);
}

// music/ holding songs, other files and folders whose names do not match the filter.
QString makeMusicFolder()
{
    const QString dir = testenv::scratchDir("music");
    for (const char *name : {"b.mp3", "A.mp3", "list.m3u", "notes.txt", ".hidden.mp3", "c.ogg"})
        testenv::writeFile(dir + "/" + name, "x");
    for (const char *name : {"zeta", "Alpha.dir", ".secret"})
        QDir(dir).mkdir(name);
    testenv::writeFile(dir + "/zeta/inner.mp3", "x");
    return dir;
}

struct ListCase {
    const char *name;
    const char *filter;
    QStringList expected;
};

class BrowserListing : public ::testing::TestWithParam<ListCase>
{
};

TEST_P(BrowserListing, listsDirectoriesThenMatchingFiles)
{
    const QString dir = makeMusicFolder();
    FileBrowser browser(QString::fromLatin1(GetParam().filter));
    ASSERT_TRUE(browser.setDir(dir));
    EXPECT_EQ(rows(browser), GetParam().expected);
    EXPECT_EQ(browser.currentDir(), QDir(dir).canonicalPath());
    // The rows share two icons: each must still show its own kind.
    const QImage folder = browser.folderIcon().pixmap(16).toImage();
    const QImage file = browser.fileIcon().pixmap(16).toImage();
    ASSERT_NE(folder, file);
    for (int i = 0; i < browser.count(); ++i) {
        const QString text = browser.item(i)->text();
        const bool isDir = QFileInfo(browser.pathOf(text)).isDir();
        EXPECT_EQ(browser.item(i)->icon().pixmap(16).toImage(), isDir ? folder : file)
            << text.toStdString();
    }
}

// All rows are sized alike: they must still reach as far as the longest name.
TEST(FileBrowser, rowsReachAsFarAsTheLongestName)
{
    const QString dir = testenv::scratchDir("names");
    const QString longName = "m a song whose name is far wider than the chooser.mp3";
    for (const QString &name : {QString("a.mp3"), longName, QString("z.mp3")})
        testenv::writeFile(dir + "/" + name, "x");
    FileBrowser browser("*.mp3");
    browser.resize(200, 150);
    ASSERT_TRUE(browser.setDir(dir));
    browser.show();
    const int needed = browser.fontMetrics().horizontalAdvance(longName);
    for (int i = 0; i < browser.count(); ++i)
        EXPECT_GE(browser.visualItemRect(browser.item(i)).width(), needed) << i;
    EXPECT_GT(browser.horizontalScrollBar()->maximum(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Filters, BrowserListing,
    ::testing::Values(
        ListCase{"mp3Only",
                 "*.mp3",
                 {"..", ".secret", "Alpha.dir", "zeta", ".hidden.mp3", "A.mp3", "b.mp3"}},
        ListCase{"severalPatterns",
                 "*.mp3;*.ogg",
                 {"..", ".secret", "Alpha.dir", "zeta", ".hidden.mp3", "A.mp3", "b.mp3", "c.ogg"}},
        ListCase{"playlistsOnly", "*.m3u", {"..", ".secret", "Alpha.dir", "zeta", "list.m3u"}},
        ListCase{"nothingMatches", "*.xyz", {"..", ".secret", "Alpha.dir", "zeta"}}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(FileBrowser, rootHasNoParentEntry)
{
    FileBrowser browser("*.mp3");
    ASSERT_TRUE(browser.setDir("/"));
    EXPECT_EQ(browser.currentDir(), "/");
    ASSERT_GT(browser.count(), 0);
    EXPECT_FALSE(rows(browser).contains(".."));
    EXPECT_TRUE(rows(browser).contains("tmp"));

    // Paths at the root get a single separator.
    browser.setCurrentRow(rowOf(browser, "tmp"));
    EXPECT_EQ(browser.pickedDir(), "/tmp");
}

TEST(FileBrowser, anyEntryAtTheRootIsAPickedFolder)
{
    FileBrowser browser("*");
    ASSERT_TRUE(browser.setDir("/"));
    int fileRow = -1;
    for (int i = 0; i < browser.count() && fileRow < 0; ++i)
        if (!QFileInfo("/" + browser.item(i)->text()).isDir())
            fileRow = i;
    if (fileRow < 0)
        GTEST_SKIP() << "nothing but folders at the root";
    QSignalSpy dirPicked(&browser, &FileBrowser::isDirPicked);
    browser.setCurrentRow(fileRow);
    EXPECT_EQ(browser.pickedDir(), "/" + browser.item(fileRow)->text());
    ASSERT_FALSE(dirPicked.isEmpty());
    EXPECT_TRUE(dirPicked.last().at(0).toBool());
}

TEST(FileBrowser, pathIsKeptCanonical)
{
    const QString dir = makeMusicFolder();
    const QString link = testenv::scratchDir() + "/link";
    ASSERT_TRUE(QFile::link(dir, link));
    FileBrowser browser("*.mp3");
    ASSERT_TRUE(browser.setDir(dir + "/zeta/../zeta/"));
    EXPECT_EQ(browser.currentDir(), QDir(dir).canonicalPath() + "/zeta");
    ASSERT_TRUE(browser.setDir(link));
    EXPECT_EQ(browser.currentDir(), QDir(dir).canonicalPath());
}

TEST(FileBrowser, unreadableDirectoryKeepsTheOldListing)
{
    const QString dir = makeMusicFolder();
    FileBrowser browser("*.mp3");
    ASSERT_TRUE(browser.setDir(dir));
    browser.setCurrentRow(rowOf(browser, "A.mp3"));
    const QStringList before = rows(browser);
    const QString picked = browser.pickedFile();

    QStringList unreadable = {dir + "/missing", dir + "/A.mp3", QString()};
    const QString locked = dir + "/locked";
    QDir(dir).mkdir("locked");
    QFile::setPermissions(locked, QFileDevice::Permissions());
    if (geteuid() != 0) // the superuser reads any folder
        unreadable << locked;
    for (const QString &path : unreadable) {
        SCOPED_TRACE(path.toStdString());
        EXPECT_FALSE(browser.setDir(path));
        EXPECT_EQ(rows(browser), before);
        EXPECT_EQ(browser.currentDir(), QDir(dir).canonicalPath());
        EXPECT_EQ(browser.pickedFile(), picked);
    }
    QFile::setPermissions(locked,
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

struct HighlightCase {
    const char *entry;
    bool isFile;
    bool isDir;
};

class BrowserHighlight : public ::testing::TestWithParam<HighlightCase>
{
};

TEST_P(BrowserHighlight, remembersWhatIsUnderTheCursor)
{
    const QString dir = makeMusicFolder();
    const QString canonical = QDir(dir).canonicalPath();
    FileBrowser browser("*.mp3");
    ASSERT_TRUE(browser.setDir(dir));
    // Start from the opposite kind, so both picks must change.
    browser.setCurrentRow(rowOf(browser, GetParam().isFile ? "zeta" : "b.mp3"));

    QSignalSpy picked(&browser, &FileBrowser::picked);
    QSignalSpy filePicked(&browser, &FileBrowser::isFilePicked);
    QSignalSpy dirPicked(&browser, &FileBrowser::isDirPicked);
    QSignalSpy dirpicked(&browser, &FileBrowser::dirpicked);
    const QString entry = QString::fromLatin1(GetParam().entry);
    browser.setCurrentRow(rowOf(browser, entry));

    const QString path = canonical + "/" + entry;
    EXPECT_EQ(browser.pickedFile(), GetParam().isFile ? path : QString());
    EXPECT_EQ(browser.pickedDir(), GetParam().isDir ? path : QString());
    EXPECT_EQ(picked.count(), GetParam().isFile ? 1 : 0);
    EXPECT_EQ(dirpicked.count(), GetParam().isDir ? 1 : 0);
    ASSERT_EQ(filePicked.count(), 1);
    EXPECT_EQ(filePicked.at(0).at(0).toBool(), GetParam().isFile);
    ASSERT_EQ(dirPicked.count(), 1);
    EXPECT_EQ(dirPicked.at(0).at(0).toBool(), GetParam().isDir);
    EXPECT_EQ(browser.currentDir(), canonical); // a highlight never navigates
}

INSTANTIATE_TEST_SUITE_P(Entries, BrowserHighlight,
                         ::testing::Values(HighlightCase{"A.mp3", true, false},
                                           HighlightCase{".hidden.mp3", true, false},
                                           HighlightCase{"zeta", false, true},
                                           HighlightCase{".secret", false, true}));

void clickRow(QListWidget &list, int row)
{
    const QRect rect = list.visualItemRect(list.item(row));
    QTest::mouseClick(list.viewport(), Qt::LeftButton, Qt::NoModifier, rect.center());
}

TEST(FileBrowser, clickEntersDirectoriesAndGoesUpWithParentEntry)
{
    const QString dir = makeMusicFolder();
    const QString canonical = QDir(dir).canonicalPath();
    FileBrowser browser("*.mp3");
    browser.resize(240, 300);
    browser.show();
    ASSERT_TRUE(browser.setDir(dir));

    clickRow(browser, rowOf(browser, "b.mp3"));
    EXPECT_EQ(browser.currentDir(), canonical);
    EXPECT_EQ(browser.pickedFile(), canonical + "/b.mp3");

    clickRow(browser, rowOf(browser, "zeta"));
    EXPECT_EQ(browser.currentDir(), canonical + "/zeta");
    EXPECT_EQ(rows(browser), QStringList({"..", "inner.mp3"}));

    clickRow(browser, 0);
    EXPECT_EQ(browser.currentDir(), canonical);
    EXPECT_EQ(rows(browser).first(), "..");
    EXPECT_TRUE(rows(browser).contains("zeta"));
}

TEST(FileBrowser, selectionEntersDirectoryOrPicksFile)
{
    const QString dir = makeMusicFolder();
    const QString canonical = QDir(dir).canonicalPath();
    FileBrowser browser("*.mp3");
    ASSERT_TRUE(browser.setDir(dir));
    QSignalSpy clicked(&browser, &FileBrowser::isFileClicked);

    browser.itemSelected(rowOf(browser, "A.mp3"));
    EXPECT_EQ(browser.pickedFile(), canonical + "/A.mp3");
    EXPECT_EQ(browser.currentDir(), canonical);
    browser.itemSelected(rowOf(browser, "zeta"));
    EXPECT_EQ(browser.currentDir(), canonical + "/zeta");
    ASSERT_EQ(clicked.count(), 2);
    EXPECT_TRUE(clicked.at(0).at(0).toBool());
    EXPECT_FALSE(clicked.at(1).at(0).toBool());

    // Enter on the highlighted row goes through the same path.
    browser.show();
    browser.setCurrentRow(0);
    QTest::keyClick(&browser, Qt::Key_Return);
    EXPECT_EQ(browser.currentDir(), canonical);
}

TEST(MyPlayList, eachTapTogglesOneRow)
{
    const QString dir = makeMusicFolder();
    MyPlayList list("*.mp3");
    list.resize(240, 300);
    list.show();
    ASSERT_TRUE(list.setDir(dir));
    const int a = rowOf(list, "A.mp3");
    const int b = rowOf(list, "b.mp3");
    clickRow(list, a);
    clickRow(list, b);
    EXPECT_EQ(list.selectedRows(), QList<int>({a, b}));
    clickRow(list, a);
    EXPECT_EQ(list.selectedRows(), QList<int>({b}));
    EXPECT_EQ(list.currentDir(), QDir(dir).canonicalPath());
}

TEST(MyPlayList, entriesShownByOwnerNeverNavigate)
{
    const QString dir = makeMusicFolder();
    MyPlayList list("*.mp3");
    ASSERT_TRUE(list.setDir(dir));
    // An entry that happens to share a folder's name stays a plain row.
    list.showEntries({"zeta", "A.mp3"});
    EXPECT_TRUE(list.currentDir().isEmpty());
    list.itemClicked(list.item(0));
    list.itemSelected(0);
    EXPECT_EQ(rows(list), QStringList({"zeta", "A.mp3"}));
}

} // namespace
