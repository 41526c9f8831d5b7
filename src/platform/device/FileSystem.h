#pragma once
// File and folder operations on device paths, with the handheld's semantics: a move never replaces
// an existing file, a copy replaces one only when asked, and creating a folder that exists fails.

#include "platform/device/WideText.h"

#include <chrono>
#include <cstdint>
#include <optional>
#include <vector>

namespace device {

struct FileInfo {
    bool directory = false;
    bool readOnly = false;
    bool hidden = false; // names starting with "." on the host
    std::uint64_t size = 0;
    std::chrono::system_clock::time_point lastWrite;
};

struct DirectoryEntry {
    WideString name;
    FileInfo info;
};

class FileSystem {
public:
    static bool exists(WideView path);
    static bool isDirectory(WideView path);
    static bool isFile(WideView path);
    static std::optional<FileInfo> info(WideView path);
    static bool setLastWrite(WideView path, std::chrono::system_clock::time_point time);
    static bool setReadOnly(WideView path, bool readOnly);

    static std::optional<std::vector<std::uint8_t>> readAll(WideView path);
    // Replaces the file's contents (creating it); false when not every byte was written.
    static bool writeAll(WideView path, const void* data, std::size_t size);
    static bool writeAll(WideView path, const std::vector<std::uint8_t>& bytes)
    {
        return writeAll(path, bytes.data(), bytes.size());
    }

    static bool createDirectory(WideView path);   // one level; fails when it exists
    static bool createDirectories(WideView path); // every missing level; true when it exists
    static bool removeFile(WideView path);
    static bool removeDirectory(WideView path); // only an empty folder
    static bool move(WideView from, WideView to); // fails when `to` exists
    static bool copy(WideView from, WideView to, bool failIfExists);

    // Entries of a folder whose names match the wildcard pattern, sorted by name ignoring case.
    static std::optional<std::vector<DirectoryEntry>> list(WideView folder, WideView pattern = u"*");
};

} // namespace device
