#include "platform/gfx/PngWriter.h"

#include "platform/gfx/StbCodec.h"

#include <fstream>
#include <unistd.h>

namespace gfx {

std::vector<std::uint8_t> PngWriter::encode(const Surface& surface)
{
    return StbCodec::encodePng(surface);
}

bool PngWriter::write(const Surface& surface, const std::filesystem::path& hostPath)
{
    std::vector<std::uint8_t> bytes = encode(surface);
    if (bytes.empty())
        return false;
    std::filesystem::path temporary = hostPath;
    temporary += ".tmp" + std::to_string(::getpid());
    {
        std::ofstream file(temporary, std::ios::binary | std::ios::trunc);
        if (!file)
            return false;
        file.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
        file.flush();
        if (!file) {
            file.close();
            std::error_code ignored;
            std::filesystem::remove(temporary, ignored);
            return false;
        }
    }
    std::error_code error;
    std::filesystem::rename(temporary, hostPath, error);
    if (error) {
        std::filesystem::remove(temporary, error);
        return false;
    }
    return true;
}

} // namespace gfx
