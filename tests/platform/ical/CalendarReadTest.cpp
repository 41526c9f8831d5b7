// Reading iCalendar documents: what is no iCalendar text fails whole with the line it broke at;
// events come out in the device's local time whatever zone they were written in; an event that
// cannot be read as meant is left out with its reason, never read wrongly.

#include "ICalTesting.h"

#include "platform/ical/CalendarText.h"

namespace {

using namespace ical_testing;
using ical::Calendar;

std::string failure(const std::string& bytes)
{
    std::string error;
    EXPECT_FALSE(Calendar::read(bytes, error));
    return error;
}

TEST(CalendarText, DamagedOrForeignFilesFailWithTheirLine)
{
    EXPECT_EQ(failure("Subject,Start\r\nDentist,12/8/2026\r\n"),
              "this is not an iCalendar file (it does not begin with BEGIN:VCALENDAR)");
    EXPECT_EQ(failure(""), "this is not an iCalendar file (it holds no BEGIN:VCALENDAR)");
    const std::string whole = document({"BEGIN:VEVENT", "UID:a", "DTSTART:20261208T090000", "END:VEVENT"});
    // Cut short in the middle of an event, as an interrupted download is.
    EXPECT_EQ(failure(whole.substr(0, whole.find("END:VEVENT"))),
              "the file ends inside the VEVENT begun on line 4: it is cut short");
    EXPECT_EQ(failure(document({"BEGIN:VEVENT", "UID:a", "END:VTODO"})),
              "line 6: END:VTODO does not close BEGIN:VEVENT of line 4");
    EXPECT_EQ(failure(whole + "garbage\r\n"), "line 9: text after END:VCALENDAR");
    // Latin-1 bytes where UTF-8 belongs, and a binary file.
    EXPECT_EQ(failure(document({"BEGIN:VEVENT", "SUMMARY:Caf\xE9", "END:VEVENT"})),
              "line 5 is not UTF-8 text (iCalendar files are UTF-8; convert it first, e.g. with iconv)");
    EXPECT_EQ(failure(std::string("BEGIN:VCALENDAR\r\n\0\0\0", 20)), "line 2 holds a NUL byte: this is no text file");
    std::string deep = "BEGIN:VCALENDAR\r\n";
    for (int i = 0; i < 40; ++i)
        deep += "BEGIN:X\r\n";
    EXPECT_EQ(failure(deep), "line 33: components nest deeper than 32 levels");
    EXPECT_EQ(failure(std::string(ical::CalendarText::kMaxBytes + 1, 'x')), "the file is larger than 64 MB");
}

TEST(CalendarText, ByteOrderMarksAndUtf16AreRead)
{
    const std::string text = document({"BEGIN:VEVENT", "UID:a", "SUMMARY:Caf\xC3\xA9 \xE2\x98\x95", "DTSTART:20261208T090000", "END:VEVENT"});
    EXPECT_EQ(read("\xEF\xBB\xBF" + text).events().at(0).summary, "Caf\xC3\xA9 \xE2\x98\x95");
    std::string utf16 = "\xFF\xFE";
    const std::u16string wide = u"BEGIN:VCALENDAR\r\nBEGIN:VEVENT\r\nUID:a\r\nSUMMARY:Caf\u00E9\r\nDTSTART:20261208T090000\r\n"
                                u"END:VEVENT\r\nEND:VCALENDAR\r\n";
    for (char16_t unit : wide) {
        utf16 += char(unit & 0xFF);
        utf16 += char(unit >> 8);
    }
    EXPECT_EQ(read(utf16).events().at(0).summary, "Caf\xC3\xA9");
}

TEST(CalendarRead, TextsCategoriesAttendeesAndTheCalendarsName)
{
    const Calendar calendar = read(document({"X-WR-CALNAME:Team\\, Berlin", "BEGIN:VEVENT", "UID:meet-1",
                                             "DTSTART:20261208T090000", "DTEND:20261208T100000",
                                             "SUMMARY:Planning\\; part 2", "LOCATION:Room 4", "CATEGORIES:Work,Meeting",
                                             "CATEGORIES:Project", "ATTENDEE;CN=Ann Lee:mailto:ann@example.com",
                                             "ATTENDEE:MAILTO:bob@example.com", "END:VEVENT", "BEGIN:VTODO", "UID:t",
                                             "END:VTODO"}));
    EXPECT_EQ(calendar.name(), "Team, Berlin");
    ASSERT_EQ(calendar.events().size(), 1u);
    const ical::Event& event = calendar.events()[0];
    EXPECT_EQ(event.uid, "meet-1");
    EXPECT_EQ(event.summary, "Planning; part 2");
    EXPECT_EQ(event.location, "Room 4");
    EXPECT_EQ(event.categories, (std::vector<std::string> {"Work", "Meeting", "Project"}));
    EXPECT_EQ(event.attendees, (std::vector<std::string> {"Ann Lee", "bob@example.com"}));
    EXPECT_EQ(calendar.otherComponents().at("VTODO"), 1);
}

TEST(CalendarRead, TimesOfEveryKindBecomeLocalTime)
{
    HostZone berlin("Europe/Berlin");
    const Calendar calendar = read(document({
        "BEGIN:VTIMEZONE", "TZID:My Eastern", "BEGIN:STANDARD", "DTSTART:19701101T020000",
        "RRULE:FREQ=YEARLY;BYMONTH=11;BYDAY=1SU", "TZOFFSETFROM:-0400", "TZOFFSETTO:-0500", "END:STANDARD",
        "BEGIN:DAYLIGHT", "DTSTART:19700308T020000", "RRULE:FREQ=YEARLY;BYMONTH=3;BYDAY=2SU", "TZOFFSETFROM:-0500",
        "TZOFFSETTO:-0400", "END:DAYLIGHT", "END:VTIMEZONE",
        // UTC in winter and in summer: Berlin is one and two hours ahead.
        "BEGIN:VEVENT", "UID:utc-winter", "DTSTART:20261208T080000Z", "DTEND:20261208T090000Z", "END:VEVENT",
        "BEGIN:VEVENT", "UID:utc-summer", "DTSTART:20260708T080000Z", "DURATION:PT1H30M", "END:VEVENT",
        // The file's own zone definition, and the system's database by name.
        "BEGIN:VEVENT", "UID:own-zone", "DTSTART;TZID=My Eastern:20261208T090000", "DTEND;TZID=My Eastern:20261208T100000",
        "END:VEVENT",
        "BEGIN:VEVENT", "UID:system-zone", "DTSTART;TZID=Asia/Tokyo:20261208T090000", "END:VEVENT",
        "BEGIN:VEVENT", "UID:floating", "DTSTART:20261208T090000", "END:VEVENT",
        // All day: a day's event without DTEND, and three days' with one.
        "BEGIN:VEVENT", "UID:day", "DTSTART;VALUE=DATE:20261224", "END:VEVENT",
        "BEGIN:VEVENT", "UID:days", "DTSTART;VALUE=DATE:20261224", "DTEND;VALUE=DATE:20261227", "END:VEVENT",
        // A day of duration across the change to summer time is a calendar day: 23 hours.
        "BEGIN:VEVENT", "UID:over-the-change", "DTSTART;TZID=Europe/Berlin:20260328T120000", "DURATION:P1D", "END:VEVENT",
    }));
    ASSERT_EQ(calendar.skipped().size(), 0u);
    std::map<std::string, const ical::Event*> byUid;
    for (const ical::Event& event : calendar.events())
        byUid[event.uid] = &event;
    EXPECT_EQ(byUid["utc-winter"]->start, local(2026, 12, 8, 9));
    EXPECT_EQ(byUid["utc-winter"]->timeKind, ical::TimeKind::Utc);
    EXPECT_EQ(byUid["utc-summer"]->start, local(2026, 7, 8, 10));
    EXPECT_EQ(byUid["utc-summer"]->end, local(2026, 7, 8, 11, 30));
    EXPECT_EQ(byUid["own-zone"]->start, local(2026, 12, 8, 15));
    EXPECT_EQ(byUid["own-zone"]->zone, "My Eastern");
    EXPECT_EQ(byUid["system-zone"]->start, local(2026, 12, 8, 1));
    EXPECT_EQ(byUid["system-zone"]->end, byUid["system-zone"]->start);
    EXPECT_EQ(byUid["floating"]->start, local(2026, 12, 8, 9));
    EXPECT_TRUE(byUid["day"]->allDay);
    EXPECT_EQ(byUid["day"]->start, local(2026, 12, 24));
    EXPECT_EQ(byUid["day"]->end, local(2026, 12, 25));
    EXPECT_EQ(byUid["days"]->end, local(2026, 12, 27));
    EXPECT_EQ(byUid["over-the-change"]->end, local(2026, 3, 29, 12));
}

TEST(CalendarRead, EventsThatCannotBeReadAsMeantAreLeftOutWithTheirReason)
{
    const Calendar calendar = read(document({
        "BEGIN:VEVENT", "UID:no-start", "SUMMARY:Lost", "END:VEVENT",
        "BEGIN:VEVENT", "UID:unknown-zone", "DTSTART;TZID=Mars/Olympus:20261208T090000", "END:VEVENT",
        "BEGIN:VEVENT", "UID:backwards", "DTSTART:20261208T090000", "DTEND:20261208T080000", "END:VEVENT",
        "BEGIN:VEVENT", "UID:bad-rule", "DTSTART:20261208T090000", "RRULE:FREQ=SOMETIMES", "END:VEVENT",
        "BEGIN:VEVENT", "UID:bad-date", "DTSTART:next tuesday", "END:VEVENT",
        "BEGIN:VEVENT", "UID:two-rules", "DTSTART:20261208T090000", "RRULE:FREQ=DAILY", "RRULE:FREQ=WEEKLY", "END:VEVENT",
        "BEGIN:VEVENT", "UID:fine", "DTSTART:20261208T090000", "DTSTAMP:not a date", "END:VEVENT",
    }));
    ASSERT_EQ(calendar.events().size(), 1u);
    EXPECT_EQ(calendar.events()[0].uid, "fine"); // a damaged DTSTAMP changes nothing the calendar shows
    std::vector<std::string> reasons;
    for (const Calendar::Skipped& skipped : calendar.skipped())
        reasons.push_back(std::to_string(skipped.line) + " " + skipped.uid + ": " + skipped.reason);
    EXPECT_EQ(reasons, (std::vector<std::string> {
                           "4 no-start: it has no DTSTART",
                           "8 unknown-zone: its time zone \"Mars/Olympus\" is defined neither in the file nor in the "
                           "system's zone database",
                           "12 backwards: it ends before it starts",
                           "17 bad-rule: its RRULE cannot be read",
                           "22 bad-date: its DTSTART cannot be read",
                           "26 two-rules: it has more than one RRULE, which iCalendar no longer allows",
                       }));
}

TEST(CalendarRead, AnEventWithoutUidGetsTheSameStandInEveryTime)
{
    const std::string text = document({"BEGIN:VEVENT", "DTSTART:20261208T090000", "SUMMARY:A", "END:VEVENT",
                                       "BEGIN:VEVENT", "DTSTART:20261208T090000", "SUMMARY:B", "END:VEVENT"});
    const Calendar first = read(text);
    const Calendar again = read(text);
    ASSERT_EQ(first.events().size(), 2u);
    EXPECT_EQ(first.events()[0].uid, again.events()[0].uid);
    EXPECT_NE(first.events()[0].uid, first.events()[1].uid);
    EXPECT_EQ(first.events()[0].uid.rfind("no-uid-", 0), 0u);
}

} // namespace
