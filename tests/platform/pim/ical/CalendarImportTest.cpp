// iCalendar into the store and back: every rule form the store repeats becomes a series, the rest
// becomes its occurrences, nothing is left out without a reason, importing again duplicates
// nothing, and import -> export -> import gives the same appointments.

#include "platform/ical/ICalTesting.h"
#include "platform/pim/PimTesting.h"

#include "platform/ical/Calendar.h"
#include "platform/pim/ical/CalendarExport.h"
#include "platform/pim/ical/CalendarImport.h"

#include <sqlite3.h>

namespace {

using namespace pim;
using ical_testing::document;
using ical_testing::HostZone;
using ical_testing::local;
using pim_testing::at;
using pim_testing::periodQuery;
using Found = std::vector<std::string>;

class CalendarImportTest : public pim_testing::StoreTest {
protected:
    CalendarImport::Summary import(const std::string& text, bool expectSuccess = true)
    {
        std::string error;
        std::optional<ical::Calendar> calendar = ical::Calendar::read(text, error);
        EXPECT_TRUE(calendar) << error;
        CalendarImport::Summary summary;
        if (!calendar)
            return summary;
        Error failure = Error::None;
        const bool done = CalendarImport(*app, local(2026, 1, 1), local(2027, 12, 31, 23, 59)).run(*calendar, summary, &failure);
        EXPECT_EQ(done, expectSuccess) << errorText(failure);
        return summary;
    }

    std::string exported()
    {
        std::string text;
        int count = 0;
        Error failure = Error::None;
        EXPECT_TRUE(CalendarExport(*app).run(std::nullopt, text, count, &failure)) << errorText(failure);
        return text;
    }

    // Every item of 2026 and 2027, "subject start end" with the end as a time of day.
    Found everything()
    {
        items->setIncludeRecurrences(true);
        Found result;
        for (auto item = items->find(periodQuery(at(2026, 1, 1), at(2027, 12, 31, 23, 59, 59))); item; item = items->findNext())
            result.push_back(device::toUtf8(item->subject()) + " " + pim_testing::isoTime(item->start()) + " - " +
                             pim_testing::isoTime(item->end()) + " [" + device::toUtf8(item->categories()) + "]");
        return result;
    }

    const RecurrencePattern* patternOf(const std::string& uid)
    {
        m_kept = app->getItemsFromUid(uid);
        return m_kept.size() == 1 ? m_kept[0]->recurrencePattern() : nullptr;
    }

