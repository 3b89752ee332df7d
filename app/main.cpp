// orbal: the skinned music and video player. Everything it keeps is in the settings files
// under its application folder.
#include "app/appfolder.h"
#include "app/commandline.h"
#include "app/mainface.h"
#include "platform/zapplication.h"

#include <QDir>
#include <QtGlobal>
#include <cstdio>

int main(int argc, char **argv)
{
    const CommandLine line = CommandLine::parse(argc, argv);
    switch (line.action()) {
    case CommandLine::Action::Help:
        std::fputs(CommandLine::usage(), stdout);
        return 0;
    case CommandLine::Action::Version:
        std::fputs(CommandLine::version(), stdout);
        return 0;
    case CommandLine::Action::Error:
        std::fprintf(stderr, "orbal: %s\n", line.error().c_str());
        std::fputs(CommandLine::usage(), stderr);
        return 2;
    case CommandLine::Action::Run:
        break;
    }

    // A 240 x 320 window repainting small pieces a few times a second: plain image requests
    // cost less than shared memory, which takes a round trip to the X server before each paint.
    if (!qEnvironmentVariableIsSet("QT_XCB_NO_MITSHM"))
        qputenv("QT_XCB_NO_MITSHM", "1");
    ZApplication app(argc, argv, ZApplication::GuiClient);

    // Started outside an application folder (from the desktop menu, say): the user's own.
    if (!AppFolder::isAppFolder(QDir::currentPath())) {
        const AppFolder::Installed installed =
            AppFolder::installedFrom(QCoreApplication::applicationDirPath());
        if (!installed.isValid()) {
            std::fprintf(stderr,
                         "orbal: %s is no application folder (it has no skins folder) and no "
                         "installed skins were found\n",
                         qPrintable(QDir::currentPath()));
            return 1;
        }
        const QString folder = AppFolder::userFolder();
        QString error;
        if (!AppFolder::prepare(folder, installed, AppFolder::musicFolder(), &error) ||
            !QDir::setCurrent(folder)) {
            std::fprintf(
                stderr, "orbal: %s\n",
                qPrintable(error.isEmpty() ? QStringLiteral("cannot enter ") + folder : error));
            return 1;
        }
    }

    auto *face = new MainFace(); // deletes itself when closed
    app.showMainWidget(face);
    face->show();
    return app.exec();
}
