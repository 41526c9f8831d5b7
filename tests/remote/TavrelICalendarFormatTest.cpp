// An iCalendar feed read as a remote calendar: which addresses are feeds and where they are fetched
// from, the name, the categories, occurrences in the window around today split by day, texts the
// local copy can hold, the built-in look, and a local copy that reads back the same.

#include "remote/TavrelICalendarFormat.h"
#include "remote/TavrelCalendarFormat.h"
#include "remote/TavrelRemoteCalendar.h"
#include "remote/XmlDocument.h"

#include "RemoteTestSupport.h"

#include "PinnedClock.h"
#include "TempDevice.h"

#include "platform/device/FileSystem.h"

#include <gtest/gtest.h>

#include <map>

namespace {

using remote_test::utf8;

std::vector<std::uint8_t> bytesOf(const std::string& text) { return {text.begin(), text.end()}; }

std::string feed(std::initializer_list<const char*> lines)
{
    std::string text = "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Tavrel tests//EN\r\n";
    for (const char* line : lines)
        text += std::string(line) + "\r\n";
    return text + "END:VCALENDAR\r\n";
}

// "name date start-end" of every event of every category, by category.
std::map<std::string, std::vector<std::string>> eventsOf(const CTavrelRemoteCalendar& calendar)
{
    std::map<std::string, std::vector<std::string>> all;
    for (const CTavrelEvents& category : calendar.GetCategories()) {
        std::vector<std::string>& events = all[utf8(category.GetName())];
        category.ForEach([&](const CTavrelEvent& event) {
            const device::OleDateTime& start = event.GetStart();
            const device::OleDateTime& end = event.GetEnd();
            char text[64];
            std::snprintf(text, sizeof text, " %04d-%02d-%02d %02d:%02d-%02d:%02d", start.GetYear(), start.GetMonth(),
                          start.GetDay(), start.GetHour(), start.GetMinute(), end.GetHour(), end.GetMinute());
            events.push_back(utf8(event.GetName()) + text + (event.IsAllDay() ? " all-day" : ""));
        });
    }
    return all;
}

class TavrelICalendarFormatTest : public testing::Test {
protected:
    std::unique_ptr<CTavrelRemoteCalendar> Read(const std::string& text, const char16_t* address = Address)
    {
        m_message = CQoString();
        const std::vector<std::uint8_t> bytes = bytesOf(text);
        return CTavrelCalendarFormats::For(address).Read(address, bytes, m_message);
    }

