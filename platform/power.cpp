#include "platform/power.h"

#include "platform/logging.h"

namespace
{
int g_lcdSleep = -1;
int g_lcdCalls = 0;
bool g_inCall = false;
} // namespace

void PM_setupLcdSleepTime(int seconds)
{
    g_lcdSleep = seconds;
    ++g_lcdCalls;
    qCDebug(lcPower) << "backlight sleep time" << seconds;
}

int UTIL_GetPhoneInCall()
{
    return g_inCall ? 1 : 0;
}

int platform::lastLcdSleepTime()
{
    return g_lcdSleep;
}
int platform::lcdSleepTimeCalls()
{
    return g_lcdCalls;
}
void platform::setPhoneInCall(bool inCall)
{
    g_inCall = inCall;
}
