// The phone's hardware keys in the main window: one table from the bound key codes
// (OrbalState::keys, phone numbering) to actions, the lock key's keyboard grab, and the
// debug line every key event prints. Volume in the vertical and horizontal forms goes
// through the pointer layer's slider (volumeSliderRequested); the grab and the side-panel
// slide are the window's (grabRequested, slideRequested).
#pragma once

#include <QObject>

class CommandDispatcher;
struct OrbalState;

class HardwareKeys : public QObject
{
    Q_OBJECT
public:
    enum class Action {
        VolumeUp,
        VolumeDown,
        Play,
        Up,
        Down,
        Prev,
        Next,
        SlidePanels,
        Headset,
        None,
        Lock
    };

    HardwareKeys(CommandDispatcher &dispatcher, OrbalState &state, QObject *parent = nullptr);

    // A key event in phone numbering; auto-repeats count as presses. Always consumed.
    bool keyEvent(int code, bool pressed, bool autoRepeat);
    // The window got the focus: a grab left over from the lock key is released.
    void focusIn();

    // The action bound to a key code, the first row of the table that matches.
    Action actionFor(int code) const;

signals:
    void volumeSliderRequested(int position);
    void grabRequested(bool grab);
    void slideRequested();

private:
    void press(Action action);
    void changeVolume(int delta);
    void moveHighlight(int delta);

    CommandDispatcher &m_dispatcher;
    OrbalState &m_state;
};
