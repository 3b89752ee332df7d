#include "playlist/playlist.h"

#include "audio/xmmsplayer.h"
#include "cutter/viewdialog.h"
#include "dropin/kconfig.h"
#include "dropin/settingsnames.h"
#include "platform/cardroot.h"
#include "platform/logging.h"
#include "platform/zmessagebox.h"
#include "platform/zmultilineedit.h"
#include "playlist/canonicalfiles.h"
#include "playlist/filebrowser.h"
#include "playlist/myplaylist.h"
#include "playlist/playerrestart.h"
#include "playlist/playlistfile.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QSet>
#include <cstdio>

namespace
{

// The editor's list shows songs only: the scan filter without the radio and AAC types.
constexpr const char *kListFilter = "*.mp3;*.ogg;*.wav;*.asf;*.au;*.avi;*.mpeg;*.mpg;*.mv1;"
                                    "*.wma;*.mov;*.wmv;*.ram;*.rm;*.rmvb;*.dat;*.3gp;*.mp4;"
                                    "*.m4a;*.flv";
// Characters a preset name may hold: none that a file name cannot.
constexpr const char *kNameChars = "[^\\n\\r?/<>\\\\:\"*]";

struct MenuRow {
    PlayList::MenuId id;
    const char *text;
};
constexpr MenuRow kMenu[] = {
    {PlayList::SelectAll, "Select All"},         {PlayList::UnselectAll, "UnSelect All"},
    {PlayList::ReverseSelect, "Revers Select"},  {PlayList::AddSongs, "Add Songs"},
    {PlayList::DelSongs, "Del Songs"},           {PlayList::IntoList, "Into the list"},
    {PlayList::SaveAsPreset, "List of preser."}, {PlayList::DeleteList, "Delete list"},
};

struct ModeRow {
    int mode;
    const char *okText;
};
constexpr ModeRow kModes[] = {
    {PlayList::Normal, "Ok"}, {PlayList::Adding, "Add"}, {PlayList::Deleting, "Delete"}};

QPushButton *button(const char *text, const QRect &geometry, QWidget *parent)
{
    auto *b = new QPushButton(QString::fromLatin1(text), parent);
    b->setGeometry(geometry);
    return b;
}
} // namespace

PlayList::PlayList(QWidget *parent, const QString &listFile)
    : QDialog(parent), m_appDir(QDir::currentPath())
{
    followPlayerMode();

    resize(240, 320);
    m_title = new QLabel(QStringLiteral("Edit List"), this);
    m_title->setGeometry(0, 0, 80, 25);

    m_nameEdit = new ZMultiLineEdit(this);
    m_nameEdit->setGeometry(80, 0, 160, 25);
    m_nameEdit->setFilter(QRegularExpression(QString::fromLatin1(kNameChars)), false);
    m_nameEdit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_nameEdit->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_nameEdit->installEventFilter(this);
    m_nameEdit->hide();

    m_list = new MyPlayList(QString::fromLatin1(kListFilter), this);
    m_list->setGeometry(0, 25, 240, 265);
    m_list->setFrameShape(QFrame::NoFrame);
    m_list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

    m_menu = new QMenu(this);
    for (const MenuRow &row : kMenu) {
        if (row.id == AddSongs)
            m_menu->addSeparator();
        QAction *action = m_menu->addAction(QString::fromLatin1(row.text));
        connect(action, &QAction::triggered, this, [this, id = row.id] { menuSelect(id); });
        m_actions[row.id] = action;
    }

    m_menuButton = button("Menu", QRect(0, 290, 80, 30), this);
    m_okButton = button("Ok", QRect(80, 290, 80, 30), this);
    m_returnButton = button("Return", QRect(160, 290, 80, 30), this);
    connect(m_menuButton, &QPushButton::clicked, this, &PlayList::doShowPopup);
    connect(m_okButton, &QPushButton::clicked, this, &PlayList::hideWithOk);
    connect(m_returnButton, &QPushButton::clicked, this, &PlayList::hideWithCancel);

    enableEditing(true);
    // A player list that does not exist yet is still the one to save to.
    m_listFile = listFile;
    reloadList();
    m_rowsFromConstructor = true;
}

