#include "app/mainface.h"

#include "app/mprisplayer.h"
#include "app/optionmenus.h"
#include "audio/mixer.h"
#include "audio/xmmsplayer.h"
#include "commands/commanddispatcher.h"
#include "commands/hardwarekeys.h"
#include "cutter/kerfa.h"
#include "cutter/viewdialog.h"
#include "dropin/kconfig.h"
#include "dropin/settingsnames.h"
#include "keys/configwidget.h"
#include "lyrics/lyriccolorchooser.h"
#include "lyrics/lyricpanel.h"
#include "lyrics/textdecoder.h"
#include "platform/logging.h"
#include "platform/phonekeys.h"
#include "platform/power.h"
#include "platform/zmessagebox.h"
#include "playlist/filebrowser.h"
#include "playlist/playerrestart.h"
#include "playlist/playlist.h"
#include "playlist/playlistfile.h"
#include "readme/xreadmewidget.h"
#include "skin/picturecache.h"
#include "skin/pointerinput.h"
#include "state/orbalstate.h"
#include "video/engine.h"

#include <QAction>
#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QThread>
#include <QTimer>
#include <utility>

namespace
{

// Every literal the window shows goes through the program's GBK decoder.
QString text(const char *literal)
{
    return TextDecoder::decodeText(QByteArray(literal));
}

QString fromUtf8Setting(const QString &value)
{
    return QString::fromUtf8(value.toLatin1());
}

QString toUtf8Setting(const QString &value)
{
    return QString::fromLatin1(value.toUtf8());
}

const QString kDefaultLyricColour = QStringLiteral("#C8C8C8");

// Lyric font sizes of the font menu (ids 0-4) and the line height each one gets.
struct FontRow {
    int size;
    int lineHeight;
};
constexpr int kTitleStep = 200; // ms between two steps of the title ticker

constexpr FontRow kFontRows[] = {{12, 20}, {14, 24}, {16, 28}, {18, 32}, {21, 40}};

// The fourteen key-code settings and where each is kept.
struct KeySetting {
    const char *name;
    int KeyCodes::*code;
};
constexpr KeySetting kKeySettings[] = {
    {"key_vol_up", &KeyCodes::volUp},        {"key_vol_down", &KeyCodes::volDown},
    {"key_enter", &KeyCodes::enter},         {"key_up", &KeyCodes::up},
    {"key_down", &KeyCodes::down},           {"key_lock", &KeyCodes::lock},
    {"key_left", &KeyCodes::left},           {"key_right", &KeyCodes::right},
    {"key_camera", &KeyCodes::camera},       {"key_Next", &KeyCodes::next},
    {"key_Prev", &KeyCodes::prev},           {"key_SoftLeft", &KeyCodes::softLeft},
    {"key_SoftRight", &KeyCodes::softRight}, {"KEY_line", &KeyCodes::line},
};

} // namespace

