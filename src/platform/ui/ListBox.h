#pragma once
// A list box: a bordered column of items, one of them selected, with a scroll bar when they do not
// all fit. Items carry a data value; a sorted list box keeps them in order of their texts. An
// owner-drawn list box calls its draw function for every visible item. A tap on an item selects it
// and sends LBN_SELCHANGE when the selection changed (a tap on the item already selected sends
// LBN_DBLCLK); Up and Down move the selection.

#include "platform/ui/Control.h"
#include "platform/ui/ScrollBar.h"
#include "platform/ui/StringList.h"

#include <functional>

namespace gfx {
class Painter;
}

namespace ui {

class ListBox : public Control {
public:
    struct DrawItem {
        int index = -1;
        gfx::Rect rect; // client coordinates
        bool selected = false;
        device::WideView text;
        std::intptr_t data = 0;
    };
    using DrawFunction = std::function<void(gfx::Painter&, const DrawItem&)>;

    ListBox();
    bool acceptsFocus() const override { return true; }

    void setSorted(bool sorted) { m_items.setSorted(sorted); }
    void setOwnerDraw(DrawFunction draw);
    void setItemHeight(int height);
    int itemHeight() const { return m_itemHeight; }

    int addString(device::WideView text, std::intptr_t data = 0);
    int insertString(int index, device::WideView text, std::intptr_t data = 0);
    bool deleteString(int index);
    void resetContent();
    int count() const { return m_items.count(); }
    device::WideString itemText(int index) const { return m_items.textAt(index); }
    std::intptr_t itemData(int index) const { return m_items.dataAt(index); }
    bool setItemData(int index, std::intptr_t data) { return m_items.setDataAt(index, data); }
    int findString(int after, device::WideView prefix) const { return m_items.findPrefix(after, prefix); }
    int findStringExact(int after, device::WideView text) const { return m_items.findExact(after, text); }

    int curSel() const { return m_items.selection(); }
    // Selects without notifying, as the handheld's programmatic selection does; -1 clears.
    bool setCurSel(int index);

    int topIndex() const { return m_scroll.position(); }
    void setTopIndex(int index);
    int visibleCount() const;
    // An item's rectangle in client coordinates; empty when it is scrolled out of view.
    gfx::Rect itemRect(int index) const;
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
    void layout();
    void selectByUser(int index);
    void ensureVisible(int index);
    int itemAt(gfx::Point point) const;
    gfx::Rect listArea() const;

    StringList m_items;
    DrawFunction m_draw;
    ScrollBar m_scroll;
    int m_itemHeight = 16;
};

} // namespace ui
