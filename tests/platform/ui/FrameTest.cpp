#include "UiTestSupport.h"

#include "platform/ui/Automation.h"
#include "platform/ui/FrameWindow.h"
#include "platform/ui/Menu.h"
#include "platform/ui/NavigationBar.h"
#include "platform/ui/PopupMenu.h"
#include "platform/ui/Theme.h"

#include <string>
#include <vector>

namespace ui {
namespace {

std::vector<std::string> g_trace;

class TracingView : public Window {
public:
    bool fadeEnabled = true;

protected:
    bool onCommand(int id, int code, WindowHandle) override
    {
        if (id != 32792 && id != 32780)
            return false;
        g_trace.push_back("view " + std::to_string(id));
        return true;
    }
    bool onUpdateCommand(CommandUpdate& update) override
    {
        if (update.id != 32780)
            return false;
        update.enable(fadeEnabled);
        return true;
    }
};

class TracingFrame : public FrameWindow {
protected:
    bool onCommand(int id, int code, WindowHandle) override
    {
        g_trace.push_back("frame " + std::to_string(id));
        return id == 32791 || id == 32792;
    }
    bool onUpdateCommand(CommandUpdate& update) override
    {
        if (update.id == 32774) {
            update.check(true);
            return true;
        }
        return false;
    }
};

class Frame : public testing::DesktopTest {
protected:
    Frame()
    {
        g_trace.clear();
        frame.create(u"Tavrel");
        view.create(&frame, frame.viewRect());
        frame.setView(&view);
        frame.addCommandRange(500, 599, [](int id, int code) { g_trace.push_back("range " + std::to_string(id)); });
    }

