// The real programs on a temporary device: tavrel-device installs the package and adds
// appointments, and tavrel runs headless with a script; the tests look at what it drew.

#include "TempDevice.h"
#include "ToolRunner.h"

#include "platform/gfx/Colour.h"
#include "platform/gfx/Point.h"
#include "platform/gfx/ImageDecoder.h"
#include "platform/gfx/Rect.h"
#include "platform/gfx/Surface.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <optional>
#include <thread>
#include <unistd.h>

namespace {

using testing_support::ToolRun;
using namespace std::chrono_literals;

constexpr gfx::Colour NavigationBarColour = gfx::rgb(0, 51, 153);
constexpr gfx::Colour CommandBarColour = gfx::rgb(214, 211, 206);
// The calendar view lies between the bars.
constexpr gfx::Rect ViewArea{0, 26, 240, 294};
// Right of the tool buttons.
constexpr gfx::Point CommandBarPoint{230, 310};

struct Difference {
    int pixels = 0;
    gfx::Rect bounds; // of the differing pixels
};

Difference Compare(const gfx::Surface& a, const gfx::Surface& b, const gfx::Rect& area)
{
    Difference difference;
    int left = area.right, top = area.bottom, right = area.left, bottom = area.top;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x)
            if (a.pixel(x, y) != b.pixel(x, y)) {
                ++difference.pixels;
                left = std::min(left, x);
                top = std::min(top, y);
                right = std::max(right, x + 1);
                bottom = std::max(bottom, y + 1);
            }
    if (difference.pixels)
        difference.bounds = {left, top, right, bottom};
    return difference;
}

class CalendarRunTest : public ::testing::Test {
protected:
    std::filesystem::path File(const std::string& name) const { return device.root() / name; }

    void WriteScript(const std::string& name, const std::string& text) const { std::ofstream(File(name)) << text; }

    // tavrel on the test's device with the clock at Tuesday 8 December 2026, 3:45 PM, commands on any
    // free port and notifications to a port nobody listens on.
    ToolRun Calendar(std::vector<std::string> arguments, std::vector<std::string> environment = {}) const
    {
        std::vector<std::string> all = {"--device", device.root().string(), "--control-port", "0", "--notify-port",
                                        std::to_string(47000 + ::getpid() % 1000)};
        all.insert(all.end(), arguments.begin(), arguments.end());
        environment.push_back("TAVREL_CLOCK=2026-12-08T15:45:00");
        return testing_support::runProgram("tavrel", all, environment);
    }

    ToolRun Device(const std::vector<std::string>& arguments) const
    {
        return testing_support::runDeviceTool(device.root(), arguments);
    }

    static gfx::Surface Picture(const std::filesystem::path& file)
    {
        std::optional<gfx::Surface> picture = gfx::ImageDecoder::decodeFile(file);
        EXPECT_TRUE(picture) << file;
        if (!picture)
            return gfx::Surface();
        EXPECT_EQ(picture->width(), 240);
        EXPECT_EQ(picture->height(), 320);
        return std::move(*picture);
    }

    testing_support::TempDevice device;
};

