// The flat file chooser: a FileBrowser under the title "Opens", opening at the memory
// card or at a folder the owner names. The owner may list another folder through
// browser()->setDir() before exec(); after acceptance it reads browser()->pickedFile() or
// path() (the folder shown).
#pragma once

#include <QDialog>

class FileBrowser;
class UTIL_PushButton;

class ViewDialog : public QDialog
{
    Q_OBJECT
public:
    // The filter is the browser's ";"-separated name filter and the dialog's object name.
    explicit ViewDialog(QWidget *parent = nullptr, const QString &filter = QString(),
                        bool modal = true, Qt::WindowFlags flags = {});
    // Opens at `dir`, or at the memory card when `dir` cannot be listed. Each folder is
    // listed once: a card folder may hold tens of thousands of songs.
    ViewDialog(QWidget *parent, const QString &filter, const QString &dir, bool modal = true,
               Qt::WindowFlags flags = {});

    FileBrowser *browser() const { return m_browser; }
    // The folder shown when "OK" was pressed.
    QString path() const { return m_path; }

public slots:
    void returned();

private:
    QString m_path;
    FileBrowser *m_browser;
    UTIL_PushButton *m_menuButton;
    UTIL_PushButton *m_okButton;
    UTIL_PushButton *m_backButton;
};
