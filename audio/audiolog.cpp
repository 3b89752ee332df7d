#include "audio/audiolog.h"

Q_LOGGING_CATEGORY(lcAudio, "orbal.audio")