MainFace::MainFace(QWidget *parent, const char *name)
    : ZMainWidget(parent, name, 0x1000), m_painter(m_skin, orbalState())
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    setAttribute(Qt::WA_DeleteOnClose);
    setFocusPolicy(Qt::StrongFocus);

    OrbalState &s = orbalState();
    m_appDir = QDir::currentPath();
    qCDebug(lcApp) << m_appDir;
    s.layoutMode = Form::Vertical;
    s.videoElapsed = 0;
    s.videoTiming = false;
    s.hPanelsHidden = false;
    s.lyricsLoaded = false;
    s.softwareLight = true;
    // The settings folder of a fresh application directory.
    QDir().mkpath(settings::folder(m_appDir));
    readStartSettings();

    m_dispatcher = new CommandDispatcher(m_skin, m_painter, s, this, m_appDir);
    m_dispatcher->setXmms(m_xmms);
    m_pointer = new PointerInput(m_skin, m_painter, s, this);
    m_keys = new HardwareKeys(*m_dispatcher, s, this);
    hookPainter();

    m_menus = new OptionMenus(this, m_appDir);
    m_menus->setSkins(Skin::menuNames(m_appDir));
    connect(m_menus, &OptionMenus::chosen, this, &MainFace::onMenuChosen);

    m_colourButton = new QPushButton(QString(), this);
    m_colourButton->setObjectName(QStringLiteral("opendlg"));
    m_backColourButton = new QPushButton(QString(), this);
    m_backColourButton->setObjectName(QStringLiteral("opendlg1"));

    loadSettings();
    loadSkin();

    m_menus->setChecked(Menu::Audio, 3, s.audio3DOn);
    m_menus->setChecked(Menu::Audio, 4, s.bassBoostOn);

    m_colourButton->setPalette(LyricColorChooser::swatchPalette(s.lyricColor));
    m_backColourButton->setPalette(LyricColorChooser::swatchPalette(s.lyricBackColor));
    // A press leaves the window as it is: going to the mini bar would hide the square
    // before its click, and the colour choice would never open.
    connect(m_colourButton, &QPushButton::clicked, this, &MainFace::openbutlrc);
    connect(m_backColourButton, &QPushButton::clicked, this, &MainFace::openbutlrcb);

    enablePlayerMenus();
    setTitleText(QString());
    startTimers();
    applyLyricFontSize();

    m_engine = new Engine(this, "Engine");
    m_dispatcher->setEngine(m_engine);
    if (!s.xmmsMode)
        m_engine->applyVolume(s.volume);
    // xmms starts with what its own file says; the window shows the front-end's view.
    m_dispatcher->syncXmms();
    connect(m_engine, &Engine::onQuit, this, &MainFace::sltEngineQuit);
    connect(m_engine, &Engine::ontimeout, this, &MainFace::slttimeout);
    connectParts();
    // Media keys and desktop controls; nothing without a session bus.
    new MprisPlayer(*m_dispatcher, *m_pointer, s, this);

    ZMainWidget::showMaximized();
}

void MainFace::readStartSettings()
{
    OrbalState &s = orbalState();
    KConfig frontEnd(settings::frontEndFile(m_appDir));
    frontEnd.setGroup(settings::kTvSkin);
    m_skinName =
        fromUtf8Setting(frontEnd.readEntry(settings::kCurrentSkin, QStringLiteral("default")));
    if (m_skinName.isEmpty() || m_skinName.contains(QLatin1Char('/')) ||
        !QFile::exists(path("/skins/") + m_skinName + QStringLiteral("/skins.conf")))
        m_skinName = QStringLiteral("default");
    s.wireMode = frontEnd.readBoolEntry(settings::kWireMode, false);
    s.xmmsMode = frontEnd.readBoolEntry(settings::kXmmsMode, false);

    if (s.xmmsMode) {
        m_xmms = new XMMSPlayer(this, "");
        m_xmms->launch();
    }

    const QString backskin = fromUtf8Setting(frontEnd.readEntry(settings::kBackground, QString()));
    const PictureCache cache(PictureCache::userFolder());
    const QString slot = QStringLiteral("background");
    QImage background;
    if (!backskin.isEmpty())
        background = cache.load(backskin, slot, PictureCache::decodePicture);
    if (background.isNull())
        background =
            cache.load(path("/skins/default/backskin.png"), slot, PictureCache::decodePicture);
    m_painter.setBackground(QPixmap::fromImage(background));
}

void MainFace::hookPainter()
{
    m_painter.setBaseFont(font());
    m_painter.setUpdater([this](const QRect &rect) {
        if (m_drawingNow)
            m_drawnNow += rect;
        else
            update(rect);
    });

    m_painter.setLyricDrawer([this](QPainter &p) { return m_dispatcher->drawLyrics(p); });
    PlayerView view;
    view.state = [this] {
        const OrbalState &st = orbalState();
        if (st.xmmsMode && m_xmms)
            return m_xmms->isStopped() ? 2 : m_xmms->isPaused() ? 1 : 0;
        if (st.pausedFlag)
            return 1;
        return st.playingFlag ? 0 : 2;
    };
    view.playlistPos = [this] { return m_xmms ? m_xmms->playlistPos() : -1; };
    view.stream = [this] {
        PlayerView::Stream st;
        if (m_xmms) {
            m_xmms->getInfo(st.rate, st.frequency, st.channels);
            st.title = m_xmms->currentTitle().toLatin1();
        }
        return st;
    };
    m_painter.setPlayerView(view);
}

