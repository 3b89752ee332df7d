// The window's pictures drawn offscreen from a coded skin: each checked pixel must be the
// very skin pixel its element's source rectangle names.
#include "skin/pointerinput.h"
#include "skin/skin.h"
#include "skin/skinpainter.h"
#include "state/orbalstate.h"
#include "tests/skin/painting/testskin.h"
#include "tests/support/testenv.h"

#include <QImage>
#include <QPainter>
#include <cstdlib>
#include <gtest/gtest.h>

namespace
{

using K = Skin::Key;

class SkinPainterTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        orbalState() = OrbalState();
        m_appDir = testenv::scratchDir(QStringLiteral("painter"));
        testskin::writeSkin(m_appDir);
        ASSERT_TRUE(m_skin.load(m_appDir, QStringLiteral("default")));
        m_picture = testskin::codedImage(800, 700);
        m_painter.setBackground(QPixmap(m_appDir + QStringLiteral("/skins/default/backskin.png")));
        m_painter.skinLoaded();
        m_painter.setUpdater([this](const QRect &r) { m_updated |= r; });
    }

    QImage canvas() const { return m_painter.canvas().toImage(); }

    // Every pixel of `size` at `dest` on the canvas is the picture's pixel at `src`.
    ::testing::AssertionResult copied(QPoint dest, QPoint src, QSize size,
                                      const QImage &picture) const
    {
        const QImage c = canvas();
        for (int y = 0; y < size.height(); ++y)
            for (int x = 0; x < size.width(); ++x) {
                const QRgb got = c.pixel(dest.x() + x, dest.y() + y) & 0xffffff;
                const QRgb want = picture.pixel(src.x() + x, src.y() + y) & 0xffffff;
                if (got != want)
                    return ::testing::AssertionFailure()
                           << "at (" << dest.x() + x << "," << dest.y() + y << ") got " << std::hex
                           << got << " want " << want << " from (" << std::dec << src.x() + x << ","
                           << src.y() + y << ")";
            }
        return ::testing::AssertionSuccess();
    }
    ::testing::AssertionResult element(K key, QPoint shift = {}) const
    {
        const Skin::List &e = m_skin[key];
        return copied(QPoint(e[0], e[1]), QPoint(e[4], e[5]) + shift, QSize(e[2], e[3]), m_picture);
    }

    QString m_appDir;
    Skin m_skin;
    SkinPainter m_painter{m_skin, orbalState()};
    QImage m_picture;
    QRect m_updated;
};

TEST_F(SkinPainterTest, verticalFormDrawsEveryElementFromItsSourceForTheState)
{
    struct Row {
        const char *name;
        std::function<void(OrbalState &)> set;
        K key;
        QPoint shift; // from the element's own source
    };
    const std::vector<Row> rows = {
        {"prev", [](OrbalState &) {}, K::Prev, {}},
        {"play stopped", [](OrbalState &) {}, K::Play, {}},
        {"play playing is beside", [](OrbalState &s) { s.playingFlag = 1; }, K::Play, {24, 0}},
        {"exit", [](OrbalState &) {}, K::ExitWin, {}},
        {"3-D off", [](OrbalState &s) { s.audio3DOn = false; }, K::Audio3dBtn, {}},
        {"3-D on is below", [](OrbalState &s) { s.audio3DOn = true; }, K::Audio3dBtn, {0, 16}},
        {"B mark set", [](OrbalState &s) { s.markBSet = true; }, K::PosB, {0, 16}},
        {"shuffle on", [](OrbalState &s) { s.shuffleOn = true; }, K::ShufBtn, {0, 12}},
        {"repeat off", [](OrbalState &s) { s.repeatOn = false; }, K::RepeatBtn, {}},
        {"playlist tab open", [](OrbalState &) {}, K::BtnPlistWin, {0, 14}},
        {"lyric tab closed", [](OrbalState &) {}, K::BtnLrcWin, {}},
        {"lyric panel text codec on",
         [](OrbalState &s) {
             s.playlistPanelOpen = false;
             s.lyricPanelOpen = true;
             s.useTextCodec = true;
         },
         K::TextCodecBtn,
         {0, 12}},
        {"equalizer inactive shows the lower picture",
         [](OrbalState &s) {
             s.playlistPanelOpen = false;
             s.eqPanelOpen = true;
             s.equalizerOn = false;
         },
         K::EqeBtn,
         {0, 12}},
        {"equalizer active",
         [](OrbalState &s) {
             s.playlistPanelOpen = false;
             s.eqPanelOpen = true;
         },
         K::EqeBtn,
         {}},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        orbalState() = OrbalState();
        row.set(orbalState());
        m_painter.paintFull();
        EXPECT_TRUE(element(row.key, row.shift));
    }
}

