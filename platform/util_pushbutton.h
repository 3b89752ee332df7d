// A push button drawn from a named platform resource.
#pragma once

#include <QPushButton>

class UTIL_PushButton : public QPushButton
{
    Q_OBJECT
public:
    UTIL_PushButton(const char *resource, const QString &text, QWidget *parent = nullptr,
                    int flags = 0, int width = -1, int height = -1);

    // Two icon buttons and a 90-pixel one fit a 220-pixel dialog side by side.
    static int defaultWidth() { return 56; }
    static int defaultHeight() { return 26; }
};
