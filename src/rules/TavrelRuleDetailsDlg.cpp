#include "rules/TavrelRuleDetailsDlg.h"

#include "platform/device/DevicePath.h"
#include "platform/ui/ComboBox.h"
#include "platform/ui/EditBox.h"
#include "platform/ui/Label.h"
#include "platform/ui/MessageBox.h"
#include "platform/ui/PushButton.h"
#include "rules/TavrelIconFolderSettings.h"
#include "rules/TavrelIconPickerDlg.h"
#include "rules/TavrelRule.h"
#include "rules/TavrelRuleOperators.h"

namespace {

using Ops = CTavrelRuleOperators;

CQoString textOf(device::WideView view) { return CQoString(device::WideString(view).c_str()); }

// Blanks around a text do not count, as they do not in a pattern's value.
CQoString withoutBlanks(device::WideView text)
{
    while (!text.empty() && text.front() == u' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == u' ')
        text.remove_suffix(1);
    return textOf(text);
}

} // namespace

CTavrelRuleDetailsDlg::CTavrelRuleDetailsDlg(const CTavrelRuleTerms& terms, const CQoString& icon,
                                             CTavrelIconFolderSettings& settings)
    : Dialog(Caption), m_terms(terms), m_icon(icon), m_settings(settings)
{
    setId(IDD);
    const int top = contentTop();
    addAt<ui::Label>(ui::IDSTATIC, {4, top + 6, 60, top + 24}, u"Field:");
    m_field = &addAt<ui::ComboBox>(IDC_FIELD, {62, top + 4, 236, top + 90});
    addAt<ui::Label>(ui::IDSTATIC, {4, top + 30, 60, top + 48}, u"Operator:");
    m_operator = &addAt<ui::ComboBox>(IDC_OPERATOR, {62, top + 28, 236, top + 150});
    addAt<ui::Label>(ui::IDSTATIC, {4, top + 54, 60, top + 72}, u"Text:");
    m_text = &addAt<ui::EditBox>(IDC_TEXT, {62, top + 52, 236, top + 72});
    addAt<ui::Label>(ui::IDSTATIC, {4, top + 78, 60, top + 96}, u"Icon:");
    m_iconPath = &addAt<ui::EditBox>(IDC_ICON, {62, top + 76, 206, top + 96});
    addAt<ui::PushButton>(IDC_BROWSE, {210, top + 76, 236, top + 96}, u"...");
}

bool CTavrelRuleDetailsDlg::onInitDialog()
{
    const device::WideView field
        = m_terms.GetField().IsEmpty() ? device::WideView(Ops::Subject) : m_terms.GetField().View();
    m_field->resetContent();
    for (const char16_t* known : Ops::Fields())
        m_field->addString(known);
    // A field this program does not know stays what it is rather than becoming another one.
    if (!Ops::IsKnownField(field))
        m_field->addString(field);
    for (int i = 0; i < m_field->count(); ++i) {
        if (m_field->itemText(i) == field)
            m_field->setCurSel(i);
    }
    FillOperators();
    const device::WideView operatorWord
        = m_terms.GetOperator().IsEmpty() ? device::WideView(Ops::Contains) : m_terms.GetOperator().View();
    for (int i = 0; i < m_operator->count(); ++i) {
        if (m_operator->itemText(i) == operatorWord)
            m_operator->setCurSel(i);
    }
    m_text->setText(m_terms.GetText().View());
    m_iconPath->setText(m_icon.View());
    return Dialog::onInitDialog();
}

void CTavrelRuleDetailsDlg::FillOperators()
{
    const device::WideString field = m_field->windowText();
    m_operator->resetContent();
    for (const char16_t* word : Ops::ForField(field))
        m_operator->addString(word);
    const device::WideView preSelected = Ops::PreSelected(field);
    for (int i = 0; i < m_operator->count(); ++i) {
        if (m_operator->itemText(i) == preSelected)
            m_operator->setCurSel(i);
    }
}

CTavrelRuleTerms CTavrelRuleDetailsDlg::GetTerms() const
{
    return CTavrelRuleTerms(textOf(m_field->windowText()), textOf(m_operator->windowText()),
                            withoutBlanks(m_text->text()));
}

CQoString CTavrelRuleDetailsDlg::GetIcon() const { return withoutBlanks(m_iconPath->text()); }

bool CTavrelRuleDetailsDlg::GetRule(CTavrelRule& rule) const
{
    const CTavrelRuleTerms terms = GetTerms();
    const CQoString icon = GetIcon();
    if (terms.GetText().IsEmpty() || icon.IsEmpty())
        return false;
    rule.Set(terms.GetField(), terms.BuildPattern(), icon);
    return true;
}

bool CTavrelRuleDetailsDlg::onOk()
{
    CTavrelRule rule;
    if (!GetRule(rule))
        return true; // closes; the caller leaves the rule as it was
    if (!GetTerms().TextStaysText()) {
        ui::messageBox(this, OperatorInTextMessage, Caption, ui::MB_OK | ui::MB_ICONEXCLAMATION);
        return false;
    }
    const CTavrelRulesFileWriter::Problem problem = CTavrelRulesFileWriter::FindProblem(rule);
    if (problem == CTavrelRulesFileWriter::Problem::None)
        return true;
    ui::messageBox(this, DescribeProblem(problem).View(), Caption, ui::MB_OK | ui::MB_ICONEXCLAMATION);
    return false;
}

bool CTavrelRuleDetailsDlg::onCommand(int id, int code, ui::WindowHandle source)
{
    if (id == IDC_FIELD && code == ui::CBN_SELCHANGE) {
        FillOperators();
        return true;
    }
    if (id == IDC_BROWSE && code == ui::BN_CLICKED) {
        PickIcon();
        return true;
    }
    return Dialog::onCommand(id, code, source);
}

void CTavrelRuleDetailsDlg::PickIcon()
{
    if (m_settings.GetIconPath().IsEmpty()) {
        m_settings.SetIconPath(textOf(device::DevicePath::join(m_settings.GetInstallFolder().View(), IconsFolder)));
    }
    CTavrelIconPickerDlg picker(m_settings);
    if (picker.RunModal() != ui::IDOK)
        return;
    m_iconPath->setText(device::DevicePath::join(picker.GetFolder().View(), picker.GetFileName().View()));
}

CQoString CTavrelRuleDetailsDlg::DescribeProblem(CTavrelRulesFileWriter::Problem problem)
{
    using Problem = CTavrelRulesFileWriter::Problem;
    CQoString text;
    switch (problem) {
    case Problem::Comma:
        text = u"The text cannot contain a comma: the rules file separates the parts of a rule with commas.";
        break;
    case Problem::LineBreak:
        text = u"The text and the icon cannot contain a line break: the rules file keeps each rule on one line.";
        break;
    case Problem::Unreadable:
        text = u"The text or the icon contains a character that the rules file cannot keep.";
        break;
    case Problem::TooLong:
        text.Format(u"The rule is too long for the rules file: its field, text and icon together may hold at most "
                    u"%u characters.",
                    unsigned(CTavrelRulesFileWriter::MaxTextLength));
        break;
    case Problem::None:
        break;
    }
    return text;
}
