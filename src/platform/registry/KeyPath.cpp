#include "platform/registry/KeyPath.h"

namespace registry {

std::vector<device::WideView> KeyPath::split(device::WideView path)
{
    std::vector<device::WideView> levels;
    std::size_t start = 0;
    while (start <= path.size()) {
        std::size_t end = path.find(u'\\', start);
        if (end == device::WideView::npos)
            end = path.size();
        if (end > start)
            levels.push_back(path.substr(start, end - start));
        start = end + 1;
    }
    return levels;
}

std::string KeyPath::storedName(device::WideView name)
{
    std::string bytes;
    bytes.reserve(name.size() * 2);
    for (device::WChar c : name) {
        bytes.push_back(char(c & 0xFF));
        bytes.push_back(char(c >> 8));
    }
    return bytes;
}

std::string KeyPath::foldedName(device::WideView name)
{
    std::string bytes;
    bytes.reserve(name.size() * 2);
    for (device::WChar c : name) {
        device::WChar folded = device::foldLower(c);
        bytes.push_back(char(folded >> 8));
        bytes.push_back(char(folded & 0xFF));
    }
    return bytes;
}

device::WideString KeyPath::fromStoredName(const void* bytes, std::size_t size)
{
    const auto* in = static_cast<const unsigned char*>(bytes);
    device::WideString name;
    name.reserve(size / 2);
    for (std::size_t i = 0; i + 1 < size; i += 2)
        name.push_back(device::WChar(in[i] | (in[i + 1] << 8)));
    return name;
}

} // namespace registry
