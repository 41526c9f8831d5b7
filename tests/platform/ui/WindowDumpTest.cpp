// The dump format is read by scripts and by the tests of every dialog: these tests pin it.

#include "UiTestSupport.h"

#include "platform/ui/Automation.h"
#include "platform/ui/CheckBox.h"
#include "platform/ui/ComboBox.h"
#include "platform/ui/Dialog.h"
#include "platform/ui/EditBox.h"
#include "platform/ui/FrameWindow.h"
#include "platform/ui/Label.h"
#include "platform/ui/ListBox.h"
#include "platform/ui/ListView.h"
#include "platform/ui/MessageBox.h"
#include "platform/ui/PopupMenu.h"
#include "platform/ui/PushButton.h"
#include "platform/ui/Slider.h"
#include "platform/ui/TreeView.h"
#include "platform/ui/WindowDump.h"

namespace ui {
namespace {

using Dump = testing::DesktopTest;

TEST_F(Dump, ADialogIsItsTitleThenEveryControlWithItsStateAndItems)
{
    Dialog dialog(u"Rule Details");
    dialog.setId(130);
    dialog.add<Label>(IDSTATIC, 7, 4, 40, 10, u"&Name:");
    dialog.add<EditBox>(1001, 50, 4, 80, 12, u"Birthday \"Ann\"");
    dialog.add<CheckBox>(1002, 7, 20, 80, 12, u"Remind me").setChecked(true);
    auto& colours = dialog.add<ListBox>(1003, 7, 36, 60, 30);
    colours.addString(u"Red");
    colours.addString(u"Green");
    colours.setCurSel(1);
    auto& snooze = dialog.add<ComboBox>(1004, 70, 36, 60, 60);
    snooze.addString(u"5 min");
    snooze.addString(u"10 min");
    snooze.setCurSel(0);
    auto& fade = dialog.add<Slider>(1005, 7, 70, 100, 12);
    fade.setRange(0, 10);
    fade.setPosition(3);
    auto& tree = dialog.add<TreeView>(1006, 7, 86, 60, 40);
    tree.setCheckBoxes(true);
    TreeItem sports = tree.insertItem(u"Sports");
    tree.setCheck(tree.insertItem(u"Tennis", sports), true);
    auto& files = dialog.add<ListView>(1008, 70, 86, 60, 40);
    files.insertItem(0, u"a\tb.txt");
    dialog.add<PushButton>(1007, 7, 130, 40, 14, u"Delete").enable(false);
    dialog.add<PushButton>(IDOK, 60, 130, 40, 14, u"Done").setDefault(true);

    std::string dump;
    Automation automation(desktop);
    automation.onModal([&](Window&) {
        dump = WindowDump::describe(desktop);
        automation.cancel();
    });
    dialog.RunModal();
    EXPECT_EQ(dump, "window dialog id=130 ok=1 text=\"Rule Details\"\n"
                    "control -1 label shown=1 enabled=1 focused=0 checked=- selection=- text=\"&Name:\"\n"
                    "control 1001 edit shown=1 enabled=1 focused=1 checked=- selection=- readonly=0 "
                    "text=\"Birthday \\\"Ann\\\"\"\n"
                    "control 1002 checkbox shown=1 enabled=1 focused=0 checked=1 selection=- text=\"Remind me\"\n"
                    "control 1003 listbox shown=1 enabled=1 focused=0 checked=- selection=1 count=2 text=\"\"\n"
                    "item 1003 0 selected=0 text=\"Red\"\n"
                    "item 1003 1 selected=1 text=\"Green\"\n"
                    "control 1004 combobox shown=1 enabled=1 focused=0 checked=- selection=0 editable=0 dropped=0 "
                    "count=2 text=\"5 min\"\n"
                    "item 1004 0 selected=1 text=\"5 min\"\n"
                    "item 1004 1 selected=0 text=\"10 min\"\n"
                    "control 1005 slider shown=1 enabled=1 focused=0 checked=- selection=- position=3 range=0..10 "
                    "text=\"\"\n"
                    "control 1006 treeview shown=1 enabled=1 focused=0 checked=- selection=-1 count=2 text=\"\"\n"
                    "item 1006 0 selected=0 depth=0 expanded=0 checked=0 text=\"Sports\"\n"
                    "item 1006 1 selected=0 depth=1 expanded=0 checked=1 text=\"Tennis\"\n"
                    "control 1008 listview shown=1 enabled=1 focused=0 checked=- selection=-1 count=1 text=\"\"\n"
                    "item 1008 0 selected=0 text=\"a\\tb.txt\"\n"
                    "control 1007 button shown=1 enabled=0 focused=0 checked=- selection=- default=0 text=\"Delete\"\n"
                    "control 1 button shown=1 enabled=1 focused=0 checked=- selection=- default=1 text=\"Done\"\n");
}

TEST_F(Dump, AMessageBoxShowsItsTextAndButtonsAndAFrameItsCommandBarAndOpenMenu)
{
    std::string box;
    Automation automation(desktop);
    automation.onModal([&](Window&) {
        box = WindowDump::describe(desktop);
        automation.cancel();
    });
    messageBox(nullptr, u"Delete this appointment?\nIt repeats.", u"Appointment", MB_YESNO | MB_DEFBUTTON2);
    EXPECT_EQ(box, "window message-box id=0 ok=0 text=\"Appointment\"\n"
                   "message text=\"Delete this appointment?\\nIt repeats.\"\n"
                   "control 6 button shown=1 enabled=1 focused=0 checked=- selection=- default=0 text=\"Yes\"\n"
                   "control 7 button shown=1 enabled=1 focused=0 checked=- selection=- default=1 text=\"No\"\n");

    FrameWindow frame;
    ASSERT_TRUE(frame.create(u"Tavrel"));
    Menu menu;
    menu.append(u"Combined", 32776, MF_CHECKED);
    menu.appendSeparator();
    menu.appendSubmenu(u"&View").append(u"&Weekly", 32806);
    menu.append(u"Exit", 32791, MF_GRAYED);
    frame.commandBar().setMenu(u"Calendar", menu);
    frame.commandBar().addButton(32792, gfx::Surface(16, 16, gfx::colours::lightGrey), u"Next");
    frame.commandBar().setToolTips({u"Calendar", u"Next"});
    desktop.runUntilIdle();

    std::string shown;
    automation.onModal([&](Window&) {
        shown = WindowDump::describe(desktop);
        automation.cancel();
    });
    automation.tapAt(frame.commandBar().menuButtonRect().centre() + frame.commandBar().screenRect().topLeft());
    EXPECT_EQ(shown, "window frame id=0 ok=0 text=\"Tavrel\"\n"
                     "control 0 commandbar shown=1 enabled=1 focused=0 checked=- selection=- count=1 "
                     "text=\"Calendar\"\n"
                     "item 0 0 selected=0 id=32792 enabled=1 checked=0 text=\"Next\"\n"
                     "menu 0 0 id=32776 enabled=1 checked=1 submenu=0 selected=0 text=\"Combined\"\n"
                     "menu 0 1 separator\n"
                     "menu 0 2 id=0 enabled=1 checked=0 submenu=1 selected=0 text=\"&View\"\n"
                     "menu 0 3 id=32791 enabled=0 checked=0 submenu=0 selected=0 text=\"Exit\"\n");
}

TEST_F(Dump, NoForegroundWindowIsSaidSoAndTextsAreEscaped)
{
    EXPECT_EQ(WindowDump::describe(desktop), "window none\n");
    EXPECT_EQ(WindowDump::quote(u"C:\\a \"b\"\r\n\t\u00e9"), "\"C:\\\\a \\\"b\\\"\\r\\n\\t\xc3\xa9\"");
}

} // namespace
} // namespace ui
