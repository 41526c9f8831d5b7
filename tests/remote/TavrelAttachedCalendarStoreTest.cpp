// Keeping attached calendars between runs: the registry key and local copy written on saving, read at
// start without any network, forgotten on removal; names from documents never leave the local
// copies' folder; a calendar that cannot be read at start is reported and forgotten while the others
// still load.

#include "remote/TavrelAttachedCalendarStore.h"
#include "remote/TavrelDocumentFormat.h"
#include "remote/TavrelRemoteCalendar.h"

#include "RemoteTestSupport.h"

#include "CalendarDocument.h"
#include "LoopbackServer.h"
#include "PinnedClock.h"
#include "TempDevice.h"

#include "common/QoRegistry.h"
#include "data/TavrelSettings.h"
#include "platform/device/DevicePath.h"

#include <gtest/gtest.h>

namespace {

using remote_test::readFile;
using remote_test::utf8;
using remote_test::writeFile;
using testing_support::CalendarDocument;
using testing_support::LoopbackServer;

CalendarDocument sports(const std::string& name = "Sports")
{
    CalendarDocument document;
    document.name = name;
    document.fade = "70";
    document.categories = {
        {"Soccer",
         {{"Final", "12/20/26", "15:30", "17:45", "ball.gif"}, {"Derby", "12/6/26", "14:00", "16:00", "ball.gif"}}},
        {"Tennis", {{"Open day", "12/12/26", "", "", "racket.gif"}}},
    };
    return document;
}

class TavrelAttachedCalendarStoreTest : public testing::Test {
protected:
    void SetUp() override
    {
        m_served = m_device.root() / "served";
        for (int month = 1; month <= 12; ++month)
            writeFile(m_served / "cals" / CalendarDocument::ofMonth("bg%02d.png", month), "background");
        writeFile(m_served / "cals" / "title.png", "title");
        writeFile(m_served / "cals" / "daybar.png", "day bar");
        writeFile(m_served / "cals" / "ball.gif", "ball");
        writeFile(m_served / "cals" / "racket.gif", "racket");
        m_http = std::make_unique<LoopbackServer>(LoopbackServer::Kind::Http, m_served);
    }

    // A calendar attached from the loopback server, as the dialog reads it.
    std::unique_ptr<CTavrelRemoteCalendar> attach(const CalendarDocument& document,
                                                  const std::string& file = "Sports.xml")
    {
        writeFile(m_served / "cals" / file, document.text());
        const std::string text = document.text();
        CQoString message;
        auto calendar = CTavrelDocumentFormat().Read(
            CQoString(device::fromUtf8(m_http->url("cals/" + file)).c_str()),
            std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()), message);
        EXPECT_TRUE(calendar) << utf8(message);
        return calendar;
    }

    std::filesystem::path host(const CQoString& devicePath) const
    {
        return *device::DevicePath::toHost(devicePath.View());
    }

    testing_support::TempDevice m_device;
    testing_support::PinnedClock m_clock{testing_support::localTime(2026, 12, 8, 15, 45, 0)};
    remote_test::RecordingHost m_host;
    CTavrelSettings m_settings;
    CTavrelAttachedCalendarStore m_store{m_settings};
    std::filesystem::path m_served;
    std::unique_ptr<LoopbackServer> m_http;
};

