#include "platform/ical/EventReader.h"

#include <cstring>
#include <strings.h>

namespace ical {

namespace {

// The property a libical parse error names ("... in RRULE property. ..."), or empty.
std::string damagedProperty(const char* message)
{
    if (!message)
        return {};
    const std::string_view text(message);
    const std::size_t end = text.find(" property");
    if (end == std::string_view::npos)
        return {};
    const std::size_t begin = text.rfind(" in ", end);
    if (begin == std::string_view::npos)
        return {};
    return std::string(text.substr(begin + 4, end - begin - 4));
}

bool isTimeProperty(const std::string& name)
{
    for (const char* essential : {"DTSTART", "DTEND", "DURATION", "RRULE", "EXRULE", "RDATE", "EXDATE", "RECURRENCE-ID"}) {
        if (name == essential)
            return true;
    }
    return false;
}

std::string withoutMailto(const char* address)
{
    std::string text = address ? address : "";
    if (text.size() >= 7 && strncasecmp(text.c_str(), "mailto:", 7) == 0)
        text.erase(0, 7);
    return text;
}

int weekdayOf(icalrecurrencetype_weekday day) { return int(day) - int(ICAL_SUNDAY_WEEKDAY); }

template <std::size_t N>
std::vector<int> listOf(const short (&values)[N])
{
    std::vector<int> list;
    for (std::size_t i = 0; i < N && values[i] != ICAL_RECURRENCE_ARRAY_MAX; ++i)
        list.push_back(values[i]);
    return list;
}

} // namespace

std::string recurrenceKey(int year, int month, int day, int hour, int minute, int second, bool isDate, bool isUtc)
{
    char text[32];
    if (isDate)
        std::snprintf(text, sizeof text, "%04d%02d%02d", year, month, day);
    else
        std::snprintf(text, sizeof text, "%04d%02d%02dT%02d%02d%02d%s", year, month, day, hour, minute, second,
                      isUtc ? "Z" : "");
    return text;
}

std::string EventReader::keyOf(const Time& time)
{
    return recurrenceKeyOf(time.value, time.zone);
}

std::string recurrenceKeyOf(const icaltimetype& value, icaltimezone* zone)
{
    icaltimetype key = value;
    const bool anchored = !key.is_date && (zone || icaltime_is_utc(key));
    if (anchored)
        key = icaltime_convert_to_zone(icaltime_set_timezone(&key, zone ? zone : icaltimezone_get_utc_timezone()),
                                       icaltimezone_get_utc_timezone());
    return recurrenceKey(key.year, key.month, key.day, key.hour, key.minute, key.second, key.is_date, anchored);
}

std::optional<LocalTime> localTimeOfRecurrenceKey(const std::string& key)
{
    const icaltimetype value = icaltime_from_string(key.c_str());
    if (icaltime_is_null_time(value))
        return std::nullopt;
    return ZoneTable::toLocal(value, nullptr);
}

bool EventReader::readTime(icalproperty* property, const icaltimetype& value, Time& time, std::string& reason) const
{
    const char* name = icalproperty_get_property_name(property);
    if (icaltime_is_null_time(value) || !icaltime_is_valid_time(value)) {
        reason = std::string("its ") + name + " is not a date";
        return false;
    }
    time.value = value;
    time.zone = nullptr;
    icalparameter* tzid = icalproperty_get_first_parameter(property, ICAL_TZID_PARAMETER);
    if (tzid && !value.is_date && !icaltime_is_utc(value)) {
        const char* zoneName = icalparameter_get_tzid(tzid);
        time.zone = zoneName ? m_zones.find(zoneName) : nullptr;
        if (!time.zone) {
            reason = std::string("its time zone \"") + (zoneName ? zoneName : "") +
                "\" is defined neither in the file nor in the system's zone database";
            return false;
        }
        time.value = icaltime_set_timezone(&time.value, time.zone);
    }
    const std::optional<LocalTime> local = ZoneTable::toLocal(time.value, time.zone);
    if (!local) {
        reason = std::string("its ") + name + " lies outside the years 100 to 9999";
        return false;
    }
    time.local = *local;
    return true;
}

bool EventReader::readRule(icalproperty* property, RecurrenceRule& rule, std::string& reason) const
{
    icalrecurrencetype recurrence = icalproperty_get_rrule(property);
    if (recurrence.freq == ICAL_NO_RECURRENCE) {
        reason = "its RRULE cannot be read";
        return false;
    }
    rule.frequency = RecurrenceRule::Frequency(int(recurrence.freq) - int(ICAL_SECONDLY_RECURRENCE));
    rule.interval = recurrence.interval < 1 ? 1 : recurrence.interval;
    rule.count = recurrence.count;
    if (!icaltime_is_null_time(recurrence.until)) {
        std::optional<LocalTime> until = ZoneTable::toLocal(recurrence.until, nullptr);
        if (!until) {
            reason = "its RRULE's UNTIL lies outside the years 100 to 9999";
            return false;
        }
        rule.until = until;
        rule.untilIsDate = recurrence.until.is_date;
    }
    rule.weekStart = recurrence.week_start == ICAL_NO_WEEKDAY ? 1 : weekdayOf(recurrence.week_start);
    for (int value : listOf(recurrence.by_day)) {
        rule.byDay.push_back({icalrecurrencetype_day_position(short(value)),
                              weekdayOf(icalrecurrencetype_day_day_of_week(short(value)))});
    }
    rule.byMonthDay = listOf(recurrence.by_month_day);
    for (int value : listOf(recurrence.by_month)) {
        if (icalrecurrencetype_month_is_leap(short(value)))
            rule.hasOtherCalendar = true;
        rule.byMonth.push_back(icalrecurrencetype_month_month(short(value)));
    }
    rule.bySetPosition = listOf(recurrence.by_set_pos);
    rule.hasTimeParts = !listOf(recurrence.by_hour).empty() || !listOf(recurrence.by_minute).empty() ||
        !listOf(recurrence.by_second).empty();
    rule.hasYearParts = !listOf(recurrence.by_year_day).empty() || !listOf(recurrence.by_week_no).empty();
    if (recurrence.rscale && *recurrence.rscale && strcasecmp(recurrence.rscale, "GREGORIAN") != 0)
        rule.hasOtherCalendar = true;
    char* text = icalrecurrencetype_as_string_r(&recurrence);
    rule.text = text ? text : "";
    icalmemory_free_buffer(text);
    return true;
}

bool EventReader::read(icalcomponent* vevent, Event& event, std::string& reason) const
{
    if (const char* uid = icalcomponent_get_uid(vevent))
        event.uid = uid;
    if (const char* summary = icalcomponent_get_summary(vevent))
        event.summary = summary;
    if (const char* location = icalcomponent_get_location(vevent))
        event.location = location;
    for (icalproperty* property = icalcomponent_get_first_property(vevent, ICAL_CATEGORIES_PROPERTY); property;
         property = icalcomponent_get_next_property(vevent, ICAL_CATEGORIES_PROPERTY)) {
        if (const char* category = icalproperty_get_categories(property); category && *category)
            event.categories.push_back(category);
    }
    for (icalproperty* property = icalcomponent_get_first_property(vevent, ICAL_ATTENDEE_PROPERTY); property;
         property = icalcomponent_get_next_property(vevent, ICAL_ATTENDEE_PROPERTY)) {
        icalparameter* name = icalproperty_get_first_parameter(property, ICAL_CN_PARAMETER);
        std::string attendee = name && icalparameter_get_cn(name) ? icalparameter_get_cn(name) : "";
        if (attendee.empty())
            attendee = withoutMailto(icalproperty_get_attendee(property));
        if (!attendee.empty())
            event.attendees.push_back(attendee);
    }
    if (icalproperty* sequence = icalcomponent_get_first_property(vevent, ICAL_SEQUENCE_PROPERTY))
        event.sequence = icalproperty_get_sequence(sequence);
    event.cancelled = icalcomponent_get_status(vevent) == ICAL_STATUS_CANCELLED;

    // libical drops a property it cannot read and leaves a note: for the properties that say when
    // the event happens, reading on would place it wrongly.
    for (icalproperty* note = icalcomponent_get_first_property(vevent, ICAL_XLICERROR_PROPERTY); note;
         note = icalcomponent_get_next_property(vevent, ICAL_XLICERROR_PROPERTY)) {
        const std::string property = damagedProperty(icalproperty_get_xlicerror(note));
        if (isTimeProperty(property)) {
            reason = "its " + property + " cannot be read";
            return false;
        }
    }


    icalproperty* startProperty = icalcomponent_get_first_property(vevent, ICAL_DTSTART_PROPERTY);
    if (!startProperty) {
        reason = "it has no DTSTART";
        return false;
    }
    Time start;
    if (!readTime(startProperty, icalproperty_get_dtstart(startProperty), start, reason))
        return false;
    event.start = start.local;
    event.allDay = start.value.is_date;
    event.zone.clear();
    if (start.value.is_date) {
        event.timeKind = TimeKind::Floating;
    } else if (icaltime_is_utc(start.value)) {
        event.timeKind = TimeKind::Utc;
    } else if (start.zone) {
        event.timeKind = TimeKind::Zoned;
        const char* tzid = icalparameter_get_tzid(icalproperty_get_first_parameter(startProperty, ICAL_TZID_PARAMETER));
        event.zone = tzid ? tzid : "";
    } else {
        event.timeKind = TimeKind::Floating;
    }
    event.startWall = {start.value.year,   start.value.month,  start.value.day, start.value.hour,
                       start.value.minute, start.value.second, bool(start.value.is_date)};

    if (icalproperty* endProperty = icalcomponent_get_first_property(vevent, ICAL_DTEND_PROPERTY)) {
        Time end;
        if (!readTime(endProperty, icalproperty_get_dtend(endProperty), end, reason))
            return false;
        event.end = end.local;
    } else if (icalproperty* durationProperty = icalcomponent_get_first_property(vevent, ICAL_DURATION_PROPERTY)) {
        const icaldurationtype duration = icalproperty_get_duration(durationProperty);
        if (duration.is_neg) {
            reason = "its DURATION is negative";
            return false;
        }
        // Days of a duration are days of the calendar: across a change to summer time, a day
        // is 23 hours long.
        const icaltimetype endValue = icaltime_add(start.value, duration);
        const std::optional<LocalTime> end = ZoneTable::toLocal(endValue, start.zone);
        if (!end) {
            reason = "it ends after the year 9999";
            return false;
        }
        event.end = *end;
    } else {
        event.end = event.allDay ? event.start + kMillisecondsPerDay : event.start;
    }
    if (event.end < event.start) {
        reason = "it ends before it starts";
        return false;
    }
    // An all-day event that ends on the day it starts still covers that day.
    if (event.allDay && event.end == event.start)
        event.end = event.start + kMillisecondsPerDay;

    int rules = 0;
    for (icalproperty* property = icalcomponent_get_first_property(vevent, ICAL_RRULE_PROPERTY); property;
         property = icalcomponent_get_next_property(vevent, ICAL_RRULE_PROPERTY)) {
        if (++rules > 1) {
            reason = "it has more than one RRULE, which iCalendar no longer allows";
            return false;
        }
        RecurrenceRule rule;
        if (!readRule(property, rule, reason))
            return false;
        event.rule = std::move(rule);
    }
    if (icalcomponent_get_first_property(vevent, ICAL_EXRULE_PROPERTY)) {
        reason = "it uses EXRULE, which iCalendar no longer has";
        return false;
    }
    for (icalproperty* property = icalcomponent_get_first_property(vevent, ICAL_EXDATE_PROPERTY); property;
         property = icalcomponent_get_next_property(vevent, ICAL_EXDATE_PROPERTY)) {
        Time exception;
        if (!readTime(property, icalproperty_get_exdate(property), exception, reason))
            return false;
        event.exceptionDates.push_back(exception.local);
        event.exceptionIsDate.push_back(exception.value.is_date);
    }
    for (icalproperty* property = icalcomponent_get_first_property(vevent, ICAL_RDATE_PROPERTY); property;
         property = icalcomponent_get_next_property(vevent, ICAL_RDATE_PROPERTY)) {
        const icaldatetimeperiodtype value = icalproperty_get_rdate(property);
        Time extra;
        if (!readTime(property, icaltime_is_null_time(value.period.start) ? value.time : value.period.start, extra, reason))
            return false;
        event.extraDates.push_back(extra.local);
        event.extraDateKeys.push_back(keyOf(extra));
    }
    if (icalproperty* property = icalcomponent_get_first_property(vevent, ICAL_RECURRENCEID_PROPERTY)) {
        Time original;
        if (!readTime(property, icalproperty_get_recurrenceid(property), original, reason))
            return false;
        event.recurrenceIdStart = original.local;
        event.recurrenceIdIsDate = original.value.is_date;
        event.recurrenceId = keyOf(original);
        icalparameter* range = icalproperty_get_first_parameter(property, ICAL_RANGE_PARAMETER);
        event.rangeThisAndFuture = range && icalparameter_get_range(range) == ICAL_RANGE_THISANDFUTURE;
    }
    return true;
}

} // namespace ical
