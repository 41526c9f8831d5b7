#include "platform/ui/WindowDump.h"

#include "platform/ui/CheckBox.h"
#include "platform/ui/ComboBox.h"
#include "platform/ui/CommandBar.h"
#include "platform/ui/Desktop.h"
#include "platform/ui/EditBox.h"
#include "platform/ui/FrameWindow.h"
#include "platform/ui/Label.h"
#include "platform/ui/ListBox.h"
#include "platform/ui/ListView.h"
#include "platform/ui/MessageBox.h"
#include "platform/ui/Picture.h"
#include "platform/ui/PopupMenu.h"
#include "platform/ui/PushButton.h"
#include "platform/ui/Slider.h"
#include "platform/ui/TreeView.h"

#include "platform/gfx/Surface.h"

#include <utility>

namespace ui {

namespace {

// One line of the dump: words and key=value fields, then the quoted text and the line's end.
class DumpLine {
public:
    DumpLine(std::string& out, std::string_view head) : m_out(out) { m_out += head; }

    DumpLine& word(std::string_view text)
    {
        m_out += ' ';
        m_out += text;
        return *this;
    }
    DumpLine& number(long long value) { return word(std::to_string(value)); }
    DumpLine& field(std::string_view key, std::string_view value)
    {
        m_out += ' ';
        m_out += key;
        m_out += '=';
        m_out += value;
        return *this;
    }
    DumpLine& field(std::string_view key, long long value) { return field(key, std::to_string(value)); }
    DumpLine& flag(std::string_view key, bool value) { return field(key, value ? "1" : "0"); }
    void text(device::WideView text)
    {
        m_out += " text=";
        m_out += WindowDump::quote(text);
        m_out += '\n';
    }
    void end() { m_out += '\n'; }

private:
    std::string& m_out;
};

std::string_view windowKind(Window& window)
{
    if (dynamic_cast<MessageBoxDialog*>(&window))
        return "message-box";
    if (dynamic_cast<Dialog*>(&window))
        return "dialog";
    if (dynamic_cast<FrameWindow*>(&window))
        return "frame";
    return "window";
}

// Tree items in depth-first order with their depth.
void collectTreeItems(const TreeView& tree, TreeItem parent, int depth, std::vector<std::pair<TreeItem, int>>& items)
{
    for (TreeItem item = tree.firstChild(parent); item; item = tree.nextSibling(item)) {
        items.emplace_back(item, depth);
        collectTreeItems(tree, item, depth + 1, items);
    }
}

class Dumper {
public:
    explicit Dumper(std::string& out) : m_out(out) {}

    void window(Window& window)
    {
        DumpLine line(m_out, "window");
        line.word(windowKind(window)).field("id", window.id()).flag("ok", window.takesNavigationOk());
        for (auto [name, size] : {std::pair{"icon", ICON_BIG}, std::pair{"small-icon", ICON_SMALL}})
            if (const gfx::Surface* icon = window.icon(size))
                line.field(name, std::to_string(icon->width()) + "x" + std::to_string(icon->height()));
        line.text(window.text());
        if (auto* box = dynamic_cast<MessageBoxDialog*>(&window))
            DumpLine(m_out, "message").text(box->message());
        controls(window);
    }

    void controls(Window& parent)
    {
        for (Window* child : parent.children()) {
            // Known controls draw their parts themselves (a combo box's field is its own child).
            if (!control(*child))
                controls(*child);
        }
    }

