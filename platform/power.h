// The phone's power and telephony services. On a desktop the backlight time is only
// remembered and logged, and no call is ever active unless a test says so.
#pragma once

// Seconds before the display dims: 0 keeps it lit, 30 restores normal dimming.
void PM_setupLcdSleepTime(int seconds);
// 1 while a phone call is active.
int UTIL_GetPhoneInCall();

namespace platform
{
int lastLcdSleepTime();  // -1 until the first call
int lcdSleepTimeCalls(); // how many calls so far
void setPhoneInCall(bool inCall);
} // namespace platform
