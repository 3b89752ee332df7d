#include "commands/commanddispatcher.h"

#include "audio/mixer.h"
#include "audio/xmmsplayer.h"
#include "cutter/viewdialog.h"
#include "dropin/kconfig.h"
#include "dropin/settingsnames.h"
#include "equalizer/eqwidget.h"
#include "lyrics/lyriclookup.h"
#include "platform/pathcodec.h"
#include "platform/power.h"
#include "platform/zmessagebox.h"
#include "playlist/filebrowser.h"
#include "playlist/playerrestart.h"
#include "playlist/playlistfile.h"
#include "skin/skin.h"
#include "skin/skinpainter.h"
#include "state/orbalstate.h"
#include "video/engine.h"

#include <QPainter>
#include <QWidget>
#include <memory>
#include <utility>

const char *const CommandDispatcher::kOpenFilter =
    "*.mp3;*.ogg;*.wav;*.asf;*.au;*.avi;*.mpeg;*.mpg;*.mv1;*.wma;*.mov;*.wmv;*.ram;*.rm;*.rmvb;"
    "*.dat;*.3gp;*.mp4;*.m4a;*.flv";

// The commands not listed (the lights, the panel tabs, the A-B marks, the form switches)
// belong to the pointer layer.
const CommandDispatcher::Row CommandDispatcher::kCommands[] = {
    {Command::Previous, &CommandDispatcher::prevXmms, &CommandDispatcher::prevMplayer},
    {Command::Play, &CommandDispatcher::playXmms, &CommandDispatcher::playMplayer},
    {Command::Pause, &CommandDispatcher::pauseXmms, &CommandDispatcher::pauseMplayer},
    {Command::Stop, &CommandDispatcher::stopXmms, &CommandDispatcher::stopMplayer},
    {Command::Next, &CommandDispatcher::nextXmms, &CommandDispatcher::nextMplayer},
    {Command::Open, &CommandDispatcher::openFiles, &CommandDispatcher::openFiles},
    {Command::Shuffle, &CommandDispatcher::shuffleXmms, nullptr},
    {Command::Repeat, &CommandDispatcher::repeatXmms, nullptr},
    {Command::Equalizer, &CommandDispatcher::equalizerXmms, nullptr},
    {Command::Presets, &CommandDispatcher::presets, &CommandDispatcher::presets},
    {Command::Audio3d, &CommandDispatcher::save3d, &CommandDispatcher::save3d},
    {Command::BassBooster, &CommandDispatcher::saveBass, &CommandDispatcher::saveBass},
    {Command::TextCodec, &CommandDispatcher::saveTextCodec, &CommandDispatcher::saveTextCodec},
    {Command::ShowLyric, &CommandDispatcher::saveShowLyric, &CommandDispatcher::saveShowLyric},
    {Command::Exit, &CommandDispatcher::exitProgram, &CommandDispatcher::exitProgram},
    {Command::PlaylistMenu, &CommandDispatcher::playlistMenu, &CommandDispatcher::playlistMenu},
};

CommandDispatcher::CommandDispatcher(const Skin &skin, SkinPainter &painter, OrbalState &state,
                                     QWidget *window, const QString &appDir)
    : QObject(window), m_skin(skin), m_painter(painter), m_state(state), m_window(window),
      m_appDir(appDir)
{
}

void CommandDispatcher::setXmms(XMMSPlayer *xmms)
{
    m_xmms = xmms;
}

XMMSPlayer *CommandDispatcher::xmms() const
{
    return m_xmms;
}

void CommandDispatcher::setEngine(Engine *engine)
{
    m_engine = engine;
}

Engine *CommandDispatcher::engine() const
{
    return m_engine;
}

QString CommandDispatcher::appPath(const char *tail) const
{
    return m_appDir + QLatin1String(tail);
}

void CommandDispatcher::buttonClick(int code)
{
    buttonClick(Command(code));
}

