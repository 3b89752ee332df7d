// The phone's message boxes: centred on the phone's screen, as wide as it allows less a
// margin, the text wrapped and the buttons in one row. A test installs a responder, which
// answers every box instead of a person; each box shown is also kept in a history tests
// can read.
#pragma once

#include <QPixmap>
#include <QString>
#include <QStringList>
#include <functional>

class QDialog;
class QPushButton;
class QWidget;

class ZMessageBox
{
public:
    struct Shown {
        QString text;
        QStringList buttons; // empty for a timer message
        bool timed = false;
    };
    using Responder = std::function<int(const Shown &)>;

    // Modal box; returns the 0-based index of the button chosen (-1 when closed otherwise).
    static int information(QWidget *parent, const QPixmap &icon, const QString &text,
                           const QString &button0 = QString(), const QString &button1 = QString(),
                           const QString &button2 = QString(), int defaultButton = 1);

    // A message that closes by itself after `seconds` (at least one).
    static void timerMessage(QWidget *parent, const QPixmap &icon, const QString &text,
                             int seconds = 1, int flags = 1);

    static void setResponder(Responder responder);
    static QList<Shown> &history();

    static constexpr int Margin = 10;       // screen left free around a box
    static constexpr int TextPixels = 13;   // text and button font size
    static constexpr int ButtonHeight = 24; // pixels
    static constexpr int MaxIcon = 48;      // larger icons are scaled down to this

private:
    // Lays a box out on the phone's screen; its buttons, if any, are appended to buttons.
    static void build(QDialog &box, const QPixmap &icon, const QString &text,
                      const QStringList &buttonTexts, QList<QPushButton *> *buttons);
};
