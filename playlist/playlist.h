// The playlist editor: shows the entries of one playlist file, adds songs picked from
// the memory card, deletes entries, saves the list as a named preset in the home
// directory's "playlist" folder, loads a preset into the list and deletes presets.
// In xmms mode (setting "Enxmms") every save of the edited file stops xmms around the
// write and starts it again. Ok in normal mode hides the dialog and emits
// playlistCmd(); the owner then asks currentEntry() what to play.
#pragma once

#include <QDialog>
#include <QStringList>
#include <optional>

class MyPlayList;
class QAction;
class QLabel;
class QMenu;
class QPushButton;
class XMMSPlayer;
class ZMultiLineEdit;

class PlayList : public QDialog
{
    Q_OBJECT
public:
    enum Mode { Normal = 0, Adding = 1, Deleting = -1 };
    // Menu ids, in menu order, as menuSelect() takes them.
    enum MenuId {
        SelectAll,
        UnselectAll,
        ReverseSelect,
        AddSongs,
        DelSongs,
        IntoList,
        SaveAsPreset,
        DeleteList,
        MenuIdCount
    };
    PlayList(QWidget *parent, const QString &listFile);

    // Shows the dialog in normal mode: 0; when it is already visible only raises it: -1.
    // The first call after construction shows the rows the constructor read; later calls
    // reread the file. (QDialog::open() is taken: it returns nothing.)
    int openList();
    // The same as openList(), for callers that hold a QDialog.
    void open() override;
    // The entry chosen when Ok closed the dialog (the first when that one is gone);
    // its index, or -1 with `path` untouched when the list is empty.
    int currentEntry(QString &path);

    int mode() const { return m_mode; }
    QStringList files() const { return m_files; }
    QString listFile() const { return m_listFile; }
    MyPlayList *list() const { return m_list; }
    ZMultiLineEdit *nameEdit() const { return m_nameEdit; }
    QAction *menuAction(MenuId id) const { return m_actions[id]; }
    QPushButton *okButton() const { return m_okButton; }
    // The presets' folder: the home directory's "playlist".
    static QString presetDir();

public slots:
    void menuSelect(int id);
    void doShowPopup();
    void hideWithOk();
    void hideWithCancel();
    void savelist();

signals:
    void playlistCmd();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // Entering Normal shows the edited file read again, or m_files as they are when
    // `reread` is false (they were just saved).
    void setMode(int mode, bool reread = true);
    // The player mode and adapter as they are now: the dialog outlives switches of mode.
    void followPlayerMode();
    bool loadList(const QString &path);
    // Rereads the edited file; when it cannot be read the rows show m_files.
    void reloadList();
    void showFiles();
    // Appends the selected rows' files that are not listed yet, showing progress in the
    // title while a long add runs.
    void addSelectedSongs();
    // False when the list could not be written.
    bool saveCurrentList();
    void enableEditing(bool normal);
    void showCurrent();
    // Runs the preset chooser: nothing when cancelled, else the file picked (empty when the
    // highlight was not on a file).
    std::optional<QString> choosePreset();

    QStringList m_files;
    int m_mode = Normal;
    QLabel *m_title;
    ZMultiLineEdit *m_nameEdit;
    MyPlayList *m_list;
    QString m_listFile;
    XMMSPlayer *m_xmms = nullptr;
    QMenu *m_menu;
    int m_current = 0;
    QAction *m_actions[MenuIdCount] = {};
    bool m_audioMode = false;
    QString m_appDir;
    QPushButton *m_menuButton;
    QPushButton *m_okButton;
    QPushButton *m_returnButton;
    // The rows still show the file as the constructor read it.
    bool m_rowsFromConstructor = false;
};
