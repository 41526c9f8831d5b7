#include "MonthTitles.h"

#include "SeasonMotifs.h"
#include "SmoothCanvas.h"

#include "platform/gfx/Font.h"
#include "platform/gfx/Painter.h"

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

gfx::Surface MonthTitles::draw(int month)
{
    const Scheme& scheme = schemes[(month - 1) % 12];
    const std::u16string_view name = wideNames[(month - 1) % 12];
    const gfx::Font font = gfx::Font::fromPixels(u"DejaVu Serif", 21, gfx::FW_BOLD);
    const int textLeft = 7;
    const int textWidth = font.textExtent(name).width;

    SmoothCanvas canvas(width, height, 4, scheme.top);
    canvas.verticalGradient(0, height, scheme.top, scheme.bottom);
    // A lighter line along the top and a dark one along the bottom give the band an edge.
    canvas.fillRect(0, 0, width, 1, mix(scheme.top, gfx::colours::white, 0.45));
    canvas.fillRect(0, height - 1, width, height, mix(scheme.bottom, gfx::colours::black, 0.5));
    SeasonMotifs::draw(canvas, month, {textLeft + textWidth + 15.0, height / 2.0}, 19);
    gfx::Surface strip = canvas.reduce();

    gfx::Painter painter(strip);
    painter.selectFont(font);
    painter.setBackgroundMode(gfx::TRANSPARENT);
    gfx::Rect area{textLeft, 0, width, height};
    const unsigned format = gfx::DT_LEFT | gfx::DT_VCENTER | gfx::DT_SINGLELINE | gfx::DT_NOPREFIX;
    painter.setTextColour(mix(scheme.bottom, gfx::colours::black, 0.55));
    gfx::Rect shadow = area.translated(1, 1);
    painter.drawText(name, shadow, format);
    painter.setTextColour(gfx::colours::white);
    painter.drawText(name, area, format);
    return strip;
}

} // namespace assetgen
