// The reminder store and the program's own scheduling, with the device clock frozen at
// 8 December 2026, 9:00 AM.

#include "ReminderTestSupport.h"

#include "reminder/TavrelDismissedList.h"
#include "reminder/TavrelReminderScheduler.h"

namespace {

using namespace reminder_testing;

using ReminderStore = ReminderStoreTest;

TEST_F(ReminderStore, ASnoozeBeforeTheReminderIsDroppedOnTheNextLookupAndALaterOneWins)
{
    Write(Reminder(u"Stale").At(u"12/8/2026 8:30:00 AM").SnoozeUntil(u"12/8/2026 8:00:00 AM"));
    Write(Reminder(u"Later").At(u"12/8/2026 8:30:00 AM").SnoozeUntil(u"12/8/2026 10:00:00 AM"));
    Write(Reminder(u"Equal").At(u"12/8/2026 8:30:00 AM").SnoozeUntil(u"12/8/2026 8:30:00 AM"));
    Write(Reminder(u"Garbled").At(u"12/8/2026 8:30:00 AM").SnoozeUntil(u"soon"));
    CTavrelReminderStore store;

    EXPECT_EQ(store.EffectiveTime(u"Stale"), At(8, 30));
    EXPECT_FALSE(Value(u"Snooze Until", u"Stale")) << "the stale snooze is deleted";
    EXPECT_EQ(store.EffectiveTime(u"Later"), At(10, 0));
    EXPECT_EQ(Value(u"Snooze Until", u"Later"), u"12/8/2026 10:00:00 AM");
    EXPECT_EQ(store.EffectiveTime(u"Equal"), At(8, 30)) << "a snooze that is not earlier stands";
    EXPECT_TRUE(Value(u"Snooze Until", u"Equal"));
    EXPECT_EQ(store.EffectiveTime(u"Garbled"), At(8, 30));
    EXPECT_FALSE(Value(u"Snooze Until", u"Garbled"));
    EXPECT_FALSE(store.EffectiveTime(u"Nobody"));
}

TEST_F(ReminderStore, DueRemindersAreCollectedInStoreOrderWithoutTheDismissedOnes)
{
    Write(Reminder(u"B2").Title(u"Call Bob").Category(u"Call").At(u"12/8/2026 8:59:59 AM"));
    Write(Reminder(u"A7").Title(u"Standup").Category(u"Meeting"));
    Write(Reminder(u"C1").At(u"12/8/2026 9:00:00 AM")); // due only once now has passed it
    Write(Reminder(u"D4").At(u"12/8/2026 7:00:00 AM").SnoozeUntil(u"12/8/2026 9:30:00 AM"));
    Write(Reminder(u"E5"));
    Write(Reminder(u"F6").At(u"12:00:00 AM")); // day zero: no time at all
    {
        CQoRegistry key(HKEY_CURRENT_USER, CTavrelReminderStore::KeyPath, true);
        key.SetString(u"Dismissed", u"X9,E5");
    }
    CTavrelReminderStore store;
    const std::vector<CTavrelDueReminder> due = store.CollectDue(Now());
    ASSERT_EQ(due.size(), 2u);
    EXPECT_EQ(due[0].m_id, u"A7");
    EXPECT_EQ(due[0].m_title, u"Standup");
    EXPECT_EQ(due[0].m_category, u"Meeting");
    EXPECT_EQ(due[0].m_start, At(8, 30));
    EXPECT_EQ(due[0].m_end, At(9, 30));
    EXPECT_EQ(due[0].m_due, At(8, 30));
    EXPECT_EQ(due[1].m_id, u"B2");
    EXPECT_EQ(due[1].FirstLine(), u"Call  12/8/2026 8:30 AM") << "the seconds cut from the start";
    EXPECT_EQ(due[1].SecondLine(), u"Call Bob");
}

TEST_F(ReminderStore, AReminderWithoutAReadableTimeIsNeitherDueNorScheduled)
{
    Write(Reminder(u"Missing").At(std::nullopt));
    Write(Reminder(u"Words").At(u"when the cows come home"));
    Write(Reminder(u"Snoozed").At(std::nullopt).SnoozeUntil(u"12/8/2026 8:00:00 AM"));
    CTavrelReminderStore store;
    EXPECT_TRUE(store.CollectDue(Now()).empty());
    EXPECT_FALSE(store.EffectiveTime(u"Snoozed"));
    EXPECT_EQ(Value(u"Snooze Until", u"Snoozed"), u"12/8/2026 8:00:00 AM") << "nothing to compare the snooze with";

    ASSERT_TRUE(scheduler::runAppAtTime(ReminderProgram, testing_support::localTime(2026, 12, 8, 12, 0)));
    CTavrelReminderScheduler scheduler(store, ReminderProgram);
    EXPECT_TRUE(scheduler.ScheduleNextRun(Now()));
    EXPECT_EQ(PendingStart(), "none") << "the pending start is cancelled";
    EXPECT_FALSE(Value(u"Next Reminder"));
}

TEST_F(ReminderStore, StartsAndEndsThatAreNoDatesAreShownAsStored)
{
    Write(Reminder(u"A7").Category(u"").Start(u"after lunch").End(u"???"));
    CTavrelReminderStore store;
    const std::vector<CTavrelDueReminder> due = store.CollectDue(Now());
    ASSERT_EQ(due.size(), 1u);
    EXPECT_FALSE(due[0].m_start);
    EXPECT_EQ(due[0].FirstLine(), u"after lunch") << "no category, no blanks";
}

TEST_F(ReminderStore, TheNextRunIsTheEarliestReminderWithinFourteenDays)
{
    Write(Reminder(u"Far").At(u"12/23/2026 9:00:00 AM")); // 15 days ahead
    CTavrelReminderStore store;
    CTavrelReminderScheduler scheduler(store, ReminderProgram);
    {
        CQoRegistry key(HKEY_CURRENT_USER, CTavrelReminderStore::KeyPath, true);
        key.SetString(u"Next Reminder", u"12/1/2026 9:00:00 AM");
    }
    EXPECT_TRUE(scheduler.ScheduleNextRun(Now()));
    EXPECT_EQ(PendingStart(), "none");
    EXPECT_FALSE(Value(u"Next Reminder")) << "deleted, and nothing to write";

    Write(Reminder(u"Two").At(u"12/10/2026 9:00:00 AM"));
    Write(Reminder(u"One").At(u"12/9/2026 7:00:00 AM").SnoozeUntil(u"12/10/2026 9:00:00 AM"));
    Write(Reminder(u"Three").At(u"12/9/2026 8:00:00 AM"));
    Write(Reminder(u"Gone").At(u"12/8/2026 11:00:00 AM"));
    {
        CQoRegistry key(HKEY_CURRENT_USER, CTavrelReminderStore::KeyPath, true);
        key.SetString(u"Dismissed", u"Gone");
    }
    EXPECT_TRUE(scheduler.ScheduleNextRun(Now()));
    EXPECT_EQ(PendingStart(), "12/9/2026 8:00:00 AM");
    EXPECT_EQ(Value(u"Next Reminder"), u"12/9/2026 8:00:00 AM");

    // A reminder already due (written while the dialog was open) brings the program back at once.
    Write(Reminder(u"Now").At(u"12/8/2026 8:59:00 AM"));
    EXPECT_TRUE(scheduler.ScheduleNextRun(Now()));
    EXPECT_EQ(PendingStart(), "12/8/2026 8:59:00 AM");
}

TEST_F(ReminderStore, TwoRemindersAtTheSameTimeScheduleOneRunThatFindsBothDue)
{
    Write(Reminder(u"Zed").At(u"12/8/2026 10:00:00 AM"));
    Write(Reminder(u"Ann").At(u"12/8/2026 10:00:00 AM"));
    CTavrelReminderStore store;
    CTavrelReminderScheduler scheduler(store, ReminderProgram);
    EXPECT_TRUE(scheduler.ScheduleNextRun(Now()));
    EXPECT_EQ(Value(u"Next Reminder"), u"12/8/2026 10:00:00 AM");
    device::DeviceClock::advanceForTesting(std::chrono::minutes(61));
    EXPECT_EQ(store.CollectDue(Now()).size(), 2u);
}

TEST_F(ReminderStore, ARegistrationThatFailsIsReportedAndNextReminderIsWrittenAllTheSame)
{
    Write(Reminder(u"A7").At(u"12/8/2026 10:00:00 AM"));
    CTavrelReminderStore store;
    CTavrelReminderScheduler scheduler(store, u"\\"); // no program the service can start
    EXPECT_FALSE(scheduler.ScheduleNextRun(Now()));
    EXPECT_EQ(Value(u"Next Reminder"), u"12/8/2026 10:00:00 AM");
}

TEST_F(ReminderStore, DismissingAppendsToTheListAndDeletesTheReminderWithEverythingBelowIt)
{
    Write(Reminder(u"A7"));
    Write(Reminder(u"B2"));
    {
        CQoRegistry notes(
            HKEY_CURRENT_USER, (std::u16string(CTavrelReminderStore::KeyPath) + u"\\A7\\Notes").c_str(), true);
        notes.SetString(u"Text", u"bring slides");
    }
    CTavrelReminderStore store;
    EXPECT_TRUE(store.Dismiss(u"A7"));
    EXPECT_EQ(Value(u"Dismissed"), u"A7");
    EXPECT_FALSE(Exists(u"A7"));
    EXPECT_TRUE(store.Dismiss(u"B2"));
    EXPECT_EQ(Value(u"Dismissed"), u"A7,B2");

    EXPECT_TRUE(store.IsDismissed(u"A7"));
    EXPECT_TRUE(store.IsDismissed(u"b2")) << "identifiers are key names: letter case does not count";
    EXPECT_FALSE(store.IsDismissed(u"A"));
    EXPECT_FALSE(store.IsDismissed(u"7"));
    EXPECT_FALSE(store.IsDismissed(u"A7,"));

    // Written again under a dismissed identifier, a reminder is never shown again.
    Write(Reminder(u"A7"));
    EXPECT_TRUE(store.CollectDue(Now()).empty());
}

TEST(DismissedList, ContainmentIsTheJoinedTextsAlsoForThousandsOfIdentifiersAndOddOnes)
{
    std::u16string text;
    for (int i = 0; i < 5000; ++i)
        text += (i ? u"," : u"") + device::fromUtf8("ACT" + std::to_string(i));
    const CTavrelDismissedList list(CQoString(text.c_str()));
    for (int i = 0; i < 5000; i += 7)
        EXPECT_TRUE(list.Contains(device::fromUtf8("act" + std::to_string(i)).c_str())) << i;
    EXPECT_FALSE(list.Contains(u"ACT5000"));
    EXPECT_FALSE(list.Contains(u"ACT"));
    EXPECT_FALSE(list.Contains(u"CT1"));
    // An identifier with a comma is contained when the joined text holds it.
    EXPECT_TRUE(list.Contains(u"ACT1,ACT2"));
    EXPECT_FALSE(list.Contains(u"ACT2,ACT1"));

    CTavrelDismissedList empty {CQoString()};
    EXPECT_FALSE(empty.Contains(u"A"));
    empty.Append(u"A7");
    EXPECT_EQ(empty.Text(), u"A7");
    empty.Append(u"B2");
    EXPECT_EQ(empty.Text(), u"A7,B2");
    EXPECT_TRUE(empty.Contains(u"B2"));
    EXPECT_FALSE(empty.Contains(u"")) << "the empty list held an empty item, the list of two does not";
}

} // namespace
