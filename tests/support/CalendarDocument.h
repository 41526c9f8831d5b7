#pragma once
// Remote calendar documents as a publisher writes them, for the tests that serve them: a name, a
// copyright line, twelve months of pictures and fade levels, categories of events, and the checksum
// worked out from what it holds (or a stated one, to tamper with). The text is bytes, one to a
// character, as servers send it; the checksum counts the low byte of each.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace testing_support {

struct CalendarDocument {
    struct Event {
        std::string name, date, start, end, icon;
    };
    struct Category {
        std::string name;
        std::vector<Event> events;
    };

    std::string name = "Sports";
    std::string copyright = "(c) 2026 Sports Desk";
    std::string version = "2";
    std::optional<std::uint32_t> checksum; // none: the right one
    std::string fade = "100";
    // The picture names of a month ("%02d" replaced by the month's two digits).
    std::string background = "bg%02d.png";
    std::string monthTitle = "title.png";
    std::string dayBar = "daybar.png";
    std::vector<Category> categories;

    static std::string ofMonth(const std::string& pattern, int month)
    {
        std::string text = pattern;
        if (const std::size_t at = text.find("%02d"); at != std::string::npos)
            text.replace(at, 4, std::string(month < 10 ? "0" : "") + std::to_string(month));
        return text;
    }

    std::uint32_t rightChecksum() const
    {
        std::uint32_t sum = 0;
        for (int month = 1; month <= 12; ++month)
            for (unsigned char c : ofMonth(background, month))
                sum += c;
        for (const Category& category : categories)
            for (const Event& event : category.events)
                if (!event.name.empty() && !event.date.empty() && !event.icon.empty())
                    for (unsigned char c : event.name)
                        sum += std::uint32_t(c) << 16;
        return sum;
    }

    std::string text() const
    {
        std::string out = "<Tavrel>\n\t<Name>" + name + "</Name>\n\t<Copyright>" + copyright + "</Copyright>\n";
        out += "\t<Version>" + version + "</Version>\n\t<Backgrounds>\n";
        for (int month = 1; month <= 12; ++month) {
            const std::string tag = ofMonth("BG%02d", month);
            out += "\t\t<" + tag + "><Image>" + ofMonth(background, month) + "</Image><Fade>" + fade
                + "</Fade><MonthTitle>" + ofMonth(monthTitle, month) + "</MonthTitle><DayBar>" + ofMonth(dayBar, month)
                + "</DayBar></" + tag + ">\n";
        }
        out += "\t</Backgrounds>\n";
        for (const Category& category : categories) {
            out += "\t<Events>\n\t\t<Name>" + category.name + "</Name>\n";
            for (const Event& event : category.events)
                out += "\t\t<Event><Name>" + event.name + "</Name><Date>" + event.date + "</Date><StartTime>"
                    + event.start + "</StartTime><EndTime>" + event.end + "</EndTime><Icon>" + event.icon
                    + "</Icon></Event>\n";
            out += "\t</Events>\n";
        }
        out += "\t<CheckSum>" + std::to_string(checksum.value_or(rightChecksum())) + "</CheckSum>\n</Tavrel>\n";
        return out;
    }
};

// A host directory document offering calendars: <Tavrel><LINK><Name>..</Name><URL>..</URL></LINK>...
inline std::string hostDirectory(const std::vector<std::pair<std::string, std::string>>& links)
{
    std::string out = "<Tavrel>\n";
    for (const auto& [name, url] : links)
        out += "\t<LINK><Name>" + name + "</Name><URL>" + url + "</URL></LINK>\n";
    return out + "</Tavrel>\n";
}

} // namespace testing_support
