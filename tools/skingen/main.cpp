// skingen: writes the shipped skins, and composes preview pictures of a skin folder.
//   skingen <skins folder>                      write "default" and "ivory" into it
//   skingen --preview <skin folder> <out folder>  compose the window forms into PNGs
//   skingen --icons <folder>                     write the program's icons
#include "appicon.h"
#include "skinbuilder.h"
#include "skinpreview.h"

#include <QFileInfo>
#include <QGuiApplication>

#include <cstdio>

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.size() == 3 && args.at(0) == QLatin1String("--preview")) {
        SkinPreview preview;
        if (!preview.load(args.at(1))) {
            std::fprintf(stderr, "skingen: %s is not a skin folder\n", qPrintable(args.at(1)));
            return 1;
        }
        return preview.writeAll(args.at(2), QFileInfo(args.at(1)).fileName()) ? 0 : 1;
    }
    if (args.size() == 2 && args.at(0) == QLatin1String("--icons"))
        return writeAppIcons(args.at(1)) ? 0 : 1;
    if (args.size() != 1) {
        std::fprintf(stderr, "usage: skingen skins-folder\n"
                             "       skingen --preview skin-folder out-folder\n"
                             "       skingen --icons folder\n");
        return 2;
    }
    // Absolute: the settings store takes a relative name under the home folder.
    const QString folder = QFileInfo(args.at(0)).absoluteFilePath();
    bool ok = SkinBuilder(defaultDesign()).write(folder + "/default", true);
    ok = SkinBuilder(ivoryDesign()).write(folder + "/ivory", false) && ok;
    if (!ok)
        std::fprintf(stderr, "skingen: could not write the skins into %s\n",
                     qPrintable(args.at(0)));
    return ok ? 0 : 1;
}
