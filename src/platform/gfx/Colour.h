#pragma once
// Colours are 32-bit values 0x00BBGGRR, red in the low byte, as the handheld stores them in its
// registry and passes them to every drawing call. Surfaces keep their pixels in the same form, so a
// pixel read back is directly comparable with the colour that drew it.

#include <cstdint>

namespace gfx {

using Colour = std::uint32_t;

// The value the handheld's pixel read returns for a point outside the picture or clip.
inline constexpr Colour CLR_INVALID = 0xFFFFFFFFu;

constexpr Colour RGB(unsigned red, unsigned green, unsigned blue)
{
    return Colour((red & 0xFFu) | ((green & 0xFFu) << 8) | ((blue & 0xFFu) << 16));
}
constexpr unsigned GetRValue(Colour colour) { return colour & 0xFFu; }
constexpr unsigned GetGValue(Colour colour) { return (colour >> 8) & 0xFFu; }
constexpr unsigned GetBValue(Colour colour) { return (colour >> 16) & 0xFFu; }

// Readable spellings of the same helpers for platform code.
constexpr Colour rgb(unsigned red, unsigned green, unsigned blue) { return RGB(red, green, blue); }
constexpr unsigned redOf(Colour colour) { return GetRValue(colour); }
constexpr unsigned greenOf(Colour colour) { return GetGValue(colour); }
constexpr unsigned blueOf(Colour colour) { return GetBValue(colour); }
// The colour without the unused top byte.
constexpr Colour opaque(Colour colour) { return colour & 0x00FFFFFFu; }

namespace colours {
inline constexpr Colour black = 0x000000;
inline constexpr Colour white = 0xFFFFFF;
inline constexpr Colour red = 0x0000FF;
inline constexpr Colour green = 0x00FF00;
inline constexpr Colour blue = 0xFF0000;
inline constexpr Colour lightGrey = 0xC0C0C0;
inline constexpr Colour darkGrey = 0x808080;
} // namespace colours

} // namespace gfx
