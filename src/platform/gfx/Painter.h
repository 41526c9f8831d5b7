#pragma once
// The drawing context over a surface, with the handheld's drawing semantics, because the calendar's
// views are defined pixel by pixel in its terms:
//
// - Rectangles exclude their right column and bottom row; lines exclude their end point.
// - rectangle() draws the border with the selected pen inside the bounds and fills the inside with
//   the selected brush. With the null pen the fill covers (left, top) to (right - 1, bottom - 1),
//   one pixel short on the right and bottom, exactly as the handheld does. fillRect() fills the
//   whole rectangle with a brush and draws no border.
// - Text draws in the text colour; in OPAQUE background mode the cells behind the characters are
//   first filled with the background colour, in TRANSPARENT mode nothing behind them changes.
//   Dashed and dotted pens fill their gaps with the background colour in OPAQUE mode, too.
// - Every operation is limited by the clip rectangle (by default the whole surface). Coordinates
//   are logical: the origin (0, 0 by default) is added to each before it reaches the surface, and
//   the clip rectangle is given and read back in logical coordinates.
//
// A new painter has a solid black 1-pixel pen, a white brush, the default font (Tahoma 8), black
// text on a white background in OPAQUE mode, text alignment TA_LEFT | TA_TOP and the current
// position (0, 0), like a fresh device context.

#include "platform/device/WideText.h"
#include "platform/gfx/Brush.h"
#include "platform/gfx/Colour.h"
#include "platform/gfx/Font.h"
#include "platform/gfx/GdiConstants.h"
#include "platform/gfx/Pen.h"
#include "platform/gfx/Point.h"
#include "platform/gfx/Rect.h"
#include "platform/gfx/Size.h"
#include "platform/gfx/Surface.h"

#include <span>
#include <vector>

namespace gfx {

class Painter {
public:
    explicit Painter(Surface& target);

    Surface& target() { return *m_target; }
    const Surface& target() const { return *m_target; }

    // Selected objects. Each select returns what was selected before, so that a caller can put it
    // back, as with the handheld's object selection.
    Pen selectPen(const Pen& pen);
    Brush selectBrush(const Brush& brush);
    Font selectFont(const Font& font);
    const Pen& pen() const { return m_state.pen; }
    const Brush& brush() const { return m_state.brush; }
    const Font& font() const { return m_state.font; }

    // Each setter returns the previous value.
    Colour setTextColour(Colour colour);
    Colour setBackgroundColour(Colour colour);
    int setBackgroundMode(int mode); // TRANSPARENT or OPAQUE; other values are ignored
    unsigned setTextAlign(unsigned align);
    Colour textColour() const { return m_state.textColour; }
    Colour backgroundColour() const { return m_state.backgroundColour; }
    int backgroundMode() const { return m_state.backgroundMode; }
    unsigned textAlign() const { return m_state.textAlign; }

    // The device point where logical (0, 0) lands (the viewport origin). Returns the previous one.
    Point setOrigin(Point origin);
    Point origin() const { return m_state.origin; }

    // Clipping, in logical coordinates. setClipRect replaces the clip (limited to the surface),
    // intersectClipRect narrows it, resetClip makes it the whole surface again.
    void setClipRect(const Rect& rect);
    void intersectClipRect(const Rect& rect);
    void resetClip();
    Rect clipRect() const;

    // Saves everything above (objects, colours, modes, origin, clip, current position) on a stack;
    // restore() brings back the last saved state. A restore without a save does nothing.
    void save();
    void restore();

    // Pixels. setPixel returns the colour set, or CLR_INVALID when the point is clipped away;
    // getPixel returns CLR_INVALID outside the clip rectangle.
    Colour setPixel(int x, int y, Colour colour);
    Colour getPixel(int x, int y) const;

    // Areas.
    void fillRect(const Rect& rect, const Brush& brush); // the null brush fills nothing
    void fillRect(const Rect& rect, Colour colour);
    void frameRect(const Rect& rect, const Brush& brush); // a 1-pixel border inside the rectangle
    void invertRect(const Rect& rect);                     // every colour bit flipped
    void rectangle(const Rect& rect);
    void rectangle(int left, int top, int right, int bottom) { rectangle(Rect{left, top, right, bottom}); }
    // The ellipse inscribed in the rectangle: outline with the pen, inside with the brush.
    void ellipse(const Rect& rect);
    // A closed polygon: the inside (alternate filling: pixels whose top-left corner lies inside an
    // odd number of times) with the brush, then the outline through every point with the pen.
    void polygon(std::span<const Point> points);
    // The dotted rectangle that marks the focused control: every other border pixel inverted, so
    // drawing it twice removes it.
    void drawFocusRect(const Rect& rect);

