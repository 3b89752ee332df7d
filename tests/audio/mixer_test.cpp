// The mixer functions: the exact requests and values that reach the device, and the
// messages on standard error when something fails. The device is a scratch file and the
// ioctl a recorder, so no sound hardware is needed.
#include "audio/mixer.h"
#include "tests/support/testenv.h"

#include <QFile>
#include <QLoggingCategory>
#include <cstdio>
#include <fcntl.h>
#include <functional>
#include <gtest/gtest.h>
#include <unistd.h>

namespace
{

struct Request {
    unsigned long code;
    int value; // the int the argument points to when the call is made; -1 for no argument
    bool operator==(const Request &o) const { return code == o.code && value == o.value; }
};

std::vector<Request> g_requests;
int g_deviceMask = 0xff;
unsigned long g_failing = 0; // this request fails with -1

int recordingIoctl(int, unsigned long code, void *argument)
{
    auto *value = static_cast<int *>(argument);
    g_requests.push_back({code, value ? *value : -1});
    if (code == g_failing)
        return -1;
    if (code == MixerRequest::ReadDeviceMask && value)
        *value = g_deviceMask;
    return 0;
}

// Runs call with standard error sent to a file; gives what was written there.
QByteArray stderrOf(const std::function<void()> &call)
{
    const QString file = testenv::scratchDir() + QStringLiteral("/stderr");
    std::fflush(stderr);
    const int saved = ::dup(2);
    const int fd = ::open(QFile::encodeName(file).constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    ::dup2(fd, 2);
    ::close(fd);
    call();
    std::fflush(stderr);
    ::dup2(saved, 2);
    ::close(saved);
    return testenv::readFile(file);
}

class Mixer : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_device = testenv::scratchDir() + QStringLiteral("/mixer");
        testenv::writeFile(m_device, QByteArray());
        MixerDevice::setPath(m_device);
        MixerDevice::setIoctl(recordingIoctl);
        g_requests.clear();
        g_deviceMask = 0xff;
        g_failing = 0;
    }
    void TearDown() override
    {
        MixerDevice::setIoctl(nullptr);
        MixerDevice::setPath(QStringLiteral("/dev/mixer"));
    }
    QString m_device;
};

struct Row {
    const char *name;
    int deviceMask;
    unsigned long failing;
    std::function<int()> call;
    int result;
    std::vector<Request> requests;
    const char *message; // start of what perror printed, or "" for nothing
};

TEST_F(Mixer, requestsValuesAndMessages)
{
    using namespace MixerRequest;
    const int noArgument = -1;
    const std::vector<Row> rows = {
        {"volume 45",
         0xff,
         0,
         [] { return mixer_set_volume(45); },
         0,
         {{ReadDeviceMask, 0}, {WriteVolume, 45}},
         ""},
        {"high half moves down by 8",
         0xff,
         0,
         [] { return mixer_set_volume(65536 + 45); },
         0,
         {{ReadDeviceMask, 0}, {WriteVolume, 256 + 45}},
         ""},
        {"no main volume channel",
         0xfe,
         0,
         [] { return mixer_set_volume(45); },
         -1,
         {{ReadDeviceMask, 0}},
         "orbal.mixer: Unable to open mixer device 2."},
        {"unreadable mask counts as all channels",
         0,
         ReadDeviceMask,
         [] { return mixer_set_volume(7); },
         0,
         {{ReadDeviceMask, 0}, {WriteVolume, 7}},
         ""},
        {"volume write fails",
         0xff,
         WriteVolume,
         [] { return mixer_set_volume(45); },
         -1,
         {{ReadDeviceMask, 0}, {WriteVolume, 45}},
         "orbal.mixer: Unable to open mixer device 3."},
        {"booster off",
         0xff,
         0,
         [] { return mixer_set_bass_booster(60); },
         0,
         {{BassBoosterOff, noArgument}},
         ""},
        {"booster on",
         0xff,
         0,
         [] { return mixer_set_bass_booster(0); },
         0,
         {{BassBoosterOn, noArgument}},
         ""},
        {"booster request fails",
         0xff,
         BassBoosterOn,
         [] { return mixer_set_bass_booster(0); },
         0,
         {{BassBoosterOn, noArgument}},
         "orbal.mixer: error setting output2"},
        {"3d on", 0xff, 0, [] { return mixer_set_3d(0); }, 0, {{Audio3d, 0}}, ""},
        {"3d off", 0xff, 0, [] { return mixer_set_3d(60); }, 0, {{Audio3d, 3}}, ""},
    };
    for (const Row &row : rows) {
        g_requests.clear();
        g_deviceMask = row.deviceMask;
        g_failing = row.failing;
        int result = 0;
        const QByteArray err = stderrOf([&] { result = row.call(); });
        EXPECT_EQ(result, row.result) << row.name;
        EXPECT_TRUE(g_requests == row.requests) << row.name;
        EXPECT_TRUE(err.startsWith(row.message)) << row.name << ": " << err.constData();
        if (!*row.message) {
            EXPECT_TRUE(err.isEmpty()) << row.name << ": " << err.constData();
        }
    }
}

TEST_F(Mixer, missingDeviceIsReportedAndNothingIsRequested)
{
    MixerDevice::setPath(m_device + QStringLiteral(".absent"));
    const struct {
        const char *name;
        std::function<int()> call;
        int result;
        const char *message;
    } rows[] = {
        {"volume", [] { return mixer_set_volume(10); }, -1, "Unable to open mixer device 1."},
        {"booster", [] { return mixer_set_bass_booster(0); }, 1, "Can't open mixer device"},
        {"3d", [] { return mixer_set_3d(60); }, 1, "Can't open mixer device"},
    };
    // A desktop has no device at all: said once a session, and only when asked for.
    QLoggingCategory::setFilterRules(QStringLiteral("orbal.mixer.debug=true"));
    bool first = true;
    for (const auto &row : rows) {
        int result = 0;
        const QByteArray err = stderrOf([&] { result = row.call(); });
        EXPECT_EQ(result, row.result) << row.name;
        if (first)
            EXPECT_TRUE(err.startsWith(QByteArray("orbal.mixer: ") + row.message))
                << err.constData();
        else
            EXPECT_TRUE(err.isEmpty()) << row.name << ": " << err.constData();
        first = false;
    }
    QLoggingCategory::setFilterRules(QString());
    EXPECT_TRUE(g_requests.empty());
}

TEST_F(Mixer, realIoctlOnAFileThatIsNoMixerFailsCleanly)
{
    MixerDevice::setIoctl(nullptr);
    // The mask cannot be read from a plain file (all channels assumed), and the write fails.
    const QByteArray err = stderrOf([] { EXPECT_EQ(mixer_set_volume(30), -1); });
    EXPECT_TRUE(err.startsWith("orbal.mixer: Unable to open mixer device 3.")) << err.constData();
}

} // namespace
