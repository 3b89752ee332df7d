#include "dropin/kconfigbackend.h"

#include "platform/logging.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace
{

// Only these count as white space: Latin-1 bytes such as 0xA0 are data.
bool isBlank(QChar c)
{
    const ushort u = c.unicode();
    return u == ' ' || u == '\t' || u == '\r' || u == '\n' || u == '\v' || u == '\f';
}

QString trimBlanks(const QString &s)
{
    qsizetype from = 0;
    qsizetype to = s.size();
    while (from < to && isBlank(s.at(from)))
        ++from;
    while (to > from && isBlank(s.at(to - 1)))
        --to;
    return s.mid(from, to - from);
}

// A line break would end the entry early and let the rest pass for further entries or
// headers (a file name holding "\n[group]\nkey=value" must not rewrite other settings).
bool breaksLine(const QString &s)
{
    return s.contains(QLatin1Char('\n')) || s.contains(QLatin1Char('\r'));
}

// Bytes are written as Latin-1: anything above it would come back as "?".
bool beyondLatin1(const QString &s)
{
    for (QChar c : s)
        if (c.unicode() > 0xff)
            return true;
    return false;
}

// Why parse() would not give back this entry as written, or null when it would. There is
// no escaping, so that every file read today reads and writes the same: what cannot be
// written plainly is refused. A value's trailing blanks go with the reader's trimming of
// the line; storing the value trimmed instead would quietly make it another one (a file
// name, say), so it is refused as well and the old value stays.
const char *unstorable(const QString &group, const QString &key, const QString &value)
{
    if (breaksLine(group) || breaksLine(key) || breaksLine(value))
        return "a line break";
    if (beyondLatin1(group) || beyondLatin1(key) || beyondLatin1(value))
        return "a character beyond Latin-1";
    if (group.contains(QLatin1Char(']')))
        return "a group name holding \"]\"";
    if (key.contains(QLatin1Char('=')))
        return "a key holding \"=\"";
    if (key.startsWith(QLatin1Char('#')) || key.startsWith(QLatin1Char('[')))
        return "a key beginning with \"#\" or \"[\"";
    if (!key.isEmpty() && isBlank(key.front()))
        return "a key beginning with a blank";
    if (!value.isEmpty() && isBlank(value.back()))
        return "a value ending in a blank";
    return nullptr;
}

} // namespace

KConfigBackend::KConfigBackend(const QString &fileName) : m_fileName(fileName) {}

KConfigBackend::~KConfigBackend() = default;

void KConfigBackend::parse()
{
    m_groups.clear();
    m_hasCurrent = false;
    if (m_fileName.isEmpty())
        return;
    qCDebug(lcSettings).noquote() << QString("parsing %1").arg(m_fileName);

    QFile file(m_fileName);
    if (!file.open(QIODevice::ReadOnly))
        return;
    parseBytes(file.readAll());
}

void KConfigBackend::parseBytes(const QByteArray &bytes)
{
    m_groups.clear();
    m_hasCurrent = false;
    qsizetype start = 0;
    while (start < bytes.size()) {
        qsizetype end = bytes.indexOf('\n', start);
        if (end < 0)
            end = bytes.size();
        const QString line =
            trimBlanks(QString::fromLatin1(bytes.constData() + start, end - start));
        start = end + 1;
        if (line.isEmpty() || line.at(0) == QLatin1Char('#'))
            continue;
        if (line.at(0) == QLatin1Char('[')) {
            const qsizetype close = line.indexOf(QLatin1Char(']'));
            if (close < 0)
                continue;
            setGroup(line.mid(1, close - 1));
            continue;
        }
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (eq < 0)
            continue;
        if (!m_hasCurrent)
            setGroup(QStringLiteral("<default>"));
        m_current->insert(line.left(eq), line.mid(eq + 1));
    }
}

