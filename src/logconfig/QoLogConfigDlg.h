#pragma once
// CQoLogConfigDlg: the one dialog of QoLog Config (dialog 102, "QoLog Config", 139 × 103 dialog
// units), which switches the diagnostic log of the calendar program and of its companion control
// on and off. Under "Application Logging" a check box per program shows its switch, a DWORD under
// HKLM "Software\Orvix\QoLog" named after the program (non-zero: on).
//
// The key is opened, and created when missing, as the dialog object is built; opening the dialog
// reads both switches (a missing one reads as 0 and is written as 0) into the check boxes. OK —
// "ok" in the navigation bar — writes both switches from the boxes, 1 for checked and 0 for not;
// closing the dialog any other way writes nothing. The programs read their switch when they trace,
// so the calendar's log starts or stops at its next trace call.

#include "common/QoRegistry.h"
#include "platform/ui/Dialog.h"

namespace ui {
class CheckBox;
}

class CQoLogConfigDlg : public ui::Dialog {
public:
    static constexpr int IDD = 102;
    static constexpr const char16_t* Caption = u"QoLog Config";
    static constexpr int WidthUnits = 139;
    static constexpr int HeightUnits = 103;
    static constexpr int IDC_STATIC = -1;
    static constexpr int IDC_TAVREL = 1000;
    static constexpr int IDC_TAVREL_ACTIVEX = 1001;
    // The program's icon, the dialog's large and small icon.
    static constexpr int IDI_QOLOGCONFIG = 128;

    static constexpr const char16_t* SwitchesKeyPath = u"Software\\Orvix\\QoLog";
    static constexpr const char16_t* TavrelSwitch = u"Tavrel";
    static constexpr const char16_t* ActiveXSwitch = u"Tavrel ActiveX Control";

    CQoLogConfigDlg();

    ui::CheckBox& TavrelBox() { return m_tavrel; }
    ui::CheckBox& ActiveXBox() { return m_activeX; }

protected:
    bool onInitDialog() override;
    bool onOk() override;

private:
    void SetProgramIcon();

    CQoRegistry m_switches;
    ui::CheckBox& m_tavrel;
    ui::CheckBox& m_activeX;
};
