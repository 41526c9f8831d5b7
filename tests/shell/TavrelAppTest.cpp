#include "shell/TavrelApp.h"

#include "common/QoLog.h"
#include "common/QoRegistry.h"
#include "data/TavrelMainWindow.h"
#include "data/TavrelReaderView.h"
#include "data/TavrelRegisteredCalendar.h"
#include "data/TavrelSettings.h"
#include "platform/device/RunningProgram.h"
#include "platform/pim/Application.h"
#include "remote/TavrelAttachedCalendarStore.h"
#include "remote/TavrelRemoteCalendar.h"
#include "remote/XmlDocument.h"
#include "rules/TavrelRules.h"

#include "TempDevice.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <fstream>
#include <future>
#include <mutex>
#include <sstream>
#include <thread>

namespace {

using namespace std::chrono_literals;
using device::OleDateTime;

class StandInFrame : public CTavrelMainWindow, public CTavrelReaderView {
public:
    CTavrelReaderView* GetReaderView() override { return this; }
    void RefreshCalendarChecks() override { ++checkRefreshes; }
    void ReloadViewEvents() override { ++reloads; }
    OleDateTime GetCurrentDate() override { return OleDateTime(2026, 3, 4, 0, 0, 0); }
    int GetViewMode() override { return Monthly; }
    void PostRefreshEvents() override
    {
        std::lock_guard guard(mutex);
        ++posts;
        posted.notify_all();
    }
    bool WaitForPosts(int count)
    {
        std::unique_lock guard(mutex);
        return posted.wait_for(guard, 10s, [&] { return posts >= count; });
    }

