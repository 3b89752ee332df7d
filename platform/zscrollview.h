// The phone's scroll area for one child widget.
#pragma once

#include <QScrollArea>

class ZScrollView : public QScrollArea
{
    Q_OBJECT
public:
    explicit ZScrollView(QWidget *parent = nullptr, const char *name = nullptr, int flags = 0);
    void enableClipper(bool) {}
    void addChild(QWidget *child);
};
