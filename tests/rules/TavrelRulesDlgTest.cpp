// The Rules dialog and Rule Details driven as a person drives them: adding, editing, deleting,
// moving, starting over with the defaults, and what the dialogs refuse.

#include "RulesDialogHarness.h"
#include "RulesTestSupport.h"

#include "platform/device/FileSystem.h"
#include "rules/TavrelDefaultRules.h"
#include "rules/TavrelRuleDetailsDlg.h"
#include "rules/TavrelRulesDlg.h"
#include "rules/TavrelRulesFileWriter.h"

namespace {

using namespace rules_test;
using Rules = CTavrelRulesDlg;
using Details = CTavrelRuleDetailsDlg;

class TavrelRulesDlgTest : public RulesDialogHarness {
protected:
    // The rules file as a first start writes it, and the program's copy of it.
    CTavrelRules Defaults()
    {
        CTavrelRules rules;
        EXPECT_TRUE(rules.Load(CTavrelRules::DefaultPath));
        EXPECT_EQ(rules.GetCount(), CTavrelDefaultRules::Count);
        return rules;
    }

    int RunRules(CTavrelRules& rules, std::function<void(Rules&)> act)
    {
        Rules dialog(rules, settings);
        When<Rules>(Rules::IDD, std::move(act));
        return dialog.RunModal();
    }

    static std::vector<Triple> OnDisk()
    {
        CTavrelRules rules;
        EXPECT_TRUE(rules.Load(CTavrelRules::DefaultPath));
        return triples(rules);
    }

    static std::string LineText(Rules& dialog, int index) { return Utf8(dialog.GetList().itemText(index)); }

    void SelectLine(Rules& dialog, int index) { EXPECT_TRUE(automation.selectItem(&dialog.GetList(), index)); }

