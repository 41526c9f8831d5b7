#include "platform/ical/Calendar.h"

#include "platform/ical/CalendarText.h"
#include "platform/ical/EventReader.h"
#include "platform/ical/ZoneTable.h"

#include <libical/ical.h>

#include <cstdint>
#include <cstdio>
#include <strings.h>
#include <utility>

namespace ical {

namespace {

// A parsed component, freed when it goes.
struct Parsed {
    explicit Parsed(std::string_view text) : component(icalparser_parse_string(std::string(text).c_str())) {}
    ~Parsed()
    {
        if (component)
            icalcomponent_free(component);
    }
    Parsed(const Parsed&) = delete;
    Parsed& operator=(const Parsed&) = delete;
    icalcomponent* release() { return std::exchange(component, nullptr); }

    icalcomponent* component;
};

// A stand-in for a missing UID, the same every time the same event is read.
std::string uidOfContents(std::string_view text)
{
    std::uint64_t hash = 14695981039346656037ull;
    for (char c : text) {
        if (c == '\r' || c == '\n')
            continue;
        hash = (hash ^ std::uint8_t(c)) * 1099511628211ull;
    }
    char uid[48];
    std::snprintf(uid, sizeof uid, "no-uid-%016llx", static_cast<unsigned long long>(hash));
    return uid;
}

} // namespace

Calendar::Calendar() : m_zones(std::make_unique<ZoneTable>()) {}
Calendar::Calendar(Calendar&&) noexcept = default;
Calendar& Calendar::operator=(Calendar&&) noexcept = default;
Calendar::~Calendar() = default;

std::optional<Calendar> Calendar::read(std::string bytes, std::string& error, const Progress& progress)
{
    std::optional<CalendarText> text = CalendarText::read(std::move(bytes), error);
    if (!text)
        return std::nullopt;
    // A bad property is noted in the tree (X-LIC-ERROR), never a reason to end the program.
    icalerror_set_errors_are_fatal(0);

    Calendar calendar;
    {
        Parsed properties(text->calendarProperties());
        if (properties.component) {
            for (icalproperty* property = icalcomponent_get_first_property(properties.component, ICAL_X_PROPERTY);
                 property; property = icalcomponent_get_next_property(properties.component, ICAL_X_PROPERTY)) {
                const char* name = icalproperty_get_x_name(property);
                const char* value = icalproperty_get_x(property);
                if (name && value && strcasecmp(name, "X-WR-CALNAME") == 0 && calendar.m_name.empty())
                    calendar.m_name = value;
            }
        }
    }
    // Zones first: an event may name a zone that is defined further down.
    for (const CalendarText::Component& component : text->components()) {
        if (component.name != "VTIMEZONE")
            continue;
        Parsed zone(text->text(component));
        if (zone.component && icalcomponent_isa(zone.component) == ICAL_VTIMEZONE_COMPONENT)
            calendar.m_zones->add(zone.release());
    }

    const EventReader reader(*calendar.m_zones);
    const std::size_t total = text->components().size();
    std::size_t done = 0;
    for (const CalendarText::Component& component : text->components()) {
        if (progress && ++done % 1000 == 0)
            progress(done, total);
        if (component.name == "VTIMEZONE")
            continue;
        if (component.name != "VEVENT") {
            ++calendar.m_others[component.name];
            continue;
        }
        const std::string_view source = text->text(component);
        Parsed parsed(source);
        Event event;
        event.line = component.line;
        std::string reason;
        if (!parsed.component || icalcomponent_isa(parsed.component) != ICAL_VEVENT_COMPONENT) {
            calendar.m_skipped.push_back({component.line, {}, {}, "it cannot be read"});
            continue;
        }
        if (!reader.read(parsed.component, event, reason)) {
            calendar.m_skipped.push_back({component.line, event.uid, event.summary, reason});
            continue;
        }
        if (event.uid.empty())
            event.uid = uidOfContents(source);
        calendar.m_events.push_back(std::move(event));
    }
    if (progress)
        progress(total, total);
    return calendar;
}

} // namespace ical
