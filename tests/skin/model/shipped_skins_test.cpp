// The two shipped skins are complete and consistent: every key with the items its element
// uses, every picture the window cuts (and its pressed, on, pause, knob, glyph and frame
// neighbours) inside the skin picture, elements on the screen without overlapping where the
// window tells them apart, and the mini bar pictures and masks at their fixed places.
#include "dropin/kconfig.h"
#include "skin/skin.h"
#include "tests/support/testenv.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <gtest/gtest.h>

namespace
{

struct ShippedCase {
    const char *name;
    bool winEnabled;
    bool hasBackground;
};

void PrintTo(const ShippedCase &c, std::ostream *os)
{
    *os << c.name;
}

QString shippedDir(const char *name)
{
    return testenv::sourceDir() + "/skins/" + QString::fromLatin1(name);
}

using K = Skin::Key;

// Elements whose second picture lies one height below (pressed, or "on").
constexpr K belowKeys[] = {
    K::Prev,       K::Stop,         K::Next,    K::OpBtn,       K::PlistBtn,  K::PresetsBtn,
    K::EqBtnZero,  K::FontBtn,      K::ExitWin, K::HWin,        K::MiniWin,   K::ColorBtn,
    K::Audio3dBtn, K::BassBooster,  K::PosA,    K::PosB,        K::ShufBtn,   K::RepeatBtn,
    K::ShowLrcBtn, K::TextCodecBtn, K::EqeBtn,  K::BtnPlistWin, K::BtnLrcWin, K::BtnEqWin};
// Horizontal elements whose second picture lies one width to the right.
constexpr K besideKeys[] = {K::HExitWin, K::VWinBtn, K::HMiniWin, K::HPrev,
                            K::HStop,    K::HNext,   K::HPosA,    K::HPosB};

class ShippedSkin : public ::testing::TestWithParam<ShippedCase>
{
protected:
    void SetUp() override
    {
        const ShippedCase &c = GetParam();
        m_source = shippedDir(c.name);
        ASSERT_TRUE(QFile::exists(m_source + "/skins.conf")) << qPrintable(m_source);
        // Loading rewrites the description, so work on a copy.
        m_app = testenv::scratchDir("app");
        const QString copy = m_app + "/skins/" + c.name;
        QDir().mkpath(copy);
        for (const QString &f : QDir(m_source).entryList(QDir::Files))
            QFile::copy(m_source + "/" + f, copy + "/" + f);
        ASSERT_TRUE(m_skin.load(m_app, c.name));
        m_picture = QImage(copy + "/skins.png");
        ASSERT_FALSE(m_picture.isNull());
    }

    // A picture rectangle the window cuts; empty rectangles (elements a skin leaves out)
    // cut nothing.
    void expectInside(const QRect &r, const QString &what) const
    {
        if (r.width() <= 0 || r.height() <= 0)
            return;
        EXPECT_TRUE(m_picture.rect().contains(r))
            << qPrintable(what) << " (" << r.x() << "," << r.y() << " " << r.width() << "x"
            << r.height() << ") outside the " << m_picture.width() << "x" << m_picture.height()
            << " skin picture";
    }
    QRect moved(K key, int dx, int dy) const { return m_skin[key].source().translated(dx, dy); }