    std::string ComboText(ui::Dialog& dialog, int id) { return Utf8(Find<ui::ComboBox>(dialog, id)->windowText()); }
    std::string EditText(ui::Dialog& dialog, int id) { return Utf8(Find<ui::EditBox>(dialog, id)->text()); }
};

TEST_F(TavrelRulesDlgTest, AddingAStartsWithRulePutsItAtTheHeadAndOkSavesTheList)
{
    CTavrelRules rules = Defaults();
    std::string openedWith;
    When<Details>(Details::IDD, [&](Details& details) {
        openedWith = ComboText(details, Details::IDC_FIELD) + "|" + ComboText(details, Details::IDC_OPERATOR) + "|"
            + EditText(details, Details::IDC_TEXT) + "|" + EditText(details, Details::IDC_ICON);
        Select(details, Details::IDC_OPERATOR, u"Starts with");
        SetText(details, Details::IDC_TEXT, u"Lunch");
        SetText(details, Details::IDC_ICON, u"\\Icons\\Lunch.gif");
        automation.confirm();
    });
    std::string head;
    int selected = -2;
    const int result = RunRules(rules, [&](Rules& dialog) {
        EXPECT_EQ(dialog.GetList().count(), 55);
        EXPECT_EQ(LineText(dialog, 0), "[Subject] Contains \"BIRTHDAY\"");
        Press(dialog, Rules::IDC_ADD);
        head = LineText(dialog, 0);
        selected = dialog.GetList().curSel();
        EXPECT_EQ(dialog.GetList().count(), 56);
        automation.confirm();
    });
    EXPECT_EQ(openedWith, "Subject|Contains||");
    EXPECT_EQ(result, ui::IDOK);
    EXPECT_EQ(head, "[Subject] Starts with \"Lunch\"");
    EXPECT_EQ(selected, 0);
    ASSERT_EQ(rules.GetCount(), 56u);
    const std::vector<Triple> edited = triples(rules);
    EXPECT_EQ(edited.front(), Triple(u"Subject", u"Lunch*", u"\\Icons\\Lunch.gif"));
    EXPECT_EQ(OnDisk(), edited) << "OK saved the list to the rules file";
    EXPECT_TRUE(messages.empty());
}

TEST_F(TavrelRulesDlgTest, EditingShowsTheOperatorAndTextOfThePatternAndWritesTheChangeBack)
{
    CTavrelRules rules = Defaults();
    rules.AddTail(CTavrelRule(u"Category", u"<>Meeting", u"\\Icons\\Other.gif"));
    const std::vector<Triple> before = triples(rules);

    std::vector<std::string> opened;
    auto record = [&](Details& details) {
        opened.push_back(ComboText(details, Details::IDC_FIELD) + "|" + ComboText(details, Details::IDC_OPERATOR) + "|"
                         + EditText(details, Details::IDC_TEXT));
    };
    // The default ">0" on "# Recipients" (the 25th rule) becomes ">=2".
    When<Details>(Details::IDD, [&](Details& details) {
        record(details);
        Select(details, Details::IDC_OPERATOR, u">=");
        SetText(details, Details::IDC_TEXT, u"2");
        automation.confirm();
    });
    // "<>Meeting" opens as "Not"; OK without a change keeps the pattern.
    When<Details>(Details::IDD, [&](Details& details) {
        record(details);
        automation.confirm();
    });
    // An empty text discards the change without a word.
    When<Details>(Details::IDD, [&](Details& details) {
        SetText(details, Details::IDC_TEXT, u"");
        SetText(details, Details::IDC_ICON, u"\\Icons\\Lost.gif");
        automation.confirm();
    });
    std::string editedLine;
    int selectedAfterEdit = -2;
    RunRules(rules, [&](Rules& dialog) {
        SelectLine(dialog, 24);
        EXPECT_EQ(LineText(dialog, 24), "[# Recipients] > \"0\"");
        Press(dialog, Rules::IDC_EDIT);
        editedLine = LineText(dialog, 24);
        selectedAfterEdit = dialog.GetList().curSel();
        SelectLine(dialog, 55);
        EXPECT_EQ(LineText(dialog, 55), "[Category] <> \"Meeting\"");
        Press(dialog, Rules::IDC_EDIT);
        SelectLine(dialog, 0);
        Press(dialog, Rules::IDC_EDIT);
        automation.cancel();
    });
    EXPECT_EQ(opened, (std::vector<std::string>{"# Recipients|>|0", "Category|Not|Meeting"}));
    EXPECT_EQ(editedLine, "[# Recipients] >= \"2\"");
    EXPECT_EQ(selectedAfterEdit, 24);
    std::vector<Triple> expected = before;
    std::get<1>(expected[24]) = u">=2";
    EXPECT_EQ(triples(rules), expected);
    EXPECT_TRUE(messages.empty());
    // Cancelled: the rules file was not touched.
    ASSERT_EQ(before.size(), 56u);
    std::vector<Triple> defaults = before;
    defaults.pop_back();
    EXPECT_EQ(OnDisk(), defaults);
}

TEST_F(TavrelRulesDlgTest, DefaultsAnsweredNoChangesNothingAndYesRewritesTheFileAtOnceEvenWhenThenCancelled)
{
    const std::vector<Triple> mine
        = {{u"Subject", u"*Gym*", u"\\Icons\\Gym.gif"}, {u"Category", u"Work", u"\\Icons\\Work.gif"}};
    CTavrelRules saved = rulesOf(mine);
    ASSERT_TRUE(saved.Save(CTavrelRules::DefaultPath));
    CTavrelRules rules;
    ASSERT_TRUE(rules.Load(CTavrelRules::DefaultPath));
    // A backup that a save cut off long ago left behind; the next start would bring it back.
    const char16_t* backup = u"\\My Documents\\Tavrel.BAK";
    ASSERT_TRUE(writeFile(backup, u"Subject,*Old*,\\Icons\\Old.gif\r\n"));
    const auto fileBefore = readFile(CTavrelRules::DefaultPath);

    Answer(u"No");
    Answer(u"Yes");
    std::vector<int> counts;
    bool unchangedAfterNo = false;
    std::string head;
    const int result = RunRules(rules, [&](Rules& dialog) {
        counts.push_back(dialog.GetList().count());
        Press(dialog, Rules::IDC_DEFAULTS);
        counts.push_back(dialog.GetList().count());
        unchangedAfterNo = readFile(CTavrelRules::DefaultPath) == fileBefore && device::FileSystem::exists(backup);
        Press(dialog, Rules::IDC_DEFAULTS);
        counts.push_back(dialog.GetList().count());
        head = LineText(dialog, 0);
        automation.cancel();
    });
    EXPECT_EQ(result, ui::IDCANCEL);
    EXPECT_EQ(messages, (std::vector<std::string>{Utf8(Rules::DefaultsQuestion), Utf8(Rules::DefaultsQuestion)}));
    EXPECT_EQ(messageDefaults, (std::vector<int>{ui::IDNO, ui::IDNO})) << "No is the default button";
    EXPECT_EQ(counts, (std::vector<int>{2, 2, 55}));
    EXPECT_TRUE(unchangedAfterNo);
    EXPECT_EQ(head, "[Subject] Contains \"BIRTHDAY\"");
    EXPECT_FALSE(device::FileSystem::exists(backup));
    const std::vector<Triple> onDisk = OnDisk();
    ASSERT_EQ(onDisk.size(), 55u) << "the defaults stand although the dialog was cancelled";
    EXPECT_EQ(onDisk, triples(rules));
}

TEST_F(TavrelRulesDlgTest, MoveUpAndDownAreDisabledAtTheEndsAndKeepTheMovedLineSelected)
{
    CTavrelRules rules = rulesOf(
        {{u"Subject", u"*a*", u"\\A.gif"}, {u"Subject", u"*b*", u"\\B.gif"}, {u"Subject", u"*c*", u"\\C.gif"}});
    auto buttons = [&](Rules& dialog) {
        std::string state;
        for (int id : {Rules::IDC_EDIT, Rules::IDC_DELETE, Rules::IDC_MOVE_UP, Rules::IDC_MOVE_DOWN})
            state += IsEnabled(dialog, id) ? '1' : '0';
        return state + " sel=" + std::to_string(dialog.GetList().curSel());
    };
    std::vector<std::string> states;
    std::vector<std::string> lines;
    std::string editedText;
    When<Details>(Details::IDD, [&](Details& details) {
        editedText = EditText(details, Details::IDC_TEXT);
        automation.cancel();
    });
    RunRules(rules, [&](Rules& dialog) {
        states.push_back(buttons(dialog)); // nothing selected
        SelectLine(dialog, 0);
        states.push_back(buttons(dialog));
        SelectLine(dialog, 2);
        states.push_back(buttons(dialog));
        Press(dialog, Rules::IDC_MOVE_UP);
        states.push_back(buttons(dialog));
        Press(dialog, Rules::IDC_MOVE_UP);
        states.push_back(buttons(dialog));
        Press(dialog, Rules::IDC_MOVE_DOWN);
        states.push_back(buttons(dialog));
        for (int i = 0; i < dialog.GetList().count(); ++i)
            lines.push_back(LineText(dialog, i));
        // The moved line carries its new position: Edit opens its rule.
        Press(dialog, Rules::IDC_EDIT);
        automation.cancel();
    });
    EXPECT_EQ(states,
              (std::vector<std::string>{"0000 sel=-1", "1101 sel=0", "1110 sel=2", "1111 sel=1", "1101 sel=0",
                                        "1111 sel=1"}));
    EXPECT_EQ(
        lines,
        (std::vector<std::string>{"[Subject] Contains \"a\"", "[Subject] Contains \"c\"", "[Subject] Contains \"b\""}));
    EXPECT_EQ(editedText, "c");
    EXPECT_EQ(triples(rules),
              (std::vector<Triple>{{u"Subject", u"*a*", u"\\A.gif"},
                                   {u"Subject", u"*c*", u"\\C.gif"},
                                   {u"Subject", u"*b*", u"\\B.gif"}}));
}

TEST_F(TavrelRulesDlgTest, DeleteAsksFirstAndRemovesTheSelectedRuleOnYes)
{
    CTavrelRules rules = rulesOf(
        {{u"Subject", u"*a*", u"\\A.gif"}, {u"Subject", u"*b*", u"\\B.gif"}, {u"Subject", u"*c*", u"\\C.gif"}});
    Answer(u"No");
    Answer(u"Yes");
    std::vector<int> counts;
    std::string afterDelete;
    RunRules(rules, [&](Rules& dialog) {
        SelectLine(dialog, 1);
        Press(dialog, Rules::IDC_DELETE);
        counts.push_back(dialog.GetList().count());
        Press(dialog, Rules::IDC_DELETE);
        counts.push_back(dialog.GetList().count());
        afterDelete = std::string(IsEnabled(dialog, Rules::IDC_EDIT) ? "edit" : "-")
            + (IsEnabled(dialog, Rules::IDC_DELETE) ? "delete" : "-");
        automation.cancel();
    });
    EXPECT_EQ(messages, (std::vector<std::string>{Utf8(Rules::DeleteQuestion), Utf8(Rules::DeleteQuestion)}));
    EXPECT_EQ(counts, (std::vector<int>{3, 2}));
    EXPECT_EQ(afterDelete, "--") << "no line is selected after the delete";
    EXPECT_EQ(triples(rules),
              (std::vector<Triple>{{u"Subject", u"*a*", u"\\A.gif"}, {u"Subject", u"*c*", u"\\C.gif"}}));
}

TEST_F(TavrelRulesDlgTest, RuleDetailsRefillsTheOperatorsPerFieldAndRefusesWhatTheFileCannotHoldWithTheReason)
{
    CTavrelRules rules = Defaults();
    std::vector<std::string> operatorLists;
    std::vector<bool> stillOpen;
    auto operators = [&](Details& details) {
        ui::ComboBox* list = Find<ui::ComboBox>(details, Details::IDC_OPERATOR);
        std::string text;
        for (int i = 0; i < list->count(); ++i)
            text += Utf8(list->itemText(i)) + (i == list->curSel() ? "*" : "") + " ";
        return text;
    };
    When<Details>(Details::IDD, [&](Details& details) {
        operatorLists.push_back(operators(details));
        Select(details, Details::IDC_FIELD, u"Category");
        operatorLists.push_back(operators(details));
        Select(details, Details::IDC_FIELD, u"# Recipients");
        operatorLists.push_back(operators(details));
        Select(details, Details::IDC_FIELD, u"Subject");
        SetText(details, Details::IDC_TEXT, u"Lunch, Dinner");
        SetText(details, Details::IDC_ICON, u"\\Icons\\Food.gif");
        automation.confirm();
        stillOpen.push_back(!details.hasEnded());
        // "=" with a text that begins with ">" would become a "greater than" rule.
        Select(details, Details::IDC_OPERATOR, u"=");
        SetText(details, Details::IDC_TEXT, u">5");
        automation.confirm();
        stillOpen.push_back(!details.hasEnded());
        Select(details, Details::IDC_OPERATOR, u"Contains");
        // Eight thousand characters typed one by one would show nothing more.
        Find<ui::EditBox>(details, Details::IDC_TEXT)
            ->setText(std::u16string(CTavrelRulesFileWriter::MaxTextLength, u'x'));
        automation.confirm();
        stillOpen.push_back(!details.hasEnded());
        Find<ui::EditBox>(details, Details::IDC_TEXT)->setText(u"");
        SetText(details, Details::IDC_TEXT, u"  Lunch ");
        automation.confirm();
        stillOpen.push_back(!details.hasEnded());
    });
    RunRules(rules, [&](Rules& dialog) {
        Press(dialog, Rules::IDC_ADD);
        automation.confirm();
    });
    EXPECT_EQ(operatorLists,
              (std::vector<std::string>{"= Not Starts with Ends with Contains* ", "=* Not ", "= Not >* < >= <= "}));
    EXPECT_EQ(stillOpen, (std::vector<bool>{true, true, true, false}));
    ASSERT_EQ(messages.size(), 3u);
    EXPECT_EQ(messages[0], Utf8(Details::DescribeProblem(CTavrelRulesFileWriter::Problem::Comma).View()));
    EXPECT_NE(messages[0].find("comma"), std::string::npos);
    EXPECT_EQ(messages[1], Utf8(Details::OperatorInTextMessage));
    EXPECT_EQ(messages[2], Utf8(Details::DescribeProblem(CTavrelRulesFileWriter::Problem::TooLong).View()));
    EXPECT_NE(messages[2].find("8190"), std::string::npos);
    // Blanks around the text do not count.
    EXPECT_EQ(triples(rules).front(), Triple(u"Subject", u"*Lunch*", u"\\Icons\\Food.gif"));
    EXPECT_EQ(OnDisk(), triples(rules));

    // What typing cannot bring in is refused as well, each for its reason.
    using Problem = CTavrelRulesFileWriter::Problem;
    EXPECT_EQ(CTavrelRulesFileWriter::FindProblem(CTavrelRule(u"Subject", u"a\nb", u"\\x.gif")), Problem::LineBreak);
    EXPECT_EQ(CTavrelRulesFileWriter::FindProblem(CTavrelRule(u"Subject", u"ab", u"\\x\r.gif")), Problem::LineBreak);
    EXPECT_EQ(CTavrelRulesFileWriter::FindProblem(CTavrelRule(u"Subject", u"a\uFEFFb", u"\\x.gif")),
              Problem::Unreadable);
    EXPECT_EQ(CTavrelRulesFileWriter::FindProblem(CTavrelRule(u"Subject", u"ab", u"\\x,y.gif")), Problem::None)
        << "the icon is the rest of the line, commas and all";
    EXPECT_NE(Utf8(Details::DescribeProblem(Problem::LineBreak).View()).find("line break"), std::string::npos);
}

TEST_F(TavrelRulesDlgTest, ASaveThatFailsIsToldAndTheDialogKeepsTheEditsForAnotherTry)
{
    CTavrelRules rules = Defaults();
    // A folder where the save writes its temporary file: the save cannot start.
    const char16_t* blocker = u"\\My Documents\\Tavrel.TMP";
    ASSERT_TRUE(device::FileSystem::createDirectory(blocker));
    When<Details>(Details::IDD, [&](Details& details) {
        SetText(details, Details::IDC_TEXT, u"Dentist");
        SetText(details, Details::IDC_ICON, u"\\Icons\\Tooth.gif");
        automation.confirm();
    });
    bool openAfterFailure = false;
    std::size_t onDiskAfterFailure = 0;
    const int result = RunRules(rules, [&](Rules& dialog) {
        Press(dialog, Rules::IDC_ADD);
        automation.confirm();
        openAfterFailure = !dialog.hasEnded() && dialog.GetList().count() == 56;
        onDiskAfterFailure = OnDisk().size();
        EXPECT_TRUE(device::FileSystem::removeDirectory(blocker));
        automation.confirm();
    });
    EXPECT_EQ(messages, (std::vector<std::string>{Utf8(Rules::SaveFailedMessage)}));
    EXPECT_TRUE(openAfterFailure);
    EXPECT_EQ(onDiskAfterFailure, 55u);
    EXPECT_EQ(result, ui::IDOK);
    EXPECT_EQ(OnDisk(), triples(rules));
    EXPECT_EQ(std::get<1>(OnDisk().front()), u"*Dentist*");
}

TEST_F(TavrelRulesDlgTest, AListAsLongAsTheFileAllowsTakesNoFurtherRule)
{
    CTavrelRules rules;
    for (std::size_t i = 0; i < CTavrelRulesFileReader::MaxRules; ++i)
        rules.AddTail(CTavrelRule(u"Subject", u"*x*", u"\\x.gif"));
    RunRules(rules, [&](Rules& dialog) {
        Press(dialog, Rules::IDC_ADD); // no Rule Details: the harness fails on an unexpected dialog
        automation.cancel();
    });
    EXPECT_EQ(messages, (std::vector<std::string>{Utf8(Rules::ListFullMessage)}));
    EXPECT_EQ(rules.GetCount(), CTavrelRulesFileReader::MaxRules);
}

} // namespace