TEST_F(CalendarRunTest, AScriptedRunDrawsTheAppointmentsOfTheStoreOverTheInstalledSkin)
{
    // The view starts in the mode it was left in: the script chooses the month first.
    const std::string script = "command 32807\nidle\nsnap " + File("month.png").string() + "\nkey Right\nidle\nsnap " +
                               File("next.png").string() + "\nkey Left\ncommand 32805\nidle\n";
    WriteScript("run.txt", script);

    // Before installing: the built-in pictures.
    ToolRun bare = Calendar({"--headless", "--snapshot", File("bare.png").string()});
    ASSERT_EQ(bare.exitCode, 0) << bare.err;

    ToolRun install = Device({"install"});
    ASSERT_EQ(install.exitCode, 0) << install.err;
    EXPECT_NE(install.out.find("installed Tavrel"), std::string::npos) << install.out;

    ToolRun empty = Calendar({"--headless", "--script", File("run.txt").string(), "--snapshot", File("day.png").string()});
    ASSERT_EQ(empty.exitCode, 0) << empty.err;
    EXPECT_EQ(empty.err.find("message-box:"), std::string::npos) << empty.err;
    for (const char* name : {"month", "next", "day"})
        std::filesystem::rename(File(std::string(name) + ".png"), File(std::string("empty-") + name + ".png"));

    ToolRun add = Device({"pim", "add", "--subject", "Dentist", "--start", "12/8/2026 3:00 PM", "--end", "12/8/2026 4:00 PM"});
    ASSERT_EQ(add.exitCode, 0) << add.err;
    ToolRun busy = Calendar({"--headless", "--script", File("run.txt").string(), "--snapshot", File("day.png").string()});
    ASSERT_EQ(busy.exitCode, 0) << busy.err;

    const gfx::Surface bareMonth = Picture(File("bare.png"));
    const gfx::Surface emptyMonth = Picture(File("empty-month.png"));
    const gfx::Surface month = Picture(File("month.png"));
    const gfx::Surface next = Picture(File("next.png"));
    const gfx::Surface emptyNext = Picture(File("empty-next.png"));
    const gfx::Surface day = Picture(File("day.png"));
    const gfx::Surface emptyDay = Picture(File("empty-day.png"));

    // The screen: the navigation bar above, the command bar below.
    EXPECT_EQ(month.pixel(2, 2), NavigationBarColour);
    EXPECT_EQ(month.pixel(CommandBarPoint.x, CommandBarPoint.y), CommandBarColour);

    // The first start after the installation applied the installed default skin (the calendar
    // had run before, without it): the month looks different from the built-in pictures nearly
    // everywhere below the title.
    EXPECT_GT(Compare(bareMonth, emptyMonth, {0, 66, 240, 294}).pixels, 20000);

    // The appointment on Tuesday the 8th shows in that day's cell and nowhere else; December 2026
    // begins on a Tuesday, so the 8th is the third cell of the second row.
    const Difference appointment = Compare(emptyMonth, month, ViewArea);
    EXPECT_GT(appointment.pixels, 20);
    EXPECT_TRUE((gfx::Rect{66, 106, 106, 160}).contains(appointment.bounds))
        << appointment.bounds.left << "," << appointment.bounds.top << " - " << appointment.bounds.right << ","
        << appointment.bounds.bottom;

    // Next went to January 2027: another title, and no appointment there.
    EXPECT_GT(Compare(month, next, {0, 26, 240, 54}).pixels, 500);
    EXPECT_EQ(Compare(emptyNext, next, ViewArea).pixels, 0);

    // The day view of the 8th draws the appointment.
    EXPECT_GT(Compare(emptyDay, day, ViewArea).pixels, 100);
    EXPECT_GT(Compare(month, day, ViewArea).pixels, 10000) << "the day view is no month";
}

TEST_F(CalendarRunTest, TheControlParameterKeepsTheWindowHiddenUntilAControlApplicationShowsIt)
{
    ToolRun hidden = Calendar({"--headless", "--snapshot", File("hidden.png").string(), "tavrelcontrol"});
    ASSERT_EQ(hidden.exitCode, 0) << hidden.err;
    ToolRun shown = Calendar({"--headless", "--snapshot", File("shown.png").string()});
    ASSERT_EQ(shown.exitCode, 0) << shown.err;
    EXPECT_NE(Picture(File("hidden.png")).pixel(CommandBarPoint.x, CommandBarPoint.y), CommandBarColour);
    EXPECT_EQ(Picture(File("shown.png")).pixel(CommandBarPoint.x, CommandBarPoint.y), CommandBarColour);
}

TEST_F(CalendarRunTest, OnlineHelpNamesTheInstalledHelpPageWhenThereIsNoDisplay)
{
    ASSERT_EQ(Device({"install"}).exitCode, 0);
    WriteScript("help.txt", "idle\ncommand 32801\nidle\nquit\n");
    ToolRun run = Calendar({"--headless", "--script", File("help.txt").string()});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(run.err.find("open-document: \\Program Files\\Tavrel\\Tavrel.htm#Main_Contents"), std::string::npos) << run.err;
    std::ifstream page(device.host("Program Files/Tavrel/Tavrel.htm"));
    const std::string text{std::istreambuf_iterator<char>(page), {}};
    EXPECT_NE(text.find("name=\"Main_Contents\""), std::string::npos);
}

