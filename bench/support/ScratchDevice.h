#pragma once
// A device folder of its own for a benchmark: made under the system's temporary folder, selected
// as the device for the process, and removed with everything in it when the object ends. A
// benchmark that cannot have one cannot measure anything, so failing to make it ends the program.

#include <filesystem>

class ScratchDevice {
public:
    // `name` begins the folder's name, so a left-over folder tells which benchmark made it.
    explicit ScratchDevice(const char* name);
    ~ScratchDevice();
    ScratchDevice(const ScratchDevice&) = delete;
    ScratchDevice& operator=(const ScratchDevice&) = delete;

    const std::filesystem::path& root() const { return m_root; }

private:
    std::filesystem::path m_root;
};
