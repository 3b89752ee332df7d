// The tree chooser: a modal dialog around a DirectoryView that opens at the memory
// card, with "OK" and "Cancel".
#pragma once

#include "platform/zbasedialog.h"

class DirectoryView;

class DirectoryChooser : public ZBaseDialog
{
    Q_OBJECT
public:
    explicit DirectoryChooser(QWidget *parent = nullptr, bool showDirsOnly = false);

    DirectoryView *view() const { return m_view; }
    // The current item's full path, or a null string when nothing is current.
    QString chosenPath() const;

    // Runs the chooser; the chosen full path, or a null string when cancelled.
    static QString choose(QWidget *parent, bool showDirsOnly);

private:
    DirectoryView *m_view;
};
