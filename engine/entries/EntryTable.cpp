#include "engine/entries/EntryTable.h"

#include <cstring>

namespace trelvano {

const Entry* FindEntry(const char* box)
{
    for (const Entry& entry : kEntries) {
        if (std::strcmp(entry.box, box) == 0) return &entry;
    }
    return nullptr;
}

EntryTexts InitialEntries(const std::string& type)
{
    EntryTexts entries;
    for (const Entry& entry : kEntries) entries.*entry.text = entry.initialText;
    entries.Combo1 = type;
    return entries;
}

}  // namespace trelvano