    QString m_source, m_app;
    Skin m_skin;
    QImage m_picture;
};

TEST_P(ShippedSkin, describesEveryKeyWithTheItemsItsElementUses)
{
    KConfig conf(m_source + "/skins.conf", true);
    conf.setGroup("SKINS");
    for (int k = 0; k < Skin::KeyCount; ++k) {
        const QString key = Skin::keyName(K(k));
        EXPECT_TRUE(conf.hasKey(key)) << qPrintable(key);
        EXPECT_GE(conf.readListEntry(key).size(), Skin::itemsUsed(K(k))) << qPrintable(key);
    }
    for (const char *plain : {"mwin_Y", "mwin_H", "win_enabled"})
        EXPECT_TRUE(conf.hasKey(plain)) << plain;
    EXPECT_EQ(m_skin.winEnabled(), GetParam().winEnabled);
    EXPECT_TRUE(m_skin.titleColor().isValid());
    EXPECT_TRUE(m_skin.playlistTextColor().isValid());
}

TEST_P(ShippedSkin, descriptionIsAlreadyNormalised)
{
    const QString copy = m_app + "/skins/" + GetParam().name + "/skins.conf";
    EXPECT_EQ(testenv::readFile(copy), testenv::readFile(m_source + "/skins.conf"));
}

TEST_P(ShippedSkin, everyPictureTheWindowCutsLiesInsideTheSkinPicture)
{
    const Skin &s = m_skin;
    expectInside(QRect(0, s.mwinY(), 240, s.mwinH()), "background band");
    expectInside(Skin::miniLyricStrip(), "mini lyric strip");
    for (int k = 0; k < Skin::KeyCount; ++k)
        expectInside(s[K(k)].source(), Skin::keyName(K(k)));
    for (K k : belowKeys)
        expectInside(moved(k, 0, s[k][3]), Skin::keyName(k) + " lower picture");
    for (K k : besideKeys)
        expectInside(moved(k, s[k][2], 0), Skin::keyName(k) + " second picture");
    const Skin::List &play = s[K::Play];
    expectInside(moved(K::Play, play[2], 0), "play playing");
    expectInside(moved(K::Play, 0, play[3]), "play pressed");
    expectInside(moved(K::Play, play[2], play[3]), "play playing pressed");
    const Skin::List &hplay = s[K::HPlay];
    expectInside(moved(K::HPlay, 0, -hplay[3]), "H_play playing");
    expectInside(moved(K::HPlay, hplay[2], 0), "H_play pressed");
    expectInside(moved(K::HPlay, hplay[2], -hplay[3]), "H_play playing pressed");
    for (int state = 0; state < 3; ++state)
        expectInside(moved(K::PlayDisplayWin, 0, state * s[K::PlayDisplayWin][3]), "play state");
    expectInside(s[K::PlayDisplayWin].rect(), "play state background (same place)");

    for (K k : {K::PosBar, K::VlBtn, K::PlistBar}) {
        expectInside(s[k].knob(), Skin::keyName(k) + " knob");
        expectInside(s[k].knob().translated(0, s[k][9]), Skin::keyName(k) + " pressed knob");
    }
    for (K k : {K::HPosBar, K::HVlBtn}) {
        expectInside(s[k].knob(), Skin::keyName(k) + " knob");
        expectInside(s[k].knob().translated(s[k][8], 0), Skin::keyName(k) + " pressed knob");
    }
    const Skin::List &hvl = s[K::HVlBtn];
    expectInside(QRect(hvl[4], hvl[5], hvl[2], hvl[3] + 4), "H_VL_BTN with its margins");

    const Skin::List &eq = s[K::Eq];
    for (int row = 0; row < 2; ++row)
        for (int frame = 0; frame < 14; ++frame)
            expectInside(QRect(eq[4] + frame * eq[2], eq[5] + row * eq[3], eq[2], eq[3]),
                         QStringLiteral("EQ level frame %1/%2").arg(row).arg(frame));
    expectInside(eq.knob(), "EQ knob");
    expectInside(eq.knob().translated(0, eq[9]), "EQ lower knob");
    for (int band = 0; band < 10; ++band)
        expectInside(QRect(eq[0] + band * eq[10], eq[1], eq[2], eq[3]), "EQ column background");

    const Skin::List &time = s[K::TimeWin];
    for (int g = 0; g <= 10; ++g)
        expectInside(QRect(time[4] + g * time[2], time[5], time[2], time[3]),
                     QStringLiteral("glyph %1").arg(g));
    const Skin::List &curve = s[K::EqalzrWin];
    expectInside(QRect(curve[6], curve[7] - 8, 1, 17), "curve dot column");
    for (K k : {K::PlistWin, K::LrcWin, K::EqWin})
        expectInside(QRect(0, s[k][5], 240, s[k][3]), Skin::keyName(k) + " strip");
    expectInside(QRect(10, s[K::PlistBar][1] + 10, 210, 14), "playlist row background");
}

TEST_P(ShippedSkin, secondPicturesLookDifferent)
{
    auto differ = [&](const QRect &a, const QRect &b, const QString &what) {
        if (a.isEmpty())
            return;
        EXPECT_NE(m_picture.copy(a), m_picture.copy(b)) << qPrintable(what);
    };
    for (K k : belowKeys)
        differ(m_skin[k].source(), moved(k, 0, m_skin[k][3]), Skin::keyName(k));
    for (K k : besideKeys)
        differ(m_skin[k].source(), moved(k, m_skin[k][2], 0), Skin::keyName(k));
    const Skin::List &play = m_skin[K::Play];
    differ(play.source(), moved(K::Play, play[2], 0), "play vs playing");
    differ(play.source(), moved(K::Play, 0, play[3]), "play vs pressed");
    const Skin::List &hplay = m_skin[K::HPlay];
    differ(hplay.source(), moved(K::HPlay, 0, -hplay[3]), "H_play vs playing");
    const Skin::List &pd = m_skin[K::PlayDisplayWin];
    differ(pd.source(), moved(K::PlayDisplayWin, 0, pd[3]), "playing vs paused");
    differ(moved(K::PlayDisplayWin, 0, pd[3]), moved(K::PlayDisplayWin, 0, 2 * pd[3]),
           "paused vs stopped");
    // The equalizer's pressed knob is the brighter one.
    const Skin::List &eq = m_skin[K::Eq];
    differ(eq.knob(), eq.knob().translated(0, eq[9]), "EQ knob vs lower knob");
    auto lightness = [&](const QRect &r) {
        long sum = 0;
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = r.left(); x <= r.right(); ++x)
                sum += qGray(m_picture.pixel(x, y)) * qAlpha(m_picture.pixel(x, y));
        return sum;
    };
    EXPECT_GT(lightness(eq.knob().translated(0, eq[9])), lightness(eq.knob()));
    const Skin::List &time = m_skin[K::TimeWin];
    for (int g = 1; g <= 10; ++g)
        differ(QRect(time[4], time[5], time[2], time[3]),
               QRect(time[4] + g * time[2], time[5], time[2], time[3]),
               QStringLiteral("glyph %1").arg(g));
}