TEST_F(SkinPainterTest, verticalBackgroundAndVolumeKnob)
{
    orbalState().volume = 50;
    m_painter.paintFull();
    // Background band (no panel or element there).
    EXPECT_TRUE(copied({0, 60}, {0, 60}, {100, 15}, m_picture));
    // Knob at VL_BTN[0] + (68 - 14) * 50 / 100.
    EXPECT_TRUE(copied({127, 100}, {300, 90}, {14, 10}, m_picture));
}

TEST_F(SkinPainterTest, nothingIsDrawnWithoutASkinPicture)
{
    Skin empty;
    SkinPainter painter(empty, orbalState());
    const QImage before = painter.canvas().toImage();
    painter.paintFull();
    EXPECT_EQ(painter.canvas().toImage(), before);
}

TEST_F(SkinPainterTest, horizontalFormIsTheBackgroundTurnedOnceWithTheOverlays)
{
    orbalState().layoutMode = Form::Horizontal;
    m_painter.paintFull();
    const QImage land = testskin::codedImage(320, 240);
    const QImage c = canvas();
    // Turned by 270 degrees: screen (x, y) shows landscape (319 - y, x).
    for (QPoint p : {QPoint(100, 50), QPoint(150, 300), QPoint(60, 0), QPoint(199, 319)})
        EXPECT_EQ(c.pixel(p) & 0xffffff, land.pixel(319 - p.y(), p.x()) & 0xffffff)
            << p.x() << "," << p.y();
    for (K key : {K::HExitWin, K::VWinBtn, K::HMiniWin, K::HStop})
        EXPECT_TRUE(element(key)) << Skin::keyName(key).toStdString();
    EXPECT_TRUE(copied({0, 285}, {600, 285}, {40, 35}, m_picture)); // H_WIN_T below the bar
    orbalState().playingFlag = 1;
    orbalState().markASet = true;
    m_painter.paintFull();
    EXPECT_TRUE(element(K::HPlay, {0, -16})); // playing picture above
    EXPECT_TRUE(element(K::HPosA, {16, 0}));  // set mark beside
}

TEST_F(SkinPainterTest, miniBarPiecesAndShape)
{
    orbalState().layoutMode = Form::MiniBar;
    const QImage buttons = testskin::codedImage(200, 80);
    const QImage main = testskin::codedImage(240, 25);
    m_painter.paintFull();
    EXPECT_TRUE(copied({70, 0}, {70, 0}, {100, 25}, main));
    EXPECT_TRUE(copied({220, 0}, {40, 40}, {20, 18}, buttons));
    EXPECT_TRUE(copied({26, 3}, {0, 0}, {21, 20}, buttons));
    EXPECT_TRUE(copied({5, 3}, {42, 0}, {20, 20}, buttons));
    orbalState().playingFlag = 1;
    m_painter.paintFull();
    EXPECT_TRUE(copied({26, 3}, {21, 0}, {21, 20}, buttons));
    EXPECT_FALSE(m_painter.miniMask().isNull());
    EXPECT_EQ(m_painter.miniMask().height(), 25);
    orbalState().lyricsLoaded = true;
    EXPECT_EQ(m_painter.miniMask().height(), 48);
}

TEST_F(SkinPainterTest, pressedPicturesLieBelowInTheVerticalAndBesideInTheHorizontalForm)
{
    m_painter.paintFull();
    m_painter.drawButton(Command::Previous, true);
    EXPECT_TRUE(element(K::Prev, {0, 16}));
    m_painter.drawButton(Command::Previous, false);
    EXPECT_TRUE(element(K::Prev));
    m_painter.drawButton(Command::Pause, false); // play in its playing picture
    EXPECT_TRUE(element(K::Play, {24, 0}));
    orbalState().layoutMode = Form::Horizontal;
    m_painter.paintFull();
    m_painter.drawButton(Command::Exit, true);
    EXPECT_TRUE(element(K::HExitWin, {20, 0}));
    orbalState().hPanelsHidden = true;
    m_updated = QRect();
    m_painter.drawButton(Command::Exit, false);
    EXPECT_TRUE(m_updated.isNull()); // hidden panels draw nothing
}

