// The program's two settings files, their groups and keys, named once. Both files live in
// ".xmms" under the application folder: the front-end's own and the one shared with xmms.
#pragma once

#include <QLatin1String>
#include <QString>

namespace settings
{

inline QString folder(const QString &appDir)
{
    return appDir + QLatin1String("/.xmms");
}
// ".xmms/tavrin_cfg": skin, mode, lyric look, key codes, video and audio options.
inline QString frontEndFile(const QString &appDir)
{
    return appDir + QLatin1String("/.xmms/tavrin_cfg");
}
// ".xmms/config": shuffle, repeat, equalizer, effects, volume; xmms reads it too.
inline QString playerFile(const QString &appDir)
{
    return appDir + QLatin1String("/.xmms/config");
}

// Groups of the front-end file.
constexpr QLatin1String kTvSkin("tvskin");
constexpr QLatin1String kOption("OPTION");
// Groups of the player's file.
constexpr QLatin1String kXmms("xmms");
constexpr QLatin1String kOss("OSS");
constexpr QLatin1String kWinskin("Winskin");

// tvskin
constexpr QLatin1String kCurrentSkin("CurrentSkin");
constexpr QLatin1String kWireMode("sltfwd");
constexpr QLatin1String kXmmsMode("Enxmms");
constexpr QLatin1String kBackground("backskin");
constexpr QLatin1String kLyricColour("lrccolor");
constexpr QLatin1String kLyricBackColour("lrcbcolor");
constexpr QLatin1String kLyricFont("lrcfont");
constexpr QLatin1String kTextCodec("textcodec");
constexpr QLatin1String kShowLyric("showlrc");

// xmms
constexpr QLatin1String kShuffle("shuffle");
constexpr QLatin1String kRepeat("repeat");
constexpr QLatin1String kEqualizerActive("equalizer_active");
constexpr QLatin1String kEqualizerPreamp("equalizer_preamp");
inline QString equalizerBand(int band)
{
    return QStringLiteral("equalizer_band%1").arg(band);
}

// OSS
constexpr QLatin1String kBassBooster("ezx_bass_booster");
constexpr QLatin1String kAudio3d("ezx_audio_3d");

// Winskin
constexpr QLatin1String kVolume("Volume");
constexpr QLatin1String kMaximumVolume("MaximumVolume");
constexpr QLatin1String kVideoVolume("volume"); // the video window's own volume steps

} // namespace settings
