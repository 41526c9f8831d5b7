#pragma once
// Driving the user interface as a person would, for tests and scripts: find the foreground window
// or dialog, find controls by id or text, and tap, hold, type, select, check and confirm — always
// by injecting pen and key input at the right screen points, so the same input path a person uses
// is exercised. Every action handles the input it caused before it returns (runUntilIdle), so the
// next action sees its effect. An action that opens a modal dialog (or menu) runs that dialog's
// loop before it returns, so the dialog must be answered from the modal observer (onModal()),
// which runs whenever a dialog, message box or menu opens — with further automation calls.

#include "platform/ui/Desktop.h"

#include <functional>

namespace ui {

class CheckBox;
class ComboBox;
class Dialog;
class ListBox;
class ListView;
class Slider;
class TreeView;
class MessageBoxDialog;

class Automation {
public:
    explicit Automation(Desktop& desktop) : m_desktop(desktop) {}

    Window* foreground() const { return m_desktop.foreground(); }
    Dialog* foregroundDialog() const;
    MessageBoxDialog* foregroundMessageBox() const;
    // In the foreground window unless another root is given.
    Window* findById(int id, Window* root = nullptr) const;
    Window* findByText(device::WideView text, Window* root = nullptr) const;

    // Pen input at screen points.
    void tapAt(gfx::Point screenPoint);
    void holdAt(gfx::Point screenPoint);
    void dragAt(gfx::Point from, gfx::Point to, int steps = 4);
    // At the centre of a window.
    bool tap(Window* window);
    bool hold(Window* window);
    // Taps the button (or any control) with this text in the foreground window.
    bool tapText(device::WideView text);

    void pressKey(int virtualKey);
    void typeText(device::WideView text);

    // Taps "ok" in the navigation bar (or presses Return when the foreground takes no "ok").
    bool confirm();
    // Escape.
    void cancel();

    bool setChecked(CheckBox* box, bool checked);
    // Scrolls with the scroll bar's arrows until the item shows, then taps it.
    bool selectItem(ListBox* list, int index);
    bool selectItem(ListBox* list, device::WideView text);
    bool selectItem(ComboBox* combo, int index);
    bool selectItem(ComboBox* combo, device::WideView text);
    bool selectItem(ListView* view, int index);
    bool tapTreeCheckBox(TreeView* tree, std::intptr_t item);
    bool tapTreeExpander(TreeView* tree, std::intptr_t item);
    bool selectTreeItem(TreeView* tree, std::intptr_t item);
    // Drags the thumb to the position.
    bool dragSlider(Slider* slider, int position);
    // In the open popup menu: taps the item with this text (opening submenus on the way).
    bool chooseMenuItem(device::WideView text);

    // Runs `observer` whenever a modal dialog, message box or popup menu opens.
    void onModal(std::function<void(Window&)> observer) { m_desktop.setModalObserver(std::move(observer)); }

    void settle() { m_desktop.runUntilIdle(); }

private:
    Desktop& m_desktop;
};

} // namespace ui
