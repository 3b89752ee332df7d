// The two lyric colour choices: the colour dialog, starting at the saved colour, and the
// settings write of "lrccolor" / "lrcbcolor" (group `tvskin` of ".xmms/tavrin_cfg"). The
// main window then recolours the swatch, reloads its settings and repaints.
#pragma once

#include <QColor>
#include <QPalette>
#include <QString>

class QWidget;

enum class LyricColorRole {
    CurrentLine, // "lrccolor", swatch "opendlg"
    OtherLines,  // "lrcbcolor", swatch "opendlg1"
};

class LyricColorChooser
{
public:
    static constexpr const char *kDefaultColor = "#C8C8C8";

    static QString settingsKey(LyricColorRole role);
    static QString swatchName(LyricColorRole role);
    // Settings file of the front-end, under the application directory.
    static QString settingsPath(const QString &appDir);

    // The saved colour of the role ("#C8C8C8" when absent).
    static QColor savedColor(const QString &appDir, LyricColorRole role);
    // Shows the standard colour dialog at the saved colour. A confirmed valid colour is
    // written under the role's key ("#rrggbb") and the file synced at once, then returned;
    // a cancel returns an invalid colour and writes nothing.
    static QColor choose(const QString &appDir, LyricColorRole role, QWidget *parent = nullptr);

    // The swatch button's palette: the colour on white.
    static QPalette swatchPalette(const QColor &color);
};
