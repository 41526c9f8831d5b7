#include "ProgramPictures.h"

#include "PixelArt.h"
#include "RuleIcons.h"
#include "SmoothCanvas.h"

#include "platform/gfx/Font.h"
#include "platform/gfx/Painter.h"

#include <cmath>
#include <numbers>

namespace assetgen {

namespace {

using gfx::RGB;

// A solid arrow head pointing left (or right, mirrored), eleven rows high.
gfx::Surface arrow(bool right)
{
    gfx::Surface surface(16, 16, KeyColour);
    const gfx::Colour ink = RGB(0, 0, 0);
    for (int row = 0; row < 11; ++row) {
        const int width = 6 - std::abs(row - 5);
        for (int i = 0; i < width; ++i) {
            const int x = right ? 5 + i : 10 - i;
            surface.setPixel(x, 2 + row, ink);
        }
    }
    return surface;
}

// Puts `picture` into `target` at (x, y), leaving out its key-coloured pixels.
void stamp(gfx::Surface& target, const gfx::Surface& picture, int x, int y)
{
    gfx::Painter painter(target);
    painter.transparentBlt(x, y, picture.width(), picture.height(), picture, 0, 0, picture.width(), picture.height(),
                           KeyColour);
}

gfx::Surface globe()
{
    const gfx::Colour sea = RGB(40, 110, 210);
    const gfx::Colour line = RGB(190, 225, 255);
    const gfx::Colour land = RGB(60, 170, 70);
    SmoothCanvas canvas(16, 16, 8, KeyColour);
    canvas.fillEllipse(0, 0, 15, 15, RGB(15, 50, 120));
    canvas.fillEllipse(0.9, 0.9, 14.1, 14.1, sea);
    canvas.fillPolygon({{3, 4}, {6.5, 2.5}, {7.5, 5}, {5.5, 7.5}, {6, 10}, {4, 11}, {2.2, 8}}, land);
    canvas.fillPolygon({{9, 6.5}, {12.5, 5.5}, {13.5, 8.5}, {11.5, 12}, {9.5, 10.5}}, land);
    canvas.ring(4.2, 0.5, 10.8, 14.5, 0.8, line);
    canvas.line({7.5, 0.5}, {7.5, 14.5}, 0.8, line);
    canvas.line({0.5, 7.5}, {14.5, 7.5}, 0.8, line);
    canvas.line({1.8, 4.2}, {13.2, 4.2}, 0.7, line);
    canvas.line({1.8, 10.8}, {13.2, 10.8}, 0.7, line);
    canvas.keepInsideEllipse(0, 0, 15, 15, KeyColour);
    return canvas.reduceKeyed(KeyColour);
}

gfx::Surface musicNote()
{
    return PixelArt::draw({
        "................",
        "........KKK.....",
        "......KKKVK.....",
        "....KKVVVVK.....",
        "....KVVVKKK.....",
        "....KVKK..K.....",
        "....KK....K.....",
        "....K.....K.....",
        "....K.....K.....",
        "....K.....K.....",
        "....K...KKK.....",
        "....K..KVVVK....",
        "..KKK..KVVVK....",
        ".KVVVK..KKK.....",
        ".KVVVK..........",
        "..KKK...........",
    });
}

} // namespace

gfx::Surface ProgramPictures::programIcon()
{
    // A calendar sheet with its rings, a grid of days and today marked, and a small clock.
    const gfx::Colour outline = RGB(20, 30, 70);
    const gfx::Colour header = RGB(40, 80, 180);
    const gfx::Colour grid = RGB(170, 180, 210);
    SmoothCanvas canvas(32, 32, 4, KeyColour);
    canvas.fillRect(2, 4, 30, 30, outline);
    canvas.fillRect(3, 5, 29, 29, gfx::colours::white);
    canvas.fillRect(3, 5, 29, 11, header);
    for (int ring : {8, 14, 20, 26}) {
        canvas.fillRect(ring - 1, 2, ring + 1, 8, RGB(90, 90, 100));
        canvas.fillRect(ring - 0.5, 2.5, ring + 0.5, 7.5, RGB(220, 220, 230));
    }
    for (int column = 0; column < 6; ++column)
        for (int row = 0; row < 4; ++row)
            canvas.fillRect(5 + column * 4, 13 + row * 4, 8 + column * 4, 16 + row * 4, grid);
    canvas.fillRect(13, 17, 16, 20, RGB(220, 30, 30));
    // The clock in the lower right corner, over the sheet.
    canvas.fillEllipse(17, 17, 31, 31, outline);
    canvas.fillEllipse(18.3, 18.3, 29.7, 29.7, RGB(255, 245, 200));
    canvas.line({24, 24}, {24, 19.8}, 1.3, outline);
    canvas.line({24, 24}, {27.2, 25.6}, 1.3, outline);
    return canvas.reduceKeyed(KeyColour);
}

gfx::Surface ProgramPictures::logConfigIcon()
{
    // A sheet of log lines, its corner turned, with a green switch in the on position over it.
    const gfx::Colour outline = RGB(20, 30, 70);
    const gfx::Colour lines = RGB(120, 130, 160);
    SmoothCanvas canvas(32, 32, 4, KeyColour);
    canvas.fillPolygon({{4, 1}, {21, 1}, {27, 7}, {27, 31}, {4, 31}}, outline);
    canvas.fillPolygon({{5, 2}, {20.5, 2}, {26, 7.5}, {26, 30}, {5, 30}}, gfx::colours::white);
    canvas.fillPolygon({{20, 1.5}, {27, 8.5}, {20, 8.5}}, RGB(200, 205, 225));
    for (int row = 0; row < 4; ++row)
        canvas.fillRect(8, 6 + row * 4, row == 0 ? 17 : 23 - row * 2, 7.3 + row * 4, lines);
    // The switch: a rounded track with its knob to the right.
    canvas.fillEllipse(10, 21, 18, 29, outline);
    canvas.fillEllipse(22, 21, 30, 29, outline);
    canvas.fillRect(14, 21, 26, 29, outline);
    canvas.fillEllipse(11, 22, 17, 28, RGB(40, 170, 60));
    canvas.fillEllipse(23, 22, 29, 28, RGB(40, 170, 60));
    canvas.fillRect(14, 22, 26, 28, RGB(40, 170, 60));
    canvas.fillEllipse(22.5, 22.5, 28.5, 28.5, gfx::colours::white);
    return canvas.reduceKeyed(KeyColour);
}

gfx::Surface ProgramPictures::previousButton()
{
    return arrow(false);
}

gfx::Surface ProgramPictures::nextButton()
{
    return arrow(true);
}

gfx::Surface ProgramPictures::todayButton()
{
    return PixelArt::draw({
        "................",
        ".KKKKKKKKKKKKKK.",
        ".KRRRRRRRRRRRRK.",
        ".KRRRRRRRRRRRRK.",
        ".KKKKKKKKKKKKKK.",
        ".KWWWWWWWWWWWWK.",
        ".KWgWgWgWgWgWWK.",
        ".KWWWWWWWWWWWWK.",
        ".KWgWgWBBBWgWWK.",
        ".KWWWWWBWBWWWWK.",
        ".KWgWgWBBBWgWWK.",
        ".KWWWWWWWWWWWWK.",
        ".KWgWgWgWgWgWWK.",
        ".KWWWWWWWWWWWWK.",
        ".KKKKKKKKKKKKKK.",
        "................",
    });
}

gfx::Surface ProgramPictures::attachedButton()
{
    return globe();
}

gfx::Surface ProgramPictures::aboutButton()
{
    SmoothCanvas canvas(16, 16, 8, KeyColour);
    canvas.fillEllipse(0, 0, 15, 15, RGB(15, 50, 120));
    canvas.fillEllipse(1, 1, 14, 14, RGB(50, 110, 210));
    gfx::Surface circle = canvas.reduceKeyed(KeyColour);
    // The letter "i", drawn pixel by pixel so that it stays crisp.
    const gfx::Colour white = gfx::colours::white;
    circle.fillRect({7, 3, 9, 5}, white);
    circle.fillRect({6, 6, 9, 7}, white);
    circle.fillRect({7, 7, 9, 11}, white);
    circle.fillRect({6, 11, 10, 12}, white);
    return circle;
}

gfx::Surface ProgramPictures::switchToVarnowButton()
{
    // The task list of the partner program: a clipboard of ticked lines.
    return PixelArt::draw({
        ".....KKKKK......",
        "..nnnKwwwKnnn...",
        ".nmmmKKKKKmmmn..",
        ".nmWWWWWWWWWmn..",
        ".nmWWWWWWWeWmn..",
        ".nmWeWWWWWeWmn..",
        ".nmWWeWWWeWWmn..",
        ".nmWWWeWeWWWmn..",
        ".nmWWWWeWWWWmn..",
        ".nmWWWWWWWWWmn..",
        ".nmWggggggWWmn..",
        ".nmWWWWWWWWWmn..",
        ".nmWggggWWWWmn..",
        ".nmWWWWWWWWWmn..",
        ".nmmmmmmmmmmmn..",
        "..nnnnnnnnnnn...",
    });
}

gfx::Surface ProgramPictures::reminderToDo()
{
    return RuleIcons::draw("Chkbox");
}

gfx::Surface ProgramPictures::reminderCall()
{
    return RuleIcons::draw("Phone2");
}

gfx::Surface ProgramPictures::reminderMeeting()
{
    return RuleIcons::draw("Handshake");
}

gfx::Surface ProgramPictures::reminderOther()
{
    // An alarm bell.
    return PixelArt::draw({
        "................",
        ".......yy.......",
        "......yYYy......",
        ".....yYYWYy.....",
        "....yYYYYWYy....",
        "....yYYYYWYy....",
        "....yYYYYYYy....",
        "...yYYYYYYYYy...",
        "...yYYYYYYYYy...",
        "..yYYYYYYYYYYy..",
        ".yYYYYYYYYYYYYy.",
        ".yyyyyyyyyyyyyy.",
        "......yooy......",
        ".......oo.......",
        "................",
        "................",
    });
}

gfx::Surface ProgramPictures::allDayIcon()
{
    // The sun: the event fills the whole day rather than starting at an hour.
    const gfx::Colour rays = RGB(235, 130, 10);
    SmoothCanvas canvas(16, 16, 8, KeyColour);
    for (int i = 0; i < 8; ++i) {
        const double angle = i / 8.0 * 2 * std::numbers::pi;
        canvas.line({7.5 + std::sin(angle) * 5.0, 7.5 - std::cos(angle) * 5.0},
                    {7.5 + std::sin(angle) * 7.3, 7.5 - std::cos(angle) * 7.3}, 1.5, rays);
    }
    canvas.fillEllipse(3.2, 3.2, 11.8, 11.8, rays);
    canvas.fillEllipse(4.2, 4.2, 10.8, 10.8, RGB(255, 215, 40));
    canvas.fillEllipse(5.2, 5.0, 7.6, 7.4, RGB(255, 245, 170));
    return canvas.reduceKeyed(KeyColour);
}

gfx::Surface ProgramPictures::moreMarker()
{
    return PixelArt::draw({
        ".........",
        ".KK.KK.KK",
        ".KK.KK.KK",
        ".........",
    });
}

gfx::Surface ProgramPictures::folder()
{
    return PixelArt::draw({
        "................",
        "................",
        ".ooooo..........",
        "oyyyyyo.........",
        "oyyyyyyoooooooo.",
        "oyyyyyyyyyyyyyyo",
        "oyyooooooooooooo",
        "oyoYYYYYYYYYYYYo",
        "oyoYYYYYYYYYYYYo",
        "oyoYYYYYYYYYYYYo",
        "oyoYYYYYYYYYYYYo",
        "oyoYYYYYYYYYYYYo",
        "oyoYYYYYYYYYYYYo",
        "oooooooooooooooo",
        "................",
        "................",
    });
}

gfx::Surface ProgramPictures::links()
{
    constexpr int partWidth = 48;
    gfx::Surface picture(partWidth * 3, 36, gfx::colours::white);
    gfx::Painter painter(picture);
    const gfx::Surface icons[3] = {globe(), RuleIcons::draw("Soccer"), musicNote()};
    const char16_t* labels[3] = {u"Browse", u"Sports", u"Concerts"};
    painter.selectFont(gfx::Font::fromPoints(u"Tahoma", 8));
    painter.setBackgroundMode(gfx::TRANSPARENT);
    painter.setTextColour(RGB(16, 32, 112));
    for (int part = 0; part < 3; ++part) {
        const gfx::Rect box{part * partWidth + 2, 1, (part + 1) * partWidth - 2, 35};
        painter.selectPen(gfx::Pen(gfx::PS_SOLID, 1, RGB(120, 150, 210)));
        painter.selectBrush(gfx::Brush::solid(RGB(228, 238, 255)));
        painter.rectangle(box);
        stamp(picture, icons[part], box.left + (box.width() - 16) / 2, 3);
        gfx::Rect label{box.left, 20, box.right, 33};
        painter.drawText(labels[part], label, gfx::DT_CENTER | gfx::DT_SINGLELINE | gfx::DT_VCENTER | gfx::DT_NOPREFIX);
    }
    return picture;
}

} // namespace assetgen