    TracingFrame frame;
    TracingView view;
    Automation automation{desktop};
};

TEST_F(Frame, TheScreenIsLaidOutWithTheBarsAndTheViewBetweenThem)
{
    EXPECT_EQ(view.screenRect(), (gfx::Rect{0, 26, 240, 294}));
    EXPECT_EQ(frame.commandBar().screenRect(), (gfx::Rect{0, 294, 240, 320}));
    EXPECT_EQ(desktop.foreground(), &frame);
    EXPECT_EQ(desktop.navigationBar().title(), u"Tavrel");
    EXPECT_EQ(NavigationBar::clockText(testing::pinnedTime()), u"3:45p");
    device::SystemTime midnight = testing::pinnedTime();
    midnight.hour = 0;
    midnight.minute = 5;
    EXPECT_EQ(NavigationBar::clockText(midnight), u"12:05a");
    EXPECT_TRUE(desktop.navigationBar().okRect().isEmpty()); // a frame takes no "ok"
    EXPECT_EQ(desktop.focus(), &view);                       // the frame passes its focus on
}

TEST_F(Frame, CommandsRouteThroughRangesThenTheViewThenTheFrame)
{
    frame.send(WM_COMMAND, MAKEWPARAM(501, 0));
    frame.send(WM_COMMAND, MAKEWPARAM(32792, 0));
    frame.send(WM_COMMAND, MAKEWPARAM(32791, 0));
    EXPECT_EQ(g_trace, (std::vector<std::string>{"range 501", "view 32792", "frame 32791"}));
}

TEST_F(Frame, TheUpdateQueryAsksTheViewFirstAndDefaultsToUnhandled)
{
    EXPECT_TRUE(frame.queryCommand(32780).enabled);
    view.fadeEnabled = false;
    CommandUpdate fade = frame.queryCommand(32780);
    EXPECT_TRUE(fade.handled);
    EXPECT_FALSE(fade.enabled);
    EXPECT_TRUE(frame.queryCommand(32774).checked);
    EXPECT_TRUE(frame.queryCommand(550).enabled); // ranges enable their items
    EXPECT_FALSE(frame.queryCommand(12345).handled);
}

TEST_F(Frame, TheCommandBarMenuOpensUpdatesItsItemsAndSendsTheChoice)
{
    Menu menu;
    menu.append(u"Combined", 32776);
    menu.appendSeparator();
    Menu& options = menu.appendSubmenu(u"Options");
    options.append(u"Fade...", 32780);
    menu.append(u"Exit", 32791);
    frame.commandBar().setMenu(u"Calendar", menu);
    // The calendar inserts "Personal" before "Combined" and checks it at run time.
    Menu& shown = frame.commandBar().menu();
    ASSERT_TRUE(shown.insert(32776, MF_BYCOMMAND, 32774, u"Personal"));
    EXPECT_EQ(shown.item(0).id, 32774);
    EXPECT_TRUE(shown.insert(1, MF_BYPOSITION, 500, u"Work"));
    EXPECT_EQ(shown.check(500, MF_BYCOMMAND | MF_CHECKED), int(MF_UNCHECKED));
    EXPECT_EQ(shown.positionOf(500), 1);
    view.fadeEnabled = false;

    bool opened = false;
    automation.onModal([&](Window& window) {
        if (!PopupMenu::active())
            return;
        opened = true;
        Menu& items = frame.commandBar().menu();
        EXPECT_TRUE(items.isChecked(32774)); // from the frame's update query
        EXPECT_TRUE(items.isChecked(500));   // kept as the program set it
        // Submenus are updated when they open: the view greys "Fade...".
        automation.chooseMenuItem(u"Fade...");
        EXPECT_TRUE(PopupMenu::active()); // a greyed item is not chosen
        EXPECT_FALSE(items.isEnabled(32780));
        automation.chooseMenuItem(u"Exit");
    });
    automation.tapAt(frame.commandBar().menuButtonRect().centre() + frame.commandBar().screenRect().topLeft());
    EXPECT_TRUE(opened);
    EXPECT_EQ(g_trace, (std::vector<std::string>{"frame 32791"}));
}

TEST_F(Frame, ATapOutsideAMenuClosesItWithoutAChoiceAndGoesNowhere)
{
    Menu menu;
    menu.append(u"Next", 32792);
    automation.onModal([&](Window&) { automation.tapAt({200, 60}); });
    int chosen = PopupMenu::track(menu, TPM_RETURNCMD, {10, 100}, &frame);
    EXPECT_EQ(chosen, 0);
    EXPECT_TRUE(g_trace.empty());
}

TEST_F(Frame, AMenuOpenedByAHoldIgnoresThePenUpInPlaceAndTakesADragOntoAnItem)
{
    // The view opens a menu under the finger when the pen is held on it.
    Menu menu;
    menu.append(u"Next", 32792);
    menu.append(u"Exit", 32791);
    int chosen = -1;
    bool openAfterRelease = false;
    view.setMessageHook([&](std::uint32_t message, WParam, LParam lParam) -> std::optional<LResult> {
        if (message != WM_CONTEXTMENU)
            return std::nullopt;
        chosen = PopupMenu::track(menu, TPM_RETURNCMD, {std::int16_t(LOWORD(lParam)), std::int16_t(HIWORD(lParam))},
                                  &frame);
        return 1;
    });
    const gfx::Point held{60, 150};
    // Lifted where it was held: no choice, the menu stays open; a tap outside closes it.
    automation.onModal([&](Window&) {
        desktop.injectInput(InputEvent::pen(InputEvent::Kind::PenUp, held));
        desktop.runUntilIdle();
        openAfterRelease = PopupMenu::active() != nullptr;
        automation.tapAt({200, 60});
    });
    desktop.injectInput(InputEvent::pen(InputEvent::Kind::PenDown, held));
    desktop.runUntilIdle();
    desktop.runFor(std::chrono::milliseconds(600));
    EXPECT_TRUE(openAfterRelease);
    EXPECT_EQ(chosen, 0);

    // Dragged onto the second item and lifted there: chosen.
    automation.onModal([&](Window&) {
        MenuWindow& level = *PopupMenu::active()->levels().front();
        const gfx::Point exit = level.itemRect(1).centre() + level.screenRect().topLeft();
        desktop.injectInput(InputEvent::pen(InputEvent::Kind::PenMove, exit));
        desktop.injectInput(InputEvent::pen(InputEvent::Kind::PenUp, exit));
        desktop.runUntilIdle();
    });
    desktop.injectInput(InputEvent::pen(InputEvent::Kind::PenDown, held));
    desktop.runUntilIdle();
    desktop.runFor(std::chrono::milliseconds(600));
    EXPECT_EQ(chosen, 32791);
    EXPECT_TRUE(g_trace.empty()) << "the hold was no tap";
}

TEST_F(Frame, ATapOnASubmenuItemDoesNotChooseWhatTheSubmenuOpensUnderThePen)
{
    // A submenu too wide for either side of its parent opens over it, its first item under the
    // tap that opened it.
    Menu menu;
    Menu& items = menu.appendSubmenu(u"New");
    items.append(u"A template with a rather long name", 35021);
    items.append(u"Appointment", 35000);
    menu.append(u"Set Skin...", 32798);
    std::optional<gfx::Point> newItem;
    bool stillOpen = false;
    std::size_t levels = 0;
    automation.onModal([&](Window&) {
        MenuWindow& top = *PopupMenu::active()->levels().front();
        newItem = top.itemRect(0).centre() + top.screenRect().topLeft();
        automation.tapAt(*newItem);
        desktop.runUntilIdle();
        stillOpen = PopupMenu::active() != nullptr;
        levels = stillOpen ? PopupMenu::active()->levels().size() : 0;
        if (levels < 2) {
            automation.pressKey(VK_ESCAPE);
            return;
        }
        MenuWindow& submenu = *PopupMenu::active()->levels()[1];
        ASSERT_TRUE(submenu.screenRect().contains(*newItem)) << "the submenu must cover the tapped item";
        automation.tapAt(submenu.itemRect(1).centre() + submenu.screenRect().topLeft());
    });
    EXPECT_EQ(PopupMenu::track(menu, TPM_RETURNCMD, {50, 100}, &frame), 35000);
    EXPECT_TRUE(stillOpen);
    EXPECT_EQ(levels, 2u);
}

TEST_F(Frame, KeysWalkAMenuAndItsSubmenu)
{
    Menu menu;
    menu.append(u"Daily", 32805);
    Menu& go = menu.appendSubmenu(u"Go To");
    go.append(u"Next", 32792);
    go.append(u"Previous", 32793);
    automation.onModal([&](Window&) {
        for (int key : {VK_DOWN, VK_DOWN, VK_RIGHT, VK_DOWN, VK_RETURN})
            automation.pressKey(key);
    });
    EXPECT_EQ(PopupMenu::track(menu, TPM_RETURNCMD | TPM_BOTTOMALIGN, {10, 200}, &frame), 32793);
}

TEST_F(Frame, ToolButtonsSendTheirCommandsAndShowToolTipsOnHold)
{
    frame.commandBar().addButton(32792, gfx::Surface(16, 16, gfx::colours::lightGrey));
    frame.commandBar().setToolTips({u"Next"});
    gfx::Point button = frame.commandBar().buttonRect(0).centre() + frame.commandBar().screenRect().topLeft();
    automation.tapAt(button);
    EXPECT_EQ(g_trace, (std::vector<std::string>{"view 32792"}));

    g_trace.clear();
    bool tipShown = false;
    desktop.injectInput(InputEvent::pen(InputEvent::Kind::PenDown, button));
    desktop.runUntilIdle();
    desktop.runFor(std::chrono::milliseconds(600));
    tipShown = frame.commandBar().toolTip().exists() && frame.commandBar().toolTip().text() == u"Next";
    desktop.injectInput(InputEvent::pen(InputEvent::Kind::PenUp, button));
    desktop.runUntilIdle();
    EXPECT_TRUE(tipShown);
    EXPECT_FALSE(frame.commandBar().toolTip().exists()); // gone with the pen
    EXPECT_TRUE(g_trace.empty());                         // and the hold was no tap
}

TEST_F(Frame, AFrameCanStartHiddenAndBeShownLater)
{
    TracingFrame hidden;
    ASSERT_TRUE(hidden.create(u"Control", false));
    EXPECT_EQ(desktop.foreground(), &frame);
    hidden.show();
    EXPECT_EQ(desktop.foreground(), &hidden);
    EXPECT_EQ(desktop.navigationBar().title(), u"Control");
}

} // namespace
} // namespace ui
