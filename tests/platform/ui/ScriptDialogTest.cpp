// Scripts drive dialogs, message boxes and menus through the pen and keys, from inside the modal
// loops those open, and a line that finds nothing ends the run with a message naming it.

#include "UiTestSupport.h"

#include "platform/ui/CheckBox.h"
#include "platform/ui/ComboBox.h"
#include "platform/ui/ControlGallery.h"
#include "platform/ui/EditBox.h"
#include "platform/ui/ListBox.h"
#include "platform/ui/ListView.h"
#include "platform/ui/MessageBox.h"
#include "platform/ui/PopupMenu.h"
#include "platform/ui/PushButton.h"
#include "platform/ui/Script.h"
#include "platform/ui/ScriptRunner.h"
#include "platform/ui/TreeView.h"

#include <filesystem>
#include <fstream>

namespace ui {
namespace {

constexpr int openGallery = 100;
constexpr int askQuestion = 101;
constexpr int openMenu = 102;
constexpr int openTree = 103;
constexpr int openConfirming = 104;

// A frame whose commands open the dialogs under test and record what they returned.
class ScriptedDialogs : public testing::DesktopTest {
protected:
    ScriptedDialogs()
    {
        frame.setMessageHook([this](std::uint32_t message, WParam wParam, LParam) -> std::optional<LResult> {
            if (message != WM_COMMAND)
                return std::nullopt;
            switch (LOWORD(wParam)) {
            case openGallery:
                results.push_back(gallery.RunModal());
                return 1;
            case askQuestion:
                results.push_back(messageBox(&frame, u"Keep it open?", u"Gallery", MB_YESNO | MB_DEFBUTTON2));
                return 1;
            case openMenu: {
                Menu menu;
                menu.append(u"&Daily", 32805);
                Menu& go = menu.appendSubmenu(u"&Go To");
                go.append(u"&Next", 32792);
                go.append(u"&Previous", 32793);
                menu.append(u"Exit", 32791, MF_GRAYED);
                results.push_back(PopupMenu::track(menu, TPM_RETURNCMD | TPM_BOTTOMALIGN, {10, 200}, &frame));
                return 1;
            }
            case openTree:
                results.push_back(treeDialog.RunModal());
                return 1;
            case openConfirming:
                results.push_back(confirming.RunModal());
                return 1;
            default:
                return std::nullopt;
            }
        });
        frame.createTopLevel({0, 26, 240, 320}, u"Tavrel");

        // Twelve items, more than the tree shows, the last with a collapsed child.
        tree = &treeDialog.add<TreeView>(10, 7, 4, 120, 60);
        tree->setCheckBoxes(true);
        TreeItem last = 0;
        for (int i = 1; i <= 12; ++i)
            last = tree->insertItem(device::fromUtf8("Item " + std::to_string(i)));
        deep = tree->insertItem(u"Deep", last);

        // A check box whose click asks first.
        confirming.add<CheckBox>(20, 7, 4, 100, 12, u"Share");
        confirming.setCommandHandler([this](Dialog&, int id, int code) {
            if (id == 20 && code == BN_CLICKED)
                results.push_back(messageBox(&confirming, u"Share with everyone?", u"Share", MB_YESNO));
            return false;
        });
    }

    // Runs the script to its end; the exit code of the loop.
    int Run(const std::string& text)
    {
        std::string error;
        auto actions = Script::parse(text, &error);
        EXPECT_TRUE(actions) << error;
        if (!actions)
            return -1;
        runner = std::make_unique<ScriptRunner>(desktop, *actions);
        runner->setFinishedCallback([this] { desktop.quit(0); });
        runner->start();
        return desktop.run();
    }

    static std::string Read(const std::filesystem::path& file)
    {
        std::ifstream in(file);
        return {std::istreambuf_iterator<char>(in), {}};
    }

