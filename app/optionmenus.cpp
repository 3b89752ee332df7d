#include "app/optionmenus.h"

#include "dropin/kconfig.h"
#include "dropin/settingsnames.h"
#include "lyrics/textdecoder.h"

#include <QAction>
#include <QMenu>
#include <QWidget>

using M = OptionMenus::Menu;
using K = OptionMenus::Kind;
using F = OptionMenus::File;

// In the order the entries show.
const OptionMenus::Row OptionMenus::kRows[] = {
    {M::Font, 0, "12", K::OneOf},
    {M::Font, 1, "14", K::OneOf},
    {M::Font, 2, "16", K::OneOf},
    {M::Font, 3, "18", K::OneOf},
    {M::Font, 4, "21", K::OneOf},
    {M::Playlist, 0, "Edit List", K::Action},
    {M::Audio, 1, "Mute", K::Toggle, F::FrontEnd, "OPTION", "nosound"},
    {M::Audio, 3, "3-D", K::Toggle, F::Player, "OSS", "ezx_audio_3d"},
    {M::Audio, 4, "Bass", K::Toggle, F::Player, "OSS", "ezx_bass_booster", true},
    {M::Audio, 5, "Left", K::OneOrNone, F::FrontEnd, "OPTION", "Lstereo"},
    {M::Audio, 6, "Right", K::OneOrNone, F::FrontEnd, "OPTION", "Rstereo"},
    {M::Audio, 7, "Karaoke", K::Toggle, F::FrontEnd, "OPTION", "karaoke"},
    {M::Video, 1, "Scalable", K::OneOf, F::FrontEnd, "OPTION", "Tspeed"},
    {M::Video, 2, "Full Screen", K::OneOf, F::FrontEnd, "OPTION", "crop"},
    {M::Video, 3, "Actual screen", K::OneOf, F::FrontEnd, "OPTION", "scale"},
    {M::Video, 4, "Verical", K::OneOf, F::FrontEnd, "OPTION", "speed"},
    {M::Video, 5, "avi sinc", K::Toggle, F::FrontEnd, "OPTION", "nedtc"},
    {M::Light, 1, "Software", K::OneOf, F::None, nullptr, nullptr, true},
    {M::Light, 2, "Auto", K::OneOf},
    {M::Light, 3, "Long-Auto", K::OneOf},
    {M::Option, 1, "Button", K::Action},
    {M::Option, 2, "use ORBAL", K::Toggle, F::FrontEnd, "tvskin", "Enxmms"},
    {M::Option, 3, "use Wire", K::Toggle, F::FrontEnd, "tvskin", "sltfwd"},
    {M::Main, 1, "Audio Setting", K::Submenu, F::None, nullptr, nullptr, false, M::Audio},
    {M::Main, 2, "Video Setting", K::Submenu, F::None, nullptr, nullptr, false, M::Video},
    {M::Main, 3, "Lights", K::Submenu, F::None, nullptr, nullptr, false, M::Light},
    {M::Main, 4, "Background", K::Action},
    {M::Main, 6, "Skins", K::Submenu, F::None, nullptr, nullptr, false, M::Skin},
    {M::Main, 7, "Kerfa", K::Action},
    {M::Main, 8, "Advansed", K::Submenu, F::None, nullptr, nullptr, false, M::Option},
    {M::Main, 0, "", K::Separator},
    {M::Main, OptionMenus::kAbout, "About", K::Action},
    {M::Main, OptionMenus::kExit, "Exit", K::Action},
};

OptionMenus::Rows OptionMenus::rows()
{
    return {std::begin(kRows), std::end(kRows)};
}

namespace
{

bool checkable(OptionMenus::Kind kind)
{
    return kind == K::Toggle || kind == K::OneOf || kind == K::OneOrNone;
}

bool grouped(OptionMenus::Kind kind)
{
    return kind == K::OneOf || kind == K::OneOrNone;
}

const OptionMenus::Row *rowOf(OptionMenus::Menu menu, int id)
{
    for (const OptionMenus::Row &row : OptionMenus::kRows)
        if (row.menu == menu && row.id == id && row.kind != K::Separator)
            return &row;
    return nullptr;
}

} // namespace

