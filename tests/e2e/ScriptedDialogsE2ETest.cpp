// The real programs driven by scripts through their dialogs, as a user automates them: the about
// box, message boxes, the file-open dialog, the command bar's menu, the appointment editor and the
// control gallery, read back with `dump`.

#include "TempDevice.h"
#include "ToolRunner.h"

#include "platform/gfx/ImageDecoder.h"
#include "platform/gfx/Surface.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <optional>
#include <unistd.h>

namespace {

using testing_support::ToolRun;

class ScriptedDialogsE2ETest : public ::testing::Test {
protected:
    std::filesystem::path File(const std::string& name) const { return device.root() / name; }

    std::string Script(const std::string& name, const std::string& text) const
    {
        std::ofstream(File(name)) << text;
        return File(name).string();
    }

    static std::string Read(const std::filesystem::path& file)
    {
        std::ifstream in(file);
        return {std::istreambuf_iterator<char>(in), {}};
    }

    // tavrel headless on the test's device with the clock at Tuesday 8 December 2026, 3:45 PM.
    ToolRun Calendar(const std::string& script, std::vector<std::string> more = {}) const
    {
        std::vector<std::string> arguments = {"--device", device.root().string(), "--headless", "--control-port", "0",
                                              "--notify-port", std::to_string(47000 + ::getpid() % 1000), "--script",
                                              script};
        arguments.insert(arguments.end(), more.begin(), more.end());
        return testing_support::runProgram("tavrel", arguments, {"TAVREL_CLOCK=2026-12-08T15:45:00"});
    }

    ToolRun Device(const std::vector<std::string>& arguments) const
    {
        return testing_support::runDeviceTool(device.root(), arguments);
    }

