#include "playlist/listchooser.h"

#include "platform/util_pushbutton.h"
#include "playlist/filebrowser.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

ListChooser::ListChooser(QWidget *parent, const QString &filter) : QDialog(parent)
{
    setObjectName(filter);
    setGeometry(10, 46, 220, 240);
    auto *layout = new QVBoxLayout(this);
    auto *title = new QLabel(QStringLiteral("Opens"), this);
    title->setFixedHeight(title->sizeHint().height() + 5);
    layout->addWidget(title);
    m_browser = new FileBrowser(filter, this, "browser");
    layout->addWidget(m_browser);

    auto *row = new QHBoxLayout;
    const int w = UTIL_PushButton::defaultWidth();
    const int h = UTIL_PushButton::defaultHeight();
    auto *ok = new UTIL_PushButton("", QStringLiteral("OK"), this, 0, w, h);
    auto *back = new UTIL_PushButton("CST_Back", QString(), this, 0, w, h);
    row->addWidget(ok, 1);
    row->addWidget(back);
    layout->addLayout(row);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(back, &QPushButton::clicked, this, &QDialog::reject);
    m_browser->setFocus();
}

QString ListChooser::pick(QWidget *parent, const QString &filter, const QString &dir)
{
    ListChooser chooser(parent, filter);
    chooser.browser()->setDir(dir);
    if (chooser.exec() != QDialog::Accepted)
        return QString();
    return chooser.browser()->pickedFile();
}
