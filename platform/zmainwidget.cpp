#include "platform/zmainwidget.h"

#include "platform/phonescreen.h"

#include <QVBoxLayout>

ZMainWidget::ZMainWidget(QWidget *parent, const char *name, int flags) : QWidget(parent)
{
    if (name)
        setObjectName(QString::fromLatin1(name));
    init(flags);
}

ZMainWidget::ZMainWidget(const QString &title, bool, QWidget *parent, const char *name, int flags)
    : QWidget(parent)
{
    if (name)
        setObjectName(QString::fromLatin1(name));
    setWindowTitle(title);
    init(flags);
}

void ZMainWidget::init(int)
{
    m_layout = new QVBoxLayout(this);
    m_layout->setContentsMargins(0, 0, 0, 0);
    m_layout->setSpacing(0);
    if (!parentWidget())
        setFixedSize(ScreenWidth, ScreenHeight);
    PhoneScreen::keepPopupsInside();
}

void ZMainWidget::setContentWidget(QWidget *content)
{
    if (m_content == content)
        return;
    if (m_content)
        m_layout->removeWidget(m_content);
    m_content = content;
    if (content) {
        content->setParent(this);
        m_layout->insertWidget(0, content, 1);
        content->show();
    }
}

void ZMainWidget::setCSTWidget(QWidget *cst)
{
    if (m_cst == cst)
        return;
    if (m_cst)
        m_layout->removeWidget(m_cst);
    m_cst = cst;
    if (cst) {
        cst->setParent(this);
        m_layout->addWidget(cst, 0);
        cst->show();
    }
}

void ZMainWidget::showMaximized()
{
    move(0, 0);
    PhoneScreen::setOrigin(pos());
    show();
}
