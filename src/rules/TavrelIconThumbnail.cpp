#include "rules/TavrelIconThumbnail.h"

#include "platform/device/File.h"
#include "platform/gfx/ImageDecoder.h"
#include "platform/gfx/Painter.h"

#include <optional>
#include <vector>

namespace {

std::optional<std::vector<std::uint8_t>> readBoundedFile(device::WideView path)
{
    device::File file;
    if (!file.open(path, device::File::Read, device::File::Disposition::OpenExisting))
        return std::nullopt;
    const std::optional<std::int64_t> size = file.size();
    if (!size || *size <= 0 || std::uint64_t(*size) > CTavrelIconThumbnail::MaxFileSize)
        return std::nullopt;
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(*size));
    const std::optional<std::size_t> read = file.read(bytes.data(), bytes.size());
    if (!read)
        return std::nullopt;
    bytes.resize(*read);
    return bytes;
}

} // namespace

gfx::Surface CTavrelIconThumbnail::FromFile(device::WideView path)
{
    const std::optional<std::vector<std::uint8_t>> bytes = readBoundedFile(path);
    if (!bytes)
        return {};
    const std::optional<gfx::Surface> picture = gfx::ImageDecoder::decode(*bytes, MaxSide);
    return picture ? FromPicture(*picture) : gfx::Surface();
}

gfx::Surface CTavrelIconThumbnail::FromPicture(const gfx::Surface& picture)
{
    if (picture.isEmpty())
        return {};
    const gfx::Colour background = picture.pixel(0, 0);
    gfx::Surface thumbnail(Size, Size, background);
    gfx::Painter painter(thumbnail);
    if (picture.width() > Size || picture.height() > Size)
        painter.stretchBlt(0, 0, Size, Size, picture, 0, 0, picture.width(), picture.height());
    else
        painter.bitBlt(0, 0, picture.width(), picture.height(), picture, 0, 0);
    for (gfx::Colour& pixel : thumbnail.pixels()) {
        if (pixel == background)
            pixel = TransparentColour;
        else if (pixel == TransparentColour)
            pixel = TransparentColour - 1; // one step less red: shown, not left out
    }
    return thumbnail;
}
