// The playlist editor's file chooser: "Opens" over a FileBrowser (object name
// "browser") with OK and Back buttons. Run modally through pick().
#pragma once

#include <QDialog>

class FileBrowser;

class ListChooser : public QDialog
{
    Q_OBJECT
public:
    ListChooser(QWidget *parent, const QString &filter);

    FileBrowser *browser() const { return m_browser; }

    // Shows `dir` and runs the chooser; the file picked, or a null string when it was
    // cancelled or no file was picked.
    static QString pick(QWidget *parent, const QString &filter, const QString &dir);

private:
    FileBrowser *m_browser;
};
