#pragma once
// CCategoriesDlg: "Hide/Show Categories" (dialog 161) — which categories of one attached calendar
// are shown. A tree (1015) holds one item per category, in the calendar's order, each with a check
// box that says whether it is shown. OK takes the check marks, from the first item to the last, as
// the new flags; Cancel leaves them as they were.

#include "common/QoString.h"
#include "platform/ui/Dialog.h"

#include <cstdint>
#include <vector>

namespace ui {
class TreeView;
}

class CCategoriesDlg : public ui::Dialog {
public:
    static constexpr int IDD = 161;
    static constexpr const char16_t* Caption = u"Hide/Show Categories";
    static constexpr int IDC_CATEGORIES = 1015;
    // The tree's picture list holds pictures of this size.
    static constexpr int PictureSize = 15;

    CCategoriesDlg();

    // Before RunModal: one category, in order.
    void AddCategory(const CQoString& name, bool visible);
    const std::vector<CQoString>& GetNames() const { return m_names; }
    // After OK: nonzero for each category to be shown, in the order the categories were added.
    const std::vector<std::uint32_t>& GetFlags() const { return m_flags; }

protected:
    bool onInitDialog() override;
    bool onOk() override;

private:
    ui::TreeView& m_tree;
    std::vector<CQoString> m_names;
    std::vector<std::uint32_t> m_flags;
};
