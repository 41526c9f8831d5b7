#pragma once
// A throw-away device folder for one test: created in the host's temporary folder, selected as the
// process's device, and removed when the test ends.

#include <filesystem>
#include <string>

namespace testing_support {

class TempDevice {
public:
    TempDevice();
    ~TempDevice();
    TempDevice(const TempDevice&) = delete;
    TempDevice& operator=(const TempDevice&) = delete;

    const std::filesystem::path& root() const { return m_root; }
    std::filesystem::path fs() const { return m_root / "fs"; }
    // Host path of a device path written with forward slashes for brevity ("My Documents/x").
    std::filesystem::path host(const std::string& relative) const { return fs() / relative; }

private:
    std::filesystem::path m_root;
};

} // namespace testing_support
