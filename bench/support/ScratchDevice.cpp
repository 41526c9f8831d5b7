#include "support/ScratchDevice.h"

#include "platform/device/DeviceFolder.h"

#include <cstdio>
#include <cstdlib>
#include <stdlib.h>
#include <string>

ScratchDevice::ScratchDevice(const char* name)
{
    std::string pattern = (std::filesystem::temp_directory_path() / (std::string(name) + "-XXXXXX")).string();
    if (!::mkdtemp(pattern.data()) || !device::DeviceFolder::select(pattern)) {
        std::fprintf(stderr, "%s: cannot make a device folder under %s\n", name,
                     std::filesystem::temp_directory_path().c_str());
        std::abort();
    }
    m_root = pattern;
}

ScratchDevice::~ScratchDevice()
{
    std::error_code ec;
    std::filesystem::remove_all(m_root, ec);
}