void CommandDispatcher::buttonClick(Command code)
{
    m_unheard = 0; // the user chose: a fresh pass
    // Every command sees both settings files; the front-end one is rewritten on return.
    KConfig config(settings::playerFile(m_appDir), true);
    config.setGroup(settings::kOss);
    KConfig frontEnd(settings::frontEndFile(m_appDir));
    m_config = &config;
    m_frontEnd = &frontEnd;
    const bool xmmsMode = m_state.xmmsMode;
    for (const Row &c : kCommands) {
        if (c.code != code)
            continue;
        const Handler h = xmmsMode ? c.xmms : c.mplayer;
        // Without an adapter (xmms failed to come up) xmms commands have nothing to act on.
        if (h && (!xmmsMode || m_xmms || h == c.mplayer))
            (this->*h)();
        break;
    }
    m_config = nullptr;
    m_frontEnd = nullptr;
}

// --- shared steps ---------------------------------------------------------------------------

bool CommandDispatcher::engineRunning()
{
    return m_engine && m_engine->isRunning();
}

void CommandDispatcher::thumbFollow(int row)
{
    const OrbalState &s = m_state;
    if (s.layoutMode != Form::Vertical || !s.playlistPanelOpen)
        return;
    m_painter.drawPlaylistBar(SkinPainter::thumbOffsetFor(row, int(s.fileList.size()),
                                                          m_skin.visibleRows(),
                                                          m_skin[Skin::PlistBar][3]),
                              false);
}

QString CommandDispatcher::entryTitle(int index) const
{
    const QString &path = m_state.fileList.at(index);
    return QStringLiteral("%1.%2").arg(index + 1).arg(
        PathCodec::displayName(path.mid(path.lastIndexOf(QLatin1Char('/')) + 1)));
}

void CommandDispatcher::announceEntry(int index)
{
    const OrbalState &s = m_state;
    if (index < 0 || index >= s.fileList.size())
        return;
    m_abTitleShown = false;
    m_painter.setTitleText(entryTitle(index));
    lookupLyrics(s.fileList.at(index));
    emit stateChanged();
}

void CommandDispatcher::showPlayState(int state)
{
    OrbalState &s = m_state;
    s.playingFlag = state == 0 ? 1 : 0;
    s.pausedFlag = state == 1 ? 1 : 0;
    m_painter.drawPlayStatus(state);
    m_painter.drawButton(s.playingFlag ? Command::Pause : Command::Play, false);
    emit stateChanged();
}

void CommandDispatcher::entryStarted(int index)
{
    OrbalState &s = m_state;
    if (index < 0 || index >= s.fileList.size())
        return;
    s.currentIndex = index;
    s.selectedRow = index; // the highlight goes with the song
    announceEntry(index);
    thumbFollow(index);
    showPlayState(0);
}

void CommandDispatcher::startEntry(int index)
{
    OrbalState &s = m_state;
    if (index < 0 || index >= s.fileList.size())
        return;
    m_playingSince.invalidate();
    const bool started = m_engine && m_engine->play(s.fileList.at(index));
    entryStarted(index);
    // An entry that cannot even start (missing file or player) ends at once; from the event
    // loop, so a list of such entries is not walked in one deep call.
    if (m_engine && !started)
        QMetaObject::invokeMethod(this, &CommandDispatcher::entryEnded, Qt::QueuedConnection);
}

void CommandDispatcher::playbackBegan()
{
    m_playingSince.start();
}

void CommandDispatcher::entryEnded()
{
    OrbalState &s = m_state;
    if (s.fileList.isEmpty())
        return;
    // A list whose every entry ends at once (no sound output, nothing decodable) would
    // otherwise be started over and over, about once a second, for ever.
    if (m_playingSince.isValid() && m_playingSince.elapsed() >= 1000) {
        m_unheard = 0;
    } else {
        if (m_unheard++ == 0)
            m_unheardNoSound = false;
        if (m_engine && m_engine->noSound())
            m_unheardNoSound = true;
    }
    if (m_unheard >= s.fileList.size()) {
        m_unheard = 0;
        if (m_engine)
            m_engine->stop();
        showPlayState(2);
        m_painter.setTitleText(QString());
        ZMessageBox::timerMessage(m_window, QPixmap(),
                                  m_unheardNoSound
                                      ? QStringLiteral("No sound output: playback stopped")
                                      : QStringLiteral("Nothing in the list could be played"),
                                  3);
        return;
    }
    startEntry(s.currentIndex + 1 < s.fileList.size() ? s.currentIndex + 1 : 0);
}

