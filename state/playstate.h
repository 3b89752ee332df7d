// What plays and how: the player in use, the list and its current entry, the front-end's
// own play flags, the player's toggles and effects, the video clock and A-B repeat.
#pragma once

#include <QStringList>

struct PlayState {
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

    // Video timing counted by the status poll in mplayer mode (seconds).
    int videoElapsed = 0;
    bool videoTiming = false;

    // A-B repeat, seconds.
    bool markASet = false;
    bool markBSet = false;
    int markA = 0;
    int markB = 0;
    bool abRepeat = false;

    int lastSecond = 0; // elapsed seconds last shown

    // The media list and the playlist panel.
    QStringList fileList;
    int currentIndex = 0;
    int selectedRow = 0;
};