    testing_support::TempDevice device;
};

TEST_F(ScriptedDialogsE2ETest, AboutBoxFileOpenDialogMessageBoxesAndTheCalendarMenuFollowTheScript)
{
    ASSERT_EQ(Device({"install"}).exitCode, 0);
    // A skin file without its [Skin] section: choosing it tells so in a message box.
    std::ofstream(device.host("My Documents/Broken.TavrelSkin")) << "[Backgrounds]\nJanuary=January.jpg\n";
    const std::string f = device.root().string() + "/";
    const std::string script = Script("dialogs.script",
                                      "command 32807\n"
                                      "idle\n"
                                      "snap " + f + "month.png\n"
                                      // The about box from its tool button: read, then closed with the
                                      // navigation bar's ok.
                                      "press 57664\n"
                                      "dump " + f + "about.txt\n"
                                      "press OK\n"
                                      // Options / Choose Skin... opens the file-open dialog.
                                      "command 32798\n"
                                      "dump " + f + "open.txt\n"
                                      "text 1104 nosuch.TavrelSkin\n"
                                      "answer OK\n"
                                      "press OK\n" // "File not found": answered, the dialog stays
                                      "select 1103 Broken.TavrelSkin\n"
                                      "press OK\n" // the skin is refused in a box that waits for us
                                      "dump " + f + "refused.txt\n"
                                      "press OK\n"
                                      // The "Calendar" menu button, then View / Weekly.
                                      "tap 20 307\n"
                                      "choose View/Weekly\n"
                                      "idle\n"
                                      "snap " + f + "week.png\n"
                                      "tap 20 307\n"
                                      "choose &view\n"
                                      "dump " + f + "menu.txt\n"
                                      "press CANCEL\n"
                                      "press CANCEL\n"
                                      "dump " + f + "frame.txt\n");
    ToolRun run = Calendar(script);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(run.err.find("message-box: Open: nosuch.TavrelSkin\\nFile not found."), std::string::npos) << run.err;

    const std::string about = Read(File("about.txt"));
    EXPECT_EQ(about.rfind("window dialog id=100 ok=1 text=\"About Tavrel\"\n", 0), 0u) << about;
    EXPECT_NE(about.find("control 1002 label shown=1 enabled=1 focused=0 checked=- selection=- "
                         "text=\"Tavrel Version 3.41\"\n"),
              std::string::npos)
        << about;
    EXPECT_NE(about.find("control 1 button shown=1 enabled=1 focused=0 checked=- selection=- default=1 text=\"OK\"\n"),
              std::string::npos)
        << about;

    const std::string open = Read(File("open.txt"));
    EXPECT_EQ(open.rfind("window dialog id=0 ok=1 text=\"Open\"\n", 0), 0u) << open;
    EXPECT_NE(open.find("item 1101 1 selected=1 text=\"  My Documents\"\n"), std::string::npos) << open;
    EXPECT_NE(open.find("item 1103 0 selected=0 text=\"CalendarSkinDefault\"\n"
                        "item 1103 1 selected=0 text=\"Broken.TavrelSkin\"\n"),
              std::string::npos)
        << open;

    EXPECT_EQ(Read(File("refused.txt")),
              "window message-box id=0 ok=1 text=\"Tavrel\"\n"
              "message text=\"Invalid Skin File.  [Skin] section not found\"\n"
              "control 1 button shown=1 enabled=1 focused=0 checked=- selection=- default=1 text=\"OK\"\n");

    // The View submenu was open over the menu when it was read.
    const std::string menu = Read(File("menu.txt"));
    EXPECT_NE(menu.find("menu 0 4 id=0 enabled=1 checked=0 submenu=1 selected=1 text=\"&View\"\n"), std::string::npos)
        << menu;
    EXPECT_NE(menu.find("menu 1 1 id=32806 enabled=1 checked=0 submenu=0 selected=0 text=\"&Weekly\"\n"),
              std::string::npos)
        << menu;
    // Every dialog and menu was closed again.
    const std::string frame = Read(File("frame.txt"));
    EXPECT_EQ(frame.rfind("window frame id=0 ok=0 text=\"Tavrel\"\n", 0), 0u) << frame;
    EXPECT_EQ(frame.find("\nmenu "), std::string::npos) << frame;

    // Weekly was chosen: the view keeps it as its last mode and draws something else than the month.
    ToolRun lastView = Device({"reg", "get", "HKCU", "Software\\Orvix\\Tavrel", "LastView"});
    EXPECT_EQ(lastView.out, "1\n") << lastView.err;
    std::optional<gfx::Surface> month = gfx::ImageDecoder::decodeFile(File("month.png"));
    std::optional<gfx::Surface> week = gfx::ImageDecoder::decodeFile(File("week.png"));
    ASSERT_TRUE(month && week);
    int differing = 0;
    for (int y = 26; y < 294; ++y)
        for (int x = 0; x < 240; ++x)
            differing += month->pixel(x, y) != week->pixel(x, y);
    EXPECT_GT(differing, 10000);
}

TEST_F(ScriptedDialogsE2ETest, TheAppointmentEditorIsFilledInAndItsDeleteQuestionAnswered)
{
    ToolRun add =
        Device({"pim", "add", "--subject", "Dentist", "--start", "12/8/2026 3:00 PM", "--end", "12/8/2026 4:00 PM"});
    ASSERT_EQ(add.exitCode, 0) << add.err;
    const std::string f = device.root().string() + "/";
    // The day view draws the appointment across the 3p row; a tap on it opens the editor.
    ToolRun edit = Calendar(Script("edit.script", "command 32805\nidle\ntap 120 214\n"
                                                  "dump " + f + "editor.txt\n"
                                                  "text 1201 Dentist, Dr. Ben\n"
                                                  "select 1206 Every Tuesday\n"
                                                  "answer NO\n"
                                                  "press 1208\n" // Delete? No: the editor stays open
                                                  "press OK\nidle\n"));
    ASSERT_EQ(edit.exitCode, 0) << edit.err;
    EXPECT_NE(edit.err.find("message-box: Appointment: Delete this appointment?"), std::string::npos) << edit.err;
    const std::string editor = Read(File("editor.txt"));
    EXPECT_EQ(editor.rfind("window dialog id=0 ok=1 text=\"Appointment\"\n", 0), 0u) << editor;
    EXPECT_NE(editor.find("control 1201 edit shown=1 enabled=1 focused=1 checked=- selection=- readonly=0 "
                          "text=\"Dentist\"\n"),
              std::string::npos)
        << editor;
    EXPECT_NE(editor.find("item 1206 2 selected=0 text=\"Every Tuesday\"\n"), std::string::npos) << editor;

    ToolRun shown = Device({"pim", "show", "1"});
    EXPECT_NE(shown.out.find("Subject: Dentist, Dr. Ben\n"), std::string::npos) << shown.out;
    EXPECT_NE(shown.out.find("IsRecurring: True\n"), std::string::npos) << shown.out;

    ToolRun remove =
        Calendar(Script("delete.script", "command 32805\nidle\ntap 120 214\nanswer YES\npress 1208\nidle\n"));
    ASSERT_EQ(remove.exitCode, 0) << remove.err;
    EXPECT_EQ(Device({"pim", "list"}).out, "");
}

// The month view of December 2026 (Tuesday the 1st) on the screen: the cells below the title (28
// pixels) and the day bar (12) are 34 pixels wide and 45 high, the view starting at y 26.
constexpr int DecemberCellX(int day) { return (day + 1) % 7 * 34 + 17; }
constexpr int DecemberCellY(int day) { return 26 + 40 + (day + 1) / 7 * 45 + 22; }
std::string HoldOnDecember(int day)
{
    return "hold " + std::to_string(DecemberCellX(day)) + " " + std::to_string(DecemberCellY(day)) + "\n";
}

TEST_F(ScriptedDialogsE2ETest, AHoldOnADayMakesAnAppointmentThroughTheEditorAndTheMonthShowsIt)
{
    ASSERT_EQ(Device({"install"}).exitCode, 0);
    ASSERT_EQ(
        Device({"pim", "add", "--subject", "Standup", "--start", "12/10/2026 9:00 AM", "--end", "12/10/2026 10:00 AM"})
            .exitCode,
        0);
    const std::string f = device.root().string() + "/";
    const std::string script = Script("new.script",
                                      "idle\n"
                                      "snap "
                                          + f + "before.png\n" + HoldOnDecember(10) + "dump " + f
                                          + "menu.txt\n"
                                            "choose New/Appointment\n"
                                            "dump "
                                          + f
                                          + "editor.txt\n"
                                            "text 1201 Dentist\n"
                                            "press OK\n"
                                            "idle\n"
                                            "snap "
                                          + f + "after.png\n");
    ToolRun run = Calendar(script);
    ASSERT_EQ(run.exitCode, 0) << run.err;

    const std::string menu = Read(File("menu.txt"));
    EXPECT_NE(menu.find("menu 0 0 id=0 enabled=1 checked=0 submenu=1 selected=0 text=\"New\"\n"), std::string::npos)
        << menu;
    EXPECT_NE(menu.find("menu 0 1 id=32781 enabled=1 checked=0 submenu=0 selected=0 text=\"Set Background...\"\n"),
              std::string::npos)
        << menu;
    // The editor opens on the new appointment at the first free hour of the 10th.
    const std::string editor = Read(File("editor.txt"));
    EXPECT_EQ(editor.rfind("window dialog id=0 ok=1 text=\"Appointment\"\n", 0), 0u) << editor;
    EXPECT_NE(editor.find("text=\"New Appointment\"\n"), std::string::npos) << editor;
    EXPECT_NE(editor.find("text=\"12/10/2026 10:00:00 AM\"\n"), std::string::npos) << editor;

    ToolRun list = Device({"pim", "list"});
    EXPECT_NE(list.out.find("\t12/10/2026 10:00:00 AM\t12/10/2026 11:00:00 AM\tDentist\t"), std::string::npos)
        << list.out;

    // The 10th's cell shows one more icon than before.
    std::optional<gfx::Surface> before = gfx::ImageDecoder::decodeFile(File("before.png"));
    std::optional<gfx::Surface> after = gfx::ImageDecoder::decodeFile(File("after.png"));
    ASSERT_TRUE(before && after);
    int changedInCell = 0, changedElsewhere = 0;
    for (int y = 66; y < 294; ++y)
        for (int x = 0; x < 240; ++x) {
            if (before->pixel(x, y) == after->pixel(x, y))
                continue;
            const bool inCell = std::abs(x - DecemberCellX(10)) < 17 && std::abs(y - DecemberCellY(10)) < 22;
            (inCell ? changedInCell : changedElsewhere) += 1;
        }
    EXPECT_GT(changedInCell, 20);
    EXPECT_EQ(changedElsewhere, 0);
}

TEST_F(ScriptedDialogsE2ETest, TemplatesAreMadeRenamedUsedAndDeletedThroughTheDialogs)
{
    ASSERT_EQ(Device({"install"}).exitCode, 0);
    const std::string f = device.root().string() + "/";
    const std::string script = Script("templates.script",
                                      "idle\n" + HoldOnDecember(17) +
                                          // No template yet: the explanation, answered, then Add.
                                          "answer OK\n"
                                          "choose New/Customize...\n"
                                          "dump "
                                          + f
                                          + "details.txt\n"
                                            "text 1005 Lunch\n"
                                            "select 1004 1 hr\n"
                                            "select 1007 12pm\n"
                                            "press OK\n"
                                            "dump "
                                          + f
                                          + "types.txt\n"
                                            // Renamed through Edit.
                                            "press 1008\n"
                                            "text 1005 Team lunch\n"
                                            "press OK\n"
                                            "dump "
                                          + f
                                          + "renamed.txt\n"
                                            "press OK\n"
                                          + HoldOnDecember(17)
                                          + "choose New\n"
                                            "dump "
                                          + f
                                          + "menu.txt\n"
                                            "choose New/Team lunch\n"
                                            "idle\n"
                                          + HoldOnDecember(17)
                                          + "choose New/Customize...\n"
                                            "select 1016 Team lunch\n"
                                            "answer YES\n"
                                            "press 1003\n"
                                            "dump "
                                          + f
                                          + "deleted.txt\n"
                                            "press OK\n");
    ToolRun run = Calendar(script);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(run.err.find("message-box: Tavrel: This is where you set up \"templates\" for appointments"),
              std::string::npos)
        << run.err;

    const std::string details = Read(File("details.txt"));
    EXPECT_EQ(details.rfind("window dialog id=0 ok=1 text=\"Template Details\"\n", 0), 0u) << details;
    EXPECT_NE(details.find("control 1007 combobox shown=0 "), std::string::npos) << "All Day hides the start time";
    EXPECT_NE(details.find("dropped=0 count=24 text=\"9am\"\n"), std::string::npos) << details;

    EXPECT_NE(Read(File("types.txt")).find("item 1016 0 selected=1 text=\"Lunch\"\n"), std::string::npos)
        << Read(File("types.txt"));
    const std::string renamed = Read(File("renamed.txt"));
    EXPECT_NE(renamed.find("count=1 text=\"\"\nitem 1016 0 selected=1 text=\"Team lunch\"\n"), std::string::npos)
        << renamed;
    EXPECT_NE(Read(File("menu.txt"))
                  .find("menu 1 0 id=35021 enabled=1 checked=0 submenu=0 selected=0 "
                        "text=\"Team lunch\"\nmenu 1 1 separator\n"),
              std::string::npos)
        << Read(File("menu.txt"));
    const std::string deleted = Read(File("deleted.txt"));
    EXPECT_NE(deleted.find("control 1016 listbox shown=1 enabled=1 "), std::string::npos) << deleted;
    EXPECT_NE(deleted.find(" selection=-1 count=0 text=\"\"\n"), std::string::npos) << deleted;

    // The template made its appointment on the 17th at noon, for an hour, without the editor.
    ToolRun list = Device({"pim", "list"});
    EXPECT_NE(list.out.find("\t12/17/2026 12:00:00 PM\t12/17/2026 1:00:00 PM\tTeam lunch\t"), std::string::npos)
        << list.out;
    ToolRun keys = Device({"reg", "list", "HKCU", "Software\\Orvix\\Tavrel\\Appointment Templates"});
    EXPECT_EQ(keys.out.find("Lunch"), std::string::npos) << keys.out;
}

TEST_F(ScriptedDialogsE2ETest, ALineThatFindsNoControlEndsTheRunWithTheLineNamed)
{
    ToolRun run = Calendar(Script("bad.script", "idle\ncommand 57664\n# the about box has no 4242\npress 4242\nquit\n"),
                           {"--snapshot", File("never.png").string()});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("tavrel: script line 4 (press 4242): no control 4242 in \"About Tavrel\"\n"),
              std::string::npos)
        << run.err;
    EXPECT_FALSE(std::filesystem::exists(File("never.png")));
}

