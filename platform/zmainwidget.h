// The phone's main-window base: a 240 x 320 top-level window (the phone's screen)
// holding a content widget above an optional soft-key bar.
#pragma once

#include <QWidget>

class QVBoxLayout;

class ZMainWidget : public QWidget
{
    Q_OBJECT
public:
    static constexpr int ScreenWidth = 240;
    static constexpr int ScreenHeight = 320;

    explicit ZMainWidget(QWidget *parent = nullptr, const char *name = nullptr, int flags = 0);
    ZMainWidget(const QString &title, bool editorMode, QWidget *parent = nullptr,
                const char *name = nullptr, int flags = 0);

    void setContentWidget(QWidget *content);
    void setCSTWidget(QWidget *cst);
    QWidget *getContentWidget() const { return m_content; }
    QWidget *getCSTWidget() const { return m_cst; }

    // On a desktop "maximised" means the phone's screen, never the whole monitor.
    void showMaximized();

private:
    void init(int flags);

    QVBoxLayout *m_layout = nullptr;
    QWidget *m_content = nullptr;
    QWidget *m_cst = nullptr;
};
