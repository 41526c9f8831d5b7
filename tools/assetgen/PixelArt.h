#pragma once
// Pictures written as rows of characters, one character a pixel, for the small icons: at 16 × 16
// every pixel counts, and a picture that can be read in the source is one that can be corrected.
//
// A palette maps characters to colours. '.' is always the background colour (the key colour the
// views leave out); the common colours have fixed letters (see PixelArt.cpp), and each picture may
// add or override letters of its own.

#include "platform/gfx/Colour.h"
#include "platform/gfx/Surface.h"

#include <array>
#include <initializer_list>
#include <string_view>
#include <utility>

namespace assetgen {

// The colour that marks the background of every small picture: magenta, which no picture uses
// for anything else. It is not 0xC0C0C0, because the views read that value as "no key" when they
// fade an icon.
inline constexpr gfx::Colour KeyColour = gfx::RGB(255, 0, 255);

class PixelArt {
public:
    using Palette = std::array<gfx::Colour, 128>;

    // The shared letters plus `extra` (character, colour) pairs.
    static Palette palette(std::initializer_list<std::pair<char, gfx::Colour>> extra = {});

    // The rows, top to bottom; every row must be as long as the first. A character the palette
    // does not know, or a row of another length, is a fault of the source: std::invalid_argument.
    static gfx::Surface draw(std::initializer_list<std::string_view> rows, const Palette& palette);
    static gfx::Surface draw(std::initializer_list<std::string_view> rows) { return draw(rows, palette()); }
};

} // namespace assetgen