TEST_F(TavrelAttachedCalendarStoreTest, SavedCalendarLoadsBackWithItsFlagsAndWithoutTheNetwork)
{
    auto calendar = attach(sports());
    ASSERT_TRUE(calendar);
    calendar->FindCategory(u"Tennis")->SetVisible(false);
    CQoString message;
    ASSERT_TRUE(m_store.Save(*calendar, message)) << utf8(message);

    // The registry: the address and a flag per category.
    CQoRegistry key(HKEY_CURRENT_USER, u"Software\\Orvix\\Tavrel\\Calendars\\Sports", false);
    EXPECT_EQ(utf8(key.GetString(u"URL", nullptr)), m_http->url("cals/Sports.xml"));
    EXPECT_EQ(CQoRegistry(key.GetKey(), u"Soccer", false).GetDWORD(u"Visible", 7), 1u);
    EXPECT_EQ(CQoRegistry(key.GetKey(), u"Tennis", false).GetDWORD(u"Visible", 7), 0u);
    // The local copy: 16-bit little-endian text without a mark, beside copies of the icons.
    const std::string copy = readFile(m_device.host("TEMP/Cached/RemoteCalendars/Sports/Sports.XML"));
    ASSERT_GT(copy.size(), 20u);
    EXPECT_EQ(copy.substr(0, 6), std::string("<\0T\0a\0", 6));
    EXPECT_EQ(readFile(m_device.host("TEMP/Cached/RemoteCalendars/Sports/ball.gif")), "ball");
    EXPECT_EQ(readFile(m_device.host("TEMP/Cached/RemoteCalendars/Sports/racket.gif")), "racket");

    // The next start has no network, and the cache has lost one icon: the local copy's stands in.
    m_http->stop();
    const std::size_t fetchesBefore = m_host.urls.size();
    std::filesystem::remove(
        host(calendar->GetCategories()
                 .back()
                 .FindFirst(device::OleDateTime(2026, 12, 1, 0, 0, 0), device::OleDateTime(2026, 12, 31, 0, 0, 0))
                 ->GetIcon()));
    CTavrelAttachedCalendarStore::Loaded loaded = m_store.LoadAll();
    EXPECT_TRUE(loaded.messages.empty());
    ASSERT_EQ(loaded.calendars.size(), 1u);
    CTavrelRemoteCalendar& back = *loaded.calendars.front();
    EXPECT_TRUE(back.IsSameAs(*calendar));
    EXPECT_EQ(back.GetTransparency(3), 70);
    EXPECT_EQ(readFile(host(back.GetBackground(3))), "background");
    EXPECT_EQ(readFile(host(back.GetMonthTitle(3))), "title");
    EXPECT_TRUE(back.GetCategories().front().IsVisible());
    EXPECT_FALSE(back.GetCategories().back().IsVisible());
    const CTavrelEvent* openDay = back.GetCategories().back().FindFirst(device::OleDateTime(2026, 12, 1, 0, 0, 0),
                                                                        device::OleDateTime(2026, 12, 31, 0, 0, 0));
    ASSERT_NE(openDay, nullptr);
    EXPECT_EQ(utf8(openDay->GetIcon()), "\\TEMP\\Cached\\RemoteCalendars\\Sports\\racket.gif");
    EXPECT_EQ(m_host.urls.size(), fetchesBefore);
    EXPECT_TRUE(m_host.messages.empty());
}

// The local copy names pictures by their file names alone: one from a subfolder of the calendar's
// address is found again at the next start through the copy kept beside the document.
TEST_F(TavrelAttachedCalendarStoreTest, PicturesFromASubfolderAreStillThereAfterARestart)
{
    for (int month = 1; month <= 12; ++month)
        writeFile(m_served / "cals" / "img" / CalendarDocument::ofMonth("bg%02d.png", month), "subfolder background");
    CalendarDocument document = sports();
    document.background = "img/bg%02d.png";
    auto calendar = attach(document);
    ASSERT_TRUE(calendar);
    EXPECT_EQ(readFile(host(calendar->GetBackground(5))), "subfolder background");
    CQoString message;
    ASSERT_TRUE(m_store.Save(*calendar, message)) << utf8(message);

    m_http->stop();
    CTavrelAttachedCalendarStore::Loaded loaded = m_store.LoadAll();
    ASSERT_EQ(loaded.calendars.size(), 1u);
    EXPECT_EQ(utf8(loaded.calendars.front()->GetBackground(5)), "\\TEMP\\Cached\\RemoteCalendars\\Sports\\bg05.png");
    EXPECT_EQ(readFile(host(loaded.calendars.front()->GetBackground(5))), "subfolder background");
}

TEST_F(TavrelAttachedCalendarStoreTest, NamesFromDocumentsStayInTheirFolder)
{
    EXPECT_FALSE(CTavrelAttachedCalendarStore::IsStorableName(u""));
    EXPECT_FALSE(CTavrelAttachedCalendarStore::IsStorableName(u"..\\..\\Windows"));
    EXPECT_FALSE(CTavrelAttachedCalendarStore::IsStorableName(u"Tab\there"));
    EXPECT_FALSE(CTavrelAttachedCalendarStore::IsStorableName(CQoString(std::u16string(256, u'x').c_str())));
    EXPECT_TRUE(CTavrelAttachedCalendarStore::IsStorableName(u"../../Windows"));

    // A storable name that would climb or holds reserved characters becomes safe names.
    EXPECT_EQ(utf8(CTavrelAttachedCalendarStore::LocalCopyFile(u"../../Windows")),
              "\\TEMP\\Cached\\RemoteCalendars\\..%2F..%2FWindows\\..%2F..%2FWindows.XML");
    EXPECT_EQ(utf8(CTavrelAttachedCalendarStore::LocalCopyFile(u"..")),
              "\\TEMP\\Cached\\RemoteCalendars\\%2E%2E\\...XML");
    auto calendar = attach(sports("A:b*c?"), "Odd.xml");
    ASSERT_TRUE(calendar);
    CQoString message;
    ASSERT_TRUE(m_store.Save(*calendar, message)) << utf8(message);
    EXPECT_TRUE(std::filesystem::exists(m_device.host("TEMP/Cached/RemoteCalendars/A%3Ab%2Ac%3F/A%3Ab%2Ac%3F.XML")));
    CTavrelAttachedCalendarStore::Loaded loaded = m_store.LoadAll();
    ASSERT_EQ(loaded.calendars.size(), 1u);
    EXPECT_EQ(utf8(loaded.calendars.front()->GetName()), "A:b*c?");

    // Not storable: nothing is written anywhere, and the user is told.
    auto climbing = attach(sports("..\\..\\Windows"), "Climb.xml");
    ASSERT_TRUE(climbing);
    EXPECT_FALSE(m_store.Save(*climbing, message));
    EXPECT_EQ(utf8(message), "Error saving Calendar '..\\..\\Windows'");
    EXPECT_FALSE(CQoRegistry(HKEY_CURRENT_USER, u"Software\\Orvix\\Tavrel\\Calendars", false).SubKeyExists(u"Windows"));
    EXPECT_FALSE(std::filesystem::exists(m_device.host("Windows/Windows.XML")));
}

