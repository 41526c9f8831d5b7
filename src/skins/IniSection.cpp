#include "skins/IniSection.h"

#include "platform/device/WideText.h"

#include <utility>

CIniSection::CIniSection(const CQoString& name) : m_name(name) {}

CIniSection::~CIniSection() = default;
CIniSection::CIniSection(const CIniSection& other) = default;
CIniSection::CIniSection(CIniSection&& other) noexcept = default;
CIniSection& CIniSection::operator=(const CIniSection& other) = default;
CIniSection& CIniSection::operator=(CIniSection&& other) noexcept = default;

std::u16string CIniSection::FoldedKey(const char16_t* key)
{
    std::u16string folded(key ? key : u"");
    for (char16_t& c : folded)
        c = device::foldLower(c);
    return folded;
}

bool CIniSection::AddEntry(const CQoString& key, const CQoString& value)
{
    auto [position, added] = m_index.emplace(FoldedKey(key.GetString()), m_entries.size());
    if (!added)
        return false;
    m_entries.push_back(Entry{key, value});
    return true;
}

const CIniSection::Entry* CIniSection::FindEntry(const char16_t* key) const
{
    auto found = m_index.find(FoldedKey(key));
    return found == m_index.end() ? nullptr : &m_entries[found->second];
}

CQoString CIniSection::GetValue(const char16_t* key) const
{
    const Entry* entry = FindEntry(key);
    return entry ? entry->value : CQoString();
}
