#include "platform/gfx/PngWriter.h"

#include "platform/device/AtomicFileWrite.h"
#include "platform/gfx/StbCodec.h"

namespace gfx {

std::vector<std::uint8_t> PngWriter::encode(const Surface& surface)
{
    return StbCodec::encodePng(surface);
}

bool PngWriter::write(const Surface& surface, const std::filesystem::path& hostPath)
{
    const std::vector<std::uint8_t> bytes = encode(surface);
    return !bytes.empty() && device::writeFileAtomically(hostPath, bytes).succeeded();
}

} // namespace gfx
