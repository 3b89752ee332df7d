// The logging category of the audio link (xmms adapter, xmms client, mixer).
#pragma once

#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcAudio)
