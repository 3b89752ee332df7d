// The ringtone cutter window: cuts a stretch of an MP3 file with "kerfa/mp3asm",
// optionally changes its volume with "kerfa/mp3gain" and writes its ID3v1 tag with
// "kerfa/vellum" (all under the working directory), each run through the shell and
// waited for. A preview cuts into a scratch file on the card, plays it and removes it once
// the player returns. The window deletes itself when closed and says so with clickcolse().
#pragma once

#include "platform/zmainwidget.h"

class QCheckBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QScrollArea;
class QVBoxLayout;
class UTIL_CST;

class Kerfa : public ZMainWidget
{
    Q_OBJECT
public:
    explicit Kerfa(QWidget *parent = nullptr, const char *name = nullptr, int flags = 0);

    // The scratch file of the preview: "/mmc/mmca1/.system/kerfa.tmp.mp3" on the card.
    static QString previewFile();

public slots:
    void start();
    void getInputFile();
    void showAbout();
    void switchMode();
    void preview();
    void checkForGain();
    void checkForId3();

signals:
    void clickcolse();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    // The form's groups, added to the scrolled content in order.
    void addFileGroups(QWidget *content, QVBoxLayout *box);
    void addGainGroup(QWidget *content, QVBoxLayout *box);
    void addTagGroup(QWidget *content, QVBoxLayout *box);
    void gainStep(const QString &path);
    void tagStep(const QString &path);
    int run(const QString &command);
    void information(const QString &text);
    bool lengthMode() const;

    UTIL_CST *m_softKeys;
    QPushButton *m_menuButton;
    QScrollArea *m_scroll;
    QLineEdit *m_inputEdit;
    QLineEdit *m_outputEdit;
    QLineEdit *m_startEdit;
    QLineEdit *m_endEdit;
    QLineEdit *m_gainEdit;
    QLineEdit *m_titleEdit;
    QLineEdit *m_artistEdit;
    QLineEdit *m_albumEdit;
    QCheckBox *m_verboseCheck;
    QCheckBox *m_keepTagCheck;
    QCheckBox *m_gainCheck;
    QCheckBox *m_leftCheck;
    QCheckBox *m_rightCheck;
    QCheckBox *m_tagCheck;
    QGroupBox *m_gainGroup;
    QGroupBox *m_tagGroup;
    QPushButton *m_modeButton;
    int m_previews = 0; // previews started so far
};
