// The real window driven with synthetic touches and keys, offscreen, on the coded test
// skin: what the user would see (pictures, title, state) and what the player was told.
#include "app/mainface.h"
#include "audio/mixer.h"
#include "audio/xmmsctrl.h"
#include "audio/xmmsplayer.h"
#include "commands/commanddispatcher.h"
#include "commands/hardwarekeys.h"
#include "cutter/viewdialog.h"
#include "dropin/kconfig.h"
#include "keys/configwidget.h"
#include "lyrics/lyriccolordialog.h"
#include "platform/phonekeys.h"
#include "platform/zmessagebox.h"
#include "playlist/filebrowser.h"
#include "playlist/playerrestart.h"
#include "playlist/playlist.h"
#include "skin/pointerinput.h"
#include "state/orbalstate.h"
#include "tests/app/appfixture.h"
#include "tests/skin/painting/testskin.h"
#include "tests/support/testenv.h"
#include "video/engine.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

namespace
{

QRgb code(int x, int y)
{
    return testskin::codeAt(x, y) & 0xffffff;
}

class InteractionTest : public AppFixture
{
protected:
    MainFace *face()
    {
        if (!m_face) {
            makeFace();
            m_face->grab(); // the first full paint
        }
        return m_face;
    }
    void press(QPoint p) { QTest::mousePress(face(), Qt::LeftButton, {}, p); }
    void release(QPoint p) { QTest::mouseRelease(face(), Qt::LeftButton, {}, p); }
    void moveTo(QPoint p)
    {
        QMouseEvent e(QEvent::MouseMove, p, face()->mapToGlobal(p), Qt::NoButton, Qt::LeftButton,
                      Qt::NoModifier);
        QApplication::sendEvent(face(), &e);
    }
    void tap(QPoint p)
    {
        press(p);
        release(p);
    }
    void key(int phoneCode, bool pressed = true)
    {
        const int qtKey = PhoneKeys::toToolkit(phoneCode);
        ASSERT_EQ(PhoneKeys::fromDesktop(qtKey), phoneCode);
        if (pressed)
            QTest::keyPress(face(), Qt::Key(qtKey));
        else
            QTest::keyRelease(face(), Qt::Key(qtKey));
    }
    QRgb pixel(QPoint p) { return face()->painter().canvas().toImage().pixel(p) & 0xffffff; }
    std::vector<int> volumesSent() const
    {
        std::vector<int> volumes;
        for (const auto &[request, argument] : s_mixer)
            if (request == MixerRequest::WriteVolume)
                volumes.push_back(argument & 0xff);
        return volumes;
    }
    void fakeList(int n)
    {
        QStringList files;
        for (int i = 0; i < n; ++i)
            files << QStringLiteral("/nowhere/clip%1.avi").arg(i);
        orbalState().fileList = files;
    }
};

TEST_F(InteractionTest, pressOnPrevReleasedOutsideSendsNothingButPlayStillPlays)
{
    fakeList(2);
    QSignalSpy commands(face()->pointer(), &PointerInput::command);
    press({20, 258});
    EXPECT_EQ(pixel({12, 252}), code(302, 58)); // pressed picture below
    release({120, 40});
    EXPECT_TRUE(commands.isEmpty());
    EXPECT_EQ(pixel({12, 252}), code(302, 42));
    // Not even over a playlist row, which a press there would play.
    press({20, 258});
    release({120, 150});
    EXPECT_EQ(orbalState().playingFlag, 0);
    EXPECT_EQ(orbalState().currentIndex, 0);

    orbalState().abRepeat = true;
    press({47, 258});
    release({120, 40});
    ASSERT_EQ(commands.size(), 1);
    EXPECT_EQ(commands.at(0).at(0).toInt(), 1);
    EXPECT_TRUE(orbalState().abRepeat); // only a release on play ends the repeat
    EXPECT_EQ(orbalState().playingFlag, 1);
    EXPECT_EQ(face()->titleText(), QStringLiteral("1.clip0.avi"));
    EXPECT_EQ(pixel({37, 252}), code(356, 42)); // playing picture
}

TEST_F(InteractionTest, eachWindowButtonReleasedOnItselfSendsItsCommand)
{
    const struct {
        QPoint at;
        Command command;
    } rows[] = {
        {{20, 258}, Command::Previous}, {{75, 258}, Command::Stop},
        {{100, 258}, Command::Next},    {{215, 9}, Command::Exit},
        {{152, 9}, Command::MiniBar},   {{182, 9}, Command::Horizontal},
        {{130, 258}, Command::Audio3d}, {{155, 258}, Command::BassBooster},
    };
    face();
    for (const auto &row : rows) {
        orbalState().layoutMode = Form::Vertical;
        face()->repaintWhole();
        // Only what the pointer says: the exit command would close the window.
        QObject::disconnect(face()->pointer(), &PointerInput::command, nullptr, nullptr);
        QSignalSpy commands(face()->pointer(), &PointerInput::command);
        tap(row.at);
        ASSERT_EQ(commands.size(), 1) << int(row.command);
        EXPECT_EQ(commands.at(0).at(0).value<Command>(), row.command);
    }
}

TEST_F(InteractionTest, volumeKnobFromItsLeftEndToPastTheRight)
{
    face();
    press({107, 105});
    EXPECT_EQ(orbalState().volume, 0);
    moveTo({300, 105});
    EXPECT_EQ(orbalState().volume, 53 * 100 / 54);
    release({300, 105});
    EXPECT_EQ(orbalState().volume, 98);
    ASSERT_FALSE(volumesSent().empty());
    EXPECT_EQ(volumesSent().back(), 98);
    EXPECT_EQ(face()->painter().message(), QStringLiteral("Volume  98%"));
}

TEST_F(InteractionTest, horizontalVolumeKnobTopIsLoudBottomIsSilent)
{
    face();
    tap({182, 9}); // H_win
    ASSERT_EQ(orbalState().layoutMode, Form::Horizontal);
    press({220, 150});
    moveTo({220, 0});
    EXPECT_EQ(orbalState().volume, 100);
    moveTo({220, 400});
    EXPECT_EQ(orbalState().volume, 0);
    release({220, 400});
    EXPECT_EQ(orbalState().volume, 0);
    tap({15, 32}); // V_win_btn
    EXPECT_EQ(orbalState().layoutMode, Form::Vertical);
}

TEST_F(InteractionTest, equalizerBandFollowsThePointer)
{
    face();
    orbalState().playlistPanelOpen = false;
    orbalState().eqPanelOpen = true;
    face()->repaintWhole();
    face()->grab();
    const int mid = 125 + 81 / 2;
    press({45, mid + 5});
    EXPECT_EQ(orbalState().eqBands[0], 0);
    moveTo({45, -200});
    EXPECT_EQ(orbalState().eqBands[0], 25);
    moveTo({45, 500});
    EXPECT_EQ(orbalState().eqBands[0], -25);
    EXPECT_EQ(face()->painter().message(), QStringLiteral(" EQ 0 == -25 db"));
    release({45, 500});
    EXPECT_EQ(face()->pointer()->eqDragSlot(), -1);
    press({40 + 3 * 16 + 5, mid - 10}); // band 3
    release({40 + 3 * 16 + 5, mid - 10});
    EXPECT_EQ(orbalState().eqBands[3], 15);
}

TEST_F(InteractionTest, bMarkWithAOffRepeatsFromTheLastA)
{
    face();
    OrbalState &s = orbalState();
    s.markA = 7;
    s.lastSecond = 12;
    tap({198, 258});
    EXPECT_TRUE(s.markBSet);
    EXPECT_TRUE(s.abRepeat);
    EXPECT_EQ(s.markB, 12);
    EXPECT_EQ(s.videoElapsed, 7);
    EXPECT_EQ(pixel({192, 252}), code(542, 58)); // on picture
    tap({198, 258});
    EXPECT_FALSE(s.abRepeat);
}

TEST_F(InteractionTest, threeTapsOnTheLightsLeaveThemOff)
{
    face();
    for (int i = 0; i < 3; ++i)
        tap({50, 50});
    EXPECT_EQ(orbalState().lightsStyle, -1);
    tap({50, 50});
    EXPECT_EQ(orbalState().lightsStyle, -1);
}

TEST_F(InteractionTest, panelTabs)
{
    face();
    tap({130, 307}); // equalizer tab: nothing in mplayer mode
    EXPECT_FALSE(orbalState().eqPanelOpen);
    EXPECT_TRUE(orbalState().playlistPanelOpen);
    tap({80, 307}); // lyric tab
    EXPECT_TRUE(orbalState().lyricPanelOpen);
    EXPECT_FALSE(orbalState().playlistPanelOpen);
    EXPECT_EQ(pixel({62, 302}), code(42, 616)); // open tab below
    EXPECT_TRUE(face()->findChild<QWidget *>(QStringLiteral("opendlg"))->isVisible());
    tap({30, 307});
    EXPECT_TRUE(orbalState().playlistPanelOpen);
    EXPECT_FALSE(orbalState().lyricPanelOpen);
}

TEST_F(InteractionTest, miniBarRestoreAndExitRegions)
{
    face()->sltminwin();
    face()->grab();
    tap({190, 10}); // the middle button does nothing
    EXPECT_EQ(orbalState().layoutMode, Form::MiniBar);
    tap({210, 10});
    EXPECT_EQ(orbalState().layoutMode, Form::Vertical);
    tap({162, 9}); // mini_win
    EXPECT_EQ(orbalState().layoutMode, Form::MiniBar);
}

TEST_F(InteractionTest, tappedRowPlaysAndBecomesTheHighlight)
{
    fakeList(3);
    face()->repaintWhole();
    face()->grab();
    tap({50, 125 + 20 + 5});
    EXPECT_EQ(orbalState().currentIndex, 1);
    EXPECT_EQ(orbalState().selectedRow, 1);
    EXPECT_EQ(face()->titleText(), QStringLiteral("2.clip1.avi"));
    EXPECT_EQ(orbalState().playingFlag, 1);
    tap({50, 125 + 60 + 5}); // below the end of the list
    EXPECT_EQ(orbalState().currentIndex, 1);
}

TEST_F(InteractionTest, menuCornerOpensTheMainMenu)
{
    tap({20, 15});
    EXPECT_TRUE(face()->menu(MainFace::Menu::Main)->isVisible());
    face()->menu(MainFace::Menu::Main)->hide();
}

TEST_F(InteractionTest, volumeKeysInTheMiniBarSendTheEndValueAgain)
{
    face()->sltminwin();
    orbalState().volume = 98;
    s_mixer.clear();
    key(4154);
    EXPECT_EQ(orbalState().volume, 100);
    key(4154);
    EXPECT_EQ(orbalState().volume, 100);
    EXPECT_EQ(volumesSent(), std::vector<int>({100, 100}));
    orbalState().volume = 3;
    key(4155);
    EXPECT_EQ(orbalState().volume, 0);
}

TEST_F(InteractionTest, volumeKeysMoveTheSliderInTheOtherForms)
{
    face();
    orbalState().volume = 50;
    key(4154);
    EXPECT_EQ(orbalState().volume, 55);
    EXPECT_EQ(face()->painter().message(), QStringLiteral("Volume  55%"));
    tap({182, 9});
    key(4155);
    EXPECT_EQ(orbalState().volume, 50);
}

TEST_F(InteractionTest, highlightKeysStopAtTheEnds)
{
    fakeList(3);
    face();
    key(4115);
    EXPECT_EQ(orbalState().selectedRow, 0);
    for (int i = 0; i < 5; ++i)
        key(4117);
    EXPECT_EQ(orbalState().selectedRow, 2);
}

TEST_F(InteractionTest, keyReleasesAreConsumedAndPrinted)
{
    face();
    ::testing::internal::CaptureStdout();
    key(4115, false);
    const std::string out = ::testing::internal::GetCapturedStdout();
    EXPECT_NE(out.find("key:4115  pressed:0  repeat:0\n"), std::string::npos) << out;
    EXPECT_EQ(orbalState().selectedRow, 0);

    key(4146);
    EXPECT_TRUE(orbalState().keyboardGrabbed);
    key(4146, false);
    EXPECT_FALSE(orbalState().keyboardGrabbed);
}

TEST_F(InteractionTest, softLeftSlidesTheHorizontalPanels)
{
    face();
    key(4152); // only in the horizontal form
    EXPECT_FALSE(orbalState().hPanelsHidden);
    tap({182, 9});
    key(4152);
    EXPECT_TRUE(orbalState().hPanelsHidden);
    // The left panel is pushed 63 pixels out: the turned background shows at its place.
    const QImage land = testskin::codedImage(320, 240);
    EXPECT_EQ(pixel({10, 300}), land.pixel(319 - 300, 10) & 0xffffff);
    key(4152);
    EXPECT_FALSE(orbalState().hPanelsHidden);
}

// The real mplayer plays the list; "./mplayer" in the application directory is the system's.
class MplayerInteractionTest : public InteractionTest
{
protected:
    void SetUp() override
    {
        InteractionTest::SetUp();
        if (!QFile::exists(QStringLiteral("/usr/bin/mplayer")))
            GTEST_SKIP() << "mplayer not installed";
        QFile::link(QStringLiteral("/usr/bin/mplayer"), m_appDir + QStringLiteral("/mplayer"));
        m_songs << testenv::makeMp3(m_appDir + QStringLiteral("/mmc/first song.mp3"), 6.0)
                << testenv::makeMp3(m_appDir + QStringLiteral("/mmc/second.mp3"), 6.0);
        ASSERT_FALSE(m_songs.contains(QString()));
    }
    QStringList m_songs;
};

TEST_F(MplayerInteractionTest, nextOnTheLastEntryWrapsAndPreviousOnTheFirstStays)
{
    face();
    OrbalState &s = orbalState();
    s.fileList = m_songs;
    s.selectedRow = 1;
    face()->buttonClick(1);
    ASSERT_TRUE(testenv::waitFor([&] { return face()->engine()->isRunning(); }, 5000));
    EXPECT_EQ(face()->titleText(), QStringLiteral("2.second.mp3"));
    face()->buttonClick(4);
    EXPECT_EQ(s.currentIndex, 0);
    EXPECT_EQ(face()->titleText(), QStringLiteral("1.first song.mp3"));
    ASSERT_TRUE(testenv::waitFor([&] { return face()->engine()->isRunning(); }, 5000));
    face()->buttonClick(0);
    EXPECT_EQ(s.currentIndex, 0);
    // The headset key with the wire option is "next" in mplayer mode too.
    s.wireMode = true;
    key(4148);
    EXPECT_EQ(s.currentIndex, 1);
    face()->buttonClick(3);
    EXPECT_EQ(s.playingFlag, 0);
    EXPECT_EQ(face()->titleText(), QStringLiteral("MPLAYER v3.30 for motorola A1200"));
    EXPECT_TRUE(testenv::waitFor([&] { return !face()->engine()->isRunning(); }, 8000));
}

TEST_F(MplayerInteractionTest, playOnThePlayingRowPausesAndEveryStartShowsItsEntry)
{
    face();
    OrbalState &s = orbalState();
    s.fileList = m_songs;
    // Enter starts row 1: title, pause picture on the play button, indicator "playing".
    key(4101);
    ASSERT_TRUE(testenv::waitFor([&] { return face()->engine()->isRunning(); }, 5000));
    EXPECT_EQ(face()->titleText(), QStringLiteral("1.first song.mp3"));
    EXPECT_EQ(pixel({37, 252}), code(356, 42));
    const pid_t child = face()->engine()->pid();
    // Play again on the playing row pauses the same child, and once more resumes it.
    face()->buttonClick(1);
    EXPECT_EQ(face()->engine()->pid(), child);
    EXPECT_EQ(s.pausedFlag, 1);
    EXPECT_EQ(s.playingFlag, 0);
    EXPECT_EQ(pixel({37, 252}), code(332, 42)); // the play picture while paused
    face()->buttonClick(1);
    EXPECT_EQ(face()->engine()->pid(), child);
    EXPECT_EQ(s.playingFlag, 1);
    // Next moves the highlight with the song, so play stays on it.
    face()->buttonClick(4);
    EXPECT_EQ(s.selectedRow, 1);
    face()->buttonClick(1);
    EXPECT_EQ(s.pausedFlag, 1);
    EXPECT_EQ(s.currentIndex, 1);
    // Stopped, a tapped row shows "playing" again.
    face()->buttonClick(3);
    face()->plistPOSClick(0);
    EXPECT_EQ(s.playingFlag, 1);
    EXPECT_EQ(face()->titleText(), QStringLiteral("1.first song.mp3"));
    // Ended from the video window: no next entry, and the window says stopped.
    face()->engine()->quitByUser();
    ASSERT_TRUE(testenv::waitFor([&] { return !face()->engine()->isActive(); }, 5000));
    face()->doCheckTimer();
    EXPECT_EQ(s.playingFlag, 0);
    EXPECT_EQ(face()->titleText(), QStringLiteral("MPLAYER v3.30 for motorola A1200"));
}

TEST_F(MplayerInteractionTest, withoutAMixerDeviceTheVolumeIsTheChildsOwn)
{
    MixerDevice::setPath(m_appDir + QStringLiteral("/no-mixer-here"));
    face();
    OrbalState &s = orbalState();
    s.fileList = m_songs;
    s.volume = 40;
    face()->dispatcher()->sendVolume(); // as the slider does, before anything plays
    QByteArray answer;
    QObject::connect(face()->engine(), &Engine::outputLine, face(), [&](const QByteArray &line) {
        if (line.startsWith("ANS_volume="))
            answer = line.mid(11);
    });
    auto childVolume = [&] {
        answer.clear();
        face()->engine()->sendCommand(QStringLiteral("get_property volume"));
        testenv::waitFor([&] { return !answer.isEmpty(); }, 5000);
        return qRound(answer.toDouble());
    };
    face()->buttonClick(1);
    ASSERT_TRUE(testenv::waitFor([&] { return face()->engine()->isRunning(); }, 5000));
    EXPECT_EQ(childVolume(), 40); // a new child starts at the front-end's volume
    key(4154);
    key(4154);
    EXPECT_EQ(s.volume, 50);
    EXPECT_EQ(childVolume(), 50);
    key(4155);
    EXPECT_EQ(childVolume(), 45);
    EXPECT_TRUE(volumesSent().empty()); // nothing went to a mixer
    face()->buttonClick(3);
}

TEST_F(MplayerInteractionTest, aListNothingPlaysFromStopsAfterOnePassAndSaysWhy)
{
    struct Row {
        const char *name;
        bool noSoundOutput;
        const char *message;
    };
    const Row rows[] = {
        {"files mplayer cannot decode", false, "Nothing in the list could be played"},
        {"no sound device", true, "No sound output: playback stopped"},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        QStringList list;
        if (row.noSoundOutput) {
            QFile::remove(m_appDir + QStringLiteral("/mplayer"));
            testenv::writeFile(
                m_appDir + QStringLiteral("/mplayer"),
                "#!/bin/sh\nexec /usr/bin/mplayer -ao oss:/dev/nonexistent \"$@\"\n");
            QFile::setPermissions(m_appDir + QStringLiteral("/mplayer"),
                                  QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
            list = m_songs;
        } else {
            for (const char *name : {"/mmc/noise1.mp3", "/mmc/noise2.mp3"}) {
                testenv::writeFile(m_appDir + QLatin1String(name), QByteArray(3000, '\x5a'));
                list << m_appDir + QLatin1String(name);
            }
        }
        face();
        ZMessageBox::history().clear();
        OrbalState &s = orbalState();
        s.fileList = list;
        face()->buttonClick(1);
        ASSERT_TRUE(testenv::waitFor([] { return !ZMessageBox::history().isEmpty(); }, 15000));
        EXPECT_EQ(ZMessageBox::history().first().text, QLatin1String(row.message));
        EXPECT_TRUE(ZMessageBox::history().first().timed);
        EXPECT_EQ(s.playingFlag, 0);
        EXPECT_EQ(face()->titleText(), QStringLiteral("MPLAYER v3.30 for motorola A1200"));
        // And it stays stopped: no further starts, no second message.
        QTest::qWait(2500);
        EXPECT_FALSE(face()->engine()->isRunning());
        EXPECT_EQ(ZMessageBox::history().size(), 1);
    }
}

TEST_F(MplayerInteractionTest, thePollCountsTheVideoClockWhilePlaying)
{
    face();
    OrbalState &s = orbalState();
    s.fileList = m_songs;
    face()->buttonClick(1);
    ASSERT_TRUE(testenv::waitFor([&] { return face()->engine()->isRunning(); }, 5000));
    face()->slttimeout();
    face()->doCheckTimer();
    face()->doCheckTimer();
    EXPECT_EQ(s.videoElapsed, 2);
    EXPECT_EQ(s.lastSecond, 1);
    face()->buttonClick(3);
}

} // namespace

namespace
{

// xmms mode against the stand-in xmms, started by the window itself as "bin/xmms".
class XmmsInteractionTest : public InteractionTest
{
protected:
    void SetUp() override
    {
        InteractionTest::SetUp();
        const QString standin = testenv::binaryDir() + QStringLiteral("/bin/xmms");
        if (!QFile::exists(standin) || !QFile::exists(QStringLiteral("/usr/bin/mplayer")))
            GTEST_SKIP() << "stand-in xmms or mplayer missing";
        // A private socket folder, so no other xmms is ever reached.
        qputenv("TMPDIR", testenv::scratchDir(QStringLiteral("sockets")).toLocal8Bit());
        QDir().mkpath(m_appDir + QStringLiteral("/bin"));
        QFile::link(standin, m_appDir + QStringLiteral("/bin/xmms"));
        QFile::link(QStringLiteral("/usr/bin/mplayer"), m_appDir + QStringLiteral("/mplayer"));
        m_songs << testenv::makeMp3(m_appDir + QStringLiteral("/mmc/first.mp3"), 20.0)
                << testenv::makeMp3(m_appDir + QStringLiteral("/mmc/second.mp3"), 20.0);
        writeSettings("xmms.m3u", m_songs.join(QLatin1Char('\n')).toUtf8() + '\n');
        writeSettings("tavrin_cfg", "[tvskin]\nEnxmms=true\n");
        face();
        ASSERT_NE(face()->xmms(), nullptr);
        ASSERT_TRUE(testenv::waitFor([&] { return face()->xmms()->isRunning(); }, 8000));
    }
    void TearDown() override
    {
        if (m_face && m_face->xmms()) {
            m_face->xmms()->kill();
            testenv::waitFor([] { return xmms_remote_get_version(0) == 0; }, 5000);
        }
        InteractionTest::TearDown();
    }
    bool xmmsPlaying() { return !face()->xmms()->isStopped() && !face()->xmms()->isPaused(); }
    QStringList m_songs;
};

TEST_F(XmmsInteractionTest, playPausesTheRowPlayingResumesAndJumpsToAnotherRow)
{
    OrbalState &s = orbalState();
    ASSERT_EQ(s.fileList, m_songs);
    face()->buttonClick(1);
    ASSERT_TRUE(testenv::waitFor([&] { return xmmsPlaying(); }, 5000));
    EXPECT_EQ(s.playingFlag, 1);
    face()->buttonClick(1);
    ASSERT_TRUE(testenv::waitFor([&] { return face()->xmms()->isPaused(); }, 5000));
    EXPECT_EQ(s.pausedFlag, 1);
    EXPECT_EQ(s.playingFlag, 0);
    face()->buttonClick(1);
    ASSERT_TRUE(testenv::waitFor([&] { return xmmsPlaying(); }, 5000));
    EXPECT_EQ(s.pausedFlag, 0);

    s.selectedRow = 1;
    s.volume = 70;
    face()->buttonClick(1);
    ASSERT_TRUE(testenv::waitFor([&] { return face()->xmms()->playlistPos() == 1; }, 5000));
    EXPECT_NEAR(face()->xmms()->volume(), 70, 2);
    // The poll notices the new song: title, lyrics and highlight follow.
    ASSERT_TRUE(testenv::waitFor(
        [&] {
            face()->doCheckTimer();
            return s.currentIndex == 1;
        },
        5000));
    EXPECT_EQ(face()->titleText(), QStringLiteral("2.second.mp3"));
    face()->buttonClick(3);
    EXPECT_TRUE(testenv::waitFor([&] { return face()->xmms()->isStopped(); }, 5000));
    EXPECT_EQ(face()->titleText(), QStringLiteral("ORBAL v 3.30 for motorola A1200"));
}

TEST_F(XmmsInteractionTest, everyStartShowsItsEntryAndTheHighlightFollows)
{
    OrbalState &s = orbalState();
    // What the window shows at start is what xmms was told.
    EXPECT_EQ(face()->xmms()->isShuffle(), s.shuffleOn);
    EXPECT_EQ(face()->xmms()->isRepeat(), s.repeatOn);
    EXPECT_EQ(face()->xmms()->isEqActive(), s.equalizerOn);
    face()->xmms()->setShuffle(false);
    face()->buttonClick(1);
    ASSERT_TRUE(testenv::waitFor([&] { return xmmsPlaying(); }, 5000));
    EXPECT_EQ(face()->titleText(), QStringLiteral("1.first.mp3"));
    EXPECT_EQ(pixel({37, 252}), code(356, 42));
    face()->buttonClick(4);
    ASSERT_TRUE(testenv::waitFor([&] { return face()->xmms()->playlistPos() == 1; }, 5000));
    face()->doCheckTimer();
    EXPECT_EQ(face()->titleText(), QStringLiteral("2.second.mp3"));
    EXPECT_EQ(s.selectedRow, 1);
    // A-B repeat switched off gives the title back to the song.
    s.abRepeat = true;
    s.markA = 1;
    s.markB = 9;
    face()->drawTimer(3, 0, 0, 10, 20);
    EXPECT_EQ(face()->titleText(), QStringLiteral("Rep. A= 1  B=  9"));
    s.abRepeat = false;
    face()->drawTimer(4, 0, 0, 12, 20);
    EXPECT_EQ(face()->titleText(), QStringLiteral("2.second.mp3"));
    // xmms stopping by itself shows on the indicator and the play button.
    face()->xmms()->stop();
    ASSERT_TRUE(testenv::waitFor([&] { return face()->xmms()->isStopped(); }, 5000));
    face()->doCheckTimer();
    EXPECT_EQ(s.playingFlag, 0);
    EXPECT_EQ(pixel({37, 252}), code(332, 42));
}

TEST_F(XmmsInteractionTest, draggedEqualizerBandReachesXmms)
{
    orbalState().playlistPanelOpen = false;
    orbalState().eqPanelOpen = true;
    face()->repaintWhole();
    face()->grab();
    const int mid = 125 + 81 / 2;
    press({45, mid + 5});
    moveTo({45, mid - 10});
    release({45, mid - 10});
    EXPECT_EQ(orbalState().eqBands[0], 15);
    EXPECT_TRUE(testenv::waitFor([&] { return face()->xmms()->eqBand(0) == 15.0f; }, 3000));
    // The presets' change signal brings xmms's bands back onto the sliders.
    face()->xmms()->setEqBand(4, -7.6f);
    ASSERT_TRUE(testenv::waitFor([&] { return face()->xmms()->eqBand(4) < -7.0f; }, 3000));
    face()->equalizerChangeSlot();
    EXPECT_EQ(orbalState().eqBands[4], -7);
}

TEST_F(XmmsInteractionTest, useOrbalTwiceGoesToMplayerModeAndBackWithAFreshXmms)
{
    face()->selectMenuoption(2);
    EXPECT_FALSE(orbalState().xmmsMode);
    EXPECT_TRUE(MainFace::menuItem(face()->menu(MainFace::Menu::Main), 1)->isEnabled());
    EXPECT_TRUE(testenv::waitFor([] { return xmms_remote_get_version(0) == 0; }, 5000));
    EXPECT_FALSE(face()->engine()->isRunning());
    face()->selectMenuoption(2);
    EXPECT_TRUE(orbalState().xmmsMode);
    EXPECT_FALSE(MainFace::menuItem(face()->menu(MainFace::Menu::Main), 1)->isEnabled());
    EXPECT_TRUE(testenv::waitFor([&] { return face()->xmms()->isRunning(); }, 8000));
    KConfig c(m_appDir + QStringLiteral("/.xmms/tavrin_cfg"), true);
    c.setGroup(QStringLiteral("tvskin"));
    EXPECT_TRUE(c.readBoolEntry(QStringLiteral("Enxmms"), false));
}

} // namespace

namespace
{

TEST_F(InteractionTest, repeatJumpsBackFromBToA)
{
    face();
    OrbalState &s = orbalState();
    s.abRepeat = true;
    s.markA = 3;
    s.markB = 5;
    face()->drawTimer(4, 0, 0, 10, 40);
    EXPECT_EQ(s.lastSecond, 4);
    EXPECT_EQ(face()->titleText(), QStringLiteral("Rep. A= 3  B=  5"));
    s.videoElapsed = 4;
    face()->drawTimer(5, 0, 0, 12, 40);
    EXPECT_EQ(s.videoElapsed, 3); // back at A
    EXPECT_EQ(face()->painter().positionPercent(), 12);
}

TEST_F(InteractionTest, tapOnTheLyricMiddleRepeatsTheLineBeingSung)
{
    const QString song = m_appDir + QStringLiteral("/mmc/song.mp3");
    testenv::writeFile(song, "not really music");
    testenv::writeFile(m_appDir + QStringLiteral("/mmc/song.lrc"),
                       "[00:01.00]first line\n[00:04.50]second line\n[00:09.00]third\n");
    face()->dispatcher()->lookupLyrics(song);
    ASSERT_TRUE(orbalState().lyricsLoaded);
    tap({80, 307}); // the lyric panel
    face()->seekTo(6);
    tap({120, 175});
    EXPECT_TRUE(orbalState().abRepeat);
    EXPECT_EQ(orbalState().markA, 4);
    EXPECT_EQ(orbalState().markB, 9);
}

TEST_F(InteractionTest, editListOpensTheEditorOverTheMiniBar)
{
    face()->selectMenumplist(0);
    ASSERT_NE(face()->playlistEditor(), nullptr);
    EXPECT_TRUE(face()->playlistEditor()->isVisible());
    EXPECT_EQ(orbalState().layoutMode, Form::MiniBar);
    EXPECT_FALSE(face()->titleTimer()->isActive());
}

} // namespace

namespace
{

// Answers the next modal dialog of type T with `answer` once it shows.
template <typename T> void answerDialog(std::function<void(T *)> answer)
{
    auto *timer = new QTimer;
    QObject::connect(timer, &QTimer::timeout, [timer, answer] {
        if (auto *dialog = qobject_cast<T *>(QApplication::activeModalWidget())) {
            timer->stop();
            timer->deleteLater();
            answer(dialog);
        }
    });
    timer->start(20);
}

TEST_F(InteractionTest, openCommandMakesTheFolderShownTheNewPlaylist)
{
    const QString folder = m_appDir + QStringLiteral("/mmc/mmca1/music");
    for (const char *name : {"b.MP3", "a.ogg", "notes.txt", ".hidden.wav"})
        testenv::writeFile(folder + QLatin1Char('/') + QLatin1String(name), "x");
    face();
    answerDialog<ViewDialog>([&](ViewDialog *dialog) {
        dialog->browser()->setDir(folder);
        dialog->returned();
    });
    face()->buttonClick(5);
    const QStringList expected = {folder + "/.hidden.wav", folder + "/a.ogg", folder + "/b.MP3"};
    EXPECT_EQ(orbalState().fileList, expected);
    EXPECT_EQ(testenv::readFile(m_appDir + QStringLiteral("/.xmms/xmms.m3u")),
              expected.join(QLatin1Char('\n')).toUtf8() + '\n');

    // Cancelled: nothing changes.
    answerDialog<ViewDialog>([](ViewDialog *dialog) { dialog->reject(); });
    orbalState().fileList.clear();
    face()->buttonClick(5);
    EXPECT_TRUE(orbalState().fileList.isEmpty());
}

TEST_F(InteractionTest, backgroundMenuLoadsAndSavesThePickedPicture)
{
    face();
    const QString picture = m_appDir + QStringLiteral("/skins/default/backskin.png");
    answerDialog<ViewDialog>([&](ViewDialog *dialog) {
        dialog->browser()->setDir(m_appDir + QStringLiteral("/skins/default"));
        const auto items =
            dialog->browser()->findItems(QStringLiteral("backskin.png"), Qt::MatchExactly);
        ASSERT_FALSE(items.isEmpty());
        dialog->browser()->itemSelected(dialog->browser()->row(items.first()));
        dialog->returned();
    });
    face()->selectMenu(4);
    KConfig c(m_appDir + QStringLiteral("/.xmms/tavrin_cfg"), true);
    c.setGroup(QStringLiteral("tvskin"));
    EXPECT_EQ(QFileInfo(c.readEntry(QStringLiteral("backskin"))).canonicalFilePath(),
              QFileInfo(picture).canonicalFilePath());
    EXPECT_FALSE(face()->painter().background().isNull());
}

TEST_F(InteractionTest, colourSquareOpensItsChoiceAndKeepsTheWindowAndVolume)
{
    tap({80, 307}); // the lyric panel
    orbalState().volume = 60;
    auto *square = face()->findChild<QPushButton *>(QStringLiteral("opendlg"));
    ASSERT_NE(square, nullptr);
    ASSERT_TRUE(square->isVisible());
    QTest::mousePress(square, Qt::LeftButton);
    EXPECT_EQ(orbalState().layoutMode, Form::Vertical);
    EXPECT_TRUE(square->isVisible());
    answerDialog<LyricColorDialog>([](LyricColorDialog *dialog) {
        dialog->setCurrentColor(QColor(0x12, 0x34, 0x56));
        dialog->accept();
    });
    QTest::mouseRelease(square, Qt::LeftButton);
    EXPECT_EQ(orbalState().lyricColor, QColor(0x12, 0x34, 0x56));
    EXPECT_TRUE(readSettings("tavrin_cfg").contains("lrccolor=#123456"));
    EXPECT_EQ(orbalState().volume, 60); // not the saved 45
    EXPECT_EQ(orbalState().layoutMode, Form::Vertical);
}

TEST_F(InteractionTest, keyDialogKeepsTheVolumeAndToggles)
{
    face();
    OrbalState &s = orbalState();
    s.volume = 60;
    s.shuffleOn = !s.shuffleOn;
    const bool shuffle = s.shuffleOn;
    answerDialog<ConfigWidget>([](ConfigWidget *dialog) { dialog->done(1); });
    face()->selectMenuoption(1);
    EXPECT_EQ(s.volume, 60);
    EXPECT_EQ(s.shuffleOn, shuffle);
}

TEST_F(InteractionTest, audioMenuAndPanelButtonsShowOneEffectState)
{
    face();
    OrbalState &s = orbalState();
    QMenu *audio = face()->menu(MainFace::Menu::Audio);
    for (int id : {3, 4}) {
        bool &flag = id == 3 ? s.audio3DOn : s.bassBoostOn;
        const QPoint button = id == 3 ? QPoint(130, 258) : QPoint(155, 258);
        EXPECT_EQ(MainFace::menuItem(audio, id)->isChecked(), flag) << id;
        face()->selectMenurmpp(id);
        EXPECT_EQ(MainFace::menuItem(audio, id)->isChecked(), flag) << id;
        tap(button);
        EXPECT_EQ(MainFace::menuItem(audio, id)->isChecked(), flag) << id;
        face()->selectMenurmpp(id);
        EXPECT_EQ(MainFace::menuItem(audio, id)->isChecked(), flag) << id;
        const QByteArray config = readSettings("config");
        const QByteArray key = id == 3 ? "ezx_audio_3d=" : "ezx_bass_booster=";
        EXPECT_TRUE(config.contains(key + (flag ? "true" : "false"))) << config.constData();
    }
}

TEST_F(InteractionTest, savedListsLoadWhateverTheCaseOfTheirEnding)
{
    const QString song = m_appDir + QStringLiteral("/mmc/loud.mp3");
    testenv::writeFile(song, "x");
    testenv::writeFile(m_appDir + QStringLiteral("/playlist/LOUD.M3U"), song.toUtf8() + '\n');
    face()->buttonClick(25);
    QAction *item = MainFace::menuItem(face()->menu(MainFace::Menu::Playlist), 1);
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->text(), QStringLiteral("LOUD"));
    face()->menu(MainFace::Menu::Playlist)->hide();
    face()->selectMenumplist(1);
    EXPECT_EQ(orbalState().fileList, QStringList{song});
}

TEST_F(InteractionTest, anAutoRepeatedReleaseDoesNothingOnADesktop)
{
    face();
    orbalState().volume = 50;
    QKeyEvent press(QEvent::KeyPress, Qt::Key_PageUp, Qt::NoModifier, QString(), true);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_PageUp, Qt::NoModifier, QString(), true);
    QApplication::sendEvent(face(), &release);
    QApplication::sendEvent(face(), &press);
    EXPECT_EQ(orbalState().volume, 55);
}

TEST_F(XmmsInteractionTest, folderButtonInMplayerModeLeavesXmmsDown)
{
    face()->selectMenuoption(2);
    ASSERT_FALSE(orbalState().xmmsMode);
    ASSERT_TRUE(testenv::waitFor([] { return xmms_remote_get_version(0) == 0; }, 5000));
    answerDialog<ViewDialog>([&](ViewDialog *dialog) {
        dialog->browser()->setDir(m_appDir + QStringLiteral("/mmc"));
        dialog->returned();
    });
    face()->buttonClick(5);
    EXPECT_EQ(orbalState().fileList, m_songs);
    EXPECT_TRUE(PlayerRestart::xmmsProcessesIn(m_appDir).isEmpty());
    EXPECT_EQ(xmms_remote_get_version(0), 0);
}

} // namespace
