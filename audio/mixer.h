// The sound mixer device: output volume and the phone's two sound effects. Each call opens
// the device, issues one request and closes it again. A missing device is said once, as a
// debug line; failing requests are warnings.
#pragma once

#include <QString>

// 0 done, -1 failed. The low 16 bits of volume pass unchanged, the high 16 move down by 8.
int mixer_set_volume(int volume);
// off = 0 switches the effect on, anything else off. 0 done, 1 device not opened.
int mixer_set_bass_booster(int off);
int mixer_set_3d(int off);

// Request codes on the mixer descriptor.
namespace MixerRequest
{
constexpr unsigned long ReadDeviceMask = 0x80044dfe; // SOUND_MIXER_READ_DEVMASK
constexpr unsigned long WriteVolume = 0xc0044d00;    // SOUND_MIXER_WRITE_VOLUME
constexpr unsigned long BassBoosterOn = 0xc0044de6;
constexpr unsigned long BassBoosterOff = 0xc0044de7;
constexpr unsigned long Audio3d = 0xc0044df8; // int argument: 0 on, 3 off
} // namespace MixerRequest

// Where the requests go; tests point these elsewhere. Defaults: "/dev/mixer" and ioctl(2).
namespace MixerDevice
{
using IoctlFunction = int (*)(int fd, unsigned long request, void *argument);
void setPath(const QString &path);
QString path();
void setIoctl(IoctlFunction function); // nullptr restores ioctl(2)
// Whether the device is there at all (no desktop has one).
bool available();
} // namespace MixerDevice
