#include "platform/regularfiles.h"

#include <cstring>
#include <dirent.h>
#include <functional>
#include <sys/stat.h>

namespace
{

// Folders named fewer times than this are not worth reading whole.
constexpr int ListAfter = 32;

bool isRegular(const char *path)
{
    struct stat info;
    return ::stat(path, &info) == 0 && S_ISREG(info.st_mode);
}

uint32_t hashOf(std::string_view name)
{
    return uint32_t(std::hash<std::string_view>()(name));
}

} // namespace

int RegularFiles::Folder::typeOf(std::string_view name) const
{
    const uint32_t hash = hashOf(name);
    const size_t mask = table.size() - 1;
    for (size_t i = hash & mask;; i = (i + 1) & mask) {
        const Slot &slot = table[i];
        if (slot.at == 0)
            return -1;
        if (slot.hash != hash)
            continue;
        const char *stored = names.data() + slot.at - 1;
        if (std::memcmp(stored, name.data(), name.size()) == 0 && stored[name.size()] == 0)
            return static_cast<unsigned char>(stored[name.size() + 1]);
    }
}

void RegularFiles::list(const QByteArray &path, Folder &folder)
{
    folder.listed = true;
    DIR *dir = ::opendir(path.isEmpty() ? "." : path.constData());
    // A folder that can be searched but not read: every name is asked with stat.
    if (!dir)
        return;
    size_t count = 0;
    while (const dirent *d = ::readdir(dir)) {
        folder.names.append(d->d_name, std::strlen(d->d_name) + 1);
        folder.names.push_back(char(d->d_type));
        ++count;
    }
    ::closedir(dir);
    if (folder.names.size() >= UINT32_MAX)
        return; // no table: stat for each
    size_t size = 16;
    while (size < 2 * count)
        size *= 2;
    folder.table.assign(size, Slot());
    const size_t mask = size - 1;
    for (size_t offset = 0; offset < folder.names.size();) {
        const std::string_view name(folder.names.data() + offset);
        const uint32_t hash = hashOf(name);
        size_t i = hash & mask;
        while (folder.table[i].at != 0)
            i = (i + 1) & mask;
        folder.table[i] = Slot{hash, uint32_t(offset + 1)};
        offset += name.size() + 2;
    }
}

bool RegularFiles::contains(const QByteArray &path)
{
    const qsizetype slash = path.lastIndexOf('/');
    const QByteArrayView name = QByteArrayView(path).sliced(slash + 1);
    // "dir/" and the like: nothing to look up in a listing.
    if (name.isEmpty() || name == "." || name == "..")
        return isRegular(path.constData());
    const QByteArrayView parent =
        slash < 0 ? QByteArrayView() : QByteArrayView(path).first(slash == 0 ? 1 : slash);
    // The lines of a list mostly name the same folder as the line before.
    if (m_last == m_folders.end() || QByteArrayView(m_last->first) != parent)
        m_last = m_folders.try_emplace(parent.toByteArray()).first;
    Folder &folder = m_last->second;
    if (!folder.listed && ++folder.asked > ListAfter)
        list(m_last->first, folder);
    if (folder.table.empty())
        return isRegular(path.constData());
    const int type = folder.typeOf(std::string_view(name.data(), size_t(name.size())));
    // Links and file systems that do not tell the kind: ask.
    return type == DT_REG ||
           ((type == DT_LNK || type == DT_UNKNOWN) && isRegular(path.constData()));
}
