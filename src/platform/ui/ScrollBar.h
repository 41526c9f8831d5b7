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
    // Pen handling; each returns true when the position changed. penDown answers false for a
    // point outside the bar (then it is not tracking).
    bool penDown(gfx::Point point, bool* inside);
    bool penMove(gfx::Point point);
    void penUp() { m_dragging = false; }
    bool isDragging() const { return m_dragging; }

    gfx::Rect upArrow() const;
    gfx::Rect downArrow() const;
    gfx::Rect thumb() const;

private:
    gfx::Rect m_rect;
    int m_total = 0;
    int m_visible = 0;
    int m_position = 0;
    bool m_dragging = false;
    int m_dragOffset = 0;
};

} // namespace ui