TEST_F(ScriptedDialogsE2ETest, TheControlGalleryIsDrivenByAScript)
{
    const std::string f = device.root().string() + "/";
    ToolRun run = testing_support::runProgram(
        "tavrel-device", {"--device", device.root().string(), "ui-gallery", "--headless", "--script",
                          Script("gallery.script", "select 1003 1 hr\ncheck 1007 Tennis 1\nselect 1006 Orange\n"
                                                   "press 1010\nchoose Go To/Next\n"
                                                   "answer NO\npress 1011\n"
                                                   "dump " + f + "gallery.txt\npress OK\n")});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(run.err.find("message-box: Gallery: Every control"), std::string::npos) << run.err;
    const std::string gallery = Read(File("gallery.txt"));
    EXPECT_EQ(gallery.rfind("window dialog id=0 ok=1 text=\"Controls\"\n", 0), 0u) << gallery;
    EXPECT_NE(gallery.find("control 1003 combobox shown=1 enabled=1 focused=0 checked=- selection=4 editable=0 "
                           "dropped=0 count=10 text=\"1 hr\"\n"),
              std::string::npos)
        << gallery;
    EXPECT_NE(gallery.find("item 1007 3 selected=0 depth=1 expanded=0 checked=1 text=\"Tennis\"\n"), std::string::npos)
        << gallery;
    EXPECT_NE(gallery.find("item 1006 2 selected=1 text=\"Orange\"\n"), std::string::npos) << gallery;

    ToolRun bad = testing_support::runProgram(
        "tavrel-device", {"--device", device.root().string(), "ui-gallery", "--headless", "--script",
                          Script("bad-gallery.script", "select 1006 Purple\n")});
    EXPECT_EQ(bad.exitCode, 1);
    EXPECT_NE(bad.err.find("script line 1 (select 1006 Purple): no item \"Purple\" in control 1006"), std::string::npos)
        << bad.err;
}

