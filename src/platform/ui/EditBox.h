#pragma once
// A single-line edit box: a caret that a tap places, typing inserts at the caret, Backspace and
// Delete remove a character, Left, Right, Home and End move; the text scrolls sideways to keep the
// caret in view. Every change sends EN_CHANGE to the parent. There is no selection: a program sets
// the whole text with setText(). A read-only box shows its text but takes no typing.

#include "platform/ui/Control.h"

namespace ui {

class EditBox : public Control {
public:
    bool acceptsFocus() const override { return true; }
    void setText(device::WideView text) override;
    std::size_t caret() const { return m_caret; }
    void setCaret(std::size_t position);
    void setReadOnly(bool readOnly) { m_readOnly = readOnly; }
    bool isReadOnly() const { return m_readOnly; }
    void setLimit(std::size_t characters) { m_limit = characters; }
    // A flat box draws no border of its own (the combo box's edit field).
    void setBorder(bool border) { m_border = border; }
    // Sent with the change notification instead of EN_CHANGE (the combo box uses CBN_EDITCHANGE).
    void setChangeCode(int code) { m_changeCode = code; }

protected:
    void onPaint(gfx::Painter& painter) override;
    void onPenDown(gfx::Point point) override;
    bool onKeyDown(int virtualKey) override;
    bool onChar(device::WChar character) override;
    void onSetFocus() override { invalidate(); }
    void onKillFocus() override { invalidate(); }
    bool onCreate() override
    {
        keepCaretVisible();
        return true;
    }
    void onMoved() override;

private:
    void changed();
    int textX(std::size_t position) const;
    void keepCaretVisible();
    gfx::Rect textArea() const;

    std::size_t m_caret = 0;
    int m_scroll = 0;
    std::size_t m_limit = 0;
    bool m_readOnly = false;
    bool m_border = true;
    int m_changeCode = EN_CHANGE;
};

} // namespace ui
