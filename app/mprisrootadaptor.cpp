#include "app/mprisrootadaptor.h"

#include "app/mprisplayer.h"

MprisRootAdaptor::MprisRootAdaptor(MprisPlayer *player)
    : QDBusAbstractAdaptor(player), m_player(player)
{
}

void MprisRootAdaptor::Quit()
{
    m_player->quit();
}
