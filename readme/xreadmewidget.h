// Shows the home directory's "readme" (GBK text) read-only, with a Back button.
// The dialog deletes itself when it closes; a missing readme shows an empty view.
#pragma once

#include <QDialog>

class UTIL_PushButton;
class ZMultiLineEdit;
class ZScrollView;

class XreadmeWidget : public QDialog
{
    Q_OBJECT
public:
    explicit XreadmeWidget(QWidget *parent = nullptr, const char *name = nullptr, int modal = 0);

    ZMultiLineEdit *textView() const { return m_text; }
    // The text of a readme file, decoded from GBK; null when it cannot be read.
    static QString readText(const QString &path);

public slots:
    void doSave();
    void doCancel();

private:
    ZScrollView *m_scroll;
    ZMultiLineEdit *m_text;
    UTIL_PushButton *m_back;
};
