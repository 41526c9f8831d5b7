// The plain data parts of the platform: menus, item lists, timers, the hold recogniser, dialog
// units and the scroll bar's arithmetic.

#include "platform/ui/DialogUnits.h"
#include "platform/ui/HoldGesture.h"
#include "platform/ui/Menu.h"
#include "platform/ui/MessageQueue.h"
#include "platform/ui/ScrollBar.h"
#include "platform/ui/StringList.h"
#include "platform/ui/TimerSet.h"

#include <gtest/gtest.h>

#include <thread>

namespace ui {
namespace {

Menu calendarMenu()
{
    Menu menu;
    menu.append(u"Combined", 32776);
    menu.append(u"Attached...", 32799);
    menu.appendSeparator();
    Menu& view = menu.appendSubmenu(u"&View");
    view.append(u"&Daily", 32805);
    view.append(u"&Monthly", 32807);
    menu.append(u"Exit", 32791);
    return menu;
}

TEST(MenuModel, ItemsAreFoundByCommandInSubmenusAndByPositionInTheMenuItself)
{
    Menu menu = calendarMenu();
    EXPECT_EQ(menu.check(32807, MF_BYCOMMAND | MF_CHECKED), int(MF_UNCHECKED));
    EXPECT_TRUE(menu.isChecked(32807)); // inside "&View"
    EXPECT_EQ(menu.check(32807, MF_BYCOMMAND), int(MF_CHECKED));
    EXPECT_FALSE(menu.isChecked(32807));
    EXPECT_EQ(menu.check(4444, MF_BYCOMMAND), -1);

    EXPECT_EQ(menu.enable(1, MF_BYPOSITION | MF_GRAYED), int(MF_ENABLED));
    EXPECT_FALSE(menu.isEnabled(32799));
    EXPECT_EQ(menu.enable(32799, MF_BYCOMMAND | MF_ENABLED), int(MF_GRAYED));

    // Inserting before a command that lives in a submenu inserts into that submenu.
    EXPECT_TRUE(menu.insert(32807, MF_BYCOMMAND, 32806, u"&Weekly"));
    EXPECT_EQ(menu.submenu(3)->item(1).id, 32806);
    EXPECT_FALSE(menu.insert(4444, MF_BYCOMMAND, 1, u"Nowhere"));
    EXPECT_TRUE(menu.insert(99, MF_BYPOSITION, 32801, u"Last")); // past the end appends
    EXPECT_EQ(menu.item(menu.count() - 1).id, 32801);

    EXPECT_TRUE(menu.remove(32806, MF_BYCOMMAND));
    EXPECT_EQ(menu.submenu(3)->count(), 2u);
    EXPECT_TRUE(menu.remove(2, MF_BYPOSITION)); // the separator
    EXPECT_FALSE(menu.item(2).separator);
    EXPECT_FALSE(menu.remove(50, MF_BYPOSITION));
}

TEST(MenuModel, TextsAreShownWithoutPrefixesAndCopiesAreDeep)
{
    EXPECT_EQ(Menu::displayText(u"&Rules..."), u"Rules...");
    EXPECT_EQ(Menu::displayText(u"Fish && Chips"), u"Fish & Chips");
    Menu menu = calendarMenu();
    ASSERT_TRUE(menu.findText(u"monthly"));
    EXPECT_EQ(menu.findText(u"monthly")->id, 32807);
    Menu copy = menu;
    copy.checkCommand(32805, true);
    EXPECT_FALSE(menu.isChecked(32805));
    EXPECT_TRUE(menu.setText(32776, MF_BYCOMMAND, u"All"));
    EXPECT_EQ(menu.item(0).text, u"All");
}

TEST(StringListModel, SortedInsertsGoAfterEqualTextsAndSearchesWrap)
{
    StringList list;
    list.setSorted(true);
    EXPECT_EQ(list.add(u"b"), 0);
    EXPECT_EQ(list.add(u"A"), 0);
    EXPECT_EQ(list.add(u"B", 7), 2);
    EXPECT_EQ(list.at(2).data, 7);
    EXPECT_EQ(list.findExact(-1, u"b"), 1);
    EXPECT_EQ(list.findExact(1, u"b"), 2);
    EXPECT_EQ(list.findExact(2, u"b"), 1); // wraps around
    EXPECT_EQ(list.findPrefix(-1, u"x"), -1);
    EXPECT_EQ(list.insert(-1, u"0"), 3); // insert never sorts
    EXPECT_FALSE(list.remove(9));
    StringList empty;
    EXPECT_EQ(empty.findExact(-1, u"a"), -1);
}

TEST(StringListModel, TheSelectionFollowsItsItemAndGoesWithIt)
{
    StringList list;
    list.setSorted(true);
    list.add(u"b");
    list.add(u"d");
    EXPECT_FALSE(list.select(2));
    EXPECT_TRUE(list.select(1)); // "d"
    list.add(u"a");
    list.insert(1, u"x");
    EXPECT_EQ(list.selection(), 3);
    EXPECT_TRUE(list.remove(0));
    EXPECT_EQ(list.selection(), 2);
    EXPECT_TRUE(list.remove(2));
    EXPECT_EQ(list.selection(), -1);
    EXPECT_EQ(list.textAt(5), u"");
    EXPECT_EQ(list.dataAt(5), -1);
    EXPECT_FALSE(list.setDataAt(5, 1));
    EXPECT_TRUE(list.select(0));
    list.clear();
    EXPECT_EQ(list.selection(), -1);
}

TEST(TimerModel, ResettingRestartsAndTiesFireInSettingOrder)
{
    TimerSet timers;
    WindowHandle a{1}, b{2};
    timers.set(a, 1, 100, 0);
    timers.set(b, 1, 100, 0);
    timers.set(a, 1, 100, 50); // restarted: now due at 150
    EXPECT_EQ(timers.nextDue(), 100u);
    EXPECT_EQ(timers.takeDue(120)->first, b);
    EXPECT_FALSE(timers.takeDue(120));
    EXPECT_EQ(timers.takeDue(150)->first, a);
    // A late loop gets one WM_TIMER, not a burst, and the next one an interval later.
    EXPECT_TRUE(timers.takeDue(1000));
    EXPECT_TRUE(timers.takeDue(1000));
    EXPECT_FALSE(timers.takeDue(1000));
    EXPECT_EQ(timers.nextDue(), 1100u);
    timers.killAll(a);
    EXPECT_FALSE(timers.has(a, 1));
    EXPECT_TRUE(timers.kill(b, 1));
    EXPECT_FALSE(timers.nextDue());
    timers.set(a, 2, 0, 10); // an interval of 0 still waits a millisecond
    EXPECT_EQ(timers.nextDue(), 11u);
}

TEST(HoldModel, ToleranceIsPerAxisAndTheGestureFiresOnce)
{
    HoldGesture hold;
    hold.start(WindowHandle{5}, {100, 100}, 1000);
    hold.move({105, 95});
    EXPECT_FALSE(hold.isDue(1499));
    EXPECT_TRUE(hold.isDue(1500));
    hold.markFired();
    EXPECT_FALSE(hold.isDue(2000));
    EXPECT_TRUE(hold.hasFired());
    hold.start(WindowHandle{5}, {100, 100}, 1000);
    hold.move({106, 100});
    EXPECT_FALSE(hold.deadline());
    hold.move({100, 100}); // coming back does not revive it
    EXPECT_FALSE(hold.isDue(5000));
}

TEST(DialogUnitsModel, RoundsToTheNearestPixel)
{
    EXPECT_EQ(DialogUnits::toPixelsX(7), 12);
    EXPECT_EQ(DialogUnits::toPixelsX(1), 2); // 12/7 rounds up
    EXPECT_EQ(DialogUnits::toPixelsY(1), 2); // 7/4 rounds up
    EXPECT_EQ(DialogUnits::toPixelsY(142), 249);
    EXPECT_EQ(DialogUnits::toPixelsX(-7), -12);
}

TEST(ScrollBarModel, ArrowsStepTrackPagesAndTheThumbDrags)
{
    ScrollBar bar;
    bar.setRect({0, 0, ScrollBar::width, 100});
    bar.setRange(20, 5);
    EXPECT_TRUE(bar.isNeeded());
    EXPECT_EQ(bar.maximum(), 15);
    EXPECT_TRUE(bar.penDown(bar.downArrow().centre()));
    EXPECT_EQ(bar.position(), 1);
    EXPECT_TRUE(bar.penUp()); // the pen was on the bar: not a tap for the control
    EXPECT_FALSE(bar.penDown(bar.upArrow().centre()) && bar.position() != 0);
    EXPECT_EQ(bar.position(), 0);
    EXPECT_TRUE(bar.penDown({5, 80})); // below the thumb: a page
    EXPECT_EQ(bar.position(), 5);
    gfx::Rect thumb = bar.thumb();
    EXPECT_FALSE(bar.penDown(thumb.centre()));
    EXPECT_TRUE(bar.isDragging());
    bar.penMove({5, 200});
    EXPECT_EQ(bar.position(), 15);
    EXPECT_TRUE(bar.penUp());
    EXPECT_FALSE(bar.isDragging());
    EXPECT_FALSE(bar.penMove({5, 0})); // no longer dragging
    EXPECT_EQ(bar.position(), 15);
    EXPECT_FALSE(bar.penDown({50, 50}));
    EXPECT_FALSE(bar.isHeld());
    EXPECT_FALSE(bar.penUp());
    bar.setRange(3, 5); // everything fits: back to the top
    EXPECT_EQ(bar.position(), 0);
    EXPECT_FALSE(bar.isNeeded());
}

TEST(QueueModel, ClosingReleasesWaitingSendersAndRefusesMore)
{
    MessageQueue queue;
    auto request = queue.enqueueSend({WindowHandle{1}, WM_USER, 0, 0});
    std::optional<LResult> result;
    std::thread sender([&] { result = request->wait(std::nullopt); });
    queue.close();
    sender.join();
    EXPECT_EQ(result, 0);
    EXPECT_FALSE(queue.post({WindowHandle{1}, WM_USER, 0, 0}));
    EXPECT_EQ(queue.enqueueSend({WindowHandle{1}, WM_USER, 0, 0})->wait(std::chrono::milliseconds(0)), 0);
}

} // namespace
} // namespace ui
