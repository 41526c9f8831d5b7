#pragma once
// CAppointmentTypesDlg: the "Appointment Types" dialog (140 × 142 dialog units), the list of the
// appointment templates, reached through "Customize..." of the day menu's "New" submenu.
//
//   1016 list box   the templates' names: the registry's order, then each one added at the end
//   1007 "&Add"     Template Details for a new template (All Day, One time, the working day's
//                   start, resolving conflicts); OK with a subject stores it and selects it
//   1008 "&Edit"    Template Details for the selected template; a changed subject renames it
//                   (exactly one template is left, under the new name, selected at the end)
//   1003 "&Delete"  "Delete selected template?" and, on Yes, the template goes
//   1021 (label)    shown only with more templates than the "New" submenu can offer: why the
//                   ones after the 79th are kept but not offered
//
// Edit and Delete are enabled exactly while a name is selected. Opened with no template at all,
// the dialog explains what templates are for (the first-use text the caller passes in) and goes
// straight on to Add.
//
// Every change is written to the registry at once (CTavrelTemplateStore); the list shows one
// entry per template (a subject that names a template already overwrites that one and selects
// it). A change the registry refuses is told in a message box and the list stays as the registry
// has it.

#include "common/QoString.h"
#include "platform/ui/Dialog.h"
#include "templates/TavrelTemplateStore.h"

namespace ui {
class Label;
class ListBox;
class PushButton;
} // namespace ui

class CAppointmentTypesDlg : public ui::Dialog {
public:
    static constexpr const char16_t* MessageCaption = u"Tavrel";
    static constexpr const char16_t* Caption = u"Appointment Types";
    static constexpr int IDC_TEMPLATES = 1016;
    static constexpr int IDC_ADD = 1007;
    static constexpr int IDC_EDIT = 1008;
    static constexpr int IDC_DELETE = 1003;
    static constexpr int IDC_MENU_LIMIT = 1021;
    static constexpr const char16_t* DeleteQuestion = u"Delete selected template?";
    static constexpr const char16_t* NotSaved = u"The template could not be saved.";
    static constexpr const char16_t* NotDeleted = u"The template could not be deleted.";

    // `firstUseText`: what is shown when there are no templates yet (string 65056).
    CAppointmentTypesDlg(const CTavrelTemplateStore& store, const CQoString& firstUseText);

    // The actions of the three buttons.
    void Add();
    void Edit();
    void Delete();

protected:
    bool onInitDialog() override;
    bool onCommand(int id, int code, ui::WindowHandle source) override;
    ui::LResult handleMessage(std::uint32_t message, ui::WParam wParam, ui::LParam lParam) override;

private:
    // Posted by onInitDialog when there are no templates: the explanation and Add, once the
    // dialog is on the screen.
    static constexpr std::uint32_t WM_FIRST_USE = ui::WM_APP + 1;

    void UpdateButtons();
    // Selects the list's entry for `name` (ignoring case, as the registry names keys), adding it
    // at the end when there is none.
    void ShowName(const CQoString& name);
    void Tell(const char16_t* text);

    const CTavrelTemplateStore& m_store;
    CQoString m_firstUseText;
    ui::ListBox* m_list = nullptr;
    ui::PushButton* m_edit = nullptr;
    ui::PushButton* m_delete = nullptr;
    ui::Label* m_limit = nullptr;
};