void MainFace::startTimers()
{
    // The ticker and the one-second timers share wake-ups: a coarse 200 ms timer settles on
    // the 200 ms marks of the clock and a very coarse one on the whole seconds, so every
    // fifth title step comes with the status poll instead of a wake-up of its own.
    m_titleTimer = new QTimer(this);
    m_titleTimer->setTimerType(Qt::CoarseTimer);
    connect(m_titleTimer, &QTimer::timeout, this, &MainFace::drawTitle);
    m_titleTimer->start(kTitleStep);
    // A resting ticker takes its next step at once, so a message shows without delay.
    m_painter.setTitleWake([this] {
        if (std::exchange(m_titleResting, false))
            m_titleTimer->start(0);
    });

    m_checkTimer = new QTimer(this);
    m_checkTimer->setTimerType(Qt::VeryCoarseTimer);
    connect(m_checkTimer, &QTimer::timeout, this, &MainFace::doCheckTimer);
    m_checkTimer->start(1000);
}

void MainFace::applyLyricFontSize()
{
    OrbalState &s = orbalState();
    bool known = false;
    for (int i = 0; i < int(std::size(kFontRows)); ++i) {
        if (kFontRows[i].size == s.lyricFontSize) {
            m_menus->setChecked(Menu::Font, i, true);
            s.lyricLineHeight = kFontRows[i].lineHeight;
            known = true;
        }
    }
    // A hand-edited size keeps a line height that fits its font.
    if (!known)
        s.lyricLineHeight = LyricPanel::lineHeightForFontSize(s.lyricFontSize, 32);
}

void MainFace::connectParts()
{
    connect(m_pointer, &PointerInput::command, m_dispatcher,
            qOverload<Command>(&CommandDispatcher::buttonClick));
    connect(m_pointer, &PointerInput::rowClicked, this, &MainFace::plistPOSClick);
    connect(m_pointer, &PointerInput::mainMenuRequested, this,
            [this](const QPoint &pos) { menu(Menu::Main)->popup(mapToGlobal(pos)); });
    connect(m_pointer, &PointerInput::fontMenuRequested, this,
            [this](const QPoint &pos) { menu(Menu::Font)->popup(mapToGlobal(pos)); });
    connect(m_pointer, &PointerInput::layoutRequested, this, &MainFace::switchLayout);
    connect(m_pointer, &PointerInput::panelsChanged, this, &MainFace::showLyricButtons);
    connect(m_pointer, &PointerInput::volumeChanged, m_dispatcher, &CommandDispatcher::sendVolume);
    connect(m_pointer, &PointerInput::seekRequested, m_dispatcher,
            &CommandDispatcher::seekToPercent);
    connect(m_pointer, &PointerInput::jumpRequested, m_dispatcher,
            &CommandDispatcher::jumpToSecond);
    connect(m_pointer, &PointerInput::eqApplyRequested, m_dispatcher, &CommandDispatcher::applyEq);
    connect(m_pointer, &PointerInput::effectToggled, this, [this](Command button) {
        const OrbalState &st = orbalState();
        m_menus->setChecked(Menu::Audio, 3, st.audio3DOn);
        m_menus->setChecked(Menu::Audio, 4, st.bassBoostOn);
        if (st.xmmsMode)
            return;
        if (button == Command::Audio3d)
            mixer_set_3d(st.audio3DOn ? 0 : 60);
        else
            mixer_set_bass_booster(st.bassBoostOn ? 0 : 60);
    });
    connect(m_pointer, &PointerInput::lyricRepeatRequested, m_dispatcher,
            &CommandDispatcher::repeatLyricLine);
    connect(m_pointer, &PointerInput::windowMoveRequested, this,
            [this](const QPoint &topLeft) { move(topLeft); });
    connect(m_dispatcher, &CommandDispatcher::exitRequested, this, &MainFace::doclose);
    connect(m_dispatcher, &CommandDispatcher::playlistMenuRequested, this,
            &MainFace::refillPlaylistMenu);
    connect(m_keys, &HardwareKeys::volumeSliderRequested, m_pointer,
            [this](int position) { m_pointer->setVolumeSlider(position, false); });
    connect(m_keys, &HardwareKeys::grabRequested, this, [this](bool grab) {
        if (grab)
            grabKeyboard();
        else
            releaseKeyboard();
    });
    connect(m_keys, &HardwareKeys::slideRequested, this, &MainFace::moveskins);
}

