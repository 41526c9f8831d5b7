#include "templates/AppointmentTypesDlg.h"

#include "data/TavrelNewCommands.h"
#include "platform/ui/Label.h"
#include "platform/ui/ListBox.h"
#include "platform/ui/MessageBox.h"
#include "platform/ui/PushButton.h"
#include "templates/TemplateDetailsDlg.h"

namespace {

CQoString LimitText()
{
    CQoString text;
    text.Format(u"Only the first %d templates fit the New menu; the others are kept here.", MaxMenuTemplates);
    return text;
}

} // namespace

CAppointmentTypesDlg::CAppointmentTypesDlg(const CTavrelTemplateStore& store, const CQoString& firstUseText)
    : Dialog(Caption, 140, 142), m_store(store), m_firstUseText(firstUseText)
{
    m_list = &add<ui::ListBox>(IDC_TEMPLATES, 7, 4, 126, 92);
    add<ui::PushButton>(IDC_ADD, 7, 100, 38, 14, u"&Add");
    m_edit = &add<ui::PushButton>(IDC_EDIT, 51, 100, 38, 14, u"&Edit");
    m_delete = &add<ui::PushButton>(IDC_DELETE, 95, 100, 38, 14, u"&Delete");
    m_limit = &add<ui::Label>(IDC_MENU_LIMIT, 7, 118, 126, 20, LimitText().View());
}

bool CAppointmentTypesDlg::onInitDialog()
{
    m_list->resetContent();
    for (const CQoString& name : m_store.GetNames())
        m_list->addString(name.View());
    UpdateButtons();
    if (m_list->count() == 0)
        post(WM_FIRST_USE);
    return Dialog::onInitDialog();
}

ui::LResult CAppointmentTypesDlg::handleMessage(std::uint32_t message, ui::WParam wParam, ui::LParam lParam)
{
    if (message == WM_FIRST_USE) {
        ui::messageBox(this, m_firstUseText.View(), MessageCaption, ui::MB_OK | ui::MB_ICONINFORMATION);
        Add();
        return 0;
    }
    return Dialog::handleMessage(message, wParam, lParam);
}

bool CAppointmentTypesDlg::onCommand(int id, int code, ui::WindowHandle source)
{
    switch (id) {
    case IDC_TEMPLATES:
        if (code == ui::LBN_SELCHANGE)
            UpdateButtons();
        return true;
    case IDC_ADD:
        if (code == ui::BN_CLICKED)
            Add();
        return true;
    case IDC_EDIT:
        if (code == ui::BN_CLICKED)
            Edit();
        return true;
    case IDC_DELETE:
        if (code == ui::BN_CLICKED)
            Delete();
        return true;
    default:
        return Dialog::onCommand(id, code, source);
    }
}

void CAppointmentTypesDlg::UpdateButtons()
{
    const bool selected = m_list->curSel() >= 0;
    m_edit->enable(selected);
    m_delete->enable(selected);
    m_limit->show(m_list->count() > MaxMenuTemplates);
}

void CAppointmentTypesDlg::ShowName(const CQoString& name)
{
    int index = m_list->findStringExact(-1, name.View());
    if (index < 0)
        index = m_list->addString(name.View());
    m_list->setCurSel(index);
}

void CAppointmentTypesDlg::Tell(const char16_t* text)
{
    ui::messageBox(this, text, MessageCaption, ui::MB_OK | ui::MB_ICONWARNING);
}

void CAppointmentTypesDlg::Add()
{
    CTavrelAppointmentTemplate entry;
    entry.startTime = m_store.GetDefaultStartTime();
    CTemplateDetailsDlg details(entry, m_store.GetDefaultStartTime());
    if (details.RunModal() != ui::IDOK || entry.subject.IsEmpty())
        return;
    if (!m_store.Write(entry)) {
        Tell(NotSaved);
        return;
    }
    ShowName(entry.subject);
    UpdateButtons();
}

void CAppointmentTypesDlg::Edit()
{
    const int selected = m_list->curSel();
    if (selected < 0)
        return;
    const CQoString oldName(m_list->itemText(selected).c_str());
    if (oldName.IsEmpty())
        return;
    CTavrelAppointmentTemplate entry;
    if (std::optional<CTavrelAppointmentTemplate> stored = m_store.Read(oldName))
        entry = *stored;
    else
        entry.subject = oldName; // gone meanwhile: editing it writes it anew
    CTemplateDetailsDlg details(entry, m_store.GetDefaultStartTime());
    // An emptied subject would name no template: the template stays as it was.
    if (details.RunModal() != ui::IDOK || entry.subject.IsEmpty())
        return;
    if (!m_store.Replace(oldName, entry)) {
        Tell(NotSaved);
        return;
    }
    if (entry.subject.View() != oldName.View()) { // any change of the text, letter case included
        m_list->deleteString(selected);
        ShowName(entry.subject);
    }
    UpdateButtons();
}

void CAppointmentTypesDlg::Delete()
{
    const int selected = m_list->curSel();
    if (selected < 0)
        return;
    if (ui::messageBox(this, DeleteQuestion, MessageCaption, ui::MB_YESNO | ui::MB_ICONQUESTION) != ui::IDYES)
        return;
    const CQoString name(m_list->itemText(selected).c_str());
    if (!m_store.Delete(name) && m_store.Read(name)) {
        Tell(NotDeleted);
        return;
    }
    m_list->deleteString(selected);
    UpdateButtons();
}