TEST_F(SkinPainterTest, thumbRule)
{
    struct Row {
        int row, count, visible, height, offset;
    };
    const Row rows[] = {
        {0, 10, 4, 95, 0},  {3, 10, 4, 95, 37}, {5, 10, 4, 95, 62},
        {6, 10, 4, 95, 75}, {9, 10, 4, 95, 75}, {-1, 10, 4, 95, 75},
        {2, 3, 4, 95, 0},   {0, 4, 4, 95, 0},   {-3, 3, 4, 95, 75},
    };
    for (const Row &r : rows)
        EXPECT_EQ(SkinPainter::thumbOffsetFor(r.row, r.count, r.visible, r.height), r.offset)
            << "row " << r.row << " of " << r.count;
}

TEST_F(SkinPainterTest, playlistBarPicksTheFirstRowFromTheThumbAndShortListsStartAtZero)
{
    for (int i = 0; i < 10; ++i)
        orbalState().fileList << QStringLiteral("/music/song%1.mp3").arg(i);
    m_painter.paintFull();
    m_painter.drawPlaylistBar(75, true);
    EXPECT_EQ(m_painter.topRow(), 6);
    EXPECT_TRUE(copied({223, 200}, {300, 340}, {10, 20}, m_picture)); // pressed thumb
    m_painter.drawPlaylistBar(37, false);
    EXPECT_EQ(m_painter.topRow(), 2);
    EXPECT_TRUE(copied({223, 162}, {300, 320}, {10, 20}, m_picture));
    // Row pictures come from (10, bar y + 10); the far right end carries no text.
    EXPECT_TRUE(copied({215, 125 + 20 * 3 + 10}, {215, 145}, {4, 3}, m_picture));

    orbalState().fileList = {QStringLiteral("/a.mp3"), QStringLiteral("/b.mp3")};
    m_updated = QRect();
    m_painter.drawPList(5);
    EXPECT_EQ(m_updated, QRect(10, 125, 210, 34)); // rows 0 and 1 only
}

TEST_F(SkinPainterTest, equalizerSliderFrames)
{
    orbalState().playlistPanelOpen = false;
    orbalState().eqPanelOpen = true;
    m_painter.paintFull();
    struct Row {
        int value, frame, rowY;
    };
    // Negative values use frames v/2 + 13 of the upper strip, the others v/2 of the lower.
    const Row rows[] = {{-25, 1, 400}, {-2, 12, 400}, {-1, 13, 400},
                        {0, 0, 481},   {1, 0, 481},   {25, 12, 481}};
    int slot = 0;
    for (const Row &r : rows) {
        SCOPED_TRACE(r.value);
        m_painter.setEqValue(slot, r.value);
        EXPECT_EQ(orbalState().eqBands[slot], r.value);
        // Column 11 of the slider lies right of the knob.
        EXPECT_TRUE(copied({40 + slot * 16 + 11, 125}, {300 + r.frame * 12 + 11, r.rowY}, {1, 81},
                           m_picture));
        // The knob sits v pixels above the middle, from the lower knob picture.
        EXPECT_TRUE(copied({41 + slot * 16, 125 + 37 - r.value}, {480, 406}, {10, 6}, m_picture));
        ++slot;
    }
    // At rest after a full repaint too; only the preamp there takes the upper picture, and
    // its own redraw the lower one.
    orbalState().eqPreampValue = 3;
    m_painter.paintFull();
    EXPECT_TRUE(copied({41 + 5 * 16, 125 + 37 - 25}, {480, 406}, {10, 6}, m_picture));
    EXPECT_TRUE(copied({24, 125 - 3 + 40 - 3}, {480, 400}, {10, 6}, m_picture));
    m_painter.setEqValue(11, -4);
    EXPECT_TRUE(copied({24, 125 - 3 + 40 + 4}, {480, 406}, {10, 6}, m_picture));
}

