#include "app/appfolder.h"

#include "playlist/playlistfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace
{

// A name that is already there, as a file, a folder or a link (even a broken one), is the
// user's: left alone.
bool taken(const QString &path)
{
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

void linkIfFree(const QString &target, const QString &link)
{
    if (!target.isEmpty() && QFileInfo::exists(target) && !taken(link))
        QFile::link(target, link);
}

} // namespace

bool AppFolder::isAppFolder(const QString &dir)
{
    return QFileInfo(dir + QStringLiteral("/skins")).isDir();
}

AppFolder::Installed AppFolder::installedFrom(const QString &programDir)
{
    Installed found;
    const QDir prefix(programDir + QStringLiteral("/.."));
    const QString share = QDir::cleanPath(prefix.absoluteFilePath(QStringLiteral("share/orbal")));
    if (!QFileInfo(share + QStringLiteral("/skins")).isDir())
        return found;
    found.share = share;
    found.helpers = QDir::cleanPath(prefix.absoluteFilePath(QStringLiteral("lib/orbal")));
    found.bin = QDir::cleanPath(programDir);
    return found;
}

QString AppFolder::userFolder()
{
    QString data = qEnvironmentVariable("XDG_DATA_HOME");
    if (data.isEmpty() || !QDir::isAbsolutePath(data))
        data = QDir::homePath() + QStringLiteral("/.local/share");
    return data + QStringLiteral("/orbal");
}

QString AppFolder::musicFolder()
{
    const QString music = QStandardPaths::writableLocation(QStandardPaths::MusicLocation);
    if (!music.isEmpty() && music != QDir::homePath())
        return music;
    return QDir::homePath() + QStringLiteral("/Music");
}

bool AppFolder::prepare(const QString &folder, const Installed &from, const QString &music,
                        QString *error)
{
    QDir dir;
    for (const char *sub : {"", "/skins", "/bin", "/kerfa", "/.xmms", "/mmc"}) {
        if (!dir.mkpath(folder + QLatin1String(sub))) {
            *error = QStringLiteral("cannot make %1").arg(folder + QLatin1String(sub));
            return false;
        }
    }
    // Each installed skin on its own, so the user's skins sit beside them.
    const QDir skins(from.share + QStringLiteral("/skins"));
    for (const QString &skin : skins.entryList(QDir::Dirs | QDir::NoDotAndDotDot))
        linkIfFree(skins.filePath(skin), folder + QStringLiteral("/skins/") + skin);
    linkIfFree(from.helpers + QStringLiteral("/xmms"), folder + QStringLiteral("/bin/xmms"));
    linkIfFree(QStandardPaths::findExecutable(QStringLiteral("mplayer")),
               folder + QStringLiteral("/mplayer"));
    linkIfFree(from.helpers + QStringLiteral("/mp3asm"), folder + QStringLiteral("/kerfa/mp3asm"));
    linkIfFree(from.bin + QStringLiteral("/vellum"), folder + QStringLiteral("/kerfa/vellum"));
    linkIfFree(QStandardPaths::findExecutable(QStringLiteral("mp3gain")),
               folder + QStringLiteral("/kerfa/mp3gain"));
    linkIfFree(from.share + QStringLiteral("/readme"), folder + QStringLiteral("/readme"));
    const QDir pictures(from.share + QStringLiteral("/kerfa"));
    for (const QString &picture : pictures.entryList(QDir::Files))
        linkIfFree(pictures.filePath(picture), folder + QStringLiteral("/kerfa/") + picture);

    // The playlist menu's lists and the editor's (kept in the home folder) are one folder.
    const QString saved = QDir::homePath() + QStringLiteral("/playlist");
    if (!taken(folder + QStringLiteral("/playlist"))) {
        dir.mkpath(saved);
        linkIfFree(saved, folder + QStringLiteral("/playlist"));
    }
    // The memory card is the music folder.
    dir.mkpath(music);
    linkIfFree(music, folder + QStringLiteral("/mmc/mmca1"));

    // A first start plays the music folder, as the folder button would make it.
    const QString list = PlaylistFile::playerListPath(folder);
    if (!taken(list))
        PlaylistFile::rebuildFromDirectory(music, list);
    return true;
}
