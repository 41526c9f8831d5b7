// "Attached..." in the started program: the dialog's list made the program's — saved, removed,
// attached again under the same name from elsewhere — and category flags changed in a dialog that
// is then cancelled.

#include "MainFrameTestSupport.h"

#include "CalendarDocument.h"
#include "LoopbackServer.h"

#include "common/QoRegistry.h"
#include "platform/ui/ListBox.h"
#include "platform/ui/TreeView.h"
#include "remote/AttachedCalendarsDlg.h"
#include "remote/CategoriesDlg.h"
#include "remote/TavrelRemoteCalendar.h"
#include "shell/TavrelCommands.h"

#include <fstream>

namespace {

using namespace shell_testing;
using testing_support::CalendarDocument;
using testing_support::LoopbackServer;

CalendarDocument sports(const std::string& copyright)
{
    CalendarDocument document;
    document.copyright = copyright;
    document.categories = {{"Soccer", {{"Final", "12/20/26", "15:30", "17:45", "ball.gif"}}},
                           {"Tennis", {{"Open day", "12/12/26", "", "", "racket.gif"}}}};
    return document;
}

class AttachedCalendarsCommandTest : public StartedProgram {
protected:
    void SetUp() override
    {
        m_served = device.root() / "served";
        std::filesystem::create_directories(m_served / "a");
        std::filesystem::create_directories(m_served / "b");
        std::ofstream(m_served / "a" / "Sports.xml") << sports("(c) Desk A").text();
        std::ofstream(m_served / "b" / "Sports.xml") << sports("(c) Desk B").text();
        m_http = std::make_unique<LoopbackServer>(LoopbackServer::Kind::Http, m_served);
        ASSERT_TRUE(Start());
    }

    CQoString Url(const std::string& path) const { return CQoString(device::fromUtf8(m_http->url(path)).c_str()); }

    // Runs "Attached..." with `inside` run in the dialog, which is then closed with `result`.
    void Attached(const std::function<void(CAttachedCalendarsDlg&)>& inside, int result = ui::IDOK)
    {
        onDialog = [&](ui::Window& window) {
            if (auto* attached = dynamic_cast<CAttachedCalendarsDlg*>(&window)) {
                inside(*attached);
                attached->endDialog(result);
            } else if (auto* categories = dynamic_cast<CCategoriesDlg*>(&window)) {
                auto* tree = categories->controlAs<ui::TreeView>(CCategoriesDlg::IDC_CATEGORIES);
                automation.tapTreeCheckBox(tree, tree->root()); // the first category, Soccer
                automation.confirm();
            }
        };
        Command(ID_CALENDAR_ATTACHED);
        onDialog = {};
    }

    void SelectAndPress(CAttachedCalendarsDlg& dialog, const char16_t* name, int button)
    {
        automation.selectItem(dialog.controlAs<ui::ListBox>(CAttachedCalendarsDlg::IDC_CALENDARS), name);
        automation.tap(dialog.control(button));
    }

    std::string Stored(const char16_t* key, const char16_t* value)
    {
        CQoRegistry calendars(HKEY_CURRENT_USER, u"Software\\Orvix\\Tavrel\\Calendars", false);
        CQoRegistry entry(calendars.GetKey(), key, false);
        if (!entry.IsOpen())
            return "(none)";
        return entry.ValueExists(value)
            ? (value == std::u16string_view(u"Visible") ? std::to_string(entry.GetDWORD(value, 9))
                                                        : Utf8(entry.GetString(value, nullptr).View()))
            : "(none)";
    }

    std::filesystem::path m_served;
    std::unique_ptr<LoopbackServer> m_http;
};

TEST_F(AttachedCalendarsCommandTest, RemovedAndAttachedAgainUnderItsNameIsStoredAnew)
{
    Attached([&](CAttachedCalendarsDlg& dialog) { EXPECT_TRUE(dialog.Attach(Url("a/Sports.xml"))); });
    EXPECT_EQ(Utf8(app->GetCurrentCalendarName().View()), "Sports");
    EXPECT_EQ(Stored(u"Sports", u"URL"), m_http->url("a/Sports.xml"));

    // Removed, then the same name attached from another desk: the new one is what is kept.
    Attached([&](CAttachedCalendarsDlg& dialog) {
        SelectAndPress(dialog, u"Sports", CAttachedCalendarsDlg::IDC_REMOVE);
        EXPECT_TRUE(dialog.Attach(Url("b/Sports.xml")));
    });
    EXPECT_EQ(Stored(u"Sports", u"URL"), m_http->url("b/Sports.xml"));
    ASSERT_EQ(app->GetCalendarData().GetRemoteCalendars().size(), 1u);
    EXPECT_EQ(Utf8(app->FindCalendar(u"Sports")->GetCopyright().View()), "(c) Desk B");
    EXPECT_TRUE(messages.empty()) << messages.front();

    // Its categories: hidden in a dialog that is then cancelled, stored at once and shown so.
    Attached(
        [&](CAttachedCalendarsDlg& dialog) {
            SelectAndPress(dialog, u"Sports", CAttachedCalendarsDlg::IDC_CATEGORIES);
        },
        ui::IDCANCEL);
    EXPECT_EQ(Stored(u"Sports\\Soccer", u"Visible"), "0");
    EXPECT_FALSE(app->FindCalendar(u"Sports")->FindCategory(u"Soccer")->IsVisible());
    EXPECT_TRUE(app->FindCalendar(u"Sports")->FindCategory(u"Tennis")->IsVisible());
}

// A calendar hidden in the dialog that attaches it has no registry key until OK: cancelling leaves
// no entry without an address behind, and OK takes its flags along.
TEST_F(AttachedCalendarsCommandTest, FlagsOfACalendarAttachedInTheDialogGoWithItOnOk)
{
    Attached(
        [&](CAttachedCalendarsDlg& dialog) {
            EXPECT_TRUE(dialog.Attach(Url("a/Sports.xml")));
            SelectAndPress(dialog, u"Sports", CAttachedCalendarsDlg::IDC_CATEGORIES);
        },
        ui::IDCANCEL);
    EXPECT_EQ(Stored(u"Sports", u"URL"), "(none)");
    EXPECT_FALSE(CQoRegistry(HKEY_CURRENT_USER, u"Software\\Orvix\\Tavrel\\Calendars", false).SubKeyExists(u"Sports"));
    EXPECT_TRUE(app->GetCalendarData().GetRemoteCalendars().empty());

    Attached([&](CAttachedCalendarsDlg& dialog) {
        EXPECT_TRUE(dialog.Attach(Url("a/Sports.xml")));
        SelectAndPress(dialog, u"Sports", CAttachedCalendarsDlg::IDC_CATEGORIES);
    });
    EXPECT_EQ(Stored(u"Sports", u"URL"), m_http->url("a/Sports.xml"));
    EXPECT_EQ(Stored(u"Sports\\Soccer", u"Visible"), "0");
    EXPECT_EQ(Stored(u"Sports\\Tennis", u"Visible"), "1");
    EXPECT_FALSE(app->FindCalendar(u"Sports")->FindCategory(u"Soccer")->IsVisible());
}

} // namespace
