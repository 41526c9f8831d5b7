#pragma once
// Message boxes: a caption bar and the text in a box centred on the screen, with OK, OK and Cancel,
// Yes and No, or Yes, No and Cancel buttons (MB_ types), the default button chosen by
// MB_DEFBUTTON1 to 3, top-most with MB_TOPMOST. Return presses the default button; Escape gives
// IDCANCEL where there is a Cancel button, IDNO for Yes and No, IDOK for OK. On a headless desktop
// every box is also written to standard error as "message-box: CAPTION: TEXT" on one line (line
// breaks written as "\n", every other control character escaped too: device::terminalText), so
// scripts and their tests can see what the user was told.

#include "platform/ui/Dialog.h"

namespace ui {

// The handheld's MessageBox. An empty caption reads "Error", as on the handheld.
int messageBox(Window* owner, device::WideView text, device::WideView caption, unsigned type = MB_OK);

class MessageBoxDialog final : public Dialog {
public:
    MessageBoxDialog(device::WideView text, device::WideView caption, unsigned type);

    const device::WideString& message() const { return m_message; }
    unsigned type() const { return m_type; }
    // The result of each button in left-to-right order.
    const std::vector<int>& buttons() const { return m_buttons; }
    int defaultResult() const;
    int escapeResult() const;

    // The line written to standard error on a headless desktop.
    static std::string headlessLine(device::WideView caption, device::WideView text);

protected:
    bool onInitDialog() override;
    gfx::Rect placement() const override;
    bool onCommand(int id, int code, WindowHandle source) override;
    bool onKeyDown(int virtualKey) override;
    void onPaint(gfx::Painter& painter) override;

private:
    gfx::Rect textRect() const;
    int textHeight() const;

    device::WideString m_message;
    unsigned m_type;
    std::vector<int> m_buttons;
};

} // namespace ui