MainFace::~MainFace()
{
    // The painter's hooks call back into parts that are going away.
    m_painter.setUpdater(nullptr);
    m_painter.setLyricDrawer(nullptr);
    m_painter.setTitleWake(nullptr);
}

XMMSPlayer *MainFace::xmms() const
{
    return m_xmms;
}

PlayList *MainFace::playlistEditor() const
{
    return m_editor;
}

QString MainFace::path(const char *tail) const
{
    return m_appDir + QLatin1String(tail);
}

// --- menus ----------------------------------------------------------------------------------

QMenu *MainFace::menu(Menu which) const
{
    return m_menus->menu(which);
}

QAction *MainFace::menuItem(QMenu *menu, int id)
{
    return OptionMenus::item(menu, id);
}

void MainFace::onMenuChosen(OptionMenus::Menu which, int id)
{
    using M = OptionMenus::Menu;
    switch (which) {
    case M::Font:
        selectMenumfont(id);
        break;
    case M::Playlist:
        selectMenumplist(id);
        break;
    case M::Skin:
        selectMenumskin(id);
        break;
    case M::Light:
        selectMenumlight(id);
        break;
    case M::Option:
        selectMenuoption(id);
        break;
    case M::Audio:
        selectMenurmpp(id);
        break;
    case M::Video:
        selectMenuvmpp(id);
        break;
    case M::Main:
        if (id == OptionMenus::kAbout)
            sltAbout();
        else if (id == OptionMenus::kExit)
            doclose();
        else
            selectMenu(id);
        break;
    case M::Count:
        break;
    }
}

void MainFace::refillPlaylistMenu(const QStringList &names, const QPoint &pos)
{
    m_menus->setSavedLists(names);
    m_menus->menu(Menu::Playlist)->popup(mapToGlobal(pos));
}

// --- settings and skin ----------------------------------------------------------------------

void MainFace::loadSettings()
{
    OrbalState &s = orbalState();
    KConfig config(settings::playerFile(m_appDir));
    config.setGroup(settings::kXmms);
    s.shuffleOn = config.readBoolEntry(settings::kShuffle, true);
    s.repeatOn = config.readBoolEntry(settings::kRepeat, false);
    s.equalizerOn = config.readBoolEntry(settings::kEqualizerActive, true);
    if (s.xmmsMode) {
        for (int band = 0; band < 10; ++band)
            m_painter.setEqValue(band, config.readNumEntry(settings::equalizerBand(band), 0));
        m_painter.setEqValue(10, config.readNumEntry(settings::kEqualizerPreamp, 16));
    }
    config.setGroup(settings::kOss);
    s.bassBoostOn = config.readBoolEntry(settings::kBassBooster, true);
    s.audio3DOn = config.readBoolEntry(settings::kAudio3d, false);
    if (!s.xmmsMode)
        applyEffects();
    config.setGroup(settings::kWinskin);
    s.volume = qBound(0, config.readNumEntry(settings::kVolume, 45), 100);
    loadLookAndKeys();
    if (const auto entries = PlaylistFile::read(PlaylistFile::playerListPath(m_appDir)))
        s.fileList = *entries;
}

