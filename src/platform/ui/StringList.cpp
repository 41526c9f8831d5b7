#include "platform/ui/StringList.h"

namespace ui {

int StringList::add(device::WideView text, std::intptr_t data)
{
    std::size_t position = m_items.size();
    if (m_sorted) {
        position = 0;
        while (position < m_items.size() && device::compareNoCase(m_items[position].text, text) <= 0)
            ++position;
    }
    m_items.insert(m_items.begin() + std::ptrdiff_t(position), Item{device::WideString(text), data});
    return int(position);
}

int StringList::insert(int index, device::WideView text, std::intptr_t data)
{
    std::size_t position = index < 0 || index > count() ? m_items.size() : std::size_t(index);
    m_items.insert(m_items.begin() + std::ptrdiff_t(position), Item{device::WideString(text), data});
    return int(position);
}

bool StringList::remove(int index)
{
    if (!isValid(index))
        return false;
    m_items.erase(m_items.begin() + index);
    return true;
}

int StringList::find(int after, device::WideView text, bool wholeText) const
{
    int total = count();
    for (int step = 1; step <= total; ++step) {
        int index = ((after < 0 ? -1 : after) + step) % total;
        device::WideView candidate = m_items[std::size_t(index)].text;
        if (wholeText ? device::equalsNoCase(candidate, text)
                      : candidate.size() >= text.size() && device::equalsNoCase(candidate.substr(0, text.size()), text))
            return index;
    }
    return -1;
}

int StringList::findPrefix(int after, device::WideView prefix) const { return find(after, prefix, false); }
int StringList::findExact(int after, device::WideView text) const { return find(after, text, true); }

} // namespace ui
