// The window's popup menus as one table: a row per entry (menu, id, text, kind, and for the
// entries that keep a setting its file, group and key). Building the menus, their start
// check marks and the settings written when an entry is chosen all come from the rows; the
// window handles what an entry does beyond its setting (switching the player, dialogs, the
// backlight, the mixer).
#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <array>

class QAction;
class QMenu;
class QWidget;

class OptionMenus : public QObject
{
    Q_OBJECT
public:
    enum class Menu { Font, Playlist, Skin, Light, Option, Audio, Video, Main, Count };
    enum class Kind {
        Action,    // does something, no check mark
        Toggle,    // a check mark kept in a boolean key
        OneOf,     // one of the menu's OneOf rows is checked (its key true, the others false)
        OneOrNone, // as OneOf, but choosing the checked row unchecks it
        Submenu,   // opens another menu
        Separator,
    };
    enum class File { None, FrontEnd, Player };
    struct Row {
        Menu menu;
        int id; // negative: an entry without an id (About, Exit)
        const char *text;
        Kind kind;
        File file = File::None;
        const char *group = nullptr;
        const char *key = nullptr;
        bool startOn = false; // the check mark when the key is absent
        Menu submenu = Menu::Main;
    };
    static const Row kRows[];
    // Every row, for a range-for outside this unit.
    struct Rows {
        const Row *first;
        const Row *last;
        const Row *begin() const { return first; }
        const Row *end() const { return last; }
    };
    static Rows rows();
    // The main menu's two entries without an id.
    static constexpr int kAbout = -1;
    static constexpr int kExit = -2;

    // Builds every menu and reads the start check marks from the settings files.
    OptionMenus(QWidget *window, const QString &appDir);

    QMenu *menu(Menu which) const { return m_menus[size_t(which)]; }
    // The entry with this id in the menu, or null.
    static QAction *item(QMenu *menu, int id);
    void setChecked(Menu menu, int id, bool on);
    bool isChecked(Menu menu, int id) const;

    // The check marks and settings of choosing the entry: a Toggle flips, a OneOf row is
    // checked and the rest of its group unchecked, each key written and its file saved at
    // once. Whether the entry is checked afterwards.
    bool apply(Menu menu, int id);

    // The skin menu's entries (ids from 1) and the playlist menu's saved lists (ids 1-7,
    // after "Edit List").
    void setSkins(const QStringList &names);
    void setSavedLists(const QStringList &names);

signals:
    // An entry was chosen (About and Exit with kAbout / kExit).
    void chosen(OptionMenus::Menu menu, int id);

private:
    QString fileOf(const Row &row) const;
    void replaceItems(Menu menu, int firstId, const QStringList &names);

    QString m_appDir;
    std::array<QMenu *, size_t(Menu::Count)> m_menus{};
};
