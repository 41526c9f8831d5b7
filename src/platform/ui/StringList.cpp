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
    return inserted(int(position));
}

int StringList::insert(int index, device::WideView text, std::intptr_t data)
{
    std::size_t position = index < 0 || index > count() ? m_items.size() : std::size_t(index);
    m_items.insert(m_items.begin() + std::ptrdiff_t(position), Item{device::WideString(text), data});
    return inserted(int(position));
}

int StringList::inserted(int index)
{
    if (m_selection >= index)
        ++m_selection;
    return index;
}

bool StringList::remove(int index)
{
    if (!isValid(index))
        return false;
    m_items.erase(m_items.begin() + index);
    if (m_selection == index)
        m_selection = -1;
    else if (m_selection > index)
        --m_selection;
    return true;
}

void StringList::clear()
{
    m_items.clear();
    m_selection = -1;
}

device::WideString StringList::textAt(int index) const
{
    return isValid(index) ? at(index).text : device::WideString();
}

std::intptr_t StringList::dataAt(int index) const { return isValid(index) ? at(index).data : -1; }

bool StringList::setDataAt(int index, std::intptr_t data)
{
    if (!isValid(index))
        return false;
    at(index).data = data;
    return true;
}

bool StringList::select(int index)
{
    if (index < -1 || index >= count())
        return false;
    m_selection = index;
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
