#include "data/TavrelRegisteredCalendar.h"

#include "data/TavrelSettings.h"

CTavrelRegisteredCalendar::CTavrelRegisteredCalendar(const CQoString& name, const CTavrelSettings* settings)
    : m_settings(settings)
{
    CTavrelRegisteredCalendar::Reset();
    SetName(name);
}

CTavrelRegisteredCalendar::CTavrelRegisteredCalendar(const CTavrelRegisteredCalendar& other) = default;

CTavrelRegisteredCalendar& CTavrelRegisteredCalendar::operator=(const CTavrelRegisteredCalendar& other) = default;

CTavrelRegisteredCalendar::~CTavrelRegisteredCalendar() = default;

CQoString CTavrelRegisteredCalendar::GetTypeName() const
{
    return u"Registered";
}

void CTavrelRegisteredCalendar::Reset()
{
    for (MonthPictures& month : m_months)
        month = MonthPictures();
    ResetCommon();
}

CQoString CTavrelRegisteredCalendar::Picture(int month, CQoString MonthPictures::*own,
                                             CQoString (CTavrelSettings::*global)(int) const) const
{
    if (!IsValidMonth(month))
        return CQoString();
    const CQoString& mine = m_months[month - 1].*own;
    if (!mine.IsEmpty() || !m_settings)
        return mine;
    return (m_settings->*global)(month);
}

bool CTavrelRegisteredCalendar::SetPicture(int month, CQoString MonthPictures::*own, const CQoString& path)
{
    if (!IsValidMonth(month))
        return false;
    m_months[month - 1].*own = path;
    return true;
}

CQoString CTavrelRegisteredCalendar::GetDayBar(int month) const
{
    return Picture(month, &MonthPictures::dayBar, &CTavrelSettings::GetDayBar);
}

CQoString CTavrelRegisteredCalendar::GetMonthTitle(int month) const
{
    return Picture(month, &MonthPictures::monthTitle, &CTavrelSettings::GetMonthTitle);
}

CQoString CTavrelRegisteredCalendar::GetBackground(int month) const
{
    return Picture(month, &MonthPictures::background, &CTavrelSettings::GetBackground);
}

bool CTavrelRegisteredCalendar::SetBackground(int month, const CQoString& path)
{
    return SetPicture(month, &MonthPictures::background, path);
}

bool CTavrelRegisteredCalendar::SetDayBar(int month, const CQoString& path)
{
    return SetPicture(month, &MonthPictures::dayBar, path);
}

bool CTavrelRegisteredCalendar::SetMonthTitle(int month, const CQoString& path)
{
    return SetPicture(month, &MonthPictures::monthTitle, path);
}

std::unique_ptr<CTavrelCalendar> CTavrelRegisteredCalendar::Clone() const
{
    return std::make_unique<CTavrelRegisteredCalendar>(*this);
}

void CTavrelRegisteredCalendar::SetFactories(const CQoString& list)
{
    m_factories.clear();
    const device::WideView text = list.View();
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t comma = text.find(u',', start);
        if (comma == device::WideView::npos)
            comma = text.size();
        if (comma > start)
            m_factories.emplace_back(device::WideString(text.substr(start, comma - start)).c_str());
        start = comma + 1;
    }
}

CQoString CTavrelRegisteredCalendar::GetFactories() const
{
    CQoString joined;
    for (std::size_t i = 0; i < m_factories.size(); ++i) {
        if (i > 0)
            joined.AppendChar(u',');
        joined.Append(m_factories[i]);
    }
    return joined;
}
