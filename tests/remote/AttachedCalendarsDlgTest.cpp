// The Attached Calendars dialog's attaching, in the program's own loop against a loopback server:
// every outcome of a host directory, the links through Choose Location, names already attached,
// the recent addresses, and a fetch that the user cancels with Escape while the dialog stays alive.

#include "remote/AttachedCalendarsDlg.h"
#include "remote/CachedFile.h"
#include "remote/ChooseLocationDlg.h"
#include "remote/TavrelAttachedCalendarStore.h"
#include "remote/TavrelRecentAddresses.h"
#include "remote/TavrelRemoteCalendar.h"

#include "RemoteTestSupport.h"

#include "CalendarDocument.h"
#include "LoopbackServer.h"
#include "PinnedClock.h"
#include "TempDevice.h"

#include "data/TavrelSettings.h"
#include "platform/ui/Automation.h"
#include "platform/ui/HeadlessBackend.h"
#include "platform/ui/ListBox.h"
#include "platform/ui/MessageBox.h"

#include <gtest/gtest.h>

#include <chrono>

namespace {

using remote_test::utf8;
using remote_test::writeFile;
using testing_support::CalendarDocument;
using testing_support::LoopbackServer;

CalendarDocument calendarNamed(const std::string& name)
{
    CalendarDocument document;
    document.name = name;
    document.categories = {{"Games", {{"Opening", "12/5/26", "18:00", "20:00", "ball.gif"}}}};
    return document;
}

std::vector<std::string> itemsOf(const ui::ListBox& list)
{
    std::vector<std::string> items;
    for (int i = 0; i < list.count(); ++i)
        items.push_back(device::toUtf8(list.itemText(i)));
    return items;
}

class AttachedCalendarsDlgTest : public testing::Test {
protected:
    void SetUp() override
    {
        m_served = m_device.root() / "served";
        std::filesystem::create_directories(m_served);
        m_http = std::make_unique<LoopbackServer>(LoopbackServer::Kind::Http, m_served);
        m_automation.onModal([this](ui::Window& window) { OnModal(window); });
    }

    CQoString Url(const std::string& path) const { return CQoString(device::fromUtf8(m_http->url(path)).c_str()); }

    void Serve(const std::string& path, const std::string& text) { writeFile(m_served / path, text); }

    // Opens the dialog and runs `scenario` inside it, then closes it with OK.
    void Run(const std::function<void()>& scenario)
    {
        m_scenario = scenario;
        m_dialog.RunModal();
    }

    void OnModal(ui::Window& window)
    {
        if (auto* box = dynamic_cast<ui::MessageBoxDialog*>(&window)) {
            m_messages.push_back(device::toUtf8(box->message()));
            box->endDialog(ui::IDOK);
        } else if (auto* choose = dynamic_cast<CChooseLocationDlg*>(&window)) {
            auto* list = choose->controlAs<ui::ListBox>(CChooseLocationDlg::IDC_LINKS);
            m_links = itemsOf(*list);
            if (m_chooseLink.empty())
                choose->endDialog(ui::IDOK);
            else
                m_automation.selectItem(list, device::fromUtf8(m_chooseLink));
        } else if (&window == &m_dialog && m_scenario) {
            auto scenario = std::move(m_scenario);
            scenario();
            m_dialog.endDialog(ui::IDOK);
        }
    }

    std::vector<std::string> ListItems()
    {
        return itemsOf(*m_dialog.controlAs<ui::ListBox>(CAttachedCalendarsDlg::IDC_CALENDARS));
    }

