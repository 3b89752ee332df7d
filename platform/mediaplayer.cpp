#include "platform/mediaplayer.h"

#include <QFileInfo>
#include <QProcess>

namespace
{
QString g_program = QStringLiteral("mplayer");
constexpr int StartWaitMs = 5000;
} // namespace

void platform::setMediaPlayerProgram(const QString &program)
{
    g_program = program;
}

bool platform::playMedia(const QString &file, QObject *receiver, std::function<void()> ended)
{
    // Owned by nobody: the player plays on when its caller goes, and tidies itself up.
    auto *player = new QProcess;
    player->setProcessChannelMode(QProcess::ForwardedChannels);
    player->setProgram(g_program);
    // An absolute path can never be mistaken for an option.
    player->setArguments({QStringLiteral("-really-quiet"), QFileInfo(file).absoluteFilePath()});
    QObject::connect(player, &QProcess::finished, player, &QObject::deleteLater);
    if (receiver && ended)
        QObject::connect(player, &QProcess::finished, receiver, [ended] { ended(); });
    player->start();
    if (!player->waitForStarted(StartWaitMs)) {
        delete player;
        return false;
    }
    return true;
}
