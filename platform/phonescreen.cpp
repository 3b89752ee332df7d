#include "platform/phonescreen.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QFontMetrics>
#include <QMenu>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>

namespace
{

QPoint &origin()
{
    static QPoint topLeft(0, 0);
    return topLeft;
}

QRect globalRect(const QWidget *w)
{
    return QRect(w->mapToGlobal(QPoint(0, 0)), w->size());
}

// Fits menus and dialogs as they are shown: after the toolkit has placed them, before
// they reach the display.
class Keeper : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *object, QEvent *event) override
    {
        if (event->type() != QEvent::Show || !object->isWidgetType())
            return false;
        auto *w = static_cast<QWidget *>(object);
        if (!w->isWindow())
            return false;
        const QRect screen = PhoneScreen::rect();
        if (w->windowType() == Qt::Popup) {
            const QRect placed = PhoneScreen::fitted(w->geometry(), screen, anchorOf(w));
            if (placed != w->geometry())
                w->setGeometry(placed);
        } else if (qobject_cast<QDialog *>(w) && !screen.contains(w->geometry())) {
            const QSize size = w->size().boundedTo(screen.size()).expandedTo(w->minimumSize());
            if (size != w->size())
                w->resize(size);
            // A dialog that strays outside is centred, as the phone shows its dialogs.
            QRect r(QPoint(), w->size());
            r.moveCenter(screen.center());
            w->move(PhoneScreen::fitted(r, screen).topLeft());
        }
        return false;
    }

private:
    // What a popup opens from: the menu it is a submenu of, or the button it belongs to.
    static QRect anchorOf(const QWidget *popup)
    {
        const QWidget *open = QApplication::activePopupWidget();
        if (open && open != popup && qobject_cast<const QMenu *>(popup))
            return open->geometry();
        if (auto *button = qobject_cast<const QAbstractButton *>(popup->parentWidget()))
            return globalRect(button);
        return QRect();
    }
};

} // namespace

QRect PhoneScreen::rect()
{
    return QRect(origin(), QSize(Width, Height));
}

void PhoneScreen::setOrigin(const QPoint &topLeft)
{
    origin() = topLeft;
}

QRect PhoneScreen::fitted(const QRect &r, const QRect &screen, const QRect &anchor)
{
    QRect out = r;
    if (out.right() > screen.right()) {
        const int other = anchor.left() - r.width();
        if (anchor.isValid() && r.left() >= anchor.center().x() && other >= screen.left())
            out.moveLeft(other);
        else
            out.moveRight(screen.right());
    }
    if (out.left() < screen.left())
        out.moveLeft(screen.left());
    if (out.bottom() > screen.bottom()) {
        const int other = anchor.top() - r.height();
        if (anchor.isValid() && r.top() >= anchor.center().y() && other >= screen.top())
            out.moveTop(other);
        else
            out.moveBottom(screen.bottom());
    }
    if (out.top() < screen.top())
        out.moveTop(screen.top());
    return out;
}

void PhoneScreen::keepPopupsInside()
{
    static Keeper *keeper = nullptr;
    if (keeper || !qApp)
        return;
    keeper = new Keeper(qApp);
    qApp->installEventFilter(keeper);
}

QFont PhoneScreen::font(const QFont &base, int pixels)
{
    QFont f = base;
    f.setPixelSize(qMax(1, pixels));
    return f;
}

int PhoneScreen::fittingPixelSize(const QFont &base, const QString &text, const QSize &room,
                                  int maxPixels)
{
    int pixels = qMax(6, maxPixels);
    for (; pixels > 6; --pixels) {
        const QFontMetrics metrics(font(base, pixels));
        if (metrics.horizontalAdvance(text) <= room.width() && metrics.height() <= room.height())
            break;
    }
    return pixels;
}

void PhoneScreen::fitLabel(QPushButton *button, int maxPixels)
{
    QStyleOptionButton option;
    option.initFrom(button);
    option.rect = QRect(QPoint(), button->size());
    option.text = button->text();
    if (button->autoDefault() || button->isDefault())
        option.features |= QStyleOptionButton::AutoDefaultButton;
    const QSize room =
        button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button).size();
    button->setFont(
        font(button->font(), fittingPixelSize(button->font(), button->text(), room, maxPixels)));
}
