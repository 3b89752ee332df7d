// A settings file opened for one short scope: built = whole file read, destroyed =
// whole file rewritten (unless read-only). Bytes pass through as Latin-1, so callers
// that keep UTF-8 text encode and decode it themselves.
#pragma once

#include "dropin/kconfigbackend.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

class KConfig
{
public:
    explicit KConfig(const QString &fileName, bool readOnly = false);
    ~KConfig();
    KConfig(const KConfig &) = delete;
    KConfig &operator=(const KConfig &) = delete;

    // An empty or null name selects "<default>"; the group is created when absent.
    void setGroup(const QString &name);
    QString group() const;
    void sync();
    QStringList groupList() const;
    bool hasGroup(const QString &name) const;
    bool hasKey(const QString &key) const;
    KEntryMap entryMap() const;
    void deleteGroup(const QString &name);

    // The stored value, even an empty one; the default only when the key is absent.
    QString readEntry(const QString &key, const QString &defaultValue = QString()) const;
    // Absent or empty gives the default; text that is not a number gives 0.
    int readNumEntry(const QString &key, int defaultValue = 0) const;
    // Absent or empty gives the default; "true"/"on" and "false"/"off" in any case,
    // anything else counts by its number (so "1" is true and "yes" false).
    bool readBoolEntry(const QString &key, bool defaultValue = false) const;
    // Split at every separator, empty pieces dropped, pieces not trimmed.
    QStringList readListEntry(const QString &key, QChar separator = QLatin1Char(',')) const;
    QDateTime readDateTimeEntry(const QString &key, const QDateTime &defaultValue = {}) const;

    void writeEntry(const QString &key, const QString &value);
    void writeEntry(const QString &key, const char *value);
    void writeEntry(const QString &key, int value);
    void writeEntry(const QString &key, bool value);
    void writeEntry(const QString &key, const QStringList &value,
                    QChar separator = QLatin1Char(','));
    void writeEntry(const QString &key, const QDateTime &value);

    // Conversions the readers use, on a value already read.
    static int toNum(const QString &value);
    static bool toBool(const QString &value);

private:
    KConfigBackend *m_backend;
    bool m_readOnly;
};
