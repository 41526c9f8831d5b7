#include "ContactSheet.h"

#include "ClockIcon.h"
#include "MonthTitles.h"
#include "PixelArt.h"
#include "ProgramPictures.h"
#include "RuleIcons.h"
#include "SeasonalBackgrounds.h"
#include "ViewStrips.h"

#include "platform/device/Printf.h"
#include "platform/device/WideText.h"
#include "platform/gfx/Font.h"
#include "platform/gfx/Painter.h"
#include "platform/gfx/PngWriter.h"

#include <algorithm>

namespace assetgen {

namespace {

using gfx::RGB;

void drawKeyed(gfx::Painter& painter, const gfx::Surface& picture, int x, int y, int zoom)
{
    painter.transparentBlt(x, y, picture.width() * zoom, picture.height() * zoom, picture, 0, 0, picture.width(),
                           picture.height(), KeyColour);
}

void caption(gfx::Painter& painter, const std::string& text, int x, int y, int width)
{
    gfx::Rect area{x, y, x + width, y + 12};
    device::WideString wide = device::fromUtf8(text);
    painter.drawText(wide, area, gfx::DT_CENTER | gfx::DT_SINGLELINE | gfx::DT_NOPREFIX | gfx::DT_END_ELLIPSIS);
}

std::string labelOf(const std::string& path)
{
    std::string name = path.substr(path.find_last_of('/') + 1);
    return name.substr(0, name.find_last_of('.'));
}

// Every picture of at most 32 pixels a side, enlarged four times on white and at its own size
// over white and over a faded blue, as it meets the eye in a month cell.
gfx::Surface iconSheet(const std::vector<Asset>& assets)
{
    std::vector<const Asset*> small;
    for (const Asset& asset : assets)
        if (asset.encoding == Asset::Encoding::KeyedGif && asset.picture.width() <= 32)
            small.push_back(&asset);
    const int zoom = 4;
    const int cellWidth = 80, cellHeight = 104, columns = 12;
    const int rows = int((small.size() + columns - 1) / columns);
    gfx::Surface sheet(columns * cellWidth, rows * cellHeight, RGB(235, 235, 235));
    gfx::Painter painter(sheet);
    painter.setBackgroundMode(gfx::TRANSPARENT);
    for (std::size_t i = 0; i < small.size(); ++i) {
        const int x = int(i % columns) * cellWidth;
        const int y = int(i / columns) * cellHeight;
        const gfx::Surface& picture = small[i]->picture;
        sheet.fillRect({x + 4, y + 4, x + 4 + 16 * zoom, y + 4 + 16 * zoom}, gfx::colours::white);
        drawKeyed(painter, picture, x + 4, y + 4, picture.width() > 16 ? zoom / 2 : zoom);
        sheet.fillRect({x + 4, y + 72, x + 24, y + 92}, gfx::colours::white);
        drawKeyed(painter, picture, x + 6, y + 74, 1);
        sheet.fillRect({x + 28, y + 72, x + 48, y + 92}, RGB(190, 205, 235));
        drawKeyed(painter, picture, x + 30, y + 74, 1);
        sheet.fillRect({x + 52, y + 72, x + 72, y + 92}, RGB(120, 90, 60));
        drawKeyed(painter, picture, x + 54, y + 74, 1);
        caption(painter, labelOf(small[i]->path), x, y + 92, cellWidth);
    }
    return sheet;
}

gfx::Surface stripSheet()
{
    const int zoom = 2;
    std::vector<gfx::Surface> strips{ViewStrips::timeBar(), ViewStrips::weekBar(), ViewStrips::dayBar()};
    for (int month = 1; month <= 12; ++month)
        strips.push_back(MonthTitles::draw(month));
    strips.push_back(ProgramPictures::links());
    int height = 0;
    for (const gfx::Surface& strip : strips)
        height += strip.height() * zoom + 6;
    gfx::Surface sheet(240 * zoom + 12, height + 6, RGB(255, 255, 255));
    gfx::Painter painter(sheet);
    int y = 6;
    for (const gfx::Surface& strip : strips) {
        painter.stretchBlt(6, y, strip.width() * zoom, strip.height() * zoom, strip, 0, 0, strip.width(), strip.height());
        y += strip.height() * zoom + 6;
    }
    return sheet;
}

// One month as the month view lays it out, with the default skin's background at its level.
gfx::Surface monthView(int month, const gfx::Surface& background, int level)
{
    gfx::Surface view(240, 268, gfx::colours::white);
    gfx::Painter painter(view);
    const gfx::Surface title = MonthTitles::draw(month);
    const gfx::Surface dayBar = ViewStrips::dayBar();
    painter.bitBlt(0, 0, 240, 28, title, 0, 0);
    painter.bitBlt(0, 28, 240, 12, dayBar, 0, 0);
    // A month starting on a Wednesday with 31 days: five rows.
    const int first = 3, days = 31, rows = 5;
    const int top = 40, columnWidth = 240 / 7, rowHeight = 228 / rows;
    auto cell = [&](int index) {
        const int row = index / 7, column = index % 7;
        return gfx::Rect{column * columnWidth, top + row * rowHeight, column == 6 ? 240 : (column + 1) * columnWidth,
                         row == rows - 1 ? 268 : top + (row + 1) * rowHeight};
    };
    for (int index = 0; index < rows * 7; ++index) {
        const int day = index - first + 1;
        const gfx::Rect r = cell(index);
        if (day < 1 || day > days)
            view.fillRect(r, RGB(192, 192, 255));
        view.fillRect({0, r.top, 240, r.top + 1}, gfx::colours::black);
        view.fillRect({r.left, top, r.left + 1, 268}, gfx::colours::black);
    }
    for (int y = 0; y < 228; ++y) {
        gfx::Colour* row = view.row(top + y);
        for (int x = 0; x < 240; ++x) {
            const gfx::Colour d = row[x], s = background.pixel(x, y);
            auto byte = [&](int shift) {
                return ((d >> shift) & 0xFF) * unsigned(100 - level) / 100 + ((s >> shift) & 0xFF) * unsigned(level) / 100;
            };
            row[x] = byte(0) | byte(8) << 8 | byte(16) << 16;
        }
    }
    painter.setBackgroundMode(gfx::TRANSPARENT);
    painter.selectFont(gfx::Font::fromPoints(u"Tahoma", 8));
    for (int day = 1; day <= days; ++day) {
        gfx::Rect r = cell(first + day - 1);
        painter.drawText(device::wformat(u" %ld", day), r, gfx::DT_LEFT | gfx::DT_TOP | gfx::DT_SINGLELINE);
    }
    const char* icons[] = {"Cake", "Handshake", "Plane", "Phone2", "Dinner", "Golf", "Medical", "Party"};
    for (int i = 0; i < 8; ++i) {
        gfx::Rect r = cell(first + 2 + i * 3);
        drawKeyed(painter, RuleIcons::draw(icons[i]), r.right - 16, r.bottom - 16, 1);
    }
    for (int i = 0; i < 5; ++i) {
        gfx::Rect r = cell(first + 3 + i * 5);
        drawKeyed(painter, ClockIcon::draw(i * 9 + 5), r.right - 16, r.bottom - 16, 1);
    }
    // The year as the month view writes it: light blue with a dark outline.
    painter.selectFont(gfx::Font::fromPoints(u"Tahoma", 16));
    const unsigned format = gfx::DT_RIGHT | gfx::DT_BOTTOM | gfx::DT_SINGLELINE;
    const int offsets[4][2] = {{-2, 0}, {-1, -1}, {-1, 1}, {0, 0}};
    painter.setTextColour(gfx::colours::black);
    for (const auto& offset : offsets) {
        gfx::Rect area = gfx::Rect{0, 0, 240, 27}.translated(offset[0], offset[1]);
        painter.drawText(u"2026", area, format);
    }
    painter.setTextColour(RGB(192, 192, 255));
    gfx::Rect area = gfx::Rect{0, 0, 240, 27}.translated(-1, 0);
    painter.drawText(u"2026", area, format);
    return view;
}

gfx::Surface monthSheet()
{
    const int columns = 4;
    gfx::Surface sheet(columns * 250 + 10, 3 * 278 + 10, RGB(60, 60, 60));
    gfx::Painter painter(sheet);
    for (int month = 1; month <= 12; ++month) {
        const gfx::Surface view = monthView(month, SeasonalBackgrounds::month(month), SeasonalBackgrounds::fadeLevel(month));
        painter.bitBlt(10 + ((month - 1) % columns) * 250, 10 + ((month - 1) / columns) * 278, 240, 268, view, 0, 0);
    }
    return sheet;
}

gfx::Surface backgroundSheet()
{
    gfx::Surface sheet(5 * 250 + 10, 3 * 238 + 10, RGB(60, 60, 60));
    gfx::Painter painter(sheet);
    for (int i = 0; i < 13; ++i) {
        const gfx::Surface picture = i < 12 ? SeasonalBackgrounds::month(i + 1) : SeasonalBackgrounds::builtIn();
        painter.bitBlt(10 + (i % 5) * 250, 10 + (i / 5) * 238, 240, 228, picture, 0, 0);
    }
    return sheet;
}

} // namespace

bool ContactSheet::write(const std::vector<Asset>& assets, const std::filesystem::path& folder)
{
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    return gfx::PngWriter::write(iconSheet(assets), folder / "icons.png")
        && gfx::PngWriter::write(stripSheet(), folder / "strips.png")
        && gfx::PngWriter::write(monthSheet(), folder / "months.png")
        && gfx::PngWriter::write(backgroundSheet(), folder / "backgrounds.png");
}

} // namespace assetgen
