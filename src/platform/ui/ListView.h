#pragma once
// A list view: items with a text, a picture from a 16 × 16 image list and a data value, shown as a
// list (one row per item, picture and text) or as a report (a header with columns, the item's text
// in the first and its sub-item texts in the others). A tap on an item selects it and sends
// LVN_ITEMCHANGED when the selection changed, then NM_CLICK (WM_NOTIFY, item = the index, -1 for a
// tap on no item). Up and Down move the selection.

#include "platform/ui/Control.h"
#include "platform/ui/ImageList.h"
#include "platform/ui/ScrollBar.h"

#include <vector>

namespace ui {

class ListView : public Control {
public:
    enum class Style { List, Report };
    static constexpr int rowHeight = 17;
    static constexpr int headerHeight = 16;

    bool acceptsFocus() const override { return true; }
    void setStyle(Style style);
    Style style() const { return m_style; }
    // The list view does not own the image list; it must outlive the control's use of it.
    void setImageList(const ImageList* images);

    int insertColumn(int index, device::WideView title, int width);
    int columnCount() const { return int(m_columns.size()); }

    // Inserts at `index` (past the end: appends); returns the item's index.
    int insertItem(int index, device::WideView text, int image = -1, std::intptr_t data = 0);
    bool setItemText(int index, int subItem, device::WideView text);
    bool deleteItem(int index);
    void deleteAllItems();
    int count() const { return int(m_items.size()); }
    device::WideString itemText(int index, int subItem = 0) const;
    int itemImage(int index) const;
    std::intptr_t itemData(int index) const;
    bool setItemData(int index, std::intptr_t data);
    int findItem(device::WideView text) const;

    int selection() const { return m_selection; }
    bool setSelection(int index);
    int topIndex() const { return m_scroll.position(); }
    const ScrollBar& scrollBar() const { return m_scroll; }
    gfx::Rect itemRect(int index) const;
    void ensureVisible(int index);

protected:
    void onPaint(gfx::Painter& painter) override;
    void onPenDown(gfx::Point point) override;
    void onPenMove(gfx::Point point) override;
    void onPenUp(gfx::Point point) override;
    bool onKeyDown(int virtualKey) override;
    void onMoved() override { layout(); }
    bool onCreate() override;

private:
    struct Item {
        std::vector<device::WideString> texts;
        int image = -1;
        std::intptr_t data = 0;
    };
    struct Column {
        device::WideString title;
        int width = 0;
    };
    void layout();
    gfx::Rect listArea() const;
    int visibleCount() const;
    void notify(int code, int item, gfx::Point point = {});

    Style m_style = Style::List;
    const ImageList* m_images = nullptr;
    std::vector<Column> m_columns;
    std::vector<Item> m_items;
    int m_selection = -1;
    ScrollBar m_scroll;
};

} // namespace ui
