// The design's command codes. They are also the skin's button numbers: pointer input
// presses and releases buttons by them, the painter draws buttons by them, and the command
// dispatcher carries them out. Settings never store them.
#pragma once

enum class Command {
    Previous = 0,
    Play = 1,
    Pause = 2, // as a button picture: the play button while playing
    Stop = 3,
    Next = 4,
    Open = 5,
    Shuffle = 6,
    Repeat = 7,
    Equalizer = 8,
    Lights = 9,
    Presets = 10,
    PlaylistPanel = 11,
    LyricPanel = 12,
    EqualizerPanel = 13,
    EqualizerZero = 15,
    Audio3d = 16,
    BassBooster = 17,
    TextCodec = 18,
    ShowLyric = 19,
    MarkA = 20,
    MarkB = 21,
    Exit = 22,
    MiniBar = 23,
    Horizontal = 24,
    PlaylistMenu = 25,
};
