// A frame's own commands: defined once with their update, carried out and answered from the same
// entry, after the ranges and the view and before the frame's onCommand.

#include "UiTestSupport.h"

#include "platform/ui/CommandTable.h"
#include "platform/ui/FrameWindow.h"

#include <string>
#include <vector>

namespace ui {
namespace {

TEST(CommandTableTest, RunsAndAnswersFromOneEntry)
{
    std::vector<int> ran;
    bool connected = false;
    CommandTable table;
    table.add(1, [&] { ran.push_back(1); });
    table.add(2, [&] { ran.push_back(2); }, CommandTable::enabledWhen([&] { return connected; }));
    table.add(3, {}, CommandTable::disabled());

    EXPECT_TRUE(table.run(1));
    EXPECT_TRUE(table.run(2));
    EXPECT_FALSE(table.run(3)) << "a command without an action is not carried out";
    EXPECT_FALSE(table.run(4));
    EXPECT_EQ(ran, (std::vector<int> {1, 2}));

    CommandUpdate update;
    update.id = 1;
    ASSERT_TRUE(table.update(update));
    EXPECT_TRUE(update.handled && update.enabled) << "no update given: always enabled";
    update = CommandUpdate {.id = 2};
    ASSERT_TRUE(table.update(update));
    EXPECT_FALSE(update.enabled);
    connected = true;
    update = CommandUpdate {.id = 2};
    ASSERT_TRUE(table.update(update));
    EXPECT_TRUE(update.enabled) << "the condition is asked at every query";
    update = CommandUpdate {.id = 3};
    ASSERT_TRUE(table.update(update));
    EXPECT_TRUE(update.handled);
    EXPECT_FALSE(update.enabled);
    EXPECT_FALSE(update.checkHandled) << "enabling leaves the check mark alone";
    update = CommandUpdate {.id = 4};
    EXPECT_FALSE(table.update(update));
    EXPECT_FALSE(update.handled);
}

TEST(CommandTableTest, AddingAnIdAgainReplacesItsEntry)
{
    int which = 0;
    CommandTable table;
    table.add(7, [&] { which = 1; }, CommandTable::disabled());
    table.add(7, [&] { which = 2; });
    EXPECT_TRUE(table.run(7));
    EXPECT_EQ(which, 2);
    CommandUpdate update {.id = 7};
    table.update(update);
    EXPECT_TRUE(update.enabled);
}

std::vector<std::string> g_trace;

class ClaimingView : public Window {
protected:
    bool onCommand(int id, int, WindowHandle) override
    {
        if (id != 20)
            return false;
        g_trace.push_back("view 20");
        return true;
    }
};

class TableFrame : public FrameWindow {
public:
    TableFrame()
    {
        commands().add(10, [] { g_trace.push_back("table 10"); });
        commands().add(20, [] { g_trace.push_back("table 20"); });
        commands().add(30, {}, CommandTable::disabled());
    }

protected:
    bool onCommand(int id, int, WindowHandle) override
    {
        g_trace.push_back("frame " + std::to_string(id));
        return true;
    }
    bool onUpdateCommand(CommandUpdate& update) override
    {
        update.check(true);
        return true;
    }
};

class CommandTableFrame : public testing::DesktopTest {
protected:
    CommandTableFrame()
    {
        g_trace.clear();
        frame.create(u"Tavrel");
        view.create(&frame, frame.viewRect());
        frame.setView(&view);
    }

    TableFrame frame;
    ClaimingView view;
};

TEST_F(CommandTableFrame, TheTableComesAfterTheViewAndBeforeTheFramesOwnHandler)
{
    for (int id : {10, 20, 30, 40})
        frame.send(WM_COMMAND, MAKEWPARAM(unsigned(id), 0));
    EXPECT_EQ(g_trace, (std::vector<std::string> {"table 10", "view 20", "frame 30", "frame 40"}));

    EXPECT_TRUE(frame.queryCommand(10).enabled);
    EXPECT_FALSE(frame.queryCommand(10).checkHandled) << "answered by the table, not by onUpdateCommand";
    EXPECT_FALSE(frame.queryCommand(30).enabled);
    EXPECT_TRUE(frame.queryCommand(40).checked) << "ids outside the table still reach onUpdateCommand";
}

} // namespace
} // namespace ui
