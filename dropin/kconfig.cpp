#include "dropin/kconfig.h"

KConfig::KConfig(const QString &fileName, bool readOnly)
    : m_backend(new KConfigBackend(fileName)), m_readOnly(readOnly)
{
    m_backend->parse();
}

KConfig::~KConfig()
{
    if (!m_readOnly)
        m_backend->sync();
    delete m_backend;
}

void KConfig::setGroup(const QString &name)
{
    m_backend->setGroup(name.isEmpty() ? QStringLiteral("<default>") : name);
}

QString KConfig::group() const
{
    return m_backend->group();
}
void KConfig::sync()
{
    m_backend->sync();
}
QStringList KConfig::groupList() const
{
    return m_backend->groupList();
}
bool KConfig::hasGroup(const QString &name) const
{
    return m_backend->hasGroup(name);
}
bool KConfig::hasKey(const QString &key) const
{
    return m_backend->hasKey(key);
}
KEntryMap KConfig::entryMap() const
{
    return m_backend->entryMap();
}
void KConfig::deleteGroup(const QString &name)
{
    m_backend->deleteGroup(name);
}

QString KConfig::readEntry(const QString &key, const QString &defaultValue) const
{
    QString value;
    return m_backend->readEntry(key, value) ? value : defaultValue;
}

int KConfig::toNum(const QString &value)
{
    return value.trimmed().toInt(); // 0 when it does not convert
}

bool KConfig::toBool(const QString &value)
{
    const QString lower = value.toLower();
    if (lower == QLatin1String("true") || lower == QLatin1String("on"))
        return true;
    if (lower == QLatin1String("false") || lower == QLatin1String("off"))
        return false;
    return toNum(value) != 0;
}

int KConfig::readNumEntry(const QString &key, int defaultValue) const
{
    const QString value = readEntry(key);
    return value.isEmpty() ? defaultValue : toNum(value);
}

bool KConfig::readBoolEntry(const QString &key, bool defaultValue) const
{
    const QString value = readEntry(key);
    return value.isEmpty() ? defaultValue : toBool(value);
}

QStringList KConfig::readListEntry(const QString &key, QChar separator) const
{
    return readEntry(key).split(separator, Qt::SkipEmptyParts);
}

QDateTime KConfig::readDateTimeEntry(const QString &key, const QDateTime &defaultValue) const
{
    const QStringList parts = readListEntry(key);
    if (parts.size() != 6)
        return defaultValue;
    int n[6];
    for (int i = 0; i < 6; ++i)
        n[i] = toNum(parts.at(i));
    QDateTime value(QDate(n[0], n[1], n[2]), QTime(n[3], n[4], n[5]));
    return value.isValid() ? value : defaultValue;
}

void KConfig::writeEntry(const QString &key, const QString &value)
{
    m_backend->writeEntry(key, value);
}

void KConfig::writeEntry(const QString &key, const char *value)
{
    writeEntry(key, QString::fromLatin1(value));
}

void KConfig::writeEntry(const QString &key, int value)
{
    writeEntry(key, QString::number(value));
}

void KConfig::writeEntry(const QString &key, bool value)
{
    writeEntry(key, QString::fromLatin1(value ? "true" : "false"));
}

void KConfig::writeEntry(const QString &key, const QStringList &value, QChar separator)
{
    writeEntry(key, value.join(separator));
}

void KConfig::writeEntry(const QString &key, const QDateTime &value)
{
    const QDate d = value.date();
    const QTime t = value.time();
    writeEntry(key, QStringList{QString::number(d.year()), QString::number(d.month()),
                                QString::number(d.day()), QString::number(t.hour()),
                                QString::number(t.minute()), QString::number(t.second())});
}
