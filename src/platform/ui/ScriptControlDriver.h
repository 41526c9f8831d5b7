#pragma once
// The script actions that work on dialogs and controls (press, select, check, text, choose, and
// the answer to a message box), carried out step by step through the input a person gives: pen
// taps at computed screen points and keys.
//
// A step never waits for its input to be handled. It looks at the screen as it is now, queues the
// next input the action needs and returns; the loop then handles that input — which may open a
// dialog or menu and run its modal loop — and calls the script runner again from whichever loop
// runs. So an action that needs several inputs (open a combo box's list, scroll it, tap the item)
// takes several steps, each one deciding afresh from what the previous input did, and a script
// goes on inside the dialogs and menus it opens.

#include "platform/ui/Script.h"
#include "platform/ui/Window.h"

#include <string>

namespace ui {

class Desktop;
class MessageBoxDialog;

class ScriptControlDriver {
public:
    struct Step {
        enum class Status { Done, Again, Failed };
        Status status = Status::Done;
        std::string failure; // what was not found or did not work, for Failed

        static Step done() { return {}; }
        static Step again() { return {Status::Again, {}}; }
        static Step failed(std::string why) { return {Status::Failed, std::move(why)}; }
    };

    // Actions may take this many steps at most (scrolling a long list one line a step).
    static constexpr int stepLimit = 2000;

    explicit ScriptControlDriver(Desktop& desktop) : m_desktop(desktop) {}

    // Forgets the previous action's progress; call before the first step of every action.
    void begin();
    // One step of a press, select, check, text or choose action.
    Step step(const ScriptAction& action);
    // Taps the button of the message box that gives `result` (IDYES, IDNO, IDOK, IDCANCEL).
    Step answer(MessageBoxDialog& box, int result);

private:
    Step press(int id);
    Step select(int id, device::WideView text);
    Step check(int id, device::WideView item, bool checked);
    Step text(int id, device::WideView text);
    Step choose(device::WideView path);

    // The shown and enabled control with this id in the foreground window, or the failure.
    Window* findControl(int id, std::string& failure) const;
    // The control to act on: found afresh, or — once the decisive input is given — the control it
    // went to, wherever the foreground is now (its click may have opened a message box); null
    // without a failure when that input closed it.
    Window* actionTarget(int id, std::string& failure) const;
    void tap(gfx::Point screenPoint);
    void key(int virtualKey);

    Desktop& m_desktop;
    int m_steps = 0;
    bool m_acted = false;    // the action's decisive input has been given; the next step checks it
    WindowHandle m_target;   // the control that input went to
    int m_openedLevel = -1;  // choose: the menu level whose submenu item was tapped to open it
};

} // namespace ui
