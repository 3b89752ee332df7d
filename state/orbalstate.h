// The player's program-wide state, split by concern. The window owns the use of the one
// instance and hands it by reference to its painting, pointer input, command dispatcher and
// keys; nothing below the window fetches it. Tests reset it with `orbalState() = OrbalState()`.
#pragma once

#include "state/keycodes.h"
#include "state/lyriclook.h"
#include "state/playstate.h"
#include "state/viewstate.h"

struct OrbalState : PlayState, ViewState, LyricLook {
    KeyCodes keys;
};

// The process's one instance.
OrbalState &orbalState();