    HostZone m_zone {"Europe/Berlin"};
    std::vector<std::unique_ptr<Appointment>> m_kept;
};

struct Form {
    const char* start;
    const char* rule;
    int type;
    int interval;
    int mask;       // 0: not checked
    int dayOfMonth; // 0: not checked
    int instance;   // 0: not checked
    int month;      // 0: not checked
};

TEST_F(CalendarImportTest, EveryRuleFormTheStoreRepeatsBecomesASeries)
{
    const Form forms[] = {
        {"20260105T090000", "FREQ=DAILY;INTERVAL=2;COUNT=10", olRecursDaily, 2, 0, 0, 0, 0},
        {"20260105T090000", "FREQ=DAILY;BYDAY=MO,TU,WE,TH,FR", olRecursWeekly, 1, 62, 0, 0, 0},
        {"20260106T090000", "FREQ=WEEKLY;BYDAY=TU,TH;UNTIL=20261231T235959Z", olRecursWeekly, 1, olTuesday | olThursday, 0, 0, 0},
        {"20260107T090000", "FREQ=WEEKLY;INTERVAL=2", olRecursWeekly, 2, olWednesday, 0, 0, 0},
        {"20260115T090000", "FREQ=MONTHLY;BYMONTHDAY=15", olRecursMonthly, 1, 0, 15, 0, 0},
        {"20260131T090000", "FREQ=MONTHLY;BYMONTHDAY=-1", olRecursMonthly, 1, 0, 31, 0, 0},
        {"20260130T090000", "FREQ=MONTHLY;BYMONTHDAY=28,29,30;BYSETPOS=-1", olRecursMonthly, 1, 0, 30, 0, 0},
        {"20260113T090000", "FREQ=MONTHLY;INTERVAL=3;BYDAY=2TU", olRecursMonthNth, 3, olTuesday, 0, 2, 0},
        {"20260130T090000", "FREQ=MONTHLY;BYDAY=-1FR", olRecursMonthNth, 1, olFriday, 0, 5, 0},
        {"20260130T090000", "FREQ=MONTHLY;BYDAY=MO,TU,WE,TH,FR;BYSETPOS=-1", olRecursMonthNth, 1, 62, 0, 5, 0},
        {"20260317T090000", "FREQ=YEARLY", olRecursYearly, 1, 0, 17, 0, 3},
        {"20260228T090000", "FREQ=YEARLY;BYMONTH=2;BYMONTHDAY=-1", olRecursYearly, 1, 0, 29, 0, 2},
        {"20261126T090000", "FREQ=YEARLY;BYMONTH=11;BYDAY=4TH", olRecursYearNth, 1, olThursday, 0, 4, 11},
        {"20260601T090000", "FREQ=YEARLY;INTERVAL=2;BYMONTH=6;BYMONTHDAY=1;COUNT=5", olRecursYearly, 2, 0, 1, 0, 6},
    };
    int index = 0;
    for (const Form& form : forms) {
        const std::string uid = "form-" + std::to_string(index++);
        const std::string start = std::string("DTSTART;TZID=Europe/Berlin:") + form.start;
        const std::string rule = std::string("RRULE:") + form.rule;
        const CalendarImport::Summary summary = import(document({"BEGIN:VEVENT", ("UID:" + uid).c_str(), start.c_str(),
                                                                 "DURATION:PT1H", rule.c_str(), "END:VEVENT"}));
        EXPECT_EQ(summary.series, 1u) << form.rule << (summary.skipped.empty() ? "" : summary.skipped[0].reason);
        const RecurrencePattern* pattern = patternOf(uid);
        ASSERT_TRUE(pattern) << form.rule;
        EXPECT_EQ(pattern->recurrenceType(), form.type) << form.rule;
        EXPECT_EQ(pattern->interval(), form.interval) << form.rule;
        if (form.mask) {
            EXPECT_EQ(pattern->dayOfWeekMask(), form.mask) << form.rule;
        }
        if (form.dayOfMonth) {
            EXPECT_EQ(pattern->dayOfMonth(), form.dayOfMonth) << form.rule;
        }
        if (form.instance) {
            EXPECT_EQ(pattern->instance(), form.instance) << form.rule;
        }
        if (form.month) {
            EXPECT_EQ(pattern->monthOfYear(), form.month) << form.rule;
        }
    }
    // Count and until: the series ends where the rule does.
    EXPECT_EQ(patternOf("form-0")->occurrences(), 10);
    EXPECT_EQ(pim_testing::isoDay(patternOf("form-2")->endDay()), "2026-12-31");
}

TEST_F(CalendarImportTest, WhatTheStoreCannotRepeatBecomesItsOccurrencesInTheWindow)
{
    const CalendarImport::Summary summary = import(document({
        // iCalendar leaves out the months without a 31st; the store would move it to the 30th.
        "BEGIN:VEVENT", "UID:31st", "DTSTART:20260131T090000", "DURATION:PT1H", "RRULE:FREQ=MONTHLY;COUNT=4", "SUMMARY:31st", "END:VEVENT",
        "BEGIN:VEVENT", "UID:hours", "DTSTART:20260301T080000", "DURATION:PT5M", "RRULE:FREQ=HOURLY;INTERVAL=6;COUNT=3", "SUMMARY:Pill", "END:VEVENT",
        "BEGIN:VEVENT", "UID:by-hour", "DTSTART:20260302T080000", "DURATION:PT5M", "RRULE:FREQ=DAILY;BYHOUR=8,20;COUNT=2", "SUMMARY:Drops", "END:VEVENT",
        "BEGIN:VEVENT", "UID:rdate", "DTSTART:20260303T080000", "DURATION:PT1H", "RDATE:20260310T120000", "SUMMARY:Visit", "END:VEVENT",
        // New York's summer time starts three weeks before Berlin's.
        "BEGIN:VEVENT", "UID:ny", "DTSTART;TZID=America/New_York:20260302T090000", "DURATION:PT1H", "RRULE:FREQ=WEEKLY;COUNT=3", "SUMMARY:NY", "END:VEVENT",
        // A weekly series that began 60 years ago: only the window's occurrences.
        "BEGIN:VEVENT", "UID:old", "DTSTART:19660104T070000Z", "DURATION:PT1H", "RRULE:FREQ=WEEKLY", "SUMMARY:Old", "END:VEVENT",
    }));
    EXPECT_EQ(summary.expanded, 6u);
    EXPECT_EQ(summary.series, 0u);
    EXPECT_TRUE(summary.skipped.empty());
    const Found all = everything();
    const auto count = [&](const std::string& subject) {
        return std::count_if(all.begin(), all.end(), [&](const std::string& line) { return line.rfind(subject + " ", 0) == 0; });
    };
    EXPECT_EQ(count("31st"), 4);
    EXPECT_NE(std::find(all.begin(), all.end(), "31st 2026-05-31 09:00 - 2026-05-31 10:00 []"), all.end());
    EXPECT_EQ(count("Pill"), 3);
    EXPECT_EQ(count("Drops"), 2);
    EXPECT_EQ(count("Visit"), 2);
    EXPECT_NE(std::find(all.begin(), all.end(), "NY 2026-03-09 14:00 - 2026-03-09 15:00 []"), all.end());
    EXPECT_EQ(count("Old"), 104); // every Tuesday of 2026 and 2027
    EXPECT_EQ(summary.occurrences, 4u + 3 + 2 + 2 + 3 + 104);
}

TEST_F(CalendarImportTest, AZonedSeriesKeepsItsLocalTimeAcrossSummerTimeAndAUtcOneMoves)
{
    import(document({"BEGIN:VEVENT", "UID:berlin", "DTSTART;TZID=Europe/Berlin:20260302T090000", "DURATION:PT1H",
                     "RRULE:FREQ=WEEKLY;COUNT=6", "SUMMARY:Berlin", "END:VEVENT", "BEGIN:VEVENT", "UID:utc",
                     "DTSTART:20260302T080000Z", "DURATION:PT1H", "RRULE:FREQ=WEEKLY;COUNT=6", "SUMMARY:UTC", "END:VEVENT"}));
    ASSERT_TRUE(patternOf("berlin")); // a series: 9:00 before and after March 29
    EXPECT_EQ(app->getItemsFromUid("utc").size(), 6u); // its occurrences: 9:00, then 10:00
    const Found all = everything();
    EXPECT_NE(std::find(all.begin(), all.end(), "Berlin 2026-04-06 09:00 - 2026-04-06 10:00 []"), all.end());
    EXPECT_NE(std::find(all.begin(), all.end(), "UTC 2026-03-23 09:00 - 2026-03-23 10:00 []"), all.end());
    EXPECT_NE(std::find(all.begin(), all.end(), "UTC 2026-03-30 10:00 - 2026-03-30 11:00 []"), all.end());
}

TEST_F(CalendarImportTest, DeletedAndChangedOccurrencesOfASeries)
{
    const CalendarImport::Summary summary = import(document({
        "BEGIN:VEVENT", "UID:standup", "DTSTART;TZID=Europe/Berlin:20261201T090000", "DURATION:PT15M",
        "RRULE:FREQ=WEEKLY;BYDAY=TU;COUNT=4", "EXDATE;TZID=Europe/Berlin:20261208T090000", "SUMMARY:Standup", "END:VEVENT",
        "BEGIN:VEVENT", "UID:standup", "RECURRENCE-ID;TZID=Europe/Berlin:20261215T090000",
        "DTSTART;TZID=Europe/Berlin:20261216T110000", "DURATION:PT15M", "SUMMARY:Standup moved", "END:VEVENT",
        "BEGIN:VEVENT", "UID:standup", "RECURRENCE-ID;TZID=Europe/Berlin:20261222T090000", "STATUS:CANCELLED",
        "DTSTART;TZID=Europe/Berlin:20261222T090000", "SUMMARY:Standup", "END:VEVENT",
    }));
    EXPECT_EQ(summary.series, 1u);
    EXPECT_EQ(summary.single, 1u);
    EXPECT_EQ(everything(), (Found {"Standup 2026-12-01 09:00 - 2026-12-01 09:15 []",
                                    "Standup moved 2026-12-16 11:00 - 2026-12-16 11:15 []"}));
    EXPECT_EQ(patternOf("standup"), nullptr); // two appointments carry the UID
    EXPECT_EQ(app->getItemsFromUid("standup").size(), 2u);
}

TEST_F(CalendarImportTest, AllDayAndMultiDayEventsEndAtMidnightOfTheirLastDay)
{
    import(document({"BEGIN:VEVENT", "UID:one", "DTSTART;VALUE=DATE:20261224", "SUMMARY:Eve", "END:VEVENT",
                     "BEGIN:VEVENT", "UID:three", "DTSTART;VALUE=DATE:20261224", "DTEND;VALUE=DATE:20261227",
                     "SUMMARY:Holidays", "END:VEVENT", "BEGIN:VEVENT", "UID:trip", "DTSTART:20261228T180000",
                     "DTEND:20261230T120000", "SUMMARY:Trip", "END:VEVENT"}));
    EXPECT_EQ(everything(), (Found {"Eve 2026-12-24 00:00 - 2026-12-24 00:00 []", "Holidays 2026-12-24 00:00 - 2026-12-26 00:00 []",
                                    "Trip 2026-12-28 18:00 - 2026-12-30 12:00 []"}));
    EXPECT_TRUE(app->getItemsFromUid("three").at(0)->allDayEvent());
}

TEST_F(CalendarImportTest, ImportingAgainChangesWhatTheFirstImportBroughtAndDuplicatesNothing)
{
    const std::string first = document({
        "BEGIN:VEVENT", "UID:a", "DTSTART:20261201T090000", "DURATION:PT1H", "SUMMARY:A", "END:VEVENT",
        "BEGIN:VEVENT", "UID:b", "DTSTART:20261202T090000", "DURATION:PT1H", "SUMMARY:B", "END:VEVENT",
        "BEGIN:VEVENT", "UID:c", "DTSTART:20261203T090000", "DURATION:PT5M", "RRULE:FREQ=HOURLY;COUNT=3", "SUMMARY:C", "END:VEVENT",
    });
    const CalendarImport::Summary once = import(first);
    EXPECT_EQ(once.added, 5u);
    const std::uint32_t oidOfA = app->getItemsFromUid("a").at(0)->oid();
    const CalendarImport::Summary twice = import(first);
    EXPECT_EQ(twice.added, 0u);
    EXPECT_EQ(twice.updated, 5u);
    EXPECT_EQ(everything().size(), 5u);

    // The file changed: A moved, B cancelled, C has one hour less.
    const CalendarImport::Summary changed = import(document({
        "BEGIN:VEVENT", "UID:a", "SEQUENCE:1", "DTSTART:20261201T140000", "DURATION:PT1H", "SUMMARY:A later", "END:VEVENT",
        "BEGIN:VEVENT", "UID:b", "SEQUENCE:1", "STATUS:CANCELLED", "DTSTART:20261202T090000", "SUMMARY:B", "END:VEVENT",
        "BEGIN:VEVENT", "UID:c", "DTSTART:20261203T090000", "DURATION:PT5M", "RRULE:FREQ=HOURLY;COUNT=2", "SUMMARY:C", "END:VEVENT",
    }));
    EXPECT_EQ(changed.cancelled, 1u);
    EXPECT_EQ(changed.removed, 2u);
    EXPECT_EQ(everything(), (Found {"A later 2026-12-01 14:00 - 2026-12-01 15:00 []", "C 2026-12-03 09:00 - 2026-12-03 09:05 []",
                                    "C 2026-12-03 10:00 - 2026-12-03 10:05 []"}));
    EXPECT_EQ(app->getItemsFromUid("a").at(0)->oid(), oidOfA); // changed in place: the calendar keeps showing it
}

TEST_F(CalendarImportTest, OfTwoEventsWithOneUidTheLaterVersionIsKeptAndTheOtherReported)
{
    const CalendarImport::Summary summary = import(document({
        "BEGIN:VEVENT", "UID:x", "SEQUENCE:2", "DTSTART:20261201T090000", "SUMMARY:Newest", "END:VEVENT",
        "BEGIN:VEVENT", "UID:x", "SEQUENCE:1", "DTSTART:20261201T100000", "SUMMARY:Older", "END:VEVENT",
        "BEGIN:VEVENT", "UID:y", "DTSTART:20261202T090000", "SUMMARY:First", "END:VEVENT",
        "BEGIN:VEVENT", "UID:y", "DTSTART:20261202T100000", "SUMMARY:Second", "END:VEVENT",
    }));
    EXPECT_EQ(everything(), (Found {"Newest 2026-12-01 09:00 - 2026-12-01 09:00 []", "Second 2026-12-02 10:00 - 2026-12-02 10:00 []"}));
    ASSERT_EQ(summary.skipped.size(), 2u);
    EXPECT_EQ(summary.skipped[0].summary, "Older");
    EXPECT_EQ(summary.skipped[0].reason, "the event on line 4 has the same UID and replaces it");
    EXPECT_EQ(summary.skipped[1].summary, "First");
}

TEST_F(CalendarImportTest, ImportExportImportGivesTheSameAppointments)
{
    const std::string original = document({
        "BEGIN:VEVENT", "UID:weekly", "DTSTART;TZID=Europe/Berlin:20261201T090000", "DURATION:PT15M",
        "RRULE:FREQ=WEEKLY;BYDAY=TU,TH;UNTIL=20270301T000000Z", "EXDATE;TZID=Europe/Berlin:20261203T090000",
        "SUMMARY:Standup", "CATEGORIES:Work,Meeting", "ATTENDEE;CN=Ann:mailto:ann@example.com", "END:VEVENT",
        "BEGIN:VEVENT", "UID:weekly", "RECURRENCE-ID;TZID=Europe/Berlin:20261208T090000",
        "DTSTART;TZID=Europe/Berlin:20261208T113000", "DURATION:PT15M", "SUMMARY:Standup late", "END:VEVENT",
        "BEGIN:VEVENT", "UID:monthly", "DTSTART:20260130T180000", "DURATION:PT2H", "RRULE:FREQ=MONTHLY;BYMONTHDAY=-1", "SUMMARY:Month end", "END:VEVENT",
        "BEGIN:VEVENT", "UID:nth", "DTSTART:20260113T180000", "DURATION:PT2H", "RRULE:FREQ=MONTHLY;BYDAY=MO,TU,WE,TH,FR;BYSETPOS=2;COUNT=12", "SUMMARY:Second workday", "END:VEVENT",
        "BEGIN:VEVENT", "UID:thanks", "DTSTART;VALUE=DATE:20261126", "RRULE:FREQ=YEARLY;BYMONTH=11;BYDAY=4TH", "SUMMARY:Thanksgiving", "END:VEVENT",
        "BEGIN:VEVENT", "UID:leap", "DTSTART;VALUE=DATE:20260228", "RRULE:FREQ=YEARLY;BYMONTH=2;BYMONTHDAY=-1", "SUMMARY:Last of February", "END:VEVENT",
        "BEGIN:VEVENT", "UID:trip", "DTSTART;VALUE=DATE:20261224", "DTEND;VALUE=DATE:20261227", "SUMMARY:Holidays", "LOCATION:Home", "END:VEVENT",
        "BEGIN:VEVENT", "UID:hourly", "DTSTART:20261210T080000Z", "DURATION:PT10M", "RRULE:FREQ=HOURLY;INTERVAL=4;COUNT=3", "SUMMARY:Pill", "END:VEVENT",
    });
    import(original);
    const Found before = everything();
    ASSERT_GT(before.size(), 60u);
    const std::string text = exported();

    // libical reads the export back whole.
    std::string error;
    std::optional<ical::Calendar> reread = ical::Calendar::read(text, error);
    ASSERT_TRUE(reread) << error;
    EXPECT_TRUE(reread->skipped().empty());

    // Into the same store: the same appointments, changed in place.
    const CalendarImport::Summary again = import(text);
    EXPECT_EQ(again.added, 0u);
    EXPECT_EQ(again.removed, 0u);
    EXPECT_EQ(everything(), before);

    // Into a fresh store: the same appointments again, series still series.
    items.reset();
    folder.reset();
    app.reset();
    std::filesystem::remove(device.root() / "pim.db");
    app = Application::create(device.root() / "pim.db");
    ASSERT_TRUE(app->logon());
    items = app->getDefaultFolder(olFolderCalendar)->items();
    const CalendarImport::Summary fresh = import(text);
    EXPECT_EQ(fresh.series, 5u);
    EXPECT_EQ(everything(), before);
}

TEST_F(CalendarImportTest, AStoreThatCannotBeWrittenIsLeftAsItWas)
{
    add(u"Kept", at(2026, 12, 1, 9), at(2026, 12, 1, 10));
    sqlite3* holder = nullptr;
    ASSERT_EQ(sqlite3_open((device.root() / "pim.db").c_str(), &holder), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(holder, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr), SQLITE_OK);
    app.reset();
    app = Application::create(device.root() / "pim.db", Application::Options {std::chrono::milliseconds(100)});
    ASSERT_TRUE(app->logon());
    items = app->getDefaultFolder(olFolderCalendar)->items();
    std::string error;
    const ical::Calendar calendar = *ical::Calendar::read(
        document({"BEGIN:VEVENT", "UID:n", "DTSTART:20261202T090000", "SUMMARY:New", "END:VEVENT"}), error);
    CalendarImport::Summary summary;
    Error failure = Error::None;
    EXPECT_FALSE(CalendarImport(*app, local(2026, 1, 1), local(2027, 1, 1)).run(calendar, summary, &failure));
    EXPECT_EQ(failure, Error::Busy);
    sqlite3_exec(holder, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(holder);
    EXPECT_EQ(everything(), (Found {"Kept 2026-12-01 09:00 - 2026-12-01 10:00 []"}));
}

} // namespace
