// The player's program-wide state: one instance for the process, read and changed by
// the window, its painting, pointer and key handling, the command dispatcher and the
// status poll. Tests reset it with `orbalState() = OrbalState()`.
#pragma once

#include <QColor>
#include <QString>
#include <QStringList>

// Hardware key bindings as the phone numbers its keys (see PhoneKeys).
struct KeyCodes {
    int volUp = 4154;
    int volDown = 4155;
    int enter = 4101;
    int up = 4115;
    int down = 4117;
    int lock = 4146;
    int left = 4114;
    int right = 4116;
    int camera = 4145;
    int next = 4172;
    int prev = 4171;
    int softLeft = 4152;
    int softRight = 4153;
    int line = 4148; // headset key
};

struct OrbalState {
    // Display form: 1 mini bar, 2 vertical window, 3 horizontal window drawn rotated.
    int layoutMode = 2;

    // Player mode: true = music through xmms, false = everything through mplayer.
    bool xmmsMode = false;
    bool wireMode = false; // the headset key skips to the next song

    // Mirror of the player's state and the sound effects.
    bool shuffleOn = true;
    bool repeatOn = false;
    bool equalizerOn = true;
    bool bassBoostOn = true;
    bool audio3DOn = false;
    int volume = 45; // 0..100

    // Front-end play state; drives the play picture and whether seeking is allowed.
    int playingFlag = 0;
    int pausedFlag = 0;

    // Lyric options.
    int lyricFontSize = 18;
    int lyricLineHeight = 32;
    bool useTextCodec = false; // read lyric files as Big5 instead of GBK
    bool showLyric = false;
    bool lyricsLoaded = false;
    QColor lyricColor = QColor(0xC8, 0xC8, 0xC8);
    QColor lyricBackColor = QColor(0xC8, 0xC8, 0xC8);

    KeyCodes keys;

    // Equalizer values as the panel shows them: pixels of knob travel, -25..25.
    int eqBands[10] = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    int eqPreampValue = 0;

    // Video timing counted by the status poll in mplayer mode (seconds).
    int videoElapsed = 0;
    bool videoTiming = false;

    // Panels of the vertical window, set by each skin load; side panels of the horizontal one.
    bool playlistPanelOpen = true;
    bool lyricPanelOpen = false;
    bool eqPanelOpen = false;
    bool hPanelsHidden = false;

    // Backlight policy of the lights menu.
    bool softwareLight = true;
    // Decorative lights: -1 off, 0, 1, 2.
    int lightsStyle = 1;

    // A-B repeat, seconds.
    bool markASet = false;
    bool markBSet = false;
    int markA = 0;
    int markB = 0;
    bool abRepeat = false;

    int lastSecond = 0; // elapsed seconds last shown
    bool keyboardGrabbed = false;

    // The media list and the playlist panel.
    QStringList fileList;
    int currentIndex = 0;
    int selectedRow = 0;
};

// Header-only so that every folder can reach it without a link dependency on app/.
inline OrbalState &orbalState()
{
    static OrbalState state;
    return state;
}
