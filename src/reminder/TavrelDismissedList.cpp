#include "reminder/TavrelDismissedList.h"

CTavrelDismissedList::CTavrelDismissedList(const CQoString& text)
    : m_text(text)
{
    AddItems(m_text.View());
}

std::u16string CTavrelDismissedList::Folded(device::WideView text)
{
    std::u16string folded(text);
    for (char16_t& c : folded)
        c = device::foldUpper(c);
    return folded;
}

void CTavrelDismissedList::AddItems(device::WideView text)
{
    std::size_t start = 0;
    for (;;) {
        const std::size_t comma = text.find(u',', start);
        m_items.insert(
            Folded(text.substr(start, comma == device::WideView::npos ? device::WideView::npos : comma - start)));
        if (comma == device::WideView::npos)
            break;
        start = comma + 1;
    }
}

bool CTavrelDismissedList::Contains(const CQoString& id) const
{
    const device::WideView wanted = id.View();
    if (wanted.find(u',') == device::WideView::npos)
        return m_items.count(Folded(wanted)) != 0;
    const std::u16string list = u"," + Folded(m_text.View()) + u",";
    return list.find(u"," + Folded(wanted) + u",") != std::u16string::npos;
}

void CTavrelDismissedList::Append(const CQoString& id)
{
    if (!m_text.IsEmpty())
        m_text.AppendChar(u',');
    m_text += id;
    m_items.clear();
    AddItems(m_text.View());
}