TEST_F(SkinPainterTest, digitsShowTwoMinuteCharacters)
{
    struct Row {
        int seconds;
        int glyphs[5];
    };
    const Row rows[] = {{0, {0, 0, 10, 0, 0}},    {59, {0, 0, 10, 5, 9}},
                        {61, {0, 1, 10, 0, 1}},   {5999, {9, 9, 10, 5, 9}},
                        {6005, {1, 0, 10, 0, 5}}, {60000, {1, 0, 10, 0, 0}},
                        {-5, {0, 0, 10, 0, 0}}};
    m_painter.paintFull();
    for (const Row &r : rows) {
        SCOPED_TRACE(r.seconds);
        m_painter.drawDigits(r.seconds);
        for (int k = 0; k < 5; ++k)
            EXPECT_TRUE(
                copied({10 + 10 * k, 50}, {300 + 10 * r.glyphs[k], 170}, {10, 16}, m_picture))
                << "cell " << k;
    }
}

TEST_F(SkinPainterTest, digitsInTheMiniBarAndTheTurnedTimeBuffer)
{
    const QImage buttons = testskin::codedImage(200, 80);
    orbalState().layoutMode = Form::MiniBar;
    m_painter.paintFull();
    m_painter.drawDigits(125); // 02:05
    EXPECT_TRUE(copied({90, 8}, {82, 0}, {10, 16}, buttons));
    EXPECT_TRUE(copied({101, 8}, {102, 0}, {10, 16}, buttons));
    EXPECT_TRUE(copied({114, 8}, {182, 0}, {4, 16}, buttons));
    EXPECT_TRUE(copied({132, 8}, {132, 0}, {10, 16}, buttons));

    orbalState().layoutMode = Form::Horizontal;
    m_painter.paintFull();
    m_updated = QRect();
    m_painter.drawDigits(125);
    EXPECT_EQ(m_updated, QRect(40, 10, 20, 80));
    // Time buffer cell 0 pixel (x, y) lands at screen (40 + y, 10 + 79 - x).
    const QImage c = canvas();
    EXPECT_EQ(c.pixel(40 + 3, 10 + 79 - 2) & 0xffffff, m_picture.pixel(302, 173) & 0xffffff);
}

TEST_F(SkinPainterTest, positionBarThumbAndEmptyBar)
{
    m_painter.paintFull();
    m_painter.drawPosBar(50, false);
    EXPECT_EQ(m_painter.positionPercent(), 50);
    EXPECT_TRUE(copied({20 + 84, 81}, {300, 130}, {30, 8}, m_picture));
    m_updated = QRect();
    m_painter.drawPosBar(50, false);
    EXPECT_TRUE(m_updated.isNull()); // unchanged percent draws nothing
    m_painter.drawPosBar(50, true);
    EXPECT_EQ(m_painter.message(), QStringLiteral("Moved To  50%"));
    m_painter.drawPosBar(-1, false);
    EXPECT_TRUE(copied({20, 80}, {300, 120}, {200, 10}, m_picture));
}

TEST_F(SkinPainterTest, playStateIndicator)
{
    m_painter.paintFull();
    struct Row {
        int state;
        int pictureRow; // -1: background only
    };
    const Row rows[] = {{0, 0}, {1, 1}, {2, 2}, {4, 0}, {3, -1}, {5, -1}};
    for (const Row &r : rows) {
        SCOPED_TRACE(r.state);
        m_painter.drawPlayStatus(r.state);
        if (r.pictureRow < 0)
            EXPECT_TRUE(copied({130, 50}, {130, 50}, {20, 12}, m_picture));
        else
            EXPECT_TRUE(copied({130, 50}, {420, 170 + 12 * r.pictureRow}, {20, 12}, m_picture));
    }
    // The player's own state: stopped, paused, playing; a full repaint shows it as it is.
    const std::pair<std::function<void(OrbalState &)>, int> players[] = {
        {[](OrbalState &) {}, 2},
        {[](OrbalState &s) { s.playingFlag = 1; }, 0},
        {[](OrbalState &s) { s.pausedFlag = 1; }, 1},
    };
    for (const auto &[set, pictureRow] : players) {
        orbalState() = OrbalState();
        set(orbalState());
        m_painter.paintFull();
        EXPECT_TRUE(copied({130, 50}, {420, 170 + 12 * pictureRow}, {20, 12}, m_picture));
    }
}

