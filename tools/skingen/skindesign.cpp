#include "skindesign.h"

// Both designs keep the places the window itself fixes: the menu corner (3-59, 1-29), the
// lights at (0,10) and (100,10) with their tap area (25-99, 45-58), the preamp column
// (22-34), a title no wider than 200 (the horizontal window shows it turned at (21,112)),
// the horizontal time at (40,10) and the lyric band of the horizontal background
// (y 60-180 before turning).

SkinDesign defaultDesign()
{
    SkinDesign d;
    d.name = QStringLiteral("default");
    d.bgTop = QColor("#30363f");
    d.bgBottom = QColor("#1a1e24");
    d.barTop = QColor("#3b424c");
    d.barBottom = QColor("#262b32");
    d.panel = QColor("#242931");
    d.panelEdge = QColor("#3d4550");
    d.inset = QColor("#12161b");
    d.insetEdge = QColor("#0a0c0f");
    d.lcd = QColor("#0b1417");
    d.lcdEdge = QColor("#2c3b40");
    d.lcdGhost = QColor("#15282a");
    d.lcdText = QColor("#5ef0d4");
    d.accent = QColor("#33d6c1");
    d.accentDim = QColor("#1f6f66");
    d.warm = QColor("#ff9448");
    d.faceTop = QColor("#48505c");
    d.faceBottom = QColor("#333942");
    d.faceEdge = QColor("#15181c");
    d.facePressed = QColor("#22272d");
    d.icon = QColor("#dfe5ec");
    d.iconPressed = QColor("#5ef0d4");
    d.label = QColor("#8b96a3");
    d.titleColour = QStringLiteral("#9ff6e6");
    d.listColour = QStringLiteral("#22a699");
    d.radius = 4;
    d.dotMatrix = false;
    d.winEnabled = true;

    d.lcdRect = QRect(4, 34, 232, 48);
    d.v = {
        {"mini_win", {164, 5, 22, 22}},
        {"H_win", {188, 5, 22, 22}},
        {"exit_win", {212, 5, 22, 22}},
        {"time_win", {106, 37, 14, 20}},
        {"play_display_win", {184, 39, 48, 18}},
        {"title_win", {20, 62, 200, 16}},
        {"posbar", {8, 88, 224, 12}},
        {"prev", {6, 106, 30, 26}},
        {"play", {38, 106, 30, 26}},
        {"stop", {70, 106, 30, 26}},
        {"next", {102, 106, 30, 26}},
        {"VL_BTN", {164, 113, 68, 12}},
        {"audio3d_btn", {6, 138, 30, 18}},
        {"bassbooster", {38, 138, 38, 18}},
        {"pos_A", {80, 138, 18, 18}},
        {"pos_B", {100, 138, 18, 18}},
        {"btn_plistwin", {122, 138, 38, 18}},
        {"btn_lrcwin", {162, 138, 36, 18}},
        {"btn_eqwin", {200, 138, 34, 18}},
        // Playlist panel.
        {"plist_Bar", {224, 166, 12, 120}},
        {"OP_BTN", {6, 296, 40, 18}},
        {"plist_BTN", {50, 296, 40, 18}},
        {"shuf_BTN", {150, 296, 40, 18}},
        {"repeat_BTN", {194, 296, 40, 18}},
        // Lyric panel.
        {"lrcwin_show", {0, 164, 240, 126}},
        {"showlrc_BTN", {6, 296, 40, 18}},
        {"textcodec_BTN", {50, 296, 40, 18}},
        {"font_BTN", {94, 296, 40, 18}},
        {"color_BTN", {138, 296, 40, 18}},
        // Equalizer panel.
        {"EQE_BTN", {6, 296, 40, 18}},
        {"presets_BTN", {50, 296, 48, 18}},
        {"EQ_BTN_ZERO", {194, 296, 40, 18}},
        {"eqalzr_win", {66, 170, 108, 20}},
        {"EQ", {44, 204, 12, 60}},
        {"EQ_Preamp", {22, 204, 14, 60}},
    };
    d.speaker = QRect(144, 111, 16, 16);
    d.plistY = d.lrcY = d.eqY = 160;
    d.plistH = d.lrcH = d.eqH = 160;
    d.eqPitch = 18;

    d.h = {
        {"H_mini_win", {232, 5, 24, 24}},  {"V_win_btn", {260, 5, 24, 24}},
        {"H_exit_win", {288, 5, 24, 24}},  {"H_pos_A", {8, 43, 26, 14}},
        {"H_pos_B", {38, 43, 26, 14}},     {"H_posbar", {10, 185, 300, 12}},
        {"H_prev", {10, 204, 34, 30}},     {"H_play", {48, 204, 34, 30}},
        {"H_stop", {86, 204, 34, 30}},     {"H_next", {124, 204, 34, 30}},
        {"H_VL_BTN", {212, 212, 100, 14}},
    };
    d.hSpeaker = QRect(190, 211, 16, 16);
    return d;
}

