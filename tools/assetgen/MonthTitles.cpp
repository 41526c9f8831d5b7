#include "MonthTitles.h"

#include "SeasonMotifs.h"
#include "SmoothCanvas.h"

#include "platform/gfx/Font.h"
#include "platform/gfx/Painter.h"

#include <algorithm>

namespace assetgen {

namespace {

using gfx::RGB;

struct Scheme {
    gfx::Colour top;
    gfx::Colour bottom;
};

// The band of each month, light at the top and deeper below.
constexpr Scheme schemes[12] = {
    {RGB(96, 140, 205), RGB(28, 58, 128)},  // January: ice
    {RGB(205, 90, 130), RGB(120, 24, 66)},  // February: roses
    {RGB(90, 170, 110), RGB(22, 96, 56)},   // March: clover
    {RGB(110, 170, 220), RGB(40, 96, 168)}, // April: showers
    {RGB(140, 190, 80), RGB(56, 118, 32)},  // May: meadows
    {RGB(240, 180, 60), RGB(196, 106, 16)}, // June: sunshine
    {RGB(60, 160, 210), RGB(12, 84, 150)},  // July: sea
    {RGB(235, 140, 60), RGB(172, 64, 20)},  // August: harvest heat
    {RGB(205, 160, 80), RGB(132, 82, 26)},  // September: orchards
    {RGB(215, 115, 45), RGB(128, 48, 12)},  // October: autumn leaves
    {RGB(150, 100, 80), RGB(78, 42, 30)},   // November: late autumn
    {RGB(50, 130, 80), RGB(16, 66, 36)},    // December: evergreen
};

constexpr std::u16string_view wideNames[12] = {u"January", u"February", u"March",     u"April",   u"May",      u"June",
                                               u"July",    u"August",   u"September", u"October", u"November", u"December"};

} // namespace

std::string_view MonthTitles::monthName(int month)
{
    static constexpr std::string_view names[12] = {"January", "February", "March",     "April",   "May",      "June",
                                                   "July",    "August",   "September", "October", "November", "December"};
    return names[(month - 1) % 12];
}

int MonthTitles::titleTextWidth()
{
    // The widest texts the views write at the right: the day view's "Wed 22nd, 2026" (weekday,
    // ordinal and year) in the title font, the day font's face (Tahoma) at the year font's size (16
    // points), with the two pixels of its outline to the left and the two the views keep free at
    // the right edge.
    const gfx::Font font = gfx::Font::fromPoints(u"Tahoma", 16);
    int widest = 0;
    for (std::u16string_view text : {u"Wed 22nd, 2026", u"Wed 28th, 2026", u"Wed 23rd, 2026"})
        widest = std::max(widest, font.textExtent(text).width);
    return widest + 4;
}

int MonthTitles::nameRoom() { return width - titleTextWidth() - gap - textLeft; }

gfx::Font MonthTitles::nameFont(std::u16string_view name)
{
    // The largest size up to 18 pixels at which the name fits left of the title text: the short
    // names stay large, "September" comes down to what the room allows.
    int pixels = 18;
    for (; pixels > 9; --pixels)
        if (gfx::Font::fromPixels(u"DejaVu Serif", pixels, gfx::FW_BOLD).textExtent(name).width <= nameRoom())
            break;
    return gfx::Font::fromPixels(u"DejaVu Serif", pixels, gfx::FW_BOLD);
}

gfx::Surface MonthTitles::draw(int month)
{
    const Scheme& scheme = schemes[(month - 1) % 12];
    const std::u16string_view name = wideNames[(month - 1) % 12];
    const gfx::Font font = nameFont(name);
    const int nameWidth = font.textExtent(name).width;

    SmoothCanvas canvas(width, height, 4, scheme.top);
    canvas.verticalGradient(0, height, scheme.top, scheme.bottom);
    // A lighter line along the top and a dark one along the bottom give the band an edge.
    canvas.fillRect(0, 0, width, 1, mix(scheme.top, gfx::colours::white, 0.45));
    canvas.fillRect(0, height - 1, width, height, mix(scheme.bottom, gfx::colours::black, 0.5));
    // The emblem follows the name where it fits left of the title text; the right part stays
    // the bare band, so the views' title text never runs into the name.
    const double emblemSize = 19;
    const double emblemCentre = textLeft + nameWidth + 6 + emblemSize / 2;
    if (emblemCentre + emblemSize / 2 <= textLeft + nameRoom())
        SeasonMotifs::draw(canvas, month, {emblemCentre, height / 2.0}, emblemSize);
    gfx::Surface strip = canvas.reduce();

    gfx::Painter painter(strip);
    painter.selectFont(font);
    painter.setBackgroundMode(gfx::TRANSPARENT);
    gfx::Rect area{textLeft, 0, textLeft + nameRoom(), height};
    const unsigned format = gfx::DT_LEFT | gfx::DT_VCENTER | gfx::DT_SINGLELINE | gfx::DT_NOPREFIX;
    painter.setTextColour(mix(scheme.bottom, gfx::colours::black, 0.55));
    gfx::Rect shadow = area.translated(1, 1);
    painter.drawText(name, shadow, format);
    painter.setTextColour(gfx::colours::white);
    painter.drawText(name, area, format);
    return strip;
}

} // namespace assetgen
