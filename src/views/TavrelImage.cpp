#include "views/TavrelImage.h"

#include "platform/device/File.h"
#include "platform/gfx/ImageDecoder.h"
#include "platform/gfx/ImageResource.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <new>
#include <vector>

namespace {

// Reads a whole device file, refusing files larger than any picture the decoder would take.
std::optional<std::vector<std::uint8_t>> readPictureFile(const char16_t* path)
{
    device::File file;
    if (!file.open(path, device::File::Read, device::File::Disposition::OpenExisting))
        return std::nullopt;
    std::optional<std::int64_t> size = file.size();
    if (!size || *size < 0 || std::uint64_t(*size) > gfx::ImageDecoder::maximumFileSize)
        return std::nullopt;
    std::vector<std::uint8_t> bytes;
    try {
        bytes.resize(static_cast<std::size_t>(*size));
    } catch (const std::bad_alloc&) {
        return std::nullopt; // a device short of memory: the picture does not load
    }
    std::optional<std::size_t> read = file.read(bytes.data(), bytes.size());
    if (!read)
        return std::nullopt;
    bytes.resize(*read);
    return bytes;
}

// One colour byte's share at a level, for every byte value: value × weight ÷ 100, truncated.
using ShareTable = std::array<std::uint32_t, 256>;

ShareTable shares(int weight)
{
    ShareTable table{};
    for (std::uint32_t value = 0; value < 256; ++value)
        table[value] = value * std::uint32_t(weight) / 100u;
    return table;
}

// under × (100 − level) ÷ 100 + over × level ÷ 100 for each of the three colour bytes of every
// pixel; the two shares of one byte never add up to more than 255, so bytes cannot spill.
void blendPixels(gfx::Surface& under, const gfx::Surface& over, int level)
{
    const ShareTable underShare = shares(100 - level);
    const ShareTable overShare = shares(level);
    std::span<gfx::Colour> target = under.pixels();
    std::span<const gfx::Colour> source = over.pixels();
    for (std::size_t i = 0; i < target.size(); ++i) {
        gfx::Colour d = target[i];
        gfx::Colour s = source[i];
        target[i] = (underShare[d & 0xFFu] + overShare[s & 0xFFu])
            | (underShare[(d >> 8) & 0xFFu] + overShare[(s >> 8) & 0xFFu]) << 8
            | (underShare[(d >> 16) & 0xFFu] + overShare[(s >> 16) & 0xFFu]) << 16;
    }
}

} // namespace

CTavrelImage::CTavrelImage() = default;

CTavrelImage::~CTavrelImage() = default;

bool CTavrelImage::LoadFile(const char16_t* path)
{
    if (!path || !*path)
        return false;
    if (IsLoaded() && !m_name.IsEmpty() && m_name.CompareNoCase(path) == 0)
        return true;
    std::optional<std::vector<std::uint8_t>> bytes = readPictureFile(path);
    if (!bytes)
        return false;
    std::optional<gfx::Surface> decoded = gfx::ImageDecoder::decode(*bytes);
    if (!decoded)
        return false;
    Adopt(std::move(*decoded));
    m_name = path;
    m_module = nullptr;
    m_resourceId = 0;
    return true;
}

bool CTavrelImage::LoadResource(int id, const gfx::ResourceTable* module)
{
    const gfx::ResourceTable& table = module ? *module : gfx::ResourceTable::program();
    if (IsLoaded() && m_module == &table && m_resourceId == id)
        return true;
    std::optional<gfx::Surface> decoded = gfx::loadImageResource(id, table);
    if (!decoded)
        return false;
    Adopt(std::move(*decoded));
    m_name = u"";
    m_module = &table;
    m_resourceId = id;
    return true;
}

bool CTavrelImage::ShrinkToFit(int maxWidth, int maxHeight)
{
    if (!IsLoaded() || maxWidth <= 0 || maxHeight <= 0)
        return false;
    if (m_width <= maxWidth && m_height <= maxHeight)
        return true;
    const double scale = std::min(double(maxWidth) / m_width, double(maxHeight) / m_height);
    const int width = std::clamp(int(m_width * scale), 1, maxWidth);
    const int height = std::clamp(int(m_height * scale), 1, maxHeight);
    gfx::Surface smaller(width, height);
    if (smaller.isEmpty())
        return false;
    gfx::Painter painter(smaller);
    painter.stretchBlt(0, 0, width, height, *m_bitmap, 0, 0, m_width, m_height);
    Adopt(std::move(smaller));
    return true;
}

void CTavrelImage::Release()
{
    m_bitmap.reset();
    m_width = 0;
    m_height = 0;
    m_name = u"";
    m_module = nullptr;
    m_resourceId = 0;
}

