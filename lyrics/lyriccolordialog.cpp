#include "lyrics/lyriccolordialog.h"

#include "platform/phonescreen.h"

#include <QColorDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QToolButton>
#include <QVBoxLayout>

namespace
{
constexpr int kColumns = 8;
constexpr int kSwatches = 48; // the toolkit's standard colours
constexpr int kFontPixels = 12;

QString sampleStyle(const QColor &color)
{
    return QStringLiteral("background:%1; border:1px solid white;").arg(color.name());
}
} // namespace

LyricColorDialog::LyricColorDialog(const QColor &start, QWidget *parent) : QDialog(parent)
{
    setModal(true);
    setFont(PhoneScreen::font(font(), kFontPixels));

    auto *grid = new QGridLayout;
    grid->setSpacing(2);
    for (int i = 0; i < kSwatches; ++i) {
        const QColor color = QColorDialog::standardColor(i);
        auto *swatch = new QToolButton(this);
        swatch->setFixedSize(24, 20);
        swatch->setStyleSheet(QStringLiteral("background:%1;").arg(color.name()));
        swatch->setToolTip(color.name());
        connect(swatch, &QToolButton::clicked, this, [this, color] { setCurrentColor(color); });
        grid->addWidget(swatch, i / kColumns, i % kColumns);
    }

    m_sample = new QLabel(this);
    m_sample->setFixedSize(40, 22);
    m_name = new QLineEdit(this);
    m_name->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("#[0-9A-Fa-f]{0,6}")), m_name));
    connect(m_name, &QLineEdit::textEdited, this, [this](const QString &text) {
        const QColor typed(text);
        if (text.size() == 7 && typed.isValid()) {
            m_current = typed;
            m_sample->setStyleSheet(sampleStyle(typed));
        }
    });
    auto *row = new QHBoxLayout;
    row->addWidget(m_sample);
    row->addWidget(m_name);

    auto *ok = new QPushButton(tr("OK"), this);
    auto *cancel = new QPushButton(tr("Cancel"), this);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &LyricColorDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(ok);
    buttons->addWidget(cancel);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addLayout(grid);
    layout->addLayout(row);
    layout->addLayout(buttons);

    setCurrentColor(start.isValid() ? start : QColor(Qt::white));

    // In the middle of the phone's screen.
    const QRect screen = PhoneScreen::rect();
    setGeometry(QRect(screen.topLeft() +
                          QPoint((screen.width() - kWidth) / 2, (screen.height() - kHeight) / 2),
                      QSize(kWidth, kHeight)));
    setFixedSize(kWidth, kHeight);
}

void LyricColorDialog::setCurrentColor(const QColor &color)
{
    if (!color.isValid())
        return;
    m_current = color;
    m_sample->setStyleSheet(sampleStyle(color));
    m_name->setText(color.name());
}

void LyricColorDialog::accept()
{
    m_selected = m_current;
    QDialog::accept();
}
