#include "platform/zmultilineedit.h"

#include <QKeyEvent>
#include <QMimeData>

ZMultiLineEdit::ZMultiLineEdit(QWidget *parent, int) : QTextEdit(parent)
{
    setAcceptRichText(false);
}

ZMultiLineEdit::ZMultiLineEdit(QWidget *parent, const char *name) : QTextEdit(parent)
{
    setAcceptRichText(false);
    if (name)
        setObjectName(QString::fromLatin1(name));
}

void ZMultiLineEdit::setFilter(const QRegularExpression &filter, bool exclude)
{
    m_filter = filter;
    m_exclude = exclude;
}

QString ZMultiLineEdit::filtered(const QString &input) const
{
    if (m_filter.pattern().isEmpty() || !m_filter.isValid())
        return input;
    QString out;
    for (QChar c : input) {
        const bool matches = m_filter.match(QString(c)).hasMatch();
        if (matches != m_exclude)
            out += c;
    }
    return out;
}

void ZMultiLineEdit::keyPressEvent(QKeyEvent *event)
{
    const QString text = event->text();
    if (!text.isEmpty() && text.at(0).isPrint() && filtered(text) != text)
        return;
    QTextEdit::keyPressEvent(event);
}

void ZMultiLineEdit::insertFromMimeData(const QMimeData *source)
{
    if (source && source->hasText())
        insertPlainText(filtered(source->text()));
}