void PlayList::followPlayerMode()
{
    KConfig config(settings::frontEndFile(m_appDir), true);
    config.setGroup(settings::kTvSkin);
    m_audioMode = config.readBoolEntry(settings::kXmmsMode, false);
    m_xmms = m_audioMode ? xmmsInstance : nullptr;
}

QString PlayList::presetDir()
{
    return QDir::homePath() + QStringLiteral("/playlist/");
}

bool PlayList::loadList(const QString &path)
{
    const std::optional<QStringList> entries = PlaylistFile::read(path);
    if (!entries)
        return false;
    m_listFile = path;
    m_files = *entries;
    showFiles();
    return true;
}

void PlayList::showFiles()
{
    QStringList names;
    names.reserve(m_files.size());
    for (const QString &file : m_files)
        names << file.mid(file.lastIndexOf(QLatin1Char('/')) + 1);
    m_list->showEntries(names);
}

void PlayList::reloadList()
{
    if (!loadList(m_listFile))
        showFiles();
}

void PlayList::enableEditing(bool normal)
{
    for (MenuId id : {AddSongs, DelSongs})
        m_actions[id]->setEnabled(normal);
    for (MenuId id : {SelectAll, UnselectAll, ReverseSelect})
        m_actions[id]->setEnabled(!normal);
}

void PlayList::showCurrent()
{
    if (m_current >= 0 && m_current < m_list->count())
        m_list->setCurrentRow(m_current, QItemSelectionModel::NoUpdate);
}

void PlayList::setMode(int mode, bool reread)
{
    const ModeRow *row = nullptr;
    for (const ModeRow &r : kModes)
        if (r.mode == mode)
            row = &r;
    if (!row)
        return;
    m_rowsFromConstructor = false;
    m_okButton->setText(QString::fromLatin1(row->okText));
    if (mode == Adding)
        m_list->setDir(platform::cardRoot());
    else if (reread)
        reloadList();
    else
        showFiles();
    enableEditing(mode == Normal);
    m_mode = mode;
    if (mode == Normal)
        showCurrent();
}

int PlayList::openList()
{
    if (isVisible()) {
        show();
        raise();
        return -1;
    }
    // The owner opens the dialog right after making it: a long list is read only once.
    if (m_rowsFromConstructor) {
        m_rowsFromConstructor = false;
        showCurrent();
    } else {
        setMode(Normal);
    }
    show();
    return 0;
}

void PlayList::open()
{
    openList();
}

int PlayList::currentEntry(QString &path)
{
    if (m_files.isEmpty())
        return -1;
    if (m_current < 0 || m_current >= m_files.size())
        m_current = 0;
    path = m_files.at(m_current);
    return m_current;
}

void PlayList::addSelectedSongs()
{
    const QList<int> rows = m_list->selectedRows();
    // A song is listed when an entry names the same file, however spelt: compare canonical
    // paths, each worked out once. Entries whose files are gone match nothing.
    CanonicalFiles canonicalOf;
    QSet<QString> listed;
    listed.reserve(m_files.size() + rows.size());
    for (const QString &known : m_files) {
        const QString canonical = canonicalOf.of(known);
        if (!canonical.isEmpty())
            listed.insert(canonical);
    }
    // The count is repainted a few times a second: more often, the repaints cost more than
    // the adding.
    constexpr int kProgressMs = 100;
    QElapsedTimer sinceProgress;
    sinceProgress.start();
    int done = 0;
    for (int row : rows) {
        std::fputs("mouse 1\n", stdout);
        const QString path = m_list->pathOf(m_list->item(row)->text());
        const QString canonical = canonicalOf.of(path);
        // A name holding a line break cannot be stored in the list: the rows would no
        // longer match the player's positions.
        if (!canonical.isEmpty() && PlaylistFile::storable(path) && !listed.contains(canonical)) {
            listed.insert(canonical);
            m_files << path;
        }
        ++done;
        if (sinceProgress.hasExpired(kProgressMs) && done < rows.size()) {
            sinceProgress.restart();
            m_title->setText(QStringLiteral("%1/%2").arg(done).arg(rows.size()));
            // Repaints and timers only: a tap now would act on a half-made list.
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        }
    }
    m_title->setText(QStringLiteral("Edit List"));
}

