#pragma once
// Replaces a host file so that a reader sees either the old contents or the new ones, never a part:
// the bytes go to a new temporary file beside the target (the same folder, so the same file
// system), are flushed to the disk and closed, and the temporary is renamed over the target. A
// rename within one file system is all-or-nothing, so a crash at any moment leaves the old file or
// the new one in place. Whatever step fails, the temporary is removed and the target is as it was.
//
// Each write has a temporary of its own ("NAME.tmp-PID-N", created exclusively), so two processes
// or threads writing the same target never write into each other's file; the last rename wins.
// The folder itself is not flushed: after a power loss the rename may be undone, which brings back
// the old contents, never a mixture.

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <system_error>

namespace device {

// What a failed atomic write could not do, and the host's reason.
struct [[nodiscard]] AtomicWriteResult {
    enum class Failure {
        None,
        CreateTemporary, // the temporary file could not be made (missing or write-protected folder)
        Write,           // not every byte could be written (disk full, file size limit)
        Flush,           // flushing to the disk or closing failed
        Rename,          // the temporary could not take the target's place (a folder stands there)
    };

    Failure failure = Failure::None;
    std::error_code reason;

    bool succeeded() const { return failure == Failure::None; }
    explicit operator bool() const { return succeeded(); }
    // "cannot write TARGET: REASON" for a failure (what was being done, then the host's words);
    // empty for success.
    std::string message(const std::filesystem::path& target) const;
};

AtomicWriteResult writeFileAtomically(const std::filesystem::path& target, std::span<const std::uint8_t> bytes);
AtomicWriteResult writeFileAtomically(const std::filesystem::path& target, std::string_view text);

} // namespace device
