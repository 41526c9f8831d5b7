#include "UiTestSupport.h"

#include "platform/ui/Automation.h"
#include "platform/ui/ComboBox.h"
#include "platform/ui/Dialog.h"
#include "platform/ui/EditBox.h"
#include "platform/ui/ListBox.h"
#include "platform/ui/ListView.h"
#include "platform/ui/Slider.h"
#include "platform/ui/TreeView.h"

#include <string>
#include <vector>

namespace ui {
namespace {

// Runs a dialog whose controls the test adds, and lets `drive` work it while it is open. The
// dialog writes down every notification its controls send.
class Controls : public testing::DesktopTest {
protected:
    Controls()
    {
        dialog.setCommandHandler([this](Dialog&, int id, int code) {
            if (id == IDOK || id == IDCANCEL)
                return false;
            notifications.push_back(std::to_string(id) + ":" + std::to_string(code));
            return true;
        });
        dialog.setMessageHook([this](std::uint32_t message, WParam wParam, LParam lParam) -> std::optional<LResult> {
            if (message == WM_NOTIFY) {
                auto& header = *reinterpret_cast<const NotifyHeader*>(lParam);
                notifications.push_back(std::to_string(header.id) + ":" + std::to_string(header.code) + "@" +
                                        std::to_string(header.item));
            } else if (message == WM_HSCROLL) {
                notifications.push_back("scroll " + std::to_string(LOWORD(wParam)) + " " + std::to_string(HIWORD(wParam)));
            }
            return std::nullopt;
        });
    }

    void run(const std::function<void()>& drive)
    {
        automation.onModal([&](Window& window) {
            if (&window != &dialog)
                return;
            drive();
            automation.confirm();
        });
        EXPECT_EQ(dialog.RunModal(), IDOK);
    }

