#include "logconfig/QoLogConfigDlg.h"

#include "platform/gfx/ImageResource.h"
#include "platform/ui/CheckBox.h"
#include "platform/ui/Label.h"

CQoLogConfigDlg::CQoLogConfigDlg()
    : Dialog(Caption, WidthUnits, HeightUnits)
    , m_switches(HKEY_LOCAL_MACHINE, SwitchesKeyPath, true)
    , m_tavrel(add<ui::CheckBox>(IDC_TAVREL, 14, 22, 118, 12, u"Tavrel"))
    , m_activeX(add<ui::CheckBox>(IDC_TAVREL_ACTIVEX, 14, 38, 118, 12, u"Tavrel ActiveX Control"))
{
    setId(IDD);
    add<ui::Label>(IDC_STATIC, 7, 7, 125, 10, u"Application Logging").setBold(true);
}

bool CQoLogConfigDlg::onInitDialog()
{
    SetProgramIcon();
    m_tavrel.setChecked(m_switches.GetDWORD(TavrelSwitch, 0) != 0);
    m_activeX.setChecked(m_switches.GetDWORD(ActiveXSwitch, 0) != 0);
    return Dialog::onInitDialog();
}

bool CQoLogConfigDlg::onOk()
{
    m_switches.SetDWORD(TavrelSwitch, m_tavrel.isChecked() ? 1 : 0);
    m_switches.SetDWORD(ActiveXSwitch, m_activeX.isChecked() ? 1 : 0);
    return true;
}

void CQoLogConfigDlg::SetProgramIcon()
{
    if (std::optional<gfx::Surface> icon = gfx::loadImageResource(IDI_QOLOGCONFIG)) {
        setIcon(ui::ICON_SMALL, *icon);
        setIcon(ui::ICON_BIG, std::move(*icon));
    }
}
