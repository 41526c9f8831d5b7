#include "UiTestSupport.h"

#include "platform/ui/Automation.h"
#include "platform/ui/CheckBox.h"
#include "platform/ui/Dialog.h"
#include "platform/ui/EditBox.h"
#include "platform/ui/MessageBox.h"
#include "platform/ui/NavigationBar.h"
#include "platform/ui/PushButton.h"
#include "platform/ui/WaitCursor.h"

namespace ui {
namespace {

using Dialogs = testing::DesktopTest;

TEST_F(Dialogs, DialogUnitsFillTheAreaBetweenTheBarsWithAFullScreenTemplate)
{
    EXPECT_EQ(DialogUnits::toPixels(0, 0, 140, 153), (gfx::Rect{0, 0, 240, 268}));
    // The reminder dialog's "Snooze" button at 7, 132, 34, 14.
    EXPECT_EQ(DialogUnits::toPixels(7, 132, 34, 14), (gfx::Rect{12, 231, 70, 256}));
}

TEST_F(Dialogs, RunModalTakesOkInTheNavigationBarAndReturnsIdok)
{
    Window frame;
    frame.createTopLevel({0, 26, 240, 320}, u"Tavrel");
    Dialog dialog(u"QoLog Config", 139, 103);
    auto& logging = dialog.add<CheckBox>(1000, 7, 20, 120, 12, u"Tavrel");
    Automation automation(desktop);
    automation.onModal([&](Window& window) {
        EXPECT_EQ(&window, &dialog);
        EXPECT_EQ(automation.foregroundDialog(), &dialog);
        EXPECT_EQ(desktop.navigationBar().title(), u"QoLog Config");
        EXPECT_FALSE(desktop.navigationBar().okRect().isEmpty());
        EXPECT_FALSE(frame.isEnabled()); // the frame waits behind the dialog
        EXPECT_TRUE(automation.setChecked(dynamic_cast<CheckBox*>(automation.findByText(u"Tavrel")), true));
        automation.confirm();
    });
    EXPECT_EQ(dialog.RunModal(), IDOK);
    EXPECT_TRUE(logging.isChecked()); // the control keeps its state for the caller
    EXPECT_FALSE(dialog.exists());
    EXPECT_TRUE(frame.isEnabled());
    EXPECT_EQ(desktop.foreground(), &frame);
}

TEST_F(Dialogs, OkCanBeRefusedUntilTheInputIsValidAndEscapeCancels)
{
    Dialog dialog(u"Template Details");
    auto& subject = dialog.add<EditBox>(1005, 7, 10, 120, 12);
    int refusals = 0;
    dialog.setOkHandler([&](Dialog&) {
        if (!subject.text().empty())
            return true;
        ++refusals;
        return false;
    });
    Automation automation(desktop);
    automation.onModal([&](Window&) {
        automation.confirm(); // refused: the subject is empty
        EXPECT_TRUE(dialog.isRunning());
        automation.tap(&subject);
        automation.typeText(u"Lunch");
        automation.pressKey(VK_RETURN);
    });
    EXPECT_EQ(dialog.RunModal(), IDOK);
    EXPECT_EQ(refusals, 1);
    EXPECT_EQ(subject.text(), u"Lunch");

    automation.onModal([&](Window&) { automation.cancel(); });
    EXPECT_EQ(dialog.RunModal(), IDCANCEL); // a dialog runs again with its controls kept
    EXPECT_EQ(subject.text(), u"Lunch");
}

TEST_F(Dialogs, NestedDialogsReturnTheirOwnResults)
{
    Dialog outer(u"Rules");
    outer.add<PushButton>(1007, 7, 100, 40, 14, u"&Add");
    Dialog inner(u"Rule Details");
    int innerResult = 0;
    outer.setCommandHandler([&](Dialog& self, int id, int code) {
        if (id != 1007)
            return false;
        innerResult = inner.RunModal();
        return true;
    });
    Automation automation(desktop);
    automation.onModal([&](Window& window) {
        if (&window == &outer) {
            automation.tapText(u"Add");
            EXPECT_EQ(automation.foregroundDialog(), &outer); // back on top once the inner one ended
            automation.cancel();
        } else if (&window == &inner) {
            EXPECT_FALSE(outer.isEnabled());
            inner.endDialog(IDYES);
        }
    });
    EXPECT_EQ(outer.RunModal(), IDCANCEL);
    EXPECT_EQ(innerResult, IDYES);
}

TEST_F(Dialogs, MessageBoxDefaultsAndAnswers)
{
    Automation automation(desktop);
    std::vector<std::pair<int, int>> defaults; // (default, escape) per box
    automation.onModal([&](Window& window) {
        auto* box = dynamic_cast<MessageBoxDialog*>(&window);
        ASSERT_TRUE(box);
        defaults.emplace_back(box->defaultResult(), box->escapeResult());
        automation.pressKey(VK_RETURN);
    });
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(messageBox(nullptr, u"Delete selected template?", u"Tavrel", MB_YESNO), IDYES);
    EXPECT_EQ(messageBox(nullptr, u"Is this what you want to do?", u"Tavrel", MB_YESNO | MB_DEFBUTTON2), IDNO);
    EXPECT_EQ(messageBox(nullptr, u"Host not responding", u"", MB_OK), IDOK);
    std::string written = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(defaults, (std::vector<std::pair<int, int>>{{IDYES, IDNO}, {IDNO, IDNO}, {IDOK, IDOK}}));
    EXPECT_NE(written.find("message-box: Tavrel: Delete selected template?\n"), std::string::npos);
    EXPECT_NE(written.find("message-box: Error: Host not responding\n"), std::string::npos);

    // Tapping the buttons, and a top-most box above a top-most dialog.
    automation.onModal([&](Window& window) {
        if (auto* box = dynamic_cast<MessageBoxDialog*>(&window)) {
            EXPECT_TRUE(box->isTopMost());
            EXPECT_EQ(desktop.foreground(), box);
            gfx::Rect area = box->screenRect();
            EXPECT_EQ(area.left + area.right, 240); // centred
            automation.tapText(u"No");
        }
    });
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(messageBox(nullptr, u"Line one\nline two", u"Varnow Reminder", MB_YESNO | MB_TOPMOST), IDNO);
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "message-box: Varnow Reminder: Line one\\nline two\n");
}

TEST(MessageBoxLine, NoControlCharacterOfTheTextReachesTheTerminal)
{
    // A control application chooses the text of "Unknown Control Message" boxes: escape sequences
    // that would retitle the terminal, clear it or ring it arrive as visible escapes.
    const std::u16string text = u"Bogus\x1B]0;owned\x07\x1B[2J\r\n\tnext\rover\x7F\u009B31m\\My Documents \u00E9";
    const std::string line = MessageBoxDialog::headlessLine(u"Tav\x1Brel", text);
    EXPECT_EQ(line, "message-box: Tav\\x1Brel: Bogus\\x1B]0;owned\\x07\\x1B[2J\\n\\tnext\\rover\\x7F\\u009B31m"
                    "\\My Documents \xC3\xA9");
    for (unsigned char c : line)
        EXPECT_FALSE(c < 0x20 || c == 0x7F) << "control byte " << int(c);
    EXPECT_EQ(line.find("\xC2\x9B"), std::string::npos) << "no C1 control in UTF-8 either";
}

TEST_F(Dialogs, TheWaitCursorShowsAtOnceAndGoesWithItsScope)
{
    desktop.updateNow();
    gfx::Colour before = desktop.screen().pixel(120, 150);
    {
        WaitCursor busy;
        EXPECT_TRUE(desktop.isWaitCursorShown());
        EXPECT_NE(desktop.screen().pixel(120, 150), before); // painted before the work starts
        WaitCursor nested;
    }
    EXPECT_FALSE(desktop.isWaitCursorShown());
    desktop.runUntilIdle();
    EXPECT_EQ(desktop.screen().pixel(120, 150), before);
}

} // namespace
} // namespace ui
