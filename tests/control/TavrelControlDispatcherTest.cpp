#include "control/TavrelControlDispatcher.h"

#include "ControlTestSupport.h"

#include "data/TavrelRegisteredCalendar.h"
#include "protocol/TavrelDatagram.h"

#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <mutex>
#include <thread>

namespace {

using namespace std::chrono_literals;
using control_test::utf8;
using Strings = std::vector<std::string>;

class DispatcherTest : public control_test::ControlFixture {
protected:
    DispatcherTest() : dispatcher(*app, *host, notifier) {}

    void Send(const char16_t* text) { dispatcher.Dispatch(CQoString(text)); }

    void Register(const char16_t* name = u"Projects")
    {
        Send((std::u16string(u"RegisterCalendar:\"") + name + u"\"").c_str());
        notifier.Take();
    }

    CTavrelRegisteredCalendar& Registered()
    {
        return dynamic_cast<CTavrelRegisteredCalendar&>(*app->GetCalendarData().GetRegisteredCalendars().front());
    }

    // "Name@start" of each event of a category, in order.
    Strings Category(const char16_t* name)
    {
        Strings out;
        CTavrelEvents* category = Registered().FindCategory(name);
        if (!category)
            return {"(none)"};
        category->ForEach([&](const CTavrelEvent& event) {
            out.push_back(utf8(event.GetName()) + "@" + device::toUtf8(event.GetStart().Format()));
        });
        return out;
    }

