#include "audio/mixer.h"

#include "platform/logging.h"

#include <QFile>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/ioctl.h>
#include <unistd.h>
#include <utility>

namespace
{

constexpr int MainVolumeBit = 1 << 0;
constexpr int AllChannels = 65535;
constexpr int Audio3dOn = 0;
constexpr int Audio3dOff = 3;

int systemIoctl(int fd, unsigned long request, void *argument)
{
    return ::ioctl(fd, request, argument);
}

QByteArray g_path = QByteArrayLiteral("/dev/mixer");
MixerDevice::IoctlFunction g_ioctl = systemIoctl;

// One descriptor per call, closed on every path.
class MixerFile
{
public:
    explicit MixerFile(int flags) : m_fd(::open(g_path.constData(), flags | O_CLOEXEC)) {}
    ~MixerFile()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    MixerFile(const MixerFile &) = delete;
    MixerFile &operator=(const MixerFile &) = delete;
    bool isOpen() const { return m_fd >= 0; }
    int request(unsigned long code, void *argument) { return g_ioctl(m_fd, code, argument); }

private:
    int m_fd;
};

// Where there is no device every call would say so: once is enough.
void missing(const char *what)
{
    static bool told = false;
    if (!std::exchange(told, true))
        qCDebug(lcMixer).noquote() << what << QString::fromLocal8Bit(g_path) << ::strerror(errno);
}

void failed(const char *what)
{
    qCWarning(lcMixer).noquote() << what << ::strerror(errno);
}

} // namespace

namespace MixerDevice
{

bool available()
{
    return ::access(g_path.constData(), F_OK) == 0;
}

void setPath(const QString &path)
{
    g_path = QFile::encodeName(path);
}

QString path()
{
    return QFile::decodeName(g_path);
}

void setIoctl(IoctlFunction function)
{
    g_ioctl = function ? function : systemIoctl;
}

} // namespace MixerDevice

int mixer_set_volume(int volume)
{
    MixerFile mixer(O_RDWR);
    if (!mixer.isOpen()) {
        missing("Unable to open mixer device 1.");
        return -1;
    }
    int mask = 0;
    if (mixer.request(MixerRequest::ReadDeviceMask, &mask) == -1)
        mask = AllChannels;
    if (!(mask & MainVolumeBit)) {
        failed("Unable to open mixer device 2.");
        return -1;
    }
    // Arithmetic on unsigned so a negative volume does not shift in sign bits.
    const unsigned int v = unsigned(volume);
    int value = int((v & 0xffffu) | ((v & 0xffff0000u) >> 8));
    if (mixer.request(MixerRequest::WriteVolume, &value) == -1) {
        failed("Unable to open mixer device 3.");
        return -1;
    }
    return 0;
}

int mixer_set_bass_booster(int off)
{
    MixerFile mixer(O_RDONLY);
    if (!mixer.isOpen()) {
        missing("Can't open mixer device");
        return 1;
    }
    const unsigned long code =
        off == 0 ? MixerRequest::BassBoosterOn : MixerRequest::BassBoosterOff;
    if (mixer.request(code, nullptr) == -1)
        failed("error setting output2");
    return 0;
}

int mixer_set_3d(int off)
{
    MixerFile mixer(O_RDONLY);
    if (!mixer.isOpen()) {
        missing("Can't open mixer device");
        return 1;
    }
    int value = off == 0 ? Audio3dOn : Audio3dOff;
    if (mixer.request(MixerRequest::Audio3d, &value) == -1)
        failed("error setting 3d");
    return 0;
}
