#include "cutter/directory.h"
#include "cutter/directorychooser.h"
#include "cutter/directoryview.h"
#include "cutter/viewdialog.h"
#include "platform/cardroot.h"
#include "playlist/filebrowser.h"
#include "tests/support/testenv.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QStandardPaths>
#include <QTimer>
#include <gtest/gtest.h>
#include <unistd.h>

namespace
{

bool makeDir(const QString &path)
{
    return QDir().mkpath(path);
}

// A small file system:  a/ b/ tmp/ home/  Track.MP3  track.mp3.bak  notes.txt
//                       link.mp3 -> Track.MP3   dirlink -> b   .hidden.mp3   fifo.mp3
QString makeTree()
{
    const QString root = testenv::scratchDir("tree");
    makeDir(root + "/a/b/c");
    makeDir(root + "/a/tmp/deep");
    makeDir(root + "/a/home");
    makeDir(root + "/a/Zeta");
    testenv::writeFile(root + "/a/Track.MP3", "x");
    testenv::writeFile(root + "/a/track.mp3.bak", "x");
    testenv::writeFile(root + "/a/notes.txt", "x");
    testenv::writeFile(root + "/a/.hidden.mp3", "x");
    testenv::writeFile(root + "/a/tmp/deep/song.mp3", "x");
    QFile::link("Track.MP3", root + "/a/link.mp3");
    QFile::link("b", root + "/a/dirlink");
    mkfifo(QFile::encodeName(root + "/a/fifo.mp3").constData(), 0644);
    return root;
}

// "name:kind" for each child, the kind being column 1.
QStringList children(const QTreeWidgetItem *item)
{
    QStringList out;
    for (int i = 0; item && i < item->childCount(); ++i)
        out << item->child(i)->text(0) + ":" + item->child(i)->text(1);
    return out;
}

QImage iconImage(const QTreeWidgetItem *item)
{
    return item->icon(0).pixmap(16, 16).toImage();
}

struct ListingCase {
    const char *name;
    bool showDirsOnly;
    QStringList expected;
};

class TreeListing : public ::testing::TestWithParam<ListingCase>
{
};

TEST_P(TreeListing, opensWithHiddenNamesAndMp3FilesOnly)
{
    const ListingCase &c = GetParam();
    const QString root = makeTree();
    DirectoryView view(nullptr, "view", c.showDirsOnly);
    view.addRoot(root);
    view.setDir(root + "/a/");
    QTreeWidgetItem *a = view.currentItem();
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->text(0), "a");
    EXPECT_TRUE(a->isExpanded());
    EXPECT_EQ(children(a), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Tree, TreeListing,
    ::testing::Values(
        // "tmp" and "home" are hidden two levels down as at the top; the case of ".mp3"
        // does not matter; links come before the folder test.
        ListingCase{"filesShown",
                    false,
                    {".hidden.mp3:File", "b:Directory", "dirlink:Symbolic Link", "fifo.mp3:Special",
                     "link.mp3:Symbolic Link", "Track.MP3:File", "Zeta:Directory"}},
        // No file items at all, not even links; a link to a folder is a folder.
        ListingCase{"dirsOnly", true, {"b:Directory", "dirlink:Directory", "Zeta:Directory"}}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(Tree, foldersAreReadOnlyOnceAndShowTheirState)
{
    const QString root = makeTree();
    DirectoryView view(nullptr, "view", false);
    Directory *top = view.addRoot(root);
    EXPECT_EQ(top->text(0), root + "/");
    EXPECT_EQ(top->childIndicatorPolicy(), QTreeWidgetItem::ShowIndicator);
    top->setOpen(true);
    ASSERT_EQ(children(top), QStringList({"a:Directory"}));
    auto *a = static_cast<Directory *>(top->child(0));
    EXPECT_EQ(a->fullName(), root + "/a/");
    EXPECT_EQ(iconImage(a), DirectoryView::folderClosedPixmap().toImage());

    a->setOpen(true);
    EXPECT_EQ(iconImage(a), DirectoryView::folderOpenPixmap().toImage());
    testenv::writeFile(root + "/a/later.mp3", "x");
    a->setOpen(false);
    EXPECT_EQ(iconImage(a), DirectoryView::folderClosedPixmap().toImage());
    a->setOpen(true);
    EXPECT_FALSE(children(a).contains("later.mp3:File")) << "entries are read on the first open";

    // The toolkit's own expansion (arrow, keys) reads the entries too.
    QTreeWidgetItem *b = a->child(1);
    ASSERT_EQ(b->text(0), "b");
    view.expandItem(b);
    EXPECT_EQ(children(b), QStringList({"c:Directory"}));
    EXPECT_EQ(iconImage(b), DirectoryView::folderOpenPixmap().toImage());
}

struct PathCase {
    const char *name;
    QStringList chain; // top item first
    QString expected;
};

class TreeFullPath : public ::testing::TestWithParam<PathCase>
{
};

TEST_P(TreeFullPath, joinsAncestorsWithoutDoublingTheRootSlash)
{
    const PathCase &c = GetParam();
    QTreeWidget tree;
    QTreeWidgetItem *item = new QTreeWidgetItem(&tree, {c.chain.first()});
    for (int i = 1; i < c.chain.size(); ++i)
        item = new QTreeWidgetItem(item, {c.chain[i]});
    EXPECT_EQ(DirectoryView::fullPath(item), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Tree, TreeFullPath,
                         ::testing::Values(PathCase{"fileOnCard",
                                                    {"/", "mmc", "mmca1", "song.mp3"},
                                                    "/mmc/mmca1/song.mp3"},
                                           PathCase{"rootItself", {"/"}, "/"},
                                           PathCase{"folder", {"/", "mmc"}, "/mmc"},
                                           PathCase{"cardRootOfItsOwn",
                                                    {"/x/home/app/mmc/mmca1/", "a b", "it's.mp3"},
                                                    "/x/home/app/mmc/mmca1/a b/it's.mp3"}),
                         [](const auto &info) { return std::string(info.param.name); });

struct NavigationCase {
    const char *name;
    QString path;     // under the scratch tree unless it starts with "/"
    QString expected; // full path of the current item; null = none
};

class TreeNavigation : public ::testing::TestWithParam<NavigationCase>
{
};

TEST_P(TreeNavigation, walksVisibleItemsPartByPart)
{
    const NavigationCase &c = GetParam();
    const QString root = makeTree();
    DirectoryView view(nullptr, "view", false);
    new Directory(&view, "/");
    view.topLevelItem(0)->setExpanded(true);
    view.addRoot(root);
    const QString path = c.path.startsWith("/") ? c.path : root + "/" + c.path;
    view.setCurrentItem(view.topLevelItem(0));
    view.setDir(path);
    QTreeWidgetItem *current = view.currentItem();
    if (c.expected.isNull()) {
        EXPECT_EQ(current, nullptr) << DirectoryView::fullPath(current).toStdString();
    } else {
        ASSERT_NE(current, nullptr);
        EXPECT_EQ(DirectoryView::fullPath(current), root + "/" + c.expected);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Tree, TreeNavigation,
    ::testing::Values(NavigationCase{"deepFolder", "a/b/c/", "a/b/c"},
                      NavigationCase{"noTrailingSlash", "a/b", "a/b"},
                      NavigationCase{"file", "a/Track.MP3", "a/Track.MP3"},
                      NavigationCase{"missingFirstPart", "/no-such-folder-here/a/", QString()},
                      NavigationCase{"missingLaterPart", "a/nothing/", QString()},
                      NavigationCase{"hiddenPart", "a/tmp/deep/", QString()}),
    [](const auto &info) { return std::string(info.param.name); });

// Root reads every folder, so an unreadable one is only seen as another user: the test
// runs itself again as "nobody" then.
TEST(Tree, unreadableDirectoryIsLockedAndStaysClosed)
{
    if (geteuid() == 0) {
        if (QStandardPaths::findExecutable("setpriv").isEmpty())
            GTEST_SKIP() << "setpriv is needed to drop root";
        // A copy "nobody" can reach, wherever the build tree lives.
        const QString dir = testenv::scratchDir();
        const auto everyone = QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                              QFileDevice::ExeOwner | QFileDevice::ReadOther |
                              QFileDevice::ExeOther;
        QFile::setPermissions(dir, everyone);
        const QString copy = dir + "/directoryview_test";
        ASSERT_TRUE(QFile::copy(QCoreApplication::applicationFilePath(), copy));
        QFile::setPermissions(copy, everyone);
        const auto r = testenv::run(
            "setpriv", {"--reuid=65534", "--regid=65534", "--clear-groups", "env", "TMPDIR=/tmp",
                        copy, "--gtest_filter=Tree.unreadableDirectoryIsLockedAndStaysClosed"});
        EXPECT_EQ(r.exitCode, 0) << r.out.toStdString() << r.err.toStdString();
        EXPECT_TRUE(r.out.contains("[  PASSED  ] 1 test")) << r.out.toStdString();
        return;
    }
    const QString root = testenv::scratchDir("locked");
    testenv::writeFile(root + "/closed/inside.mp3", "x");
    ASSERT_TRUE(QFile::setPermissions(root + "/closed", QFileDevice::Permissions()));

    DirectoryView view(nullptr, "view", false);
    Directory *top = view.addRoot(root);
    top->setOpen(true);
    ASSERT_EQ(top->childCount(), 1);
    auto *closed = static_cast<Directory *>(top->child(0));
    EXPECT_FALSE(closed->isReadable());
    EXPECT_EQ(closed->text(1), "Unreadable Directory");
    EXPECT_EQ(iconImage(closed), DirectoryView::folderLockedPixmap().toImage());
    EXPECT_EQ(closed->childIndicatorPolicy(), QTreeWidgetItem::ShowIndicator);

    view.expandItem(closed);
    EXPECT_FALSE(closed->isExpanded());
    EXPECT_EQ(closed->childCount(), 0);
    EXPECT_EQ(closed->childIndicatorPolicy(), QTreeWidgetItem::DontShowIndicator);
    EXPECT_EQ(iconImage(closed), DirectoryView::folderLockedPixmap().toImage());
    QFile::setPermissions(root + "/closed",
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

TEST(Tree, selectingAFolderReportsItOnlyInFolderMode)
{
    const QString root = makeTree();
    for (bool dirsOnly : {true, false}) {
        DirectoryView view(nullptr, "view", dirsOnly);
        view.addRoot(root);
        view.setDir(root + "/a/b/");
        QStringList reported;
        QObject::connect(&view, &DirectoryView::folderSelected,
                         [&](const QString &path) { reported << path; });
        view.slotFolderSelected(view.currentItem());
        view.slotFolderSelected(nullptr);
        EXPECT_EQ(reported, dirsOnly ? QStringList({root + "/a/b"}) : QStringList()) << dirsOnly;
    }
}

// The application directory lies under a folder named "home", which the tree hides.
class CardRoot : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_oldDir = QDir::currentPath();
        m_appDir = testenv::scratchDir("home/app");
        testenv::writeFile(m_appDir + "/mmc/mmca1/song.mp3", "x");
        testenv::writeFile(m_appDir + "/mmc/mmca1/list.m3u", "x");
        makeDir(m_appDir + "/mmc/mmca1/music");
        QDir::setCurrent(m_appDir);
    }
    void TearDown() override { QDir::setCurrent(m_oldDir); }

    QString m_oldDir;
    QString m_appDir;
};

TEST_F(CardRoot, treeChooserOpensAtTheCardRoot)
{
    ASSERT_EQ(platform::cardRoot(), QDir::currentPath() + "/mmc/mmca1");
    DirectoryChooser chooser(nullptr, false);
    EXPECT_EQ(chooser.chosenPath(), platform::cardRoot() + "/");
    QTreeWidgetItem *card = chooser.view()->currentItem();
    ASSERT_NE(card, nullptr);
    EXPECT_TRUE(card->isExpanded());
    EXPECT_EQ(children(card), QStringList({"music:Directory", "song.mp3:File"}));
    chooser.view()->setCurrentItem(card->child(1));
    EXPECT_EQ(chooser.chosenPath(), platform::cardRoot() + "/song.mp3");
}

TEST_F(CardRoot, treeChooserGivesThePickOrNullWhenCancelled)
{
    struct {
        bool accept;
        QString expected;
    } rows[] = {{true, platform::cardRoot() + "/"}, {false, QString()}};
    for (const auto &row : rows) {
        QTimer::singleShot(0, [&] {
            auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            row.accept ? dialog->accept() : dialog->reject();
        });
        const QString chosen = DirectoryChooser::choose(nullptr, false);
        EXPECT_EQ(chosen, row.expected);
        EXPECT_EQ(chosen.isNull(), !row.accept);
    }
}

TEST_F(CardRoot, viewDialogOpensAtTheCardRootAndReturnsTheFolderShown)
{
    ViewDialog dialog(nullptr, "*.m3u");
    EXPECT_EQ(dialog.objectName(), "*.m3u");
    ASSERT_EQ(dialog.browser()->objectName(), "browser");
    EXPECT_EQ(dialog.browser()->currentDir(), QFileInfo(platform::cardRoot()).canonicalFilePath());
    EXPECT_EQ(dialog.browser()->filter(), "*.m3u");

    dialog.browser()->setDir(platform::cardRoot() + "/music");
    dialog.findChild<QPushButton *>("ok")->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.path(), QFileInfo(platform::cardRoot() + "/music").canonicalFilePath());
}

TEST_F(CardRoot, viewDialogBackRejects)
{
    ViewDialog dialog(nullptr, "*.m3u");
    dialog.show();
    // The phone's screen holds it at its own size, buttons and all.
    EXPECT_EQ(dialog.geometry(), QRect(10, 46, 220, 240));
    for (const QPushButton *b : dialog.findChildren<QPushButton *>())
        EXPECT_TRUE(dialog.rect().contains(b->geometry())) << b->objectName().toStdString();
    dialog.findChild<QPushButton *>("CST_Back")->click();
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_TRUE(dialog.path().isEmpty());
}

} // namespace
