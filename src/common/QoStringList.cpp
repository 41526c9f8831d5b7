#include "common/QoStringList.h"

namespace {

// What look-ups return for a position out of range. They are handed out as const references,
// so no caller can change what the next caller reads.
const CQoString& emptyForNext()
{
    static const CQoString empty(u"");
    return empty;
}

const CQoString& emptyForAt()
{
    static const CQoString empty(u"");
    return empty;
}

} // namespace

CQoStringList::CQoStringList() = default;

CQoStringList::CQoStringList(const CQoStringList& other) { *this = other; }

CQoStringList& CQoStringList::operator=(const CQoStringList& other)
{
    if (this == &other)
        return *this;
    RemoveAll();
    for (unsigned i = 0; i < other.m_count; ++i)
        Add(*other.m_items[i]);
    return *this;
}

CQoStringList::~CQoStringList() { RemoveAll(); }

const CQoString& CQoStringList::GetNext(Position& position) const
{
    if (position < 1 || position > m_count) {
        position = 0;
        return emptyForNext();
    }
    const CQoString& item = *m_items[position - 1];
    position = position < m_count ? position + 1 : 0;
    return item;
}

const CQoString& CQoStringList::GetAt(Position position) const
{
    if (position < 1 || position > m_count)
        return emptyForAt();
    return *m_items[position - 1];
}

bool CQoStringList::SetAt(Position position, const CQoString& text)
{
    if (position < 1 || position > m_count)
        return false;
    *m_items[position - 1] = text;
    return true;
}

void CQoStringList::InsertAt(unsigned index, const CQoString& text)
{
    // The array grows by exactly one slot per insertion.
    auto* item = new CQoString(text);
    auto** items = new CQoString*[m_count + 1];
    for (unsigned i = 0, j = 0; i <= m_count; ++i)
        items[i] = (i == index) ? item : m_items[j++];
    delete[] m_items;
    m_items = items;
    ++m_count;
}

bool CQoStringList::Add(const CQoString& text)
{
    InsertAt(m_count, text);
    return true;
}

bool CQoStringList::AddSorted(const CQoString& text)
{
    if (text.GetLength() > 0) {
        for (unsigned i = 0; i < m_count; ++i) {
            if (text.CompareNoCase(m_items[i]->GetString()) < 0) {
                InsertAt(i, text);
                return true;
            }
        }
    }
    InsertAt(m_count, text);
    return true;
}

CQoStringList::Position CQoStringList::Find(const char16_t* text) const
{
    for (unsigned i = 0; i < m_count; ++i) {
        if (m_items[i]->CompareNoCase(text) == 0)
            return i + 1;
    }
    return 0;
}

void CQoStringList::Sort()
{
    CQoStringList sorted;
    for (unsigned i = 0; i < m_count; ++i)
        sorted.AddSorted(*m_items[i]);
    *this = sorted;
}

void CQoStringList::RemoveAll()
{
    for (unsigned i = 0; i < m_count; ++i)
        delete m_items[i];
    delete[] m_items;
    m_items = nullptr;
    m_count = 0;
}

CQoStringList CQoStringList::Split(const char16_t* text, bool keepEmpty, const char16_t* delimiters)
{
    CQoStringList list;
    CQoString remaining(text);
    CQoString token;
    while (remaining.NextToken(token, delimiters)) {
        if (keepEmpty || token.GetLength() > 0)
            list.Add(token);
    }
    return list;
}