    Dialog dialog{u"Test"};
    Automation automation{desktop};
    std::vector<std::string> notifications;
};

TEST_F(Controls, ASortedListBoxKeepsItsOrderAndItemDataAndTellsOfTheSelection)
{
    auto& list = dialog.add<ListBox>(1001, 7, 10, 126, 40);
    list.setSorted(true);
    for (auto [text, data] : {std::pair{u"Sports", 3}, {u"concerts", 1}, {u"Birthdays", 2}, {u"sports", 4}})
        list.addString(text, data);
    EXPECT_EQ(list.itemText(0), u"Birthdays");
    EXPECT_EQ(list.itemText(1), u"concerts"); // ignoring case
    EXPECT_EQ(list.itemData(3), 4);           // equal texts: the later one after
    EXPECT_EQ(list.findString(-1, u"SPO"), 2);
    EXPECT_EQ(list.findStringExact(2, u"sports"), 3);
    EXPECT_EQ(list.insertString(0, u"Zed"), 0); // inserting at a place never sorts
    run([&] {
        EXPECT_TRUE(automation.selectItem(&list, u"concerts"));
        EXPECT_EQ(list.itemData(list.curSel()), 1);
    });
    EXPECT_EQ(notifications, (std::vector<std::string>{"1001:1"}));
}

TEST_F(Controls, AListBoxScrollsToItemsBelowItsEndAndOwnerDrawsThem)
{
    auto& list = dialog.add<ListBox>(1016, 7, 10, 126, 30); // about three rows
    int drawn = 0;
    list.setOwnerDraw([&](gfx::Painter&, const ListBox::DrawItem& item) { drawn += item.index >= 0; });
    for (int i = 0; i < 20; ++i)
        list.addString(device::fromUtf8("Template " + std::to_string(i)), i * 10);
    run([&] {
        EXPECT_TRUE(list.scrollBar().isNeeded());
        EXPECT_TRUE(automation.selectItem(&list, 17));
        EXPECT_GT(list.topIndex(), 10);
        EXPECT_EQ(list.itemData(list.curSel()), 170);
    });
    EXPECT_GT(drawn, 0);
}

TEST_F(Controls, ComboBoxesSelectFromTheirListsAndTheEditKindTakesTyping)
{
    auto& durations = dialog.add<ComboBox>(1004, 7, 10, 80, 100);
    for (const char16_t* text : {u"All Day", u"15 min", u"30 min", u"45 min", u"1 hr", u"2 hrs", u"4 hrs", u"8 hrs",
                                 u"2 days", u"3 days", u"1 week"})
        durations.addString(text);
    durations.setCurSel(durations.findStringExact(-1, u"All Day"));
    auto& address = dialog.add<ComboBox>(1014, 7, 40, 126, 60);
    address.setKind(ComboBox::Kind::DropDown);
    address.setSorted(true);
    address.addString(u"www.b.com");
    address.addString(u"www.a.com");
    address.insertString(0, u"tavrel"); // the fixed entry stays on top

    run([&] {
        EXPECT_EQ(durations.rect().height(), ComboBox::fieldHeight); // the rest is the dropped list
        EXPECT_TRUE(automation.selectItem(&durations, u"3 days"));   // below the first page
        EXPECT_EQ(durations.windowText(), u"3 days");
        EXPECT_FALSE(durations.isDroppedDown());

        EXPECT_EQ(address.itemText(0), u"tavrel");
        EXPECT_EQ(address.itemText(1), u"www.a.com");
        EXPECT_TRUE(automation.selectItem(&address, 2));
        EXPECT_EQ(address.windowText(), u"www.b.com");
        automation.tap(address.editField());
        automation.pressKey(VK_END);
        automation.typeText(u"/x");
        EXPECT_EQ(address.windowText(), u"www.b.com/x");
        EXPECT_EQ(address.curSel(), -1);

        // A tap outside an open list closes it unchanged.
        automation.tapAt(durations.arrowRect().centre() + durations.screenRect().topLeft());
        EXPECT_TRUE(durations.isDroppedDown());
        automation.tapAt({120, 280});
        EXPECT_FALSE(durations.isDroppedDown());
        EXPECT_EQ(durations.windowText(), u"3 days");
    });
    EXPECT_EQ(notifications, (std::vector<std::string>{"1004:7", "1004:8", "1004:1", "1014:7", "1014:8", "1014:1",
                                                       "1014:5", "1014:5", "1004:7", "1004:8"}));
}

TEST_F(Controls, AnEditBoxTypesAtItsCaretAndErases)
{
    auto& edit = dialog.add<EditBox>(1005, 7, 10, 126, 12, u"Lunh");
    run([&] {
        automation.tap(&edit);
        automation.pressKey(VK_END);
        automation.pressKey(VK_LEFT);
        automation.typeText(u"c");
        EXPECT_EQ(edit.text(), u"Lunch");
        automation.pressKey(VK_END);
        automation.typeText(u"\b\bch break");
        automation.pressKey(VK_HOME);
        automation.pressKey(VK_DELETE);
        EXPECT_EQ(edit.text(), u"unch break");
    });
    EXPECT_EQ(std::count(notifications.begin(), notifications.end(), "1005:768"), 12);
}

TEST_F(Controls, DraggingTheSliderReportsEveryPositionAndTheEnd)
{
    auto& fade = dialog.add<Slider>(300, 7, 10, 126, 14);
    fade.setRange(0, 100);
    fade.setPageSize(5);
    fade.setPosition(20);
    run([&] {
        EXPECT_TRUE(automation.dragSlider(&fade, 80));
        notifications.push_back("--");
        automation.tapAt(gfx::Point{fade.xOf(10), fade.rect().height() / 2} + fade.screenRect().topLeft());
    });
    ASSERT_GE(notifications.size(), 5u);
    // Thumb tracking with rising positions, then the position and the end of the drag.
    auto dash = std::find(notifications.begin(), notifications.end(), "--");
    EXPECT_EQ(*(dash - 1), "scroll 8 80");
    EXPECT_EQ(*(dash - 2), "scroll 4 80");
    EXPECT_EQ(*(dash - 3), "scroll 5 80");
    EXPECT_EQ(notifications.front().rfind("scroll 5 ", 0), 0u);
    // A tap on the track pages towards the pen.
    EXPECT_EQ(*(dash + 1), "scroll 2 75");
    EXPECT_EQ(fade.position(), 75);
}

TEST_F(Controls, TreeCheckBoxesToggleAndSubtreesExpand)
{
    auto& tree = dialog.add<TreeView>(1015, 7, 10, 126, 80);
    tree.setCheckBoxes(true);
    TreeItem sports = tree.insertItem(u"Sports", 0, 7);
    TreeItem music = tree.insertItem(u"Music");
    TreeItem football = tree.insertItem(u"Football", sports);
    tree.setCheck(sports, true);
    tree.setCheck(music, true);
    run([&] {
        EXPECT_TRUE(tree.rowRect(football).isEmpty()); // collapsed
        EXPECT_TRUE(automation.tapTreeExpander(&tree, sports));
        EXPECT_FALSE(tree.rowRect(football).isEmpty());
        EXPECT_TRUE(automation.tapTreeCheckBox(&tree, music));
        EXPECT_TRUE(automation.tapTreeCheckBox(&tree, football));
        EXPECT_TRUE(automation.selectTreeItem(&tree, sports));
    });
    EXPECT_TRUE(tree.check(sports));
    EXPECT_FALSE(tree.check(music));
    EXPECT_TRUE(tree.check(football));
    EXPECT_EQ(tree.itemData(tree.root()), 7);
    EXPECT_EQ(tree.nextSibling(tree.root()), music);
    EXPECT_EQ(tree.parentOf(football), sports);
    auto count = [&](const std::string& text) { return std::count(notifications.begin(), notifications.end(), text); };
    EXPECT_EQ(count("1015:-406@" + std::to_string(sports)), 1);
    EXPECT_EQ(count("1015:-490@" + std::to_string(music)), 1);
    EXPECT_EQ(count("1015:-402@" + std::to_string(sports)), 1);
}

TEST_F(Controls, AListViewWithAnImageListSelectsByTap)
{
    ImageList images;
    images.add(gfx::Surface(16, 16, gfx::colours::red));
    images.add(gfx::Surface(32, 32, gfx::colours::blue)); // scaled to fit
    EXPECT_EQ(images.picture(1).size(), (gfx::Size{16, 16}));
    auto& view = dialog.add<ListView>(1013, 7, 10, 126, 90);
    view.setImageList(&images);
    for (int i = 0; i < 12; ++i)
        view.insertItem(i, device::fromUtf8("Icon" + std::to_string(i) + ".gif"), i % 2, 100 + i);
    run([&] {
        EXPECT_TRUE(automation.selectItem(&view, 2));
        EXPECT_TRUE(automation.selectItem(&view, 11));
        EXPECT_EQ(view.itemData(view.selection()), 111);
        gfx::Rect row = view.itemRect(11).translated(view.screenRect().topLeft());
        EXPECT_EQ(desktop.screen().pixel(row.left + 6, row.top + 6), gfx::colours::blue); // its picture
    });
    EXPECT_EQ(notifications[0], "1013:-101@2");
    EXPECT_EQ(notifications[1], "1013:-2@2");
}

} // namespace
} // namespace ui
