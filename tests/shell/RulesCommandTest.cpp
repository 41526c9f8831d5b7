// "&Rules..." (32795) in the running program: the dialog edits a copy of the program's rules; only
// a copy that OK saved replaces them, under the rules lock, and the reader's next pass gives the
// appointments their new icons.

#include "MainFrameTestSupport.h"

#include "platform/device/FileSystem.h"
#include "platform/ui/ComboBox.h"
#include "platform/ui/EditBox.h"
#include "rules/TavrelRuleDetailsDlg.h"
#include "rules/TavrelRules.h"
#include "rules/TavrelRulesDlg.h"
#include "views/TavrelView.h"
#include "views/TavrelViewMessages.h"

#include <deque>

namespace {

using namespace shell_testing;
using device::OleDateTime;

class RulesCommandTest : public StartedProgram {
protected:
    RulesCommandTest()
    {
        // Each dialog that opens takes the next step meant for its id.
        onDialog = [this](ui::Window& window) {
            auto* dialog = dynamic_cast<ui::Dialog*>(&window);
            ASSERT_TRUE(dialog);
            auto& queue = steps[dialog->id()];
            if (queue.empty()) {
                ADD_FAILURE() << "dialog " << dialog->id() << " opened unexpectedly";
                dialog->endDialog(ui::IDCANCEL);
                return;
            }
            auto step = std::move(queue.front());
            queue.pop_front();
            step(*dialog);
        };
    }

    // Rule Details adds "Contains" `text` with `icon`.
    void AddRule(const char16_t* text, const char16_t* icon)
    {
        steps[CTavrelRuleDetailsDlg::IDD].push_back([this, text, icon](ui::Dialog& details) {
            Type(details, CTavrelRuleDetailsDlg::IDC_TEXT, text);
            Type(details, CTavrelRuleDetailsDlg::IDC_ICON, icon);
            automation.confirm();
        });
    }
    void Type(ui::Dialog& dialog, int id, const char16_t* text)
    {
        automation.tap(dialog.control(id));
        automation.typeText(text);
    }

    // The icon the view shows for its only event.
    std::string ShownIcon()
    {
        std::string icon;
        Frame().GetView()->GetEventSnapshot().ForEach(
            [&](const CTavrelEvent& event) { icon = Utf8(event.GetIcon().View()); });
        return icon;
    }
    static std::u16string Head(CTavrelRules rules)
    {
        const CTavrelRule* rule = rules.First();
        return rule ? std::u16string(rule->GetPattern().View()) : std::u16string();
    }

    std::map<int, std::deque<std::function<void(ui::Dialog&)>>> steps;
};

TEST_F(RulesCommandTest, OkSavesTheEditedCopyAndTheNextPassDrawsTheNewIconWhileCancelChangesNothing)
{
    AddAppointment(u"Dentist", OleDateTime(2026, 12, 8, 15, 0, 0), OleDateTime(2026, 12, 8, 16, 0, 0));
    ASSERT_TRUE(Start());
    ASSERT_TRUE(WaitForReaderPass());
    EXPECT_TRUE(Frame().queryCommand(ID_VIEW_RULES).enabled);
    const std::string before = ShownIcon();
    EXPECT_TRUE(before.ends_with("\\Icons\\Dentist.gif")) << before;
    const auto fileBefore = device::FileSystem::readAll(CTavrelRules::DefaultPath);

    // Added, then cancelled: the program's rules and the file stay as they were.
    steps[CTavrelRulesDlg::IDD].push_back([this](ui::Dialog& rules) {
        automation.tap(rules.control(CTavrelRulesDlg::IDC_ADD));
        automation.cancel();
    });
    AddRule(u"Dentist", u"\\Icons\\Tooth.gif");
    Command(ID_VIEW_RULES);
    EXPECT_EQ(Head(app->GetRulesCopy()), u"*BIRTHDAY*");
    EXPECT_EQ(device::FileSystem::readAll(CTavrelRules::DefaultPath), fileBefore);

    // Added and confirmed: saved, in the program, and drawn.
    steps[CTavrelRulesDlg::IDD].push_back([this](ui::Dialog& rules) {
        automation.tap(rules.control(CTavrelRulesDlg::IDC_ADD));
        automation.confirm();
    });
    AddRule(u"Dentist", u"\\Icons\\Tooth.gif");
    Command(ID_VIEW_RULES);
    EXPECT_EQ(Head(app->GetRulesCopy()), u"*Dentist*");
    CTavrelRules onDisk;
    ASSERT_TRUE(onDisk.Load(CTavrelRules::DefaultPath));
    EXPECT_TRUE(onDisk == app->GetRulesCopy());
    // Once the view has taken in a pass that started after the change (what a script's `idle`
    // waits for), it shows the new icon.
    ASSERT_TRUE(WaitForReaderPass());
    EXPECT_EQ(ShownIcon(), "\\Icons\\Tooth.gif");
    EXPECT_TRUE(messages.empty());
}

TEST_F(RulesCommandTest, ASaveThatFailsIsToldAndKeepsTheProgramsRulesAsTheyWere)
{
    ASSERT_TRUE(Start());
    const CTavrelRules before = app->GetRulesCopy();
    ASSERT_TRUE(device::FileSystem::createDirectory(u"\\My Documents\\Tavrel.TMP"));
    bool stayedOpen = false;
    steps[CTavrelRulesDlg::IDD].push_back([&](ui::Dialog& rules) {
        automation.tap(rules.control(CTavrelRulesDlg::IDC_ADD));
        automation.confirm(); // the save fails; the box is answered OK
        stayedOpen = !rules.hasEnded();
        automation.cancel();
    });
    AddRule(u"Gym", u"\\Icons\\Gym.gif");
    Command(ID_VIEW_RULES);
    EXPECT_TRUE(stayedOpen);
    EXPECT_EQ(messages, (std::vector<std::string>{Utf8(CTavrelRulesDlg::SaveFailedMessage)}));
    EXPECT_TRUE(app->GetRulesCopy() == before);
}

} // namespace
