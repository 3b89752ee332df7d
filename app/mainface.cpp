#include "app/mainface.h"

#include "app/orbalstate.h"
#include "audio/mixer.h"
#include "audio/xmmsplayer.h"
#include "commands/commanddispatcher.h"
#include "commands/hardwarekeys.h"
#include "cutter/kerfa.h"
#include "cutter/viewdialog.h"
#include "dropin/kconfig.h"
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

// The video menu's geometry entries 1-4: the one key each switches on.
constexpr const char *kGeometryKeys[] = {"Tspeed", "crop", "scale", "speed"};

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

QAction *addItem(QMenu *menu, const char *label, int id, bool checkable = true)
{
    QAction *action = menu->addAction(text(label));
    action->setData(id);
    action->setCheckable(checkable);
    return action;
}

// Routes a menu's choices to a handler taking the entry id; entries without an id
// (About, Exit, submenus) have handlers of their own.
template <typename Handler> void onChosen(QMenu *menu, MainFace *face, Handler handler)
{
    QObject::connect(menu, &QMenu::triggered, face, [menu, face, handler](QAction *action) {
        if (menu->actions().contains(action) && action->data().isValid())
            (face->*handler)(action->data().toInt());
    });
}

} // namespace

MainFace::MainFace(QWidget *parent, const char *name)
    : ZMainWidget(parent, name, 0x1000), m_painter(m_skin)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    setAttribute(Qt::WA_DeleteOnClose);
    setFocusPolicy(Qt::StrongFocus);

    OrbalState &s = orbalState();
    m_appDir = QDir::currentPath();
    qCDebug(lcApp) << m_appDir;
    s.layoutMode = 2;
    s.videoElapsed = 0;
    s.videoTiming = false;
    s.hPanelsHidden = false;
    s.lyricsLoaded = false;
    s.softwareLight = true;
    // The settings folder of a fresh application directory.
    QDir().mkpath(path("/.xmms"));

    KConfig frontEnd(path("/.xmms/tavrin_cfg"));
    frontEnd.setGroup(QStringLiteral("tvskin"));
    m_skinName = fromUtf8Setting(
        frontEnd.readEntry(QStringLiteral("CurrentSkin"), QStringLiteral("default")));
    if (m_skinName.isEmpty() || m_skinName.contains(QLatin1Char('/')) ||
        !QFile::exists(path("/skins/") + m_skinName + QStringLiteral("/skins.conf")))
        m_skinName = QStringLiteral("default");
    s.wireMode = frontEnd.readBoolEntry(QStringLiteral("sltfwd"), false);
    s.xmmsMode = frontEnd.readBoolEntry(QStringLiteral("Enxmms"), false);

    if (s.xmmsMode) {
        m_xmms = new XMMSPlayer(this, "");
        m_xmms->launch();
    }

    const QString backskin =
        fromUtf8Setting(frontEnd.readEntry(QStringLiteral("backskin"), QString()));
    const PictureCache cache(PictureCache::userFolder());
    const QString slot = QStringLiteral("background");
    QImage background;
    if (!backskin.isEmpty())
        background = cache.load(backskin, slot, PictureCache::decodePicture);
    if (background.isNull())
        background =
            cache.load(path("/skins/default/backskin.png"), slot, PictureCache::decodePicture);
    m_painter.setBackground(QPixmap::fromImage(background));
    m_painter.setBaseFont(font());
    m_painter.setUpdater([this](const QRect &rect) {
        if (m_drawingNow)
            m_drawnNow += rect;
        else
            update(rect);
    });

    m_dispatcher = new CommandDispatcher(m_skin, m_painter, this, m_appDir);
    m_dispatcher->setXmms(m_xmms);
    m_pointer = new PointerInput(m_skin, m_painter, this);
    m_keys = new HardwareKeys(*m_dispatcher, this);
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

    buildMenus(frontEnd);

    m_colourButton = new QPushButton(QString(), this);
    m_colourButton->setObjectName(QStringLiteral("opendlg"));
    m_backColourButton = new QPushButton(QString(), this);
    m_backColourButton->setObjectName(QStringLiteral("opendlg1"));

    loadSettings();
    loadSkin();

    setChecked(m_audioMenu, 3, s.audio3DOn);
    setChecked(m_audioMenu, 4, s.bassBoostOn);

    m_colourButton->setPalette(LyricColorChooser::swatchPalette(s.lyricColor));
    m_backColourButton->setPalette(LyricColorChooser::swatchPalette(s.lyricBackColor));
    // A press leaves the window as it is: going to the mini bar would hide the square
    // before its click, and the colour choice would never open.
    connect(m_colourButton, &QPushButton::clicked, this, &MainFace::openbutlrc);
    connect(m_backColourButton, &QPushButton::clicked, this, &MainFace::openbutlrcb);

    menuItem(m_mainMenu, 1)->setEnabled(!s.xmmsMode);
    menuItem(m_mainMenu, 2)->setEnabled(!s.xmmsMode);
    setTitleText(QString());

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

    bool known = false;
    for (int i = 0; i < int(std::size(kFontRows)); ++i) {
        if (kFontRows[i].size == s.lyricFontSize) {
            setChecked(m_fontMenu, i, true);
            s.lyricLineHeight = kFontRows[i].lineHeight;
            known = true;
        }
    }
    // A hand-edited size keeps a line height that fits its font.
    if (!known)
        s.lyricLineHeight = LyricPanel::lineHeightForFontSize(s.lyricFontSize, 32);

    m_checkTimer = new QTimer(this);
    m_checkTimer->setTimerType(Qt::VeryCoarseTimer);
    connect(m_checkTimer, &QTimer::timeout, this, &MainFace::doCheckTimer);
    m_checkTimer->start(1000);

    m_engine = new Engine(this, "Engine");
    m_dispatcher->setEngine(m_engine);
    if (!s.xmmsMode)
        m_engine->applyVolume(s.volume);
    // xmms starts with what its own file says; the window shows the front-end's view.
    m_dispatcher->syncXmms();
    connect(m_engine, &Engine::onQuit, this, &MainFace::sltEngineQuit);
    connect(m_engine, &Engine::ontimeout, this, &MainFace::slttimeout);

    connect(m_pointer, &PointerInput::command, this, &MainFace::buttonClick);
    connect(m_pointer, &PointerInput::rowClicked, this, &MainFace::plistPOSClick);
    connect(m_pointer, &PointerInput::mainMenuRequested, this,
            [this](const QPoint &pos) { m_mainMenu->popup(mapToGlobal(pos)); });
    connect(m_pointer, &PointerInput::fontMenuRequested, this,
            [this](const QPoint &pos) { m_fontMenu->popup(mapToGlobal(pos)); });
    connect(m_pointer, &PointerInput::layoutRequested, this, &MainFace::switchLayout);
    connect(m_pointer, &PointerInput::panelsChanged, this, &MainFace::showLyricButtons);
    connect(m_pointer, &PointerInput::volumeChanged, m_dispatcher, &CommandDispatcher::sendVolume);
    connect(m_pointer, &PointerInput::seekRequested, m_dispatcher,
            &CommandDispatcher::seekToPercent);
    connect(m_pointer, &PointerInput::jumpRequested, m_dispatcher,
            &CommandDispatcher::jumpToSecond);
    connect(m_pointer, &PointerInput::eqApplyRequested, m_dispatcher, &CommandDispatcher::applyEq);
    connect(m_pointer, &PointerInput::effectToggled, this, [this](int button) {
        const OrbalState &st = orbalState();
        setChecked(m_audioMenu, 3, st.audio3DOn);
        setChecked(m_audioMenu, 4, st.bassBoostOn);
        if (st.xmmsMode)
            return;
        if (button == 16)
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

    ZMainWidget::showMaximized();
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

void MainFace::buildMenus(KConfig &frontEnd)
{
    const OrbalState &s = orbalState();
    m_fontMenu = new QMenu(this);
    const char *sizes[] = {"12", "14", "16", "18", "21"};
    for (int i = 0; i < 5; ++i)
        addItem(m_fontMenu, sizes[i], i);
    onChosen(m_fontMenu, this, &MainFace::selectMenumfont);

    m_playlistMenu = new QMenu(this);
    addItem(m_playlistMenu, "Edit List", 0, false);
    onChosen(m_playlistMenu, this, &MainFace::selectMenumplist);

    m_skinMenu = new QMenu(this);
    const QStringList skins = Skin::menuNames(m_appDir);
    for (int i = 0; i < skins.size(); ++i) {
        QAction *a = m_skinMenu->addAction(skins.at(i));
        a->setData(i + 1);
    }
    onChosen(m_skinMenu, this, &MainFace::selectMenumskin);

    frontEnd.setGroup(QStringLiteral("OPTION"));
    auto option = [&frontEnd](const char *key) {
        return frontEnd.readBoolEntry(QLatin1String(key), false);
    };
    m_audioMenu = new QMenu(this);
    addItem(m_audioMenu, "Mute", 1)->setChecked(option("nosound"));
    addItem(m_audioMenu, "3-D", 3)->setChecked(option("3Dsound"));
    addItem(m_audioMenu, "Bass", 4)->setChecked(option("Tsound"));
    addItem(m_audioMenu, "Left", 5);
    addItem(m_audioMenu, "Right", 6);
    addItem(m_audioMenu, "Karaoke", 7)->setChecked(option("karaoke"));
    setChecked(m_audioMenu, 5, option("Lstereo"));
    setChecked(m_audioMenu, 6, option("Rstereo"));
    onChosen(m_audioMenu, this, &MainFace::selectMenurmpp);

    m_videoMenu = new QMenu(this);
    const char *geometry[] = {"Scalable", "Full Screen", "Actual screen", "Verical", "avi sinc"};
    for (int i = 0; i < 5; ++i)
        addItem(m_videoMenu, geometry[i], i + 1);
    setChecked(m_videoMenu, 5, option("nedtc"));
    for (int i = 0; i < 4; ++i)
        setChecked(m_videoMenu, i + 1, option(kGeometryKeys[i]));
    onChosen(m_videoMenu, this, &MainFace::selectMenuvmpp);

    m_lightMenu = new QMenu(this);
    addItem(m_lightMenu, "Software", 1)->setChecked(true);
    addItem(m_lightMenu, "Auto", 2);
    addItem(m_lightMenu, "Long-Auto", 3);
    onChosen(m_lightMenu, this, &MainFace::selectMenumlight);

    m_optionMenu = new QMenu(this);
    addItem(m_optionMenu, "Button", 1, false);
    addItem(m_optionMenu, "use ORBAL", 2)->setChecked(s.xmmsMode);
    addItem(m_optionMenu, "use Wire", 3)->setChecked(s.wireMode);
    onChosen(m_optionMenu, this, &MainFace::selectMenuoption);

    m_mainMenu = new QMenu(this);
    auto submenu = [this](const char *label, QMenu *menu, int id) {
        QAction *a = m_mainMenu->addMenu(menu);
        a->setText(text(label));
        a->setData(id);
    };
    submenu("Audio Setting", m_audioMenu, 1);
    submenu("Video Setting", m_videoMenu, 2);
    submenu("Lights", m_lightMenu, 3);
    addItem(m_mainMenu, "Background", 4, false);
    submenu("Skins", m_skinMenu, 6);
    addItem(m_mainMenu, "Kerfa", 7, false);
    submenu("Advansed", m_optionMenu, 8);
    m_mainMenu->addSeparator();
    connect(m_mainMenu->addAction(text("About")), &QAction::triggered, this, &MainFace::sltAbout);
    connect(m_mainMenu->addAction(text("Exit")), &QAction::triggered, this, &MainFace::doclose);
    connect(m_mainMenu, &QMenu::triggered, this, [this](QAction *action) {
        // Submenu entries travel up through this menu too; only its own plain items count.
        if (action->menu() || !m_mainMenu->actions().contains(action) || !action->data().isValid())
            return;
        selectMenu(action->data().toInt());
    });
}

QMenu *MainFace::menu(Menu which) const
{
    switch (which) {
    case Menu::Font:
        return m_fontMenu;
    case Menu::Playlist:
        return m_playlistMenu;
    case Menu::Skin:
        return m_skinMenu;
    case Menu::Light:
        return m_lightMenu;
    case Menu::Option:
        return m_optionMenu;
    case Menu::Audio:
        return m_audioMenu;
    case Menu::Video:
        return m_videoMenu;
    case Menu::Main:
        return m_mainMenu;
    }
    return nullptr;
}

QAction *MainFace::menuItem(QMenu *menu, int id)
{
    if (!menu)
        return nullptr;
    for (QAction *a : menu->actions())
        if (a->data().isValid() && a->data().toInt() == id)
            return a;
    return nullptr;
}

void MainFace::setChecked(QMenu *menu, int id, bool on)
{
    if (QAction *a = menuItem(menu, id))
        a->setChecked(on);
}

void MainFace::refillPlaylistMenu(const QStringList &names, const QPoint &pos)
{
    for (QAction *a : m_playlistMenu->actions()) {
        const int id = a->data().toInt();
        if (a->data().isValid() && id >= 1 && id <= 8) {
            m_playlistMenu->removeAction(a);
            delete a;
        }
    }
    for (int i = 0; i < names.size() && i + 1 < 8; ++i) {
        QAction *a = m_playlistMenu->addAction(names.at(i));
        a->setData(i + 1);
    }
    m_playlistMenu->popup(mapToGlobal(pos));
}

// --- settings and skin ----------------------------------------------------------------------

void MainFace::loadSettings()
{
    OrbalState &s = orbalState();
    KConfig config(path("/.xmms/config"));
    config.setGroup(QStringLiteral("xmms"));
    s.shuffleOn = config.readBoolEntry(QStringLiteral("shuffle"), true);
    s.repeatOn = config.readBoolEntry(QStringLiteral("repeat"), false);
    s.equalizerOn = config.readBoolEntry(QStringLiteral("equalizer_active"), true);
    if (s.xmmsMode) {
        for (int band = 0; band < 10; ++band)
            m_painter.setEqValue(
                band, config.readNumEntry(QStringLiteral("equalizer_band%1").arg(band), 0));
        m_painter.setEqValue(10, config.readNumEntry(QStringLiteral("equalizer_preamp"), 16));
    }
    config.setGroup(QStringLiteral("OSS"));
    s.bassBoostOn = config.readBoolEntry(QStringLiteral("ezx_bass_booster"), true);
    s.audio3DOn = config.readBoolEntry(QStringLiteral("ezx_audio_3d"), false);
    if (!s.xmmsMode)
        applyEffects();
    config.setGroup(QStringLiteral("Winskin"));
    s.volume = qBound(0, config.readNumEntry(QStringLiteral("Volume"), 45), 100);
    loadLookAndKeys();
    if (const auto entries = PlaylistFile::read(PlaylistFile::playerListPath(m_appDir)))
        s.fileList = *entries;
}

void MainFace::loadLookAndKeys()
{
    OrbalState &s = orbalState();
    {
        KConfig frontEnd(path("/.xmms/tavrin_cfg"));
        frontEnd.setGroup(QStringLiteral("tvskin"));
        const QColor colour(frontEnd.readEntry(QStringLiteral("lrccolor"), kDefaultLyricColour));
        s.lyricColor = colour.isValid() ? colour : QColor(kDefaultLyricColour);
        const QColor back(frontEnd.readEntry(QStringLiteral("lrcbcolor"), kDefaultLyricColour));
        s.lyricBackColor = back.isValid() ? back : QColor(kDefaultLyricColour);
        s.lyricFontSize = frontEnd.readNumEntry(QStringLiteral("lrcfont"), 18);
        s.useTextCodec = frontEnd.readBoolEntry(QStringLiteral("textcodec"), false);
        s.showLyric = frontEnd.readBoolEntry(QStringLiteral("showlrc"), false);
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
    const bool show = s.layoutMode == 2 && s.lyricPanelOpen;
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
    if (orbalState().layoutMode == 1) {
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

void MainFace::switchLayout(int mode)
{
    OrbalState &s = orbalState();
    switch (mode) {
    case 1:
        sltminwin();
        break;
    case 2:
        if (s.layoutMode == 1) {
            kerfaclose();
        } else {
            s.layoutMode = 2;
            repaintWhole();
            showLyricButtons();
        }
        break;
    case 3:
        s.layoutMode = 3;
        m_colourButton->hide();
        m_backColourButton->hide();
        repaintWhole();
        break;
    default:
        break;
    }
}

void MainFace::sltminwin()
{
    orbalState().layoutMode = 1;
    m_titleTimer->stop();
    m_titleResting = false;
    m_colourButton->hide();
    m_backColourButton->hide();
    repaintWhole();
}

void MainFace::kerfaclose()
{
    orbalState().layoutMode = 2;
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
    if (s.layoutMode != 3)
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
    KConfig config(path("/.xmms/config"));
    config.setGroup(QStringLiteral("Winskin"));
    config.writeEntry(QStringLiteral("Volume"), orbalState().volume);
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
    QAction *item = menuItem(m_skinMenu, id);
    if (id == 0 || !item)
        return;
    m_skinName = item->text();
    loadSkin();
    KConfig frontEnd(path("/.xmms/tavrin_cfg"));
    frontEnd.setGroup(QStringLiteral("tvskin"));
    frontEnd.writeEntry(QStringLiteral("CurrentSkin"), toUtf8Setting(m_skinName));
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
    for (int i = 0; i < int(std::size(kFontRows)); ++i)
        setChecked(m_fontMenu, i, i == id);
    KConfig frontEnd(path("/.xmms/tavrin_cfg"));
    frontEnd.setGroup(QStringLiteral("tvskin"));
    frontEnd.writeEntry(QStringLiteral("lrcfont"), s.lyricFontSize);
    frontEnd.sync();
}

void MainFace::selectMenu(int id)
{
    KConfig frontEnd(path("/.xmms/tavrin_cfg"));
    frontEnd.setGroup(QStringLiteral("tvskin"));
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
            frontEnd.writeEntry(QStringLiteral("backskin"), toUtf8Setting(file));
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
    {
        KConfig frontEnd(path("/.xmms/tavrin_cfg"));
        frontEnd.setGroup(QStringLiteral("OPTION"));
        auto toggle = [&](const char *key, int entry) {
            const bool on = !frontEnd.readBoolEntry(QLatin1String(key), false);
            setChecked(m_audioMenu, entry, on);
            frontEnd.writeEntry(QLatin1String(key), on);
        };
        if (id == 1) {
            toggle("nosound", 1);
        } else if (id == 7) {
            toggle("karaoke", 7);
        } else if (id == 5 || id == 6) {
            const char *mine = id == 5 ? "Lstereo" : "Rstereo";
            const char *other = id == 5 ? "Rstereo" : "Lstereo";
            if (!frontEnd.readBoolEntry(QLatin1String(mine), false)) {
                setChecked(m_audioMenu, id, true);
                setChecked(m_audioMenu, id == 5 ? 6 : 5, false);
                frontEnd.writeEntry(QLatin1String(mine), true);
                frontEnd.writeEntry(QLatin1String(other), false);
            } else {
                setChecked(m_audioMenu, id, false);
                frontEnd.writeEntry(QLatin1String(mine), false);
            }
        }
        frontEnd.sync();
    }
    KConfig config(path("/.xmms/config"));
    config.setGroup(QStringLiteral("OSS"));
    if (id == 3 || id == 4) {
        // The panel's 3D and BASS buttons show the same switches: one state for both.
        OrbalState &s = orbalState();
        bool &flag = id == 3 ? s.audio3DOn : s.bassBoostOn;
        flag = !flag;
        const bool on = flag;
        setChecked(m_audioMenu, id, on);
        config.writeEntry(QLatin1String(id == 3 ? "ezx_audio_3d" : "ezx_bass_booster"), on);
        if (s.layoutMode == 2)
            m_painter.drawButton(id == 3 ? 16 : 17, false);
        if (id == 3)
            mixer_set_3d(on ? 0 : 60);
        else
            mixer_set_bass_booster(on ? 0 : 60);
    }
    config.sync();
}

void MainFace::selectMenuvmpp(int id)
{
    KConfig frontEnd(path("/.xmms/tavrin_cfg"));
    frontEnd.setGroup(QStringLiteral("OPTION"));
    if (id >= 1 && id <= 4) {
        for (int i = 0; i < 4; ++i) {
            setChecked(m_videoMenu, i + 1, i + 1 == id);
            frontEnd.writeEntry(QLatin1String(kGeometryKeys[i]), i + 1 == id);
        }
    } else if (id == 5) {
        const bool on = !frontEnd.readBoolEntry(QStringLiteral("nedtc"), false);
        setChecked(m_videoMenu, 5, on);
        frontEnd.writeEntry(QStringLiteral("nedtc"), on);
    }
    frontEnd.sync();
}

void MainFace::selectMenumlight(int id)
{
    if (id < 1 || id > 3)
        return;
    orbalState().softwareLight = id == 1;
    if (id == 2)
        PM_setupLcdSleepTime(0);
    else if (id == 3)
        PM_setupLcdSleepTime(30);
    for (int i = 1; i <= 3; ++i)
        setChecked(m_lightMenu, i, i == id);
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
    KConfig frontEnd(path("/.xmms/tavrin_cfg"));
    frontEnd.setGroup(QStringLiteral("tvskin"));
    if (id == 2) {
        s.xmmsMode = !s.xmmsMode;
        setChecked(m_optionMenu, 2, s.xmmsMode);
        frontEnd.writeEntry(QStringLiteral("Enxmms"), s.xmmsMode);
        frontEnd.sync();
        menuItem(m_mainMenu, 1)->setEnabled(!s.xmmsMode);
        menuItem(m_mainMenu, 2)->setEnabled(!s.xmmsMode);
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
        s.wireMode = !s.wireMode;
        frontEnd.writeEntry(QStringLiteral("sltfwd"), s.wireMode);
        frontEnd.sync();
        setChecked(m_optionMenu, 3, s.wireMode);
    }
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
    QAction *item = menuItem(m_playlistMenu, id);
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
    if (s.layoutMode == 2 && s.playlistPanelOpen)
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
