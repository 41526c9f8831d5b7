#include "platform/ical/ZoneTable.h"

#include "platform/device/CivilDate.h"

#include <ctime>

namespace ical {

ZoneTable::~ZoneTable()
{
    for (auto& [tzid, zone] : m_own)
        icaltimezone_free(zone, 1);
}

bool ZoneTable::add(icalcomponent* vtimezone)
{
    icalproperty* property = icalcomponent_get_first_property(vtimezone, ICAL_TZID_PROPERTY);
    const char* tzid = property ? icalproperty_get_tzid(property) : nullptr;
    if (!tzid || !*tzid || m_own.count(std::string_view(tzid))) {
        icalcomponent_free(vtimezone);
        return tzid && *tzid;
    }
    icaltimezone* zone = icaltimezone_new();
    // The zone owns the component from here on.
    if (!icaltimezone_set_component(zone, vtimezone)) {
        icaltimezone_free(zone, 1);
        icalcomponent_free(vtimezone);
        return false;
    }
    m_own.emplace(tzid, zone);
    return true;
}

icaltimezone* ZoneTable::find(std::string_view tzid) const
{
    if (const auto own = m_own.find(tzid); own != m_own.end())
        return own->second;
    const std::string name(tzid);
    if (name == "UTC" || name == "Etc/UTC" || name == "GMT" || name == "Z")
        return icaltimezone_get_utc_timezone();
    if (icaltimezone* system = icaltimezone_get_builtin_timezone(name.c_str()))
        return system;
    // libical's own prefixed names ("/freeassociation.sourceforge.net/Europe/Berlin").
    return icaltimezone_get_builtin_timezone_from_tzid(name.c_str());
}

std::optional<LocalTime> ZoneTable::fromFields(int year, int month, int day, int hour, int minute, int second)
{
    const device::CivilDate date(year, month, day);
    if (year < 100 || year > 9999 || !date.isValid() || hour < 0 || hour > 23 || minute < 0 || minute > 59 ||
        second < 0 || second > 60)
        return std::nullopt;
    // A leap second is the last second of its minute.
    if (second == 60)
        second = 59;
    return date.dayNumber() * kMillisecondsPerDay + ((hour * 60 + minute) * 60 + second) * 1000LL;
}

std::optional<LocalTime> ZoneTable::fromUnixTime(std::int64_t seconds)
{
    const std::time_t instant = std::time_t(seconds);
    std::tm local {};
    if (!localtime_r(&instant, &local))
        return std::nullopt;
    return fromFields(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec);
}

std::optional<LocalTime> ZoneTable::toLocal(const icaltimetype& time, icaltimezone* zone)
{
    if (time.is_date || (!zone && !icaltime_is_utc(time)))
        return fromFields(time.year, time.month, time.day, time.is_date ? 0 : time.hour, time.is_date ? 0 : time.minute,
                          time.is_date ? 0 : time.second);
    if (time.year < 100 || time.year > 9999)
        return std::nullopt;
    return fromUnixTime(std::int64_t(icaltime_as_timet_with_zone(time, zone ? zone : icaltimezone_get_utc_timezone())));
}

} // namespace ical
