#pragma once
// A modal dialog in the handheld's look: white, covering the area between the bars (and the
// command bar too when its template is taller), with its own title row, and "ok" in the navigation
// bar. Templates of 140 × 142 dialog units fit between the bars below the title row. RunModal() creates the window and its controls, sends WM_INITDIALOG (onInitDialog), runs a
// nested message loop until endDialog(), and returns the result (IDOK, IDCANCEL, IDYES, IDNO…).
// Other top-level windows take no input meanwhile.
//
// IDOK (the navigation bar's "ok", Return, a button with id IDOK) asks onOk() and IDCANCEL (Escape,
// a button with id IDCANCEL) asks onCancel(); either may refuse, so a dialog can validate before it
// closes. Controls are added with their fixed ids, texts and template rectangles before RunModal()
// and keep their state afterwards, so the caller reads the user's choices from them.

#include "platform/ui/DialogUnits.h"
#include "platform/ui/Window.h"

#include <functional>
#include <memory>
#include <vector>

namespace ui {

class PushButton;

class Dialog : public Window {
public:
    explicit Dialog(device::WideView title = {}, int widthUnits = 140, int heightUnits = 142);
    ~Dialog() override;

    int RunModal(); // spelled as the design names it
    void endDialog(int result);
    bool isRunning() const { return m_running; }
    // endDialog() has been called: the dialog's loop returns at its next turn.
    bool hasEnded() const { return m_ended; }
    int result() const { return m_result; }

    // Adds a control at a template rectangle (dialog units, below the title row).
    template <typename T>
    T& add(int id, int x, int y, int width, int height, device::WideView text = {})
    {
        return addAt<T>(id, DialogUnits::toPixels(x, y, width, height).translated(0, contentTop()), text);
    }
    // Adds a control at a rectangle in the dialog's client pixels.
    template <typename T>
    T& addAt(int id, const gfx::Rect& pixels, device::WideView text = {})
    {
        auto control = std::make_unique<T>();
        T& reference = *control;
        reference.setId(id);
        if (!text.empty())
            reference.setText(text);
        m_layout.push_back({&reference, pixels});
        adopt(std::move(control));
        if (exists())
            reference.create(this, pixels, {}, id);
        return reference;
    }

    // The control with this id (the first one when ids repeat), or null.
    Window* control(int id) const;
    template <typename T>
    T* controlAs(int id) const
    {
        return dynamic_cast<T*>(control(id));
    }

    // Top of the area below the title row, in client pixels.
    int contentTop() const { return m_titleRow ? titleRowHeight : 0; }
    void setTitleRow(bool shown) { m_titleRow = shown; }
    void setTopMost(bool topMost) { m_topMost = topMost; }
    bool isTopMost() const { return m_topMost; }

    // Handlers for dialogs built without deriving: initialisation, commands and the OK check.
    void setInitHandler(std::function<void(Dialog&)> handler) { m_initHandler = std::move(handler); }
    void setCommandHandler(std::function<bool(Dialog&, int id, int code)> handler) { m_commandHandler = std::move(handler); }
    void setOkHandler(std::function<bool(Dialog&)> handler) { m_okHandler = std::move(handler); }

    static constexpr int titleRowHeight = 18;

    // The button that Return presses when the focus is on no button.
    PushButton* defaultButton() const;

protected:
    // WM_INITDIALOG: fill the controls. Return true to let the dialog focus its first control.
    virtual bool onInitDialog();
    // Return false to keep the dialog open.
    virtual bool onOk();
    virtual bool onCancel() { return true; }
    // Where the dialog sits on the screen.
    virtual gfx::Rect placement() const;

    bool onCommand(int id, int code, WindowHandle source) override;
    bool onKeyDown(int virtualKey) override;
    void onPaint(gfx::Painter& painter) override;
    void onSetFocus() override;
    void onClose() override;
    LResult handleMessage(std::uint32_t message, WParam wParam, LParam lParam) override;

    int widthUnits() const { return m_widthUnits; }
    int heightUnits() const { return m_heightUnits; }

private:
    struct Placement {
        Window* control;
        gfx::Rect rect;
    };
    void focusNext(bool backwards);

    int m_widthUnits;
    int m_heightUnits;
    bool m_titleRow = true;
    bool m_topMost = false;
    bool m_running = false;
    bool m_ended = false;
    int m_result = IDCANCEL;
    WindowHandle m_lastFocus;
    std::vector<Placement> m_layout;
    std::vector<WindowHandle> m_disabled;
    std::function<void(Dialog&)> m_initHandler;
    std::function<bool(Dialog&, int, int)> m_commandHandler;
    std::function<bool(Dialog&)> m_okHandler;
};

} // namespace ui