// Rectangles the window tells apart by position must not overlap.
void expectApart(const QList<QPair<QString, QRect>> &rects, const QString &group)
{
    for (int i = 0; i < rects.size(); ++i)
        for (int j = i + 1; j < rects.size(); ++j) {
            const QRect a = rects[i].second, b = rects[j].second;
            if (a.isEmpty() || b.isEmpty())
                continue;
            EXPECT_FALSE(a.intersects(b)) << qPrintable(group) << ": " << qPrintable(rects[i].first)
                                          << " overlaps " << qPrintable(rects[j].first);
        }
}

TEST_P(ShippedSkin, verticalElementsFitTheScreenAndKeepApart)
{
    const Skin &s = m_skin;
    const QRect screen(0, 0, 240, 320);
    auto named = [&](std::initializer_list<K> keys) {
        QList<QPair<QString, QRect>> out;
        for (K k : keys)
            out << qMakePair(Skin::keyName(k), s[k].rect());
        return out;
    };
    const Skin::List &time = s[K::TimeWin];
    auto main = named({K::Prev, K::Play, K::Stop, K::Next, K::PosBar, K::PosA, K::PosB,
                       K::BtnPlistWin, K::BtnLrcWin, K::BtnEqWin, K::Audio3dBtn, K::BassBooster,
                       K::ExitWin, K::HWin, K::MiniWin, K::VlBtn, K::TitleWin, K::PlayDisplayWin});
    main << qMakePair(QString("time digits"), QRect(time[0], time[1], 5 * time[2], time[3]))
         << qMakePair(QString("menu corner"), QRect(3, 1, 57, 29))
         << qMakePair(QString("lights area"), QRect(25, 45, 75, 14));
    const Skin::List &bar = s[K::PlistBar];
    auto playlist = named({K::PlistBar, K::OpBtn, K::PlistBtn, K::ShufBtn, K::RepeatBtn});
    playlist << qMakePair(QString("rows"), QRect(10, bar[1], 200, bar[3]));
    const Skin::List &colour = s[K::ColorBtn];
    auto lyric = named({K::ShowLrcBtn, K::TextCodecBtn, K::FontBtn, K::ColorBtn, K::LrcWinShow});
    lyric << qMakePair(QString("colour swatches"),
                       QRect(colour[0] + colour[2] + 10, colour[1] + 1, 29, 12));
    const int mid = s.eqMidY();
    const Skin::List &eq = s[K::Eq];
    auto equalizer = named({K::EqeBtn, K::PresetsBtn, K::EqBtnZero, K::EqalzrWin});
    equalizer << qMakePair(QString("band sliders"), QRect(eq[0] + 1, mid - 20, 10 * eq[10] - 1, 50))
              << qMakePair(QString("preamp slider"), QRect(23, mid - 20, 11, 50));

    for (const auto &group : {main, playlist, lyric, equalizer})
        for (const auto &r : group)
            if (!r.second.isEmpty()) {
                EXPECT_TRUE(screen.contains(r.second)) << qPrintable(r.first) << " off the screen";
            }
    expectApart(main, "main");
    for (const auto &panel : {playlist, lyric, equalizer})
        expectApart(main + panel, "main and a panel");
    if (!s.winEnabled()) {
        expectApart(playlist + lyric, "playlist beside lyrics");
        expectApart(playlist + equalizer, "playlist beside equalizer");
    }
    // Each panel's elements lie on its strip.
    const QPair<K, QList<QPair<QString, QRect>>> strips[] = {
        {K::PlistWin, playlist}, {K::LrcWin, lyric}, {K::EqWin, equalizer}};
    for (const auto &strip : strips) {
        const QRect area(0, s[strip.first][1], 240, s[strip.first][3]);
        for (const auto &r : strip.second)
            if (!r.second.isEmpty()) {
                EXPECT_TRUE(area.contains(r.second)) << qPrintable(r.first) << " off its panel";
            }
    }
    EXPECT_EQ(s[K::VlBtn][2], 68) << "the volume knob would jump between redraws";
    EXPECT_GE(s.visibleRows(), 3);
    EXPECT_EQ(s[K::EqPreamp][1] + s[K::EqPreamp][3] / 2, mid) << "preamp and bands share a middle";
}

