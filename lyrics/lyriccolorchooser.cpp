#include "lyrics/lyriccolorchooser.h"

#include "dropin/kconfig.h"
#include "dropin/settingsnames.h"
#include "lyrics/lyriccolordialog.h"
#include "platform/logging.h"

namespace
{

struct RoleRow {
    LyricColorRole role;
    const char *key;
    const char *swatch;
};
constexpr RoleRow kRoles[] = {
    {LyricColorRole::CurrentLine, "lrccolor", "opendlg"},
    {LyricColorRole::OtherLines, "lrcbcolor", "opendlg1"},
};

const RoleRow &rowFor(LyricColorRole role)
{
    return role == LyricColorRole::OtherLines ? kRoles[1] : kRoles[0];
}

const QString kGroup = settings::kTvSkin;

} // namespace

QString LyricColorChooser::settingsKey(LyricColorRole role)
{
    return QLatin1String(rowFor(role).key);
}

QString LyricColorChooser::swatchName(LyricColorRole role)
{
    return QLatin1String(rowFor(role).swatch);
}

QString LyricColorChooser::settingsPath(const QString &appDir)
{
    return settings::frontEndFile(appDir);
}

QColor LyricColorChooser::savedColor(const QString &appDir, LyricColorRole role)
{
    // Read-only: the file must not be rewritten while the dialog is up.
    KConfig config(settingsPath(appDir), true);
    config.setGroup(kGroup);
    return QColor(config.readEntry(settingsKey(role), QLatin1String(kDefaultColor)));
}

QColor LyricColorChooser::choose(const QString &appDir, LyricColorRole role, QWidget *parent)
{
    LyricColorDialog dialog(savedColor(appDir, role), parent);
    dialog.setObjectName(swatchName(role) + QStringLiteral("_dialog"));
    if (dialog.exec() != QDialog::Accepted)
        return QColor();
    const QColor color = dialog.selectedColor();
    if (!color.isValid())
        return QColor();
    KConfig config(settingsPath(appDir));
    config.setGroup(kGroup);
    config.writeEntry(settingsKey(role), color.name());
    config.sync();
    qCDebug(lcLyrics).noquote() << settingsKey(role) << color.name();
    return color;
}

QPalette LyricColorChooser::swatchPalette(const QColor &color)
{
    return QPalette(color, Qt::white);
}
