#include "TempDevice.h"

#include "platform/device/DeviceFolder.h"

#include <cstdlib>
#include <stdexcept>
#include <system_error>

namespace testing_support {

TempDevice::TempDevice()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "tavrel-test-XXXXXX").string();
    if (!::mkdtemp(pattern.data()))
        throw std::runtime_error("cannot create a temporary device folder");
    m_root = pattern;
    std::string error;
    if (!device::DeviceFolder::select(m_root, &error))
        throw std::runtime_error(error);
}

TempDevice::~TempDevice()
{
    std::error_code ec;
    std::filesystem::remove_all(m_root, ec);
}

} // namespace testing_support
