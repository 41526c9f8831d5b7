// A document's occurrences within a window, as a calendar that shows a feed takes them: series
// expanded with their changed and cancelled occurrences, the later version of an event, cancelled
// events, the window's edges and the limits.

#include "platform/ical/CalendarOccurrences.h"

#include "ICalTesting.h"

#include <gtest/gtest.h>

namespace {

using ical_testing::document;
using ical_testing::local;

struct Seen {
    std::string summary;
    ical::LocalTime start;
    ical::LocalTime end;
    friend bool operator==(const Seen&, const Seen&) = default;
};

std::vector<Seen> seen(const ical::CalendarOccurrences& found)
{
    std::vector<Seen> all;
    for (const ical::CalendarOccurrences::Placed& one : found.occurrences())
        all.push_back({one.event->summary, one.start, one.end});
    return all;
}

TEST(CalendarOccurrences, SeriesWithChangedAndCancelledOccurrencesInStartOrder)
{
    const ical::Calendar calendar = ical_testing::read(document({
        "BEGIN:VEVENT",
        "UID:training",
        "SUMMARY:Training",
        "DTSTART:20261201T180000",
        "DTEND:20261201T193000",
        "RRULE:FREQ=WEEKLY;COUNT=5",
        "EXDATE:20261208T180000",
        "END:VEVENT",
        // Moved to the evening, and the week after cancelled.
        "BEGIN:VEVENT",
        "UID:training",
        "RECURRENCE-ID:20261215T180000",
        "SUMMARY:Training late",
        "DTSTART:20261215T200000",
        "DTEND:20261215T213000",
        "END:VEVENT",
        "BEGIN:VEVENT",
        "UID:training",
        "RECURRENCE-ID:20261222T180000",
        "STATUS:CANCELLED",
        "SUMMARY:Training",
        "DTSTART:20261222T180000",
        "DTEND:20261222T193000",
        "END:VEVENT",
        "BEGIN:VEVENT",
        "UID:party",
        "SUMMARY:Party",
        "DTSTART:20261210T200000",
        "DTEND:20261211T010000",
        "END:VEVENT",
    }));
    const ical::CalendarOccurrences found(calendar, local(2026, 11, 1), local(2027, 1, 31));
    EXPECT_EQ(seen(found),
              (std::vector<Seen>{
                  {"Training", local(2026, 12, 1, 18), local(2026, 12, 1, 19, 30)},
                  {"Party", local(2026, 12, 10, 20), local(2026, 12, 11, 1)},
                  {"Training late", local(2026, 12, 15, 20), local(2026, 12, 15, 21, 30)},
                  {"Training", local(2026, 12, 29, 18), local(2026, 12, 29, 19, 30)},
              }));
    EXPECT_TRUE(found.leftOut().empty());
}

TEST(CalendarOccurrences, WindowEdgesCancelledEventsAndLaterVersions)
{
    const ical::Calendar calendar = ical_testing::read(document({
        "BEGIN:VEVENT",
        "UID:a",
        "SUMMARY:Old",
        "SEQUENCE:1",
        "DTSTART:20261203T090000",
        "DTEND:20261203T100000",
        "END:VEVENT",
        "BEGIN:VEVENT",
        "UID:a",
        "SUMMARY:Older",
        "SEQUENCE:0",
        "DTSTART:20261204T090000",
        "DTEND:20261204T100000",
        "END:VEVENT",
        "BEGIN:VEVENT",
        "UID:b",
        "SUMMARY:Gone",
        "STATUS:CANCELLED",
        "DTSTART:20261205T090000",
        "DTEND:20261205T100000",
        "END:VEVENT",
        // Ends as the window opens: touches it. Starts a minute after it closes: outside.
        "BEGIN:VEVENT",
        "UID:c",
        "SUMMARY:Edge",
        "DTSTART:20261130T220000",
        "DTEND:20261201T000000",
        "END:VEVENT",
        "BEGIN:VEVENT",
        "UID:d",
        "SUMMARY:After",
        "DTSTART:20261231T000100",
        "DTEND:20261231T010000",
        "END:VEVENT",
        "BEGIN:VEVENT",
        "UID:e",
        "SUMMARY:Before",
        "DTSTART:20261101T090000",
        "DTEND:20261101T100000",
        "END:VEVENT",
    }));
    const ical::CalendarOccurrences found(calendar, local(2026, 12, 1), local(2026, 12, 31));
    EXPECT_EQ(seen(found),
              (std::vector<Seen>{
                  {"Edge", local(2026, 11, 30, 22), local(2026, 12, 1)},
                  {"Old", local(2026, 12, 3, 9), local(2026, 12, 3, 10)},
              }));
    ASSERT_EQ(found.leftOut().size(), 1u);
    EXPECT_EQ(found.leftOut()[0].event->summary, "Older");
    EXPECT_NE(found.leftOut()[0].reason.find("has the same UID and replaces it"), std::string::npos);
}

TEST(CalendarOccurrences, SeriesBeyondTheLimitsAreLeftOutWholeWithTheirReason)
{
    const ical::Calendar calendar = ical_testing::read(document({
        "BEGIN:VEVENT",
        "UID:often",
        "SUMMARY:Often",
        "DTSTART:20261201T000000",
        "DTEND:20261201T000500",
        "RRULE:FREQ=HOURLY",
        "END:VEVENT",
        "BEGIN:VEVENT",
        "UID:daily",
        "SUMMARY:Daily",
        "DTSTART:20261201T090000",
        "DTEND:20261201T100000",
        "RRULE:FREQ=DAILY;COUNT=20",
        "END:VEVENT",
        "BEGIN:VEVENT",
        "UID:weekly",
        "SUMMARY:Weekly",
        "DTSTART:20261201T090000",
        "DTEND:20261201T100000",
        "RRULE:FREQ=WEEKLY;COUNT=4",
        "END:VEVENT",
    }));
    const ical::LocalTime from = local(2026, 12, 1);
    const ical::LocalTime to = local(2026, 12, 31, 23, 59);

    // Hourly has more than one event may have; the other two fit.
    const ical::CalendarOccurrences perEvent(calendar, from, to, {100, 100'000});
    ASSERT_EQ(perEvent.leftOut().size(), 1u);
    EXPECT_EQ(perEvent.leftOut()[0].event->summary, "Often");
    EXPECT_EQ(perEvent.leftOut()[0].reason, "it has more than 100 occurrences in the window");
    EXPECT_EQ(perEvent.occurrences().size(), 24u);

    // Of 22 in all, the daily series takes 20 and the weekly one does not fit whole.
    const ical::CalendarOccurrences whole(calendar, from, to, {100, 22});
    ASSERT_EQ(whole.leftOut().size(), 2u);
    EXPECT_EQ(whole.leftOut()[1].event->summary, "Weekly");
    EXPECT_EQ(whole.leftOut()[1].reason, "the limit of 22 occurrences of the whole calendar is reached");
    ASSERT_EQ(whole.occurrences().size(), 20u);
    for (const ical::CalendarOccurrences::Placed& one : whole.occurrences())
        EXPECT_EQ(one.event->summary, "Daily");
}

} // namespace