void MainFace::loadLookAndKeys()
{
    OrbalState &s = orbalState();
    {
        KConfig frontEnd(settings::frontEndFile(m_appDir));
        frontEnd.setGroup(settings::kTvSkin);
        const QColor colour(frontEnd.readEntry(settings::kLyricColour, kDefaultLyricColour));
        s.lyricColor = colour.isValid() ? colour : QColor(kDefaultLyricColour);
        const QColor back(frontEnd.readEntry(settings::kLyricBackColour, kDefaultLyricColour));
        s.lyricBackColor = back.isValid() ? back : QColor(kDefaultLyricColour);
        s.lyricFontSize = frontEnd.readNumEntry(settings::kLyricFont, 18);
        s.useTextCodec = frontEnd.readBoolEntry(settings::kTextCodec, false);
        s.showLyric = frontEnd.readBoolEntry(settings::kShowLyric, false);
        KeyCodes defaults;
        for (const KeySetting &k : kKeySettings)
            s.keys.*(k.code) = frontEnd.readNumEntry(QLatin1String(k.name), defaults.*(k.code));
    }
}

void MainFace::applyEffects()
{
    const OrbalState &s = orbalState();
    mixer_set_3d(s.audio3DOn ? 0 : 60);
    mixer_set_bass_booster(s.bassBoostOn ? 0 : 60);
}

void MainFace::loadSkin()
{
    OrbalState &s = orbalState();
    m_skin.load(m_appDir, m_skinName);
    s.playlistPanelOpen = m_skin.startPlaylistOpen();
    s.lyricPanelOpen = m_skin.startLyricOpen();
    s.eqPanelOpen = m_skin.startEqOpen();
    m_painter.skinLoaded();
    placeColourButtons();
}

void MainFace::placeColourButtons()
{
    const Skin::List &c = m_skin[Skin::ColorBtn];
    m_colourButton->setGeometry(c[0] + c[2] + 10, c[1] + 1, 12, 12);
    m_backColourButton->setGeometry(c[0] + c[2] + 27, c[1] + 1, 12, 12);
    m_colourButton->hide();
    m_backColourButton->hide();
}

void MainFace::showLyricButtons()
{
    const OrbalState &s = orbalState();
    const bool show = s.layoutMode == Form::Vertical && s.lyricPanelOpen;
    m_colourButton->setVisible(show);
    m_backColourButton->setVisible(show);
    if (show && s.lyricsLoaded)
        m_painter.drawLyrics();
}

void MainFace::setTitleText(const QString &title)
{
    m_painter.setTitleText(title);
}

// --- painting and forms ---------------------------------------------------------------------

void MainFace::repaintWhole()
{
    m_fullPending = true;
    if (orbalState().layoutMode == Form::MiniBar) {
        const QBitmap mask = m_painter.miniMask();
        if (!mask.isNull())
            setMask(mask);
    }
    update();
}

void MainFace::paintEvent(QPaintEvent *event)
{
    if (m_fullPending) {
        m_fullPending = false;
        m_painter.paintFull();
    }
    QPainter p(this);
    // A rectangle at a time: a copy clipped to a region of several rectangles is drawn as a
    // blend (split among helper threads), a copy within one rectangle is a plain line copy.
    for (const QRect &rect : event->region()) {
        p.setClipRect(rect);
        p.drawPixmap(rect, m_painter.canvas(), rect);
    }
}

void MainFace::focusInEvent(QFocusEvent *)
{
    m_keys->focusIn();
    repaintWhole();
}

void MainFace::switchLayout(Form form)
{
    OrbalState &s = orbalState();
    switch (form) {
    case Form::MiniBar:
        sltminwin();
        break;
    case Form::Vertical:
        if (s.layoutMode == Form::MiniBar) {
            kerfaclose();
        } else {
            s.layoutMode = Form::Vertical;
            repaintWhole();
            showLyricButtons();
        }
        break;
    case Form::Horizontal:
        s.layoutMode = Form::Horizontal;
        m_colourButton->hide();
        m_backColourButton->hide();
        repaintWhole();
        break;
    }
}

void MainFace::sltminwin()
{
    orbalState().layoutMode = Form::MiniBar;
    m_titleTimer->stop();
    m_titleResting = false;
    m_colourButton->hide();
    m_backColourButton->hide();
    repaintWhole();
}

