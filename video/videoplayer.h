// The control window of a playing video: mplayer draws the picture into it, and its keys
// and touches become slave commands through the Engine. It drives mplayer's own on-screen
// display, steps a small table of picture adjustments and the system volume.
#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>

class Engine;

class VideoPlayer : public QWidget
{
    Q_OBJECT
public:
    // The phone's screen: the window's size everywhere.
    static constexpr int ScreenWidth = 240;
    static constexpr int ScreenHeight = 320;

    // Keys read from ".xmms/tavrin_cfg", group "tvskin", as phone key codes.
    enum KeyId {
        KeyVolUp,
        KeyVolDown,
        KeyEnter,
        KeyUp,
        KeyDown,
        KeyLeft,
        KeyRight,
        KeyCamera,
        KeySoftLeft,
        KeySoftRight,
        KeyCancel,
        KeyDial,
        KeyCount
    };
    struct KeySetting {
        const char *name;
        int defaultCode;
    };
    static const KeySetting *keySettings(); // KeyCount rows, in KeyId order

    // Picture adjustments stepped by the volume keys; the table ends at an empty label.
    struct Adjustment {
        char label[100];
        char command[100];
        int kind; // 0 system volume, 1 player property, -1 end
        int minimum;
        int maximum;
        int step;
        int defaultValue;
    };
    static const Adjustment *adjustments();
    struct Action {
        char label[100];
        char command[100];
    };
    static const Action *actions(); // 3 rows

    // The read-out rectangle of the volume steps.
    static QRect readoutRect();

    VideoPlayer(QWidget *parent, Engine *engine);

    int keyCode(KeyId key) const { return m_keys[key]; }
    int adjustRow() const { return m_adjustRow; }
    bool normalSpeed() const { return m_normalSpeed; }
    // The last volume read-out painted ("vol: 80"), empty before the first.
    QString readout() const { return m_readout; }
    // The two commands that show a label on mplayer's on-screen display (one write).
    static QString osdTextCommand(const QString &label);

public slots:
    void sltEngineQuit();

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    // Only the window the engine currently owns speaks to it; a released one is inert.
    Engine *engine() const;
    void send(const QString &command);
    void stepAdjustment(bool up);
    bool runPlayKey(int key); // true when a row matched

    QPointer<Engine> m_engine;
    int m_adjustRow = 0;
    int m_actionRow = 0;
    int m_keys[KeyCount];
    bool m_normalSpeed = true;
    QString m_appDir;
    QString m_readout;
};
