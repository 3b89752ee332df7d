// A scratch application directory holding the coded test skin, made the working directory
// for the window under test; mixer requests are recorded instead of reaching a device.
#pragma once

#include "app/mainface.h"

#include <QPointer>
#include <QString>
#include <gtest/gtest.h>
#include <utility>
#include <vector>

class AppFixture : public ::testing::Test
{
public:
    // (request, integer argument) of every mixer request.
    static std::vector<std::pair<unsigned long, int>> s_mixer;

protected:
    void SetUp() override;
    void TearDown() override;

    // Builds the window on the current settings files.
    MainFace *makeFace();
    // Writes a settings file under the application directory (".xmms/<name>").
    void writeSettings(const char *name, const QByteArray &text);
    QByteArray readSettings(const char *name) const;

    QString m_appDir;
    QString m_oldDir;
    QPointer<MainFace> m_face;
};