void MainFace::kerfaclose()
{
    orbalState().layoutMode = Form::Vertical;
    m_titleTimer->start(kTitleStep);
    m_titleResting = false;
    clearMask();
    move(0, 0);
    repaintWhole();
    showLyricButtons();
}

void MainFace::moveskins()
{
    OrbalState &s = orbalState();
    if (s.layoutMode != Form::Horizontal)
        return;
    const QPixmap turned = m_painter.turnedBackground();
    auto frame = [&](int d) {
        m_painter.drawSlideFrame(turned, d);
        repaint();
        QThread::msleep(20);
    };
    if (!s.hPanelsHidden) {
        for (int d = 65; d >= 2; d -= 3)
            frame(d);
        repaintWhole();
    } else {
        for (int d = 0; d <= 63; d += 3)
            frame(d);
    }
}

void MainFace::drawTimer(int seconds, unsigned int rate, unsigned int frequency, int percent,
                         int length)
{
    m_dispatcher->drawTimer(seconds, rate, frequency, percent, length);
}

void MainFace::drawTitle()
{
    // Five times a second while a title scrolls: shown straight away, one paint without a
    // trip through the event queue; but the step that falls on the status poll waits for
    // the poll's paint, one paint for both.
    if (m_titleTimer->interval() != kTitleStep)
        m_titleTimer->setInterval(kTitleStep); // the first step after a rest
    if (m_checkTimer && m_checkTimer->isActive() && m_checkTimer->remainingTime() == 0) {
        m_painter.drawTitle();
    } else {
        m_drawingNow = true;
        m_painter.drawTitle();
        m_drawingNow = false;
        if (!m_drawnNow.isEmpty())
            repaint(std::exchange(m_drawnNow, QRegion()));
    }
    restTitleIfSettled();
}

void MainFace::restTitleIfSettled()
{
    // A title that fits looks the same at every step: no wake-ups until it changes.
    if (m_painter.titleSettled() && m_titleTimer->isActive()) {
        m_titleTimer->stop();
        m_titleResting = true;
    }
}

void MainFace::drawPList(int firstRow)
{
    m_painter.drawPList(firstRow);
}

void MainFace::seekTo(int seconds)
{
    m_dispatcher->seekLyrics(seconds);
}

void MainFace::lrcRepaint()
{
    m_painter.drawLyrics();
}

// --- input ----------------------------------------------------------------------------------

void MainFace::mousePressEvent(QMouseEvent *event)
{
    m_pointer->press(event->position().toPoint());
}

void MainFace::mouseMoveEvent(QMouseEvent *event)
{
    m_pointer->move(event->position().toPoint(), event->globalPosition().toPoint());
}

void MainFace::mouseReleaseEvent(QMouseEvent *event)
{
    m_pointer->release(event->position().toPoint());
}

void MainFace::keyPressEvent(QKeyEvent *event)
{
    m_keys->keyEvent(PhoneKeys::fromEvent(event), true, event->isAutoRepeat());
    event->accept();
}

void MainFace::keyReleaseEvent(QKeyEvent *event)
{
    // A desktop sends each auto-repeat as a release and a press; the press is the repeat.
    if (event->isAutoRepeat()) {
        event->accept();
        return;
    }
    m_keys->keyEvent(PhoneKeys::fromEvent(event), false, event->isAutoRepeat());
    event->accept();
}

// --- commands -------------------------------------------------------------------------------

void MainFace::buttonClick(int code)
{
    m_dispatcher->buttonClick(code);
}

void MainFace::doCheckTimer()
{
    // A title step due in this same wake-up goes into the tick's one paint.
    if (m_titleTimer->isActive() && m_titleTimer->remainingTime() == 0) {
        m_painter.drawTitle();
        m_titleTimer->start(kTitleStep);
        restTitleIfSettled();
    }
    m_dispatcher->doCheckTimer();
}

void MainFace::plistPOSClick(int row)
{
    m_dispatcher->plistPOSClick(row);
}