OptionMenus::OptionMenus(QWidget *window, const QString &appDir) : QObject(window), m_appDir(appDir)
{
    for (QMenu *&menu : m_menus)
        menu = new QMenu(window);
    // Each file read once for all the start check marks.
    KConfig frontEnd(settings::frontEndFile(appDir), true);
    KConfig player(settings::playerFile(appDir), true);
    // Submenus are built before the rows that open them: rows run in the menus' order
    // (the main menu last).
    for (const Row &row : kRows) {
        QMenu *into = menu(row.menu);
        if (row.kind == K::Separator) {
            into->addSeparator();
            continue;
        }
        QAction *action =
            row.kind == K::Submenu ? into->addMenu(menu(row.submenu)) : into->addAction(QString());
        action->setText(TextDecoder::decodeText(QByteArray(row.text)));
        if (row.id >= 0)
            action->setData(row.id);
        action->setCheckable(checkable(row.kind));
        if (!checkable(row.kind))
            continue;
        bool on = row.startOn;
        if (row.key) {
            KConfig &config = row.file == F::Player ? player : frontEnd;
            config.setGroup(QLatin1String(row.group));
            on = config.readBoolEntry(QLatin1String(row.key), row.startOn);
        }
        action->setChecked(on);
    }
    for (size_t i = 0; i < m_menus.size(); ++i) {
        const Menu which = Menu(i);
        QMenu *source = m_menus[i];
        connect(source, &QMenu::triggered, this, [this, which, source](QAction *action) {
            // A submenu's choices travel up through its parents too: only a menu's own
            // entries count, and a submenu entry itself is no choice.
            if (!source->actions().contains(action) || action->menu())
                return;
            if (action->data().isValid()) {
                emit chosen(which, action->data().toInt());
                return;
            }
            for (const Row &row : kRows)
                if (row.menu == which && row.id < 0 &&
                    action->text() == TextDecoder::decodeText(QByteArray(row.text)))
                    emit chosen(which, row.id);
        });
    }
}

QString OptionMenus::fileOf(const Row &row) const
{
    return row.file == F::Player ? settings::playerFile(m_appDir)
                                 : settings::frontEndFile(m_appDir);
}

QAction *OptionMenus::item(QMenu *menu, int id)
{
    if (!menu)
        return nullptr;
    for (QAction *a : menu->actions())
        if (a->data().isValid() && a->data().toInt() == id)
            return a;
    return nullptr;
}

void OptionMenus::setChecked(Menu which, int id, bool on)
{
    if (QAction *a = item(menu(which), id))
        a->setChecked(on);
}

bool OptionMenus::isChecked(Menu which, int id) const
{
    const QAction *a = item(menu(which), id);
    return a && a->isChecked();
}

bool OptionMenus::apply(Menu which, int id)
{
    const Row *chosenRow = rowOf(which, id);
    if (!chosenRow || !checkable(chosenRow->kind))
        return false;
    // One store for the group's keys (all in one file), written once.
    KConfig config(chosenRow->key ? fileOf(*chosenRow) : QString(), !chosenRow->key);
    bool on = true;
    if (chosenRow->kind == K::Toggle) {
        // The setting's own value decides, so a file changed behind the menu still toggles.
        if (chosenRow->key) {
            config.setGroup(QLatin1String(chosenRow->group));
            on = !config.readBoolEntry(QLatin1String(chosenRow->key), chosenRow->startOn);
        } else {
            on = !isChecked(which, id);
        }
    } else if (chosenRow->kind == K::OneOrNone) {
        on = !isChecked(which, id);
    }
    for (const Row &row : kRows) {
        const bool self = &row == chosenRow;
        if (row.menu != which ||
            !(self || (grouped(chosenRow->kind) && row.kind == chosenRow->kind)))
            continue;
        // In a OneOrNone group an unchecked row's key is left as it is.
        const bool value = self ? on : false;
        if (!self && chosenRow->kind == K::OneOrNone && !on)
            continue;
        setChecked(which, row.id, value);
        if (!row.key)
            continue;
        config.setGroup(QLatin1String(row.group));
        config.writeEntry(QLatin1String(row.key), value);
    }
    return on;
}

void OptionMenus::replaceItems(Menu which, int firstId, const QStringList &names)
{
    QMenu *into = menu(which);
    for (QAction *a : into->actions()) {
        if (a->data().isValid() && a->data().toInt() >= firstId) {
            into->removeAction(a);
            delete a;
        }
    }
    for (int i = 0; i < names.size(); ++i)
        into->addAction(names.at(i))->setData(firstId + i);
}

void OptionMenus::setSkins(const QStringList &names)
{
    replaceItems(Menu::Skin, 1, names);
}

void OptionMenus::setSavedLists(const QStringList &names)
{
    replaceItems(Menu::Playlist, 1, names.mid(0, 7));
}
