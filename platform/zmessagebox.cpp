#include "platform/zmessagebox.h"

#include "platform/phonescreen.h"

#include <QDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace
{
ZMessageBox::Responder &responder()
{
    static ZMessageBox::Responder r;
    return r;
}
} // namespace

void ZMessageBox::setResponder(Responder r)
{
    responder() = std::move(r);
}

QList<ZMessageBox::Shown> &ZMessageBox::history()
{
    static QList<Shown> shown;
    return shown;
}

int ZMessageBox::information(QWidget *parent, const QPixmap &icon, const QString &text,
                             const QString &button0, const QString &button1, const QString &button2,
                             int)
{
    Shown shown{text, {}, false};
    for (const QString &b : {button0, button1, button2})
        if (!b.isNull())
            shown.buttons << b;
    if (shown.buttons.isEmpty())
        shown.buttons << QStringLiteral("Ok");
    history().append(shown);
    if (responder())
        return responder()(shown);

    QDialog box(parent);
    QList<QPushButton *> buttons;
    build(box, icon, text, shown.buttons, &buttons);
    int chosen = -1;
    for (int i = 0; i < buttons.size(); ++i)
        QObject::connect(buttons.at(i), &QPushButton::clicked, &box, [&box, &chosen, i] {
            chosen = i;
            box.accept();
        });
    box.exec();
    return chosen;
}

void ZMessageBox::timerMessage(QWidget *parent, const QPixmap &icon, const QString &text,
                               int seconds, int)
{
    Shown shown{text, {}, true};
    history().append(shown);
    if (responder()) {
        responder()(shown);
        return;
    }
    QDialog box(parent);
    build(box, icon, text, {}, nullptr);
    QTimer::singleShot(qMax(1, seconds) * 1000, &box, &QDialog::accept);
    box.exec();
}

void ZMessageBox::build(QDialog &box, const QPixmap &icon, const QString &text,
                        const QStringList &buttonTexts, QList<QPushButton *> *buttons)
{
    PhoneScreen::keepPopupsInside();
    box.setFont(PhoneScreen::font(box.font(), TextPixels));
    auto *layout = new QVBoxLayout(&box);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->setSpacing(6);
    layout->setSizeConstraint(QLayout::SetNoConstraint);

    auto *row = new QHBoxLayout;
    row->setSpacing(6);
    if (!icon.isNull()) {
        auto *picture = new QLabel(&box);
        picture->setObjectName(QStringLiteral("icon"));
        const QPixmap shown =
            icon.width() > MaxIcon || icon.height() > MaxIcon
                ? icon.scaled(MaxIcon, MaxIcon, Qt::KeepAspectRatio, Qt::SmoothTransformation)
                : icon;
        picture->setPixmap(shown);
        picture->setAlignment(Qt::AlignTop);
        picture->setFixedWidth(shown.width());
        row->addWidget(picture);
    }
    auto *label = new QLabel(text, &box);
    label->setObjectName(QStringLiteral("text"));
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    row->addWidget(label, 1);
    layout->addLayout(row, 1);

    const QRect screen = PhoneScreen::rect();
    const int width = screen.width() - 2 * Margin;
    if (!buttonTexts.isEmpty()) {
        auto *buttonRow = new QHBoxLayout;
        buttonRow->setSpacing(4);
        const int each = (width - 12 - 4 * int(buttonTexts.size() - 1)) / int(buttonTexts.size());
        for (const QString &t : buttonTexts) {
            auto *b = new QPushButton(t, &box);
            b->setFixedSize(qMin(each, 90), ButtonHeight);
            PhoneScreen::fitLabel(b, TextPixels);
            buttonRow->addWidget(b);
            if (buttons)
                buttons->append(b);
        }
        layout->addLayout(buttonRow);
    }

    const int height = qMin(layout->totalHeightForWidth(width), screen.height() - 2 * Margin);
    QRect r(0, 0, width, qMax(height, ButtonHeight));
    r.moveCenter(screen.center());
    box.setGeometry(r);
}
