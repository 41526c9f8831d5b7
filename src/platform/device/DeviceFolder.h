#pragma once
// The device folder: everything one emulated handheld keeps on the host.
//
//   ROOT/fs/          the device's file system; the device path "\" is this folder
//   ROOT/registry.db  the registry (both hives)
//   ROOT/pim.db       the appointment store
//
// A process selects its device once at start (from --device, $TAVREL_DEVICE or the XDG default);
// every platform service then finds its files through DeviceFolder::current().

#include <filesystem>
#include <optional>
#include <string>

namespace device {

class DeviceFolder {
public:
    explicit DeviceFolder(std::filesystem::path root);

    // --device wins, then $TAVREL_DEVICE, then ${XDG_DATA_HOME:-$HOME/.local/share}/tavrel/device.
    // An empty --device, or a $TAVREL_DEVICE that is set but empty, names no folder: nothing (and
    // the reason) rather than a silent fall-back to the user's own device.
    static std::optional<std::filesystem::path> resolve(const std::optional<std::string>& explicitRoot,
                                                        std::string* error = nullptr);
    // What a program does at start: reads the device clock's setting (warning about a bad one),
    // resolves the device its command line names and selects it. False, with a one-line reason,
    // when no usable device folder results.
    static bool selectForProgram(const std::optional<std::string>& explicitRoot, std::string* error);

    // Makes `root` this process's device, creating the folder and its standard contents on first
    // use. Returns false (and a reason) when the folder cannot be created.
    static bool select(const std::filesystem::path& root, std::string* error = nullptr);

    // The selected device; selects the default one on first use when no program chose one.
    static const DeviceFolder& current();
    static bool isSelected();

    const std::filesystem::path& root() const { return m_root; }
    std::filesystem::path fileSystemRoot() const { return m_root / "fs"; }
    std::filesystem::path registryFile() const { return m_root / "registry.db"; }
    std::filesystem::path pimFile() const { return m_root / "pim.db"; }

    // Creates the standard folders and the platform's own files when they are missing.
    bool ensureStandardContents(std::string* error = nullptr) const;

private:
    std::filesystem::path m_root;
};

} // namespace device
