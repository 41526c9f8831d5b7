// New appointments of the day menu's built-in items: where they start (the held hour, the first
// free hour of the working day, the clock's hour), how long they last, and what the store holds
// once they are made.

#include "data/TavrelNewAppointment.h"
#include "data/TavrelAppointmentMaker.h"
#include "data/TavrelFreeHour.h"
#include "data/TavrelNewCommands.h"
#include "platform/pim/Application.h"
#include "platform/pim/AppointmentEditor.h"

#include "TempDevice.h"

#include <gtest/gtest.h>

namespace {

using device::OleDateTime;

CTavrelEvent Event(const OleDateTime& start, const OleDateTime& end, std::int32_t oid)
{
    return CTavrelEvent(start, end, oid, u"Busy", u"");
}

// A Wednesday.
const OleDateTime HeldDay(2026, 12, 9, 0, 0, 0);
const OleDateTime Now(2026, 12, 8, 15, 45, 0);

OleDateTime At(int hour, int minute = 0) { return OleDateTime(2026, 12, 9, hour, minute, 0); }

std::optional<CTavrelNewAppointment> Make(int id, const OleDateTime& held, const CTavrelEvents& shown)
{
    CTavrelFreeHour freeHours(shown, 9, 17);
    return CTavrelNewAppointment::ForCommand(id, held, freeHours, Now);
}

TEST(TavrelNewAppointment, AHeldDayGoesToTheFirstFreeHourOfTheWorkingDay)
{
    CTavrelEvents shown(u"202612");
    shown.AddEvent(Event(At(9), At(10), 1));
    shown.AddEvent(Event(At(10), At(11), 2));
    std::optional<CTavrelNewAppointment> made = Make(ID_NEW_APPOINTMENT, HeldDay, shown);
    ASSERT_TRUE(made);
    // The event ending exactly at 11:00 leaves the hour from 11:00 free.
    EXPECT_EQ(made->start, At(11));
    EXPECT_EQ(made->end, At(12));
    EXPECT_EQ(made->subject, CQoString(u"New Appointment"));
    EXPECT_FALSE(made->fromTemplate);
    EXPECT_EQ(made->recurrence, CTavrelNewAppointment::Recurrence::None);

    // Events of other days, and an all-day event of the day itself, take no hour.
    CTavrelEvents others(u"202612");
    others.AddEvent(Event(OleDateTime(2026, 12, 8, 9, 0, 0), OleDateTime(2026, 12, 8, 17, 0, 0), 3));
    others.AddEvent(Event(HeldDay, HeldDay, 4));
    EXPECT_EQ(Make(ID_NEW_APPOINTMENT, HeldDay, others)->start, At(9));

    // An event running into the day from the day before takes the hours it covers.
    CTavrelEvents overnight(u"202612");
    overnight.AddEvent(Event(OleDateTime(2026, 12, 8, 22, 0, 0), At(9, 30), 5));
    EXPECT_EQ(Make(ID_NEW_APPOINTMENT, HeldDay, overnight)->start, At(10));
}

TEST(TavrelNewAppointment, AFullWorkingDayStartsAtItsFirstHour)
{
    CTavrelEvents shown(u"202612");
    for (int hour = 9; hour < 17; ++hour)
        shown.AddEvent(Event(At(hour), At(hour + 1), hour));
    EXPECT_EQ(Make(ID_NEW_APPOINTMENT, HeldDay, shown)->start, At(9));

    CTavrelFreeHour freeHours(shown, 9, 17);
    EXPECT_EQ(freeHours.Find(HeldDay, 17), 17) << "a first hour at or past the workday's end is kept";
    EXPECT_EQ(freeHours.Find(HeldDay, 12), 12);
    // Settings hold whatever the registry holds: hours stay within the day.
    CTavrelFreeHour odd(CTavrelEvents(u"202612"), 30, 99);
    EXPECT_EQ(odd.Find(HeldDay), 23);
}

TEST(TavrelNewAppointment, AHeldHourIsKeptAndTheRecurringItemsTakeTheClocksHourOnAHeldDay)
{
    CTavrelEvents shown(u"202612");
    shown.AddEvent(Event(At(14), At(15), 1));
    // The day view's hour is taken as it is, even when busy.
    EXPECT_EQ(Make(ID_NEW_APPOINTMENT, At(14), shown)->start, At(14));

    std::optional<CTavrelNewAppointment> weekly = Make(ID_NEW_WEEKLY_APPOINTMENT, HeldDay, shown);
    ASSERT_TRUE(weekly);
    EXPECT_EQ(weekly->start, At(15)) << "the clock says 3:45 PM";
    EXPECT_EQ(weekly->end, At(16));
    EXPECT_EQ(weekly->recurrence, CTavrelNewAppointment::Recurrence::Weekly);
    EXPECT_EQ(Make(ID_NEW_MONTHLY_APPOINTMENT, At(8), shown)->start, At(8));
    EXPECT_EQ(Make(ID_NEW_MONTHLY_APPOINTMENT, At(8), shown)->recurrence, CTavrelNewAppointment::Recurrence::Monthly);
    EXPECT_EQ(Make(ID_NEW_YEARLY_APPOINTMENT, At(8), shown)->recurrence, CTavrelNewAppointment::Recurrence::Yearly);

    // "All Day Appointment" covers the held day, also when an hour was held.
    std::optional<CTavrelNewAppointment> allDay = Make(ID_NEW_ALL_DAY_APPOINTMENT, At(14), shown);
    ASSERT_TRUE(allDay);
    EXPECT_EQ(allDay->start, HeldDay);
    EXPECT_EQ(allDay->end, HeldDay);
    EXPECT_TRUE(allDay->IsAllDay());
    EXPECT_FALSE(Make(ID_NEW_APPOINTMENT, At(14), shown)->IsAllDay());

    // Ids of no built-in item, and a held date that is no date, make nothing.
    EXPECT_FALSE(Make(ID_NEW_CUSTOMIZE, HeldDay, shown));
    EXPECT_FALSE(Make(ID_NEW_APPOINTMENT + 5, HeldDay, shown));
    OleDateTime invalid;
    invalid.SetStatus(device::DateTimeStatus::Invalid);
    EXPECT_FALSE(Make(ID_NEW_APPOINTMENT, invalid, shown));
}

// An appointment editor that only counts what it was asked to show.
class CountingEditor : public pim::AppointmentEditor {
public:
    bool edit(pim::Appointment& appointment) override
    {
        shown.push_back(appointment.oid());
        return true;
    }
    std::vector<std::uint32_t> shown;
};

class TavrelAppointmentMakerTest : public ::testing::Test {
protected:
    TavrelAppointmentMakerTest()
    {
        store = pim::Application::create();
        EXPECT_TRUE(store && store->logon());
        previous = pim::AppointmentEditor::install(editor);
    }
    ~TavrelAppointmentMakerTest() override { pim::AppointmentEditor::install(previous); }