TEST_F(SkinPainterTest, narrowTitleNeverScrollsAndAWideOneBounces)
{
    m_painter.paintFull();
    m_painter.setTitleText(QStringLiteral("ab"));
    for (int i = 0; i < 30; ++i) {
        m_painter.drawTitle();
        EXPECT_EQ(m_painter.titleOffset(), 0);
    }
    const QString wide = QStringLiteral("A very long title that cannot possibly fit the line");
    m_painter.setTitleText(wide);
    m_painter.drawTitle();
    ASSERT_GT(m_painter.titleWidth(), 150);
    int lowest = m_painter.titleOffset();
    int highest = lowest;
    bool cameBack = false;
    for (int i = 0; i < 2000; ++i) {
        m_painter.drawTitle();
        lowest = qMin(lowest, m_painter.titleOffset());
        if (lowest + m_painter.titleWidth() <= 147 && m_painter.titleOffset() > lowest + 10) {
            cameBack = true;
            break;
        }
        highest = qMax(highest, m_painter.titleOffset());
    }
    EXPECT_TRUE(cameBack);
    EXPECT_LE(lowest + m_painter.titleWidth(), 147);
    // The same title again does not restart the ticker.
    const int offset = m_painter.titleOffset();
    m_painter.setTitleText(wide);
    EXPECT_EQ(m_painter.titleOffset(), offset);
    m_painter.setTitleText(QString());
    EXPECT_EQ(m_painter.titleText(), QStringLiteral("MPLAYER v3.30 for motorola A1200"));
}

TEST_F(SkinPainterTest, messageReplacesTheTitleForItsTicks)
{
    m_painter.paintFull();
    m_painter.setTitleText(QStringLiteral("song"));
    m_painter.showMessage(QStringLiteral("Volume  50%"), 2);
    m_painter.drawTitle();
    EXPECT_EQ(m_painter.message(), QStringLiteral("Volume  50%"));
    m_painter.drawTitle();
    EXPECT_TRUE(m_painter.message().isNull());
}

TEST_F(SkinPainterTest, aTitleThatFitsIsDrawnOnceAndComesBackAfterAMessage)
{
    int wakes = 0;
    m_painter.setTitleWake([&] { ++wakes; });
    m_painter.paintFull();
    m_painter.setTitleText(QStringLiteral("song"));
    const Skin::List &tw = m_skin[K::TitleWin];
    const QRect area(tw[0], tw[1], tw[2], tw[3]);
    m_updated = QRect();
    EXPECT_FALSE(m_painter.titleSettled());
    m_painter.drawTitle();
    EXPECT_EQ(m_updated, area);
    EXPECT_TRUE(m_painter.titleSettled());
    const QImage withTitle = canvas().copy(area);
    m_updated = QRect();
    for (int i = 0; i < 5; ++i)
        m_painter.drawTitle();
    EXPECT_TRUE(m_updated.isNull()) << "a still title is not redrawn every tick";

    wakes = 0;
    m_painter.showMessage(QStringLiteral("Volume  50%"), 2);
    EXPECT_EQ(wakes, 1);
    EXPECT_FALSE(m_painter.titleSettled());
    m_painter.drawTitle();
    EXPECT_NE(canvas().copy(area), withTitle);
    m_painter.drawTitle();
    EXPECT_FALSE(m_painter.titleSettled()) << "the title is not back yet";
    m_painter.drawTitle(); // the message's time is over: the title is back
    EXPECT_EQ(canvas().copy(area), withTitle);
    EXPECT_TRUE(m_painter.titleSettled());

    // A full repaint clears the area, so the next tick draws the title again.
    m_painter.paintFull();
    EXPECT_EQ(wakes, 2);
    m_updated = QRect();
    m_painter.drawTitle();
    EXPECT_EQ(m_updated, area);
    EXPECT_EQ(canvas().copy(area), withTitle);

    m_painter.setTitleText(QStringLiteral("A very long title that cannot possibly fit the line"));
    EXPECT_EQ(wakes, 3);
    for (int i = 0; i < 20; ++i) {
        m_painter.drawTitle();
        EXPECT_FALSE(m_painter.titleSettled()) << "step " << i;
    }
}

TEST_F(SkinPainterTest, aScrollingTitleStaysInsideItsArea)
{
    m_painter.paintFull();
    const Skin::List &tw = m_skin[K::TitleWin];
    const QRect area(tw[0], tw[1], tw[2], tw[3]);
    const QImage before = canvas();
    m_painter.setTitleText(QStringLiteral("A very long title that cannot possibly fit the line"));
    m_painter.showMessage(QStringLiteral("A message far too long for the title line as well"), 1);
    QImage lastArea;
    int changes = 0;
    for (int i = 0; i < 20; ++i) {
        m_updated = QRect();
        m_painter.drawTitle();
        EXPECT_EQ(m_updated, area);
        QImage now = canvas();
        changes += now.copy(area) != lastArea;
        lastArea = now.copy(area);
        QPainter p(&now);
        p.drawImage(area.topLeft(), before.copy(area));
        p.end();
        EXPECT_EQ(now, before) << "step " << i << ": drawn outside the title area";
    }
    EXPECT_GE(changes, 10); // the message, the title, then a step at a time after a pause
}