TEST_F(CalendarRunTest, WithoutADisplayTheCalendarSaysToRunHeadlessAndEnds)
{
    // Not even a snapshot makes it run on unseen: --headless is the way to ask for that.
    ToolRun run = Calendar({"--snapshot", File("shot.png").string()}, {"SDL_VIDEODRIVER=tavrel-no-such-driver"});
    EXPECT_EQ(run.exitCode, 1) << run.err;
    EXPECT_EQ(run.err.rfind("tavrel: no display (", 0), 0u) << run.err;
    EXPECT_NE(run.err.find("); run with --headless\n"), std::string::npos) << run.err;
    EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
    EXPECT_FALSE(std::filesystem::exists(File("shot.png")));
}

TEST_F(CalendarRunTest, AStoreThatCannotBeOpenedEndsTheProgramWithTheAttachMessage)
{
    std::filesystem::create_directories(device.root() / "pim.db");
    ToolRun run = Calendar({"--headless", "--snapshot", File("never.png").string()});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("message-box: Tavrel: Unable to attach to Pocket Outlook Object Manager"), std::string::npos)
        << run.err;
    EXPECT_FALSE(std::filesystem::exists(File("never.png")));
}

TEST_F(CalendarRunTest, AStoreThatAnotherProgramKeepsLockedEndsTheProgramWithTheLogonMessage)
{
    ASSERT_EQ(Device({"pim", "list"}).exitCode, 0); // the store exists
    const std::filesystem::path python = "/usr/bin/python3";
    if (!std::filesystem::exists(python))
        GTEST_SKIP() << "python3 holds the lock in this test";
    // Another program takes the store for itself and keeps it for a while.
    const std::filesystem::path ready = File("locked");
    std::ofstream(File("lock.py")) << "import sqlite3, sys, time\n"
                                      "c = sqlite3.connect(sys.argv[1], isolation_level=None)\n"
                                      "c.execute('PRAGMA locking_mode = EXCLUSIVE')\n"
                                      "c.execute('BEGIN EXCLUSIVE')\n"
                                      "open(sys.argv[2], 'w').close()\n"
                                      "time.sleep(float(sys.argv[3]))\n";
    std::thread holder([&] {
        testing_support::runProgram(python.string(), {File("lock.py").string(), (device.root() / "pim.db").string(),
                                                       ready.string(), "8"});
    });
    for (int i = 0; i < 500 && !std::filesystem::exists(ready); ++i)
        std::this_thread::sleep_for(10ms);
    ASSERT_TRUE(std::filesystem::exists(ready));
    ToolRun run = Calendar({"--headless", "--snapshot", File("never.png").string()});
    holder.join();
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("message-box: Tavrel: Unable to Log on to Pocket Outlook Object Manager"), std::string::npos)
        << run.err;
}

TEST_F(CalendarRunTest, HelpAndBadArguments)
{
    ToolRun help = testing_support::runProgram("tavrel", {"--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_EQ(help.out.rfind("usage: tavrel", 0), 0u) << help.out;
    for (const std::vector<std::string>& arguments :
         std::vector<std::vector<std::string>>{{"--zoom", "0"}, {"--frobnicate"}, {"--script"}}) {
        ToolRun bad = testing_support::runProgram("tavrel", arguments);
        EXPECT_EQ(bad.exitCode, 2) << arguments[0];
        EXPECT_EQ(bad.err.rfind("tavrel: ", 0), 0u) << bad.err;
        EXPECT_EQ(std::count(bad.err.begin(), bad.err.end(), '\n'), 1) << bad.err;
    }
    WriteScript("bad.txt", "idle\njump 3 4\n");
    ToolRun script = Calendar({"--headless", "--script", File("bad.txt").string()});
    EXPECT_EQ(script.exitCode, 2);
    EXPECT_NE(script.err.find("line 2"), std::string::npos) << script.err;
}

} // namespace