void CommandDispatcher::syncXmms()
{
    const OrbalState &s = m_state;
    if (!m_xmms || !m_xmms->isRunning())
        return;
    m_xmms->setVolume(s.volume);
    m_xmms->setShuffle(s.shuffleOn);
    m_xmms->setRepeat(s.repeatOn);
    m_xmms->setEqActive(s.equalizerOn);
    equalizerChangeSlot();
    m_painter.setEqValue(10, int(m_xmms->eqPreamp()));
}

void CommandDispatcher::sendVolume()
{
    const int volume = m_state.volume;
    if (m_state.xmmsMode) {
        if (m_xmms)
            m_xmms->setVolume(volume);
    } else if (m_engine) {
        m_engine->applyVolume(volume);
    }
    emit stateChanged();
}

void CommandDispatcher::seekToPercent(int percent)
{
    OrbalState &s = m_state;
    if (s.xmmsMode) {
        if (!m_xmms)
            return;
        const int ms = int(qint64(m_xmms->songLength()) * percent / 100);
        m_xmms->jumpToTime(ms);
        emit positionJumped(ms);
    } else if (m_engine) {
        s.videoElapsed = m_engine->length() * percent / 100;
        m_engine->seek(2, s.videoElapsed);
        emit positionJumped(qint64(s.videoElapsed) * 1000);
    }
}

void CommandDispatcher::jumpToSecond(int seconds)
{
    OrbalState &s = m_state;
    if (s.xmmsMode) {
        if (!m_xmms)
            return;
        m_xmms->jumpToTime(seconds * 1000);
    } else if (m_engine) {
        s.videoElapsed = seconds;
        m_engine->seek(2, seconds);
    } else {
        return;
    }
    emit positionJumped(qint64(seconds) * 1000);
}

void CommandDispatcher::applyEq(int slot)
{
    const OrbalState &s = m_state;
    m_painter.drawEqCurve();
    if (!m_xmms)
        return;
    if (slot < 0) {
        for (int i = 0; i < 10; ++i)
            m_xmms->setEqBand(i, float(s.eqBands[i]));
    } else if (slot < 10) {
        m_xmms->setEqBand(slot, float(s.eqBands[slot]));
    } else {
        m_xmms->setEqPreamp(float(s.eqPreampValue));
    }
}

// --- lyrics ---------------------------------------------------------------------------------

void CommandDispatcher::lookupLyrics(const QString &songPath)
{
    OrbalState &s = m_state;
    s.lyricsLoaded =
        LyricLookup::loadLyricsFor(songPath, TextDecoder::lyricCharset(s.useTextCodec), m_lyrics);
    m_lead = LyricLookup::kLeadAfterLookup;
    m_panel.reset();
    LyricLookup::applyBacklight(s.lyricsLoaded, s.showLyric, s.softwareLight);
}

void CommandDispatcher::seekLyrics(int seconds)
{
    m_panel.seekTo(m_lyrics, seconds, m_state.lyricLineHeight);
    m_painter.drawLyrics();
}

QRect CommandDispatcher::drawLyrics(QPainter &window)
{
    const OrbalState &s = m_state;
    if (!s.lyricsLoaded)
        return QRect();
    const Skin::List &show = m_skin[Skin::LrcWinShow];
    LyricPanel::Skin pictures;
    pictures.skin = m_skin.picture();
    pictures.background = m_painter.background();
    pictures.show = show.rect();
    pictures.showSource = QPoint(show[4], show[5]);
    LyricPanel::Look look;
    look.font = m_window ? m_window->font() : QFont();
    look.fontSize = s.lyricFontSize;
    look.lineHeight = s.lyricLineHeight;
    look.current = s.lyricColor;
    look.other = s.lyricBackColor;
    return m_panel.paint(window, int(s.layoutMode), m_lyrics, pictures, look);
}

