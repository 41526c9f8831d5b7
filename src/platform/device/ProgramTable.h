#pragma once
// The device's program table: which host executable runs when a device program is started.
// "\Program Files\Tavrel\TavrelReminder.Exe" is no file on the emulated handheld; the package
// installer (tavrel-device install) records here that it is the host's tavrel-reminder, and
// ProcessStart and ShellExecute read it.
//
// The table is a host file of the device folder, ROOT/programs.txt, outside the device's file
// system (it names host paths, which no device program should see): UTF-8 text, one program a
// line, the device path and the absolute host path separated by a tab. Lines starting with "#"
// are comments. Device paths compare ignoring letter case.

#include "platform/device/WideText.h"

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace device {

class ProgramTable {
public:
    struct Entry {
        WideString devicePath;
        std::filesystem::path hostProgram;
    };

    // ROOT/programs.txt of the selected device.
    static std::filesystem::path file();

    // The table as it stands (empty when there is none); lines that do not parse are skipped.
    static std::vector<Entry> read();
    // Replaces the table (written beside it and renamed into place). False, with a reason, when
    // an entry cannot be written (a device path that is no valid path, a host path that is not
    // absolute or holds a line break or tab) or the file cannot be written.
    static bool write(const std::vector<Entry>& entries, std::string* error = nullptr);

    // The host program of a device path, or nothing.
    static std::optional<std::filesystem::path> find(WideView devicePath);
    // Adds or replaces one entry / removes one; false when the table cannot be written.
    static bool set(WideView devicePath, const std::filesystem::path& hostProgram, std::string* error = nullptr);
    static bool remove(WideView devicePath, std::string* error = nullptr);

private:
    static WideString canonical(WideView devicePath);
};

} // namespace device
