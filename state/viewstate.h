// How the window looks: its form, its panels, the equalizer sliders, the lights and the
// keyboard grab.
#pragma once

// The window's three forms; the numbers are the design's.
enum class Form {
    MiniBar = 1,    // 240 x 25
    Vertical = 2,   // 240 x 320, the start form
    Horizontal = 3, // a 320 x 240 layout drawn turned onto the screen
};

struct ViewState {
    Form layoutMode = Form::Vertical;

    // Panels of the vertical window, set by each skin load; side panels of the horizontal one.
    bool playlistPanelOpen = true;
    bool lyricPanelOpen = false;
    bool eqPanelOpen = false;
    bool hPanelsHidden = false;

    // Equalizer values as the panel shows them: pixels of knob travel, -25..25.
    int eqBands[10] = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    int eqPreampValue = 0;

    // Backlight policy of the lights menu.
    bool softwareLight = true;
    // Decorative lights: -1 off, 0, 1, 2.
    int lightsStyle = 1;

    bool keyboardGrabbed = false;
};
