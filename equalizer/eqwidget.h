// The equalizer preset dialog: lists the presets of the home directory's
// ".xmms/default.preset" and ".xmms/user.preset", applies the chosen one to xmms, and
// stores xmms's current equalizer as the user's preset "我的音乐". Reaches xmms through
// xmmsInstance; without an adapter it applies and stores nothing.
//
// OK applies the preset the user picked (if any), emits equalizerChange() and closes the
// dialog, which then deletes itself (later): an opener running it with exec() keeps it in
// a QPointer. Cancel only closes it.
#pragma once

#include <QDialog>

class PresetItem;
class QTreeWidget;
class QTreeWidgetItem;
class XMMSPlayer;

class eqWidget : public QDialog
{
    Q_OBJECT
public:
    explicit eqWidget(QWidget *parent = nullptr);

    QTreeWidget *presetList() const { return presetListView; }
    // Preset file paths under `homeDir`.
    static QString defaultPresetFile(const QString &homeDir);
    static QString userPresetFile(const QString &homeDir);
    // The user's preset group name, as the settings store keeps it (UTF-8 bytes).
    static QString userPresetGroup();

public slots:
    void reload();
    void setPreset();
    void savePreset();
    void setPreset(QTreeWidgetItem *item);
    void returned();

signals:
    void equalizerChange();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void readFile(const QString &path, bool isDefault);
    QTreeWidgetItem *chosenItem() const; // null unless the user picked a preset

    QString m_homeDir;
    XMMSPlayer *m_xmms;
    QTreeWidget *presetListView;
};
