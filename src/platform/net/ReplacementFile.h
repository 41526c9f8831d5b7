#pragma once
// A file that replaces another only when it is complete: the data goes to a temporary file beside
// the target (same folder, so the final rename stays on one file system), which is flushed to disk
// and renamed over the target on commit(). Until then the target keeps what it had, or stays
// missing; abandoning — explicitly, or by destroying the object without commit() — removes the
// temporary, so a failed or cancelled write leaves nothing behind.
//
// The temporary's name starts with "." (hidden on the device) and ends in ".part".

#include "platform/device/WideText.h"

#include <cstddef>
#include <filesystem>
#include <string>

namespace net {

class ReplacementFile {
public:
    ReplacementFile() = default;
    ~ReplacementFile();
    ReplacementFile(const ReplacementFile&) = delete;
    ReplacementFile& operator=(const ReplacementFile&) = delete;

    // Creates the temporary beside the device file `target`, whose folder must exist. False, with
    // errorText() saying why, when the path is no device path or the temporary cannot be made.
    bool create(device::WideView target);
    // Appends every byte; false (and the file is then of no use) when the host refused some.
    bool write(const void* data, std::size_t size);
    // Flushes the temporary to disk and renames it over the target. False when any step fails;
    // the temporary is gone either way and the target is as it was.
    bool commit();
    // Removes the temporary; the target is as it was.
    void abandon();

    bool isOpen() const { return m_descriptor >= 0; }
    const std::filesystem::path& temporaryPath() const { return m_temporary; }
    const std::string& errorText() const { return m_errorText; }

private:
    bool fail(const std::string& what);
    void closeDescriptor();

    int m_descriptor = -1;
    std::filesystem::path m_target;
    std::filesystem::path m_temporary;
    std::string m_errorText;
};

} // namespace net
