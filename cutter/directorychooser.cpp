#include "cutter/directorychooser.h"

#include "cutter/directory.h"
#include "cutter/directoryview.h"
#include "platform/cardroot.h"

#include <QDir>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace
{
const QString kPhoneCard = QStringLiteral("/mmc/mmca1");
}

DirectoryChooser::DirectoryChooser(QWidget *parent, bool showDirsOnly)
    : ZBaseDialog(parent, "DirectoryChooser", true)
{
    auto *layout = new QVBoxLayout(this);
    m_view = new DirectoryView(this, "DirectoryView", showDirsOnly);
    m_view->setColumnCount(1);
    m_view->setHeaderLabels({QStringLiteral("Directory")});
    m_view->setHeaderHidden(true);
    layout->addWidget(m_view);

    const QFileInfoList drives = QDir::drives();
    for (const QFileInfo &drive : drives)
        new Directory(m_view, drive.filePath());
    if (drives.size() == 1)
        static_cast<Directory *>(m_view->topLevelItem(0))->setOpen(true);

    // Off the phone the card lives under the application directory, whose path may pass
    // through folders the tree hides: the card then gets a top item of its own.
    const QString card = platform::cardRoot();
    if (card != kPhoneCard && QFileInfo(card).isDir())
        m_view->addRoot(card);

    m_view->setIndentation(10);
    m_view->setAllColumnsShowFocus(true);
    m_view->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_view->setDir(card + QLatin1Char('/'));

    auto *buttons = new QHBoxLayout;
    auto *ok = new QPushButton(QStringLiteral("OK"), this);
    auto *cancel = new QPushButton(QStringLiteral("Cancel"), this);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);
    resize(220, 240);
}

QString DirectoryChooser::chosenPath() const
{
    QTreeWidgetItem *item = m_view->currentItem();
    return item ? DirectoryView::fullPath(item) : QString();
}

QString DirectoryChooser::choose(QWidget *parent, bool showDirsOnly)
{
    DirectoryChooser dialog(parent, showDirsOnly);
    if (dialog.exec() != QDialog::Accepted)
        return QString();
    return dialog.chosenPath();
}