TEST_F(ScriptedDialogsE2ETest, HelpListsTheScriptActionsAndEverySubcommandAnswersHelpWithoutADevice)
{
    ToolRun help = testing_support::runProgram("tavrel", {"--help"});
    EXPECT_EQ(help.exitCode, 0);
    for (const char* action : {"press ID", "select ID TEXT", "check ID 0|1", "check ID TEXT 0|1", "text ID TEXT",
                               "choose PATH", "answer YES|NO|OK|CANCEL", "dump FILE", "PageDown", "32805 View Daily",
                               "32792 Go To Next", "32800 Go To Today", "--version"})
        EXPECT_NE(help.out.find(action), std::string::npos) << action;

    const std::filesystem::path untouched = device.root() / "untouched";
    const std::vector<std::vector<std::string>> commands = {
        {"pim", "list", "--help"}, {"pim", "--help"},     {"reg", "get", "--help"}, {"reg", "-h"},
        {"date", "--help"},        {"date", "parse", "--help"}, {"install", "--help"}, {"uninstall", "--help"},
        {"init", "--help"},        {"ui-gallery", "--help"}, {"identity", "--help"}};
    for (const std::vector<std::string>& command : commands) {
        ToolRun run = testing_support::runDeviceTool(untouched, command);
        EXPECT_EQ(run.exitCode, 0) << command[0] << " " << run.err;
        EXPECT_EQ(run.out.rfind("usage: tavrel-device " + command[0], 0), 0u) << run.out;
        EXPECT_TRUE(run.err.empty()) << run.err;
    }
    EXPECT_FALSE(std::filesystem::exists(untouched)) << "asking for help created the device folder";
    EXPECT_NE(testing_support::runDeviceTool(untouched, {"ui-gallery", "--help"}).out.find("answer YES|NO|OK|CANCEL"),
              std::string::npos);

    ToolRun control = testing_support::runProgram("tavrelctl", {"--port", "1", "send", "--help"});
    EXPECT_EQ(control.exitCode, 0);
    EXPECT_EQ(control.out.rfind("usage: tavrelctl", 0), 0u) << control.out;
}

} // namespace
