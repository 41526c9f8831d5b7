#include "UiTestSupport.h"

#include "platform/gfx/ImageDecoder.h"
#include "platform/ui/Dialog.h"
#include "platform/ui/EditBox.h"
#include "platform/ui/Script.h"
#include "platform/ui/ScriptRunner.h"

#include <filesystem>

namespace ui {
namespace {

TEST(Script, ParsesEveryActionAndNamesTheBadLine)
{
    std::string error;
    auto actions = Script::parse("# a comment\n"
                                 "tap 10 20\nhold 5 6\ndown 1 2\nup 3 4\nkey PageDown\ncommand 32792\n"
                                 "type Lunch at noon\nwait 250\n\nidle\nsnap /tmp/x.png\nquit\n",
                                 &error);
    ASSERT_TRUE(actions) << error;
    ASSERT_EQ(actions->size(), 11u);
    EXPECT_EQ((*actions)[0].point, (gfx::Point{10, 20}));
    EXPECT_EQ((*actions)[4].value, VK_NEXT);
    EXPECT_EQ((*actions)[5].value, 32792);
    EXPECT_EQ((*actions)[6].text, u"Lunch at noon");
    EXPECT_EQ((*actions)[7].value, 250);
    EXPECT_EQ((*actions)[9].file, "/tmp/x.png");

    EXPECT_FALSE(Script::parse("tap 1 2\nkey Next\n", &error));
    EXPECT_EQ(error, "script line 2: unknown key 'Next' (Left, Right, Up, Down, PageUp, PageDown, Home, End, Return, "
                     "Enter, Escape, Tab, Back, Backspace, Delete, Space, Help)");
    EXPECT_FALSE(Script::parse("key\n", &error));
    EXPECT_EQ(error.rfind("script line 1: 'key' needs one key name (Left, ", 0), 0u) << error;
    EXPECT_FALSE(Script::parse("tap 1\n", &error));
    EXPECT_EQ(error, "script line 1: 'tap' needs X and Y, whole numbers");
    // Pen input off the screen would reach no window: the line says where the screen ends.
    EXPECT_FALSE(Script::parse("tap 239 319\ntap 240 10\n", &error));
    EXPECT_EQ(error, "script line 2: 'tap' coordinates must be within 240 \u00D7 320 (0-239, 0-319), not 240 10");
    EXPECT_FALSE(Script::parse("down -1 0\n", &error));
    EXPECT_EQ(error, "script line 1: 'down' coordinates must be within 240 \u00D7 320 (0-239, 0-319), not -1 0");
    EXPECT_FALSE(Script::parse("wait soon\n", &error));
    EXPECT_FALSE(Script::parse("dance\n", &error));
    EXPECT_EQ(error, "script line 1: unknown action 'dance'");
}

TEST(Script, ParsesTheActionsOnDialogsWithTheirTextsAsWritten)
{
    std::string error;
    auto actions = Script::parse("press OK\npress cancel\nPRESS 1208\n"
                                 "select 1103   My  Skin.skn\n"
                                 "check 1002 1\ncheck 1007 Sports Club 0\n"
                                 "text 1201 Dentist, Dr. Ben\ntext 1202\n"
                                 "choose &View/Weekly\nanswer no\ndump /tmp/out put.txt\n",
                                 &error);
    ASSERT_TRUE(actions) << error;
    ASSERT_EQ(actions->size(), 11u);
    using Kind = ScriptAction::Kind;
    const std::vector<ScriptAction>& a = *actions;
    EXPECT_EQ(a[0].kind, Kind::Press);
    EXPECT_EQ(a[0].value, IDOK);
    EXPECT_EQ(a[1].value, IDCANCEL);
    EXPECT_EQ(a[2].value, 1208);
    EXPECT_EQ(a[3].kind, Kind::Select);
    EXPECT_EQ(a[3].value, 1103);
    EXPECT_EQ(a[3].text, u"My  Skin.skn"); // the rest of the line, inner blanks kept
    EXPECT_EQ(a[4].kind, Kind::Check);
    EXPECT_TRUE(a[4].checked);
    EXPECT_TRUE(a[4].text.empty());
    EXPECT_EQ(a[5].value, 1007);
    EXPECT_EQ(a[5].text, u"Sports Club");
    EXPECT_FALSE(a[5].checked);
    EXPECT_EQ(a[6].kind, Kind::Text);
    EXPECT_EQ(a[6].text, u"Dentist, Dr. Ben");
    EXPECT_TRUE(a[7].text.empty()); // clears the field
    EXPECT_EQ(a[8].kind, Kind::Choose);
    EXPECT_EQ(a[8].text, u"&View/Weekly");
    EXPECT_EQ(a[9].kind, Kind::Answer);
    EXPECT_EQ(a[9].value, IDNO);
    EXPECT_EQ(a[10].kind, Kind::Dump);
    EXPECT_EQ(a[10].file, "/tmp/out put.txt");
    EXPECT_EQ(a[5].line, 6);
    EXPECT_EQ(a[5].source, "check 1007 Sports Club 0");

    for (const char* bad : {"press", "press Maybe", "press 70000", "press 1 2", "select 1103", "select List Item",
                            "check 1002", "check 1002 2", "check 1002 Tennis yes", "text", "choose", "answer",
                            "answer maybe", "answer yes no", "dump"}) {
        EXPECT_FALSE(Script::parse(std::string("idle\n") + bad + "\n", &error)) << bad;
        EXPECT_EQ(error.rfind("script line 2: ", 0), 0u) << bad << ": " << error;
    }
}

TEST(Script, HelpNamesEveryActionAndKey)
{
    const std::string help = Script::help();
    for (const char* action : {"tap", "hold", "down", "up", "key", "command", "type", "wait", "idle", "snap", "quit",
                               "press", "select", "check", "text", "choose", "answer", "dump"})
        EXPECT_TRUE(help.find(std::string("\n  ") + action + " ") != std::string::npos ||
                    help.find(std::string(", ") + action + " ") != std::string::npos)
            << action;
    for (const char* key : {"Left", "Right", "Up", "Down", "PageUp", "PageDown", "Return", "Escape", "Tab", "Back",
                            "Delete", "Home", "End", "Space", "Help"}) {
        EXPECT_NE(help.find(key), std::string::npos) << key;
        EXPECT_NE(Script::keyCode(key), 0) << key;
    }
}

class Runner : public testing::DesktopTest {};

TEST_F(Runner, FeedsInputIntoTheDialogsItOpensWaitsAndQuits)
{
    // A frame whose command opens a dialog with an edit box; the script types into it and confirms.
    auto snapshot = std::filesystem::temp_directory_path() / "tavrel-script-test.png";
    std::filesystem::remove(snapshot);
    Window frame;
    Dialog dialog(u"Subject");
    auto& edit = dialog.add<EditBox>(1005, 7, 10, 126, 12);
    int result = 0;
    std::uint64_t timeAtOk = 0;
    frame.setMessageHook([&](std::uint32_t message, WParam wParam, LParam) -> std::optional<LResult> {
        if (message == WM_COMMAND && LOWORD(wParam) == 35020) {
            result = dialog.RunModal();
            timeAtOk = desktop.now();
            return 1;
        }
        return std::nullopt;
    });
    frame.createTopLevel({0, 26, 240, 320}, u"Tavrel");
    bool conditionAsked = false;
    std::string error;
    auto actions = Script::parse("command 35020\nidle\ntype Dentist\nwait 3000\nsnap " + snapshot.string() +
                                     "\nkey Return\nidle\nquit\ntap 1 1\n",
                                 &error);
    ASSERT_TRUE(actions) << error;
    ScriptRunner runner(desktop, *actions);
    runner.setIdleCondition([&] {
        conditionAsked = true;
        return true;
    });
    bool finished = false;
    runner.setFinishedCallback([&] { finished = true; });
    std::uint64_t start = desktop.now();
    runner.start();
    EXPECT_EQ(desktop.run(), 0);
    EXPECT_TRUE(finished);
    EXPECT_TRUE(conditionAsked);
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(edit.text(), u"Dentist");
    EXPECT_GE(timeAtOk - start, 3000u);
    EXPECT_TRUE(runner.errors().empty());
    auto picture = gfx::ImageDecoder::decodeFile(snapshot);
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->size(), (gfx::Size{240, 320}));
    std::filesystem::remove(snapshot);
}

TEST_F(Runner, HoldWaitsForTheGestureAndTheIdleConditionHoldsTheScriptBack)
{
    Window view;
    int holds = 0, taps = 0;
    view.setMessageHook([&](std::uint32_t message, WParam, LParam) -> std::optional<LResult> {
        holds += message == WM_CONTEXTMENU;
        taps += message == WM_LBUTTONUP;
        return std::nullopt;
    });
    view.createTopLevel({0, 26, 240, 294}, u"View");
    int polls = 0;
    auto actions = Script::parse("hold 100 100\nidle\ntap 100 100\n", nullptr);
    ScriptRunner runner(desktop, *actions);
    runner.setIdleCondition([&] { return ++polls >= 5; }); // "the reader has drawn" after a while
    runner.setFinishedCallback([&] { desktop.quit(0); });
    runner.start();
    desktop.run();
    EXPECT_EQ(holds, 1);
    EXPECT_EQ(taps, 1); // only the tap; the hold's pen-up was no tap
    EXPECT_EQ(polls, 5);
}

} // namespace
} // namespace ui
