// The program's logging areas, each declared here once. Only warnings show by default; the
// debug lines of an area are switched on with QT_LOGGING_RULES, for example
// QT_LOGGING_RULES="orbal.video.debug=true" (or "orbal.*.debug=true" for all of them).
#pragma once

#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcApp)         // orbal.app: start, application folder
Q_DECLARE_LOGGING_CATEGORY(lcCommands)    // orbal.commands: buttons, keys, status poll
Q_DECLARE_LOGGING_CATEGORY(lcSettings)    // orbal.settings: settings files read and written
Q_DECLARE_LOGGING_CATEGORY(lcAudio)       // orbal.audio: the xmms adapter and client
Q_DECLARE_LOGGING_CATEGORY(lcMixer)       // orbal.mixer: the sound mixer device
Q_DECLARE_LOGGING_CATEGORY(lcLyrics)      // orbal.lyrics: lyric lookups and parsing
Q_DECLARE_LOGGING_CATEGORY(lcPlaylist)    // orbal.playlist: lists, the editor, the browser
Q_DECLARE_LOGGING_CATEGORY(lcEq)          // orbal.equalizer: presets
Q_DECLARE_LOGGING_CATEGORY(lcVideo)       // orbal.video: the mplayer child
Q_DECLARE_LOGGING_CATEGORY(lcVideoOutput) // orbal.video.output: what mplayer prints
Q_DECLARE_LOGGING_CATEGORY(lcKeys)        // orbal.keys: the key binding dialog
Q_DECLARE_LOGGING_CATEGORY(lcCutter)      // orbal.cutter: the ringtone cutter
Q_DECLARE_LOGGING_CATEGORY(lcSkin)        // orbal.skin: skin loading
Q_DECLARE_LOGGING_CATEGORY(lcReadme)      // orbal.readme: the readme viewer
Q_DECLARE_LOGGING_CATEGORY(lcPower)       // orbal.platform.power: backlight calls
