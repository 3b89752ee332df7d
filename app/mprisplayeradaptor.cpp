#include "app/mprisplayeradaptor.h"

#include "app/mprisplayer.h"

MprisPlayerAdaptor::MprisPlayerAdaptor(MprisPlayer *player)
    : QDBusAbstractAdaptor(player), m_player(player)
{
    connect(player, &MprisPlayer::seeked, this, &MprisPlayerAdaptor::Seeked);
}

QString MprisPlayerAdaptor::playbackStatus() const
{
    return m_player->playbackStatus();
}

QVariantMap MprisPlayerAdaptor::metadata() const
{
    return m_player->metadata();
}

double MprisPlayerAdaptor::volume() const
{
    return m_player->volume();
}

void MprisPlayerAdaptor::setVolume(double volume)
{
    m_player->setVolume(volume);
}

qlonglong MprisPlayerAdaptor::position() const
{
    return m_player->position();
}

bool MprisPlayerAdaptor::canGoNext() const
{
    return m_player->canGoNext();
}

bool MprisPlayerAdaptor::canGoPrevious() const
{
    return m_player->canGoPrevious();
}

bool MprisPlayerAdaptor::canPlay() const
{
    return m_player->canPlay();
}

bool MprisPlayerAdaptor::canSeek() const
{
    return m_player->canSeek();
}

void MprisPlayerAdaptor::Next()
{
    m_player->next();
}

void MprisPlayerAdaptor::Previous()
{
    m_player->previous();
}

void MprisPlayerAdaptor::Pause()
{
    m_player->pause();
}

void MprisPlayerAdaptor::PlayPause()
{
    m_player->playPause();
}

void MprisPlayerAdaptor::Stop()
{
    m_player->stop();
}

void MprisPlayerAdaptor::Play()
{
    m_player->play();
}

void MprisPlayerAdaptor::Seek(qlonglong Offset)
{
    m_player->seek(Offset);
}

void MprisPlayerAdaptor::SetPosition(const QDBusObjectPath &TrackId, qlonglong Position)
{
    m_player->setPosition(TrackId.path(), Position);
}