    testing_support::TempDevice device;
    std::unique_ptr<pim::Application> store;
    std::shared_ptr<CountingEditor> editor = std::make_shared<CountingEditor>();
    std::shared_ptr<pim::AppointmentEditor> previous;
};

TEST_F(TavrelAppointmentMakerTest, AWeeklyAppointmentOnAWednesdayRepeatsOnBitEightWithoutEndAndOpensInTheEditor)
{
    CTavrelNewAppointment weekly;
    weekly.start = At(15);
    weekly.end = At(16);
    weekly.recurrence = CTavrelNewAppointment::Recurrence::Weekly;
    CTavrelAppointmentMaker maker(*store);
    CQoString why;
    ASSERT_TRUE(maker.Add(weekly, &why)) << device::toUtf8(why.View());
    ASSERT_NE(maker.GetLastOid(), 0u);
    EXPECT_EQ(editor->shown, std::vector<std::uint32_t>{maker.GetLastOid()});

    std::unique_ptr<pim::Appointment> saved = store->getItemFromOid(maker.GetLastOid());
    ASSERT_TRUE(saved);
    EXPECT_EQ(device::toUtf8(saved->subject()), "New Appointment");
    EXPECT_EQ(saved->start(), At(15));
    EXPECT_EQ(saved->end(), At(16));
    EXPECT_FALSE(saved->allDayEvent());
    const pim::RecurrencePattern* pattern = saved->recurrencePattern();
    ASSERT_TRUE(pattern);
    EXPECT_EQ(pattern->recurrenceType(), pim::olRecursWeekly);
    EXPECT_EQ(pattern->dayOfWeekMask(), 8);
    EXPECT_TRUE(pattern->noEndDate());
}

TEST_F(TavrelAppointmentMakerTest, MonthlyAndYearlyRepeatOnTheStartsDayAndMonthAndTemplatesAreNotOpened)
{
    CTavrelAppointmentMaker maker(*store);
    CTavrelNewAppointment monthly;
    monthly.subject = u"Rent";
    monthly.start = OleDateTime(2026, 1, 31, 9, 0, 0);
    monthly.end = OleDateTime(2026, 1, 31, 10, 0, 0);
    monthly.recurrence = CTavrelNewAppointment::Recurrence::Monthly;
    monthly.fromTemplate = true;
    ASSERT_TRUE(maker.Add(monthly));
    std::unique_ptr<pim::Appointment> rent = store->getItemFromOid(maker.GetLastOid());
    ASSERT_TRUE(rent && rent->recurrencePattern());
    EXPECT_EQ(rent->recurrencePattern()->recurrenceType(), pim::olRecursMonthly);
    EXPECT_EQ(rent->recurrencePattern()->dayOfMonth(), 31);

    CTavrelNewAppointment yearly;
    yearly.subject = u"Birthday";
    yearly.start = yearly.end = OleDateTime(2026, 2, 14, 0, 0, 0);
    yearly.recurrence = CTavrelNewAppointment::Recurrence::Yearly;
    yearly.fromTemplate = true;
    ASSERT_TRUE(maker.Add(yearly));
    std::unique_ptr<pim::Appointment> birthday = store->getItemFromOid(maker.GetLastOid());
    ASSERT_TRUE(birthday && birthday->recurrencePattern());
    EXPECT_EQ(birthday->recurrencePattern()->recurrenceType(), pim::olRecursYearly);
    EXPECT_EQ(birthday->recurrencePattern()->monthOfYear(), 2);
    EXPECT_EQ(birthday->recurrencePattern()->dayOfMonth(), 14);
    EXPECT_TRUE(birthday->allDayEvent()) << "start and end at midnight";
    EXPECT_TRUE(editor->shown.empty()) << "made from templates: not opened";
}

TEST_F(TavrelAppointmentMakerTest, AStoreThatRefusesTheSaveLeavesNothingAndSaysWhy)
{
    CTavrelAppointmentMaker maker(*store);
    CTavrelNewAppointment backwards;
    backwards.start = At(15);
    backwards.end = At(14);
    CQoString why;
    EXPECT_FALSE(maker.Add(backwards, &why));
    EXPECT_EQ(maker.GetLastOid(), 0u);
    EXPECT_NE(why.Find(u"cannot be saved"), -1) << device::toUtf8(why.View());
    EXPECT_FALSE(store->getDefaultFolder(pim::olFolderCalendar)->items()->find(u""));

    // Without an editor the appointment is still saved: the user finds it in the calendar.
    pim::AppointmentEditor::install(nullptr);
    CTavrelNewAppointment plain;
    plain.start = At(15);
    plain.end = At(16);
    EXPECT_FALSE(maker.Add(plain, &why));
    EXPECT_NE(why.Find(u"cannot be opened"), -1) << device::toUtf8(why.View());
    EXPECT_TRUE(store->getItemFromOid(maker.GetLastOid()));
}

} // namespace
