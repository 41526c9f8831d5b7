#pragma once
// The program's main frame: it fills the screen below the navigation bar, shows its view above a
// command bar, and routes commands. Command routing: ranges registered with addCommandRange() are
// dispatched first (the calendar items 500-599 and the "New" items 35000-35099), then the view is
// asked, then the frame's own commands (commands(): each defined once with its update), then
// onCommand. The command-update query goes the same way and feeds the menu's items before they
// open and the tool buttons whenever the loop becomes idle.
//
// A frame may start hidden (a program started by a control application) and be shown later.

#include "platform/ui/CommandBar.h"
#include "platform/ui/CommandTable.h"
#include "platform/ui/Window.h"

#include <functional>
#include <vector>

namespace ui {

class FrameWindow : public Window {
public:
    using CommandHandler = std::function<void(int id, int code)>;
    using UpdateHandler = std::function<void(CommandUpdate& update)>;

    FrameWindow();
    ~FrameWindow() override;

    // Creates the frame (title shown in the navigation bar) and its command bar.
    bool create(device::WideView title, bool visible = true);

    // The view's place in the frame's client coordinates: 240 × 268 at the frame's top.
    gfx::Rect viewRect() const;
    // The view must be a child of this frame (created with viewRect()); it gets the focus with
    // the frame and is asked first about commands.
    void setView(Window* view);
    Window* view() const;
    CommandBar& commandBar() { return m_commandBar; }
    // The frame's own commands; a frame fills the table once, when it is made.
    CommandTable& commands() { return m_commands; }

    void addCommandRange(int first, int last, CommandHandler handler, UpdateHandler update = {});
    // Routes one command; true when someone handled it.
    bool routeCommand(int id, int code);
    CommandUpdate queryCommand(int id);

    LResult handleMessage(std::uint32_t message, WParam wParam, LParam lParam) override;

protected:
    void onSetFocus() override;
    void onDestroy() override;

private:
    struct Range {
        int first;
        int last;
        CommandHandler handler;
        UpdateHandler update;
    };
    void updateMenu(Menu& menu);

    CommandBar m_commandBar;
    CommandTable m_commands;
    WindowHandle m_view;
    std::vector<Range> m_ranges;
    int m_idleToken = 0;
};

} // namespace ui
