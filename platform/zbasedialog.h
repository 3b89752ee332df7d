// The phone's dialog base: a dialog the size of the phone's screen.
#pragma once

#include <QDialog>

class ZBaseDialog : public QDialog
{
    Q_OBJECT
public:
    explicit ZBaseDialog(QWidget *parent = nullptr, const char *name = nullptr, bool modal = true,
                         int flags = 0);
};
