#include "equalizer/eqwidget.h"

#include "audio/xmmsplayer.h"
#include "dropin/kconfig.h"
#include "equalizer/presetitem.h"
#include "platform/logging.h"
#include "platform/phonescreen.h"

#include <QCloseEvent>
#include <QDir>
#include <QHeaderView>
#include <QPushButton>
#include <QStyle>
#include <QTreeWidget>
#include <algorithm>
#include <cmath>

namespace
{

constexpr const char *kKeys[11] = {"Preamp", "Band0", "Band1", "Band2", "Band3", "Band4",
                                   "Band5",  "Band6", "Band7", "Band8", "Band9"};

// Decibels from a stored text; missing, not a number or not finite gives 0.
float decibels(const QString &text)
{
    bool ok = false;
    const float value = text.trimmed().toFloat(&ok);
    return ok && std::isfinite(value) ? value : 0.0f;
}

// Stored as whole decibels, truncated toward zero.
int wholeDecibels(float value)
{
    if (!std::isfinite(value))
        return 0;
    return int(std::trunc(std::clamp(value, -1000.0f, 1000.0f)));
}

QPushButton *button(const QString &text, int x, QWidget *parent)
{
    auto *b = new QPushButton(text, parent);
    b->setGeometry(x, 195, 50, 18);
    return b;
}
} // namespace

eqWidget::eqWidget(QWidget *parent)
    : QDialog(parent), m_homeDir(QDir::homePath()), m_xmms(xmmsInstance)
{
    setObjectName(QStringLiteral("haha"));
    presetListView = new QTreeWidget(this);
    presetListView->setObjectName(QStringLiteral("presetListView"));
    presetListView->setGeometry(0, 2, 200, 180);
    presetListView->setColumnCount(1);
    presetListView->setHeaderLabels({QStringLiteral("Load Preset")});
    presetListView->header()->hide();
    presetListView->setRootIsDecorated(false);
    presetListView->setColumnWidth(0, 200 - style()->pixelMetric(QStyle::PM_ScrollBarExtent));

    connect(button(QStringLiteral("OK"), 25, this), &QPushButton::clicked, this,
            &eqWidget::returned);
    connect(button(QStringLiteral("Save"), 75, this), &QPushButton::clicked, this,
            &eqWidget::savePreset);
    connect(button(QStringLiteral("Cancel"), 125, this), &QPushButton::clicked, this,
            &QWidget::close);

    reload();
    // The phone's 16 points are pixels; each 50 x 18 button takes the largest size its
    // label fits.
    setFont(PhoneScreen::font(font(), 16));
    for (QPushButton *b : findChildren<QPushButton *>())
        PhoneScreen::fitLabel(b, 16);
}

QString eqWidget::defaultPresetFile(const QString &homeDir)
{
    return homeDir + QStringLiteral("/.xmms/default.preset");
}

QString eqWidget::userPresetFile(const QString &homeDir)
{
    return homeDir + QStringLiteral("/.xmms/user.preset");
}

QString eqWidget::userPresetGroup()
{
    return QString::fromLatin1(QStringLiteral("我的音乐").toUtf8());
}

void eqWidget::readFile(const QString &path, bool isDefault)
{
    KConfig config(path, true);
    for (const QString &group : config.groupList()) {
        // "<default>" holds stray lines before the first group: not a preset either.
        if (group == QLatin1String("Presets") || group == QLatin1String("<default>"))
            continue;
        config.setGroup(group);
        PresetItem::Values values{};
        for (int i = 0; i < 11; ++i)
            values[i] = decibels(config.readEntry(QString::fromLatin1(kKeys[i])));
        new PresetItem(presetListView, QString::fromUtf8(group.toLatin1()), isDefault, values);
    }
}

void eqWidget::reload()
{
    presetListView->clear();
    readFile(defaultPresetFile(m_homeDir), true);
    readFile(userPresetFile(m_homeDir), false);
}

void eqWidget::setPreset(QTreeWidgetItem *item)
{
    auto *preset = dynamic_cast<PresetItem *>(item);
    if (!preset || !m_xmms)
        return;
    m_xmms->setEq(preset->values().data());
}

QTreeWidgetItem *eqWidget::chosenItem() const
{
    // The list makes its first row current when it takes the focus, unselected: only a
    // selected row was chosen by the user.
    QTreeWidgetItem *item = presetListView->currentItem();
    return item && item->isSelected() ? item : nullptr;
}

void eqWidget::setPreset()
{
    setPreset(chosenItem());
    update();
}

void eqWidget::returned()
{
    setPreset(chosenItem());
    emit equalizerChange();
    close();
    deleteLater();
}

void eqWidget::savePreset()
{
    if (!m_xmms) {
        qCWarning(lcEq) << "no xmms to read the equalizer from";
        return;
    }
    QDir().mkpath(m_homeDir + QStringLiteral("/.xmms"));
    KConfig config(userPresetFile(m_homeDir));
    config.setGroup(userPresetGroup());
    config.writeEntry(QString::fromLatin1(kKeys[0]), wholeDecibels(m_xmms->eqPreamp()));
    for (int band = 0; band < 10; ++band)
        config.writeEntry(QString::fromLatin1(kKeys[band + 1]),
                          wholeDecibels(m_xmms->eqBand(band)));
    config.sync();
}

void eqWidget::closeEvent(QCloseEvent *event)
{
    QDialog::closeEvent(event);
}
