#include "readme/xreadmewidget.h"

#include "platform/logging.h"
#include "platform/util_pushbutton.h"
#include "platform/zmultilineedit.h"
#include "platform/zscrollview.h"

#include <QDir>
#include <QFile>
#include <QHBoxLayout>
#include <QStringDecoder>
#include <QVBoxLayout>

namespace
{
}

XreadmeWidget::XreadmeWidget(QWidget *parent, const char *name, int modal) : QDialog(parent)
{
    if (name)
        setObjectName(QString::fromLatin1(name));
    setModal(modal != 0);
    setAttribute(Qt::WA_DeleteOnClose);
    auto *layout = new QVBoxLayout(this);
    setGeometry(0, 0, 236, 320);

    m_scroll = new ZScrollView(this);
    m_scroll->enableClipper(true);
    layout->addWidget(m_scroll);

    auto *row = new QHBoxLayout;
    const int w = UTIL_PushButton::defaultWidth();
    const int h = UTIL_PushButton::defaultHeight();
    m_back = new UTIL_PushButton("CST_Back", QString(), this, 0, w, h - 2);
    connect(m_back, &QPushButton::clicked, this, &QWidget::close);
    row->addStretch();
    row->addWidget(m_back);
    layout->addLayout(row);

    // The phone's 15 points are pixels: the text keeps its size at any DPI.
    QFont textFont = font();
    textFont.setPixelSize(15);
    m_text = new ZMultiLineEdit(m_scroll->viewport(), 1);
    m_text->setReadOnly(true);
    m_text->setFont(textFont);
    // The user's own readme; else the one the application folder carries (installed).
    QString text = readText(QDir::homePath() + QStringLiteral("/readme"));
    if (text.isNull())
        text = readText(QDir::currentPath() + QStringLiteral("/readme"));
    if (!text.isNull())
        m_text->setText(text);
    m_text->resize(215, 25);
    m_scroll->addChild(m_text);
}

QString XreadmeWidget::readText(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        qCDebug(lcReadme) << "no readme at" << path;
        return QString();
    }
    const QByteArray bytes = file.readAll();
    QStringDecoder gbk("GBK");
    if (!gbk.isValid())
        return QString::fromLocal8Bit(bytes);
    return gbk.decode(bytes);
}

void XreadmeWidget::doSave()
{
    close();
}

void XreadmeWidget::doCancel()
{
    close();
}
