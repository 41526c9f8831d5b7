#pragma once
// CIniSection: one "[name]" section of a section file and its key = value entries, in the order
// the file gives them. Keys are unique within a section without regard to letter case: the first
// line of a key wins and later lines of the same key are refused. Lookups ignore letter case
// (ASCII letters only, as everywhere on the device).

#include "common/QoString.h"

#include <cstddef>
#include <map>
#include <vector>

class CIniSection {
public:
    struct Entry {
        CQoString key;
        CQoString value;
    };

    explicit CIniSection(const CQoString& name);
    virtual ~CIniSection();
    CIniSection(const CIniSection& other);
    CIniSection(CIniSection&& other) noexcept;
    CIniSection& operator=(const CIniSection& other);
    CIniSection& operator=(CIniSection&& other) noexcept;

    const CQoString& GetName() const { return m_name; }

    // Appends the entry; false, and nothing changes, when the section already holds the key.
    bool AddEntry(const CQoString& key, const CQoString& value);
    // The entry of that key, or null.
    const Entry* FindEntry(const char16_t* key) const;
    // The value of that key; empty text when the section has no such key.
    CQoString GetValue(const char16_t* key) const;
    const std::vector<Entry>& GetEntries() const { return m_entries; }

private:
    static std::u16string FoldedKey(const char16_t* key);

    CQoString m_name;
    std::vector<Entry> m_entries;
    // Folded key -> index into m_entries. An ordered map keeps the duplicate check and lookups
    // logarithmic whatever keys a file holds, so no file can make reading it quadratic.
    std::map<std::u16string, std::size_t> m_index;
};
