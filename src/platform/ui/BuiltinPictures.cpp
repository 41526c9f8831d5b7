#include "platform/ui/BuiltinPictures.h"

#include "platform/gfx/Painter.h"

namespace ui {

gfx::Surface BuiltinPictures::folder()
{
    gfx::Surface picture(16, 16, gfx::colours::white);
    gfx::Painter painter(picture);
    painter.selectPen(gfx::Pen::solid(gfx::rgb(128, 96, 0)));
    painter.selectBrush(gfx::Brush::solid(gfx::rgb(255, 214, 90)));
    painter.rectangle({1, 3, 7, 6});
    painter.rectangle({1, 5, 15, 14});
    return picture;
}

gfx::Surface BuiltinPictures::document()
{
    gfx::Surface picture(16, 16, gfx::colours::white);
    gfx::Painter painter(picture);
    painter.selectPen(gfx::Pen::solid(gfx::rgb(64, 64, 64)));
    painter.selectBrush(gfx::Brush::solid(gfx::rgb(250, 250, 250)));
    painter.rectangle({3, 1, 13, 15});
    for (int y = 4; y < 13; y += 2)
        painter.fillRect({5, y, 11, y + 1}, gfx::rgb(0, 51, 153));
    return picture;
}

} // namespace ui