    // Lines. lineTo draws from the current position to (x, y), leaving out (x, y) itself, and
    // makes (x, y) the current position. moveTo returns the previous position.
    Point moveTo(int x, int y);
    Point moveTo(Point p) { return moveTo(p.x, p.y); }
    void lineTo(int x, int y);
    void lineTo(Point p) { lineTo(p.x, p.y); }
    Point currentPosition() const { return m_state.position; }
    // Connected lines through the points; the last point is left out. The current position is
    // neither used nor changed.
    void polyline(std::span<const Point> points);

    // Text (UTF-16). drawText lays the text out in `rect` according to the DT_ format and returns
    // the height of the text; with DT_VCENTER or DT_BOTTOM it returns the offset from rect.top to
    // the bottom of the text. With DT_CALCRECT nothing is drawn: rect.right and rect.bottom are set
    // to bound the text (the widest line and the last line), left and top stay; the overload for
    // a const rectangle then only returns the height.
    //
    // Formats: DT_LEFT, DT_CENTER, DT_RIGHT; DT_TOP, DT_VCENTER, DT_BOTTOM (the latter two with
    // DT_SINGLELINE only); DT_SINGLELINE (line breaks are drawn as nothing); DT_WORDBREAK (lines
    // break between words to fit the width; a single word wider than the rectangle is broken
    // between characters, so that nothing is lost past the right edge); DT_EXPANDTABS (tabs step
    // to multiples of eight average character widths); DT_NOCLIP (the text may leave the
    // rectangle); DT_NOPREFIX ("&" is drawn as it is; otherwise "&x" underlines x and "&&" draws
    // "&"); DT_HIDEPREFIX (prefixes are taken out but nothing is underlined); DT_END_ELLIPSIS (a
    // line too wide ends in "..." within the width); DT_EXTERNALLEADING.
    int drawText(device::WideView text, Rect& rect, unsigned format);
    int drawText(device::WideView text, const Rect& rect, unsigned format);

    // One line at (x, y) placed by the text alignment; no prefix or line-break processing.
    bool textOut(int x, int y, device::WideView text);
    // As textOut; ETO_OPAQUE first fills `rect` with the background colour, ETO_CLIPPED limits the
    // text to `rect`. `rect` may be null when neither option is given.
    bool extTextOut(int x, int y, unsigned options, const Rect* rect, device::WideView text);

    // Width of one line of text in the selected font and the font's cell height.
    Size textExtent(device::WideView text) const;
    const FontMetrics& textMetrics() const { return m_state.font.metrics(); }

    // Block copies from a surface (which may be this painter's own target, even overlapping).
    // Source coordinates are pixels of the source surface; parts outside it are left alone. The
    // destination is logical, clipped as everything else. A stretched copy with a negative width or
    // height mirrors: the extent then runs backwards from its start, so (w - 1, 0, -w, h) fills
    // the columns 0 to w - 1 with the picture flipped. Stretches sample the nearest pixel.
    bool bitBlt(int x, int y, int width, int height, const Surface& source, int sourceX, int sourceY,
                RasterOp op = SRCCOPY);
    bool stretchBlt(int x, int y, int width, int height, const Surface& source, int sourceX, int sourceY,
                    int sourceWidth, int sourceHeight, RasterOp op = SRCCOPY);
    // A stretched copy that leaves out every source pixel of the colour `transparent`.
    bool transparentBlt(int x, int y, int width, int height, const Surface& source, int sourceX, int sourceY,
                        int sourceWidth, int sourceHeight, Colour transparent);
    // Raster operations that need no source: PATCOPY, PATINVERT, DSTINVERT, BLACKNESS, WHITENESS.
    bool patBlt(int x, int y, int width, int height, RasterOp op);

private:
    struct State {
        Pen pen;
        Brush brush;
        Font font;
        Colour textColour = colours::black;
        Colour backgroundColour = colours::white;
        int backgroundMode = OPAQUE;
        unsigned textAlign = TA_LEFT | TA_TOP;
        Point origin;
        Rect clip; // device coordinates, always inside the surface
        Point position;
    };

    Rect toDevice(const Rect& rect) const { return rect.translated(m_state.origin); }
    void fillDeviceRect(const Rect& deviceRect, Colour colour);
    void plot(int deviceX, int deviceY, Colour colour)
    {
        if (m_state.clip.contains(deviceX, deviceY))
            m_target->row(deviceY)[deviceX] = opaque(colour);
    }
    void drawLine(Point from, Point to, bool includeEnd);
    void drawWidePoint(int deviceX, int deviceY, int width, Colour colour);
    void drawTextRun(int deviceX, int deviceBaseline, device::WideView text, const Rect& deviceClip);
    void drawUnderline(int deviceX, int deviceBaseline, int width, const Rect& deviceClip);

    Surface* m_target;
    State m_state;
    std::vector<State> m_saved;
    unsigned m_dashPhase = 0; // carries the dash pattern across the segments of a polyline
};

} // namespace gfx
