#include "remote/TavrelICalendarFormat.h"

#include "common/QoLog.h"
#include "platform/device/CivilDate.h"
#include "platform/device/OleDateTime.h"
#include "platform/device/WideText.h"
#include "platform/ical/Calendar.h"
#include "platform/ical/CalendarOccurrences.h"
#include "remote/TavrelRemoteCalendar.h"

#include <algorithm>
#include <cmath>
#include <map>

namespace {

constexpr ical::LocalTime Day = ical::kMillisecondsPerDay;

ical::LocalTime floorDay(ical::LocalTime time) { return (time / Day - (time % Day < 0 ? 1 : 0)) * Day; }

device::OleDateTime dateTimeOf(ical::LocalTime time)
{
    const ical::LocalTime midnight = floorDay(time);
    const device::CivilDate date = device::CivilDate::fromDayNumber(midnight / Day);
    const ical::LocalTime second = (time - midnight) / 1000;
    return device::OleDateTime(int(date.year()), date.month(), date.day(), int(second / 3600), int(second / 60 % 60),
                               int(second % 60));
}

// Text of the feed as the local copy can hold it: on one line, without the brackets of a tag, without
// the leading blanks the tag reader would drop.
CQoString textOf(const std::string& utf8)
{
    device::WideString text = device::fromUtf8(utf8);
    for (char16_t& c : text) {
        if (c < 0x20 || c == 0x7F)
            c = u' ';
        else if (c == u'<')
            c = u'\u2039';
        else if (c == u'>')
            c = u'\u203A';
    }
    CQoString result(text.c_str());
    result.Trim();
    return result;
}

// Whether the address's path, before any query or fragment, ends in ".ics".
bool endsInIcs(const CQoString& lowered)
{
    device::WideView path = lowered.View();
    path = path.substr(0, std::min(path.find(u'?'), path.find(u'#')));
    return path.ends_with(u".ics");
}

// Adds the occurrence to the category, one event for each day it touches.
void addOccurrence(CTavrelEvents& category, const CQoString& name, const CQoString& icon, ical::LocalTime start,
                   ical::LocalTime end)
{
    if (end <= start) {
        category.AddEvent(CTavrelEvent(dateTimeOf(start), dateTimeOf(start), CQoString(), name, icon));
        return;
    }
    int days = 0;
    for (ical::LocalTime midnight = floorDay(start); midnight < end && days < CTavrelICalendarFormat::MaxDaysPerEvent;
         midnight += Day, ++days) {
        const ical::LocalTime from = std::max(start, midnight);
        const ical::LocalTime to = std::min(end, midnight + Day);
        if (from == midnight && to == midnight + Day) {
            // A whole day: all-day events start and end at midnight.
            category.AddEvent(CTavrelEvent(dateTimeOf(midnight), dateTimeOf(midnight), CQoString(), name, icon));
        } else {
            // Ends at midnight: the last minute of the day, since an event's end lies on its day.
            const ical::LocalTime last = to == midnight + Day ? to - 60'000 : to;
            category.AddEvent(CTavrelEvent(dateTimeOf(from), dateTimeOf(last), CQoString(), name, icon));
        }
    }
}

} // namespace

bool CTavrelICalendarFormat::NamesDocument(const CQoString& lowered) const
{
    return lowered.StartsWith(u"webcal:") || lowered.StartsWith(u"webcals:") || endsInIcs(lowered);
}

CQoString CTavrelICalendarFormat::FetchAddress(const CQoString& address) const
{
    CQoString lowered = address;
    lowered.MakeLower();
    if (lowered.StartsWith(u"webcals:"))
        return CQoString(u"https:") + address.Mid(8).GetString();
    if (lowered.StartsWith(u"webcal:"))
        return CQoString(u"http:") + address.Mid(7).GetString();
    return address;
}

CQoString CTavrelICalendarFormat::NameFromAddress(const CQoString& address)
{
    device::WideView path = address.View();
    path = path.substr(0, std::min(path.find(u'?'), path.find(u'#')));
    if (const std::size_t slash = path.find_last_of(u"/\\"); slash != device::WideView::npos)
        path.remove_prefix(slash + 1);
    if (path.size() >= 4) {
        CQoString ending(device::WideString(path.substr(path.size() - 4)).c_str());
        ending.MakeLower();
        if (ending == u".ics")
            path.remove_suffix(4);
    }
    // "%20" and the like, as far as they are plain characters.
    device::WideString name;
    for (std::size_t i = 0; i < path.size(); ++i) {
        const auto hex = [&](std::size_t at) -> int {
            const char16_t c = at < path.size() ? path[at] : u'\0';
            if (c >= u'0' && c <= u'9')
                return c - u'0';
            if ((c | 0x20) >= u'a' && (c | 0x20) <= u'f')
                return (c | 0x20) - u'a' + 10;
            return -1;
        };
        if (path[i] == u'%' && hex(i + 1) >= 0 && hex(i + 2) >= 0 && hex(i + 1) * 16 + hex(i + 2) >= 0x20
            && hex(i + 1) * 16 + hex(i + 2) < 0x7F) {
            name += char16_t(hex(i + 1) * 16 + hex(i + 2));
            i += 2;
        } else {
            name += path[i];
        }
    }
    return textOf(device::toUtf8(name));
}

std::unique_ptr<CTavrelRemoteCalendar>
CTavrelICalendarFormat::Read(const CQoString& address, std::span<const std::uint8_t> bytes, CQoString& message) const
{
    std::string error;
    std::optional<ical::Calendar> feed = ical::Calendar::read(std::string(bytes.begin(), bytes.end()), error);
    if (!feed) {
        message.Format(ReadError, device::fromUtf8(error).c_str());
        return nullptr;
    }

    auto calendar = std::make_unique<CTavrelRemoteCalendar>();
    calendar->StartWithBuiltInPictures(address);
    CQoString name = textOf(feed->name());
    if (name.IsEmpty())
        name = NameFromAddress(address);
    calendar->SetName(name);

    const double today = std::floor(device::OleDateTime::GetCurrentTime().GetValue());
    const ical::LocalTime midnight = ical::LocalTime(today) * Day;
    const ical::CalendarOccurrences found(*feed, midnight - WindowDaysBefore * Day,
                                          midnight + (WindowDaysAfter + 1) * Day - 1);

    // Categories in the order of their first occurrences.
    std::map<std::string, CTavrelEvents*> categories;
    const auto categoryOf = [&](const ical::Event& event) -> CTavrelEvents& {
        const std::string key = event.categories.empty() ? std::string() : event.categories.front();
        CTavrelEvents*& category = categories[key];
        if (!category) {
            CQoString title = key.empty() ? CQoString() : textOf(key);
            if (title.IsEmpty())
                title = name;
            category = calendar->FindCategory(title);
            if (!category)
                category = &calendar->AddCategory(title, true);
        }
        return *category;
    };
    // Every event added asks the logging switch: one registry read for the whole feed instead.
    const CQoLog::SwitchSnapshot logging;
    for (const ical::CalendarOccurrences::Placed& occurrence : found.occurrences()) {
        CQoString title = textOf(occurrence.event->summary);
        if (title.IsEmpty())
            title = u"(No subject)";
        addOccurrence(categoryOf(*occurrence.event), title, calendar->BuiltInIcon(), occurrence.start, occurrence.end);
    }
    if (calendar->GetCategories().empty())
        calendar->AddCategory(name, true);
    return calendar;
}
