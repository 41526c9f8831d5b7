#include "platform/ui/Menu.h"

namespace ui {

Menu::Menu(const Menu& other) { *this = other; }

Menu& Menu::operator=(const Menu& other)
{
    if (this == &other)
        return *this;
    m_items.clear();
    for (const MenuItem& source : other.m_items) {
        MenuItem copy;
        copy.text = source.text;
        copy.id = source.id;
        copy.separator = source.separator;
        copy.checked = source.checked;
        copy.grayed = source.grayed;
        if (source.submenu)
            copy.submenu = std::make_unique<Menu>(*source.submenu);
        m_items.push_back(std::move(copy));
    }
    return *this;
}

namespace {
MenuItem makeItem(device::WideView text, int id, unsigned flags)
{
    MenuItem item;
    item.separator = (flags & MF_SEPARATOR) != 0;
    if (!item.separator) {
        item.text = device::WideString(text);
        item.id = id;
    }
    item.checked = (flags & MF_CHECKED) != 0;
    item.grayed = (flags & (MF_GRAYED | MF_DISABLED)) != 0;
    return item;
}
} // namespace

void Menu::append(device::WideView text, int id, unsigned flags) { m_items.push_back(makeItem(text, id, flags)); }

void Menu::appendSeparator() { m_items.push_back(makeItem({}, 0, MF_SEPARATOR)); }

Menu& Menu::appendSubmenu(device::WideView text)
{
    MenuItem item = makeItem(text, 0, MF_STRING);
    item.submenu = std::make_unique<Menu>();
    m_items.push_back(std::move(item));
    return *m_items.back().submenu;
}

MenuItem* Menu::locate(unsigned item, unsigned flags, Menu** owner, std::size_t* position)
{
    if (flags & MF_BYPOSITION) {
        if (item >= m_items.size())
            return nullptr;
        if (owner)
            *owner = this;
        if (position)
            *position = item;
        return &m_items[item];
    }
    for (std::size_t i = 0; i < m_items.size(); ++i) {
        MenuItem& candidate = m_items[i];
        if (!candidate.separator && !candidate.submenu && candidate.id == int(item)) {
            if (owner)
                *owner = this;
            if (position)
                *position = i;
            return &candidate;
        }
        if (candidate.submenu)
            if (MenuItem* found = candidate.submenu->locate(item, flags, owner, position))
                return found;
    }
    return nullptr;
}

bool Menu::insert(unsigned item, unsigned flags, int id, device::WideView text)
{
    MenuItem created = makeItem(text, id, flags);
    if (flags & MF_BYPOSITION) {
        std::size_t at = std::min<std::size_t>(item, m_items.size());
        m_items.insert(m_items.begin() + std::ptrdiff_t(at), std::move(created));
        return true;
    }
    Menu* owner = nullptr;
    std::size_t position = 0;
    if (!locate(item, flags, &owner, &position))
        return false;
    owner->m_items.insert(owner->m_items.begin() + std::ptrdiff_t(position), std::move(created));
    return true;
}

bool Menu::remove(unsigned item, unsigned flags)
{
    Menu* owner = nullptr;
    std::size_t position = 0;
    if (!locate(item, flags, &owner, &position))
        return false;
    owner->m_items.erase(owner->m_items.begin() + std::ptrdiff_t(position));
    return true;
}

int Menu::check(unsigned item, unsigned flags)
{
    MenuItem* found = locate(item, flags);
    if (!found)
        return -1;
    int previous = found->checked ? int(MF_CHECKED) : int(MF_UNCHECKED);
    found->checked = (flags & MF_CHECKED) != 0;
    return previous;
}

int Menu::enable(unsigned item, unsigned flags)
{
    MenuItem* found = locate(item, flags);
    if (!found)
        return -1;
    int previous = found->grayed ? int(MF_GRAYED) : int(MF_ENABLED);
    found->grayed = (flags & (MF_GRAYED | MF_DISABLED)) != 0;
    return previous;
}

bool Menu::setText(unsigned item, unsigned flags, device::WideView text)
{
    MenuItem* found = locate(item, flags);
    if (!found)
        return false;
    found->text = device::WideString(text);
    return true;
}

bool Menu::isChecked(int id) const
{
    const MenuItem* found = findCommand(id);
    return found && found->checked;
}

bool Menu::isEnabled(int id) const
{
    const MenuItem* found = findCommand(id);
    return found && !found->grayed;
}

MenuItem* Menu::findCommand(int id) { return locate(unsigned(id), MF_BYCOMMAND); }

const MenuItem* Menu::findCommand(int id) const { return const_cast<Menu*>(this)->locate(unsigned(id), MF_BYCOMMAND); }

int Menu::positionOf(int id) const
{
    for (std::size_t i = 0; i < m_items.size(); ++i)
        if (!m_items[i].separator && !m_items[i].submenu && m_items[i].id == id)
            return int(i);
    return -1;
}

Menu* Menu::submenu(std::size_t position)
{
    return position < m_items.size() ? m_items[position].submenu.get() : nullptr;
}

const MenuItem* Menu::findText(device::WideView text) const
{
    for (const MenuItem& candidate : m_items) {
        if (candidate.separator)
            continue;
        if (device::equalsNoCase(displayText(candidate.text), displayText(text)))
            return &candidate;
        if (candidate.submenu)
            if (const MenuItem* found = candidate.submenu->findText(text))
                return found;
    }
    return nullptr;
}

device::WideString Menu::displayText(device::WideView text)
{
    device::WideString shown;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == u'&') {
            if (i + 1 < text.size() && text[i + 1] == u'&') {
                shown.push_back(u'&');
                ++i;
            }
            continue;
        }
        shown.push_back(text[i]);
    }
    return shown;
}

} // namespace ui
