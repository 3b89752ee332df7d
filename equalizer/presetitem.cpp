#include "equalizer/presetitem.h"

PresetItem::PresetItem(QTreeWidget *view, const QString &name, bool isDefault, const Values &values)
    : QTreeWidgetItem(view, QStringList{name}), m_isDefault(isDefault), m_values(values)
{
}
