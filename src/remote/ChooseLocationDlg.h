#pragma once
// CChooseLocationDlg: "Choose Location" (dialog 162) — the calendars a host directory offers. Its
// list (1001) shows the links' names in alphabetical order, each carrying its own address; tapping
// one chooses it and closes the dialog at once with IDYES. Closing it any other way chooses none.

#include "common/QoString.h"
#include "platform/ui/Dialog.h"

#include <vector>

namespace ui {
class ListBox;
}

class CChooseLocationDlg : public ui::Dialog {
public:
    static constexpr int IDD = 162;
    static constexpr const char16_t* Caption = u"Choose Location";
    static constexpr int IDC_LINKS = 1001;

    CChooseLocationDlg();

    // Before RunModal: one link, in document order.
    void AddLink(const CQoString& name, const CQoString& address);
    // The address of the link tapped; empty when none was.
    const CQoString& GetChosenAddress() const { return m_chosen; }

protected:
    bool onInitDialog() override;
    bool onCommand(int id, int code, ui::WindowHandle source) override;

private:
    ui::ListBox& m_list;
    std::vector<CQoString> m_names;
    std::vector<CQoString> m_addresses;
    CQoString m_chosen;
};
