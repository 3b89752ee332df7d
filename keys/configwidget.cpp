#include "keys/configwidget.h"

#include "dropin/kconfig.h"
#include "dropin/settingsnames.h"
#include "platform/logging.h"
#include "platform/phonekeys.h"
#include "platform/zscrollview.h"

#include <QDir>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <iterator>

namespace
{

struct Row {
    int y;
    const char *label;
    const char *key;
    const char *shownWhenAbsent;
};

// Row order is also the order in which a key press looks for a row that is on.
constexpr Row kRows[] = {
    {50, "Vol + ", "key_vol_up", "4154"},     {75, "Vol - ", "key_vol_down", "4155"},
    {100, "Wire", "KEY_line", "4148"},        {125, "Lock  ", "key_lock", "4146"},
    {150, "prev", "key_Prev", "0"},           {175, "next", "key_Next", "0"},
    {200, "Play/Pause", "key_enter", "4101"},
};
static_assert(std::size(kRows) == ConfigWidget::RowCount);

constexpr int kLabelX = 4, kLabelW = 100, kLabelH = 20;
constexpr int kButtonX = 120, kButtonW = 60, kButtonH = 25;
constexpr int kBottomY = 250;

} // namespace

ConfigWidget::ConfigWidget(QWidget *parent, const char *name, bool modal, int flags)
    : ZBaseDialog(parent, name, modal, flags), m_appDir(QDir::currentPath())
{
    setGeometry(20, 30, 200, 250);

    m_scroll = new ZScrollView(this);
    m_scroll->enableClipper(true);
    m_scroll->setGeometry(0, 0, 200, 250);
    m_scroll->setFocusPolicy(Qt::NoFocus);
    auto *content = new QWidget;
    content->setMinimumSize(kButtonX + kButtonW, kBottomY + kButtonH + 5);

    auto *hint = new QLabel(QStringLiteral("Select to change and <br> Click new button."), content);
    hint->setTextFormat(Qt::RichText);
    hint->setAlignment(Qt::AlignCenter);
    hint->setGeometry(0, 0, 180, 40);

    KConfig config(settingsFile(), true);
    config.setGroup(settings::kTvSkin);
    QPushButton **buttons[RowCount] = {&m_volUp, &m_volDown, &m_line, &m_lock,
                                       &m_prev,  &m_next,    &m_enter};
    for (int i = 0; i < RowCount; ++i) {
        const Row &row = kRows[i];
        auto *label = new QLabel(QString::fromLatin1(row.label), content);
        label->setGeometry(kLabelX, row.y, kLabelW, kLabelH);
        auto *button = new QPushButton(
            config.readEntry(QLatin1String(row.key), QLatin1String(row.shownWhenAbsent)), content);
        button->setObjectName(QLatin1String(row.key));
        button->setGeometry(kButtonX, row.y, kButtonW, kButtonH);
        button->setCheckable(true);
        // The dialog itself must see every key, Space and arrows included.
        button->setFocusPolicy(Qt::NoFocus);
        *buttons[i] = button;
    }

    auto *save = new QPushButton(QStringLiteral("Save"), content);
    save->setGeometry(30, kBottomY, kButtonW, kButtonH);
    save->setFocusPolicy(Qt::NoFocus);
    connect(save, &QPushButton::clicked, this, &ConfigWidget::doSave);
    auto *cancel = new QPushButton(QStringLiteral("Cancel"), content);
    cancel->setGeometry(90, kBottomY, kButtonW, kButtonH);
    cancel->setFocusPolicy(Qt::NoFocus);
    connect(cancel, &QPushButton::clicked, this, &ConfigWidget::doCancel);

    m_scroll->setWidgetResizable(false);
    m_scroll->addChild(content);
    setFocusPolicy(Qt::StrongFocus);
}

QPushButton *ConfigWidget::rowButton(int row) const
{
    const QPushButton *const buttons[RowCount] = {m_volUp, m_volDown, m_line, m_lock,
                                                  m_prev,  m_next,    m_enter};
    return row >= 0 && row < RowCount ? const_cast<QPushButton *>(buttons[row]) : nullptr;
}

QString ConfigWidget::rowKey(int row)
{
    return row >= 0 && row < RowCount ? QLatin1String(kRows[row].key) : QString();
}

QString ConfigWidget::settingsFile() const
{
    return settings::frontEndFile(m_appDir);
}

void ConfigWidget::keyPressEvent(QKeyEvent *event)
{
    for (int i = 0; i < RowCount; ++i) {
        QPushButton *button = rowButton(i);
        if (button->isChecked()) {
            button->setText(QString::number(PhoneKeys::fromEvent(event)));
            event->accept();
            return;
        }
    }
    // No row is waiting for a key; the dialog must not close on Escape either.
    event->ignore();
}

void ConfigWidget::doSave()
{
    QDir().mkpath(settings::folder(m_appDir));
    {
        KConfig config(settingsFile());
        config.setGroup(settings::kTvSkin);
        for (int i = 0; i < RowCount; ++i)
            config.writeEntry(rowKey(i), rowButton(i)->text());
        config.sync();
    }
    qCDebug(lcKeys) << "key bindings saved to" << settingsFile();
    done(1);
}

void ConfigWidget::doCancel()
{
    done(1);
}
