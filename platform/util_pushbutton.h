// A push button drawn from a named platform resource.
#pragma once

#include <QPushButton>

class UTIL_PushButton : public QPushButton
{
    Q_OBJECT
public:
    UTIL_PushButton(const char *resource, const QString &text, QWidget *parent = nullptr,
                    int flags = 0, int width = -1, int height = -1);

    static int defaultWidth() { return 72; }
    static int defaultHeight() { return 26; }
};
