#include "platform/ui/DialogUnits.h"

namespace ui {
namespace {
int mulDiv(int value, int numerator, int denominator)
{
    long long product = (long long)value * numerator;
    long long half = denominator / 2;
    return int(product >= 0 ? (product + half) / denominator : -((-product + half) / denominator));
}
} // namespace

int DialogUnits::toPixelsX(int units) { return mulDiv(units, 12, 7); }
int DialogUnits::toPixelsY(int units) { return mulDiv(units, 7, 4); }

gfx::Rect DialogUnits::toPixels(int x, int y, int width, int height)
{
    int left = toPixelsX(x), top = toPixelsY(y);
    return {left, top, toPixelsX(x + width), toPixelsY(y + height)};
}

} // namespace ui
