// The skin model: reading a description, derived numbers, panel start states, missing and
// broken files, the skin menu listing, and the consistency of the two shipped skins.
#include "skin/picturecache.h"
#include "skin/skin.h"
#include "tests/support/testenv.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <gtest/gtest.h>

namespace
{

// A scratch application folder holding one skin "s" with the given description.
QString appWithSkin(const QByteArray &conf)
{
    const QString app = testenv::scratchDir("app");
    QDir().mkpath(app + "/skins/s");
    if (!conf.isNull())
        testenv::writeFile(app + "/skins/s/skins.conf", conf);
    return app;
}

Skin loaded(const QByteArray &conf)
{
    Skin skin;
    skin.load(appWithSkin(conf), "s");
    return skin;
}

// ---- reading the description ----------------------------------------------------------

struct ItemCase {
    const char *name;
    const char *entry; // line in [SKINS]
    const char *key;
    QList<int> expected; // items 0.. as read; every later index must read 0
};

class DescriptionItems : public ::testing::TestWithParam<ItemCase>
{
};

TEST_P(DescriptionItems, readAsIntegersWithZeroForTheRest)
{
    const ItemCase &c = GetParam();
    const Skin skin = loaded(QByteArray("[SKINS]\n") + c.entry + "\n");
    const Skin::List &list = skin.element(QString::fromLatin1(c.key));
    ASSERT_EQ(Skin::keyOf(c.key) >= 0, true) << c.key;
    EXPECT_EQ(list.size(), skin[Skin::Key(Skin::keyOf(c.key))].size());
    for (int i = 0; i < c.expected.size(); ++i)
        EXPECT_EQ(list[i], c.expected.at(i)) << "index " << i;
    for (int i = int(c.expected.size()); i < 12; ++i)
        EXPECT_EQ(list[i], 0) << "index " << i;
    EXPECT_EQ(list[-1], 0);
}

INSTANTIATE_TEST_SUITE_P(
    Skin, DescriptionItems,
    ::testing::Values(
        ItemCase{"fullList", "play=40,250,24,20,0,330", "play", {40, 250, 24, 20, 0, 330}},
        ItemCase{"shortListReadsZeroBeyondItsEnd", "prev=1,2,3", "prev", {1, 2, 3}},
        ItemCase{"notANumberReadsZero", "stop=10,x,20,1e3,0x10", "stop", {10, 0, 20, 0, 0}},
        ItemCase{"emptyItemsAreDropped", "next=5,,7,,,9,", "next", {5, 7, 9}},
        ItemCase{"blanksAroundItemsAreIgnored", "EQ= 4 , 5 ,6", "EQ", {4, 5, 6}},
        ItemCase{"negativeNumbers", "H_WIN_T=-63,0,62", "H_WIN_T", {-63, 0, 62}},
        ItemCase{"colourItemReadsZero",
                 "title_win=1,2,3,4,5,6,#C8C8C8,7",
                 "title_win",
                 {1, 2, 3, 4, 5, 6, 0, 7}},
        ItemCase{"keyNamesAreCaseSensitive", "eq=1,2,3", "EQ", {}},
        ItemCase{"missingKeyIsAllZeros", "other=1", "VL_BTN", {}}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(Skin, unknownKeyNameGivesAnEmptyList)
{
    const Skin skin = loaded("[SKINS]\nprev=1,2\n");
    EXPECT_EQ(Skin::keyOf("nosuch"), -1);
    EXPECT_EQ(skin.element("nosuch").size(), 0);
    EXPECT_EQ(skin.element("nosuch")[0], 0);
}

TEST(Skin, everyKeyNameMapsBackToItsKey)
{
    for (int k = 0; k < Skin::KeyCount; ++k) {
        const QString name = Skin::keyName(Skin::Key(k));
        ASSERT_FALSE(name.isEmpty());
        EXPECT_EQ(Skin::keyOf(name), k) << qPrintable(name);
        EXPECT_GE(Skin::itemsUsed(Skin::Key(k)), 6);
    }
}

TEST(Skin, rectanglesAndStrictHitTest)
{
    const Skin skin =
        loaded("[SKINS]\nplay=40,250,24,20,0,330\nposbar=8,88,224,12,8,88,300,4,32,10\n");
    const Skin::List &play = skin[Skin::Play];
    EXPECT_EQ(play.rect(), QRect(40, 250, 24, 20));
    EXPECT_EQ(play.source(), QRect(0, 330, 24, 20));
    EXPECT_EQ(skin[Skin::PosBar].knob(), QRect(300, 4, 32, 10));
    struct {
        int x, y;
        bool inside;
    } const points[] = {{41, 251, true},  {63, 269, true},  {40, 260, false}, {64, 260, false},
                        {50, 250, false}, {50, 270, false}, {52, 260, true}};
    for (const auto &pt : points)
        EXPECT_EQ(play.contains(pt.x, pt.y), pt.inside) << pt.x << "," << pt.y;
}

struct ColourCase {
    const char *name;
    const char *entries;
    QColor title, playlist;
};

class DescriptionColours : public ::testing::TestWithParam<ColourCase>
{
};

TEST_P(DescriptionColours, titleAndPlaylistPens)
{
    const ColourCase &c = GetParam();
    const Skin skin = loaded(QByteArray("[SKINS]\n") + c.entries);
    EXPECT_EQ(skin.titleColor().isValid(), c.title.isValid());
    if (c.title.isValid()) {
        EXPECT_EQ(skin.titleColor(), c.title);
    }
    EXPECT_EQ(skin.playlistTextColor().isValid(), c.playlist.isValid());
    if (c.playlist.isValid()) {
        EXPECT_EQ(skin.playlistTextColor(), c.playlist);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Skin, DescriptionColours,
    ::testing::Values(
        ColourCase{"hashNames",
                   "title_win=0,0,9,9,0,0,#C8C8C8\nplist_Bar=0,0,0,95,0,0,0,0,8,20,#102030\n",
                   QColor(0xC8, 0xC8, 0xC8), QColor(0x10, 0x20, 0x30)},
        ColourCase{"namedColour", "title_win=0,0,9,9,0,0,red\n", QColor(Qt::red), QColor()},
        ColourCase{"notAColourIsInvalid",
                   "title_win=0,0,9,9,0,0,#GG0000\nplist_Bar=1,2,3,4,5,6,7,8,9,10,11\n", QColor(),
                   QColor() /* "11" is no colour name */},
        ColourCase{"missingColourIsInvalid", "title_win=0,0,9,9,0,0\n", QColor(), QColor()}),
    [](const auto &info) { return std::string(info.param.name); });

// ---- derived numbers and panel states -------------------------------------------------

struct DerivedCase {
    const char *name;
    const char *entries;
    int eqMidY, volTravel, hVolTravel, rows;
};

class DerivedNumbers : public ::testing::TestWithParam<DerivedCase>
{
};

TEST_P(DerivedNumbers, followTheElementLists)
{
    const DerivedCase &c = GetParam();
    const Skin skin = loaded(QByteArray("[SKINS]\n") + c.entries);
    EXPECT_EQ(skin.eqMidY(), c.eqMidY);
    EXPECT_EQ(skin.volTravel(), c.volTravel);
    EXPECT_EQ(skin.hVolTravel(), c.hVolTravel);
    EXPECT_EQ(skin.visibleRows(), c.rows);
}

INSTANTIATE_TEST_SUITE_P(
    Skin, DerivedNumbers,
    ::testing::Values(DerivedCase{"playlist95GivesFourRows",
                                  "plist_Bar=224,166,12,95\nEQ=44,204,12,60\nVL_BTN=164,113,68,"
                                  "12\nH_VL_BTN=208,8,14,100\n",
                                  234, 54, 84, 4},
                      DerivedCase{"oddHeightsTruncate", "plist_Bar=0,0,0,19\nEQ=0,10,0,59\n", 39,
                                  -14, -16, 0},
                      DerivedCase{"exactRows", "plist_Bar=0,0,0,120\n", 0, -14, -16, 6},
                      DerivedCase{"emptyDescription", "", 0, -14, -16, 0}),
    [](const auto &info) { return std::string(info.param.name); });

struct PanelCase {
    const char *name;
    const char *entry;
    bool winEnabled;
};

class PanelStates : public ::testing::TestWithParam<PanelCase>
{
};

TEST_P(PanelStates, equalizerStartsOpenOnlyWithoutSharedArea)
{
    const PanelCase &c = GetParam();
    const Skin skin = loaded(QByteArray("[SKINS]\n") + c.entry + "\n");
    EXPECT_EQ(skin.winEnabled(), c.winEnabled);
    EXPECT_TRUE(skin.startPlaylistOpen());
    EXPECT_FALSE(skin.startLyricOpen());
    EXPECT_EQ(skin.startEqOpen(), !c.winEnabled);
}

INSTANTIATE_TEST_SUITE_P(Skin, PanelStates,
                         ::testing::Values(PanelCase{"missingMeansShared", "", true},
                                           PanelCase{"falseWord", "win_enabled=false", false},
                                           PanelCase{"zero", "win_enabled=0", false},
                                           PanelCase{"trueWord", "win_enabled=true", true},
                                           PanelCase{"emptyMeansDefault", "win_enabled=", true}),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(Skin, reloadingReplacesEverything)
{
    const QString app =
        appWithSkin("[SKINS]\nwin_enabled=false\nprev=1,2,3,4,5,6\nmwin_Y=7\nmwin_H=8\n");
    testenv::writeFile(app + "/skins/t/skins.conf", "[SKINS]\nnext=9\n");
    Skin skin;
    skin.load(app, "s");
    EXPECT_EQ(skin[Skin::Prev][5], 6);
    EXPECT_EQ(skin.mwinY(), 7);
    EXPECT_EQ(skin.mwinH(), 8);
    EXPECT_FALSE(skin.winEnabled());
    skin.load(app, "t");
    EXPECT_EQ(skin[Skin::Prev][0], 0);
    EXPECT_EQ(skin[Skin::Next][0], 9);
    EXPECT_EQ(skin.mwinY(), 0);
    EXPECT_TRUE(skin.winEnabled());
    EXPECT_EQ(skin.name(), "t");
    EXPECT_EQ(skin.dir(), app + "/skins/t");
}

// ---- files on disk --------------------------------------------------------------------

TEST(Skin, descriptionIsRewrittenInNormalisedForm)
{
    const QString app = appWithSkin("# made by hand\n\n[SKINS]\n  prev=1,2,3  \nplay=4\n[empty]\n");
    Skin skin;
    EXPECT_TRUE(skin.load(app, "s"));
    EXPECT_EQ(skin[Skin::Prev][2], 3);
    const QByteArray text = testenv::readFile(app + "/skins/s/skins.conf");
    EXPECT_EQ(text, QByteArray("[SKINS]\nplay=4\nprev=1,2,3\n"));
}

TEST(Skin, folderWithoutDescriptionLoadsAsZerosAndStaysWithoutOne)
{
    const QString app = appWithSkin(QByteArray());
    Skin skin;
    EXPECT_FALSE(skin.load(app, "s"));
    for (int k = 0; k < Skin::KeyCount; ++k)
        EXPECT_EQ(skin[Skin::Key(k)].size(), 0);
    EXPECT_TRUE(skin.winEnabled());
    EXPECT_TRUE(skin.picture().isNull());
    EXPECT_FALSE(QFile::exists(app + "/skins/s/skins.conf"));
}

TEST(Skin, namesThatLeaveTheSkinsFolderTouchNothing)
{
    // A hand-edited settings file could name a folder outside "skins".
    const QString app = testenv::scratchDir("app");
    const QByteArray outside = "# not a description\n[SKINS]\nprev=1\n";
    testenv::writeFile(app + "/other/skins.conf", outside);
    QImage(8, 8, QImage::Format_RGB32).save(app + "/other/skins.png");
    for (const QString &name : {QStringLiteral("../other"), QStringLiteral(".."),
                                QStringLiteral("."), QString(), QStringLiteral("a/../../other")}) {
        SCOPED_TRACE(qPrintable(name));
        Skin skin;
        EXPECT_FALSE(skin.load(app, name));
        EXPECT_EQ(skin[Skin::Prev][0], 0);
        EXPECT_TRUE(skin.picture().isNull());
        EXPECT_TRUE(skin.lights(false, 1).isNull());
    }
    EXPECT_EQ(testenv::readFile(app + "/other/skins.conf"), outside);
}

TEST(Skin, missingOrBrokenPicturesLoadAsEmpty)
{
    struct {
        const char *name;
        bool brokenFiles;
    } const cases[] = {{"missing", false}, {"broken", true}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const QString app = appWithSkin("[SKINS]\nprev=1,2,3,4,5,6\n");
        const QString dir = app + "/skins/s";
        if (c.brokenFiles) {
            for (const char *f : {"skins.png", "mini_main.png", "mini_btn.png", "mask.png",
                                  "mask_d.png", "xmaslights_l1.png"})
                testenv::writeFile(dir + "/" + f, "\x89PNG\r\n\x1a\nnot really");
        }
        Skin skin;
        EXPECT_TRUE(skin.load(app, "s"));
        EXPECT_EQ(skin[Skin::Prev][5], 6);
        EXPECT_TRUE(skin.picture().isNull());
        EXPECT_TRUE(skin.miniMain().isNull());
        EXPECT_TRUE(skin.miniButtons().isNull());
        EXPECT_TRUE(skin.miniMask(false).isNull());
        EXPECT_TRUE(skin.miniMask(true).isNull());
        EXPECT_TRUE(skin.lights(false, 1).isNull());
        EXPECT_TRUE(skin.lights(true, 2).isNull());
    }
}

TEST(Skin, decodedPictureCacheFollowsThePictureAndSurvivesDamage)
{
    const QString app = appWithSkin("[SKINS]\nprev=1,2,3,4,5,6\n");
    const QString png = app + "/skins/s/skins.png";
    // The user's cache folder, never the card's settings folder.
    const QString cache = PictureCache::userFolder() + "/s.skins.png.pixels";
    ASSERT_TRUE(cache.startsWith(QDir::homePath() + "/.cache/"));
    auto picture = [&](QColor colour, int width) {
        QImage image(width, 7, QImage::Format_ARGB32);
        image.fill(colour);
        image.setPixelColor(1, 1, QColor(0, 0, 255, 128)); // half transparent
        ASSERT_TRUE(image.save(png, "PNG"));
    };
    auto pixelsOf = [&] {
        Skin skin;
        skin.load(app, "s");
        return skin.picture().toImage().convertToFormat(QImage::Format_ARGB32);
    };
    picture(Qt::red, 9);
    const QImage first = pixelsOf();
    ASSERT_TRUE(QFileInfo::exists(cache));
    EXPECT_FALSE(QFileInfo::exists(app + "/.xmms/cache"));
    EXPECT_EQ(first.pixelColor(0, 0), QColor(Qt::red));
    EXPECT_EQ(pixelsOf(), first) << "read back from the cache";
    // The pixels really come from the cache while it matches the picture.
    QByteArray bytes = testenv::readFile(cache);
    bytes[bytes.size() - 1] = char(0x7f); // last pixel's alpha
    testenv::writeFile(cache, bytes);
    EXPECT_NE(pixelsOf(), first);
    QFile::remove(cache);

    // A new picture (other size and time) is decoded again, not taken from the cache.
    picture(Qt::green, 11);
    testenv::setModified(png, QDateTime::currentDateTime().addSecs(60));
    const QImage second = pixelsOf();
    EXPECT_EQ(second.width(), 11);
    EXPECT_EQ(second.pixelColor(0, 0), QColor(Qt::green));

    // A damaged or cut cache is not trusted.
    for (const QByteArray &junk : {QByteArray("ORBPIX01"), QByteArray(4096, '\xff')}) {
        testenv::writeFile(cache, junk);
        EXPECT_EQ(pixelsOf(), second);
    }
    QByteArray cut = testenv::readFile(cache);
    testenv::writeFile(cache, cut.left(cut.size() - 4));
    EXPECT_EQ(pixelsOf(), second);
}

TEST(Skin, lightsFollowTheirFilesOnDisk)
{
    const QString app = appWithSkin("[SKINS]\n");
    const QString file = app + "/skins/s/xmaslights_r2.png";
    auto draw = [&](QColor colour, int minutesAhead) {
        QImage image(100, 8, QImage::Format_RGB32);
        image.fill(colour);
        ASSERT_TRUE(image.save(file, "PNG"));
        testenv::setModified(file, QDateTime::currentDateTime().addSecs(60 * minutesAhead));
    };
    Skin skin;
    skin.load(app, "s");
    EXPECT_TRUE(skin.lights(true, 2).isNull());
    draw(Qt::red, 0);
    EXPECT_EQ(skin.lights(true, 2).toImage().pixelColor(0, 0), QColor(Qt::red));
    EXPECT_EQ(skin.lights(true, 2).toImage().pixelColor(0, 0), QColor(Qt::red));
    EXPECT_TRUE(skin.lights(false, 2).isNull()) << "the left frame is another file";
    draw(Qt::green, 1);
    EXPECT_EQ(skin.lights(true, 2).toImage().pixelColor(0, 0), QColor(Qt::green));
    QFile::remove(file);
    EXPECT_TRUE(skin.lights(true, 2).isNull());
}

TEST(Skin, missingApplicationFolderDoesNotCrash)
{
    Skin skin;
    EXPECT_FALSE(skin.load(testenv::scratchDir() + "/no/such/app", "default"));
    EXPECT_TRUE(skin.picture().isNull());
    EXPECT_TRUE(Skin::menuNames(testenv::scratchDir() + "/no/such/app").isEmpty());
    EXPECT_TRUE(Skin().lights(false, 1).isNull());
}

TEST(Skin, masksAreOneBitAndDarkIsTheShape)
{
    const QString app = appWithSkin("[SKINS]\n");
    QImage shape(240, 25, QImage::Format_RGB32);
    shape.fill(Qt::white);
    for (int x = 10; x < 230; ++x)
        for (int y = 0; y < 25; ++y)
            shape.setPixel(x, y, qRgb(0, 0, 0));
    shape.save(app + "/skins/s/mask.png");
    Skin skin;
    skin.load(app, "s");
    const QImage mask = skin.miniMask(false).toImage();
    ASSERT_EQ(mask.size(), QSize(240, 25));
    EXPECT_EQ(skin.miniMask(false).depth(), 1);
    EXPECT_EQ(qGray(mask.pixel(100, 10)), 0) << "inside is set (black)";
    EXPECT_EQ(qGray(mask.pixel(2, 10)), 255) << "outside is clear";
}

// ---- skin menu ------------------------------------------------------------------------

TEST(Skin, menuListsAtMostSevenFoldersInCaseInsensitiveOrder)
{
    const QString app = testenv::scratchDir("menu");
    for (const char *name : {"zeta", "Beta", "alpha", "Gamma", "delta", "Epsilon", "eta", "Theta"})
        QDir().mkpath(app + "/skins/" + name);
    testenv::writeFile(app + "/skins/aaa-not-a-folder", "x");
    const QStringList expected = {"alpha", "Beta", "delta", "Epsilon", "eta", "Gamma", "Theta"};
    EXPECT_EQ(Skin::menuNames(app), expected);
}

TEST(Skin, menuWithFewFoldersListsThemAll)
{
    const QString app = testenv::scratchDir("few");
    QDir().mkpath(app + "/skins/ivory");
    QDir().mkpath(app + "/skins/default");
    EXPECT_EQ(Skin::menuNames(app), QStringList({"default", "ivory"}));
}

} // namespace
