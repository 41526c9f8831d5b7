#include "platform/gfx/GifCodec.h"

#include <gif_lib.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <memory>

namespace gfx {

namespace {

struct ReadCursor {
    std::span<const std::uint8_t> bytes;
    std::size_t position = 0;
};

int readBytes(GifFileType* gif, GifByteType* buffer, int length)
{
    auto* cursor = static_cast<ReadCursor*>(gif->UserData);
    if (length <= 0)
        return 0;
    std::size_t count = std::min(std::size_t(length), cursor->bytes.size() - cursor->position);
    std::memcpy(buffer, cursor->bytes.data() + cursor->position, count);
    cursor->position += count;
    return int(count);
}

int writeBytes(GifFileType* gif, const GifByteType* buffer, int length)
{
    auto* out = static_cast<std::vector<std::uint8_t>*>(gif->UserData);
    out->insert(out->end(), buffer, buffer + length);
    return length;
}

struct ReadCloser {
    void operator()(GifFileType* gif) const
    {
        int error = 0;
        DGifCloseFile(gif, &error);
    }
};

Colour paletteColour(const ColorMapObject* map, int index)
{
    if (!map || index < 0 || index >= map->ColorCount)
        return colours::black;
    const GifColorType& entry = map->Colors[index];
    return RGB(entry.Red, entry.Green, entry.Blue);
}

} // namespace

std::optional<Surface> GifCodec::decode(std::span<const std::uint8_t> bytes, int maximumSide,
                                        std::int64_t maximumPixels)
{
    ReadCursor cursor{bytes};
    int error = 0;
    std::unique_ptr<GifFileType, ReadCloser> gif(DGifOpen(&cursor, readBytes, &error));
    if (!gif)
        return std::nullopt;

    for (;;) {
        GifRecordType record = UNDEFINED_RECORD_TYPE;
        if (DGifGetRecordType(gif.get(), &record) == GIF_ERROR)
            return std::nullopt;
        if (record == TERMINATE_RECORD_TYPE)
            return std::nullopt; // no picture at all
        if (record == EXTENSION_RECORD_TYPE) {
            int code = 0;
            GifByteType* block = nullptr;
            if (DGifGetExtension(gif.get(), &code, &block) == GIF_ERROR)
                return std::nullopt;
            while (block)
                if (DGifGetExtensionNext(gif.get(), &block) == GIF_ERROR)
                    return std::nullopt;
            continue;
        }
        if (record != IMAGE_DESC_RECORD_TYPE)
            return std::nullopt;
        if (DGifGetImageDesc(gif.get()) == GIF_ERROR)
            return std::nullopt;

        const GifImageDesc& frame = gif->Image;
        int screenWidth = gif->SWidth > 0 ? gif->SWidth : frame.Left + frame.Width;
        int screenHeight = gif->SHeight > 0 ? gif->SHeight : frame.Top + frame.Height;
        if (frame.Width <= 0 || frame.Height <= 0 || screenWidth <= 0 || screenHeight <= 0
            || screenWidth > maximumSide || screenHeight > maximumSide || frame.Width > maximumSide
            || frame.Height > maximumSide || std::int64_t(screenWidth) * screenHeight > maximumPixels)
            return std::nullopt;

        const ColorMapObject* map = frame.ColorMap ? frame.ColorMap : gif->SColorMap;
        Colour background = gif->SColorMap ? paletteColour(gif->SColorMap, gif->SBackGroundColor) : colours::black;
        Surface surface(screenWidth, screenHeight, background);
        if (surface.isEmpty())
            return std::nullopt;

        std::vector<GifPixelType> line(std::size_t(frame.Width));
        auto storeRow = [&](int row) {
            int y = frame.Top + row;
            if (y < 0 || y >= screenHeight)
                return;
            Colour* target = surface.row(y);
            for (int i = 0; i < frame.Width; ++i) {
                int x = frame.Left + i;
                if (x >= 0 && x < screenWidth)
                    target[x] = paletteColour(map, line[std::size_t(i)]);
            }
        };
        if (frame.Interlace) {
            static constexpr int starts[] = {0, 4, 2, 1};
            static constexpr int steps[] = {8, 8, 4, 2};
            for (int pass = 0; pass < 4; ++pass)
                for (int row = starts[pass]; row < frame.Height; row += steps[pass]) {
                    if (DGifGetLine(gif.get(), line.data(), frame.Width) == GIF_ERROR)
                        return std::nullopt;
                    storeRow(row);
                }
        } else {
            for (int row = 0; row < frame.Height; ++row) {
                if (DGifGetLine(gif.get(), line.data(), frame.Width) == GIF_ERROR)
                    return std::nullopt;
                storeRow(row);
            }
        }
        return surface;
    }
}

std::vector<std::uint8_t> GifCodec::encode(std::span<const Surface> frames, std::optional<Colour> transparent)
{
    std::vector<std::uint8_t> out;
    if (frames.empty() || frames[0].isEmpty())
        return out;
    const Size size = frames[0].size();

    // One global palette for all frames; the transparent colour (if any) comes first.
    std::map<Colour, int> indexes;
    std::vector<Colour> palette;
    auto addColour = [&](Colour colour) {
        if (indexes.emplace(colour, int(palette.size())).second)
            palette.push_back(colour);
    };
    if (transparent)
        addColour(opaque(*transparent));
    for (const Surface& frame : frames) {
        if (frame.size() != size)
            return out;
        for (Colour pixel : frame.pixels()) {
            addColour(pixel);
            if (palette.size() > 256)
                return out;
        }
    }
    int bits = 1;
    while ((1 << bits) < int(palette.size()))
        ++bits;
    ColorMapObject* map = GifMakeMapObject(1 << bits, nullptr);
    if (!map)
        return out;
    for (std::size_t i = 0; i < palette.size(); ++i)
        map->Colors[i] = GifColorType{GifByteType(redOf(palette[i])), GifByteType(greenOf(palette[i])),
                                      GifByteType(blueOf(palette[i]))};

    int error = 0;
    GifFileType* gif = EGifOpen(&out, writeBytes, &error);
    bool ok = gif != nullptr;
    if (ok) {
        EGifSetGifVersion(gif, true);
        ok = EGifPutScreenDesc(gif, size.width, size.height, bits, 0, map) != GIF_ERROR;
    }
    if (ok && frames.size() > 1) {
        // Loop forever, as animations on the web do.
        static const GifByteType netscape[] = {'N', 'E', 'T', 'S', 'C', 'A', 'P', 'E', '2', '.', '0'};
        static const GifByteType loop[] = {1, 0, 0};
        ok = EGifPutExtensionLeader(gif, APPLICATION_EXT_FUNC_CODE) != GIF_ERROR
            && EGifPutExtensionBlock(gif, sizeof netscape, netscape) != GIF_ERROR
            && EGifPutExtensionBlock(gif, sizeof loop, loop) != GIF_ERROR && EGifPutExtensionTrailer(gif) != GIF_ERROR;
    }
    std::vector<GifPixelType> line(std::size_t(size.width));
    for (std::size_t f = 0; ok && f < frames.size(); ++f) {
        if (transparent || frames.size() > 1) {
            GraphicsControlBlock control{};
            control.DisposalMode = DISPOSE_DO_NOT;
            control.DelayTime = frames.size() > 1 ? 10 : 0;
            control.TransparentColor = transparent ? 0 : NO_TRANSPARENT_COLOR;
            GifByteType block[4];
            EGifGCBToExtension(&control, block);
            ok = EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, 4, block) != GIF_ERROR;
        }
        ok = ok && EGifPutImageDesc(gif, 0, 0, size.width, size.height, false, nullptr) != GIF_ERROR;
        for (int y = 0; ok && y < size.height; ++y) {
            const Colour* row = frames[f].row(y);
            for (int x = 0; x < size.width; ++x)
                line[std::size_t(x)] = GifPixelType(indexes[row[x]]);
            ok = EGifPutLine(gif, line.data(), size.width) != GIF_ERROR;
        }
    }
    if (gif && EGifCloseFile(gif, &error) == GIF_ERROR)
        ok = false;
    GifFreeMapObject(map);
    if (!ok)
        out.clear();
    return out;
}

} // namespace gfx
