#pragma once
// A combo box: a field showing the selected item with an arrow beside it; a tap opens the list of
// items below the field (above it when the screen ends), and a tap on an item selects it, closes
// the list and sends CBN_SELCHANGE. The drop-down-list kind shows only the selection; the
// drop-down kind has an edit field the user types into (CBN_EDITCHANGE), and choosing an item
// copies its text there.
//
// As with the handheld's templates, the height given at creation includes the dropped list: the
// control keeps one field's height and drops a list of the rest (at least three items' worth).

#include "platform/ui/Control.h"
#include "platform/ui/EditBox.h"
#include "platform/ui/StringList.h"

#include <memory>

namespace ui {

class ComboDropDown;

class ComboBox : public Control {
public:
    enum class Kind { DropDownList, DropDown };
    static constexpr int fieldHeight = 20;
    static constexpr int itemHeight = 16;

    ComboBox();
    ~ComboBox() override;

    void setKind(Kind kind) { m_kind = kind; }
    Kind kind() const { return m_kind; }
    void setSorted(bool sorted) { m_items.setSorted(sorted); }
    bool acceptsFocus() const override { return m_kind == Kind::DropDownList; }

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
    // Selects without notifying; the drop-down kind also shows the text in its field.
    bool setCurSel(int index);
    // Selects the first item that starts with `prefix`; returns its index or -1.
    int selectString(int after, device::WideView prefix);

    // The drop-down kind's edit field text, or the selected item's text.
    device::WideString windowText() const;
    void setText(device::WideView text) override;
    EditBox* editField() { return m_kind == Kind::DropDown ? &m_edit : nullptr; }

    void showDropDown(bool show);
    bool isDroppedDown() const { return m_dropDown != nullptr; }
    ComboDropDown* dropDown() const { return m_dropDown.get(); }
    int droppedHeight() const { return m_droppedHeight; }
    gfx::Rect arrowRect() const;

    // The drop-down list's choice (called by it).
    void chooseFromList(int index);

protected:
    bool onCreate() override;
    void onDestroy() override;
    void onPaint(gfx::Painter& painter) override;
    void onPenUp(gfx::Point point) override;
    bool onKeyDown(int virtualKey) override;
    bool onCommand(int id, int code, WindowHandle source) override;

private:
    StringList m_items;
    Kind m_kind = Kind::DropDownList;
    int m_droppedHeight = 5 * itemHeight + 2;
    EditBox m_edit;
    std::unique_ptr<ComboDropDown> m_dropDown;
};

} // namespace ui
