#include "UiTestSupport.h"

#include "platform/ui/Automation.h"
#include "platform/ui/InputEvent.h"
#include "platform/ui/Window.h"

#include <string>
#include <vector>

namespace ui {
namespace {

// A window that writes down the pen and key messages it gets, in its own client coordinates.
class PenLog : public Window {
public:
    std::vector<std::string> events;

protected:
    void onPenDown(gfx::Point p) override { events.push_back("down " + at(p)); }
    void onPenMove(gfx::Point p) override { events.push_back("move " + at(p)); }
    void onPenUp(gfx::Point p) override { events.push_back("up " + at(p)); }
    void onCancelMode() override { events.push_back("cancel"); }
    bool onContextMenu(gfx::Point screen) override
    {
        events.push_back("hold " + at(screen));
        return true;
    }
    bool onKeyDown(int key) override
    {
        events.push_back("key " + std::to_string(key));
        return true;
    }
    bool onChar(device::WChar c) override
    {
        events.push_back(std::string("char ") + char(c));
        return true;
    }

private:
    static std::string at(gfx::Point p) { return std::to_string(p.x) + "," + std::to_string(p.y); }
};

class Input : public testing::DesktopTest {
protected:
    Input()
    {
        frame.createTopLevel({0, 26, 240, 320}, u"Frame");
        view.create(&frame, {0, 0, 240, 268});
        other.create(&frame, {0, 268, 240, 294});
        other.setHoldGesture(false);
    }
    void pen(InputEvent::Kind kind, int x, int y) { desktop.injectInput(InputEvent::pen(kind, {x, y})); }

    Window frame;
    PenLog view;
    PenLog other;
    Automation automation{desktop};
};

TEST_F(Input, ATapGoesToTheWindowUnderThePenInClientCoordinates)
{
    automation.tapAt({50, 100});
    EXPECT_EQ(view.events, (std::vector<std::string>{"down 50,74", "up 50,74"}));
}

TEST_F(Input, TheWindowUnderThePenDownKeepsThePenUntilItIsLifted)
{
    pen(InputEvent::Kind::PenDown, 10, 300); // on `other`
    pen(InputEvent::Kind::PenMove, 10, 200); // over the view now
    pen(InputEvent::Kind::PenUp, 10, 150);
    desktop.runUntilIdle();
    EXPECT_TRUE(view.events.empty());
    EXPECT_EQ(other.events, (std::vector<std::string>{"down 10,6", "move 10,-94", "up 10,-144"}));
}

TEST_F(Input, APenHeldStillBecomesAHoldAndTheFollowingPenUpIsNoTap)
{
    automation.holdAt({100, 120});
    EXPECT_EQ(view.events, (std::vector<std::string>{"down 100,94", "cancel", "hold 100,120"}));

    // Small wobbles within the tolerance still make a hold.
    view.events.clear();
    pen(InputEvent::Kind::PenDown, 100, 120);
    pen(InputEvent::Kind::PenMove, 103, 118);
    desktop.runUntilIdle();
    desktop.runFor(std::chrono::milliseconds(600));
    pen(InputEvent::Kind::PenUp, 103, 118);
    desktop.runUntilIdle();
    EXPECT_EQ(view.events.back(), "hold 100,120");
}

TEST_F(Input, APenThatMovesOrLiftsEarlyIsNoHold)
{
    pen(InputEvent::Kind::PenDown, 100, 120);
    pen(InputEvent::Kind::PenMove, 112, 120); // beyond the tolerance
    desktop.runUntilIdle();
    desktop.runFor(std::chrono::milliseconds(800));
    pen(InputEvent::Kind::PenUp, 112, 120);
    desktop.runUntilIdle();
    EXPECT_EQ(view.events, (std::vector<std::string>{"down 100,94", "move 112,94", "up 112,94"}));

    view.events.clear();
    pen(InputEvent::Kind::PenDown, 60, 60);
    desktop.runUntilIdle();
    desktop.runFor(std::chrono::milliseconds(499));
    pen(InputEvent::Kind::PenUp, 60, 60);
    desktop.runUntilIdle();
    desktop.runFor(std::chrono::milliseconds(600));
    EXPECT_EQ(view.events, (std::vector<std::string>{"down 60,34", "up 60,34"}));
}

TEST_F(Input, TheHostsRightButtonHoldsAtOnceAndWindowsWithoutTheGestureOnlyGetThePen)
{
    pen(InputEvent::Kind::PenDown, 20, 40);
    pen(InputEvent::Kind::HoldNow, 20, 40);
    pen(InputEvent::Kind::PenUp, 20, 40);
    desktop.runUntilIdle();
    EXPECT_EQ(view.events, (std::vector<std::string>{"down 20,14", "cancel", "hold 20,40"}));

    automation.holdAt({20, 300});
    EXPECT_EQ(other.events, (std::vector<std::string>{"down 20,6", "up 20,6"}));
}

TEST_F(Input, KeysAndCharactersGoToTheFocusWindow)
{
    other.setFocus();
    automation.pressKey(VK_LEFT);
    automation.typeText(u"ok");
    EXPECT_EQ(other.events, (std::vector<std::string>{"key 37", "char o", "char k"}));
    EXPECT_TRUE(view.events.empty());
}

TEST_F(Input, ADisabledWindowAndEverythingInItTakeNoPen)
{
    frame.enable(false);
    automation.tapAt({50, 100});
    EXPECT_TRUE(view.events.empty());
}

} // namespace
} // namespace ui
