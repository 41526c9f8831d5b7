#pragma once
// Device paths ("\My Documents\Tavrel.Rules") and their host counterparts below the device's fs/.
//
// Names are looked up without regard to letter case, as on the handheld: a name resolves to the
// existing entry that matches it ignoring case, and a name that does not exist yet keeps the case
// it was given. No device path reaches outside fs/: "..", drive letters, control characters and
// symbolic links are refused.

#include "platform/device/WideText.h"

#include <filesystem>
#include <optional>
#include <vector>

namespace device {

class DevicePath {
public:
    // The names of a device path, root first. "\" and "" give no names; "." is skipped; both "\"
    // and "/" separate. Fails for names that could leave the device or that the device forbids.
    static std::optional<std::vector<WideString>> split(WideView path);

    // Host path for a device path on the selected device (or below an explicit fs/ root).
    static std::optional<std::filesystem::path> toHost(WideView path);
    static std::optional<std::filesystem::path> toHost(WideView path, const std::filesystem::path& fileSystemRoot);

    // Device path ("\A\b.txt") for a host path below the selected device's fs/.
    static std::optional<WideString> fromHost(const std::filesystem::path& hostPath);

    // Path helpers on device text.
    static WideString join(WideView folder, WideView name);
    static WideString parent(WideView path);      // "\A\b.txt" -> "\A"; "\b.txt" -> "\"
    static WideString fileName(WideView path);    // "\A\b.txt" -> "b.txt"
    static WideString normalise(WideView path);   // "\A\.\b" -> "\A\b"; empty when it cannot be split

    // Windows wildcard match ("*", "?"), ignoring case; "*.*" matches every name.
    static bool matchesPattern(WideView name, WideView pattern);
};

} // namespace device
