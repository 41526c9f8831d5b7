#include "UiTestSupport.h"

#include "platform/ui/Automation.h"
#include "platform/ui/CheckBox.h"
#include "platform/ui/ComboBox.h"
#include "platform/ui/Dialog.h"
#include "platform/ui/EditBox.h"
#include "platform/ui/Label.h"
#include "platform/ui/ListBox.h"
#include "platform/ui/MessageBox.h"
#include "platform/ui/NavigationBar.h"
#include "platform/ui/Picture.h"
#include "platform/ui/PushButton.h"

#include <thread>

namespace ui {
namespace {

using FocusAndKeys = testing::DesktopTest;

TEST_F(FocusAndKeys, TabWalksTheFocusableControlsAndReturnPressesTheDefaultButton)
{
    Dialog dialog(u"Details");
    auto& first = dialog.add<EditBox>(1, 7, 10, 100, 12);
    dialog.add<Label>(IDSTATIC, 7, 30, 100, 12, u"not a stop");
    auto& second = dialog.add<CheckBox>(2, 7, 50, 100, 12, u"Check");
    auto& third = dialog.add<ListBox>(3, 7, 70, 100, 30);
    auto& snooze = dialog.add<PushButton>(1005, 7, 110, 40, 14, u"Snooze");
    snooze.setDefault(true);
    std::vector<int> clicked;
    dialog.setCommandHandler([&](Dialog&, int id, int code) {
        if (id == 1005)
            clicked.push_back(code);
        return id == 1005;
    });
    Automation automation(desktop);
    automation.onModal([&](Window&) {
        EXPECT_EQ(desktop.focus(), &first); // the first stop has the focus when the dialog opens
        automation.pressKey(VK_TAB);
        EXPECT_EQ(desktop.focus(), &second);
        automation.pressKey(VK_SPACE); // toggles the focused check box
        EXPECT_TRUE(second.isChecked());
        automation.pressKey(VK_TAB);
        EXPECT_EQ(desktop.focus(), &third);
        automation.pressKey(VK_TAB);
        EXPECT_EQ(desktop.focus(), &first); // round again
        automation.pressKey(VK_RETURN);      // the edit box leaves Return to the dialog
        EXPECT_EQ(clicked, (std::vector<int>{BN_CLICKED}));
        EXPECT_TRUE(dialog.isRunning()); // the default button was pressed, not OK
        automation.confirm();
    });
    EXPECT_EQ(dialog.RunModal(), IDOK);
}

TEST_F(FocusAndKeys, TheFocusComesBackToTheFrameWhenADialogEnds)
{
    Window frame, view;
    frame.createTopLevel({0, 26, 240, 320}, u"Tavrel");
    view.create(&frame, {0, 0, 240, 268});
    view.setFocus();
    std::vector<std::string> activations;
    frame.setMessageHook([&](std::uint32_t message, WParam wParam, LParam) -> std::optional<LResult> {
        if (message == WM_ACTIVATE)
            activations.push_back(wParam == WA_ACTIVE ? "active" : "inactive");
        return std::nullopt;
    });
    Automation automation(desktop);
    automation.onModal([&](Window&) { automation.confirm(); });
    Dialog dialog(u"About Tavrel");
    dialog.RunModal();
    EXPECT_EQ(activations, (std::vector<std::string>{"inactive", "active"}));
    EXPECT_EQ(desktop.focus(), &view);
}

TEST_F(FocusAndKeys, DisabledControlsTakeNoTapAndDrawGrey)
{
    Dialog dialog(u"Rules");
    auto& edit = dialog.add<PushButton>(1008, 7, 10, 40, 14, u"&Edit");
    edit.enable(false);
    int clicks = 0;
    dialog.setCommandHandler([&](Dialog&, int id, int) { return id == 1008 && ++clicks; });
    Automation automation(desktop);
    automation.onModal([&](Window&) {
        automation.tap(&edit);
        edit.enable(true);
        automation.tapText(u"Edit"); // "&Edit" found without its prefix
        automation.confirm();
    });
    dialog.RunModal();
    EXPECT_EQ(clicks, 1);
}

TEST_F(FocusAndKeys, ListAndComboSelectionsFollowTheKeysAndDeletions)
{
    Dialog dialog(u"Lists");
    auto& list = dialog.add<ListBox>(1, 7, 10, 100, 40);
    auto& combo = dialog.add<ComboBox>(2, 7, 60, 100, 60);
    for (const char16_t* text : {u"a", u"b", u"c"}) {
        list.addString(text);
        combo.addString(text);
    }
    Automation automation(desktop);
    automation.onModal([&](Window&) {
        list.setFocus();
        automation.pressKey(VK_DOWN);
        automation.pressKey(VK_DOWN);
        EXPECT_EQ(list.curSel(), 1);
        list.deleteString(0);
        EXPECT_EQ(list.curSel(), 0); // still "b"
        list.deleteString(0);
        EXPECT_EQ(list.curSel(), -1);
        combo.setFocus();
        automation.pressKey(VK_DOWN);
        automation.pressKey(VK_DOWN);
        automation.pressKey(VK_DOWN);
        automation.pressKey(VK_DOWN);
        EXPECT_EQ(combo.windowText(), u"c");
        automation.confirm();
    });
    dialog.RunModal();
}

TEST_F(FocusAndKeys, ReadOnlyAndLimitedEditBoxes)
{
    Dialog dialog(u"Edits");
    auto& fixed = dialog.add<EditBox>(1, 7, 10, 100, 12, u"fixed");
    fixed.setReadOnly(true);
    auto& shortBox = dialog.add<EditBox>(2, 7, 30, 100, 12);
    shortBox.setLimit(3);
    Automation automation(desktop);
    automation.onModal([&](Window&) {
        automation.tap(&fixed);
        automation.typeText(u"xy\b");
        automation.tap(&shortBox);
        automation.typeText(u"abcdef");
        automation.confirm();
    });
    dialog.RunModal();
    EXPECT_EQ(fixed.text(), u"fixed");
    EXPECT_EQ(shortBox.text(), u"abc");
}

TEST_F(FocusAndKeys, YesNoCancelBoxesAndTheNavigationBarsOk)
{
    Automation automation(desktop);
    automation.onModal([&](Window& window) {
        auto* box = dynamic_cast<MessageBoxDialog*>(&window);
        ASSERT_TRUE(box);
        EXPECT_EQ(box->buttons(), (std::vector<int>{IDYES, IDNO, IDCANCEL}));
        EXPECT_TRUE(desktop.navigationBar().okRect().isEmpty()); // only OK boxes take "ok"
        automation.cancel();
    });
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(messageBox(nullptr, u"Save?", u"Tavrel", MB_YESNOCANCEL | MB_DEFBUTTON3), IDCANCEL);
    automation.onModal([&](Window&) {
        gfx::Rect ok = desktop.navigationBar().okRect();
        ASSERT_FALSE(ok.isEmpty());
        automation.tapAt(ok.centre());
    });
    EXPECT_EQ(messageBox(nullptr, u"Done.", u"Tavrel", MB_OK), IDOK);
    ::testing::internal::GetCapturedStderr();
}

TEST_F(FocusAndKeys, LabelsAndPicturesTellWhereTheyWereTapped)
{
    Dialog dialog(u"Attached Calendars");
    auto& links = dialog.addAt<Picture>(1001, {30, 100, 210, 130});
    links.setNotify(true);
    links.setPicture(gfx::Surface(180, 30, gfx::colours::blue));
    auto& label = dialog.addAt<Label>(1002, {30, 140, 210, 160}, u"Links");
    label.setNotify(true);
    std::vector<int> tapped;
    dialog.setCommandHandler([&](Dialog&, int id, int code) {
        if (id != 1001 && id != 1002)
            return false;
        tapped.push_back(id);
        return true;
    });
    Automation automation(desktop);
    automation.onModal([&](Window&) {
        automation.tapAt(links.toScreen({150, 10}));
        automation.tap(&label);
        EXPECT_EQ(desktop.screen().pixel(links.toScreen({90, 15}).x, links.toScreen({90, 15}).y), gfx::colours::blue);
        automation.confirm();
    });
    dialog.RunModal();
    EXPECT_EQ(tapped, (std::vector<int>{1001, 1002}));
    EXPECT_EQ(links.lastTap(), (gfx::Point{150, 10}));
}

TEST_F(FocusAndKeys, ASenderWaitingOnAWindowThatIsDestroyedIsReleased)
{
    auto window = std::make_unique<Window>();
    window->createTopLevel({0, 26, 240, 320}, u"Doomed");
    WindowHandle handle = window->handle();
    std::atomic<bool> queued{false};
    LResult result = -1;
    window->setMessageHook([&](std::uint32_t message, WParam, LParam) -> std::optional<LResult> {
        return message == WM_USER ? std::optional<LResult>(5) : std::nullopt;
    });
    std::thread sender([&] {
        queued = true;
        result = desktop.send(handle, WM_USER);
    });
    while (!queued)
        std::this_thread::yield();
    std::this_thread::sleep_for(std::chrono::milliseconds(20)); // let the request reach the queue
    window.reset();                                             // destroyed before the loop handles it
    desktop.runUntilIdle();
    sender.join();
    EXPECT_EQ(result, 0);
}

} // namespace
} // namespace ui
