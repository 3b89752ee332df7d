// The INI store behind KConfig: groups of key=value entries, both ordered by plain
// code-unit comparison, read whole from one file and written whole back to it.
#pragma once

#include <QMap>
#include <QString>
#include <QStringList>

using KEntryMap = QMap<QString, QString>;

class KConfigBackend
{
public:
    // An empty file name gives a store that never reads or writes anything.
    explicit KConfigBackend(const QString &fileName);
    virtual ~KConfigBackend();

    // Reads the file into the group map (a missing or unreadable file leaves it empty).
    virtual void parse();
    // Replaces the group map with what the bytes hold, read as a file's content.
    void parseBytes(const QByteArray &bytes);
    // Writes every group that has entries, replacing the file atomically; a failure
    // leaves the old file exactly as it was. Where no temporary file can be made beside
    // it, an existing writable file is rewritten in place instead.
    virtual void sync();

    virtual QString group() const; // null when there is no current group
    virtual void setGroup(const QString &name);
    virtual QStringList groupList() const;
    virtual bool hasGroup(const QString &name) const;
    virtual bool hasKey(const QString &key) const;
    virtual KEntryMap entryMap() const;
    virtual bool readEntry(const QString &key, QString &value) const;
    // Refuses, with a warning, an entry the file could not give back as written.
    virtual void writeEntry(const QString &key, const QString &value);
    virtual void deleteGroup(const QString &name);

    QString fileName() const { return m_fileName; }

    // The whole file as sync() would write it.
    QByteArray serialize() const;

private:
    static bool writeInPlace(const QString &path, const QByteArray &bytes, const QByteArray &old);

    QString m_fileName;
    QMap<QString, KEntryMap> m_groups;
    QMap<QString, KEntryMap>::iterator m_current;
    bool m_hasCurrent = false;
};
