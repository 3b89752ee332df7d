// Wire facts of the xmms 1.x control socket, shared by our client and the stand-in server.
// All fields travel in host byte order with the native struct layout.
#pragma once

#include <QByteArray>
#include <cstdint>

namespace XmmsProtocol
{

constexpr uint16_t Version = 1;
constexpr int HeaderSize = 8;
// Neither side ever needs more; a larger announced length marks a broken or hostile peer.
constexpr uint32_t MaxDataLength = 4 * 1024 * 1024;
// What xmms 1.2.11 answers to GET_VERSION.
constexpr int ServerVersion = 0x09A3;

enum Command : uint16_t {
    GetVersion = 0,
    PlaylistAdd = 1,
    Play = 2,
    Pause = 3,
    Stop = 4,
    IsPlaying = 5,
    IsPaused = 6,
    GetPlaylistPos = 7,
    SetPlaylistPos = 8,
    GetPlaylistLength = 9,
    PlaylistClear = 10,
    GetOutputTime = 11,
    JumpToTime = 12,
    GetVolume = 13,
    SetVolume = 14,
    GetSkin = 15,
    SetSkin = 16,
    GetPlaylistFile = 17,
    GetPlaylistTitle = 18,
    GetPlaylistTime = 19,
    GetInfo = 20,
    PlaylistPrev = 29,
    PlaylistNext = 30,
    Ping = 31,
    GetBalance = 32,
    ToggleRepeat = 33,
    ToggleShuffle = 34,
    PlaylistAddUrlString = 36,
    PlaylistDelete = 40,
    IsRepeat = 41,
    IsShuffle = 42,
    GetEq = 43,
    GetEqPreamp = 44,
    GetEqBand = 45,
    SetEq = 46,
    SetEqPreamp = 47,
    SetEqBand = 48,
    Quit = 49,
    PlaylistInsUrlString = 50,
    PlayPause = 52,
    // Ours: xmms 1.2.x cannot switch its equalizer over the socket. A real 1.2.x acks
    // unknown numbers without a reply, so IsEqActive reads false and the toggle is ignored.
    IsEqActive = 61,
    ToggleEqActive = 62,
};

// "<tmpdir>/xmms_<user>.<session>", with tmpdir and user found the way glib 1.2 finds them
// ($TMPDIR, $TMP, $TEMP as found, else /tmp; the real uid's login name, else "somebody"),
// cut to 107 bytes.
QByteArray socketPath(int session);

// Header of a request (command) or a reply (padding, written as 0).
QByteArray header(uint16_t command, uint32_t dataLength);

} // namespace XmmsProtocol
