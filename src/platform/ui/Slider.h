#pragma once
// A horizontal slider (the handheld's trackbar): a range, a position and a page size. Dragging the
// thumb sends WM_HSCROLL with TB_THUMBTRACK and the new position at every change, then
// TB_THUMBPOSITION and TB_ENDTRACK when the pen is lifted; a tap on the track pages towards the
// pen (TB_PAGEUP / TB_PAGEDOWN); Left and Right step by one (TB_LINEUP / TB_LINEDOWN).

#include "platform/ui/Control.h"

namespace ui {

class Slider : public Control {
public:
    static constexpr int thumbWidth = 11;

    bool acceptsFocus() const override { return true; }
    void setRange(int minimum, int maximum);
    int minimum() const { return m_minimum; }
    int maximum() const { return m_maximum; }
    void setPageSize(int size) { m_page = size > 0 ? size : 1; }
    int pageSize() const { return m_page; }
    int position() const { return m_position; }
    // Clamped to the range; no notification, as the handheld's programmatic set.
    void setPosition(int position);

    gfx::Rect thumbRect() const;
    // The x of a position's thumb centre, in client coordinates.
    int xOf(int position) const;

protected:
    void onPaint(gfx::Painter& painter) override;
    void onPenDown(gfx::Point point) override;
    void onPenMove(gfx::Point point) override;
    void onPenUp(gfx::Point point) override;
    void onCancelMode() override;
    bool onKeyDown(int virtualKey) override;

private:
    int positionAt(int x) const;
    void changeTo(int position, int code);
    void notifyScroll(int code);
    gfx::Rect track() const;

    int m_minimum = 0;
    int m_maximum = 100;
    int m_page = 5;
    int m_position = 0;
    bool m_dragging = false;
    int m_dragOffset = 0;
};

} // namespace ui