QByteArray KConfigBackend::serialize() const
{
    QByteArray out;
    for (auto g = m_groups.constBegin(); g != m_groups.constEnd(); ++g) {
        if (g->isEmpty())
            continue;
        out += '[' + g.key().toLatin1() + "]\n";
        for (auto e = g->constBegin(); e != g->constEnd(); ++e)
            out += e.key().toLatin1() + '=' + e.value().toLatin1() + '\n';
    }
    return out;
}

void KConfigBackend::sync()
{
    if (m_fileName.isEmpty())
        return;
    QString path = m_fileName;
    if (!path.startsWith(QLatin1Char('/')))
        path = QDir::homePath() + QLatin1Char('/') + path;
    qCDebug(lcSettings).noquote() << QString("writing to %1").arg(path);

    const QByteArray bytes = serialize();
    // A file that already holds these bytes is left alone: most syncs change nothing, and
    // each write costs the card a flush.
    QByteArray old;
    bool exists = false;
    {
        QFile current(path);
        if (current.open(QIODevice::ReadOnly)) {
            exists = true;
            old = current.readAll();
            if (old == bytes)
                return;
        }
    }
    // Written beside the old file and renamed over it, so a crash or a full disk
    // never leaves half a settings file behind.
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly)) {
        // A short write (full card, size limit) must not be renamed over the old file.
        if (file.write(bytes) != bytes.size() || !file.flush()) {
            file.cancelWriting();
            file.commit();
            return;
        }
        if (file.commit())
            return;
    }
    // The temporary file could not be made or put in place (a folder that takes no new
    // files, a name with no room for a suffix): a writable file is still rewritten.
    if (exists && writeInPlace(path, bytes, old))
        qCWarning(lcSettings).noquote()
            << QString("rewrote %1 in place: no temporary file beside it").arg(path);
}

bool KConfigBackend::writeInPlace(const QString &path, const QByteArray &bytes,
                                  const QByteArray &old)
{
    QFile file(path);
    // Opened without truncating: the old content goes only once the new one is written.
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadWrite))
        return false;
    if (file.write(bytes) == bytes.size() && file.flush() && file.resize(bytes.size()))
        return true;
    // The old content fitted where it was: put it back as well as can be.
    file.seek(0);
    file.write(old);
    file.flush();
    file.resize(old.size());
    qCWarning(lcSettings).noquote() << QString("could not rewrite %1 in place").arg(path);
    return false;
}

QString KConfigBackend::group() const
{
    return m_hasCurrent ? m_current.key() : QString();
}

void KConfigBackend::setGroup(const QString &name)
{
    m_current = m_groups.find(name);
    if (m_current == m_groups.end())
        m_current = m_groups.insert(name, KEntryMap());
    m_hasCurrent = true;
}

QStringList KConfigBackend::groupList() const
{
    return m_groups.keys();
}

bool KConfigBackend::hasGroup(const QString &name) const
{
    return m_groups.contains(name);
}

bool KConfigBackend::hasKey(const QString &key) const
{
    return m_hasCurrent && m_current->contains(key);
}

KEntryMap KConfigBackend::entryMap() const
{
    return m_hasCurrent ? *m_current : KEntryMap();
}

bool KConfigBackend::readEntry(const QString &key, QString &value) const
{
    if (!m_hasCurrent)
        return false;
    auto it = m_current->constFind(key);
    if (it == m_current->constEnd())
        return false;
    value = it.value();
    return true;
}

void KConfigBackend::writeEntry(const QString &key, const QString &value)
{
    if (!m_hasCurrent) {
        qCDebug(lcSettings) << "writeEntry without previous setGroup!";
        return;
    }
    if (const char *why = unstorable(m_current.key(), key, value)) {
        qCWarning(lcSettings) << "refusing an entry with" << why << "- group" << m_current.key()
                              << "key" << key;
        return;
    }
    m_current->insert(key, value);
}

void KConfigBackend::deleteGroup(const QString &name)
{
    auto it = m_groups.find(name);
    if (it == m_groups.end())
        return;
    if (m_hasCurrent && m_current == it)
        m_hasCurrent = false;
    m_groups.erase(it);
}