SkinDesign ivoryDesign()
{
    SkinDesign d;
    d.name = QStringLiteral("ivory");
    d.bgTop = QColor("#f6f1e7");
    d.bgBottom = QColor("#e4dccb");
    d.barTop = QColor("#fffdf8");
    d.barBottom = QColor("#ebe3d3");
    d.panel = QColor("#fbf8f1");
    d.panelEdge = QColor("#d5c9b4");
    d.inset = QColor("#f1eadc");
    d.insetEdge = QColor("#c9bba2");
    d.lcd = QColor("#2f2923");
    d.lcdEdge = QColor("#8c7b66");
    d.lcdGhost = QColor("#45392c");
    d.lcdText = QColor("#ffb547");
    d.accent = QColor("#d9622b");
    d.accentDim = QColor("#e9b597");
    d.warm = QColor("#c7362a");
    d.faceTop = QColor("#ffffff");
    d.faceBottom = QColor("#ece4d5");
    d.faceEdge = QColor("#b9a98f");
    d.facePressed = QColor("#e0d3bd");
    d.icon = QColor("#5b4936");
    d.iconPressed = QColor("#d9622b");
    d.label = QColor("#9a8a74");
    d.titleColour = QStringLiteral("#ffd38a");
    d.listColour = QStringLiteral("#6b4426");
    d.radius = 9;
    d.dotMatrix = true;
    d.winEnabled = false;

    d.lcdRect = QRect(4, 34, 232, 46);
    d.v = {
        {"mini_win", {166, 5, 22, 22}},
        {"H_win", {190, 5, 22, 22}},
        {"exit_win", {214, 5, 22, 22}},
        {"time_win", {108, 37, 14, 20}},
        {"play_display_win", {186, 38, 46, 18}},
        {"title_win", {20, 61, 200, 16}},
        {"posbar", {8, 85, 224, 10}},
        {"pos_A", {23, 104, 22, 20}},
        {"prev", {51, 101, 30, 26}},
        {"play", {85, 99, 36, 30}},
        {"stop", {125, 101, 30, 26}},
        {"next", {159, 101, 30, 26}},
        {"pos_B", {195, 104, 22, 20}},
        {"VL_BTN", {24, 137, 68, 12}},
        {"audio3d_btn", {98, 135, 30, 16}},
        {"bassbooster", {130, 135, 36, 16}},
        {"btn_lrcwin", {170, 135, 32, 16}},
        {"btn_eqwin", {204, 135, 32, 16}},
        // The playlist panel never closes here, so it has no tab.
        {"btn_plistwin", {0, 0, 0, 0}},
        // Playlist panel, always open.
        {"plist_Bar", {224, 160, 12, 60}},
        {"OP_BTN", {6, 222, 40, 14}},
        {"plist_BTN", {50, 222, 40, 14}},
        {"shuf_BTN", {150, 222, 40, 14}},
        {"repeat_BTN", {194, 222, 40, 14}},
        // Lyric panel, sharing the lower area with the equalizer.
        {"lrcwin_show", {0, 240, 240, 56}},
        {"showlrc_BTN", {6, 300, 40, 16}},
        {"textcodec_BTN", {50, 300, 40, 16}},
        {"font_BTN", {94, 300, 40, 16}},
        {"color_BTN", {138, 300, 40, 16}},
        // Equalizer panel.
        {"EQE_BTN", {6, 241, 34, 16}},
        {"presets_BTN", {44, 241, 42, 16}},
        {"EQ_BTN_ZERO", {90, 241, 30, 16}},
        {"eqalzr_win", {126, 239, 108, 20}},
        {"EQ", {44, 261, 12, 58}},
        {"EQ_Preamp", {22, 261, 14, 58}},
    };
    d.speaker = QRect(6, 135, 16, 16);
    d.plistY = 156;
    d.plistH = 82;
    d.lrcY = d.eqY = 238;
    d.lrcH = d.eqH = 82;
    d.eqPitch = 18;

    d.h = {
        {"H_mini_win", {232, 5, 24, 24}},  {"V_win_btn", {260, 5, 24, 24}},
        {"H_exit_win", {288, 5, 24, 24}},  {"H_pos_A", {8, 43, 26, 14}},
        {"H_pos_B", {38, 43, 26, 14}},     {"H_posbar", {10, 186, 300, 10}},
        {"H_prev", {10, 206, 32, 28}},     {"H_play", {46, 202, 36, 34}},
        {"H_stop", {86, 206, 32, 28}},     {"H_next", {122, 206, 32, 28}},
        {"H_VL_BTN", {212, 214, 100, 12}},
    };
    d.hSpeaker = QRect(190, 211, 16, 16);
    return d;
}
