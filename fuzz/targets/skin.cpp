#include "skin/skin.h"
#include "fuzz/support.h"
#include "fuzz/targets.h"

#include <cstdlib>

int orbalfuzz::skin(const uint8_t *data, size_t size)
{
    ensureApp();
    static const QString appDir = [] {
        const QString dir = scratch(QStringLiteral("skinapp"));
        scratch(QStringLiteral("skinapp/skins/fuzz"));
        return dir;
    }();
    writeFile(appDir + QStringLiteral("/skins/fuzz/skins.conf"), bytesOf(data, size));
    Skin skin;
    FUZZ_CHECK(skin.load(appDir, QStringLiteral("fuzz")));
    for (int k = 0; k < Skin::KeyCount; ++k) {
        const Skin::List &list = skin[Skin::Key(k)];
        for (int i = -1; i <= list.size(); ++i)
            FUZZ_CHECK(std::abs(list[i]) <= Skin::maxNumber);
        // Hit tests at the corners and the middle, as pointer input makes them.
        const QRect r = list.rect();
        list.contains(r.left(), r.top());
        list.contains(r.center().x(), r.center().y());
        list.source();
        list.knob();
        skin.items(Skin::Key(k));
    }
    FUZZ_CHECK(std::abs(skin.mwinY()) <= Skin::maxNumber);
    FUZZ_CHECK(std::abs(skin.mwinH()) <= Skin::maxNumber);
    skin.eqMidY();
    skin.volTravel();
    skin.hVolTravel();
    skin.visibleRows();
    skin.titleColor();
    skin.playlistTextColor();
    return 0;
}