    int checkRefreshes = 0;
    int reloads = 0;
    std::mutex mutex;
    std::condition_variable posted;
    int posts = 0;
};

// A calendar attached from an address, as far as the application cares.
class AttachedCalendar : public CTavrelRegisteredCalendar {
public:
    using CTavrelRegisteredCalendar::CTavrelRegisteredCalendar;
    CQoString GetTypeName() const override { return u"Remote"; }
    bool HasOwnAppearance() const override { return true; }
    std::unique_ptr<CTavrelCalendar> Clone() const override { return std::make_unique<AttachedCalendar>(*this); }
};

// Lets the real time pass in small steps, so a reader thread makes progress quickly.
class QuickSleeper : public CTavrelSleeper {
public:
    void Sleep(std::chrono::milliseconds) override { std::this_thread::sleep_for(1ms); }
};

class TavrelAppTest : public ::testing::Test {
protected:
    testing_support::TempDevice device;
};

TEST_F(TavrelAppTest, ControlModeIsSelectedByItsParameterInAnyCase)
{
    CTavrelApp app;
    app.ParseCommandLine({u"/foo", u"bar"});
    EXPECT_FALSE(app.IsControlMode());
    app.ParseCommandLine({u"tAVRELcontrol"});
    EXPECT_TRUE(app.IsControlMode());
}

TEST_F(TavrelAppTest, SetCurrentCalendarTakesKnownNamesOnlyAndTellsTheFrame)
{
    StandInFrame frame;
    CTavrelApp app;
    app.SetMainWindow(&frame);
    app.AddRegisteredCalendar(u"Projects");

    EXPECT_TRUE(app.SetCurrentCalendar(u"<combined>"));
    EXPECT_EQ(app.GetCurrentCalendarName().View(), u"<Combined>");
    EXPECT_EQ(app.GetSettings().GetCurrentCalendar().View(), u"<Combined>");
    EXPECT_EQ(frame.checkRefreshes, 1);
    EXPECT_EQ(frame.reloads, 1);
    EXPECT_TRUE(app.GetCalendarData().IsRefreshRequested());

    EXPECT_TRUE(app.SetCurrentCalendar(u"PROJECTS"));
    EXPECT_EQ(app.GetCurrentCalendarName().View(), u"Projects"); // as the calendar writes itself

    EXPECT_FALSE(app.SetCurrentCalendar(u"Nowhere"));
    EXPECT_EQ(app.GetCurrentCalendarName().View(), u"Projects");
    EXPECT_EQ(app.GetSettings().GetCurrentCalendar().View(), u"Projects");
    EXPECT_EQ(frame.checkRefreshes, 2);
    app.SetMainWindow(nullptr);
}

TEST_F(TavrelAppTest, RemoteCalendarsAreFoundBeforeRegisteredOnes)
{
    CTavrelApp app;
    app.AddRegisteredCalendar(u"Sports");
    app.GetCalendarData().AddRemoteCalendar(AttachedCalendar(u"SPORTS"));
    CTavrelCalendar* found = app.FindCalendar(u"sports");
    ASSERT_NE(found, nullptr);
    EXPECT_EQ(found->GetTypeName().View(), u"Remote");
    EXPECT_EQ(app.FindCalendar(u"<Personal>"), nullptr);
}

TEST_F(TavrelAppTest, StartUpFallsBackToPersonalWhenTheStoredCalendarIsGone)
{
    {
        CTavrelSettings settings;
        settings.SetCurrentCalendar(u"Removed");
    }
    {
        CTavrelApp app;
        app.RestoreCurrentCalendar();
        EXPECT_EQ(app.GetCurrentCalendarName().View(), u"<Personal>");
        EXPECT_EQ(app.GetSettings().GetCurrentCalendar().View(), u"<Personal>");
        app.GetSettings().SetCurrentCalendar(u"<Combined>");
    }
    {
        CTavrelApp app; // "<Combined>" is no calendar object either
        app.RestoreCurrentCalendar();
        EXPECT_EQ(app.GetCurrentCalendarName().View(), u"<Personal>");
        app.GetSettings().SetCurrentCalendar(u"football");
        app.GetCalendarData().AddRemoteCalendar(AttachedCalendar(u"Football"));
        app.RestoreCurrentCalendar();
        EXPECT_EQ(app.GetCurrentCalendarName().View(), u"football"); // as stored: it names a calendar
        app.SetCurrentCalendar(u"Football");
    }
    // The application's end stores the current calendar's name.
    EXPECT_EQ(CTavrelSettings().GetCurrentCalendar().View(), u"Football");
}

TEST_F(TavrelAppTest, AppearanceFollowsTheKindOfTheCurrentCalendar)
{
    CTavrelApp app;
    CTavrelSettings& settings = app.GetSettings();
    settings.SetTransparency(3, 20);
    settings.SetBackground(3, u"\\global.jpg");

    // "<Personal>": the settings' values, and setters write them.
    EXPECT_EQ(app.GetTransparency(3), 20);
    EXPECT_TRUE(app.SetTransparency(3, 25));
    EXPECT_EQ(settings.GetTransparency(3), 25);

    // A registered calendar shows the settings' values too, even with pictures of its own.
    CTavrelRegisteredCalendar& projects = app.AddRegisteredCalendar(u"Projects");
    projects.SetBackground(3, u"\\own.jpg");
    projects.SetTransparency(3, 90);
    ASSERT_TRUE(app.SetCurrentCalendar(u"Projects"));
    EXPECT_EQ(app.GetBackground(3).View(), u"\\global.jpg");
    EXPECT_EQ(app.GetTransparency(3), 25);
    EXPECT_TRUE(app.SetBackground(3, u"\\chosen.jpg"));
    EXPECT_EQ(settings.GetBackground(3).View(), u"\\chosen.jpg");

    // A remote calendar has its own fade level and pictures. Where it names no background the
    // settings' background shows; where it names no month title or day bar, the built-in picture
    // (empty text), not the settings'.
    CTavrelRemoteCalendar football;
    football.SetName(u"Football");
    football.SetTransparency(3, 70);
    football.SetMonthTitle(3, u"\\football\\march.gif");
    app.GetCalendarData().AddRemoteCalendar(football);
    ASSERT_TRUE(app.SetCurrentCalendar(u"Football"));
    EXPECT_EQ(app.GetTransparency(3), 70);
    EXPECT_EQ(app.GetMonthTitle(3).View(), u"\\football\\march.gif");
    EXPECT_EQ(app.GetBackground(3).View(), u"\\chosen.jpg");
    EXPECT_TRUE(app.GetDayBar(3).IsEmpty());
    EXPECT_TRUE(app.GetMonthTitle(4).IsEmpty());
    EXPECT_TRUE(app.SetTransparency(3, 10));
    EXPECT_EQ(app.FindCalendar(u"Football")->GetTransparency(3), 10);
    EXPECT_EQ(settings.GetTransparency(3), 25);
    // Its pictures are its own to change (a skin applied while it shows), and the settings keep theirs.
    EXPECT_TRUE(app.SetBackground(3, u"\\x.jpg"));
    EXPECT_TRUE(app.SetDayBar(3, u"\\x.gif"));
    EXPECT_EQ(app.GetBackground(3).View(), u"\\x.jpg");
    EXPECT_EQ(app.GetDayBar(3).View(), u"\\x.gif");
    EXPECT_EQ(settings.GetBackground(3).View(), u"\\chosen.jpg");
    EXPECT_FALSE(app.SetDayBar(13, u"\\x.gif"));

    // A current name that no calendar has any more.
    app.GetCalendarData().SetCurrentCalendarName(u"Gone");
    EXPECT_EQ(app.GetTransparency(3), 50);
    EXPECT_TRUE(app.GetBackground(3).IsEmpty());
    EXPECT_FALSE(app.SetTransparency(3, 40));
}

// The attached calendars come back at start from their local copies with their category flags; a
// broken one is told and forgotten. "<Combined>" names their visible events "Event (Calendar)".
TEST_F(TavrelAppTest, StartUpLoadsAttachedCalendarsWhichCombinedNamesAfterTheirCalendar)
{
    const std::filesystem::path folder = device.host("My Documents/Cals");
    std::filesystem::create_directories(folder);
    std::ofstream(folder / "ball.gif") << "ball";
    std::string document = "<Tavrel><Name>Sports</Name><Copyright>c</Copyright><Backgrounds>";
    std::uint32_t checksum = 0;
    for (int month = 1; month <= 12; ++month) {
        const std::string tag = std::string(month < 10 ? "BG0" : "BG") + std::to_string(month);
        document += "<" + tag
            + "><Image>bg.png</Image><Fade>60</Fade><MonthTitle>t.png</MonthTitle><DayBar>d.png</DayBar></" + tag + ">";
        checksum += 'b' + 'g' + '.' + 'p' + 'n' + 'g';
    }
    document += "</Backgrounds>";
    for (const char* category : {"Soccer", "Tennis"}) {
        document += std::string("<Events><Name>") + category + "</Name><Event><Name>" + category
            + " match</Name><Date>3/12/26</Date><StartTime>10:00</StartTime><EndTime>11:00</EndTime><Icon>ball.gif</"
              "Icon></Event></Events>";
        for (unsigned char c : std::string(category) + " match")
            checksum += std::uint32_t(c) << 16;
    }
    document += "<CheckSum>" + std::to_string(checksum) + "</CheckSum></Tavrel>";
    std::ofstream(folder / "Sports.xml") << document;
    {
        CTavrelSettings settings;
        CTavrelAttachedCalendarStore store(settings);
        CXmlDocument parsed;
        ASSERT_TRUE(parsed.Parse(CQoString(device::fromUtf8(document).c_str())));
        CTavrelRemoteCalendar sports;
        ASSERT_TRUE(sports.Load(u"\\My Documents\\Cals\\Sports.xml", parsed));
        sports.FindCategory(u"Tennis")->SetVisible(false);
        CQoString message;
        ASSERT_TRUE(store.Save(sports, message));
        CQoRegistry broken(settings.GetCalendarsKey().GetKey(), u"Broken", true);
        settings.SetCurrentCalendar(u"sports");
    }

    StandInFrame frame;
    CTavrelApp app;
    const std::vector<CQoString> messages = app.LoadRemoteCalendars();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages.front().View(), u"Error reading Calendar 'Broken'");
    app.RestoreCurrentCalendar();
    EXPECT_EQ(app.GetCurrentCalendarName().View(), u"sports");
    CTavrelCalendar* sports = app.FindCalendar(u"Sports");
    ASSERT_NE(sports, nullptr);
    EXPECT_EQ(sports->GetTypeName().View(), u"Remote");
    EXPECT_FALSE(sports->FindCategory(u"Tennis")->IsVisible());
    EXPECT_EQ(app.GetTransparency(3), 60);
    EXPECT_EQ(app.GetBackground(3).View(), u"\\My Documents\\Cals\\bg.png");