TEST_F(SkinPainterTest, lightsCycleThroughThreeFramesAndStopWhenOff)
{
    m_painter.paintFull();
    const int expected[] = {60, 120, 180, 60};
    for (int red : expected) {
        m_updated = QRect();
        m_painter.drawLights();
        EXPECT_EQ(qRed(canvas().pixel(2, 12)), red);
        // Just the two pictures go to the screen (the left one 20 x 6, the right at x 100).
        EXPECT_EQ(m_updated, QRect(0, 10, 120, 6));
        EXPECT_EQ(qRed(canvas().pixel(102, 12)), red);
    }
    orbalState().lightsStyle = -1;
    m_updated = QRect();
    m_painter.drawLights();
    EXPECT_TRUE(m_updated.isNull());
}

} // namespace

// Numbers far outside any screen (from a broken or hostile skin) neither crash nor make
// buffers beyond the screen's size, in every form and on every touch.
class HostileNumbers : public ::testing::TestWithParam<long long>
{
};

TEST_P(HostileNumbers, keepBuffersSmallAndNothingCrashes)
{
    orbalState() = OrbalState();
    const QString appDir = testenv::scratchDir(QStringLiteral("hostile"));
    const QString dir = testskin::writeSkin(appDir);
    const QByteArray v = QByteArray::number(GetParam());
    QByteArray conf = "[SKINS]\nmwin_Y=" + v + "\nmwin_H=" + v + "\n";
    for (int k = 0; k < Skin::KeyCount; ++k) {
        QByteArray items = v;
        for (int i = 1; i < 11; ++i)
            items += "," + v;
        conf += Skin::keyName(Skin::Key(k)).toLatin1() + "=" + items + "\n";
    }
    ASSERT_TRUE(testenv::writeFile(dir + "/skins.conf", conf));
    // A picture wider than any skin needs is not decoded.
    ASSERT_TRUE(QImage(Skin::maxNumber + 1, 1, QImage::Format_RGB32).save(dir + "/skins.png"));

    Skin skin;
    ASSERT_TRUE(skin.load(appDir, QStringLiteral("default")));
    EXPECT_TRUE(skin.picture().isNull());
    SkinPainter painter(skin, orbalState());
    PointerInput input(skin, painter, orbalState());
    painter.skinLoaded();
    for (Form form : {Form::Vertical, Form::Horizontal, Form::MiniBar}) {
        OrbalState &s = orbalState();
        s.layoutMode = form;
        s.playingFlag = 1;
        s.lyricPanelOpen = s.eqPanelOpen = s.playlistPanelOpen = true;
        s.fileList = QStringList(30, QStringLiteral("/a.mp3"));
        painter.paintFull();
        painter.setTitleText(QStringLiteral("a title long enough to scroll across the line"));
        painter.drawTitle();
        painter.drawDigits(3599);
        painter.drawPosBar(50, true);
        painter.drawPList(3);
        painter.drawPlaylistBar(40, true);
        painter.setEqValue(4, 12, true);
        painter.setEqValue(10, -12);
        painter.drawEqCurve();
        painter.drawVolumeSlider(70, true);
        painter.drawPlayStatus(1);
        for (const QPoint at :
             {QPoint(1, 1), QPoint(120, 160), QPoint(239, 319), QPoint(-5, 400)}) {
            input.press(at);
            input.move(at + QPoint(7, 9), at);
            input.release(at + QPoint(7, 9));
        }
    }
    // The canvas and every buffer at most screen-sized: well under 4 MB.
    EXPECT_LT(painter.bufferBytes(), 4 * 1024 * 1024);
    const Skin::List &e = skin[Skin::TitleWin];
    EXPECT_LE(std::abs(e[0]) + std::abs(e[2]), 2 * Skin::maxNumber);
    EXPECT_EQ(skin.mwinH(), Skin::clampNumber(GetParam()));
}

INSTANTIATE_TEST_SUITE_P(Values, HostileNumbers,
                         ::testing::Values(10000LL, 2147483647LL, -2147483648LL, -10000LL, -1LL));
