// Where orbal runs. Its application folder is its working folder: one that already is an
// application folder (it has "skins/") is used as it is; otherwise the user's own folder
// under the data home ($XDG_DATA_HOME/orbal) is made on first start, filled with links to
// the installed programs, skins and pictures, and the card pointed at the music folder.
// What the user changed there is never overwritten.
#pragma once

#include <QString>

class AppFolder
{
public:
    // The installed files, found from the program's own folder (PREFIX/bin).
    struct Installed {
        QString share;   // PREFIX/share/orbal: skins/, kerfa/, readme
        QString helpers; // PREFIX/lib/orbal: xmms, mp3asm
        QString bin;     // PREFIX/bin: vellum
        bool isValid() const { return !share.isEmpty(); }
    };

    static bool isAppFolder(const QString &dir);
    // Nothing found (an uninstalled build): invalid.
    static Installed installedFrom(const QString &programDir);
    // $XDG_DATA_HOME/orbal, else ~/.local/share/orbal.
    static QString userFolder();
    // The user's music folder, else ~/Music.
    static QString musicFolder();

    // Makes and fills `folder`; false with a reason when it cannot be made.
    static bool prepare(const QString &folder, const Installed &from, const QString &music,
                        QString *error);
};
