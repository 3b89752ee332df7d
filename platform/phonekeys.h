// Key codes as the phone numbers them (the settings files hold these): special keys
// are 0x1000 + n where this toolkit uses 0x01000000 + n; printable keys are unchanged.
// A desktop keyboard is also mapped onto the phone's keys (see README).
#pragma once

class QKeyEvent;

class PhoneKeys
{
public:
    enum Code {
        Return = 0x1004,
        Centre = 0x1005, // the joystick's select
        Left = 0x1012,
        Up = 0x1013,
        Right = 0x1014,
        Down = 0x1015,
        Cancel = 0x1030,   // F1
        Camera = 0x1031,   // F2
        Lock = 0x1032,     // F3
        Headset = 0x1034,  // F5
        SoftLeft = 0x1038, // F9
        SoftRight = 0x1039,
        VolumeUp = 0x103A, // F11
        VolumeDown = 0x103B,
        Dial = 0x1049, // F26
        Prev = 0x104B, // F28
        Next = 0x104C, // F29
    };

    // Plain numbering change, both ways; codes with no counterpart pass unchanged.
    static int fromToolkit(int toolkitKey);
    static int toToolkit(int phoneKey);

    // The phone key a desktop key stands for: the desktop table first, else fromToolkit.
    static int fromDesktop(int toolkitKey);
    static int fromEvent(const QKeyEvent *event);

    struct DesktopKey {
        int toolkitKey;
        int phoneKey;
        const char *desktopName;
        const char *phoneName;
    };
    static const DesktopKey *desktopTable(int *count);
};