void MainFace::equalizerChangeSlot()
{
    m_dispatcher->equalizerChangeSlot();
}

void MainFace::playlistSlot()
{
    QString entry;
    const int row = m_editor ? m_editor->currentEntry(entry) : -1;
    m_dispatcher->playlistSlot(row);
}

// --- lifecycle ------------------------------------------------------------------------------

void MainFace::sltAbout()
{
    const QString about = text("ORBAL v 3.30 for motorola A1200\n"
                               "A skinned music and video player.\n"
                               "Music through xmms, video through mplayer.");
    if (ZMessageBox::information(this, QPixmap(), about, text("Ok"), text("Exit")) == 1) {
        auto *readme = new XreadmeWidget(this);
        readme->show();
    }
}

void MainFace::doclose()
{
    KConfig config(settings::playerFile(m_appDir));
    config.setGroup(settings::kWinskin);
    config.writeEntry(settings::kVolume, orbalState().volume);
    config.sync();
    QTimer::singleShot(100, this, &QWidget::close);
}

void MainFace::closeEvent(QCloseEvent *event)
{
    if (orbalState().xmmsMode && m_xmms)
        m_xmms->kill();
    // Only our own child: other mplayers on the machine are none of our business.
    m_engine->killChild();
    event->accept();
}

void MainFace::sltEngineQuit()
{
    repaintWhole();
    orbalState().videoElapsed = 0;
    m_dispatcher->entryEnded();
}

void MainFace::slttimeout()
{
    orbalState().videoElapsed = 0;
    orbalState().videoTiming = true;
    m_dispatcher->playbackBegan();
}

// --- option menus ---------------------------------------------------------------------------

void MainFace::selectMenumskin(int id)
{
    QAction *item = menuItem(menu(Menu::Skin), id);
    if (id == 0 || !item)
        return;
    m_skinName = item->text();
    loadSkin();
    KConfig frontEnd(settings::frontEndFile(m_appDir));
    frontEnd.setGroup(settings::kTvSkin);
    frontEnd.writeEntry(settings::kCurrentSkin, toUtf8Setting(m_skinName));
    frontEnd.sync();
    repaintWhole();
}

void MainFace::selectMenumfont(int id)
{
    if (id < 0 || id >= int(std::size(kFontRows)))
        return;
    OrbalState &s = orbalState();
    s.lyricFontSize = kFontRows[id].size;
    s.lyricLineHeight = kFontRows[id].lineHeight;
    m_menus->apply(Menu::Font, id);
    KConfig frontEnd(settings::frontEndFile(m_appDir));
    frontEnd.setGroup(settings::kTvSkin);
    frontEnd.writeEntry(settings::kLyricFont, s.lyricFontSize);
    frontEnd.sync();
}

void MainFace::selectMenu(int id)
{
    if (id == 4) {
        QPointer<ViewDialog> dialog =
            new ViewDialog(this, QStringLiteral("*.png"), path("/skins/"), true);
        const bool accepted = dialog->exec() == QDialog::Accepted;
        if (!dialog)
            return;
        const QString file = dialog->browser()->pickedFile();
        delete dialog;
        QPixmap picture;
        if (accepted && !file.isEmpty() && picture.load(file, "PNG")) {
            m_painter.setBackground(picture);
            KConfig frontEnd(settings::frontEndFile(m_appDir));
            frontEnd.setGroup(settings::kTvSkin);
            frontEnd.writeEntry(settings::kBackground, toUtf8Setting(file));
            frontEnd.sync();
        }
    } else if (id == 7) {
        sltminwin();
        auto *kerfa = new Kerfa();
        connect(kerfa, &Kerfa::clickcolse, this, &MainFace::kerfaclose);
        kerfa->show();
    }
}

