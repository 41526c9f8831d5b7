#pragma once
// CTavrelDismissedList: the identifiers of dismissed reminders, the store's "Dismissed" value —
// the identifiers joined by "," in the order they were dismissed ("A7,B2"). An identifier is
// dismissed when "," + the list + "," contains "," + the identifier + ",", compared without regard
// to case as the store's key names are.
//
// The list only ever grows, so it is read once into a set of its identifiers and every lookup is
// one hash probe, however many thousands it holds. An identifier that itself contains a comma
// cannot be one item of the list; for those the containment test is made on the text itself, so
// the answer is always the one the joined text gives.

#include "common/QoString.h"

#include <string>
#include <unordered_set>

class CTavrelDismissedList {
public:
    CTavrelDismissedList() = default;
    explicit CTavrelDismissedList(const CQoString& text);

    bool Contains(const CQoString& id) const;
    // Adds the identifier at the end.
    void Append(const CQoString& id);
    // The value to store.
    const CQoString& Text() const { return m_text; }

private:
    static std::u16string Folded(device::WideView text);
    void AddItems(device::WideView text);

    CQoString m_text;
    std::unordered_set<std::u16string> m_items;
};