bool PlayList::saveCurrentList()
{
    // A list saved behind a running xmms would be overwritten by it when it quits; an xmms
    // started in mplayer mode would play beside mplayer.
    followPlayerMode();
    bool written = false;
    {
        // Stops xmms (when it drives this list) for the write and starts it afterwards.
        PlayerRestart restart(m_audioMode ? m_xmms : nullptr, m_appDir);
        QDir().mkpath(QFileInfo(m_listFile).absolutePath());
        written = PlaylistFile::write(m_listFile, m_files);
    }
    if (!written)
        qCWarning(lcPlaylist) << "could not save" << m_listFile;
    return written;
}

void PlayList::hideWithOk()
{
    switch (m_mode) {
    case Normal:
        m_current = m_list->currentRow();
        hide();
        m_list->showEntries({});
        emit playlistCmd();
        return;
    case Deleting:
        // Rows and entries only correspond while they are as many.
        if (m_files.size() == m_list->count()) {
            // One pass: removing rows one by one moves the rest of a long list each time.
            const QList<int> rows = m_list->selectedRows();
            QStringList kept;
            kept.reserve(m_files.size() - rows.size());
            auto next = rows.cbegin();
            for (int i = 0; i < m_files.size(); ++i) {
                if (next != rows.cend() && *next == i)
                    ++next;
                else
                    kept << m_files.at(i);
            }
            m_files = kept;
        }
        break;
    case Adding:
        addSelectedSongs();
        break;
    }
    // What was just written is what a read would give: a long list is not read again.
    const bool saved = saveCurrentList();
    setMode(Normal, !saved);
}

void PlayList::hideWithCancel()
{
    if (m_mode == Normal) {
        hide();
        m_list->showEntries({});
        return;
    }
    m_okButton->setText(QStringLiteral("Ok"));
    reloadList();
    enableEditing(true);
    m_mode = Normal;
    showCurrent();
}

void PlayList::menuSelect(int id)
{
    switch (id) {
    case SelectAll:
        m_list->selectAll();
        break;
    case UnselectAll:
        m_list->clearSelection();
        break;
    case ReverseSelect:
        m_list->invertSelection();
        break;
    case AddSongs:
        setMode(Adding);
        break;
    case DelSongs:
        setMode(Deleting);
        break;
    case IntoList: {
        const std::optional<QString> picked = choosePreset();
        if (!picked)
            break;
        // Nothing readable picked keeps the list and its file: the save below still runs.
        loadList(*picked);
        setMode(Normal, !saveCurrentList());
        break;
    }
    case SaveAsPreset:
        m_nameEdit->show();
        m_nameEdit->setFocus();
        break;
    case DeleteList: {
        const std::optional<QString> picked = choosePreset();
        if (!picked || picked->isEmpty() || !QFileInfo::exists(*picked))
            break;
        const QString question = QStringLiteral("Delete ?    [%1]This Play List?").arg(*picked);
        if (ZMessageBox::information(this, QPixmap(), question, QStringLiteral("Delete"),
                                     QStringLiteral("Cancel")) == 0)
            QFile::remove(*picked);
        break;
    }
    default:
        break;
    }
}

std::optional<QString> PlayList::choosePreset()
{
    QPointer<ViewDialog> chooser = new ViewDialog(this, QStringLiteral("*.m3u"), presetDir(), true);
    const bool accepted = chooser->exec() == QDialog::Accepted;
    // The dialog may have gone with its parent while it ran.
    if (!chooser)
        return std::nullopt;
    const QString picked = chooser->browser()->pickedFile();
    delete chooser;
    if (!accepted)
        return std::nullopt;
    return picked;
}

void PlayList::doShowPopup()
{
    const int y = m_menuButton->y() - m_menu->sizeHint().height();
    m_menu->popup(mapToGlobal(QPoint(0, y)));
}

void PlayList::savelist()
{
    // The filter guards typing and pasting; a name set any other way is filtered here.
    const QString name = m_nameEdit->filtered(m_nameEdit->text());
    const QString question = QStringLiteral("Save      [%1]Plyers outInput").arg(name);
    if (ZMessageBox::information(this, QPixmap(), question, QStringLiteral(""),
                                 QStringLiteral("Cancel")) == 0) {
        QDir().mkpath(presetDir());
        if (!PlaylistFile::write(presetDir() + name + QStringLiteral(".m3u"), m_files))
            qCWarning(lcPlaylist) << "could not save preset" << name;
    }
    m_nameEdit->hide();
}

bool PlayList::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_nameEdit && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            savelist();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}
