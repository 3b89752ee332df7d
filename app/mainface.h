// The player's one skinned window. It wires the parts together and keeps only what is the
// window's own: the settings read at start and written at exit, the popup menus and their
// handlers, the two timers, the players (engine always, xmms adapter in xmms mode), and
// the switching between the mini bar, the vertical and the horizontal forms. Skin data
// (Skin), drawing (SkinPainter), touches (PointerInput), commands and the status poll
// (CommandDispatcher) and hardware keys (HardwareKeys) are their own units.
#pragma once

#include "app/optionmenus.h"
#include "platform/zmainwidget.h"
#include "skin/skin.h"
#include "skin/skinpainter.h"
#include "state/viewstate.h"

#include <QPointer>
#include <QRegion>
#include <QString>

class CommandDispatcher;
class Engine;
class HardwareKeys;
class PlayList;
class PointerInput;
class QAction;
class QMenu;
class QPushButton;
class QTimer;
class XMMSPlayer;

class MainFace : public ZMainWidget
{
    Q_OBJECT
public:
    // The working directory at this moment becomes the application directory.
    explicit MainFace(QWidget *parent = nullptr, const char *name = nullptr);
    ~MainFace() override;

    // Re-reads the settings that dialogs may change (colours, lyric options, key codes, the
    // music player's toggles and volume) and the player's playlist.
    void loadSettings();
    // Re-reads only the front-end file's lyric look and key codes (after a dialog changed
    // them), leaving the volume and the player's toggles as they are.
    void loadLookAndKeys();
    // A null text shows the player mode's own title.
    void setTitleText(const QString &text);
    QString titleText() const { return m_painter.titleText(); }

    QString appDir() const { return m_appDir; }
    QString skinName() const { return m_skinName; }
    const Skin &skin() const { return m_skin; }
    SkinPainter &painter() { return m_painter; }
    CommandDispatcher *dispatcher() const { return m_dispatcher; }
    PointerInput *pointer() const { return m_pointer; }
    HardwareKeys *keys() const { return m_keys; }
    Engine *engine() const { return m_engine; }
    XMMSPlayer *xmms() const;
    QTimer *titleTimer() const { return m_titleTimer; }
    QTimer *checkTimer() const { return m_checkTimer; }
    PlayList *playlistEditor() const;

    // The popup menus, for the tests.
    using Menu = OptionMenus::Menu;
    QMenu *menu(Menu which) const;
    // The entry with this id in the menu, or null.
    static QAction *menuItem(QMenu *menu, int id);

    // Repaints the whole window at the next paint (form, mask and all).
    void repaintWhole();

public slots:
    void drawTimer(int seconds, unsigned int rate, unsigned int frequency, int percent, int length);
    void drawTitle();
    void drawPList(int firstRow);
    void seekTo(int seconds);
    void openbutlrc();
    void openbutlrcb();
    void moveskins();
    void selectMenumskin(int id);
    void selectMenumfont(int id);
    void selectMenu(int id);
    void selectMenumplist(int id);
    void selectMenumlight(int id);
    void selectMenuoption(int id);
    void selectMenurmpp(int id);
    void selectMenuvmpp(int id);
    void sltEngineQuit();
    void slttimeout();
    void lrcRepaint();
    void buttonClick(int code);
    void doclose();
    void playlistSlot();
    void doCheckTimer();
    void plistPOSClick(int row);
    void equalizerChangeSlot();
    void sltAbout();
    void kerfaclose();
    void sltminwin();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;

private:
    // The steps of construction.
    void readStartSettings();
    void hookPainter();
    void startTimers();
    void applyLyricFontSize();
    void connectParts();
    void onMenuChosen(OptionMenus::Menu which, int id);
    void enablePlayerMenus();
    void loadSkin();
    void placeColourButtons();
    void showLyricButtons();
    void switchLayout(Form form);
    void chooseColour(bool currentLine);
    void refillPlaylistMenu(const QStringList &names, const QPoint &pos);
    void applyEffects();
    void restTitleIfSettled();
    QString path(const char *tail) const;

    QString m_appDir;
    QString m_skinName;
    Skin m_skin;
    SkinPainter m_painter;
    PointerInput *m_pointer = nullptr;
    CommandDispatcher *m_dispatcher = nullptr;
    HardwareKeys *m_keys = nullptr;
    QPushButton *m_colourButton = nullptr;     // "opendlg", current lyric line
    QPushButton *m_backColourButton = nullptr; // "opendlg1", the other lines
    OptionMenus *m_menus = nullptr;
    QTimer *m_titleTimer = nullptr;
    bool m_titleResting = false; // stopped while the title is settled, not for the mini bar
    QTimer *m_checkTimer = nullptr;
    Engine *m_engine = nullptr;
    QPointer<XMMSPlayer> m_xmms;
    QPointer<PlayList> m_editor;
    bool m_fullPending = true;
    bool m_drawingNow = false; // what the painter draws goes to m_drawnNow, not update()
    QRegion m_drawnNow;
};
