// An iCalendar file imported with the device tool shows in the calendar's month view: the
// series on its days without the deleted one, the expanded hourly event, the all-day event on
// each of its days, and nothing elsewhere.

#include "TempDevice.h"
#include "ToolRunner.h"

#include "platform/gfx/ImageDecoder.h"
#include "platform/gfx/Surface.h"

#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <unistd.h>

namespace {

using testing_support::ToolRun;

const char* const kCalendar = "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Tavrel tests//EN\r\n"
                              "BEGIN:VEVENT\r\nUID:standup@example.com\r\nDTSTART;TZID=Europe/Berlin:20261201T090000\r\n"
                              "DURATION:PT15M\r\nRRULE:FREQ=WEEKLY;BYDAY=TU;COUNT=5\r\n"
                              "EXDATE;TZID=Europe/Berlin:20261215T090000\r\nSUMMARY:Standup\r\nEND:VEVENT\r\n"
                              "BEGIN:VEVENT\r\nUID:holidays@example.com\r\nDTSTART;VALUE=DATE:20261224\r\n"
                              "DTEND;VALUE=DATE:20261227\r\nSUMMARY:Holidays\r\nEND:VEVENT\r\n"
                              "BEGIN:VEVENT\r\nUID:pill@example.com\r\nDTSTART:20261210T080000Z\r\nDURATION:PT10M\r\n"
                              "RRULE:FREQ=HOURLY;INTERVAL=4;COUNT=3\r\nSUMMARY:Pill\r\nEND:VEVENT\r\n"
                              "END:VCALENDAR\r\n";

class ImportE2ETest : public ::testing::Test {
protected:
    std::filesystem::path File(const std::string& name) const { return device.root() / name; }

    ToolRun Run(const std::string& program, std::vector<std::string> arguments) const
    {
        arguments.insert(arguments.begin(), {"--device", device.root().string()});
        if (program == "tavrel")
            arguments.insert(arguments.end(), {"--control-port", "0", "--notify-port", std::to_string(47000 + ::getpid() % 1000)});
        return testing_support::runProgram(program, arguments, {"TZ=Europe/Berlin", "TAVREL_CLOCK=2026-12-08T15:45:00"});
    }

    // The month view of December 2026 as the calendar draws it.
    gfx::Surface Month(const std::string& name) const
    {
        std::ofstream(File("month.txt")) << "command 32807\nidle\nsnap " << File(name).string() << "\n";
        const ToolRun run = Run("tavrel", {"--headless", "--script", File("month.txt").string()});
        EXPECT_EQ(run.exitCode, 0) << run.err;
        std::optional<gfx::Surface> picture = gfx::ImageDecoder::decodeFile(File(name));
        EXPECT_TRUE(picture);
        return picture ? std::move(*picture) : gfx::Surface();
    }

    testing_support::TempDevice device;
};

TEST_F(ImportE2ETest, ImportedEventsShowOnTheirDaysInTheMonthView)
{
    ASSERT_EQ(Run("tavrel-device", {"install"}).exitCode, 0);
    const gfx::Surface empty = Month("empty.png");
    std::ofstream(File("work.ics"), std::ios::binary) << kCalendar;
    const ToolRun imported = Run("tavrel-device", {"pim", "import", File("work.ics").string()});
    ASSERT_EQ(imported.exitCode, 0) << imported.err;
    const gfx::Surface full = Month("full.png");
    ASSERT_EQ(full.width(), 240);

    // December 2026 begins on a Tuesday: day d stands in column (d + 1) % 7 and row (d + 1) / 7 of
    // cells 240/7 wide and 46 high below the day bar. Inside each cell, away from its borders:
    std::set<int> changed;
    for (int day = 1; day <= 31; ++day) {
        const int column = (day + 1) % 7, row = (day + 1) / 7;
        const int left = column * 240 / 7 + 4, right = (column + 1) * 240 / 7 - 4;
        const int top = 64 + row * 46 + 4, bottom = 64 + (row + 1) * 46 - 4;
        int pixels = 0;
        for (int y = top; y < bottom; ++y)
            for (int x = left; x < right; ++x)
                pixels += empty.pixel(x, y) != full.pixel(x, y);
        if (pixels > 10)
            changed.insert(day);
    }
    // Tuesdays but the 15th, the 10th, and the 24th to 26th.
    EXPECT_EQ(changed, (std::set<int> {1, 8, 10, 22, 24, 25, 26, 29}));
}

} // namespace
