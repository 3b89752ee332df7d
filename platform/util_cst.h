// The phone's soft-key bar: a left and a right button named by resource, and a
// middle button with text.
#pragma once

#include <QWidget>

class QPushButton;

class UTIL_CST : public QWidget
{
    Q_OBJECT
public:
    static constexpr int BarHeight = 28;

    UTIL_CST(QWidget *parent, const QString &midText, const char *leftResource = "CST_Menu",
             const char *rightResource = "CST_Back");

    QPushButton *getLeftBtn() const { return m_left; }
    QPushButton *getMidBtn() const { return m_mid; }
    QPushButton *getRightBtn() const { return m_right; }

private:
    QPushButton *m_left;
    QPushButton *m_mid;
    QPushButton *m_right;
};
