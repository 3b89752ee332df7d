#include "cutter/viewdialog.h"

#include "platform/cardroot.h"
#include "platform/util_pushbutton.h"
#include "playlist/filebrowser.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

ViewDialog::ViewDialog(QWidget *parent, const QString &filter, bool modal, Qt::WindowFlags flags)
    : ViewDialog(parent, filter, platform::cardRoot(), modal, flags)
{
}

ViewDialog::ViewDialog(QWidget *parent, const QString &filter, const QString &dir, bool modal,
                       Qt::WindowFlags flags)
    : QDialog(parent, flags)
{
    setObjectName(filter);
    setModal(modal);
    setGeometry(10, 46, 220, 240);
    auto *layout = new QVBoxLayout(this);
    // Tight margins: the three buttons share the dialog's 220 pixels.
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(4);

    auto *title = new QLabel(QStringLiteral("Opens"), this);
    title->setFixedHeight(title->sizeHint().height() + 5);
    layout->addWidget(title);

    m_browser = new FileBrowser(filter, this, "browser");
    // The platform's card root, not a fixed string: off the phone it lives under the
    // application directory.
    if (!m_browser->setDir(dir) && dir != platform::cardRoot())
        m_browser->setDir(platform::cardRoot());
    layout->addWidget(m_browser);

    const int w = UTIL_PushButton::defaultWidth();
    const int h = UTIL_PushButton::defaultHeight();
    auto *row = new QHBoxLayout;
    row->setSpacing(2);
    m_menuButton = new UTIL_PushButton("CST_Menu", QString(), this, 0, w, h);
    m_okButton = new UTIL_PushButton(nullptr, QStringLiteral("OK"), this, 0, 90, h);
    m_okButton->setObjectName(QStringLiteral("ok"));
    m_okButton->setMaximumWidth(QWIDGETSIZE_MAX); // takes the width the icons leave
    m_backButton = new UTIL_PushButton("CST_Back", QString(), this, 0, w, h);
    row->addWidget(m_menuButton);
    row->addWidget(m_okButton, 1);
    row->addWidget(m_backButton);
    layout->addLayout(row);

    connect(m_okButton, &QPushButton::clicked, this, &ViewDialog::returned);
    connect(m_backButton, &QPushButton::clicked, this, &QDialog::close);
    m_browser->setFocus();
}

void ViewDialog::returned()
{
    m_path = m_browser->currentDir();
    accept();
}
