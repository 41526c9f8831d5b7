#pragma once
// Helpers of the iCalendar tests: a host zone set for the test, documents built from lines, and
// local times written as fields.

#include "platform/ical/Calendar.h"
#include "platform/ical/ZoneTable.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <initializer_list>
#include <optional>
#include <string>

namespace ical_testing {

// The device's zone (the host's $TZ) for as long as the object lives.
class HostZone {
public:
    explicit HostZone(const char* zone)
    {
        if (const char* old = std::getenv("TZ"))
            m_old = old;
        ::setenv("TZ", zone, 1);
        ::tzset();
    }
    ~HostZone()
    {
        if (m_old)
            ::setenv("TZ", m_old->c_str(), 1);
        else
            ::unsetenv("TZ");
        ::tzset();
    }
    HostZone(const HostZone&) = delete;
    HostZone& operator=(const HostZone&) = delete;

private:
    std::optional<std::string> m_old;
};

inline ical::LocalTime local(int year, int month, int day, int hour = 0, int minute = 0)
{
    return *ical::ZoneTable::fromFields(year, month, day, hour, minute, 0);
}

// A VCALENDAR around the given lines, CRLF line ends.
inline std::string document(std::initializer_list<const char*> lines)
{
    std::string text = "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Tavrel tests//EN\r\n";
    for (const char* line : lines)
        text += std::string(line) + "\r\n";
    return text + "END:VCALENDAR\r\n";
}

inline ical::Calendar read(const std::string& text)
{
    std::string error;
    std::optional<ical::Calendar> calendar = ical::Calendar::read(text, error);
    EXPECT_TRUE(calendar) << error;
    if (!calendar)
        return *ical::Calendar::read(document({}), error);
    return std::move(*calendar);
}

} // namespace ical_testing
