#include "data/TavrelCalendar.h"

#include "platform/device/OleDateTime.h"

#include <algorithm>

CTavrelCalendar::CTavrelCalendar()
{
    std::fill(std::begin(m_transparency), std::end(m_transparency), DefaultTransparency);
}

CTavrelCalendar::CTavrelCalendar(const CTavrelCalendar& other) = default;

CTavrelCalendar& CTavrelCalendar::operator=(const CTavrelCalendar& other) = default;

CTavrelCalendar::~CTavrelCalendar() = default;

bool CTavrelCalendar::IsSameAs(const CTavrelCalendar& other) const
{
    return GetName().View() == other.GetName().View() && GetTypeName().View() == other.GetTypeName().View()
        && GetCopyright().View() == other.GetCopyright().View();
}

CTavrelEvents* CTavrelCalendar::FindCategory(const CQoString& name)
{
    for (CTavrelEvents& category : m_categories) {
        if (category.GetName().CompareNoCase(name) == 0)
            return &category;
    }
    return nullptr;
}

bool CTavrelCalendar::SetCopyright(const CQoString& text)
{
    if (m_copyright.CompareNoCase(text) == 0)
        return false;
    m_copyright = text;
    return true;
}

bool CTavrelCalendar::SetName(const CQoString& text)
{
    if (m_name.CompareNoCase(text) == 0)
        return false;
    m_name = text;
    return true;
}

bool CTavrelCalendar::SetTransparency(int month, int level)
{
    if (!IsValidMonth(month) || level < 0 || level > 100)
        return false;
    m_transparency[month - 1] = level;
    return true;
}

int CTavrelCalendar::GetTransparency(int month) const
{
    return IsValidMonth(month) ? m_transparency[month - 1] : DefaultTransparency;
}

const CQoString& CTavrelCalendar::GetName() const
{
    return m_name;
}

const CQoString& CTavrelCalendar::GetCopyright() const
{
    return m_copyright;
}

std::list<CTavrelEvents>& CTavrelCalendar::GetCategories()
{
    return m_categories;
}

const std::list<CTavrelEvents>& CTavrelCalendar::GetCategories() const
{
    return m_categories;
}

CTavrelEvent* CTavrelCalendar::FindEventByID(const CQoString& id)
{
    for (CTavrelEvents& category : m_categories) {
        if (CTavrelEvent* event = category.FindByID(id))
            return event;
    }
    return nullptr;
}

CTavrelEvents& CTavrelCalendar::AddCategory(const CQoString& name, bool visible)
{
    CTavrelEvents& category = m_categories.emplace_back(name);
    category.SetVisible(visible);
    return category;
}

void CTavrelCalendar::ResetCommon()
{
    m_categories.clear();
    m_name = CQoString();
    std::fill(std::begin(m_transparency), std::end(m_transparency), DefaultTransparency);
    m_copyright.Format(u"\u00A9%ld All Rights Reserved", device::OleDateTime::GetCurrentTime().GetYear());
}
