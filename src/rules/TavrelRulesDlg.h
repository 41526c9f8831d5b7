#pragma once
// CTavrelRulesDlg: "Rules" (dialog 137), the list of icon rules in the order they are tried, with
// "&Add", "&Edit", "&Delete", "Move Up", "Move Down" and "&Defaults".
//
// The dialog edits the list it is given — the program hands it a copy of its rules — and saves
// that list to the rules file when the user confirms with OK; only a list that was saved is
// confirmed. A save that fails (storage full, a file that cannot be replaced) is told, and the
// dialog stays open with the edits, which the user may try to save again or cancel.
//
// Each rule is one line of the list box (1001), `[field] operator "text"` (CTavrelRuleTerms),
// carrying the rule's position. "&Add" opens Rule Details with empty values and puts the new rule
// at the head of the list, where it is tried first; "&Edit" opens it on the selected rule and
// writes the result back into it; "&Delete" asks first and removes the first rule equal to the
// selected one. "Move Up" and "Move Down" swap the selected rule with its neighbour and keep it
// selected. "&Defaults" asks (No is the default answer) and, on Yes, starts the rules file over
// with the default rules at once — even when the dialog is then cancelled — and shows them.
//
// "&Edit" and "&Delete" are enabled while a line is selected, "Move Up" while a line other than the
// first is, "Move Down" while a line other than the last is.

#include "common/QoString.h"
#include "platform/ui/Dialog.h"
#include "rules/TavrelRules.h"

class CTavrelIconFolderSettings;

namespace ui {
class ListBox;
}

class CTavrelRulesDlg : public ui::Dialog {
public:
    static constexpr int IDD = 137;
    static constexpr const char16_t* Caption = u"Rules";
    static constexpr int IDC_RULES = 1001;
    static constexpr int IDC_DEFAULTS = 1009;
    static constexpr int IDC_ADD = 1007;
    static constexpr int IDC_EDIT = 1008;
    static constexpr int IDC_DELETE = 1003;
    static constexpr int IDC_MOVE_UP = 1004;
    static constexpr int IDC_MOVE_DOWN = 1002;

    static constexpr const char16_t* MessageCaption = u"Tavrel";
    static constexpr const char16_t* DeleteQuestion = u"Are you sure you want to delete the selected rule?";
    static constexpr const char16_t* DefaultsQuestion
        = u"If you select YES, all your existing icon rules will be erased and will be reset to the default rules.  "
          u"Is this what you want to do?";
    static constexpr const char16_t* SaveFailedMessage
        = u"The icon rules could not be saved: the storage may be full or the rules file read-only.  Your changes "
          u"are kept in this window until you close it.";
    static constexpr const char16_t* DefaultsFailedMessage
        = u"The icon rules could not be reset: the default rules could not be written to the rules file.";
    static constexpr const char16_t* ListFullMessage
        = u"No rule can be added: the rules file holds no more rules than the list has now.";

    // `rules` is the list to edit; `path` the rules file OK saves it to and "&Defaults" starts over.
    CTavrelRulesDlg(CTavrelRules& rules, CTavrelIconFolderSettings& settings,
                    const char16_t* path = CTavrelRules::DefaultPath);

    ui::ListBox& GetList() const { return *m_list; }
    // Empties the list and adds one line per rule, then selects line `select` (-1: none) and
    // enables the buttons for it: on opening and after every change.
    void Refill(int select);

protected:
    bool onInitDialog() override;
    bool onOk() override;
    bool onCommand(int id, int code, ui::WindowHandle source) override;

private:
    void UpdateButtons();
    // The position of the selected rule; 0 when no line is selected.
    CTavrelRules::Position GetSelectedPosition() const;
    void OnAdd();
    void OnEdit();
    void OnDelete();
    void OnMove(bool up);
    void OnDefaults();

    CTavrelRules& m_rules;
    CTavrelIconFolderSettings& m_settings;
    CQoString m_path;
    ui::ListBox* m_list = nullptr;
};