void CommandDispatcher::repeatLyricLine()
{
    OrbalState &s = m_state;
    int start = 0;
    int next = 0;
    if (!m_panel.currentLineSpan(m_lyrics, &start, &next))
        return;
    s.markA = start;
    s.markB = next;
    s.abRepeat = true;
    if (s.xmmsMode && m_xmms)
        m_xmms->jumpToTime(start * 1000);
}

// --- commands -------------------------------------------------------------------------------

bool CommandDispatcher::xmmsPlaying()
{
    return xmmsState() == 0;
}

int CommandDispatcher::xmmsState()
{
    if (m_xmms->isStopped())
        return 2;
    return m_xmms->isPaused() ? 1 : 0;
}

int CommandDispatcher::flagState() const
{
    const OrbalState &s = m_state;
    if (s.pausedFlag)
        return 1;
    return s.playingFlag ? 0 : 2;
}

void CommandDispatcher::followXmms()
{
    const int pos = m_xmms->playlistPos();
    if (pos != m_state.currentIndex)
        entryStarted(pos);
}

void CommandDispatcher::prevXmms()
{
    if (!xmmsPlaying())
        return;
    m_xmms->back();
    followXmms();
}

void CommandDispatcher::prevMplayer()
{
    const int index = m_state.currentIndex;
    if (engineRunning() && index >= 1)
        startEntry(index - 1);
}

void CommandDispatcher::playXmms()
{
    const OrbalState &s = m_state;
    const int state = xmmsState();
    const int pos = m_xmms->playlistPos();
    const bool otherRow =
        s.selectedRow != pos && s.selectedRow >= 0 && s.selectedRow < s.fileList.size();
    if (state == 0 && !otherRow) {
        m_xmms->pause();
        showPlayState(1);
        return;
    }
    if (state == 1 && !otherRow) {
        m_xmms->pause(); // xmms resumes
        showPlayState(0);
        return;
    }
    m_xmms->setVolume(s.volume);
    if (otherRow)
        m_xmms->setPlaylistPos(s.selectedRow); // also starts a stopped xmms
    else
        m_xmms->play();
    const int now = m_xmms->playlistPos();
    entryStarted(now);
    if (now < 0 || now >= s.fileList.size())
        showPlayState(0);
}

void CommandDispatcher::playMplayer()
{
    OrbalState &s = m_state;
    if (s.selectedRow < 0 || s.selectedRow >= s.fileList.size())
        return; // nothing to play: an empty list must not reach the engine
    // The play button shows pause while its entry plays: pressing it pauses, not restarts.
    if (s.selectedRow == s.currentIndex && engineRunning() && (s.playingFlag || s.pausedFlag)) {
        pauseMplayer();
        return;
    }
    startEntry(s.selectedRow);
}

void CommandDispatcher::pauseXmms()
{
    m_xmms->pause(); // toggles
    showPlayState(xmmsState());
}

void CommandDispatcher::pauseMplayer()
{
    if (!engineRunning())
        return;
    m_engine->pause(); // toggles
    showPlayState(m_state.pausedFlag ? 0 : 1);
}

void CommandDispatcher::stopXmms()
{
    m_xmms->stop();
    showPlayState(2);
    m_painter.setTitleText(QString());
}

void CommandDispatcher::stopMplayer()
{
    if (m_engine)
        m_engine->stop();
    showPlayState(2);
    m_painter.setTitleText(QString());
}

void CommandDispatcher::nextXmms()
{
    if (!xmmsPlaying())
        return;
    m_xmms->forward();
    followXmms();
}

void CommandDispatcher::nextMplayer()
{
    const OrbalState &s = m_state;
    if (!engineRunning() || s.fileList.isEmpty())
        return;
    startEntry(s.currentIndex + 1 >= s.fileList.size() ? 0 : s.currentIndex + 1);
}