    Window frame;
    ControlGallery gallery;
    Dialog treeDialog{u"Categories"};
    Dialog confirming{u"Sharing"};
    TreeView* tree = nullptr;
    TreeItem deep = 0;
    std::vector<int> results;
    std::unique_ptr<ScriptRunner> runner;
};

TEST_F(ScriptedDialogs, EveryControlOfTheGalleryIsSetThroughItsOwnInput)
{
    const std::filesystem::path dump = std::filesystem::temp_directory_path() / "tavrel-script-gallery-dump.txt";
    EXPECT_EQ(Run("command 100\n"
                  "select 1003 1 week\n"                 // the last of ten: the dropped list scrolls
                  "select 1006 violet\n"                 // below the list box's fold
                  "check 1007 Tennis 1\n"
                  "check 1007 Holidays 0\n"
                  "check 1002 0\n"
                  "text 1001 Dinner with Ben\n"
                  "text 1004 www.example.com/x\n"
                  "select 1004 www.tavrel.com/sports.xml\n" // copies the item into the edit field
                  "select 1008 Notes.gif\n"
                  "dump " + dump.string() + "\n"
                  "press OK\n"),
              0);
    ASSERT_TRUE(runner->errors().empty()) << runner->errors().front();
    EXPECT_EQ(results, std::vector<int>{IDOK});

    auto* snooze = gallery.controlAs<ComboBox>(ControlGallery::idSnooze);
    EXPECT_EQ(snooze->windowText(), u"1 week");
    EXPECT_EQ(gallery.controlAs<ListBox>(ControlGallery::idColours)->itemText(
                  gallery.controlAs<ListBox>(ControlGallery::idColours)->curSel()),
              u"Violet");
    auto* categories = gallery.controlAs<TreeView>(ControlGallery::idCategories);
    TreeItem sports = categories->nextSibling(categories->root());
    EXPECT_FALSE(categories->check(categories->root())); // Holidays
    EXPECT_TRUE(categories->check(categories->nextSibling(categories->firstChild(sports)))); // Tennis
    EXPECT_FALSE(gallery.controlAs<CheckBox>(ControlGallery::idRemind)->isChecked());
    EXPECT_EQ(gallery.controlAs<EditBox>(ControlGallery::idName)->text(), u"Dinner with Ben");
    auto* address = gallery.controlAs<ComboBox>(ControlGallery::idAddress);
    EXPECT_EQ(address->itemText(address->curSel()), u"www.tavrel.com/sports.xml");
    EXPECT_EQ(address->windowText(), u"www.tavrel.com/sports.xml");
    EXPECT_EQ(gallery.controlAs<ListView>(ControlGallery::idIcons)->selection(), 2);

    // The dump was taken while the dialog was open, after the changes.
    const std::string text = Read(dump);
    std::filesystem::remove(dump);
    EXPECT_EQ(text.rfind("window dialog id=0 ok=1 text=\"Controls\"\n", 0), 0u) << text;
    EXPECT_NE(text.find("control 1003 combobox shown=1 enabled=1 focused=0 checked=- selection=9 editable=0 "
                        "dropped=0 count=10 text=\"1 week\"\n"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("control 1002 checkbox shown=1 enabled=1 focused=0 checked=0"), std::string::npos) << text;
    EXPECT_NE(text.find("item 1007 3 selected=0 depth=1 expanded=0 checked=1 text=\"Tennis\"\n"), std::string::npos)
        << text;
}

TEST_F(ScriptedDialogs, ATreeOpensCollapsedParentsAndScrollsBothWays)
{
    EXPECT_EQ(Run("command 103\ncheck 10 Deep 1\nselect 10 Item 1\nselect 10 Deep\npress CANCEL\n"), 0);
    ASSERT_TRUE(runner->errors().empty()) << runner->errors().front();
    EXPECT_EQ(results, std::vector<int>{IDCANCEL});
    EXPECT_TRUE(tree->check(deep));
    EXPECT_TRUE(tree->isExpanded(tree->parentOf(deep)));
    EXPECT_EQ(tree->selection(), deep);
}

TEST_F(ScriptedDialogs, AnAnswerArmedBeforeTheBoxOpensAnswersItAndAnUnansweredBoxWaitsForTheScript)
{
    const std::filesystem::path dump = std::filesystem::temp_directory_path() / "tavrel-script-box-dump.txt";
    EXPECT_EQ(Run("answer yes\n"
                  "command 101\n"
                  "command 101\n"
                  "dump " + dump.string() + "\n"
                  "press NO\n"
                  // A box over a dialog: the script works in the dialog's loop, the answer in the box's.
                  "command 100\n"
                  "answer Yes\n"
                  "press 1011\n"
                  "press OK\n"),
              0);
    ASSERT_TRUE(runner->errors().empty()) << runner->errors().front();
    EXPECT_EQ(results, (std::vector<int>{IDYES, IDNO, IDOK}));
    const std::string text = Read(dump);
    std::filesystem::remove(dump);
    EXPECT_EQ(text.rfind("window message-box id=0 ok=0 text=\"Gallery\"\nmessage text=\"Keep it open?\"\n", 0), 0u)
        << text;
}

TEST_F(ScriptedDialogs, ACheckBoxWhoseClickOpensABoxIsSetAndTheScriptGoesOnInTheBox)
{
    EXPECT_EQ(Run("command 104\ncheck 20 1\npress NO\ntext 20 x\n"), 1);
    EXPECT_EQ(results, (std::vector<int>{IDNO, IDCANCEL}));
    EXPECT_TRUE(confirming.controlAs<CheckBox>(20)->isChecked());
    ASSERT_EQ(runner->errors().size(), 1u);
    EXPECT_EQ(runner->errors().front(), "script line 4 (text 20 x): control 20 is no edit field");
}

TEST_F(ScriptedDialogs, ChooseFollowsAPathIntoASubmenuAndPressCancelDismissesAMenu)
{
    const std::filesystem::path dump = std::filesystem::temp_directory_path() / "tavrel-script-menu-dump.txt";
    EXPECT_EQ(Run("command 102\nchoose go to/&PREVIOUS\n"
                  // A path that ends at a submenu opens it; CANCEL then closes one level at a time.
                  "command 102\nchoose Go To\ndump " + dump.string() + "\npress CANCEL\nchoose Daily\n"
                  "command 102\nchoose Go To\npress CANCEL\npress CANCEL\n"),
              0);
    ASSERT_TRUE(runner->errors().empty()) << runner->errors().front();
    EXPECT_EQ(results, (std::vector<int>{32793, 32805, 0}));
    EXPECT_FALSE(PopupMenu::active());
    const std::string text = Read(dump);
    std::filesystem::remove(dump);
    EXPECT_NE(text.find("menu 0 1 id=0 enabled=1 checked=0 submenu=1 selected=1 text=\"&Go To\"\n"
                        "menu 0 2 id=32791 enabled=0 checked=0 submenu=0 selected=0 text=\"Exit\"\n"
                        "menu 1 0 id=32792 enabled=1 checked=0 submenu=0 selected=0 text=\"&Next\"\n"),
              std::string::npos)
        << text;
}

TEST_F(ScriptedDialogs, ALineThatFindsNothingEndsTheRunNamingTheLine)
{
    struct Case {
        const char* script;
        const char* error;
    };
    const Case cases[] = {
        {"command 100\nselect 1006 Purple\npress OK\n",
         "script line 2 (select 1006 Purple): no item \"Purple\" in control 1006"},
        {"command 100\n\npress 4242\n", "script line 3 (press 4242): no control 4242 in \"Controls\""},
        {"command 100\ncheck 1001 1\n", "script line 2 (check 1001 1): control 1001 is no check box"},
        {"command 100\ntext 1003 5 min\n",
         "script line 2 (text 1003 5 min): control 1003 is a drop-down list without an edit field"},
        {"command 102\nchoose Exit\n", "script line 2 (choose Exit): the menu item \"Exit\" is disabled"},
        {"command 102\nchoose Daily/Monday\n", "script line 2 (choose Daily/Monday): the menu item \"Daily\" has no "
                                               "submenu"},
        {"choose Daily\n", "script line 1 (choose Daily): no popup menu is open"},
        {"command 4242\n", "script line 1 (command 4242): nothing handles command 4242 in the foreground window"},
        {"command 100\ncommand 4242\n",
         "script line 2 (command 4242): nothing handles command 4242 in the foreground window"},
        {"answer cancel\ncommand 101\n", "script line 1 (answer cancel): the message box \"Gallery\" has no Cancel "
                                         "button"},
        {"answer yes\nanswer no\n",
         "script line 2 (answer no): line 1 armed an answer that no message box has taken yet"},
    };
    for (const Case& test : cases) {
        results.clear();
        EXPECT_EQ(Run(test.script), 1) << test.script;
        EXPECT_TRUE(runner->hasFailed());
        ASSERT_EQ(runner->errors().size(), 1u) << test.script;
        EXPECT_EQ(runner->errors().front(), test.error);
        // Every dialog and menu the failure left open was closed by the end of the loop.
        EXPECT_EQ(desktop.foreground(), &frame);
        EXPECT_FALSE(PopupMenu::active());
    }

    // An answer that no box took is reported when the script ends; the rest of the script ran.
    EXPECT_EQ(Run("answer no\ncommand 102\nchoose Daily\n"), 0);
    EXPECT_FALSE(runner->hasFailed());
    EXPECT_EQ(runner->errors(), std::vector<std::string>{"script line 1 (answer no): no message box opened to take the "
                                                         "answer"});
}

} // namespace
} // namespace ui