TEST_F(TavrelAttachedCalendarStoreTest, SavingThatFailsLeavesNothingBehind)
{
    auto calendar = attach(sports());
    ASSERT_TRUE(calendar);
    writeFile(m_device.host("TEMP/Cached/RemoteCalendars"), "a file in the way");
    CQoString message;
    EXPECT_FALSE(m_store.Save(*calendar, message));
    EXPECT_EQ(utf8(message), "Error saving Calendar 'Sports'");
    EXPECT_FALSE(CQoRegistry(HKEY_CURRENT_USER, u"Software\\Orvix\\Tavrel\\Calendars", false).SubKeyExists(u"Sports"));
}

TEST_F(TavrelAttachedCalendarStoreTest, DeleteForgetsKeyAndLocalCopyButNotTheCache)
{
    auto calendar = attach(sports());
    ASSERT_TRUE(calendar);
    CQoString message;
    ASSERT_TRUE(m_store.Save(*calendar, message));
    EXPECT_TRUE(m_store.Delete(u"Sports"));
    EXPECT_FALSE(CQoRegistry(HKEY_CURRENT_USER, u"Software\\Orvix\\Tavrel\\Calendars", false).SubKeyExists(u"Sports"));
    EXPECT_FALSE(std::filesystem::exists(m_device.host("TEMP/Cached/RemoteCalendars/Sports")));
    EXPECT_TRUE(std::filesystem::exists(host(calendar->GetBackground(1))));
    EXPECT_TRUE(m_store.LoadAll().calendars.empty());
}

// At start every calendar is looked at: each that cannot be read is reported once and forgotten, and
// those after it load all the same (not only at the next start).
TEST_F(TavrelAttachedCalendarStoreTest, CalendarsThatCannotBeReadAreReportedAndForgottenAlone)
{
    CQoString message;
    for (const char* name : {"Alpha", "Beta", "Gamma", "Delta"}) {
        auto calendar = attach(sports(name), std::string(name) + ".xml");
        ASSERT_TRUE(calendar && m_store.Save(*calendar, message));
    }
    CQoRegistry calendars(HKEY_CURRENT_USER, u"Software\\Orvix\\Tavrel\\Calendars", false);
    // Alpha lost its address, Gamma's local copy is damaged, Delta's is gone.
    CQoRegistry(calendars.GetKey(), u"Alpha", false).DeleteValue(u"URL");
    writeFile(m_device.host("TEMP/Cached/RemoteCalendars/Gamma/Gamma.XML"), std::string("<\0T\0", 4));
    std::filesystem::remove(m_device.host("TEMP/Cached/RemoteCalendars/Delta/Delta.XML"));

    CTavrelAttachedCalendarStore::Loaded loaded = m_store.LoadAll();
    ASSERT_EQ(loaded.calendars.size(), 1u);
    EXPECT_EQ(utf8(loaded.calendars.front()->GetName()), "Beta");
    std::vector<std::string> messages;
    for (const CQoString& text : loaded.messages)
        messages.push_back(utf8(text));
    EXPECT_EQ(messages,
              (std::vector<std::string>{"Error reading Calendar 'Alpha'", "Error reading Calendar 'Delta'",
                                        "Error reading Calendar 'Gamma'"}));
    for (const char16_t* name : {u"Alpha", u"Gamma", u"Delta"})
        EXPECT_FALSE(calendars.SubKeyExists(name));
    EXPECT_TRUE(calendars.SubKeyExists(u"Beta"));
    // Reported once: the next start finds only what loads.
    loaded = m_store.LoadAll();
    EXPECT_EQ(loaded.calendars.size(), 1u);
    EXPECT_TRUE(loaded.messages.empty());
}

} // namespace