TEST_P(ShippedSkin, horizontalElementsSitOnTheirPanelsClearOfTimeAndTitle)
{
    const Skin &s = m_skin;
    const QRect top = s[K::HWinT].rect();
    const QRect bottom = s[K::HWinB].rect();
    EXPECT_EQ(top.x(), 0);
    EXPECT_EQ(bottom.right(), 239);
    const Skin::List &time = s[K::TimeWin];
    const Skin::List &title = s[K::TitleWin];
    EXPECT_EQ(time[6], 5 * time[2]);
    EXPECT_EQ(time[7], time[3]);
    QList<QPair<QString, QRect>> rects;
    for (K k : {K::HPosA, K::HPosB, K::HPrev, K::HPlay, K::HStop, K::HNext, K::HPosBar, K::HVlBtn,
                K::HExitWin, K::VWinBtn, K::HMiniWin}) {
        const QRect r = s[k].rect();
        EXPECT_TRUE(top.contains(r) || bottom.contains(r)) << qPrintable(Skin::keyName(k));
        rects << qMakePair(Skin::keyName(k), r);
    }
    // The turned time and title are drawn at fixed places of the screen.
    const QRect timeSpot(40, 10, time[7], time[6]);
    const QRect titleSpot(21, 112, title[3], title[2]);
    EXPECT_TRUE(QRect(0, 0, 240, 320).contains(titleSpot)) << "turned title runs off the screen";
    EXPECT_TRUE(top.contains(timeSpot));
    EXPECT_TRUE(top.contains(titleSpot));
    rects << qMakePair(QString("time"), timeSpot) << qMakePair(QString("title"), titleSpot);
    expectApart(rects, "horizontal");
    // Pictures of the turned panels are turned: as tall as the screen.
    EXPECT_EQ(top.height(), 320);
    EXPECT_EQ(s[K::HWinT].source().size(), top.size());
}

