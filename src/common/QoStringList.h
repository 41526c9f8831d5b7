#pragma once
// CQoStringList: an ordered list of owned CQoString items with 1-based positions (0 = none).

#include "common/QoString.h"

class CQoStringList {
public:
    using Position = unsigned;

    CQoStringList();
    CQoStringList(const CQoStringList& other);
    CQoStringList& operator=(const CQoStringList& other);
    virtual ~CQoStringList();

    unsigned GetCount() const { return m_count; }
    Position GetHeadPosition() const { return m_count ? 1 : 0; }
    // The item at `position`; the position then moves on (0 after the last item). An invalid
    // position gives an empty string and sets the position to 0.
    const CQoString& GetNext(Position& position) const;
    const CQoString& GetAt(Position position) const;
    bool SetAt(Position position, const CQoString& text);

    bool Add(const CQoString& text);
    bool AddSorted(const CQoString& text);
    Position Find(const char16_t* text) const;
    void Sort();
    void RemoveAll();

    static CQoStringList Split(const char16_t* text, bool keepEmpty, const char16_t* delimiters);

private:
    void InsertAt(unsigned index, const CQoString& text);

    unsigned m_count = 0;
    CQoString** m_items = nullptr;
};
