#include "platform/phonekeys.h"

#include <QKeyEvent>

namespace
{

constexpr int ToolkitSpecial = 0x01000000;
constexpr int PhoneSpecial = 0x1000;

constexpr PhoneKeys::DesktopKey kDesktop[] = {
    {Qt::Key_Return, PhoneKeys::Centre, "Return", "centre (select)"},
    {Qt::Key_Enter, PhoneKeys::Centre, "Enter (keypad)", "centre (select)"},
    {Qt::Key_Space, PhoneKeys::Centre, "Space", "centre (select)"},
    {Qt::Key_Escape, PhoneKeys::Cancel, "Escape", "cancel (red key)"},
    {Qt::Key_PageUp, PhoneKeys::VolumeUp, "Page Up", "volume up"},
    {Qt::Key_Plus, PhoneKeys::VolumeUp, "+", "volume up"},
    {Qt::Key_VolumeUp, PhoneKeys::VolumeUp, "Volume Up", "volume up"},
    {Qt::Key_PageDown, PhoneKeys::VolumeDown, "Page Down", "volume down"},
    {Qt::Key_Minus, PhoneKeys::VolumeDown, "-", "volume down"},
    {Qt::Key_VolumeDown, PhoneKeys::VolumeDown, "Volume Down", "volume down"},
    {Qt::Key_Home, PhoneKeys::Prev, "Home", "previous track"},
    {Qt::Key_MediaPrevious, PhoneKeys::Prev, "Media Previous", "previous track"},
    {Qt::Key_End, PhoneKeys::Next, "End", "next track"},
    {Qt::Key_MediaNext, PhoneKeys::Next, "Media Next", "next track"},
    {Qt::Key_MediaPlay, PhoneKeys::Centre, "Media Play", "centre (select)"},
    {Qt::Key_Insert, PhoneKeys::SoftLeft, "Insert", "left soft key"},
    {Qt::Key_Delete, PhoneKeys::SoftRight, "Delete", "right soft key"},
    {Qt::Key_ScrollLock, PhoneKeys::Lock, "Scroll Lock", "lock"},
    {Qt::Key_Pause, PhoneKeys::Lock, "Pause", "lock"},
    {Qt::Key_Print, PhoneKeys::Camera, "Print", "camera"},
    {Qt::Key_Backspace, PhoneKeys::Headset, "Backspace", "headset"},
    {Qt::Key_Call, PhoneKeys::Dial, "Call", "dial (green key)"},
};

} // namespace

int PhoneKeys::fromToolkit(int key)
{
    if (key >= ToolkitSpecial && key < ToolkitSpecial + 0x1000)
        return PhoneSpecial + (key - ToolkitSpecial);
    return key;
}

int PhoneKeys::toToolkit(int key)
{
    if (key >= PhoneSpecial && key < 2 * PhoneSpecial)
        return ToolkitSpecial + (key - PhoneSpecial);
    return key;
}

int PhoneKeys::fromDesktop(int key)
{
    for (const DesktopKey &d : kDesktop)
        if (d.toolkitKey == key)
            return d.phoneKey;
    return fromToolkit(key);
}

int PhoneKeys::fromEvent(const QKeyEvent *event)
{
    return event ? fromDesktop(event->key()) : 0;
}

const PhoneKeys::DesktopKey *PhoneKeys::desktopTable(int *count)
{
    if (count)
        *count = int(std::size(kDesktop));
    return kDesktop;
}
