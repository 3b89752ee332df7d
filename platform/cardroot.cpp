#include "platform/cardroot.h"

#include <QFileInfo>

namespace
{
const QString kPhoneCard = QStringLiteral("/mmc/mmca1");
}

QString platform::cardRoot()
{
    if (QFileInfo(kPhoneCard).isDir())
        return kPhoneCard;
    return QDir::currentPath() + kPhoneCard;
}

QDir platform::cardRootDir()
{
    return QDir(cardRoot());
}

QString platform::cardPath(const QString &phonePath)
{
    if (phonePath == kPhoneCard || phonePath.startsWith(kPhoneCard + QLatin1Char('/')))
        return cardRoot() + phonePath.mid(kPhoneCard.size());
    return phonePath;
}
