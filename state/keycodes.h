// Hardware key bindings, as the phone numbers its keys (see PhoneKeys); read from the
// front-end settings and rebound in the key dialog.
#pragma once

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
