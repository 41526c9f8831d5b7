// An all-day appointment added with the device tool covers the same days in `pim list`, the
// month view and the week view: from its first day to its last one, which the store holds as
// its End (midnight of that day).

#include "TempDevice.h"
#include "ToolRunner.h"

#include "platform/gfx/ImageDecoder.h"
#include "platform/gfx/Rect.h"
#include "platform/gfx/Surface.h"

#include <gtest/gtest.h>

#include <fstream>
#include <optional>
#include <unistd.h>

namespace {

using testing_support::ToolRun;

// The calendar view lies between the navigation bar and the command bar.
constexpr gfx::Rect ViewArea{0, 26, 240, 294};

class AllDayE2ETest : public ::testing::Test {
protected:
    std::filesystem::path File(const std::string& name) const { return device.root() / name; }

    ToolRun Device(const std::vector<std::string>& arguments) const
    {
        return testing_support::runDeviceTool(device.root(), arguments);
    }

    // The calendar's screen in one mode (a view command id) on Thursday 24 December 2026.
    gfx::Surface Screen(int viewCommand, const std::string& name) const
    {
        std::ofstream(File(name + ".txt"))
            << "command " << viewCommand << "\nidle\nsnap " << File(name).string() << "\n";
        const ToolRun run = testing_support::runProgram("tavrel",
                                                        {"--device", device.root().string(), "--control-port", "0",
                                                         "--notify-port", std::to_string(47000 + ::getpid() % 1000),
                                                         "--headless", "--script", File(name + ".txt").string()},
                                                        {"TAVREL_CLOCK=2026-12-24T10:00:00"});
        EXPECT_EQ(run.exitCode, 0) << run.err;
        std::optional<gfx::Surface> picture = gfx::ImageDecoder::decodeFile(File(name));
        EXPECT_TRUE(picture) << name;
        return picture ? std::move(*picture) : gfx::Surface(240, 320);
    }

    std::string List(const std::string& from, const std::string& to) const
    {
        const ToolRun run = Device({"pim", "list", "--from", from, "--to", to});
        EXPECT_EQ(run.exitCode, 0) << run.err;
        return run.out;
    }

    testing_support::TempDevice device;
};

// The left and right edges of the pixels that differ between two screens inside the view.
std::pair<int, int> ChangedColumns(const gfx::Surface& a, const gfx::Surface& b)
{
    int left = ViewArea.right, right = ViewArea.left;
    for (int y = ViewArea.top; y < ViewArea.bottom; ++y)
        for (int x = ViewArea.left; x < ViewArea.right; ++x)
            if (a.pixel(x, y) != b.pixel(x, y)) {
                left = std::min(left, x);
                right = std::max(right, x + 1);
            }
    return {left, right};
}

TEST_F(AllDayE2ETest, TheLastDayCountsInTheListAndEveryView)
{
    const gfx::Surface emptyWeek = Screen(32806, "empty-week.png");
    const gfx::Surface emptyMonth = Screen(32807, "empty-month.png");

    // Times given with --all-day are dropped: the appointment runs from the 21st to the 24th.
    const ToolRun add = Device({"pim", "add", "--subject", "Holiday", "--start", "12/21/2026 3:00 PM", "--end",
                                "12/24/2026 9:00 AM", "--all-day"});
    ASSERT_EQ(add.exitCode, 0) << add.err;
    const std::string oid = add.out.substr(0, add.out.find('\n'));
    const ToolRun show = Device({"pim", "show", oid});
    EXPECT_NE(show.out.find("Start: 12/21/2026\n"), std::string::npos) << show.out;
    EXPECT_NE(show.out.find("End: 12/24/2026\n"), std::string::npos) << show.out;

    EXPECT_NE(List("12/21/2026", "12/21/2026").find("Holiday"), std::string::npos);
    EXPECT_NE(List("12/24/2026", "12/24/2026").find("Holiday"), std::string::npos);
    EXPECT_EQ(List("12/25/2026", "12/25/2026").find("Holiday"), std::string::npos);
    EXPECT_EQ(List("12/20/2026", "12/20/2026").find("Holiday"), std::string::npos);

    // The week of Sunday 20 December: the bars fill Monday to Thursday (columns 1 to 4 of seven
    // right of the hour labels, about 31 pixels each), not Sunday and not Friday.
    const auto [weekLeft, weekRight] = ChangedColumns(emptyWeek, Screen(32806, "week.png"));
    EXPECT_GT(weekLeft, 40);
    EXPECT_LT(weekLeft, 60);
    EXPECT_GT(weekRight, 165);
    EXPECT_LE(weekRight, 180);

    // The month: December 2026 begins on a Tuesday, so the 21st to the 24th are the second to
    // the fifth cells (240/7 pixels wide) of the fourth row, and Friday the 25th stays as it was.
    const auto [monthLeft, monthRight] = ChangedColumns(emptyMonth, Screen(32807, "month.png"));
    EXPECT_GE(monthLeft, 1 * 240 / 7);
    EXPECT_LE(monthRight, 5 * 240 / 7 + 1);
    EXPECT_GT(monthRight, 4 * 240 / 7 + 10);
}

} // namespace
