// Whether many paths name regular files (links followed), for lists of tens of thousands:
// a folder named by many of the paths is read once, and the names found in it answer
// without a stat each. Paths are bytes, as the file system holds them. Meant for one pass
// over a list: what changes on disk afterwards is not seen.
#pragma once

#include <QByteArray>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

class RegularFiles
{
public:
    bool contains(const QByteArray &path);

private:
    // Once listed: the names one after the other in one block, found through an open
    // table of (hash, where) slots; a folder of a hundred thousand names is then two
    // small allocations and a lookup touches two places in memory.
    struct Slot {
        uint32_t hash = 0;
        uint32_t at = 0; // 1 + offset of the name in `names`; 0 for an empty slot
    };
    struct Folder {
        int asked = 0;
        bool listed = false;
        std::string names; // each name, its NUL, its dirent type
        std::vector<Slot> table;
        // The dirent type of `name`, or -1 when the folder does not hold it.
        int typeOf(std::string_view name) const;
    };
    static void list(const QByteArray &path, Folder &folder);

    // A map: its entries stay where they are, so the last one asked can be kept at hand.
    std::map<QByteArray, Folder> m_folders;
    std::map<QByteArray, Folder>::iterator m_last = m_folders.end();
};
