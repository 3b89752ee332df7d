#include "platform/zmessagebox.h"

#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

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

    QMessageBox box(parent);
    box.setText(text);
    if (!icon.isNull())
        box.setIconPixmap(icon);
    QList<QAbstractButton *> buttons;
    for (const QString &b : shown.buttons)
        buttons << box.addButton(b, QMessageBox::AcceptRole);
    box.exec();
    return int(buttons.indexOf(box.clickedButton()));
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
    QMessageBox box(parent);
    box.setText(text);
    if (!icon.isNull())
        box.setIconPixmap(icon);
    box.setStandardButtons(QMessageBox::NoButton);
    QTimer::singleShot(qMax(1, seconds) * 1000, &box, &QMessageBox::accept);
    box.exec();
}