void CommandDispatcher::openFiles()
{
    // The dialog opens at the card; listing it again would double the wait on a big card.
    QPointer<ViewDialog> dialog = new ViewDialog(m_window, QString::fromLatin1(kOpenFilter), true);
    const bool accepted = dialog->exec() == QDialog::Accepted;
    if (!dialog)
        return;
    const QString dir = dialog->browser()->currentDir();
    delete dialog;
    if (!accepted || dir.isEmpty())
        return;
    const std::optional<QStringList> files = PlaylistFile::scanDirectory(dir);
    if (!files)
        return; // unreadable: the player keeps its list
    const QString listPath = PlaylistFile::playerListPath(m_appDir);
    {
        // Only xmms mode has an xmms to restart: an adapter left from it stays down.
        PlayerRestart restart(m_state.xmmsMode ? m_xmms.data() : nullptr, m_appDir);
        PlaylistFile::write(listPath, *files);
    }
    if (const auto entries = PlaylistFile::read(listPath))
        m_state.fileList = *entries;
    emit playlistReplaced();
    if (m_state.layoutMode == Form::Vertical && m_state.playlistPanelOpen)
        m_painter.drawPlaylistBar(1, false);
}

void CommandDispatcher::shuffleXmms()
{
    m_xmms->setShuffle(m_state.shuffleOn);
}

void CommandDispatcher::repeatXmms()
{
    m_xmms->setRepeat(m_state.repeatOn);
}

void CommandDispatcher::equalizerXmms()
{
    m_xmms->setEqActive(m_state.equalizerOn);
}

void CommandDispatcher::presets()
{
    QPointer<eqWidget> dialog = new eqWidget(m_window);
    dialog->setGeometry(20, 50, 200, 220);
    connect(dialog, &eqWidget::equalizerChange, this, &CommandDispatcher::equalizerChangeSlot);
    dialog->exec();
    delete dialog; // it may have deleted itself already
}

void CommandDispatcher::save3d()
{
    KConfig config(settings::playerFile(m_appDir));
    config.setGroup(settings::kOss);
    config.writeEntry(settings::kAudio3d, m_state.audio3DOn);
    config.sync();
}

void CommandDispatcher::saveBass()
{
    KConfig config(settings::playerFile(m_appDir));
    config.setGroup(settings::kOss);
    config.writeEntry(settings::kBassBooster, m_state.bassBoostOn);
    config.sync();
}

void CommandDispatcher::saveTextCodec()
{
    m_frontEnd->setGroup(settings::kTvSkin);
    m_frontEnd->writeEntry(settings::kTextCodec, m_state.useTextCodec);
    m_frontEnd->sync();
}

void CommandDispatcher::saveShowLyric()
{
    m_frontEnd->setGroup(settings::kTvSkin);
    m_frontEnd->writeEntry(settings::kShowLyric, m_state.showLyric);
    m_frontEnd->sync();
}

void CommandDispatcher::exitProgram()
{
    PM_setupLcdSleepTime(30);
    emit exitRequested();
}

void CommandDispatcher::playlistMenu()
{
    emit playlistMenuRequested(PlaylistFile::savedListNames(appPath("/playlist"), 7),
                               QPoint(70, 100));
}

// --- poll and per-second update -------------------------------------------------------------

void CommandDispatcher::doCheckTimer()
{
    poll();
    emit stateChanged(); // lengths and the player's own moves show up here
}

