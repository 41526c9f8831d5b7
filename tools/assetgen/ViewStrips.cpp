#include "ViewStrips.h"

#include "SmoothCanvas.h"

#include "platform/device/Printf.h"
#include "platform/gfx/Font.h"
#include "platform/gfx/Painter.h"

namespace assetgen {

namespace {

using gfx::RGB;

constexpr const char16_t* weekdays[7] = {u"Sun", u"Mon", u"Tue", u"Wed", u"Thu", u"Fri", u"Sat"};

void gradient(gfx::Surface& surface, gfx::Colour top, gfx::Colour bottom)
{
    for (int y = 0; y < surface.height(); ++y)
        surface.fillRect({0, y, surface.width(), y + 1}, mix(top, bottom, double(y) / (surface.height() - 1)));
}

void label(gfx::Painter& painter, const char16_t* text, const gfx::Rect& column, gfx::Colour colour)
{
    painter.setTextColour(colour);
    gfx::Rect area = column;
    painter.drawText(text, area, gfx::DT_CENTER | gfx::DT_VCENTER | gfx::DT_SINGLELINE | gfx::DT_NOPREFIX);
}

} // namespace

gfx::Surface ViewStrips::dayBar()
{
    gfx::Surface strip(width, height);
    gradient(strip, RGB(58, 84, 150), RGB(22, 40, 96));
    gfx::Painter painter(strip);
    painter.selectFont(gfx::Font::fromPoints(u"Tahoma", 8, gfx::FW_BOLD));
    painter.setBackgroundMode(gfx::TRANSPARENT);
    const int column = width / 7;
    for (int day = 0; day < 7; ++day) {
        const int left = day * column;
        const int right = day == 6 ? width : left + column;
        if (day > 0)
            strip.fillRect({left, 0, left + 1, height}, RGB(110, 135, 195));
        const bool weekend = day == 0 || day == 6;
        label(painter, weekdays[day], {left, 0, right, height}, weekend ? RGB(255, 205, 160) : gfx::colours::white);
    }
    return strip;
}

gfx::Surface ViewStrips::weekBar()
{
    gfx::Surface strip(width, height);
    gradient(strip, RGB(236, 240, 252), RGB(200, 210, 238));
    gfx::Painter painter(strip);
    // The day view writes the marked weekday in the painter's default font; the others match it.
    painter.selectFont(gfx::Font::fromPoints(u"Tahoma", 8));
    painter.setBackgroundMode(gfx::TRANSPARENT);
    for (int day = 0; day < 7; ++day) {
        const int left = day * width / 7;
        const int right = (day + 1) * width / 7;
        if (day > 0)
            strip.fillRect({left, 1, left + 1, height - 1}, RGB(160, 172, 210));
        label(painter, weekdays[day], {left, 0, right, height}, RGB(20, 36, 100));
    }
    strip.fillRect({0, height - 1, width, height}, RGB(140, 152, 196));
    return strip;
}

gfx::Surface ViewStrips::timeBar()
{
    gfx::Surface strip(width, height);
    gradient(strip, RGB(250, 250, 240), RGB(222, 222, 205));
    gfx::Painter painter(strip);
    painter.selectFont(gfx::Font::fromPoints(u"Tahoma", 7));
    painter.setBackgroundMode(gfx::TRANSPARENT);
    painter.setTextColour(RGB(70, 60, 40));
    const int hourWidth = width / 24;
    for (int hour = 0; hour < 24; ++hour) {
        const int x = hour * hourWidth;
        const bool named = hour % 3 == 0;
        strip.fillRect({x, named ? 0 : height - 4, x + 1, height}, RGB(150, 140, 110));
        if (named) {
            const int dial = hour % 12 == 0 ? 12 : hour % 12;
            device::WideString text = device::wformat(u"%d%c", dial, hour < 12 ? u'a' : u'p');
            painter.textOut(x + 2, 0, text);
        }
    }
    strip.fillRect({0, height - 1, width, height}, RGB(150, 140, 110));
    return strip;
}

} // namespace assetgen