    CTavrelControlDispatcher dispatcher;
};

TEST_F(DispatcherTest, InitializeAnswersWithCalendarViewAndDate)
{
    Send(u"Initialize");
    EXPECT_EQ(notifier.Take(), Strings{"OnInitialized:\"<Personal>\";\"Monthly\";\"3/4/2026\""});
    host->mode = 0;
    host->date = device::OleDateTime(2026, 3, 4, 8, 30, 0); // a view date with a time: the date alone
    Send(u"initialize:");
    EXPECT_EQ(notifier.Take(), Strings{"OnInitialized:\"<Personal>\";\"Daily\";\"3/4/2026\""});
}

TEST_F(DispatcherTest, RegisterCalendarCreatesOneCalendarSelectsItAndAnswersOnce)
{
    Send(u"RegisterCalendar:\"Projects\"");
    EXPECT_EQ(notifier.Take(), (Strings{"OnCalendarChanged:\"Projects\"", "OnCalendarRegistered:\"Projects\""}));
    EXPECT_EQ(host->rebuilds, 1);
    EXPECT_EQ(utf8(app->GetCurrentCalendarName()), "Projects");

    Send(u"RegisterCalendar:\"PROJECTS\"");
    EXPECT_TRUE(notifier.Take().empty());
    EXPECT_EQ(app->GetCalendarData().GetRegisteredCalendars().size(), 1u);
    EXPECT_EQ(host->rebuilds, 1);
}

TEST_F(DispatcherTest, RegisterCalendarRefusesNamesNoOneCouldChoose)
{
    for (const char16_t* text : {u"RegisterCalendar:\"\"", u"RegisterCalendar:\"<personal>\"", u"RegisterCalendar:\"<Combined>\""})
        Send(text);
    EXPECT_TRUE(app->GetCalendarData().GetRegisteredCalendars().empty());
    EXPECT_TRUE(notifier.Take().empty());
    EXPECT_EQ(utf8(app->GetCurrentCalendarName()), "<Personal>");
}

TEST_F(DispatcherTest, ActivityCommandsAndFactoriesNeedARegisteredCalendar)
{
    Send(u"AddActivity:\"1\";\"Work\";\"Meeting\";\"3/4/2026 9:00:00 AM\";\"3/4/2026 10:00:00 AM\";\"\";\"1\";\"0\"");
    Send(u"UpdateActivity:\"1\";\"Work\";\"Meeting\";\"3/4/2026 9:00:00 AM\";\"3/4/2026 10:00:00 AM\";\"\";\"1\";\"0\"");
    Send(u"DeleteActivity:\"1\"");
    Send(u"DeleteAllActivities");
    Send(u"RegisterFactory:\"Task,Call\"");
    const std::string before = "Control application must call RegisterCalendar() before ";
    EXPECT_EQ(host->boxes, (Strings{before + "AddActivity()", before + "AddActivity()", before + "AddActivity()",
                                    before + "AddActivity()", before + "RegisterFactory()"}));
    EXPECT_TRUE(notifier.Take().empty());
}

TEST_F(DispatcherTest, RegisterFactorySetsTheActivityKinds)
{
    Register();
    Send(u"RegisterFactory:\"Task,,Call\"");
    EXPECT_EQ(notifier.Take(), Strings{"OnFactoryRegistered:\"Task,,Call\""});
    EXPECT_EQ(utf8(Registered().GetFactories()), "Task,Call");
}

TEST_F(DispatcherTest, AddActivityAddsAShownCategoryWithTheFlagsAndAnswers)
{
    Register();
    app->GetCalendarData().ClearRefresh();
    Send(u"AddActivity:\"A1\";\"Work\";\"Meeting\";\"3/4/2026 9:00:00 AM\";\"3/4/2026 10:00:00 AM\";\"icon.gif\";\"true\";\"0\"");
    EXPECT_EQ(notifier.Take(), Strings{"OnActivityAdded:\"A1\""});
    EXPECT_TRUE(app->GetCalendarData().IsRefreshRequested());
    CTavrelEvents* work = Registered().FindCategory(u"work");
    ASSERT_NE(work, nullptr);
    EXPECT_TRUE(work->IsVisible());
    CTavrelEvent* event = work->FindByID(u"a1");
    ASSERT_NE(event, nullptr);
    EXPECT_EQ(utf8(event->GetName()), "Meeting");
    EXPECT_EQ(utf8(event->GetClass()), "Work");
    EXPECT_TRUE(event->GetIcon().IsEmpty()); // the rules choose it when shown
    EXPECT_EQ(event->GetOID(), 0);
    EXPECT_TRUE(event->IsChangeable());
    EXPECT_FALSE(event->GetExtraFlag());
    EXPECT_EQ(event->GetEnd(), device::OleDateTime(2026, 3, 4, 10, 0, 0));
}

TEST_F(DispatcherTest, CommandsWithTooFewArgumentsDoNothing)
{
    Register();
    Send(u"AddActivity:\"A1\";\"Work\";\"Meeting\";\"3/4/2026 9:00:00 AM\";\"3/4/2026 10:00:00 AM\";\"\";\"1\"");
    Send(u"ShowCalendar:\"Projects\"");
    Send(u"SetCurrentView");
    Send(u"RegisterCalendar");
    EXPECT_TRUE(notifier.Take().empty());
    EXPECT_TRUE(host->boxes.empty());
    EXPECT_EQ(Registered().FindCategory(u"Work"), nullptr);
    EXPECT_EQ(host->shows, 0);
    EXPECT_TRUE(host->calls.empty());
}

TEST_F(DispatcherTest, AddActivityWithBadTimesTellsTheUserAndAddsNothing)
{
    Register();
    Send(u"AddActivity:\"A1\";\"Work\";\"Meeting\";\"soon\";\"3/4/2026 10:00:00 AM\";\"\";\"1\";\"1\"");
    Send(u"AddActivity:\"A1\";\"Work\";\"Meeting\";\"3/4/2026 9:00:00 AM\";\"13/45/2026\";\"\";\"1\";\"1\"");
    EXPECT_EQ(host->boxes, (Strings{"Error adding external activity 'Meeting' - Invalid Start Time: soon",
                                    "Error adding external activity 'Meeting' - Invalid End Time: 13/45/2026"}));
    EXPECT_TRUE(notifier.Take().empty());
    EXPECT_EQ(Registered().FindCategory(u"Work"), nullptr);
}

TEST_F(DispatcherTest, AddActivityOfAnExistingIdUpdatesIt)
{
    Register();
    Send(u"AddActivity:\"A1\";\"Work\";\"Meeting\";\"3/4/2026 9:00:00 AM\";\"3/4/2026 10:00:00 AM\";\"\";\"1\";\"1\"");
    notifier.Take();
    Send(u"AddActivity:\"a1\";\"WORK\";\"Review\";\"3/4/2026 11:00:00 AM\";\"3/4/2026 12:00:00 PM\";\"\";\"0\";\"1\"");
    EXPECT_EQ(notifier.Take(), Strings{"OnActivityUpdated:\"a1\""});
    EXPECT_EQ(Category(u"Work"), Strings{"Review@3/4/2026 11:00:00 AM"});
    EXPECT_FALSE(Registered().FindEventByID(u"A1")->IsChangeable());
}

TEST_F(DispatcherTest, TwoActivitiesAtTheSameStartAreBothKeptButATrueDuplicateIsNot)
{
    Register();
    Send(u"AddActivity:\"A1\";\"Work\";\"Meeting\";\"3/4/2026 9:00:00 AM\";\"3/4/2026 10:00:00 AM\";\"\";\"1\";\"1\"");
    Send(u"AddActivity:\"A2\";\"Work\";\"Call\";\"3/4/2026 9:00:00 AM\";\"3/4/2026 9:30:00 AM\";\"\";\"1\";\"1\"");
    EXPECT_EQ(notifier.Take(), (Strings{"OnActivityAdded:\"A1\"", "OnActivityAdded:\"A2\""}));
    EXPECT_EQ(Registered().FindCategory(u"Work")->GetCount(), 2);

    // Another ID, but the very same activity: refused, and not confirmed.
    Send(u"AddActivity:\"A3\";\"Work\";\"Meeting\";\"3/4/2026 9:00:00 AM\";\"3/4/2026 10:00:00 AM\";\"\";\"1\";\"1\"");
    EXPECT_TRUE(notifier.Take().empty());
    EXPECT_EQ(Registered().FindCategory(u"Work")->GetCount(), 2);
    EXPECT_EQ(Registered().FindEventByID(u"A3"), nullptr);
}

TEST_F(DispatcherTest, UpdateActivityKeepsTheCategoryInStartOrder)
{
    Register();
    Send(u"AddActivity:\"A1\";\"Work\";\"First\";\"3/4/2026 9:00:00 AM\";\"3/4/2026 10:00:00 AM\";\"\";\"1\";\"1\"");
    Send(u"AddActivity:\"A2\";\"Work\";\"Second\";\"3/4/2026 11:00:00 AM\";\"3/4/2026 12:00:00 PM\";\"\";\"1\";\"1\"");
    notifier.Take();
    app->GetCalendarData().ClearRefresh();
    Send(u"UpdateActivity:\"A1\";\"Work\";\"First\";\"3/4/2026 1:00:00 PM\";\"3/4/2026 2:00:00 PM\";\"\";\"1\";\"1\"");
    EXPECT_EQ(notifier.Take(), Strings{"OnActivityUpdated:\"A1\""});
    EXPECT_TRUE(app->GetCalendarData().IsRefreshRequested());
    EXPECT_EQ(Category(u"Work"), (Strings{"Second@3/4/2026 11:00:00 AM", "First@3/4/2026 1:00:00 PM"}));
    // The window of one day still finds it: the order is what FindFirst/FindNext rely on.
    CTavrelEvents* work = Registered().FindCategory(u"Work");
    CTavrelEvent* found = work->FindFirst(device::OleDateTime(2026, 3, 4, 12, 30, 0), device::OleDateTime(2026, 3, 4, 23, 0, 0));
    ASSERT_NE(found, nullptr);
    EXPECT_EQ(utf8(found->GetName()), "First");
}

TEST_F(DispatcherTest, UpdateActivityMovesItToAnotherCategory)
{
    Register();
    Send(u"AddActivity:\"A1\";\"Work\";\"Meeting\";\"3/4/2026 9:00:00 AM\";\"3/4/2026 10:00:00 AM\";\"\";\"1\";\"1\"");
    notifier.Take();
    Send(u"UpdateActivity:\"A1\";\"Home\";\"Dinner\";\"3/4/2026 7:00:00 PM\";\"3/4/2026 8:00:00 PM\";\"\";\"1\";\"1\"");
    EXPECT_EQ(notifier.Take(), Strings{"OnActivityUpdated:\"A1\""});
    EXPECT_EQ(Category(u"Work"), Strings{});
    EXPECT_EQ(Category(u"Home"), Strings{"Dinner@3/4/2026 7:00:00 PM"});
    EXPECT_TRUE(Registered().FindCategory(u"Home")->IsVisible());
    EXPECT_EQ(utf8(Registered().FindEventByID(u"A1")->GetClass()), "Home");
}

TEST_F(DispatcherTest, UpdateActivityOfAnUnknownIdOnlyAsksForARefresh)
{
    Register();
    app->GetCalendarData().ClearRefresh();
    Send(u"UpdateActivity:\"Z9\";\"Work\";\"Meeting\";\"3/4/2026 9:00:00 AM\";\"3/4/2026 10:00:00 AM\";\"\";\"1\";\"1\"");
    EXPECT_TRUE(notifier.Take().empty());
    EXPECT_TRUE(app->GetCalendarData().IsRefreshRequested());
    EXPECT_EQ(Registered().FindCategory(u"Work"), nullptr);
}

TEST_F(DispatcherTest, UpdateActivityWithATimeThatIsNoneLeavesTheActivityAsItWas)
{
    Register();
    Send(u"AddActivity:\"A1\";\"Work\";\"Meeting\";\"3/4/2026 9:00:00 AM\";\"3/4/2026 10:00:00 AM\";\"\";\"1\";\"1\"");
    notifier.Take();
    Send(u"UpdateActivity:\"A1\";\"Home\";\"Moved\";\"never\";\"3/4/2026 10:00:00 AM\";\"\";\"1\";\"1\"");
    Send(u"UpdateActivity:\"A1\";\"Work\";\"Moved\";\"3/4/2026 9:00:00 AM\";\"\";\"\";\"1\";\"1\"");
    EXPECT_TRUE(notifier.Take().empty());
    EXPECT_EQ(Category(u"Work"), Strings{"Meeting@3/4/2026 9:00:00 AM"});
    EXPECT_EQ(Registered().FindCategory(u"Home"), nullptr);
}

TEST_F(DispatcherTest, UpdateThatWouldDuplicateAnotherActivityIsRefusedAndLosesNothing)
{
    Register();
    Send(u"AddActivity:\"A1\";\"Work\";\"Meeting\";\"3/4/2026 9:00:00 AM\";\"3/4/2026 10:00:00 AM\";\"\";\"1\";\"1\"");
    Send(u"AddActivity:\"A2\";\"Work\";\"Call\";\"3/4/2026 11:00:00 AM\";\"3/4/2026 11:30:00 AM\";\"\";\"1\";\"1\"");
    notifier.Take();
    Send(u"UpdateActivity:\"A2\";\"Work\";\"Meeting\";\"3/4/2026 9:00:00 AM\";\"3/4/2026 10:00:00 AM\";\"\";\"1\";\"1\"");
    EXPECT_TRUE(notifier.Take().empty());
    EXPECT_EQ(Category(u"Work"), (Strings{"Meeting@3/4/2026 9:00:00 AM", "Call@3/4/2026 11:00:00 AM"}));
}

TEST_F(DispatcherTest, AddActivityOfAnIdHeldByAnotherCategoryMovesIt)
{
    Register();
    Send(u"AddActivity:\"A1\";\"Work\";\"Meeting\";\"3/4/2026 9:00:00 AM\";\"3/4/2026 10:00:00 AM\";\"\";\"1\";\"1\"");
    Send(u"AddActivity:\"B1\";\"Home\";\"Dinner\";\"3/4/2026 7:00:00 PM\";\"3/4/2026 8:00:00 PM\";\"\";\"1\";\"1\"");
    notifier.Take();
    // Into a category that exists, and into one that does not: one place only either way.
    Send(u"AddActivity:\"A1\";\"Home\";\"Meeting at home\";\"3/4/2026 9:00:00 AM\";\"3/4/2026 10:00:00 AM\";\"\";\"1\";\"1\"");
    EXPECT_EQ(Category(u"Work"), Strings{});
    EXPECT_EQ(Category(u"Home"), (Strings{"Meeting at home@3/4/2026 9:00:00 AM", "Dinner@3/4/2026 7:00:00 PM"}));
    Send(u"AddActivity:\"B1\";\"Garden\";\"Dinner outside\";\"3/4/2026 7:00:00 PM\";\"3/4/2026 8:00:00 PM\";\"\";\"1\";\"1\"");
    EXPECT_EQ(Category(u"Home"), Strings{"Meeting at home@3/4/2026 9:00:00 AM"});
    EXPECT_EQ(Category(u"Garden"), Strings{"Dinner outside@3/4/2026 7:00:00 PM"});
    EXPECT_EQ(notifier.Take(), (Strings{"OnActivityAdded:\"A1\"", "OnActivityAdded:\"B1\""}));
}

TEST_F(DispatcherTest, DeleteActivityAndDeleteAll)
{
    Register();
    Send(u"AddActivity:\"A1\";\"Work\";\"Meeting\";\"3/4/2026 9:00:00 AM\";\"3/4/2026 10:00:00 AM\";\"\";\"1\";\"1\"");
    Send(u"AddActivity:\"A2\";\"Home\";\"Dinner\";\"3/4/2026 7:00:00 PM\";\"3/4/2026 8:00:00 PM\";\"\";\"1\";\"1\"");
    notifier.Take();
    app->GetCalendarData().ClearRefresh();
    Send(u"DeleteActivity:\"a1\"");
    EXPECT_EQ(notifier.Take(), Strings{"OnActivityDeleted:\"a1\""});
    EXPECT_TRUE(app->GetCalendarData().IsRefreshRequested());
    EXPECT_EQ(Category(u"Work"), Strings{});
    Send(u"DeleteActivity:\"A1\"");
    EXPECT_TRUE(notifier.Take().empty());

    Send(u"DeleteAllActivities");
    EXPECT_EQ(notifier.Take(), Strings{"OnAllActivitiesDeleted"});
    EXPECT_EQ(Category(u"Home"), Strings{});
    EXPECT_EQ(Registered().GetCategories().size(), 2u); // the categories stay
}

TEST_F(DispatcherTest, ActivityCommandsWorkOnTheFirstRegisteredCalendar)
{
    Register(u"Projects");
    Register(u"Errands");
    EXPECT_EQ(utf8(app->GetCurrentCalendarName()), "Errands");
    Send(u"AddActivity:\"A1\";\"Work\";\"Meeting\";\"3/4/2026 9:00:00 AM\";\"3/4/2026 10:00:00 AM\";\"\";\"1\";\"1\"");
    EXPECT_NE(app->FindCalendar(u"Projects")->FindEventByID(u"A1"), nullptr);
    EXPECT_EQ(app->FindCalendar(u"Errands")->FindEventByID(u"A1"), nullptr);
}

TEST_F(DispatcherTest, CalendarViewAndDateCommands)
{
    Register();
    Send(u"SetCurrentCalendar:\"<combined>\"");
    EXPECT_EQ(notifier.Take(), Strings{"OnCalendarChanged:\"<Combined>\""});
    Send(u"SetCurrentCalendar:\"Nobody\"");
    EXPECT_TRUE(notifier.Take().empty());
    EXPECT_EQ(utf8(app->GetCurrentCalendarName()), "<Combined>");

    Send(u"SetCurrentView:\"weekly\"");
    Send(u"SetCurrentView:Weekly");
    Send(u"SetCurrentView:\"Yearly\"");
    EXPECT_EQ(notifier.Take(), Strings{"OnViewChanged:Weekly"});
    EXPECT_EQ(host->calls, (Strings{"mode 1", "mode 1"}));

    Send(u"SetCurrentDate:\"12/25/2026 3:00:00 PM\"");
    Send(u"SetCurrentDate:\"the day after\"");
    EXPECT_EQ(notifier.Take(), Strings{"OnDateChanged:\"12/25/2026\""});
    EXPECT_EQ(host->calls.back(), "date 2026-12-25");
}

TEST_F(DispatcherTest, ShowCalendarSwitchesEverythingAndShowsTheWindow)
{
    Register();
    Send(u"SetCurrentCalendar:\"<Personal>\"");
    notifier.Take();
    Send(u"showcalendar:\"projects\";\"Daily\";\"5/6/2026\"");
    EXPECT_EQ(notifier.Take(),
              (Strings{"OnCalendarChanged:\"Projects\"", "OnViewChanged:Daily", "OnDateChanged:\"5/6/2026\""}));
    EXPECT_EQ(host->shows, 1);

    // An empty calendar keeps the current one; without a date the view's own date is set again.
    Send(u"ShowCalendar:\"\";\"Quarterly\"");
    EXPECT_EQ(notifier.Take(), (Strings{"OnViewChanged:Quarterly", "OnDateChanged:\"5/6/2026\""}));
    EXPECT_EQ(utf8(app->GetCurrentCalendarName()), "Projects");
    EXPECT_EQ(host->shows, 2);
}

TEST_F(DispatcherTest, CloseUninitializeUnknownAndEmptyMessages)
{
    Send(u"CloseCalendar");
    EXPECT_EQ(host->quits, 1);
    Send(u"Uninitialize");
    Send(u"Frobnicate:\"x\";\"y\"");
    EXPECT_EQ(host->boxes, Strings{"Unknown Control Message: 'Frobnicate:\"x\";\"y\""});
    host->boxes.clear();
    Send(u"");
    dispatcher.DispatchPayload({});
    dispatcher.DispatchPayload({0, 0});
    EXPECT_TRUE(host->boxes.empty());
    EXPECT_TRUE(notifier.Take().empty());
}

TEST_F(DispatcherTest, PayloadOfADatagramIsDispatched)
{
    CTavrelDatagram::Bytes datagram = *CTavrelDatagram::Encode(u"Initialize");
    dispatcher.DispatchPayload(CTavrelDatagram::Decode(datagram.data(), datagram.size()).payload);
    EXPECT_EQ(notifier.Take().size(), 1u);
}

TEST_F(DispatcherTest, ActivityCommandsWaitForTheCalendarListLock)
{
    Register();
    std::promise<void> locked, release;
    std::thread reader([&] {
        std::lock_guard guard(app->GetCalendarListLock());
        locked.set_value();
        release.get_future().wait();
    });
    locked.get_future().wait();
    auto adding = std::async(std::launch::async, [&] {
        Send(u"AddActivity:\"A1\";\"Work\";\"Meeting\";\"3/4/2026 9:00:00 AM\";\"3/4/2026 10:00:00 AM\";\"\";\"1\";\"1\"");
    });
    EXPECT_EQ(adding.wait_for(100ms), std::future_status::timeout);
    release.set_value();
    reader.join();
    EXPECT_EQ(adding.wait_for(5s), std::future_status::ready);
    EXPECT_EQ(Category(u"Work"), Strings{"Meeting@3/4/2026 9:00:00 AM"});
}

} // namespace