void CommandDispatcher::poll()
{
    OrbalState &s = m_state;
    if (s.xmmsMode) {
        if (!m_xmms)
            return;
        // xmms may stop, pause or go on by itself (end of the list, another client).
        const int state = xmmsState();
        if (state != flagState()) {
            showPlayState(state);
            if (state == 2)
                m_painter.setTitleText(QString());
        }
        if (state != 0)
            return;
        int rate = 0;
        int frequency = 0;
        int channels = 0;
        m_xmms->getInfo(rate, frequency, channels);
        const int length = m_xmms->songLength();
        const int percent = length > 0 ? int(qint64(m_xmms->outputTime()) * 100 / length) : 0;
        drawTimer(m_xmms->outputTime() / 1000, unsigned(rate), unsigned(frequency), percent,
                  length / 1000);
        followXmms();
    } else if (engineRunning()) {
        if (s.videoTiming) {
            const int length = m_engine->length();
            drawTimer(s.videoElapsed, 0, 0, length > 0 ? s.videoElapsed * 100 / length : 0, length);
            ++s.videoElapsed;
        } else {
            m_painter.drawDigits(0);
        }
    } else if (m_engine && !m_engine->isActive() && flagState() != 2) {
        // Ended without an end of file to follow (the video window's own stop): nothing
        // plays any more.
        showPlayState(2);
        m_painter.setTitleText(QString());
    }
}

void CommandDispatcher::drawTimer(int seconds, unsigned int, unsigned int, int percent, int)
{
    OrbalState &s = m_state;
    auto abRepeat = [&] {
        if (!s.abRepeat) {
            // The repeat ended: the title names the song again.
            if (std::exchange(m_abTitleShown, false) && s.currentIndex >= 0 &&
                s.currentIndex < s.fileList.size())
                m_painter.setTitleText(entryTitle(s.currentIndex));
            return;
        }
        m_abTitleShown = true;
        m_painter.setTitleText(QStringLiteral("Rep. A= %1  B=  %2").arg(s.markA).arg(s.markB));
        // A poll may step over B by a second; B before A would jump for ever.
        if (seconds == s.markB || (s.markB > s.markA && seconds > s.markB))
            jumpToSecond(s.markA);
    };
    switch (s.layoutMode) {
    case Form::MiniBar:
        if (seconds != 0)
            m_painter.drawDigits(seconds);
        if (s.lyricsLoaded && s.showLyric)
            seekLyrics(seconds + m_lead);
        break;
    case Form::Vertical:
        if (seconds == 0)
            break;
        m_painter.drawDigits(seconds);
        s.lastSecond = seconds;
        abRepeat();
        if (!m_painter.thumbDragging())
            m_painter.drawPosBar(percent, false);
        if (s.lyricsLoaded && s.lyricPanelOpen && s.showLyric)
            seekLyrics(seconds + m_lead);
        m_painter.drawLights();
        break;
    case Form::Horizontal:
        s.lastSecond = seconds;
        m_painter.drawDigits(seconds);
        abRepeat();
        if (s.lyricsLoaded && s.showLyric)
            seekLyrics(seconds + m_lead);
        if (!m_painter.thumbDragging())
            m_painter.drawPosBar(100 - percent, false);
        break;
    default:
        break;
    }
}

// --- playlist slots -------------------------------------------------------------------------

void CommandDispatcher::playlistSlot(int row)
{
    OrbalState &s = m_state;
    m_unheard = 0;
    if (const auto entries = PlaylistFile::read(PlaylistFile::playerListPath(m_appDir)))
        s.fileList = *entries;
    if (row < 0)
        return;
    if (s.xmmsMode) {
        if (m_xmms) {
            m_xmms->setVolume(s.volume);
            m_xmms->setPlaylistPos(row);
            entryStarted(row);
        }
    } else {
        startEntry(row);
    }
}

void CommandDispatcher::plistPOSClick(int row)
{
    OrbalState &s = m_state;
    if (row < 0 || row >= s.fileList.size())
        return;
    m_unheard = 0;
    // The tapped row plays and becomes the highlighted one, so play and the keys go on
    // from it.
    if (s.xmmsMode) {
        if (!m_xmms)
            return;
        m_xmms->setVolume(s.volume);
        m_xmms->setPlaylistPos(row);
        entryStarted(row);
    } else {
        startEntry(row);
    }
}

void CommandDispatcher::equalizerChangeSlot()
{
    if (!m_xmms)
        return;
    for (int band = 0; band < 10; ++band)
        m_painter.setEqValue(band, int(m_xmms->eqBand(band)));
}