TEST_P(ShippedSkin, lightsAvoidEverythingTheWindowRedraws)
{
    const QString dir = m_app + "/skins/" + GetParam().name;
    for (int frame = 1; frame <= 3; ++frame)
        for (bool right : {false, true}) {
            const QPixmap light = m_skin.lights(right, frame);
            ASSERT_FALSE(light.isNull()) << frame << right;
            const QRect r(QPoint(right ? 100 : 0, 10), light.size());
            EXPECT_TRUE(QRect(0, 0, 240, 320).contains(r));
            const Skin::List &time = m_skin[K::TimeWin];
            for (const QRect &other :
                 {m_skin[K::TitleWin].rect(), m_skin[K::PlayDisplayWin].rect(),
                  QRect(time[0], time[1], 5 * time[2], time[3]), m_skin[K::MiniWin].rect(),
                  m_skin[K::HWin].rect(), m_skin[K::ExitWin].rect(), m_skin[K::PosBar].rect()})
                EXPECT_FALSE(r.intersects(other))
                    << "frame " << frame << (right ? " right" : " left");
            // The lights are the band's own pixels with lamps lit, so they blend in.
            const QImage band = m_picture.copy(r.translated(0, m_skin.mwinY()));
            EXPECT_NE(light.toImage().convertToFormat(band.format()), band);
        }
}

TEST_P(ShippedSkin, miniBarPicturesCoverTheirFixedPlaces)
{
    const QString dir = m_app + "/skins/" + GetParam().name;
    EXPECT_EQ(m_skin.miniMain().size(), QSize(240, 25));
    const QPixmap &buttons = m_skin.miniButtons();
    ASSERT_FALSE(buttons.isNull());
    QList<QRect> cuts = {{0, 0, 21, 20},   {21, 0, 21, 20},  {42, 0, 20, 20},
                         {62, 0, 20, 20},  {0, 20, 21, 20},  {21, 20, 21, 20},
                         {42, 20, 20, 20}, {62, 20, 20, 20}, {182, 0, 4, 16}};
    for (int x : {0, 20, 40})
        cuts << QRect(x, 40, 20, 18) << QRect(x, 60, 20, 18);
    for (int d = 0; d < 10; ++d)
        cuts << QRect(82 + 10 * d, 0, 10, 16);
    for (const QRect &r : cuts)
        EXPECT_TRUE(buttons.rect().contains(r)) << r.x() << "," << r.y();
    const QImage img = buttons.toImage();
    EXPECT_NE(img.copy(0, 40, 20, 18), img.copy(20, 60, 20, 18)) << "(180,0) button pressed";
    EXPECT_NE(img.copy(20, 40, 20, 18), img.copy(0, 60, 20, 18)) << "(200,0) button pressed";
    EXPECT_NE(img.copy(40, 40, 20, 18), img.copy(40, 60, 20, 18)) << "(220,0) button pressed";
    EXPECT_NE(img.copy(0, 0, 21, 20), img.copy(21, 0, 21, 20)) << "play vs playing";

    for (const auto &[file, size] :
         {std::pair{"mask.png", QSize(240, 25)}, std::pair{"mask_d.png", QSize(240, 48)}}) {
        const QImage mask(dir + "/" + file);
        EXPECT_EQ(mask.size(), size) << file;
        EXPECT_EQ(mask.depth(), 1) << file;
    }
    EXPECT_EQ(m_skin.miniMask(false).size(), QSize(240, 25));
    EXPECT_EQ(m_skin.miniMask(true).size(), QSize(240, 48));
    // The shape covers the bar's middle and leaves its rounded corners out.
    const QImage mask = m_skin.miniMask(true).toImage();
    EXPECT_EQ(qGray(mask.pixel(120, 12)), 0);
    EXPECT_EQ(qGray(mask.pixel(120, 36)), 0);
    EXPECT_EQ(qGray(mask.pixel(0, 0)), 255);
    EXPECT_EQ(qGray(mask.pixel(239, 47)), 255);
}

