// The key binding dialog: one toggle button per function showing the bound phone key
// code; the next key pressed while a row is on becomes that row's code. Saving writes
// all seven codes to ".xmms/tavrin_cfg" under the application directory. Both buttons
// end the dialog with result 1, so the opener always reloads its settings.
#pragma once

#include "platform/zbasedialog.h"

#include <QString>

class QPushButton;
class ZScrollView;

class ConfigWidget : public ZBaseDialog
{
    Q_OBJECT
public:
    explicit ConfigWidget(QWidget *parent = nullptr, const char *name = nullptr, bool modal = true,
                          int flags = 0);

    // Row buttons in row order: Vol +, Vol -, Wire, Lock, prev, next, Play/Pause.
    static constexpr int RowCount = 7;
    QPushButton *rowButton(int row) const;
    // The settings key of a row ("key_vol_up", ...).
    static QString rowKey(int row);

public slots:
    void doSave();
    void doCancel();

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    QString settingsFile() const;

    ZScrollView *m_scroll;
    QString m_appDir;
    QPushButton *m_volUp;
    QPushButton *m_volDown;
    QPushButton *m_line;
    QPushButton *m_lock;
    QPushButton *m_prev;
    QPushButton *m_next;
    QPushButton *m_enter;
};
