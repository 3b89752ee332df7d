// orbal: the skinned music and video player. No options; everything is in the settings
// files under the working directory.
#include "app/mainface.h"
#include "platform/zapplication.h"

#include <QtGlobal>

int main(int argc, char **argv)
{
    // A 240 x 320 window repainting small pieces a few times a second: plain image requests
    // cost less than shared memory, which takes a round trip to the X server before each paint.
    if (!qEnvironmentVariableIsSet("QT_XCB_NO_MITSHM"))
        qputenv("QT_XCB_NO_MITSHM", "1");
    ZApplication app(argc, argv, ZApplication::GuiClient);
    auto *face = new MainFace(); // deletes itself when closed
    app.showMainWidget(face);
    face->show();
    return app.exec();
}
