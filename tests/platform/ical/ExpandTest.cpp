// Expanding events over a window: the rule in the event's own zone, EXDATE and RDATE, and the
// bounds that keep a rule of millions of occurrences from running away.

#include "ICalTesting.h"

#include "platform/ical/OccurrenceExpander.h"

#include <chrono>

namespace {

using namespace ical_testing;
using ical::OccurrenceExpander;

std::vector<ical::LocalTime> starts(const std::vector<ical::Occurrence>& occurrences)
{
    std::vector<ical::LocalTime> result;
    for (const ical::Occurrence& occurrence : occurrences)
        result.push_back(occurrence.start);
    return result;
}

TEST(Expand, ExceptionsAndAddedDatesAndKeys)
{
    HostZone utc("UTC");
    const ical::Calendar calendar = read(document({
        "BEGIN:VEVENT", "UID:s", "DTSTART:20261201T090000", "DTEND:20261201T100000", "RRULE:FREQ=WEEKLY;COUNT=4",
        "EXDATE:20261208T090000", "EXDATE;VALUE=DATE:20261215", "RDATE:20261203T090000", "END:VEVENT"}));
    std::vector<ical::Occurrence> found;
    ASSERT_EQ(OccurrenceExpander(calendar).expand(calendar.events()[0], local(2026, 11, 1), local(2027, 1, 1), found),
              OccurrenceExpander::Outcome::Complete);
    EXPECT_EQ(starts(found), (std::vector<ical::LocalTime> {local(2026, 12, 1, 9), local(2026, 12, 3, 9), local(2026, 12, 22, 9)}));
    EXPECT_EQ(found[0].end, local(2026, 12, 1, 10));
    EXPECT_EQ(found[0].recurrenceId, "20261201T090000");
    // Only what touches the window: an occurrence that ends as the window starts still does.
    found.clear();
    OccurrenceExpander(calendar).expand(calendar.events()[0], local(2026, 12, 22, 10), local(2026, 12, 31), found);
    EXPECT_EQ(starts(found), (std::vector<ical::LocalTime> {local(2026, 12, 22, 9)}));
}

TEST(Expand, AZonedSeriesMovesInLocalTimeWhenOnlyOneZoneChangesToSummerTime)
{
    // New York changes on March 8, 2026, Berlin on March 29: for three weeks the 9:00 meeting in
    // New York is at 14:00 in Berlin instead of 15:00.
    HostZone berlin("Europe/Berlin");
    const ical::Calendar calendar = read(document({"BEGIN:VEVENT", "UID:ny", "DTSTART;TZID=America/New_York:20260302T090000",
                                                   "DURATION:PT1H", "RRULE:FREQ=WEEKLY;COUNT=6", "END:VEVENT"}));
    std::vector<ical::Occurrence> found;
    OccurrenceExpander(calendar).expand(calendar.events()[0], local(2026, 1, 1), local(2026, 12, 31), found);
    EXPECT_EQ(starts(found), (std::vector<ical::LocalTime> {local(2026, 3, 2, 15), local(2026, 3, 9, 14), local(2026, 3, 16, 14),
                                                           local(2026, 3, 23, 14), local(2026, 3, 30, 15), local(2026, 4, 6, 15)}));
    EXPECT_EQ(found[1].recurrenceId, "20260309T130000Z");
}

TEST(Expand, JumpingToALateWindowGivesWhatWalkingFromTheStartGives)
{
    HostZone berlin("Europe/Berlin");
    for (const char* rule : {"FREQ=DAILY;INTERVAL=3", "FREQ=WEEKLY;BYDAY=MO,FR", "FREQ=MONTHLY;BYDAY=-1FR",
                             "FREQ=YEARLY;BYMONTH=3;BYDAY=-1SU"}) {
        const ical::Calendar calendar = read(document({"BEGIN:VEVENT", "UID:x", "DTSTART;TZID=Europe/Berlin:19900105T093000",
                                                       "DURATION:PT1H", (std::string("RRULE:") + rule).c_str(), "END:VEVENT"}));
        const ical::Event& event = calendar.events()[0];
        std::vector<ical::Occurrence> jumped, walked;
        OccurrenceExpander(calendar).expand(event, local(2026, 1, 1), local(2026, 12, 31), jumped);
        // Walking from the start: the window is reached through every occurrence before it.
        OccurrenceExpander(calendar, {1'000'000, 4'000'000}).expand(event, local(1990, 1, 1), local(2026, 12, 31), walked);
        walked.erase(walked.begin(), std::find_if(walked.begin(), walked.end(), [](const ical::Occurrence& o) {
                         return o.start + 3'600'000 >= local(2026, 1, 1);
                     }));
        EXPECT_EQ(starts(jumped), starts(walked)) << rule;
        EXPECT_FALSE(jumped.empty()) << rule;
    }
}

TEST(Expand, RulesOfMillionsOfOccurrencesStopAtTheirBounds)
{
    HostZone utc("UTC");
    const ical::Calendar calendar = read(document({"BEGIN:VEVENT", "UID:every-second", "DTSTART:20260101T000000Z",
                                                   "RRULE:FREQ=SECONDLY", "END:VEVENT", "BEGIN:VEVENT", "UID:old-minutes",
                                                   "DTSTART:19700101T000000Z", "RRULE:FREQ=MINUTELY", "END:VEVENT"}));
    std::vector<ical::Occurrence> found;
    EXPECT_EQ(OccurrenceExpander(calendar).expand(calendar.events()[0], local(2026, 1, 1), local(2028, 1, 1), found),
              OccurrenceExpander::Outcome::TooManyOccurrences);
    EXPECT_EQ(found.size(), 10'000u); // the first ones, for a caller that compares a beginning
    // Fifty-six years of minutes lie before the window: the walk there is cut off by the step
    // limit (a small one here, so the test stays quick; the default bounds the same walk).
    EXPECT_EQ(OccurrenceExpander(calendar, {10'000, 200'000})
                  .expand(calendar.events()[1], local(2026, 1, 1), local(2026, 1, 2), found),
              OccurrenceExpander::Outcome::TooMuchWork);
}

} // namespace
