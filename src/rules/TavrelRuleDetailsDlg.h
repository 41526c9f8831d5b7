#pragma once
// CTavrelRuleDetailsDlg: "Rule Details" (dialog 138), which edits one icon rule as field (1004),
// operator (1014), text (1005) and icon file (1006); "..." (1002) picks the icon file with the
// icon picker (CTavrelIconPickerDlg).
//
// Opening fills the fields, an empty field taken as "Subject", fills that field's operators with
// their pre-selection (CTavrelRuleOperators) and then selects the given operator: an empty one is
// taken as "Contains", and one the list does not hold leaves the pre-selection. Choosing another
// field refills the operators with its pre-selection.
//
// OK with an empty text or icon closes the dialog but gives no rule: the caller leaves the rule as
// it was (Add adds nothing), without a message. Blanks around the text and the icon do not count.
// A rule the rules file could not give back as it is (a comma or a line break in the text, a text
// too long for a line of the file) is refused with a message that says why, and the dialog stays
// open, rather than the rule being lost when the rules are saved. So is a text that begins with
// "=", "<" or ">" where the pattern's operator ends: the rule would read it as its operator.

#include "common/QoString.h"
#include "platform/ui/Dialog.h"
#include "rules/TavrelRuleTerms.h"
#include "rules/TavrelRulesFileWriter.h"

class CTavrelIconFolderSettings;
class CTavrelRule;

namespace ui {
class ComboBox;
class EditBox;
} // namespace ui

class CTavrelRuleDetailsDlg : public ui::Dialog {
public:
    static constexpr int IDD = 138;
    static constexpr const char16_t* Caption = u"Rule Details";
    static constexpr int IDC_FIELD = 1004;
    static constexpr int IDC_OPERATOR = 1014;
    static constexpr int IDC_TEXT = 1005;
    static constexpr int IDC_ICON = 1006;
    static constexpr int IDC_BROWSE = 1002;
    // The folder below the install folder that the picker starts in the first time.
    static constexpr const char16_t* IconsFolder = u"Icons";
    static constexpr const char16_t* OperatorInTextMessage
        = u"With this operator the text cannot begin with \"=\", \"<\" or \">\": the rule would take them for "
          u"its operator.  Choose the operator from the list instead.";

    CTavrelRuleDetailsDlg(const CTavrelRuleTerms& terms, const CQoString& icon, CTavrelIconFolderSettings& settings);

    // After OK: the edited rule, its pattern built from operator and text. False, leaving `rule`
    // alone, when the text or the icon is empty.
    bool GetRule(CTavrelRule& rule) const;
    CTavrelRuleTerms GetTerms() const;
    CQoString GetIcon() const;

    // What the user is told about a rule the rules file cannot hold.
    static CQoString DescribeProblem(CTavrelRulesFileWriter::Problem problem);

protected:
    bool onInitDialog() override;
    bool onOk() override;
    bool onCommand(int id, int code, ui::WindowHandle source) override;

private:
    void FillOperators();
    void PickIcon();

    CTavrelRuleTerms m_terms;
    CQoString m_icon;
    CTavrelIconFolderSettings& m_settings;
    ui::ComboBox* m_field = nullptr;
    ui::ComboBox* m_operator = nullptr;
    ui::EditBox* m_text = nullptr;
    ui::EditBox* m_iconPath = nullptr;
};
