#include "platform/ui/Automation.h"

#include "platform/ui/CheckBox.h"
#include "platform/ui/ComboBox.h"
#include "platform/ui/ComboDropDown.h"
#include "platform/ui/Dialog.h"
#include "platform/ui/HoldGesture.h"
#include "platform/ui/ListBox.h"
#include "platform/ui/ListView.h"
#include "platform/ui/MessageBox.h"
#include "platform/ui/NavigationBar.h"
#include "platform/ui/PopupMenu.h"
#include "platform/ui/Slider.h"
#include "platform/ui/TreeView.h"

namespace ui {

Dialog* Automation::foregroundDialog() const { return dynamic_cast<Dialog*>(foreground()); }

MessageBoxDialog* Automation::foregroundMessageBox() const { return dynamic_cast<MessageBoxDialog*>(foreground()); }

Window* Automation::findById(int id, Window* root) const
{
    if (!root)
        root = foreground();
    if (!root)
        return nullptr;
    if (auto* dialog = dynamic_cast<Dialog*>(root))
        return dialog->control(id);
    return root->findDescendant(id);
}

Window* Automation::findByText(device::WideView text, Window* root) const
{
    if (!root)
        root = foreground();
    return root ? root->findDescendantByText(text) : nullptr;
}

void Automation::tapAt(gfx::Point screenPoint)
{
    m_desktop.injectInput(InputEvent::pen(InputEvent::Kind::PenDown, screenPoint));
    m_desktop.injectInput(InputEvent::pen(InputEvent::Kind::PenUp, screenPoint));
    settle();
}

void Automation::holdAt(gfx::Point screenPoint)
{
    m_desktop.injectInput(InputEvent::pen(InputEvent::Kind::PenDown, screenPoint));
    settle();
    // Let the gesture's time pass (virtual time jumps; host time is waited for).
    m_desktop.runFor(std::chrono::milliseconds(HoldGesture::holdMs + 10));
    m_desktop.injectInput(InputEvent::pen(InputEvent::Kind::PenUp, screenPoint));
    settle();
}

void Automation::dragAt(gfx::Point from, gfx::Point to, int steps)
{
    m_desktop.injectInput(InputEvent::pen(InputEvent::Kind::PenDown, from));
    settle();
    for (int step = 1; step <= steps; ++step) {
        gfx::Point at{from.x + (to.x - from.x) * step / steps, from.y + (to.y - from.y) * step / steps};
        m_desktop.injectInput(InputEvent::pen(InputEvent::Kind::PenMove, at));
        settle();
    }
    m_desktop.injectInput(InputEvent::pen(InputEvent::Kind::PenUp, to));
    settle();
}

bool Automation::tap(Window* window)
{
    if (!window || !window->isShown())
        return false;
    tapAt(window->screenRect().centre());
    return true;
}

bool Automation::hold(Window* window)
{
    if (!window || !window->isShown())
        return false;
    holdAt(window->screenRect().centre());
    return true;
}

bool Automation::tapText(device::WideView text) { return tap(findByText(text)); }

void Automation::pressKey(int virtualKey)
{
    m_desktop.injectInput(InputEvent::keyDown(virtualKey));
    settle();
}

void Automation::typeText(device::WideView text)
{
    for (device::WChar character : text)
        m_desktop.injectInput(InputEvent::typed(character));
    settle();
}

bool Automation::confirm()
{
    gfx::Rect ok = m_desktop.navigationBar().okRect();
    if (!ok.isEmpty()) {
        tapAt(ok.centre());
        return true;
    }
    if (!foreground())
        return false;
    pressKey(VK_RETURN);
    return true;
}

void Automation::cancel() { pressKey(VK_ESCAPE); }

bool Automation::setChecked(CheckBox* box, bool checked)
{
    if (!box)
        return false;
    if (box->isChecked() != checked)
        tapAt(box->boxRect().centre() + box->screenRect().topLeft());
    return box->isChecked() == checked;
}

namespace {
// Taps the scroll bar's arrows of a list-like control until `visible` says yes; bounded.
template <typename IsVisible>
bool scrollInto(Automation& automation, Window* control, const ScrollBar& bar, int index, int top, IsVisible visible)
{
    for (int tries = 0; tries < 1000 && !visible(); ++tries) {
        gfx::Rect arrow = index < top ? bar.upArrow() : bar.downArrow();
        automation.tapAt(arrow.centre() + control->screenRect().topLeft());
        top = index < top ? top - 1 : top + 1;
    }
    return visible();
}
} // namespace

bool Automation::selectItem(ListBox* list, int index)
{
    if (!list || index < 0 || index >= list->count())
        return false;
    if (!scrollInto(*this, list, list->scrollBar(), index, list->topIndex(),
                    [&] { return !list->itemRect(index).isEmpty(); }))
        return false;
    if (list->curSel() != index)
        tapAt(list->itemRect(index).centre() + list->screenRect().topLeft());
    return list->curSel() == index;
}

bool Automation::selectItem(ListBox* list, device::WideView text)
{
    return list && selectItem(list, list->findStringExact(-1, text));
}

bool Automation::selectItem(ComboBox* combo, int index)
{
    if (!combo || index < 0 || index >= combo->count())
        return false;
    if (!combo->isDroppedDown())
        tapAt(combo->arrowRect().centre() + combo->screenRect().topLeft());
    ComboDropDown* list = combo->dropDown();
    if (!list)
        return false;
    for (int tries = 0; tries < 1000 && list->itemScreenRect(index).isEmpty(); ++tries) {
        gfx::Rect arrow = index < list->topIndex() ? list->scrollBar().upArrow() : list->scrollBar().downArrow();
        tapAt(arrow.centre() + list->screenRect().topLeft());
        list = combo->dropDown();
        if (!list)
            return false;
    }
    tapAt(list->itemScreenRect(index).centre());
    return combo->curSel() == index;
}

bool Automation::selectItem(ComboBox* combo, device::WideView text)
{
    return combo && selectItem(combo, combo->findStringExact(-1, text));
}

bool Automation::selectItem(ListView* view, int index)
{
    if (!view || index < 0 || index >= view->count())
        return false;
    for (int tries = 0; tries < 1000 && view->itemRect(index).isEmpty(); ++tries)
        view->ensureVisible(index); // the list view scrolls itself like the handheld's on selection
    tapAt(view->itemRect(index).centre() + view->screenRect().topLeft());
    return view->selection() == index;
}

bool Automation::tapTreeCheckBox(TreeView* tree, std::intptr_t item)
{
    if (!tree)
        return false;
    tree->ensureVisible(item);
    gfx::Rect box = tree->checkBoxRect(item);
    if (box.isEmpty())
        return false;
    tapAt(box.centre() + tree->screenRect().topLeft());
    return true;
}

bool Automation::tapTreeExpander(TreeView* tree, std::intptr_t item)
{
    if (!tree)
        return false;
    gfx::Rect box = tree->expandBoxRect(item);
    if (box.isEmpty())
        return false;
    tapAt(box.centre() + tree->screenRect().topLeft());
    return true;
}

bool Automation::selectTreeItem(TreeView* tree, std::intptr_t item)
{
    if (!tree)
        return false;
    tree->ensureVisible(item);
    gfx::Rect row = tree->rowRect(item);
    if (row.isEmpty())
        return false;
    gfx::Rect check = tree->checkBoxRect(item);
    int x = (check.isEmpty() ? row.left + 3 + 2 * TreeView::indent : check.right + 8);
    tapAt(gfx::Point{x, row.top + row.height() / 2} + tree->screenRect().topLeft());
    return tree->selection() == item;
}

bool Automation::dragSlider(Slider* slider, int position)
{
    if (!slider)
        return false;
    gfx::Point origin = slider->screenRect().topLeft();
    gfx::Rect thumb = slider->thumbRect();
    int y = thumb.top + thumb.height() / 2;
    dragAt(gfx::Point{slider->xOf(slider->position()), y} + origin, gfx::Point{slider->xOf(position), y} + origin, 6);
    return slider->position() == position;
}

bool Automation::chooseMenuItem(device::WideView text)
{
    PopupMenu* menu = PopupMenu::active();
    if (!menu)
        return false;
    // Search level by level from the outermost, opening submenus on the way to the item.
    for (std::size_t level = 0; level < menu->levels().size(); ++level) {
        MenuWindow& window = *menu->levels()[level];
        Menu& items = window.menu();
        for (std::size_t position = 0; position < items.count(); ++position) {
            const MenuItem& item = items.item(position);
            if (item.separator)
                continue;
            bool holds = item.submenu && item.submenu->findText(text);
            bool is = device::equalsNoCase(Menu::displayText(item.text), Menu::displayText(text));
            if (!holds && !is)
                continue;
            tapAt(window.itemRect(position).centre() + window.screenRect().topLeft());
            if (is && !item.submenu)
                return true;
            menu = PopupMenu::active();
            if (!menu)
                return false;
            break;
        }
    }
    return false;
}

} // namespace ui
