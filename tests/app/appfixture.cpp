#include "tests/app/appfixture.h"

#include "audio/mixer.h"
#include "platform/zmessagebox.h"
#include "state/orbalstate.h"
#include "tests/skin/painting/testskin.h"
#include "tests/support/testenv.h"

#include <QCoreApplication>
#include <QDir>
#include <QEvent>

std::vector<std::pair<unsigned long, int>> AppFixture::s_mixer;

namespace
{
int recordMixer(int, unsigned long request, void *argument)
{
    if (request == MixerRequest::ReadDeviceMask && argument) {
        *static_cast<int *>(argument) = ~0; // every channel, as a real mixer has
        return 0;
    }
    AppFixture::s_mixer.emplace_back(request, argument ? *static_cast<int *>(argument) : 0);
    return 0;
}
} // namespace

void AppFixture::SetUp()
{
    orbalState() = OrbalState();
    testenv::useQuietHome();
    m_appDir = testenv::scratchDir(QStringLiteral("app"));
    testskin::writeSkin(m_appDir);
    m_oldDir = QDir::currentPath();
    QDir::setCurrent(m_appDir);
    testenv::writeFile(m_appDir + QStringLiteral("/mixer"), QByteArray());
    MixerDevice::setPath(m_appDir + QStringLiteral("/mixer"));
    MixerDevice::setIoctl(recordMixer);
    s_mixer.clear();
    ZMessageBox::history().clear();
    ZMessageBox::setResponder([](const ZMessageBox::Shown &) { return 0; });
}

void AppFixture::TearDown()
{
    delete m_face.data();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    MixerDevice::setIoctl(nullptr);
    ZMessageBox::setResponder(nullptr);
    QDir::setCurrent(m_oldDir);
}

MainFace *AppFixture::makeFace()
{
    m_face = new MainFace();
    return m_face;
}

void AppFixture::writeSettings(const char *name, const QByteArray &text)
{
    testenv::writeFile(m_appDir + QStringLiteral("/.xmms/") + QLatin1String(name), text);
}

QByteArray AppFixture::readSettings(const char *name) const
{
    return testenv::readFile(m_appDir + QStringLiteral("/.xmms/") + QLatin1String(name));
}
