#pragma once
// An open file of the device, by device path. Owns its descriptor; closes it when destroyed.
// Only regular files open, and opening never blocks: a folder, FIFO, socket or device node at the
// path fails with ERROR_ACCESS_DENIED.

#include "platform/device/WideText.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>

namespace device {

class File {
public:
    enum Access : unsigned { Read = 1, Write = 2, ReadWrite = 3 };
    enum class Disposition {
        OpenExisting,     // fails when missing
        CreateNew,        // fails when it exists (exclusive creation)
        CreateAlways,     // creates or truncates
        OpenAlways,       // opens or creates, keeping the contents
        TruncateExisting, // fails when missing; truncates
    };
    enum class Origin { Begin, Current, End };

    File() = default;
    ~File();
    File(File&& other) noexcept;
    File& operator=(File&& other) noexcept;
    File(const File&) = delete;
    File& operator=(const File&) = delete;

    bool open(WideView devicePath, unsigned access, Disposition disposition);
    bool openHost(const std::filesystem::path& hostPath, unsigned access, Disposition disposition);
    bool isOpen() const { return m_descriptor >= 0; }
    void close();

    // Bytes read (0 at the end), or nothing on error.
    std::optional<std::size_t> read(void* buffer, std::size_t size);
    // Bytes written; fewer than asked means the device is full or the write failed.
    std::size_t write(const void* data, std::size_t size);
    std::optional<std::int64_t> seek(std::int64_t offset, Origin origin);
    std::optional<std::int64_t> size() const;
    bool flush();

private:
    int m_descriptor = -1;
};

} // namespace device
