// The program's icon: a teal orb with a white play sign, written as SVG and drawn by the
// same geometry into PNGs of the sizes the desktop asks for.
#pragma once

#include <QString>

// Writes orbal.svg, orbal-48.png and orbal-256.png into `dir`.
bool writeAppIcons(const QString &dir);
