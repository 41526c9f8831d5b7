#include "remote/CategoriesDlg.h"

#include "platform/ui/Label.h"
#include "platform/ui/TreeView.h"

namespace {

constexpr int IDC_STATIC = -1;

} // namespace

CCategoriesDlg::CCategoriesDlg() : Dialog(Caption), m_tree(add<ui::TreeView>(IDC_CATEGORIES, 7, 16, 126, 120))
{
    setId(IDD);
    add<ui::Label>(IDC_STATIC, 7, 4, 126, 10, u"Categories");
    m_tree.setCheckBoxes(true);
}

void CCategoriesDlg::AddCategory(const CQoString& name, bool visible)
{
    m_names.push_back(name);
    m_flags.push_back(visible ? 1 : 0);
}

bool CCategoriesDlg::onInitDialog()
{
    m_tree.deleteAllItems();
    for (std::size_t i = 0; i < m_names.size(); ++i) {
        const ui::TreeItem item = m_tree.insertItem(m_names[i].View(), 0, std::intptr_t(i));
        m_tree.setCheck(item, m_flags[i] != 0);
    }
    return Dialog::onInitDialog();
}

bool CCategoriesDlg::onOk()
{
    std::size_t i = 0;
    for (ui::TreeItem item = m_tree.root(); item && i < m_flags.size(); item = m_tree.nextSibling(item))
        m_flags[i++] = m_tree.check(item) ? 1 : 0;
    return true;
}
