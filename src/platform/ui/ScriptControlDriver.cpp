#include "platform/ui/ScriptControlDriver.h"

#include "platform/ui/Automation.h"
#include "platform/ui/CheckBox.h"
#include "platform/ui/ComboBox.h"
#include "platform/ui/ComboDropDown.h"
#include "platform/ui/CommandBar.h"
#include "platform/ui/Desktop.h"
#include "platform/ui/EditBox.h"
#include "platform/ui/FrameWindow.h"
#include "platform/ui/ListBox.h"
#include "platform/ui/ListView.h"
#include "platform/ui/MessageBox.h"
#include "platform/ui/NavigationBar.h"
#include "platform/ui/PopupMenu.h"
#include "platform/ui/TreeView.h"
#include "platform/ui/WindowDump.h"

#include <algorithm>
#include <optional>

namespace ui {

namespace {

using Step = ScriptControlDriver::Step;

std::string quoted(device::WideView text) { return WindowDump::quote(text); }

std::string controlName(int id) { return "control " + std::to_string(id); }

const char* answerName(int result)
{
    switch (result) {
    case IDYES:
        return "Yes";
    case IDNO:
        return "No";
    case IDOK:
        return "OK";
    case IDCANCEL:
        return "Cancel";
    default:
        return "?";
    }
}

device::WideView trimmed(device::WideView text)
{
    while (!text.empty() && text.front() == u' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == u' ')
        text.remove_suffix(1);
    return text;
}

// Whether an item's text is the one a script names: ignoring case, and the blanks some lists indent
// their items with (the file-open dialog's folders).
bool namesItem(device::WideView itemText, device::WideView wanted)
{
    return device::equalsNoCase(trimmed(itemText), trimmed(wanted));
}

// The first of `count` items whose text the script names: an exact match first, then one that
// differs only by surrounding blanks.
template <typename TextAt>
int findItem(int count, TextAt textAt, device::WideView wanted)
{
    for (int index = 0; index < count; ++index)
        if (device::equalsNoCase(textAt(index), wanted))
            return index;
    for (int index = 0; index < count; ++index)
        if (namesItem(textAt(index), wanted))
            return index;
    return -1;
}

// The tree's item with this text, depth first, collapsed ones included.
TreeItem findTreeItem(const TreeView& tree, TreeItem parent, device::WideView text)
{
    for (TreeItem item = tree.firstChild(parent); item; item = tree.nextSibling(item)) {
        if (namesItem(tree.itemText(item), text))
            return item;
        if (TreeItem found = findTreeItem(tree, item, text))
            return found;
    }
    return 0;
}

int depthOf(const TreeView& tree, TreeItem item)
{
    int depth = 0;
    for (TreeItem up = tree.parentOf(item); up; up = tree.parentOf(up))
        ++depth;
    return depth;
}

// The scroll arrow that brings line `index` toward view, in the control's client coordinates.
gfx::Point scrollArrowToward(const ScrollBar& bar, int index)
{
    return (index < bar.position() ? bar.upArrow() : bar.downArrow()).centre();
}

// Where to tap next (client coordinates) so that the tree shows the item's row: the expander of
// its topmost collapsed parent, or a scroll arrow. Nothing when the row is in view.
std::optional<gfx::Point> revealTreeItem(const TreeView& tree, TreeItem item)
{
    std::vector<TreeItem> parents;
    for (TreeItem up = tree.parentOf(item); up; up = tree.parentOf(up))
        parents.insert(parents.begin(), up);
    for (TreeItem parent : parents) {
        if (tree.isExpanded(parent))
            continue;
        gfx::Rect expander = tree.expandBoxRect(parent);
        if (expander.isEmpty())
            return scrollArrowToward(tree.scrollBar(), tree.rowIndex(parent));
        return expander.centre();
    }
    if (tree.rowRect(item).isEmpty())
        return scrollArrowToward(tree.scrollBar(), tree.rowIndex(item));
    return std::nullopt;
}

} // namespace

void ScriptControlDriver::begin()
{
    m_steps = 0;
    m_acted = false;
    m_target = {};
    m_openedLevel = -1;
}

void ScriptControlDriver::tap(gfx::Point screenPoint)
{
    m_desktop.injectInput(InputEvent::pen(InputEvent::Kind::PenDown, screenPoint));
    m_desktop.injectInput(InputEvent::pen(InputEvent::Kind::PenUp, screenPoint));
}

void ScriptControlDriver::key(int virtualKey) { m_desktop.injectInput(InputEvent::keyDown(virtualKey)); }

Window* ScriptControlDriver::findControl(int id, std::string& failure) const
{
    Window* foreground = m_desktop.foreground();
    if (!foreground) {
        failure = "no window is in the foreground";
        return nullptr;
    }
    Window* control = Automation(m_desktop).findById(id, foreground);
    if (!control)
        failure = "no " + controlName(id) + " in " + quoted(foreground->text());
    else if (!control->isShown())
        failure = controlName(id) + " is hidden";
    else if (!control->isEnabledInChain())
        failure = controlName(id) + " is disabled";
    else
        return control;
    return nullptr;
}

Window* ScriptControlDriver::actionTarget(int id, std::string& failure) const
{
    if (!m_acted)
        return findControl(id, failure);
    return m_desktop.find(m_target); // null, with no failure, when the input closed it: nothing to check
}

ScriptControlDriver::Step ScriptControlDriver::step(const ScriptAction& action)
{
    if (++m_steps > stepLimit)
        return Step::failed("gave up after " + std::to_string(stepLimit) + " steps");
    switch (action.kind) {
    case ScriptAction::Kind::Press:
        return press(action.value);
    case ScriptAction::Kind::Select:
        return select(action.value, action.text);
    case ScriptAction::Kind::Check:
        return check(action.value, action.text, action.checked);
    case ScriptAction::Kind::Text:
        return text(action.value, action.text);
    case ScriptAction::Kind::Choose:
        return choose(action.text);
    default:
        return Step::failed("not an action on controls");
    }
}

ScriptControlDriver::Step ScriptControlDriver::press(int id)
{
    Window* foreground = m_desktop.foreground();
    if (id == IDOK) {
        // A dialog's "ok" sits in the navigation bar; a box with more buttons has an OK button.
        gfx::Rect ok = m_desktop.navigationBar().okRect();
        if (!ok.isEmpty()) {
            tap(ok.centre());
            return Step::done();
        }
    }
    if (id == IDCANCEL && foreground) {
        // Dismissing: the Cancel button where there is one, else Escape, as a person would.
        Window* cancel = Automation(m_desktop).findById(IDCANCEL, foreground);
        if (cancel && cancel->isShown() && cancel->isEnabledInChain())
            tap(cancel->screenRect().centre());
        else
            key(VK_ESCAPE);
        return Step::done();
    }
    // A frame's tool buttons are parts of its command bar, named by their commands.
    if (auto* frame = dynamic_cast<FrameWindow*>(foreground)) {
        CommandBar& bar = frame->commandBar();
        for (std::size_t index = 0; index < bar.buttonCount() && bar.isShown(); ++index) {
            if (bar.button(index).command != id)
                continue;
            if (!bar.button(index).enabled || !bar.isEnabledInChain())
                return Step::failed("the tool button " + std::to_string(id) + " is disabled");
            tap(bar.buttonRect(index).centre() + bar.screenRect().topLeft());
            return Step::done();
        }
    }
    std::string failure;
    Window* control = findControl(id, failure);
    if (!control)
        return Step::failed(id == IDOK ? "no \"ok\" in the navigation bar and " + failure : failure);
    tap(control->screenRect().centre());
    return Step::done();
}

ScriptControlDriver::Step ScriptControlDriver::select(int id, device::WideView text)
{
    std::string failure;
    Window* control = findControl(id, failure);
    if (!control)
        return Step::failed(failure);
    const gfx::Point origin = control->screenRect().topLeft();
    auto noItem = [&] { return Step::failed("no item " + quoted(text) + " in " + controlName(id)); };

    // A second tap on the selected item of a list would open it: a selected item is left alone.
    if (auto* list = dynamic_cast<ListBox*>(control)) {
        int index = findItem(list->count(), [&](int i) { return list->itemText(i); }, text);
        if (index < 0)
            return noItem();
        if (list->curSel() == index)
            return Step::done();
        if (list->itemRect(index).isEmpty()) {
            tap(scrollArrowToward(list->scrollBar(), index) + origin);
            return Step::again();
        }
        tap(list->itemRect(index).centre() + origin);
        return Step::done();
    }
    if (auto* combo = dynamic_cast<ComboBox*>(control)) {
        int index = findItem(combo->count(), [&](int i) { return combo->itemText(i); }, text);
        if (index < 0)
            return noItem();
        ComboDropDown* dropped = combo->dropDown();
        if (!dropped) {
            if (combo->curSel() == index && combo->windowText() == combo->itemText(index))
                return Step::done();
            if (m_acted)
                return Step::failed("the list of " + controlName(id) + " did not open");
            m_acted = true;
            tap(combo->arrowRect().centre() + origin);
            return Step::again();
        }
        gfx::Rect item = dropped->itemScreenRect(index);
        if (item.isEmpty()) {
            tap(scrollArrowToward(dropped->scrollBar(), index) + dropped->screenRect().topLeft());
            return Step::again();
        }
        tap(item.centre());
        return Step::done();
    }
    if (auto* view = dynamic_cast<ListView*>(control)) {
        int index = findItem(view->count(), [&](int i) { return view->itemText(i); }, text);
        if (index < 0)
            return noItem();
        if (view->selection() == index)
            return Step::done();
        if (view->itemRect(index).isEmpty()) {
            tap(scrollArrowToward(view->scrollBar(), index) + origin);
            return Step::again();
        }
        tap(view->itemRect(index).centre() + origin);
        return Step::done();
    }
    if (auto* tree = dynamic_cast<TreeView*>(control)) {
        TreeItem item = findTreeItem(*tree, 0, text);
        if (!item)
            return noItem();
        if (tree->selection() == item)
            return Step::done();
        if (std::optional<gfx::Point> next = revealTreeItem(*tree, item)) {
            tap(*next + origin);
            return Step::again();
        }
        // On the text: right of the expander's column and the check box.
        gfx::Rect row = tree->rowRect(item);
        int x = row.left + 3 + (depthOf(*tree, item) + 1) * TreeView::indent + (tree->hasCheckBoxes() ? 17 : 0) + 6;
        tap(gfx::Point{std::min(x, row.right - 2), row.top + row.height() / 2} + origin);
        return Step::done();
    }
    return Step::failed(controlName(id) + " is no list, combo box, list view or tree");
}

ScriptControlDriver::Step ScriptControlDriver::check(int id, device::WideView itemText, bool checked)
{
    std::string failure;
    Window* control = actionTarget(id, failure);
    if (!control)
        return failure.empty() ? Step::done() : Step::failed(failure);
    const gfx::Point origin = control->screenRect().topLeft();
    auto unchanged = [&] { return Step::failed(controlName(id) + " did not change its check"); };

    if (auto* tree = dynamic_cast<TreeView*>(control)) {
        if (itemText.empty())
            return Step::failed(controlName(id) + " is a tree: name the item to check");
        if (!tree->hasCheckBoxes())
            return Step::failed(controlName(id) + " has no check boxes");
        TreeItem item = findTreeItem(*tree, 0, itemText);
        if (!item)
            return Step::failed("no item " + quoted(itemText) + " in " + controlName(id));
        if (tree->check(item) == checked)
            return Step::done();
        if (m_acted)
            return unchanged();
        if (std::optional<gfx::Point> next = revealTreeItem(*tree, item)) {
            tap(*next + origin);
            return Step::again();
        }
        m_acted = true;
        m_target = tree->handle();
        tap(tree->checkBoxRect(item).centre() + origin);
        return Step::again();
    }
    auto* box = dynamic_cast<CheckBox*>(control);
    if (!box)
        return Step::failed(controlName(id) + " is no check box");
    if (!itemText.empty())
        return Step::failed(controlName(id) + " is a check box, not a tree: it has no items");
    if (box->isChecked() == checked)
        return Step::done();
    if (m_acted)
        return unchanged();
    m_acted = true;
    m_target = box->handle();
    tap(box->boxRect().centre() + origin);
    return Step::again();
}

ScriptControlDriver::Step ScriptControlDriver::text(int id, device::WideView wanted)
{
    std::string failure;
    Window* control = actionTarget(id, failure);
    if (!control)
        return failure.empty() ? Step::done() : Step::failed(failure);
    EditBox* field = dynamic_cast<EditBox*>(control);
    if (auto* combo = dynamic_cast<ComboBox*>(control)) {
        field = combo->editField();
        if (!field)
            return Step::failed(controlName(id) + " is a drop-down list without an edit field");
    }
    if (!field)
        return Step::failed(controlName(id) + " is no edit field");
    if (field->isReadOnly())
        return Step::failed(controlName(id) + " is read-only");
    if (m_acted) {
        if (field->text() != wanted)
            return Step::failed(controlName(id) + " holds " + quoted(field->text()) + " after typing");
        return Step::done();
    }
    // Focus the field, take out what it holds from its end, and type the new text.
    m_acted = true;
    m_target = control->handle();
    tap(field->screenRect().centre());
    key(VK_END);
    for (std::size_t i = 0; i < field->text().size(); ++i)
        key(VK_BACK);
    for (device::WChar character : wanted)
        m_desktop.injectInput(InputEvent::typed(character));
    return Step::again();
}

ScriptControlDriver::Step ScriptControlDriver::choose(device::WideView path)
{
    PopupMenu* menu = PopupMenu::active();
    if (!menu || menu->levels().empty())
        return Step::failed("no popup menu is open");
    std::vector<device::WideString> names;
    for (std::size_t start = 0;;) {
        std::size_t slash = path.find(u'/', start);
        const std::size_t length = slash == device::WideView::npos ? device::WideView::npos : slash - start;
        names.emplace_back(path.substr(start, length));
        if (slash == device::WideView::npos)
            break;
        start = slash + 1;
    }
    const auto& levels = menu->levels();
    for (std::size_t level = 0; level < names.size(); ++level) {
        if (level >= levels.size())
            return Step::failed("the submenu of " + quoted(names[level - 1]) + " did not open");
        MenuWindow& window = *levels[level];
        const Menu& items = window.menu();
        int found = -1;
        for (std::size_t position = 0; position < items.count() && found < 0; ++position) {
            const MenuItem& item = items.item(position);
            if (!item.separator && namesItem(Menu::displayText(item.text), Menu::displayText(names[level])))
                found = int(position);
        }
        if (found < 0)
            return Step::failed("no menu item " + quoted(names[level]) + (level ? " in the submenu" : " in the menu"));
        const MenuItem& item = items.item(std::size_t(found));
        const gfx::Point centre = window.itemRect(std::size_t(found)).centre() + window.screenRect().topLeft();
        if (item.grayed)
            return Step::failed("the menu item " + quoted(names[level]) + " is disabled");
        bool last = level + 1 == names.size();
        bool open = item.submenu && levels.size() > level + 1 && &levels[level + 1]->menu() == item.submenu.get();
        if (last) {
            // An item is chosen; a submenu item opens its submenu (and stays open for a dump).
            if (!open)
                tap(centre);
            return Step::done();
        }
        if (!item.submenu)
            return Step::failed("the menu item " + quoted(names[level]) + " has no submenu");
        if (open)
            continue;
        if (m_openedLevel == int(level))
            return Step::failed("the submenu of " + quoted(names[level]) + " did not open");
        m_openedLevel = int(level);
        tap(centre);
        return Step::again();
    }
    return Step::failed("no menu item " + quoted(path));
}

ScriptControlDriver::Step ScriptControlDriver::answer(MessageBoxDialog& box, int result)
{
    const std::vector<int>& buttons = box.buttons();
    Window* button = std::find(buttons.begin(), buttons.end(), result) != buttons.end() ? box.control(result) : nullptr;
    if (!button)
        return Step::failed("the message box " + quoted(box.text()) + " has no " + answerName(result) + " button");
    tap(button->screenRect().centre());
    return Step::done();
}

} // namespace ui