void MainFace::selectMenurmpp(int id)
{
    const bool on = m_menus->apply(Menu::Audio, id);
    if (id != 3 && id != 4)
        return;
    // The panel's 3D and BASS buttons show the same switches: one state for both.
    OrbalState &s = orbalState();
    (id == 3 ? s.audio3DOn : s.bassBoostOn) = on;
    if (s.layoutMode == Form::Vertical)
        m_painter.drawButton(id == 3 ? Command::Audio3d : Command::BassBooster, false);
    if (id == 3)
        mixer_set_3d(on ? 0 : 60);
    else
        mixer_set_bass_booster(on ? 0 : 60);
}

void MainFace::selectMenuvmpp(int id)
{
    m_menus->apply(Menu::Video, id);
}

void MainFace::selectMenumlight(int id)
{
    if (id < 1 || id > 3)
        return;
    m_menus->apply(Menu::Light, id);
    orbalState().softwareLight = id == 1;
    if (id == 2)
        PM_setupLcdSleepTime(0);
    else if (id == 3)
        PM_setupLcdSleepTime(30);
}

void MainFace::selectMenuoption(int id)
{
    OrbalState &s = orbalState();
    if (id == 1) {
        sltminwin();
        ConfigWidget dialog;
        // Only the key codes changed: the volume and the toggles stay as the user set them.
        if (dialog.exec() == 1)
            loadLookAndKeys();
        return;
    }
    if (id == 2) {
        s.xmmsMode = m_menus->apply(Menu::Option, 2);
        enablePlayerMenus();
        if (s.xmmsMode) {
            if (m_engine->isRunning())
                m_engine->stop();
            if (!m_xmms)
                m_xmms = new XMMSPlayer(this, "");
            m_dispatcher->setXmms(m_xmms);
            m_xmms->launch();
            m_dispatcher->syncXmms();
        } else if (m_xmms) {
            m_xmms->kill();
        }
        m_dispatcher->showPlayState(2); // the other player has not started anything yet
        setTitleText(QString());
    } else if (id == 3) {
        s.wireMode = m_menus->apply(Menu::Option, 3);
    }
}

void MainFace::enablePlayerMenus()
{
    // The audio and video settings are mplayer's.
    const bool mplayer = !orbalState().xmmsMode;
    menuItem(menu(Menu::Main), 1)->setEnabled(mplayer);
    menuItem(menu(Menu::Main), 2)->setEnabled(mplayer);
}

void MainFace::selectMenumplist(int id)
{
    OrbalState &s = orbalState();
    const QString playerList = PlaylistFile::playerListPath(m_appDir);
    if (id == 0) {
        if (!m_editor) {
            m_editor = new PlayList(this, playerList);
            connect(m_editor, &PlayList::playlistCmd, this, &MainFace::playlistSlot);
        }
        m_editor->open();
        sltminwin();
        return;
    }
    QAction *item = menuItem(menu(Menu::Playlist), id);
    if (id < 1 || id > 7 || !item)
        return;
    // The file as the menu found it (".m3u" in any case); one that can't be read costs
    // no player restart.
    const QString source = PlaylistFile::savedListPath(path("/playlist"), item->text());
    if (source.isEmpty() || !QFileInfo(source).isReadable())
        return;
    {
        PlayerRestart restart(s.xmmsMode ? m_xmms.data() : nullptr, m_appDir);
        PlaylistFile::copyList(source, playerList);
    }
    if (const auto entries = PlaylistFile::read(playerList))
        s.fileList = *entries;
    if (s.layoutMode == Form::Vertical && s.playlistPanelOpen)
        m_painter.drawPlaylistBar(1, false);
}

// --- lyric colours --------------------------------------------------------------------------

void MainFace::openbutlrc()
{
    chooseColour(true);
}

void MainFace::openbutlrcb()
{
    chooseColour(false);
}

void MainFace::chooseColour(bool currentLine)
{
    const LyricColorRole role =
        currentLine ? LyricColorRole::CurrentLine : LyricColorRole::OtherLines;
    const QColor chosen = LyricColorChooser::choose(m_appDir, role, this);
    if (chosen.isValid()) {
        (currentLine ? m_colourButton : m_backColourButton)
            ->setPalette(LyricColorChooser::swatchPalette(chosen));
        loadLookAndKeys();
    }
    kerfaclose();
}