void CTavrelImage::Adopt(gfx::Surface&& bitmap)
{
    m_width = bitmap.width();
    m_height = bitmap.height();
    m_bitmap = std::move(bitmap);
}

gfx::Colour CTavrelImage::TransparentKey(gfx::Colour colour) const
{
    return gfx::opaque(colour) == TopLeftColour ? m_bitmap->pixel(0, 0) : colour;
}

void CTavrelImage::Draw(gfx::Painter& dc, int x, int y, int width, int height) const
{
    if (!IsLoaded())
        return;
    if (width == -1 && height == -1) {
        dc.bitBlt(x, y, m_width, m_height, *m_bitmap, 0, 0);
        return;
    }
    dc.stretchBlt(x, y, width == -1 ? m_width : width, height == -1 ? m_height : height, *m_bitmap, 0, 0,
                  m_width, m_height);
}

void CTavrelImage::DrawTransparent(gfx::Painter& dc, int x, int y, int width, int height, gfx::Colour colour) const
{
    if (!IsLoaded())
        return;
    dc.transparentBlt(x, y, width == -1 ? m_width : width, height == -1 ? m_height : height, *m_bitmap, 0, 0,
                      m_width, m_height, TransparentKey(colour));
}

bool CTavrelImage::Blend(gfx::Painter& dc, int x, int y, int level, int width, int height, gfx::Colour colour) const
{
    if (!IsLoaded())
        return false;
    const int w = width == -1 ? m_width : width;
    const int h = height == -1 ? m_height : height;
    if (w <= 0 || h <= 0 || w > gfx::Surface::maximumSide || h > gfx::Surface::maximumSide)
        return false;
    // What lies under the area, read straight from the target (a source is never clipped); parts
    // of the area beyond the target read as black and are clipped away again when written back.
    const gfx::Point origin = dc.origin();
    const gfx::Rect area = gfx::Rect::fromPositionAndSize(x + origin.x, y + origin.y, w, h);
    gfx::Surface under;
    if (dc.target().rect().contains(area)) {
        under = dc.target().cropped(area);
    } else {
        under = gfx::Surface(w, h);
        if (under.isEmpty())
            return false;
        gfx::Painter(under).bitBlt(0, 0, w, h, dc.target(), area.left, area.top);
    }
    const bool keyed = gfx::opaque(colour) != TopLeftColour;
    if (!keyed && w == m_width && h == m_height) {
        // The picture at its own size with nothing left out, the usual background: no copy needed.
        blendPixels(under, *m_bitmap, std::clamp(level, 0, 100));
        dc.bitBlt(x, y, w, h, under, 0, 0);
        return true;
    }
    gfx::Surface over;
    if (keyed) {
        // The left-out pixels keep what lies under them, so they blend to themselves.
        over = under;
        gfx::Painter(over).transparentBlt(0, 0, w, h, *m_bitmap, 0, 0, m_width, m_height, colour);
    } else {
        over = gfx::Surface(w, h);
        if (over.isEmpty())
            return false;
        gfx::Painter(over).stretchBlt(0, 0, w, h, *m_bitmap, 0, 0, m_width, m_height);
    }
    blendPixels(under, over, std::clamp(level, 0, 100));
    dc.bitBlt(x, y, w, h, under, 0, 0);
    return true;
}

gfx::Colour CTavrelImage::GetPixel(int x, int y) const
{
    return IsLoaded() ? m_bitmap->pixel(x, y) : 0;
}

gfx::Surface CTavrelImage::MakeThumbnail(int width, int height, int canvasWidth, int canvasHeight) const
{
    if (!IsLoaded())
        return {};
    // The missing side follows the picture's proportions in single precision, truncated; sizes
    // beyond any surface are cut to a bound first so the conversion back stays defined.
    auto truncated = [](float value) {
        return int(std::clamp(value, float(-gfx::Surface::maximumSide), float(gfx::Surface::maximumSide)));
    };
    int w = width;
    int h = height;
    if (w == -1 && h == -1) {
        w = m_width;
        h = m_height;
    } else if (h == -1) {
        h = truncated(float(m_height) / float(m_width) * float(w));
    } else if (w == -1) {
        w = truncated(float(m_width) / float(m_height) * float(h));
    }
    if (w <= 0 || h <= 0)
        return {};
    const bool canvasGiven = canvasWidth > 0 && canvasHeight > 0;
    gfx::Surface canvas(canvasGiven ? canvasWidth : std::max(w, h), canvasGiven ? canvasHeight : std::max(w, h),
                        gfx::colours::white);
    if (canvas.isEmpty())
        return {};
    gfx::Painter painter(canvas);
    DrawTransparent(painter, 0, 0, w, h, TopLeftColour);
    return canvas;
}
