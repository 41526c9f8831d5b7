#pragma once
// The dropped list of a combo box: a popup under (or over) the field that takes all input while
// it is open. A tap on an item chooses it; a tap anywhere outside closes the list unchanged.

#include "platform/ui/InputGrab.h"
#include "platform/ui/ScrollBar.h"
#include "platform/ui/Window.h"

namespace ui {

class ComboBox;

class ComboDropDown final : public Window, public InputGrab {
public:
    explicit ComboDropDown(ComboBox& owner);
    ~ComboDropDown() override;

    bool open();
    int highlighted() const { return m_highlighted; }
    // An item's rectangle in screen pixels; empty when scrolled out of view.
    gfx::Rect itemScreenRect(int index) const;
    int topIndex() const { return m_scroll.position(); }
    const ScrollBar& scrollBar() const { return m_scroll; }

    void grabbedPen(InputEvent::Kind kind, gfx::Point screenPoint) override;
    void grabbedKey(int virtualKey) override;

protected:
    void onPaint(gfx::Painter& painter) override;

private:
    int visibleCount() const;
    int itemAt(gfx::Point client) const;
    gfx::Rect itemRect(int index) const;

    ComboBox& m_owner;
    ScrollBar m_scroll;
    int m_highlighted = -1;
    bool m_penWasDown = false;
};

} // namespace ui
