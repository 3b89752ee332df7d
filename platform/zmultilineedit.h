// The phone's multi-line text field; an optional filter decides which characters
// may be typed or pasted.
#pragma once

#include <QRegularExpression>
#include <QTextEdit>

class ZMultiLineEdit : public QTextEdit
{
    Q_OBJECT
public:
    explicit ZMultiLineEdit(QWidget *parent = nullptr, int flags = 0);
    ZMultiLineEdit(QWidget *parent, const char *name);

    // Characters matching `filter` are refused when `exclude`, the only ones allowed otherwise.
    void setFilter(const QRegularExpression &filter, bool exclude);
    QString text() const { return toPlainText(); }
    void setText(const QString &text) { setPlainText(text); }

    // What a typed or pasted text becomes after the filter.
    QString filtered(const QString &input) const;

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void insertFromMimeData(const QMimeData *source) override;

private:
    QRegularExpression m_filter;
    bool m_exclude = true;
};
