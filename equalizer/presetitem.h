// One equalizer preset in the preset list: its name, where it came from, and its
// eleven values in decibels (preamp, then bands 0 to 9).
#pragma once

#include <QTreeWidgetItem>
#include <array>

class PresetItem : public QTreeWidgetItem
{
public:
    using Values = std::array<float, 11>;

    PresetItem(QTreeWidget *view, const QString &name, bool isDefault, const Values &values);

    QString name() const { return text(0); }
    bool isDefault() const { return m_isDefault; }
    const Values &values() const { return m_values; }

private:
    bool m_isDefault;
    Values m_values;
};
