#pragma once
// A vertical scroll bar drawn inside a list-like control (list box, tree, list view, drop-down
// list), not a window of its own: arrows step by one line, the track pages, the thumb drags.
// Positions count lines: 0 to total - visible.

#include "platform/gfx/Rect.h"

namespace gfx {
class Painter;
}

namespace ui {

class ScrollBar {
public:
    static constexpr int width = 13;

    void setRect(const gfx::Rect& rect) { m_rect = rect; }
    const gfx::Rect& rect() const { return m_rect; }
    void setRange(int total, int visible);
    bool isNeeded() const { return m_total > m_visible; }
    int position() const { return m_position; }
    // Clamped; true when the position changed.
    bool setPosition(int position);
    int maximum() const { return m_total > m_visible ? m_total - m_visible : 0; }

    void paint(gfx::Painter& painter) const;
    // Pen handling for the control that holds the bar. penDown and penMove return true when the
    // position changed. A pen that goes down on the bar is held by it until it comes up: penUp
    // answers true then, and the control must not take that pen as a tap on its items.
    bool penDown(gfx::Point point);
    bool penMove(gfx::Point point);
    bool penUp();
    bool isHeld() const { return m_held; }
    bool isDragging() const { return m_dragging; }

    gfx::Rect upArrow() const;
    gfx::Rect downArrow() const;
    gfx::Rect thumb() const;

private:
    gfx::Rect m_rect;
    int m_total = 0;
    int m_visible = 0;
    int m_position = 0;
    bool m_held = false;
    bool m_dragging = false;
    int m_dragOffset = 0;
};

} // namespace ui
