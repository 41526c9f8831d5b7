#include "rules/TavrelRulesDlg.h"

#include "platform/ui/ListBox.h"
#include "platform/ui/MessageBox.h"
#include "platform/ui/PushButton.h"
#include "platform/ui/WaitCursor.h"
#include "rules/TavrelRuleDetailsDlg.h"
#include "rules/TavrelRuleTerms.h"
#include "rules/TavrelRulesFileReader.h"

CTavrelRulesDlg::CTavrelRulesDlg(CTavrelRules& rules, CTavrelIconFolderSettings& settings, const char16_t* path)
    : Dialog(Caption), m_rules(rules), m_settings(settings), m_path(path)
{
    setId(IDD);
    const int top = contentTop();
    m_list = &addAt<ui::ListBox>(IDC_RULES, {4, top + 4, 236, top + 178});
    addAt<ui::PushButton>(IDC_ADD, {4, top + 184, 78, top + 204}, u"&Add");
    addAt<ui::PushButton>(IDC_EDIT, {83, top + 184, 157, top + 204}, u"&Edit");
    addAt<ui::PushButton>(IDC_DELETE, {162, top + 184, 236, top + 204}, u"&Delete");
    addAt<ui::PushButton>(IDC_MOVE_UP, {4, top + 210, 78, top + 230}, u"Move Up");
    addAt<ui::PushButton>(IDC_MOVE_DOWN, {83, top + 210, 157, top + 230}, u"Move Down");
    addAt<ui::PushButton>(IDC_DEFAULTS, {162, top + 210, 236, top + 230}, u"&Defaults");
}

bool CTavrelRulesDlg::onInitDialog()
{
    Refill(-1);
    return Dialog::onInitDialog();
}

void CTavrelRulesDlg::Refill(int select)
{
    m_list->resetContent();
    const CTavrelRules::Position count = m_rules.GetTailPosition();
    for (CTavrelRules::Position position = 1; position <= count; ++position) {
        if (const CTavrelRule* rule = m_rules.GetAt(position))
            m_list->addString(CTavrelRuleTerms::ListLine(*rule).View(), std::intptr_t(position));
    }
    m_list->setCurSel(select);
    UpdateButtons();
}

void CTavrelRulesDlg::UpdateButtons()
{
    const int selected = m_list->curSel();
    const int count = m_list->count();
    control(IDC_EDIT)->enable(selected >= 0);
    control(IDC_DELETE)->enable(selected >= 0);
    control(IDC_MOVE_UP)->enable(selected > 0);
    control(IDC_MOVE_DOWN)->enable(selected >= 0 && selected < count - 1);
}

CTavrelRules::Position CTavrelRulesDlg::GetSelectedPosition() const
{
    const int selected = m_list->curSel();
    return selected < 0 ? 0 : CTavrelRules::Position(m_list->itemData(selected));
}

bool CTavrelRulesDlg::onOk()
{
    bool saved = false;
    {
        ui::WaitCursor busy;
        saved = m_rules.Save(m_path);
    }
    if (saved)
        return true;
    ui::messageBox(this, SaveFailedMessage, MessageCaption, ui::MB_OK | ui::MB_ICONEXCLAMATION);
    return false;
}

bool CTavrelRulesDlg::onCommand(int id, int code, ui::WindowHandle source)
{
    if (id == IDC_RULES) {
        if (code == ui::LBN_SELCHANGE)
            UpdateButtons();
        return true;
    }
    if (code != ui::BN_CLICKED)
        return Dialog::onCommand(id, code, source);
    switch (id) {
    case IDC_ADD:
        OnAdd();
        return true;
    case IDC_EDIT:
        OnEdit();
        return true;
    case IDC_DELETE:
        OnDelete();
        return true;
    case IDC_MOVE_UP:
        OnMove(true);
        return true;
    case IDC_MOVE_DOWN:
        OnMove(false);
        return true;
    case IDC_DEFAULTS:
        OnDefaults();
        return true;
    default:
        return Dialog::onCommand(id, code, source);
    }
}

void CTavrelRulesDlg::OnAdd()
{
    if (m_rules.GetCount() >= CTavrelRulesFileReader::MaxRules) {
        ui::messageBox(this, ListFullMessage, MessageCaption, ui::MB_OK | ui::MB_ICONEXCLAMATION);
        return;
    }
    CTavrelRuleDetailsDlg details(CTavrelRuleTerms(), CQoString(), m_settings);
    CTavrelRule rule;
    if (details.RunModal() != ui::IDOK || !details.GetRule(rule))
        return;
    m_rules.AddHead(rule);
    Refill(0);
}

void CTavrelRulesDlg::OnEdit()
{
    const CTavrelRules::Position position = GetSelectedPosition();
    const CTavrelRule* selected = m_rules.GetAt(position);
    if (!selected)
        return;
    CTavrelRule rule = *selected;
    CTavrelRuleDetailsDlg details(CTavrelRuleTerms::FromRule(rule), rule.GetIcon(), m_settings);
    if (details.RunModal() != ui::IDOK || !details.GetRule(rule))
        return;
    m_rules.SetAt(position, rule);
    Refill(int(position) - 1);
}

void CTavrelRulesDlg::OnDelete()
{
    const CTavrelRule* selected = m_rules.GetAt(GetSelectedPosition());
    if (!selected)
        return;
    const CTavrelRule rule = *selected;
    if (ui::messageBox(this, DeleteQuestion, MessageCaption, ui::MB_YESNO | ui::MB_ICONQUESTION) != ui::IDYES)
        return;
    m_rules.Remove(rule);
    Refill(-1);
}

void CTavrelRulesDlg::OnMove(bool up)
{
    const int selected = m_list->curSel();
    const CTavrelRules::Position position = GetSelectedPosition();
    if (position == 0)
        return;
    const CTavrelRules::Position moved = up ? m_rules.MoveUp(position) : m_rules.MoveDown(position);
    if (moved == 0 || moved == position)
        return;
    // The two lines change places; each carries its new position, and the moved one stays selected.
    const device::WideString line = m_list->itemText(selected);
    m_list->deleteString(selected);
    m_list->insertString(int(moved) - 1, line, std::intptr_t(moved));
    m_list->setItemData(selected, std::intptr_t(position));
    m_list->setCurSel(int(moved) - 1);
    UpdateButtons();
}

void CTavrelRulesDlg::OnDefaults()
{
    if (ui::messageBox(this, DefaultsQuestion, MessageCaption, ui::MB_YESNO | ui::MB_DEFBUTTON2 | ui::MB_ICONQUESTION)
        != ui::IDYES)
        return;
    bool reset = false;
    {
        ui::WaitCursor busy;
        reset = m_rules.Reset(m_path);
    }
    Refill(-1);
    if (!reset)
        ui::messageBox(this, DefaultsFailedMessage, MessageCaption, ui::MB_OK | ui::MB_ICONEXCLAMATION);
}
