#include "ReaderTestSupport.h"

#include "data/TavrelRegisteredCalendar.h"
#include "platform/sqlite/Connection.h"

#include <gtest/gtest.h>

#include <thread>

namespace {

using device::OleDateTime;
using reader_test::Appointment;
using reader_test::ReaderWorld;
using Names = std::vector<std::u16string>;
using Result = CTavrelReader::PassResult;

OleDateTime at(int y, int m, int d, int h = 0, int mi = 0)
{
    return OleDateTime(y, m, d, h, mi, 0);
}

// A calendar attached from an address, as far as the reader cares: its own kind name.
class AttachedCalendar : public CTavrelRegisteredCalendar {
public:
    using CTavrelRegisteredCalendar::CTavrelRegisteredCalendar;
    CQoString GetTypeName() const override { return u"Remote"; }
    bool HasOwnAppearance() const override { return true; }
    std::unique_ptr<CTavrelCalendar> Clone() const override { return std::make_unique<AttachedCalendar>(*this); }
};

CTavrelEvent activity(const char16_t* id, const OleDateTime& start, const OleDateTime& end, const char16_t* name)
{
    return CTavrelEvent(start, end, CQoString(id), name, u"");
}

class TavrelReaderTest : public ::testing::Test {
protected:
    ReaderWorld world;

