#include "platform/mediaplayer.h"

#include <QFileInfo>
#include <QProcess>

namespace
{
QString g_program = QStringLiteral("mplayer");
}

void platform::setMediaPlayerProgram(const QString &program)
{
    g_program = program;
}

bool platform::playMedia(const QString &file)
{
    // An absolute path can never be mistaken for an option.
    const QString path = QFileInfo(file).absoluteFilePath();
    return QProcess::startDetached(g_program, {QStringLiteral("-really-quiet"), path});
}
