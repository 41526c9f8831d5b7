#include "platform/ical/CalendarWriter.h"

#include "platform/device/CivilDate.h"

#include <libical/ical.h>

#include <ctime>

namespace ical {

namespace {

const char* const kWeekdays[] = {"SU", "MO", "TU", "WE", "TH", "FR", "SA"};
const char* const kFrequencies[] = {"SECONDLY", "MINUTELY", "HOURLY", "DAILY", "WEEKLY", "MONTHLY", "YEARLY"};

// Local time as date-time fields (no zone yet).
icaltimetype fieldsOf(LocalTime time, bool isDate)
{
    LocalTime day = time / kMillisecondsPerDay;
    if (time % kMillisecondsPerDay < 0)
        --day;
    const device::CivilDate date = device::CivilDate::fromDayNumber(day);
    const LocalTime seconds = (time - day * kMillisecondsPerDay) / 1000;
    icaltimetype value = icaltime_null_time();
    value.year = int(date.year());
    value.month = date.month();
    value.day = date.day();
    value.is_date = isDate;
    if (!isDate) {
        value.hour = int(seconds / 3600);
        value.minute = int(seconds / 60 % 60);
        value.second = int(seconds % 60);
    }
    return value;
}

template <typename List>
std::string joined(const List& values)
{
    std::string text;
    for (const auto& value : values) {
        if (!text.empty())
            text += ',';
        text += std::to_string(value);
    }
    return text;
}

} // namespace

CalendarWriter::CalendarWriter(const std::string& zone) : m_calendar(icalcomponent_new(ICAL_VCALENDAR_COMPONENT))
{
    // What libical cannot do is reported through its results, never by ending the program.
    icalerror_set_errors_are_fatal(0);
    icalcomponent_add_property(m_calendar, icalproperty_new_prodid("-//Orvix//Tavrel 3.41//EN"));
    icalcomponent_add_property(m_calendar, icalproperty_new_version("2.0"));
    icalcomponent_add_property(m_calendar, icalproperty_new_calscale("GREGORIAN"));
    if (zone == "UTC") {
        m_utc = true;
    } else if (!zone.empty()) {
        m_zone = icaltimezone_get_builtin_timezone(zone.c_str());
        if (m_zone) {
            m_zoneName = zone;
            // The zone database's definition, under the plain name every calendar knows.
            icalcomponent* definition = icalcomponent_new_clone(icaltimezone_get_component(m_zone));
            if (icalproperty* tzid = icalcomponent_get_first_property(definition, ICAL_TZID_PROPERTY))
                icalproperty_set_tzid(tzid, zone.c_str());
            icalcomponent_add_component(m_calendar, definition);
        }
    }
}

CalendarWriter::~CalendarWriter() { icalcomponent_free(m_calendar); }

std::string CalendarWriter::ruleText(const RecurrenceRule& rule, bool allDay) const
{
    std::string text = std::string("FREQ=") + kFrequencies[int(rule.frequency)];
    if (rule.interval > 1)
        text += ";INTERVAL=" + std::to_string(rule.interval);
    if (rule.count > 0) {
        text += ";COUNT=" + std::to_string(rule.count);
    } else if (rule.until) {
        icaltimetype until = fieldsOf(*rule.until, allDay);
        // With zoned times UNTIL is written in UTC.
        if (!allDay && (m_zone || m_utc)) {
            if (m_zone)
                until = icaltime_convert_to_zone(icaltime_set_timezone(&until, m_zone), icaltimezone_get_utc_timezone());
            until = icaltime_set_timezone(&until, icaltimezone_get_utc_timezone());
        }
        char* value = icaltime_as_ical_string_r(until);
        text += std::string(";UNTIL=") + value;
        icalmemory_free_buffer(value);
    }
    if (!rule.byDay.empty()) {
        text += ";BYDAY=";
        for (std::size_t i = 0; i < rule.byDay.size(); ++i) {
            if (i)
                text += ',';
            if (rule.byDay[i].ordinal)
                text += std::to_string(rule.byDay[i].ordinal);
            text += kWeekdays[rule.byDay[i].weekday % 7];
        }
    }
    if (!rule.byMonthDay.empty())
        text += ";BYMONTHDAY=" + joined(rule.byMonthDay);
    if (!rule.byMonth.empty())
        text += ";BYMONTH=" + joined(rule.byMonth);
    if (!rule.bySetPosition.empty())
        text += ";BYSETPOS=" + joined(rule.bySetPosition);
    if (rule.weekStart != 1)
        text += std::string(";WKST=") + kWeekdays[rule.weekStart % 7];
    return text;
}

bool CalendarWriter::add(const Event& event)
{
    const auto timeOf = [&](LocalTime time, bool isDate) {
        icaltimetype value = fieldsOf(time, isDate);
        if (!isDate && m_zone)
            value = icaltime_set_timezone(&value, m_zone);
        else if (!isDate && m_utc)
            value = icaltime_set_timezone(&value, icaltimezone_get_utc_timezone());
        return value;
    };
    // A zoned time names its zone; libical writes the TZID parameter from it.
    const auto withZone = [&](icalproperty* property, bool isDate) {
        if (!isDate && m_zone)
            icalproperty_add_parameter(property, icalparameter_new_tzid(m_zoneName.c_str()));
        return property;
    };

    icalcomponent* vevent = icalcomponent_new(ICAL_VEVENT_COMPONENT);
    icalcomponent_set_uid(vevent, event.uid.c_str());
    icalcomponent_add_property(vevent,
                               icalproperty_new_dtstamp(icaltime_from_timet_with_zone(std::time(nullptr), 0,
                                                                                      icaltimezone_get_utc_timezone())));
    icalcomponent_add_property(vevent, withZone(icalproperty_new_dtstart(timeOf(event.start, event.allDay)), event.allDay));
    icalcomponent_add_property(vevent, withZone(icalproperty_new_dtend(timeOf(event.end, event.allDay)), event.allDay));
    if (!event.summary.empty())
        icalcomponent_set_summary(vevent, event.summary.c_str());
    if (!event.location.empty())
        icalcomponent_set_location(vevent, event.location.c_str());
    for (const std::string& category : event.categories)
        icalcomponent_add_property(vevent, icalproperty_new_categories(category.c_str()));
    for (const std::string& name : event.attendees) {
        // An attendee is an address; a name without one is written as Google's calendars do.
        const bool isAddress = name.find('@') != std::string::npos && name.find(' ') == std::string::npos;
        icalproperty* attendee = icalproperty_new_attendee(isAddress ? ("mailto:" + name).c_str() : "invalid:nomail");
        if (!isAddress)
            icalproperty_add_parameter(attendee, icalparameter_new_cn(name.c_str()));
        icalcomponent_add_property(vevent, attendee);
    }
    if (event.rule) {
        const icalrecurrencetype rule = icalrecurrencetype_from_string(ruleText(*event.rule, event.allDay).c_str());
        if (rule.freq == ICAL_NO_RECURRENCE) {
            icalcomponent_free(vevent);
            return false;
        }
        icalcomponent_add_property(vevent, icalproperty_new_rrule(rule));
        for (LocalTime deleted : event.exceptionDates)
            icalcomponent_add_property(vevent, withZone(icalproperty_new_exdate(timeOf(deleted, event.allDay)), event.allDay));
    }
    if (!event.recurrenceId.empty()) {
        // The key is itself an iCalendar date or date-time: UTC, floating or a DATE.
        const icaltimetype original = icaltime_from_string(event.recurrenceId.c_str());
        if (!icaltime_is_null_time(original))
            icalcomponent_add_property(vevent, icalproperty_new_recurrenceid(original));
    }
    icalcomponent_add_component(m_calendar, vevent);
    ++m_count;
    return true;
}

std::string CalendarWriter::text() const
{
    char* text = icalcomponent_as_ical_string_r(m_calendar);
    std::string result = text ? text : "";
    icalmemory_free_buffer(text);
    return result;
}

} // namespace ical
