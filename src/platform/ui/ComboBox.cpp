#include "platform/ui/ComboBox.h"

#include "platform/gfx/Painter.h"
#include "platform/ui/ComboDropDown.h"
#include "platform/ui/Theme.h"

#include <algorithm>

namespace ui {

namespace {
constexpr int editFieldId = 0xFFEF; // beyond the ids dialogs use, so lookups by id find the dialog's own control
}

ComboBox::ComboBox()
{
    m_edit.setBorder(false);
    m_edit.setChangeCode(CBN_EDITCHANGE);
}

ComboBox::~ComboBox()
{
    m_dropDown.reset();
    destroy();
}

bool ComboBox::onCreate()
{
    gfx::Rect given = rect();
    if (given.height() > fieldHeight) {
        m_droppedHeight = std::max(3 * itemHeight + 2, given.height() - fieldHeight);
        setRect({given.left, given.top, given.right, given.top + fieldHeight});
    }
    if (m_kind == Kind::DropDown) {
        gfx::Rect field = clientRect().inflated(-1, -1);
        field.right = arrowRect().left;
        m_edit.create(this, field, {}, editFieldId);
    }
    return true;
}

void ComboBox::onDestroy() { m_dropDown.reset(); }

gfx::Rect ComboBox::arrowRect() const
{
    gfx::Rect box = clientRect();
    return {box.right - 15, box.top + 1, box.right - 1, box.bottom - 1};
}

int ComboBox::addString(device::WideView text, std::intptr_t data)
{
    int index = m_items.add(text, data);
    invalidate();
    return index;
}

int ComboBox::insertString(int index, device::WideView text, std::intptr_t data)
{
    int at = m_items.insert(index, text, data);
    invalidate();
    return at;
}

bool ComboBox::deleteString(int index)
{
    if (!m_items.remove(index))
        return false;
    invalidate();
    return true;
}

void ComboBox::resetContent()
{
    m_items.clear();
    invalidate();
}

bool ComboBox::setCurSel(int index)
{
    if (!m_items.select(index))
        return false;
    if (m_kind == Kind::DropDown)
        m_edit.setText(index >= 0 ? m_items.at(index).text : device::WideString());
    invalidate();
    return true;
}

int ComboBox::selectString(int after, device::WideView prefix)
{
    int index = m_items.findPrefix(after, prefix);
    if (index >= 0)
        setCurSel(index);
    return index;
}

device::WideString ComboBox::windowText() const
{
    if (m_kind == Kind::DropDown)
        return m_edit.text();
    return itemText(curSel());
}

void ComboBox::setText(device::WideView text)
{
    if (m_kind == Kind::DropDown)
        m_edit.setText(text);
    else
        Control::setText(text);
}

void ComboBox::showDropDown(bool show)
{
    if (show == isDroppedDown())
        return;
    if (show) {
        if (count() == 0)
            return;
        notifyParent(CBN_DROPDOWN);
        auto list = std::make_unique<ComboDropDown>(*this);
        if (list->open())
            m_dropDown = std::move(list);
    } else {
        m_dropDown.reset();
        notifyParent(CBN_CLOSEUP);
    }
    invalidate();
}

void ComboBox::chooseFromList(int index)
{
    bool changed = index != curSel();
    showDropDown(false);
    setCurSel(index);
    if (changed)
        notifyParent(CBN_SELCHANGE);
}

void ComboBox::onPaint(gfx::Painter& painter)
{
    gfx::Rect box = clientRect();
    bool enabled = isEnabledInChain();
    painter.fillRect(box, theme::window);
    painter.selectPen(gfx::Pen::solid(enabled ? theme::frameLine : theme::grayText));
    painter.selectBrush(gfx::Brush::null());
    painter.rectangle(box);
    gfx::Rect arrow = arrowRect();
    painter.fillRect(arrow, isDroppedDown() ? theme::shadow : theme::face);
    painter.fillRect({arrow.left - 1, arrow.top, arrow.left, arrow.bottom}, theme::frameLine);
    int cx = arrow.left + arrow.width() / 2, cy = arrow.top + arrow.height() / 2 - 1;
    for (int row = 0; row < 4; ++row)
        painter.fillRect({cx - 3 + row, cy + row, cx + 4 - row, cy + row + 1}, enabled ? theme::text : theme::grayText);
    if (m_kind == Kind::DropDownList) {
        gfx::Rect field{box.left + 1, box.top + 1, arrow.left - 1, box.bottom - 1};
        bool lit = hasFocus();
        if (lit)
            painter.fillRect(field.inflated(-1, -1), theme::highlight);
        painter.selectFont(theme::font());
        painter.setBackgroundMode(gfx::TRANSPARENT);
        painter.setTextColour(!enabled ? theme::grayText : lit ? theme::highlightText : theme::text);
        field.left += 3;
        painter.drawText(itemText(curSel()), field,
                         gfx::DT_LEFT | gfx::DT_VCENTER | gfx::DT_SINGLELINE | gfx::DT_NOPREFIX | gfx::DT_END_ELLIPSIS);
    }
}

void ComboBox::onPenUp(gfx::Point point)
{
    if (clientRect().contains(point) && (m_kind == Kind::DropDownList || arrowRect().contains(point)))
        showDropDown(!isDroppedDown());
}

bool ComboBox::onKeyDown(int virtualKey)
{
    if (virtualKey == VK_DOWN || virtualKey == VK_UP) {
        int next = std::clamp(curSel() + (virtualKey == VK_DOWN ? 1 : -1), 0, count() - 1);
        if (count() > 0 && next != curSel()) {
            setCurSel(next);
            notifyParent(CBN_SELCHANGE);
        }
        return true;
    }
    return false;
}

bool ComboBox::onCommand(int id, int code, WindowHandle source)
{
    if (id == editFieldId && code == CBN_EDITCHANGE) {
        m_items.select(-1);
        notifyParent(CBN_EDITCHANGE);
        return true;
    }
    return false;
}

} // namespace ui