    ASSERT_TRUE(app.CreateOutlook() && app.LogonOutlook());
    app.SetMainWindow(&frame);
    ASSERT_TRUE(app.StartReader(std::make_shared<QuickSleeper>()));
    ASSERT_TRUE(frame.WaitForPosts(1));
    auto names = [&] {
        std::vector<std::string> found;
        app.GetWindowEventsSnapshot().ForEach(
            [&](const CTavrelEvent& event) { found.push_back(device::toUtf8(event.GetName().View())); });
        return found;
    };
    // On its own: its visible categories, under their own names.
    EXPECT_EQ(names(), std::vector<std::string>{"Soccer match"});
    ASSERT_TRUE(app.SetCurrentCalendar(u"<Combined>"));
    const int posts = frame.posts;
    ASSERT_TRUE(frame.WaitForPosts(posts + 2));
    EXPECT_EQ(names(), std::vector<std::string>{"Soccer match (Sports)"});
    EXPECT_TRUE(app.StopReader());
    app.SetMainWindow(nullptr);
}

TEST_F(TavrelAppTest, RulesAreCopiedAndReplacedWhole)
{
    CTavrelApp app;
    CTavrelRules edited = app.GetRulesCopy();
    edited.AddTail(CTavrelRule(u"Subject", u"*Golf*", u"golf.gif"));
    EXPECT_NE(app.GetRulesCopy(), edited);
    {
        // Replacing with the two outer locks held, as a rebuild holds them, is in order.
        std::lock_guard events(app.GetEventLock());
        std::lock_guard calendars(app.GetCalendarListLock());
        app.ReplaceRules(edited);
    }
    EXPECT_EQ(app.GetRulesCopy(), edited);
}

