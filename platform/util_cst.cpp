#include "platform/util_cst.h"

#include "platform/res_icon_reader.h"

#include <QHBoxLayout>
#include <QPushButton>

namespace
{
QPushButton *softKey(QWidget *parent, const char *resource)
{
    auto *button = new QPushButton(parent);
    const QString name = QString::fromLatin1(resource ? resource : "");
    button->setObjectName(name);
    if (!name.isEmpty()) {
        button->setIcon(RES_ICON_Reader().getIcon(name, true));
        button->setText(RES_ICON_Reader::label(name));
    }
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}
} // namespace

UTIL_CST::UTIL_CST(QWidget *parent, const QString &midText, const char *leftResource,
                   const char *rightResource)
    : QWidget(parent)
{
    setFixedHeight(BarHeight);
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    m_left = softKey(this, leftResource);
    m_mid = new QPushButton(midText, this);
    m_mid->setFocusPolicy(Qt::NoFocus);
    m_right = softKey(this, rightResource);
    layout->addWidget(m_left);
    layout->addWidget(m_mid, 1);
    layout->addWidget(m_right);
}
