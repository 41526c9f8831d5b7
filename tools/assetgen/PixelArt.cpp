#include "PixelArt.h"

#include <stdexcept>
#include <string>

namespace assetgen {

namespace {

constexpr gfx::Colour unassigned = gfx::CLR_INVALID;

} // namespace

PixelArt::Palette PixelArt::palette(std::initializer_list<std::pair<char, gfx::Colour>> extra)
{
    Palette p;
    p.fill(unassigned);
    p['.'] = KeyColour;
    p['K'] = gfx::RGB(0, 0, 0);       // black
    p['G'] = gfx::RGB(64, 64, 64);    // dark grey
    p['g'] = gfx::RGB(128, 128, 128); // grey
    p['w'] = gfx::RGB(200, 200, 200); // light grey
    p['W'] = gfx::RGB(255, 255, 255); // white
    p['R'] = gfx::RGB(220, 30, 30);   // red
    p['r'] = gfx::RGB(128, 16, 16);   // dark red
    p['p'] = gfx::RGB(255, 150, 180); // pink
    p['O'] = gfx::RGB(245, 140, 30);  // orange
    p['o'] = gfx::RGB(170, 80, 10);   // dark orange
    p['Y'] = gfx::RGB(255, 225, 60);  // yellow
    p['y'] = gfx::RGB(200, 150, 20);  // gold
    p['E'] = gfx::RGB(40, 170, 50);   // green
    p['e'] = gfx::RGB(16, 96, 24);    // dark green
    p['B'] = gfx::RGB(40, 90, 210);   // blue
    p['b'] = gfx::RGB(16, 32, 112);   // navy
    p['c'] = gfx::RGB(130, 190, 255); // light blue
    p['n'] = gfx::RGB(140, 90, 45);   // brown
    p['m'] = gfx::RGB(80, 45, 16);    // dark brown
    p['t'] = gfx::RGB(245, 200, 150); // skin
    p['s'] = gfx::RGB(205, 145, 95);  // skin shadow
    p['V'] = gfx::RGB(130, 60, 190);  // violet
    for (const auto& [character, colour] : extra)
        p[std::size_t(character) & 0x7F] = colour;
    return p;
}

gfx::Surface PixelArt::draw(std::initializer_list<std::string_view> rows, const Palette& palette)
{
    const int height = int(rows.size());
    const int width = height ? int(rows.begin()->size()) : 0;
    gfx::Surface surface(width, height, KeyColour);
    int y = 0;
    for (std::string_view row : rows) {
        if (int(row.size()) != width)
            throw std::invalid_argument("pixel art row " + std::to_string(y) + " is " + std::to_string(row.size())
                                        + " wide, not " + std::to_string(width));
        for (int x = 0; x < width; ++x) {
            unsigned char c = static_cast<unsigned char>(row[std::size_t(x)]);
            gfx::Colour colour = c < 128 ? palette[c] : unassigned;
            if (colour == unassigned)
                throw std::invalid_argument(std::string("pixel art uses the unknown colour letter '") + row[std::size_t(x)]
                                            + "' in row " + std::to_string(y));
            surface.setPixel(x, y, colour);
        }
        ++y;
    }
    return surface;
}

} // namespace assetgen