    void popupMenu(PopupMenu& menu)
    {
        const auto& levels = menu.levels();
        for (std::size_t level = 0; level < levels.size(); ++level) {
            MenuWindow& window = *levels[level];
            const Menu& items = window.menu();
            for (std::size_t position = 0; position < items.count(); ++position) {
                const MenuItem& item = items.item(position);
                DumpLine line(m_out, "menu");
                line.number(static_cast<long long>(level)).number(static_cast<long long>(position));
                if (item.separator) {
                    line.word("separator").end();
                    continue;
                }
                line.field("id", item.id)
                    .flag("enabled", !item.grayed)
                    .flag("checked", item.checked)
                    .flag("submenu", item.submenu != nullptr)
                    .flag("selected", window.highlighted() == int(position))
                    .text(item.text);
            }
        }
    }

private:
    // Writes the control's line and its items; false for a window of no known kind.
    bool control(Window& window)
    {
        if (auto* button = dynamic_cast<PushButton*>(&window)) {
            start(window, "button", nullptr, nullptr).flag("default", button->isDefault()).text(window.text());
        } else if (auto* box = dynamic_cast<CheckBox*>(&window)) {
            bool checked = box->isChecked();
            start(window, "checkbox", &checked, nullptr).text(window.text());
        } else if (auto* edit = dynamic_cast<EditBox*>(&window)) {
            start(window, "edit", nullptr, nullptr).flag("readonly", edit->isReadOnly()).text(window.text());
        } else if (auto* list = dynamic_cast<ListBox*>(&window)) {
            int selection = list->curSel();
            start(window, "listbox", nullptr, &selection).field("count", list->count()).text(window.text());
            for (int index = 0; index < list->count(); ++index)
                item(window, index, index == selection).text(list->itemText(index));
        } else if (auto* combo = dynamic_cast<ComboBox*>(&window)) {
            int selection = combo->curSel();
            start(window, "combobox", nullptr, &selection)
                .flag("editable", combo->kind() == ComboBox::Kind::DropDown)
                .flag("dropped", combo->isDroppedDown())
                .field("count", combo->count())
                .text(combo->windowText());
            for (int index = 0; index < combo->count(); ++index)
                item(window, index, index == selection).text(combo->itemText(index));
        } else if (auto* view = dynamic_cast<ListView*>(&window)) {
            int selection = view->selection();
            start(window, "listview", nullptr, &selection).field("count", view->count()).text(window.text());
            for (int index = 0; index < view->count(); ++index)
                item(window, index, index == selection).text(view->itemText(index));
        } else if (auto* tree = dynamic_cast<TreeView*>(&window)) {
            std::vector<std::pair<TreeItem, int>> items;
            collectTreeItems(*tree, 0, 0, items);
            int selection = -1;
            for (std::size_t index = 0; index < items.size(); ++index)
                if (items[index].first == tree->selection())
                    selection = int(index);
            start(window, "treeview", nullptr, &selection)
                .field("count", static_cast<long long>(items.size()))
                .text(window.text());
            for (std::size_t index = 0; index < items.size(); ++index) {
                auto [handle, depth] = items[index];
                DumpLine& line = item(window, int(index), int(index) == selection)
                                     .field("depth", depth)
                                     .flag("expanded", tree->isExpanded(handle));
                if (tree->hasCheckBoxes())
                    line.flag("checked", tree->check(handle));
                else
                    line.field("checked", "-");
                line.text(tree->itemText(handle));
            }
        } else if (auto* slider = dynamic_cast<Slider*>(&window)) {
            start(window, "slider", nullptr, nullptr)
                .field("position", slider->position())
                .field("range", std::to_string(slider->minimum()) + ".." + std::to_string(slider->maximum()))
                .text(window.text());
        } else if (auto* bar = dynamic_cast<CommandBar*>(&window)) {
            start(window, "commandbar", nullptr, nullptr)
                .field("count", static_cast<long long>(bar->buttonCount()))
                .text(bar->menuTitle());
            for (std::size_t index = 0; index < bar->buttonCount(); ++index) {
                const CommandBar::Button& button = bar->button(index);
                item(window, int(index), false)
                    .field("id", button.command)
                    .flag("enabled", button.enabled)
                    .flag("checked", button.checked)
                    .text(button.toolTip);
            }
        } else if (dynamic_cast<Picture*>(&window)) {
            start(window, "picture", nullptr, nullptr).text(window.text());
        } else if (dynamic_cast<Label*>(&window)) {
            start(window, "label", nullptr, nullptr).text(window.text());
        } else {
            start(window, "window", nullptr, nullptr).text(window.text());
            return false;
        }
        return true;
    }

    DumpLine& start(Window& window, std::string_view kind, const bool* checked, const int* selection)
    {
        m_line.emplace(m_out, "control");
        m_line->number(window.id())
            .word(kind)
            .flag("shown", window.isShown())
            .flag("enabled", window.isEnabledInChain())
            .flag("focused", window.hasFocus());
        if (checked)
            m_line->flag("checked", *checked);
        else
            m_line->field("checked", "-");
        if (selection)
            m_line->field("selection", *selection);
        else
            m_line->field("selection", "-");
        return *m_line;
    }

    DumpLine& item(Window& control, int index, bool selected)
    {
        m_line.emplace(m_out, "item");
        m_line->number(control.id()).number(index).flag("selected", selected);
        return *m_line;
    }

    std::string& m_out;
    std::optional<DumpLine> m_line;
};

} // namespace

std::string WindowDump::quote(device::WideView text)
{
    std::string quoted = "\"";
    for (char c : device::toUtf8(text)) {
        switch (c) {
        case '\\':
            quoted += "\\\\";
            break;
        case '"':
            quoted += "\\\"";
            break;
        case '\n':
            quoted += "\\n";
            break;
        case '\r':
            quoted += "\\r";
            break;
        case '\t':
            quoted += "\\t";
            break;
        default:
            quoted += c;
        }
    }
    quoted += '"';
    return quoted;
}

std::string WindowDump::describe(Window& window)
{
    std::string out;
    Dumper(out).window(window);
    return out;
}

std::string WindowDump::describe(Desktop& desktop)
{
    std::string out;
    Dumper dumper(out);
    if (Window* foreground = desktop.foreground())
        dumper.window(*foreground);
    else
        DumpLine(out, "window").word("none").end();
    if (PopupMenu* menu = PopupMenu::active())
        dumper.popupMenu(*menu);
    return out;
}

} // namespace ui
