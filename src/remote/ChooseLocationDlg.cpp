#include "remote/ChooseLocationDlg.h"

#include "platform/ui/Label.h"
#include "platform/ui/ListBox.h"

namespace {

constexpr int IDC_STATIC = -1;

} // namespace

CChooseLocationDlg::CChooseLocationDlg() : Dialog(Caption), m_list(add<ui::ListBox>(IDC_LINKS, 7, 16, 126, 120))
{
    setId(IDD);
    add<ui::Label>(IDC_STATIC, 7, 4, 126, 10, u"Select Tavrel Link");
    m_list.setSorted(true);
}

void CChooseLocationDlg::AddLink(const CQoString& name, const CQoString& address)
{
    m_names.push_back(name);
    m_addresses.push_back(address);
}

bool CChooseLocationDlg::onInitDialog()
{
    m_chosen = CQoString();
    m_list.resetContent();
    for (std::size_t i = 0; i < m_names.size(); ++i)
        m_list.addString(m_names[i].View(), std::intptr_t(i));
    return Dialog::onInitDialog();
}

bool CChooseLocationDlg::onCommand(int id, int code, ui::WindowHandle source)
{
    if (id == IDC_LINKS && code == ui::LBN_SELCHANGE) {
        const std::intptr_t link = m_list.itemData(m_list.curSel());
        if (link >= 0 && std::size_t(link) < m_addresses.size()) {
            m_chosen = m_addresses[std::size_t(link)];
            endDialog(ui::IDYES);
        }
        return true;
    }
    return Dialog::onCommand(id, code, source);
}