    testing_support::TempDevice m_device;
    testing_support::PinnedClock m_clock{testing_support::localTime(2026, 12, 8, 15, 45, 0),
                                         device::DeviceClock::Flow::RunsOn};
    ui::Desktop m_desktop{std::make_unique<ui::HeadlessBackend>(), ui::TimeSource::steady()};
    ui::Automation m_automation{m_desktop};
    CTavrelSettings m_settings;
    CTavrelAttachedCalendarStore m_store{m_settings};
    CTavrelOwnHost m_ownHost{u"www.tavrel.com"};
    CAttachedCalendarsDlg m_dialog{m_store, m_ownHost};
    std::filesystem::path m_served;
    std::unique_ptr<LoopbackServer> m_http;
    std::function<void()> m_scenario;
    std::vector<std::string> m_messages;
    std::vector<std::string> m_links;
    std::string m_chooseLink;
};

TEST_F(AttachedCalendarsDlgTest, HostDirectoriesRedirectTellOrFail)
{
    Serve("msg/Tavrel.xml", "<XML><Message>Closed for the holidays</Message></XML>");
    Serve("empty/Tavrel.xml", "<Tavrel>nothing</Tavrel>");
    Serve("declared/Tavrel.xml", "<?xml version=\"1.0\"?><Tavrel><LINK/></Tavrel>");
    Serve("text/Tavrel.xml", "no tags at all");
    Serve("loop/Tavrel.xml", "<XML><Redirect>" + m_http->url("loop/Tavrel.xml") + "</Redirect></XML>");
    Serve("moved/Tavrel.xml", "<Redirect>" + m_http->url("cals/Sports.xml") + "</Redirect>");
    Serve("cals/Sports.xml", calendarNamed("Sports").text());
    Serve("gone/Tavrel.xml", "<Redirect>" + m_http->url("cals/Missing.xml") + "</Redirect>");
    Run([&] {
        EXPECT_FALSE(m_dialog.Attach(Url("msg/")));
        EXPECT_FALSE(m_dialog.Attach(Url("empty/")));
        EXPECT_FALSE(m_dialog.Attach(Url("declared/")));
        EXPECT_FALSE(m_dialog.Attach(Url("text/Tavrel.xml")));
        // A directory that leads back to itself ends after a bounded number of steps.
        EXPECT_FALSE(m_dialog.Attach(Url("loop/")));
        EXPECT_FALSE(m_dialog.Attach(Url("gone/")));
        EXPECT_FALSE(m_dialog.Attach(u"gopher://127.0.0.1/cal.xml"));
        EXPECT_FALSE(m_dialog.Attach(u"http://127.0.0.1:9/Sports.xml")); // nobody listens on port 9
        // A calendar cut off half-way: not answering, and nothing of it is left in the cache.
        EXPECT_FALSE(m_dialog.Attach(Url("_/die/Cut.xml?size=5000&sent=1000")));
        // A redirect is followed, not normalised, and the calendar lands in the list.
        EXPECT_TRUE(m_dialog.Attach(Url("moved/")));
        EXPECT_EQ(utf8(m_dialog.GetAddress()), m_http->url("cals/Sports.xml"));
    });
    EXPECT_EQ(m_messages,
              (std::vector<std::string>{
                  "Closed for the holidays",
                  "Tavrel Host not responding",
                  "Requested Tavrel server is not responding",
                  "Error parsing XML: No Error Information",
                  "Tavrel Host not responding",
                  "Tavrel Host not responding",
                  "Unable to open local XML file",
                  "Host not responding",
                  "Host not responding",
              }));
    const std::filesystem::path cut
        = m_device.host("TEMP/Cached/127.0.0.1%3A" + std::to_string(m_http->port()) + "/_/die");
    if (std::filesystem::exists(cut)) {
        for (const auto& entry : std::filesystem::recursive_directory_iterator(cut))
            EXPECT_FALSE(entry.is_regular_file()) << entry.path();
    }
    EXPECT_EQ(ListItems(), std::vector<std::string>{"Sports"});
    ASSERT_EQ(m_dialog.GetEntries().size(), 1u);
    EXPECT_NE(m_dialog.GetEntries().front().attached, nullptr);
    EXPECT_EQ(utf8(m_dialog.GetEntries().front().attached->GetLocation()), m_http->url("cals/Sports.xml"));
}

TEST_F(AttachedCalendarsDlgTest, LinksAreOfferedSortedAndTheChosenOneIsAttached)
{
    Serve("Tavrel.xml",
          testing_support::hostDirectory({{"Sports", m_http->url("sports")},
                                          {"Concerts", m_http->url("music/Concerts.xml")},
                                          {"Broken", ""},
                                          {"Art", m_http->url("art/")}}));
    Serve("sports/Tavrel.xml", "<XML><Redirect>" + m_http->url("cals/Sports.xml") + "</Redirect></XML>");
    Serve("cals/Sports.xml", calendarNamed("Sports").text());
    Serve("music/Concerts.xml", calendarNamed("Concerts").text());
    const CQoString directory = Url("Tavrel.xml");
    Run([&] {
        // Closing Choose Location without a choice abandons the attach, quietly.
        EXPECT_FALSE(m_dialog.Attach(directory));
        EXPECT_EQ(m_links, (std::vector<std::string>{"Art", "Concerts", "Sports"}));
        m_chooseLink = "Sports";
        // A link without ".xml" names the linked host's directory, which redirects.
        EXPECT_TRUE(m_dialog.Attach(directory));
        m_chooseLink = "Concerts";
        EXPECT_TRUE(m_dialog.Attach(directory));
    });
    EXPECT_TRUE(m_messages.empty()) << m_messages.front();
    EXPECT_EQ(ListItems(), (std::vector<std::string>{"Concerts", "Sports"}));
    // What was remembered is where each calendar was found in the end, newest first.
    std::vector<std::string> recent;
    for (const CQoString& address : CTavrelRecentAddresses::Offered())
        recent.push_back(utf8(address));
    EXPECT_EQ(recent, (std::vector<std::string>{m_http->url("music/Concerts.xml"), m_http->url("cals/Sports.xml")}));
}

TEST_F(AttachedCalendarsDlgTest, NamesAlreadyAttachedAreRefused)
{
    Serve("a/Sports.xml", calendarNamed("Sports").text());
    Serve("b/Sports.xml", calendarNamed("SPORTS").text());
    Serve("c/Sport.xml", calendarNamed("Sport").text());
    Serve("d/More.xml", calendarNamed("Sports Extra").text());
    Serve("e/Bad.xml", calendarNamed("..\\..\\Windows").text());
    CalendarDocument tampered = calendarNamed("Tampered");
    tampered.checksum = tampered.rightChecksum() + 1;
    Serve("f/Tampered.xml", tampered.text());
    CalendarDocument newer = calendarNamed("Future");
    newer.version = "3";
    Serve("g/Future.xml", newer.text());
    Run([&] {
        EXPECT_TRUE(m_dialog.Attach(Url("a/Sports.xml")));
        EXPECT_FALSE(m_dialog.Attach(Url("b/Sports.xml")));
        EXPECT_FALSE(m_dialog.Attach(Url("c/Sport.xml"))); // the beginning of an attached name
        EXPECT_TRUE(m_dialog.Attach(Url("d/More.xml")));   // merely begins with one: accepted
        EXPECT_FALSE(m_dialog.Attach(Url("e/Bad.xml")));   // a name that cannot be kept
        EXPECT_FALSE(m_dialog.Attach(Url("f/Tampered.xml")));
        EXPECT_FALSE(m_dialog.Attach(Url("g/Future.xml")));
    });
    const std::string invalid
        = "Invalid calendar format.  File must be Tavrel compliant.\nSee http://www.tavrel.com for "
          "more information.";
    EXPECT_EQ(m_messages,
              (std::vector<std::string>{
                  "You already are attached to a calendar with this name.",
                  "You already are attached to a calendar with this name.",
                  invalid,
                  invalid,
                  "The remote calendar 'Future' uses a calendar format that is newer than this version of "
                  "Tavrel supports.  Please upgrade to the latest version of Tavrel at\rhttp://www.tavrel.com",
                  invalid,
              }));
    EXPECT_EQ(ListItems(), (std::vector<std::string>{"Sports", "Sports Extra"}));
}

// Escape while a fetch hangs: the dialog was alive all along with its status line, the fetch stops
// at once and ends like a host that does not answer; the next attach runs normally.
TEST_F(AttachedCalendarsDlgTest, EscapeCancelsAFetchThatHangs)
{
    Serve("cals/Sports.xml", calendarNamed("Sports").text());
    std::vector<std::string> duringFetch;
    bool fetching = false;
    std::chrono::steady_clock::duration took{};
    Run([&] {
        m_desktop.postTask([&] {
            fetching = m_dialog.GetFetchingHost().IsFetching();
            duringFetch = ListItems();
            m_automation.pressKey(ui::VK_ESCAPE);
        });
        const auto started = std::chrono::steady_clock::now();
        EXPECT_FALSE(m_dialog.Attach(Url("_/stall")));
        took = std::chrono::steady_clock::now() - started;
        EXPECT_TRUE(m_dialog.Attach(Url("cals/Sports.xml")));
    });
    EXPECT_TRUE(fetching);
    EXPECT_EQ(duringFetch, std::vector<std::string>{"<Contacting Host...  Please Wait>"});
    EXPECT_LT(took, std::chrono::seconds(5));
    EXPECT_EQ(m_messages, std::vector<std::string>{"Host not responding"});
    EXPECT_EQ(ListItems(), std::vector<std::string>{"Sports"});
    EXPECT_FALSE(m_dialog.GetFetchingHost().IsFetching());
}

// iCalendar feeds: an address ending ".ics", and one of the scheme "webcal" fetched over http, attach
// as calendars of their own; what is no iCalendar is told, the dialog stays.
TEST_F(AttachedCalendarsDlgTest, ICalendarFeedsAttachOverHttpAndWebcal)
{
    const std::string event = "BEGIN:VEVENT\r\nUID:1\r\nSUMMARY:Match\r\nCATEGORIES:Games\r\n"
                              "DTSTART:20261212T150000\r\nDTEND:20261212T170000\r\nEND:VEVENT\r\n";
    Serve("feeds/club.ics", "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nX-WR-CALNAME:Club\r\n" + event + "END:VCALENDAR\r\n");
    Serve("feeds/Team.ics", "BEGIN:VCALENDAR\r\nVERSION:2.0\r\n" + event + "END:VCALENDAR\r\n");
    Serve("feeds/page.ics", "<html>Moved</html>");
    std::string webcal = m_http->url("feeds/Team.ics");
    webcal.replace(0, 4, "webcal");
    LoopbackServer https(LoopbackServer::Kind::Https, m_served);
    std::string secure = https.url("feeds/club.ics");
    secure.replace(0, 5, "webcals");
    Run([&] {
        EXPECT_TRUE(m_dialog.Attach(Url("feeds/club.ics")));
        EXPECT_TRUE(m_dialog.Attach(CQoString(device::fromUtf8(webcal).c_str())));
        EXPECT_FALSE(m_dialog.Attach(Url("feeds/page.ics")));
        EXPECT_FALSE(m_dialog.Attach(Url("feeds/missing.ics")));
        // Over https with the system's certificates, which do not know the test server's.
        EXPECT_FALSE(m_dialog.Attach(CQoString(device::fromUtf8(secure).c_str())));
    });
    ASSERT_EQ(m_messages.size(), 3u);
    EXPECT_EQ(m_messages[2], "Host not responding");
    EXPECT_EQ(m_messages[0].rfind("Error reading iCalendar feed: ", 0), 0u) << m_messages[0];
    EXPECT_EQ(m_messages[1], "Host not responding");
    EXPECT_EQ(ListItems(), (std::vector<std::string>{"Club", "Team"}));
    const auto& entries = m_dialog.GetEntries();
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(utf8(entries[1].attached->GetLocation()), webcal);
    EXPECT_EQ(utf8(entries[1].attached->GetCategories().front().GetName()), "Games");
    EXPECT_EQ(entries[1].attached->GetCategories().front().GetCount(), 1);
    // Fetched over http into the cache of the http address.
    CCachedFile copy;
    EXPECT_TRUE(copy.ResolveCached(Url("feeds/Team.ics"), CQoString()));
}

} // namespace
