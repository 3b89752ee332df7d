// A colour choice small enough for the phone's 240 x 320 screen: the 48 standard colours as
// swatches, the colour as "#rrggbb" text, OK and Cancel. It opens over its parent's window.
#pragma once

#include <QColor>
#include <QDialog>

class QLabel;
class QLineEdit;

class LyricColorDialog : public QDialog
{
    Q_OBJECT
public:
    static constexpr int kWidth = 220;
    static constexpr int kHeight = 230;

    explicit LyricColorDialog(const QColor &start, QWidget *parent = nullptr);

    QColor currentColor() const { return m_current; }
    // Invalid colours are ignored.
    void setCurrentColor(const QColor &color);
    // What was confirmed; invalid until OK with a valid colour.
    QColor selectedColor() const { return m_selected; }

    void accept() override;

private:
    QColor m_current;
    QColor m_selected;
    QLabel *m_sample = nullptr;
    QLineEdit *m_name = nullptr;
};
