#pragma once
// The handheld's drawing constants, with the values and names of its headers, so that calendar code
// written against the handheld reads the same here. They live in namespace gfx.

#include <cstdint>

namespace gfx {

// Text drawing formats (Painter::drawText).
inline constexpr unsigned DT_TOP = 0x00000000;
inline constexpr unsigned DT_LEFT = 0x00000000;
inline constexpr unsigned DT_CENTER = 0x00000001;
inline constexpr unsigned DT_RIGHT = 0x00000002;
inline constexpr unsigned DT_VCENTER = 0x00000004; // with DT_SINGLELINE only
inline constexpr unsigned DT_BOTTOM = 0x00000008;  // with DT_SINGLELINE only
inline constexpr unsigned DT_WORDBREAK = 0x00000010;
inline constexpr unsigned DT_SINGLELINE = 0x00000020;
inline constexpr unsigned DT_EXPANDTABS = 0x00000040;
inline constexpr unsigned DT_NOCLIP = 0x00000100;
inline constexpr unsigned DT_EXTERNALLEADING = 0x00000200;
inline constexpr unsigned DT_CALCRECT = 0x00000400;
inline constexpr unsigned DT_NOPREFIX = 0x00000800;
inline constexpr unsigned DT_END_ELLIPSIS = 0x00008000;
inline constexpr unsigned DT_HIDEPREFIX = 0x00100000;

// Background modes (Painter::setBackgroundMode).
inline constexpr int TRANSPARENT = 1;
inline constexpr int OPAQUE = 2;

// Pen styles.
inline constexpr int PS_SOLID = 0;
inline constexpr int PS_DASH = 1;
inline constexpr int PS_DOT = 2;
inline constexpr int PS_NULL = 5;

// Brush styles.
inline constexpr int BS_SOLID = 0;
inline constexpr int BS_NULL = 1;
inline constexpr int BS_HOLLOW = BS_NULL;

// Font weights.
inline constexpr int FW_DONTCARE = 0;
inline constexpr int FW_THIN = 100;
inline constexpr int FW_LIGHT = 300;
inline constexpr int FW_NORMAL = 400;
inline constexpr int FW_MEDIUM = 500;
inline constexpr int FW_SEMIBOLD = 600;
inline constexpr int FW_BOLD = 700;
inline constexpr int FW_HEAVY = 900;

// Raster operations of the block copies (Painter::bitBlt, Painter::stretchBlt).
using RasterOp = std::uint32_t;
inline constexpr RasterOp SRCCOPY = 0x00CC0020;     // destination = source
inline constexpr RasterOp SRCPAINT = 0x00EE0086;    // destination | source
inline constexpr RasterOp SRCAND = 0x008800C6;      // destination & source
inline constexpr RasterOp SRCINVERT = 0x00660046;   // destination ^ source
inline constexpr RasterOp SRCERASE = 0x00440328;    // ~destination & source
inline constexpr RasterOp NOTSRCCOPY = 0x00330008;  // ~source
inline constexpr RasterOp NOTSRCERASE = 0x001100A6; // ~(destination | source)
inline constexpr RasterOp MERGEPAINT = 0x00BB0226;  // ~source | destination
inline constexpr RasterOp DSTINVERT = 0x00550009;   // ~destination
inline constexpr RasterOp PATCOPY = 0x00F00021;     // the selected brush's colour
inline constexpr RasterOp PATINVERT = 0x005A0049;   // the brush's colour ^ destination
inline constexpr RasterOp BLACKNESS = 0x00000042;
inline constexpr RasterOp WHITENESS = 0x00FF0062;

// ExtTextOut options.
inline constexpr unsigned ETO_OPAQUE = 0x0002;
inline constexpr unsigned ETO_CLIPPED = 0x0004;

// Text alignment of TextOut and ExtTextOut (Painter::setTextAlign): one horizontal and one vertical.
inline constexpr unsigned TA_NOUPDATECP = 0;
inline constexpr unsigned TA_UPDATECP = 1;
inline constexpr unsigned TA_LEFT = 0;
inline constexpr unsigned TA_RIGHT = 2;
inline constexpr unsigned TA_CENTER = 6;
inline constexpr unsigned TA_TOP = 0;
inline constexpr unsigned TA_BOTTOM = 8;
inline constexpr unsigned TA_BASELINE = 24;

} // namespace gfx
