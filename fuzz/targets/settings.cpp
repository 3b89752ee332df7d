#include "dropin/kconfig.h"
#include "dropin/kconfigbackend.h"
#include "fuzz/support.h"
#include "fuzz/targets.h"

int orbalfuzz::settings(const uint8_t *data, size_t size)
{
    KConfigBackend store{QString()};
    store.parseBytes(bytesOf(data, size));
    // Every value through the typed readers' conversions.
    for (const QString &group : store.groupList()) {
        store.setGroup(group);
        const KEntryMap entries = store.entryMap();
        for (auto e = entries.cbegin(); e != entries.cend(); ++e) {
            KConfig::toNum(e.value());
            KConfig::toBool(e.value());
            FUZZ_CHECK(store.hasKey(e.key()));
        }
    }
    // What a store writes reads back as the same store: settings survive any number of
    // rewrites unchanged.
    const QByteArray written = store.serialize();
    KConfigBackend again{QString()};
    again.parseBytes(written);
    FUZZ_CHECK(again.serialize() == written);
    return 0;
}