    static constexpr const char16_t* Address = u"http://127.0.0.1:9/feeds/Club%20Dates.ics";
    testing_support::TempDevice m_device;
    testing_support::PinnedClock m_clock{testing_support::localTime(2026, 12, 8, 15, 45, 0)};
    remote_test::RecordingHost m_host;
    CQoString m_message;
};

TEST_F(TavrelICalendarFormatTest, FeedAddressesAreClaimedAndFetchedOverHttp)
{
    const CTavrelICalendarFormat format;
    for (const char16_t* feed : {u"http://h/cal.ics", u"https://h/a/b.ics?token=1", u"webcal://h/feed",
                                 u"webcals://h/x.php", u"ftp://h/f.ics#now"})
        EXPECT_TRUE(format.NamesDocument(feed)) << utf8(feed);
    for (const char16_t* other : {u"http://h/cal.xml", u"http://h/ics", u"http://h/cal.ics/tavrel.xml", u"icsweb"})
        EXPECT_FALSE(format.NamesDocument(other)) << utf8(other);
    // The Tavrel document stays the format of every other address.
    EXPECT_EQ(&CTavrelCalendarFormats::For(u"http://h/Cal.ICS"), &CTavrelCalendarFormats::For(u"webcal://h/x"));
    EXPECT_NE(&CTavrelCalendarFormats::For(u"http://h/cal.xml"), &CTavrelCalendarFormats::For(u"http://h/cal.ics"));

    EXPECT_EQ(utf8(format.FetchAddress(u"webcal://h/Team.ics")), "http://h/Team.ics");
    EXPECT_EQ(utf8(format.FetchAddress(u"WebCals://h/x")), "https://h/x");
    EXPECT_EQ(utf8(format.FetchAddress(u"https://h/x.ics")), "https://h/x.ics");
    EXPECT_EQ(format.MaximumAge(), std::chrono::seconds(3600));

    EXPECT_EQ(utf8(CTavrelICalendarFormat::NameFromAddress(u"http://h/a/Club%20Dates.ICS?user=1")), "Club Dates");
    EXPECT_EQ(utf8(CTavrelICalendarFormat::NameFromAddress(u"webcal://h/feed")), "feed");
    EXPECT_EQ(utf8(CTavrelICalendarFormat::NameFromAddress(u"http://h/%3Cb%3E%0A.ics")), "\u2039b\u203A%0A");
}

TEST_F(TavrelICalendarFormatTest, EventsBecomeCategoriesAndDaysWithinTheWindow)
{
    auto calendar = Read(feed({
        "X-WR-CALNAME:Club <Dates>",
        "BEGIN:VEVENT",
        "UID:t",
        "SUMMARY:Training",
        "CATEGORIES:Sport,Club",
        "DTSTART:20261201T180000",
        "DTEND:20261201T193000",
        "RRULE:FREQ=WEEKLY;COUNT=3",
        "EXDATE:20261208T180000",
        "END:VEVENT",
        "BEGIN:VEVENT",
        "UID:trip",
        "SUMMARY:Trip",
        "CATEGORIES:Travel",
        "DTSTART;VALUE=DATE:20261224",
        "DTEND;VALUE=DATE:20261227",
        "END:VEVENT",
        "BEGIN:VEVENT",
        "UID:p",
        "SUMMARY:New Year\\nparty",
        "DTSTART:20261231T220000",
        "DTEND:20270101T020000",
        "END:VEVENT",
        "BEGIN:VEVENT",
        "UID:n",
        "DTSTART:20261209T120000",
        "DTEND:20261209T130000",
        "END:VEVENT",
        // Outside the window (two months back, a year ahead), and cancelled.
        "BEGIN:VEVENT",
        "UID:old",
        "SUMMARY:Old",
        "DTSTART:20260901T100000",
        "END:VEVENT",
        "BEGIN:VEVENT",
        "UID:far",
        "SUMMARY:Far",
        "DTSTART:20280101T100000",
        "END:VEVENT",
        "BEGIN:VEVENT",
        "UID:c",
        "SUMMARY:Off",
        "STATUS:CANCELLED",
        "DTSTART:20261210T100000",
        "END:VEVENT",
    }));
    ASSERT_TRUE(calendar) << utf8(m_message);
    EXPECT_EQ(utf8(calendar->GetName()), "Club \u2039Dates\u203A");
    EXPECT_EQ(utf8(calendar->GetLocation()), utf8(Address));
    std::vector<std::string> order;
    for (const CTavrelEvents& category : calendar->GetCategories())
        order.push_back(utf8(category.GetName()));
    EXPECT_EQ(order, (std::vector<std::string>{"Sport", "Club \u2039Dates\u203A", "Travel"}));
    EXPECT_EQ(eventsOf(*calendar),
              (std::map<std::string, std::vector<std::string>>{
                  {"Sport", {"Training 2026-12-01 18:00-19:30", "Training 2026-12-15 18:00-19:30"}},
                  {"Club \u2039Dates\u203A",
                   {"(No subject) 2026-12-09 12:00-13:00", "New Year party 2026-12-31 22:00-23:59",
                    "New Year party 2027-01-01 00:00-02:00"}},
                  {"Travel",
                   {"Trip 2026-12-24 00:00-00:00 all-day", "Trip 2026-12-25 00:00-00:00 all-day",
                    "Trip 2026-12-26 00:00-00:00 all-day"}},
              }));
}

// The built-in look: picture names no file answers to, in every month and for every icon; the
// local copy keeps them and reads back into the same calendar without fetching anything.
TEST_F(TavrelICalendarFormatTest, LocalCopyReadsBackWithTheBuiltInLook)
{
    auto calendar = Read(feed({
        "BEGIN:VEVENT",
        "UID:a",
        "SUMMARY:Match",
        "CATEGORIES:Games",
        "DTSTART:20261212T150000",
        "DTEND:20261212T170000",
        "END:VEVENT",
    }));
    ASSERT_TRUE(calendar) << utf8(m_message);
    EXPECT_EQ(utf8(calendar->GetName()), "Club Dates");
    for (int month = 1; month <= 12; ++month) {
        for (const CQoString& picture : {calendar->GetBackgroundImage(month), calendar->GetMonthTitleImage(month),
                                         calendar->GetDayBarImage(month)}) {
            EXPECT_FALSE(picture.IsEmpty());
            EXPECT_FALSE(device::FileSystem::isFile(picture.View())) << utf8(picture);
        }
    }
    calendar->GetCategories().front().ForEach(
        [&](const CTavrelEvent& event) { EXPECT_EQ(utf8(event.GetIcon()), utf8(calendar->BuiltInIcon())); });

    CXmlDocument document;
    ASSERT_TRUE(document.Parse(calendar->Serialize()));
    CTavrelRemoteCalendar copy;
    ASSERT_TRUE(copy.Load(calendar->GetLocation(), document, {false, CQoString()}));
    EXPECT_TRUE(copy.IsSameAs(*calendar));
    EXPECT_EQ(eventsOf(copy), eventsOf(*calendar));
    EXPECT_EQ(utf8(copy.GetBackgroundImage(5)), utf8(calendar->GetBackgroundImage(5)));
    copy.GetCategories().front().ForEach(
        [&](const CTavrelEvent& event) { EXPECT_EQ(utf8(event.GetIcon()), utf8(calendar->BuiltInIcon())); });
    EXPECT_TRUE(m_host.urls.empty());
}

TEST_F(TavrelICalendarFormatTest, WhatIsNoICalendarIsToldAndAFeedWithoutEventsIsAnEmptyCalendar)
{
    EXPECT_FALSE(Read("<html>Not found</html>"));
    EXPECT_EQ(utf8(m_message).rfind("Error reading iCalendar feed: ", 0), 0u) << utf8(m_message);
    EXPECT_FALSE(Read("BEGIN:VCALENDAR\r\nBEGIN:VEVENT\r\nSUMMARY:cut\r\n"));
    EXPECT_EQ(utf8(m_message).rfind("Error reading iCalendar feed: ", 0), 0u) << utf8(m_message);

    auto empty = Read(feed({"X-WR-CALNAME:Quiet"}), u"webcal://127.0.0.1:9/q.ics");
    ASSERT_TRUE(empty) << utf8(m_message);
    EXPECT_EQ(utf8(empty->GetName()), "Quiet");
    ASSERT_EQ(empty->GetCategories().size(), 1u);
    EXPECT_EQ(utf8(empty->GetCategories().front().GetName()), "Quiet");
    EXPECT_EQ(empty->GetCategories().front().GetCount(), 0);
}

} // namespace
