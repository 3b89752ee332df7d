// The main window's touch handling: which skin element a press hit, the pressed pictures,
// drags (volume, position, playlist thumb, equalizer bands, the mini bar itself) and what a
// release does. Drawing goes through SkinPainter; everything that reaches a player, a menu
// or the window is asked for through the signals, so this knows nothing of players.
#pragma once

#include "skin/command.h"
#include "state/orbalstate.h"

#include <QObject>
#include <QPoint>

class Skin;
class SkinPainter;

// Rows of the button tables, defined with them.
namespace pointer
{
struct Button;
struct PanelButton;
} // namespace pointer

class PointerInput : public QObject
{
    Q_OBJECT
public:
    PointerInput(const Skin &skin, SkinPainter &painter, OrbalState &state,
                 QObject *parent = nullptr);

    // Window-local positions; `global` is the pointer on the screen (mini bar dragging).
    void press(const QPoint &pos);
    void move(const QPoint &pos, const QPoint &global);
    void release(const QPoint &pos);

    // The volume slider at position p (0..100) in the current form; the volume keys use it
    // too. Sends a changed volume through volumeChanged() and shows it in the title line.
    void setVolumeSlider(int position, bool pressed);

    int pressedButton() const { return m_pressedButton; }
    int eqDragSlot() const { return m_eqDragSlot; }
    bool isSeekDragging() const { return m_seekGrab >= 0; }

signals:
    void command(Command code); // the dispatcher's buttonClick
    void rowClicked(int row);   // a playlist row was tapped
    void mainMenuRequested(const QPoint &pos);
    void fontMenuRequested(const QPoint &pos);
    void layoutRequested(Form form);
    void panelsChanged(); // a tab opened or closed a panel of the vertical form
    void volumeChanged(int volume);
    void seekRequested(int percent);    // of the song's length
    void jumpRequested(int seconds);    // A-B repeat start
    void eqApplyRequested(int slot);    // 0-9 band, 10 or 11 preamp, -1 all bands
    void effectToggled(Command button); // Audio3d or BassBooster: its switch changed
    void lyricRepeatRequested();        // repeat the lyric line being sung
    void windowMoveRequested(const QPoint &topLeft);

private:
    void pressMini(const QPoint &pos);
    void releaseMini(const QPoint &pos);
    void pressVertical(const QPoint &pos);
    void pressVerticalPanels(const QPoint &pos);
    // Holds the button; its pressed picture if it has one.
    void pressButton(Command number, bool picture);
    void moveVertical(const QPoint &pos);
    void releaseVertical(const QPoint &pos);
    void releaseVerticalPanels(const QPoint &pos);
    void pressHorizontal(const QPoint &pos);
    void moveHorizontal(const QPoint &pos);
    void releaseHorizontal(const QPoint &pos);
    void releaseButton(const pointer::Button &button, const QPoint &pos);
    template <size_t N>
    bool releasePanelButton(const pointer::PanelButton (&buttons)[N], const QPoint &pos);
    void openPanel(Command tab);
    void toggleMarkA();
    void toggleMarkB();
    int volumeFromX(int x) const;
    int percentFromX(int x) const;
    int volumeFromY(int y) const;
    int percentFromY(int y) const;
    int playlistThumbFromY(int y) const;

    const Skin &m_skin;
    SkinPainter &m_painter;
    OrbalState &m_state;
    int m_pressedButton = -1;
    const pointer::Button *m_pressedRow = nullptr; // the window's own button held
    int m_pressedMini = -1;                        // row of the mini bar table held
    int m_volumeDrag = -1;
    int m_seekGrab = -1;
    int m_plistDrag = -1;
    int m_eqDragSlot = -1;
    int m_eqZeroPressed = 0;
    QPoint m_pressPos;
};
