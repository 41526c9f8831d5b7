// The icon rules edited in the real program: "&Rules..." from the "Calendar" menu, a rule added in
// Rule Details with its icon chosen in the icon picker, saved with OK; the month view draws the new
// icon at once, and the next start keeps the rule.

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

// The calendar view lies between the bars.
constexpr gfx::Rect ViewArea{0, 26, 240, 294};

class IconRulesE2ETest : public ::testing::Test {
protected:
    std::filesystem::path File(const std::string& name) const { return device.root() / name; }
    std::string Path(const std::string& name) const { return File(name).string(); }

    static std::string Read(const std::filesystem::path& file)
    {
        std::ifstream in(file, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }

    // tavrel headless on the test's device with the clock at Tuesday 8 December 2026, 3:45 PM.
    ToolRun Calendar(std::vector<std::string> arguments) const
    {
        std::vector<std::string> all = {"--device",
                                        device.root().string(),
                                        "--headless",
                                        "--control-port",
                                        "0",
                                        "--notify-port",
                                        std::to_string(47000 + ::getpid() % 1000)};
        all.insert(all.end(), arguments.begin(), arguments.end());
        return testing_support::runProgram("tavrel", all, {"TAVREL_CLOCK=2026-12-08T15:45:00"});
    }

    ToolRun Device(const std::vector<std::string>& arguments) const
    {
        return testing_support::runDeviceTool(device.root(), arguments);
    }

    static gfx::Surface Picture(const std::filesystem::path& file)
    {
        std::optional<gfx::Surface> picture = gfx::ImageDecoder::decodeFile(file);
        EXPECT_TRUE(picture) << file;
        return picture.value_or(gfx::Surface());
    }

    // The bounds of the pixels of the view that differ, and how many.
    static std::pair<int, gfx::Rect> Differences(const gfx::Surface& a, const gfx::Surface& b)
    {
        int count = 0;
        gfx::Rect bounds{ViewArea.right, ViewArea.bottom, ViewArea.left, ViewArea.top};
        for (int y = ViewArea.top; y < ViewArea.bottom; ++y)
            for (int x = ViewArea.left; x < ViewArea.right; ++x)
                if (a.pixel(x, y) != b.pixel(x, y)) {
                    ++count;
                    bounds = {std::min(bounds.left, x), std::min(bounds.top, y), std::max(bounds.right, x + 1),
                              std::max(bounds.bottom, y + 1)};
                }
        return {count, bounds};
    }

    testing_support::TempDevice device;
};

TEST_F(IconRulesE2ETest, ARuleAddedWithAnIconFromThePickerChangesTheMonthAtOnceAndStaysAfterARestart)
{
    ASSERT_EQ(Device({"install"}).exitCode, 0);
    ASSERT_EQ(
        Device({"pim", "add", "--subject", "Dentist", "--start", "12/8/2026 3:00 PM", "--end", "12/8/2026 4:00 PM"})
            .exitCode,
        0);
    std::ofstream(File("rules.script")) << "command 32807\n"
                                           "idle\n"
                                           "snap "
            + Path("before.png")
            + "\n"
              // The "Calendar" menu button, then Rules...
              "tap 20 307\n"
              "choose &Rules...\n"
              "dump "
            + Path("rules.txt")
            + "\n"
              "press 1007\n"
              "text 1005 Dentist\n"
              "press 1002\n"
              "dump "
            + Path("picker.txt")
            + "\n"
              "select 1013 Cake.gif\n"
              "dump "
            + Path("details.txt")
            + "\n"
              "press OK\n"
              "dump "
            + Path("added.txt")
            + "\n"
              "press OK\n"
              "idle\n"
              "snap "
            + Path("after.png") + "\n";
    ToolRun run = Calendar({"--script", Path("rules.script")});
    ASSERT_EQ(run.exitCode, 0) << run.err;

    const std::string rules = Read(File("rules.txt"));
    EXPECT_EQ(rules.rfind("window dialog id=137 ok=1 text=\"Rules\"\n", 0), 0u) << rules;
    EXPECT_NE(rules.find("control 1001 listbox shown=1 enabled=1 focused=1 checked=- selection=-1 count=55 "),
              std::string::npos)
        << rules;
    EXPECT_NE(rules.find("item 1001 30 selected=0 text=\"[Subject] Contains \\\"Dentist\\\"\"\n"), std::string::npos)
        << rules;
    EXPECT_NE(rules.find("control 1004 button shown=1 enabled=0 "), std::string::npos) << "Move Up: nothing selected";

    // The picker opened in the installed icons, with the folder list leading there.
    const std::string picker = Read(File("picker.txt"));
    EXPECT_EQ(picker.rfind("window dialog id=160 ok=1 text=\"Tavrel Icons\"\n", 0), 0u) << picker;
    EXPECT_NE(picker.find("item 1012 3 selected=1 text=\"   *Icons\"\n"), std::string::npos) << picker;
    EXPECT_NE(picker.find("text=\"Cake.gif\"\n"), std::string::npos) << picker;

    const std::string details = Read(File("details.txt"));
    EXPECT_EQ(details.rfind("window dialog id=138 ok=1 text=\"Rule Details\"\n", 0), 0u) << details;
    EXPECT_NE(details.find("text=\"\\\\Program Files\\\\Tavrel\\\\Icons\\\\Cake.gif\"\n"), std::string::npos)
        << details;

    const std::string added = Read(File("added.txt"));
    EXPECT_NE(added.find("item 1001 0 selected=1 text=\"[Subject] Contains \\\"Dentist\\\"\"\n"), std::string::npos)
        << added;

    // The rules file starts with the new rule.
    const std::string file = Read(device.host("My Documents/Tavrel.Rules"));
    const std::u16string head = u"Subject,*Dentist*,\\Program Files\\Tavrel\\Icons\\Cake.gif\r\n";
    ASSERT_GE(file.size(), head.size() * 2);
    EXPECT_EQ(std::u16string(reinterpret_cast<const char16_t*>(file.data()), head.size()), head);

    // The month shows another icon on the 8th, and nothing else changed.
    const gfx::Surface before = Picture(File("before.png"));
    const gfx::Surface after = Picture(File("after.png"));
    const auto [changed, where] = Differences(before, after);
    EXPECT_GT(changed, 10);
    EXPECT_LE(where.width(), 20) << where.left << "," << where.top << " " << where.right << "," << where.bottom;
    EXPECT_LE(where.height(), 20);

    // A new start reads the rule from the file and draws the same month.
    ToolRun again = Calendar({"--snapshot", Path("again.png")});
    ASSERT_EQ(again.exitCode, 0) << again.err;
    EXPECT_EQ(Differences(after, Picture(File("again.png"))).first, 0);
}

} // namespace
