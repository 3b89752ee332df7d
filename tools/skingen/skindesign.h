// What differs between the shipped skins: the palette, the shapes and the layout. The
// builder turns one design into a complete skin folder.
#pragma once

#include <QColor>
#include <QMap>
#include <QRect>
#include <QString>

struct SkinDesign {
    QString name;

    // Palette.
    QColor bgTop, bgBottom;          // window body gradient
    QColor barTop, barBottom;        // top bar
    QColor panel, panelEdge;         // raised panels
    QColor inset, insetEdge;         // sunken areas: list, lyric area, grooves
    QColor lcd, lcdEdge, lcdGhost;   // displays (time, title, mini digits)
    QColor lcdText;                  // digits and meters
    QColor accent, accentDim;        // on-state lights, fills
    QColor warm;                     // second accent: pause, B mark, meter peaks
    QColor faceTop, faceBottom;      // button faces
    QColor faceEdge, facePressed;    // button border, pressed face
    QColor icon, iconPressed;        // button glyphs
    QColor label;                    // small printed labels on the body
    QString titleColour, listColour; // "title_win"[6], "plist_Bar"[10]

    qreal radius = 4;       // corner radius of faces and panels
    bool dotMatrix = false; // digits as 5 x 7 dots instead of seven segments
    bool garland = false;   // lights as a bulb garland instead of LED meters

    // Vertical window (240 x 320): destination rectangles by description key.
    QMap<QString, QRect> v;
    int plistY = 0, plistH = 0; // panel strips
    int lrcY = 0, lrcH = 0;
    int eqY = 0, eqH = 0;
    QRect lcdRect; // the display behind time, title, state and lights
    QRect speaker; // speaker symbol left of the volume slider
    int eqPitch = 18;
    bool winEnabled = true;

    // Horizontal window, in the 320 x 240 layout before it is turned onto the screen.
    QMap<QString, QRect> h;
    int hTopH = 60, hBottomY = 180; // panels end where the lyric band (y 60-180) begins
    QRect hSpeaker;
};

SkinDesign defaultDesign();
SkinDesign ivoryDesign();