TEST_F(TavrelAppTest, CreatingTheStoreFailsWhereNoStoreCanBe)
{
    std::filesystem::create_directory(device.root() / "pim.db");
    CTavrelApp app;
    pim::Error error = pim::Error::None;
    EXPECT_FALSE(app.CreateOutlook(&error));
    EXPECT_EQ(error, pim::Error::CannotOpen);
    EXPECT_FALSE(app.LogonOutlook());
    EXPECT_EQ(app.GetOutlook(), nullptr);
}

TEST_F(TavrelAppTest, TheReaderThreadFillsTheWindowCollectionAndStopsWhenAsked)
{
    StandInFrame frame;
    CTavrelApp app;
    ASSERT_TRUE(app.CreateOutlook());
    ASSERT_TRUE(app.LogonOutlook());
    auto item = app.GetOutlook()->createItem(pim::olAppointmentItem);
    item->setSubject(u"Dentist");
    item->setStart(OleDateTime(2026, 3, 12, 14, 0, 0));
    item->setEnd(OleDateTime(2026, 3, 12, 15, 0, 0));
    ASSERT_TRUE(item->save());

    app.SetMainWindow(&frame);
    ASSERT_TRUE(app.StartReader(std::make_shared<QuickSleeper>()));
    EXPECT_FALSE(app.StartReader()); // one reader at a time
    ASSERT_TRUE(frame.WaitForPosts(2));
    EXPECT_EQ(app.GetWindowEventsSnapshot().GetCount(), 1);
    EXPECT_TRUE(app.StopReader());
    EXPECT_FALSE(app.IsReaderRunning());
    app.SetMainWindow(nullptr);
}