TEST_P(ShippedSkin, horizontalBackgroundOnlyInTheFallBackSkin)
{
    const QImage back(m_app + "/skins/" + GetParam().name + "/backskin.png");
    EXPECT_EQ(!back.isNull(), GetParam().hasBackground);
    if (!back.isNull()) {
        EXPECT_EQ(back.size(), QSize(320, 240));
    }
}

INSTANTIATE_TEST_SUITE_P(Skins, ShippedSkin,
                         ::testing::Values(ShippedCase{"default", true, true},
                                           ShippedCase{"ivory", false, false}),
                         [](const auto &info) { return std::string(info.param.name); });

} // namespace

namespace
{

// The committed skins are what the generator makes: its layout numbers match (pixels may
// differ with the fonts of the machine), and its preview mode composes every form.
TEST(SkinGenerator, committedDescriptionsMatchTheGenerator)
{
    const QString skingen = testenv::binaryDir() + "/bin/skingen";
    ASSERT_TRUE(QFile::exists(skingen)) << qPrintable(skingen);
    const QString out = testenv::scratchDir("gen");
    const testenv::ProcessResult made = testenv::run(skingen, {out + "/skins"});
    ASSERT_EQ(made.exitCode, 0) << made.err.constData();
    for (const char *name : {"default", "ivory"}) {
        SCOPED_TRACE(name);
        const QString fresh = out + "/skins/" + name;
        EXPECT_EQ(testenv::readFile(fresh + "/skins.conf"),
                  testenv::readFile(shippedDir(name) + "/skins.conf"))
            << "run skingen on the skins folder after changing a design";
        for (const QString &file : QDir(shippedDir(name)).entryList(QDir::Files)) {
            const QImage committed(shippedDir(name) + "/" + file);
            if (!committed.isNull()) {
                EXPECT_EQ(QImage(fresh + "/" + file).size(), committed.size()) << qPrintable(file);
            }
        }
        const testenv::ProcessResult preview =
            testenv::run(skingen, {"--preview", fresh, out + "/preview"});
        EXPECT_EQ(preview.exitCode, 0) << preview.err.constData();
        EXPECT_EQ(QImage(out + "/preview/" + name + "-vertical-0.png").size(), QSize(240, 320));
        EXPECT_EQ(QImage(out + "/preview/" + name + "-horizontal-0.png").size(), QSize(240, 320));
        EXPECT_EQ(QImage(out + "/preview/" + name + "-mini-2.png").size(), QSize(240, 48));
    }
    EXPECT_NE(testenv::run(skingen, {"--preview", out + "/nothing", out + "/p"}).exitCode, 0);
    EXPECT_EQ(testenv::run(skingen, {}).exitCode, 2);
}

} // namespace
