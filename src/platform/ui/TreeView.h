#pragma once
// A tree view: items with texts and data values under other items, each row with a [+]/[-] box
// when it has children and, with check boxes on, a check box in front of its text. A tap on the
// box expands or collapses (TVN_ITEMEXPANDED), on the check box toggles it (TVN_CHECKCHANGED), on
// the text selects the item (TVN_SELCHANGED); every tap also sends NM_CLICK. Notifications arrive
// as WM_NOTIFY with the item in NotifyHeader::item. Space toggles the selected item's check box.
//
// Items are named by handles (TreeItem); 0 stands for "none" and, as a parent, for the root.

#include "platform/ui/Control.h"
#include "platform/ui/ScrollBar.h"

#include <cstdint>
#include <vector>

namespace ui {

using TreeItem = std::intptr_t;

class TreeView : public Control {
public:
    static constexpr int rowHeight = 17;
    static constexpr int indent = 14;

    bool acceptsFocus() const override { return true; }
    void setCheckBoxes(bool on) { m_checkBoxes = on; invalidate(); }
    bool hasCheckBoxes() const { return m_checkBoxes; }

    // Appends an item after the last child of `parent` (0: a top-level item).
    TreeItem insertItem(device::WideView text, TreeItem parent = 0, std::intptr_t data = 0);
    bool deleteItem(TreeItem item);
    void deleteAllItems();

    TreeItem root() const { return firstChild(0); }
    TreeItem firstChild(TreeItem item) const;
    TreeItem nextSibling(TreeItem item) const;
    TreeItem parentOf(TreeItem item) const;
    int count() const;

    device::WideString itemText(TreeItem item) const;
    std::intptr_t itemData(TreeItem item) const;
    bool setItemData(TreeItem item, std::intptr_t data);
    bool check(TreeItem item) const;
    bool setCheck(TreeItem item, bool checked);
    bool isExpanded(TreeItem item) const;
    bool expand(TreeItem item, bool expanded);
    TreeItem selection() const { return m_selection; }
    bool select(TreeItem item);

    // The item's row in client coordinates (empty when collapsed away or scrolled out), and its
    // parts: the expand box and the check box.
    gfx::Rect rowRect(TreeItem item) const;
    gfx::Rect expandBoxRect(TreeItem item) const;
    gfx::Rect checkBoxRect(TreeItem item) const;
    void ensureVisible(TreeItem item);
    // The item's line among the rows shown (expanded parents), from 0; -1 when collapsed away.
    int rowIndex(TreeItem item) const { return rowOf(item); }
    const ScrollBar& scrollBar() const { return m_scroll; }

protected:
    void onPaint(gfx::Painter& painter) override;
    void onPenDown(gfx::Point point) override;
    void onPenMove(gfx::Point point) override;
    void onPenUp(gfx::Point point) override;
    bool onKeyDown(int virtualKey) override;
    void onMoved() override { layout(); }
    bool onCreate() override;

private:
    struct Node {
        device::WideString text;
        std::intptr_t data = 0;
        TreeItem parent = 0;
        std::vector<TreeItem> children;
        bool checked = false;
        bool expanded = false;
        bool alive = false;
    };
    Node* node(TreeItem item);
    const Node* node(TreeItem item) const;
    // The items shown, top to bottom, with their depth.
    std::vector<std::pair<TreeItem, int>> visibleRows() const;
    int rowOf(TreeItem item, int* depth = nullptr) const;
    void layout();
    void notify(int code, TreeItem item, gfx::Point point = {});
    int visibleCount() const;
    gfx::Rect listArea() const;

    std::vector<Node> m_nodes; // handle n is m_nodes[n - 1]
    std::vector<TreeItem> m_topLevel;
    TreeItem m_selection = 0;
    bool m_checkBoxes = false;
    ScrollBar m_scroll;
};

} // namespace ui