    const CTavrelEvent* WindowEvent(const char16_t* name)
    {
        for (CTavrelEvent* e = world.data->GetWindowEvents().FindFirst(at(100, 1, 1), at(9999, 12, 31)); e;
             e = world.data->GetWindowEvents().FindNext(at(100, 1, 1), at(9999, 12, 31))) {
            if (e->GetName().View() == name)
                return e;
        }
        return nullptr;
    }
};

TEST_F(TavrelReaderTest, PersonalPassReadsThePeriodWithRuleIconsThenPostsAndWaitsFiveSeconds)
{
    const std::uint32_t meeting = world.Add({u"Team Meeting", at(2026, 3, 10, 9), at(2026, 3, 10, 10)});
    world.Add({u"Dentist", at(2026, 3, 12, 14), at(2026, 3, 12, 15)});
    world.Add({u"Easter", at(2026, 3, 31), at(2026, 4, 1), u"Personal, Holiday"});
    world.Add({u"Workshop", at(2026, 3, 20, 9), at(2026, 3, 20, 17), u"", 4});
    world.Add({u"Next month", at(2026, 4, 2, 9), at(2026, 4, 2, 10)});
    world.Add({u"Last month, running in", at(2026, 2, 28, 22), at(2026, 3, 1, 1)});

    EXPECT_EQ(world.Reader().RunPass(), Result::Posted);
    EXPECT_EQ(world.WindowNames(), (Names{u"Last month, running in", u"Team Meeting", u"Dentist", u"Workshop", u"Easter"}));
    const CTavrelEvent* event = WindowEvent(u"Team Meeting");
    ASSERT_NE(event, nullptr);
    EXPECT_EQ(event->GetOID(), std::int32_t(meeting));
    EXPECT_EQ(event->GetIcon().View(), u"meeting.gif");
    EXPECT_EQ(event->GetClass().View(), u"202603");
    EXPECT_EQ(WindowEvent(u"Easter")->GetIcon().View(), u"holiday.gif");
    EXPECT_EQ(WindowEvent(u"Workshop")->GetIcon().View(), u"crowd.gif");
    EXPECT_TRUE(WindowEvent(u"Dentist")->GetIcon().IsEmpty()); // drawn with the built-in icon

    EXPECT_EQ(world.window.posts, 1);
    EXPECT_EQ(world.sleeper->sleeps, 50);
    EXPECT_EQ(world.sleeper->total, std::chrono::milliseconds(5000));
}

TEST_F(TavrelReaderTest, UnmatchedAppointmentsAreLeftOutWhenDefaultIconsAreOff)
{
    world.Add({u"Team Meeting", at(2026, 3, 10, 9), at(2026, 3, 10, 10)});
    world.Add({u"Dentist", at(2026, 3, 12, 14), at(2026, 3, 12, 15)});
    ASSERT_TRUE(world.settings->SetDisplayDefaultIcons(false));
    world.Reader().RunPass();
    EXPECT_EQ(world.WindowNames(), (Names{u"Team Meeting"}));
    ASSERT_TRUE(world.settings->SetDisplayDefaultIcons(true));
    world.Reader().RunPass();
    EXPECT_EQ(world.WindowNames(), (Names{u"Team Meeting", u"Dentist"}));
}

TEST_F(TavrelReaderTest, DailyRecurrenceShowsOncePerDayOfTheWeek)
{
    world.Add({u"Stand-up", at(2026, 2, 20, 9), at(2026, 2, 20, 9, 15), u"", 0, pim::olRecursDaily});
    world.window.mode = CTavrelReaderView::Weekly;
    world.window.SetDate(at(2026, 3, 4, 12)); // the week of Sunday 1 March
    world.Reader().RunPass();
    std::vector<int> days;
    world.data->GetWindowEventsSnapshot().ForEach([&](const CTavrelEvent& e) { days.push_back(e.GetStart().GetDay()); });
    EXPECT_EQ(days, (std::vector<int>{1, 2, 3, 4, 5, 6, 7}));
}

TEST_F(TavrelReaderTest, CombinedRenamesRegisteredActivitiesAndMergesRemoteCategories)
{
    world.Add({u"Dentist", at(2026, 3, 12, 14), at(2026, 3, 12, 15)});
    {
        CTavrelRegisteredCalendar projects(u"Projects");
        CTavrelEvents& work = projects.AddCategory(u"Work", true);
        work.AddEvent(activity(u"1", at(2026, 3, 2, 9), at(2026, 3, 2, 10), u"Meeting"));
        work.AddEvent(activity(u"2", at(2026, 5, 2, 9), at(2026, 5, 2, 10), u"Later"));
        projects.AddCategory(u"Hidden", false).AddEvent(activity(u"3", at(2026, 3, 3, 9), at(2026, 3, 3, 10), u"Secret"));
        world.data->AddRegisteredCalendar(projects);

        AttachedCalendar football(u"Football");
        CTavrelEvents& games = football.AddCategory(u"Games", true);
        games.AddEvent(CTavrelEvent(at(2026, 3, 8, 15), at(2026, 3, 8, 17), CQoString(), u"Derby", u""));
        games.AddEvent(CTavrelEvent(at(2026, 6, 8, 15), at(2026, 6, 8, 17), CQoString(), u"Final", u""));
        football.AddCategory(u"Youth", false)
            .AddEvent(CTavrelEvent(at(2026, 3, 9, 15), at(2026, 3, 9, 17), CQoString(), u"Junior game", u""));
        world.data->AddRemoteCalendar(football);
    }
    world.data->SetCurrentCalendarName(u"<combined>");

    EXPECT_EQ(world.Reader().RunPass(), Result::Posted);
    // Remote categories are merged whole; only the period's events carry the calendar's name.
    EXPECT_EQ(world.WindowNames(), (Names{u"Meeting (Projects)", u"Derby (Football)", u"Dentist", u"Final"}));
    EXPECT_EQ(WindowEvent(u"Meeting (Projects)")->GetIcon().View(), u"meeting.gif");
    EXPECT_EQ(WindowEvent(u"Meeting (Projects)")->GetID().View(), u"1");
    // The registered calendar itself keeps its names.
    EXPECT_NE(world.data->FindCalendar(u"Projects")->FindEventByID(u"1"), nullptr);
    EXPECT_EQ(world.data->FindCalendar(u"Projects")->FindEventByID(u"1")->GetName().View(), u"Meeting");
    EXPECT_EQ(world.sleeper->sleeps, 50);
}

TEST_F(TavrelReaderTest, NamedCalendarShowsItsVisibleCategoriesOnlyAndWaitsOneSecond)
{
    world.Add({u"Dentist", at(2026, 3, 12, 14), at(2026, 3, 12, 15)});
    CTavrelRegisteredCalendar projects(u"Projects");
    CTavrelEvents& work = projects.AddCategory(u"Work", true);
    work.AddEvent(activity(u"1", at(2026, 3, 2, 9), at(2026, 3, 2, 10), u"Meeting"));
    work.AddEvent(activity(u"2", at(2026, 3, 2, 9), at(2026, 3, 2, 10), u"Review")); // same start: both stay
    work.AddEvent(activity(u"3", at(2026, 4, 1, 9), at(2026, 4, 1, 10), u"April"));
    projects.AddCategory(u"Hidden", false).AddEvent(activity(u"4", at(2026, 3, 3, 9), at(2026, 3, 3, 10), u"Secret"));
    world.data->AddRegisteredCalendar(projects);
    world.data->SetCurrentCalendarName(u"Projects");

    EXPECT_EQ(world.Reader().RunPass(), Result::Posted);
    // Each copy goes before the events that start with it, so the category's order turns round.
    EXPECT_EQ(world.WindowNames(), (Names{u"Meeting", u"Review"}));
    EXPECT_EQ(world.Reader().GetLastStoreCount(), 0); // the store is not read for a named calendar
    // The chosen icon is kept on the calendar's own event too.
    EXPECT_EQ(world.data->FindCalendar(u"projects")->FindEventByID(u"1")->GetIcon().View(), u"meeting.gif");
    EXPECT_EQ(world.sleeper->sleeps, 10);
}

TEST_F(TavrelReaderTest, ADateChangeDuringThePassMeansNoPostAndNoWait)
{
    world.Add({u"Dentist", at(2026, 3, 12, 14), at(2026, 3, 12, 15)});
    world.window.onGetDate = [](reader_test::StandInWindow& view) {
        if (view.dateReads == 2) // the check after the rebuild sees the user's new date
            view.SetDate(at(2026, 4, 1));
    };
    EXPECT_EQ(world.Reader().RunPass(), Result::DateChanged);
    EXPECT_EQ(world.window.posts, 0);
    EXPECT_EQ(world.sleeper->sleeps, 0);

    world.window.onGetDate = nullptr;
    EXPECT_EQ(world.Reader().RunPass(), Result::Posted);
    EXPECT_EQ(world.data->GetWindowEventsSnapshot().GetName().View(), u"202604");
}

TEST_F(TavrelReaderTest, TheRefreshFlagEndsTheWaitAndSkipsAStoreReadUnderWay)
{
    world.Add({u"Dentist", at(2026, 3, 12, 14), at(2026, 3, 12, 15)});
    world.sleeper->onSleep = [this](int number) {
        if (number == 3)
            world.data->RequestRefresh();
    };
    EXPECT_EQ(world.Reader().RunPass(), Result::Posted);
    EXPECT_EQ(world.sleeper->sleeps, 3);
    world.sleeper->onSleep = nullptr;

    // A change arriving while the pass reads the view's date: the pass skips the store, posts,
    // and ends its wait at once, so the next pass follows straight away.
    world.window.onGetDate = [this](reader_test::StandInWindow& view) {
        if (view.dateReads == 1)
            world.data->RequestRefresh();
    };
    world.window.dateReads = 0;
    world.sleeper->sleeps = 0;
    EXPECT_EQ(world.Reader().RunPass(), Result::Posted);
    EXPECT_TRUE(world.WindowNames().empty());
    EXPECT_EQ(world.sleeper->sleeps, 0);
    EXPECT_TRUE(world.data->IsRefreshRequested());

    world.window.onGetDate = nullptr;
    world.Reader().RunPass(); // the flag is cleared as the pass begins
    EXPECT_EQ(world.WindowNames(), (Names{u"Dentist"}));
}

TEST_F(TavrelReaderTest, WithoutAFrameOrViewTheReaderSleepsASecondAndTouchesNothing)
{
    world.data->GetWindowEvents().AddEvent(activity(u"1", at(2026, 3, 2, 9), at(2026, 3, 2, 10), u"old"));
    world.window.hasView = false;
    EXPECT_EQ(world.Reader().RunPass(), Result::NoView);
    EXPECT_EQ(world.sleeper->sleeps, 10);
    world.data->GetMainWindowLink().Set(nullptr);
    EXPECT_EQ(world.Reader().RunPass(), Result::NoView);
    EXPECT_EQ(world.WindowNames(), (Names{u"old"}));

    // A stop request cuts the sleep short.
    world.sleeper->sleeps = 0;
    world.data->RequestReaderStop();
    EXPECT_EQ(world.Reader().RunPass(), Result::Stopped);
    EXPECT_EQ(world.sleeper->sleeps, 0);
}

TEST_F(TavrelReaderTest, StopFlagEndsTheStoreReadEarly)
{
    for (int day = 1; day <= 5; ++day)
        world.Add({u"Dentist", at(2026, 3, day, 14), at(2026, 3, day, 15)});
    world.window.onGetDate = [this](reader_test::StandInWindow& view) {
        if (view.dateReads == 1)
            world.data->RequestReaderStop();
    };
    EXPECT_EQ(world.Reader().RunPass(), Result::Stopped);
    EXPECT_EQ(world.Reader().GetLastStoreCount(), 0);
    EXPECT_EQ(world.window.posts, 0);
}

// --- Locks -------------------------------------------------------------------------------------

class LockOrderRecorder {
public:
    LockOrderRecorder()
    {
        CTavrelOrderedLock::SetViolationHandler([this](const CTavrelOrderedLock& held, const CTavrelOrderedLock& wanted) {
            std::lock_guard guard(m_mutex);
            violations.push_back(std::u16string(wanted.GetName()) + u" after " + held.GetName());
        });
    }
    ~LockOrderRecorder() { CTavrelOrderedLock::SetViolationHandler(nullptr); }
    std::mutex m_mutex;
    std::vector<std::u16string> violations;
};

TEST_F(TavrelReaderTest, EveryKindOfPassTakesTheLocksInOrder)
{
    LockOrderRecorder recorder;
    world.Add({u"Team Meeting", at(2026, 3, 10, 9), at(2026, 3, 10, 10)});
    CTavrelRegisteredCalendar projects(u"Projects");
    projects.AddCategory(u"Work", true).AddEvent(activity(u"1", at(2026, 3, 2, 9), at(2026, 3, 2, 10), u"Meeting"));
    world.data->AddRegisteredCalendar(projects);
    for (const char16_t* calendar : {u"<Personal>", u"<Combined>", u"Projects"}) {
        world.data->SetCurrentCalendarName(calendar);
        EXPECT_EQ(world.Reader().RunPass(), Result::Posted);
    }
    EXPECT_TRUE(recorder.violations.empty());
    EXPECT_FALSE(world.data->GetEventLock().IsHeldByCurrentThread());
    EXPECT_FALSE(world.data->GetCalendarListLock().IsHeldByCurrentThread());
}

// The view must never see a half-built window collection, and the reader must not walk a
// registered calendar that the user-interface thread is changing: a pass waits for each lock.
TEST_F(TavrelReaderTest, APassWaitsForTheEventLockAndTheCalendarListLock)
{
    world.Add({u"Dentist", at(2026, 3, 12, 14), at(2026, 3, 12, 15)});
    for (CTavrelOrderedLock* lock : {&world.data->GetEventLock(), &world.data->GetCalendarListLock()}) {
        world.window.posts = 0;
        std::unique_lock held(*lock);
        std::thread pass([&] { world.Reader().RunPass(); });
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        EXPECT_EQ(world.window.posts, 0) << device::toUtf8(lock->GetName());
        held.unlock();
        pass.join();
        EXPECT_EQ(world.window.posts, 1);
    }
}

TEST_F(TavrelReaderTest, APassWritesTheSettingsALockedRegistryDidNotTake)
{
    CTavrelRegisteredCalendar projects(u"Projects");
    projects.AddCategory(u"Work", true).AddEvent(activity(u"1", at(2026, 3, 2, 9), at(2026, 3, 2, 10), u"Meeting"));
    world.data->AddRegisteredCalendar(projects);
    world.data->SetCurrentCalendarName(u"Projects");
    world.settings->GetWriter().SetRetryInterval(std::chrono::milliseconds(0));
    {
        // Another program holds the registry's write lock while the setting is changed.
        sqlite::Error error = sqlite::Error::None;
        const auto other = sqlite::Connection::open(world.device.root() / "registry.db", std::chrono::milliseconds(0), error);
        ASSERT_TRUE(other);
        ASSERT_EQ(other->execute("BEGIN IMMEDIATE"), sqlite::Error::None);
        EXPECT_TRUE(world.settings->SetCurrentCalendar(u"Projects"));
        EXPECT_EQ(world.settings->GetWriter().GetKeptCount(), 1u);
        ASSERT_EQ(other->execute("COMMIT"), sqlite::Error::None);
    }

    // A named calendar's pass uses no setting itself; it still writes what was kept.
    EXPECT_EQ(world.Reader().RunPass(), Result::Posted);
    EXPECT_EQ(world.settings->GetWriter().GetKeptCount(), 0u);
    CQoRegistry main(HKEY_CURRENT_USER, CTavrelSettings::MainKeyPath, false);
    EXPECT_EQ(main.GetString(u"CurrentCalendar", nullptr).View(), u"Projects");
}

} // namespace
