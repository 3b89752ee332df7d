#include "standins/xmms/mplayerlaunch.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <unistd.h>

namespace MplayerLaunch
{

QString program()
{
    const QFileInfo local(QDir::current().filePath(QStringLiteral("mplayer")));
    if (local.isFile() && local.isExecutable())
        return local.absoluteFilePath();
    return QStringLiteral("mplayer");
}

QString pathArgument(const QByteArray &path)
{
    const QString name = QFile::decodeName(path);
    if (QFile::encodeName(name) == path)
        return name;
    static QTemporaryDir links;
    static int serial = 0;
    if (!links.isValid())
        return name;
    const QString link = links.filePath(QStringLiteral("entry%1").arg(++serial));
    if (::symlink(path.constData(), QFile::encodeName(link).constData()) != 0)
        return name;
    return link;
}

QStringList commonArguments()
{
    return {QStringLiteral("-slave"),
            QStringLiteral("-quiet"),
            QStringLiteral("-identify"),
            QStringLiteral("-nolirc"),
            QStringLiteral("-noconsolecontrols"),
            QStringLiteral("-vo"),
            QStringLiteral("null")};
}

} // namespace MplayerLaunch