TEST_F(TavrelAppTest, AReaderWithoutAFrameStillStopsWithinTheWait)
{
    CTavrelApp app;
    ASSERT_TRUE(app.StartReader()); // sleeps for real, a second at a time
    std::this_thread::sleep_for(50ms);
    EXPECT_TRUE(app.StopReader());
}

// A sleeper that holds the reader until the test lets it go, and says when the last owner let it
// go in turn, which is when the reader is gone.
class HoldingSleeper : public CTavrelSleeper {
public:
    explicit HoldingSleeper(std::promise<void> gone) : m_gone(std::move(gone)) {}
    ~HoldingSleeper() override { m_gone.set_value(); }
    void Sleep(std::chrono::milliseconds) override
    {
        std::unique_lock guard(m_mutex);
        m_entered = true;
        m_changed.notify_all();
        m_changed.wait(guard, [&] { return m_released; });
    }
    void WaitUntilEntered()
    {
        std::unique_lock guard(m_mutex);
        m_changed.wait(guard, [&] { return m_entered; });
    }
    void Release()
    {
        std::lock_guard guard(m_mutex);
        m_released = true;
        m_changed.notify_all();
    }

private:
    std::promise<void> m_gone;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    bool m_entered = false;
    bool m_released = false;
};

TEST_F(TavrelAppTest, AReaderThatOutlivesTheApplicationFindsItsDataStillThere)
{
    std::promise<void> gone;
    std::future<void> readerGone = gone.get_future();
    auto sleeper = std::make_shared<HoldingSleeper>(std::move(gone));
    StandInFrame frame;
    {
        CTavrelApp app;
        app.SetMainWindow(&frame);
        ASSERT_TRUE(app.StartReader(sleeper));
        sleeper->WaitUntilEntered();
        app.SetMainWindow(nullptr);
        EXPECT_FALSE(app.StopReader()); // still held: given up on, not killed
    }
    // The application is gone; the reader wakes, sees its stop flag on the data it co-owns, ends.
    sleeper->Release();
    sleeper.reset();
    EXPECT_EQ(readerGone.wait_for(10s), std::future_status::ready);
}

TEST_F(TavrelAppTest, WithLoggingOnTheApplicationAndEveryAddedEventAreTraced)
{
    device::RunningProgram::setDevicePath(u"\\Program Files\\Tavrel\\Tavrel.exe");
    CQoRegistry(HKEY_LOCAL_MACHINE, CQoLog::SwitchKeyPath, true).SetDWORD(u"Tavrel", 1);
    CQoLog::GetLog().Close(); // a log opened on an earlier test's device
    {
        CTavrelApp app;
        CTavrelEvents category(u"Work");
        category.AddEvent(CTavrelEvent(OleDateTime(2026, 3, 2, 9, 0, 0), OleDateTime(2026, 3, 2, 10, 30, 0),
                                       CQoString(u"a1"), u"Budget", u"money.gif"));
    }
    CQoLog::GetLog().Close();
    CQoRegistry(HKEY_LOCAL_MACHINE, CQoLog::SwitchKeyPath, true).SetDWORD(u"Tavrel", 0);

    std::ifstream file(device.host("Tavrel_log.txt"), std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    const std::string log = text.str();
    EXPECT_NE(log.find("CTavrelApp() Constructor\n"), std::string::npos) << log;
    EXPECT_NE(log.find("CTavrelApp() Destructor\n"), std::string::npos) << log;
    EXPECT_NE(log.find("CTavrelEvents::AddEvent(Start='3/2/2026 9:00:00 AM', End='3/2/2026 10:30:00 AM', ID='a1', "
                       "Name='Budget', Class='Work', Icon='money.gif')\n"),
              std::string::npos)
        << log;
}

} // namespace
