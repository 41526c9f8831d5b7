#pragma once
// An iCalendar file's bytes, checked to be iCalendar text and cut into the components of its
// calendars, so that each component can be read on its own: a document of 100,000 events never
// becomes one tree of 100,000 events in memory, only the list of where each one stands.
//
// The check: at most kMaxBytes; UTF-8 (a byte-order mark is dropped, UTF-16 with a byte-order mark
// is turned into UTF-8), no NUL bytes; the first line that is not blank is BEGIN:VCALENDAR; every
// END closes the BEGIN that is open; nothing is left open at the end (a file cut short) and
// nothing follows the last END:VCALENDAR but blank lines or another calendar; at most 32 levels.
// Any failure names its line.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ical {

class CalendarText {
public:
    static constexpr std::size_t kMaxBytes = 64 * 1024 * 1024;
    static constexpr int kMaxDepth = 32;

    struct Component {
        std::string name; // "VEVENT", upper case
        std::size_t begin = 0; // from its BEGIN line to its END line, both included (text())
        std::size_t size = 0;
        int line = 0; // of its BEGIN
    };

    // The text, or nothing with a one-line reason in `error`.
    static std::optional<CalendarText> read(std::string bytes, std::string& error);

    // The components directly inside the calendars, in document order.
    const std::vector<Component>& components() const { return m_components; }
    std::string_view text(const Component& component) const
    {
        return std::string_view(m_text).substr(component.begin, component.size);
    }
    // The calendars' own properties (X-WR-CALNAME, METHOD, ...) as one VCALENDAR without
    // components.
    const std::string& calendarProperties() const { return m_properties; }

    CalendarText(CalendarText&&) = default;
    CalendarText& operator=(CalendarText&&) = default;

private:
    CalendarText() = default;
    bool split(std::string& error);

    std::string m_text;
    std::vector<Component> m_components;
    std::string m_properties;
};

} // namespace ical
