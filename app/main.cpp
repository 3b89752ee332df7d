// orbal: the skinned music and video player. No options; everything is in the settings
// files under the working directory.
#include "app/mainface.h"
#include "platform/zapplication.h"

int main(int argc, char **argv)
{
    ZApplication app(argc, argv, ZApplication::GuiClient);
    auto *face = new MainFace(); // deletes itself when closed
    app.showMainWidget(face);
    face->show();
    return app.exec();
}
