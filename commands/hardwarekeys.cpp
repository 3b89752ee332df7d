#include "commands/hardwarekeys.h"

#include "audio/xmmsplayer.h"
#include "commands/commanddispatcher.h"
#include "state/orbalstate.h"

#include <cstdio>

namespace
{

struct Binding {
    int KeyCodes::*code;
    HardwareKeys::Action action;
};
// Tested in this order; the first key that matches wins.
constexpr Binding kBindings[] = {
    {&KeyCodes::volUp, HardwareKeys::Action::VolumeUp},
    {&KeyCodes::volDown, HardwareKeys::Action::VolumeDown},
    {&KeyCodes::enter, HardwareKeys::Action::Play},
    {&KeyCodes::up, HardwareKeys::Action::Up},
    {&KeyCodes::down, HardwareKeys::Action::Down},
    {&KeyCodes::left, HardwareKeys::Action::Prev},
    {&KeyCodes::prev, HardwareKeys::Action::Prev},
    {&KeyCodes::right, HardwareKeys::Action::Next},
    {&KeyCodes::next, HardwareKeys::Action::Next},
    {&KeyCodes::softLeft, HardwareKeys::Action::SlidePanels},
    {&KeyCodes::line, HardwareKeys::Action::Headset},
    {&KeyCodes::softRight, HardwareKeys::Action::None},
    {&KeyCodes::lock, HardwareKeys::Action::Lock},
};

} // namespace

HardwareKeys::HardwareKeys(CommandDispatcher &dispatcher, OrbalState &state, QObject *parent)
    : QObject(parent), m_dispatcher(dispatcher), m_state(state)
{
}

HardwareKeys::Action HardwareKeys::actionFor(int code) const
{
    const KeyCodes &keys = m_state.keys;
    for (const Binding &b : kBindings)
        if (keys.*(b.code) == code)
            return b.action;
    return Action::None;
}

bool HardwareKeys::keyEvent(int code, bool pressed, bool autoRepeat)
{
    std::printf("key:%d  pressed:%d  repeat:%d\n", code, pressed ? 1 : 0, autoRepeat ? 1 : 0);
    std::fflush(stdout);
    OrbalState &s = m_state;
    if (!pressed && !autoRepeat) {
        if (code == s.keys.lock && s.keyboardGrabbed) {
            s.keyboardGrabbed = false;
            emit grabRequested(false);
        }
        return true;
    }
    press(actionFor(code));
    return true;
}

void HardwareKeys::focusIn()
{
    OrbalState &s = m_state;
    if (!s.keyboardGrabbed)
        return;
    s.keyboardGrabbed = false;
    emit grabRequested(false);
}

void HardwareKeys::changeVolume(int delta)
{
    OrbalState &s = m_state;
    // At the ends of the range the end value is sent again.
    s.volume = delta > 0 ? qMin(s.volume, 95) : qMax(s.volume, 5);
    const int volume = s.volume + delta;
    switch (s.layoutMode) {
    case Form::MiniBar:
        s.volume = volume;
        m_dispatcher.sendVolume();
        break;
    case Form::Vertical:
        emit volumeSliderRequested(volume);
        break;
    case Form::Horizontal:
        emit volumeSliderRequested(100 - volume);
        break;
    default:
        break;
    }
}

void HardwareKeys::moveHighlight(int delta)
{
    OrbalState &s = m_state;
    if (s.layoutMode != Form::Vertical || !s.playlistPanelOpen)
        return;
    const int last = int(s.fileList.size()) - 1;
    s.selectedRow = qBound(0, s.selectedRow + delta, qMax(0, last));
    m_dispatcher.thumbFollow(s.selectedRow);
}

void HardwareKeys::press(Action action)
{
    OrbalState &s = m_state;
    switch (action) {
    case Action::VolumeUp:
        changeVolume(5);
        break;
    case Action::VolumeDown:
        changeVolume(-5);
        break;
    case Action::Play:
        m_dispatcher.buttonClick(Command::Play);
        break;
    case Action::Up:
        moveHighlight(-1);
        break;
    case Action::Down:
        moveHighlight(1);
        break;
    case Action::Prev:
        m_dispatcher.buttonClick(Command::Previous);
        break;
    case Action::Next:
        m_dispatcher.buttonClick(Command::Next);
        break;
    case Action::SlidePanels:
        if (s.layoutMode == Form::Horizontal) {
            s.hPanelsHidden = !s.hPanelsHidden;
            emit slideRequested();
        }
        break;
    case Action::Headset:
        // The wire option skips songs; in mplayer mode that is the next entry of the list.
        if (!s.wireMode)
            break;
        if (s.xmmsMode) {
            if (XMMSPlayer *xmms = m_dispatcher.xmms())
                xmms->forward();
        } else {
            m_dispatcher.buttonClick(Command::Next);
        }
        break;
    case Action::Lock:
        if (!s.keyboardGrabbed) {
            s.keyboardGrabbed = true;
            emit grabRequested(true);
        }
        break;
    case Action::None:
        break;
    }
}
