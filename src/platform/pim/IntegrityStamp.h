#pragma once
// What a store file looked like when it last passed its integrity check: size, modification time
// and file identity of the file and of its write-ahead log. Kept beside the store in
// "NAME-checked" (pim.db-checked), so that a logon can skip reading the whole file again when
// nothing has written to it since.
//
// The stamp is taken before the check runs, so a write that lands during the check makes the next
// logon check again. A write-ahead log that is missing or empty counts as none: every connection
// creates it and the last one to close removes it, without changing the store. A stamp file that
// is missing, unreadable or of another form matches nothing.

#include <filesystem>
#include <string>

namespace pim {

class IntegrityStamp {
public:
    // The stamp of `storeFile` as it is now.
    static IntegrityStamp of(const std::filesystem::path& storeFile);

    // Whether this stamp is the one recorded after the last good check.
    bool isRecorded() const;
    // Records this stamp as the one of a good check. Failing to write it only costs the next logon
    // a check, so the failure is not reported.
    void record() const;

    const std::string& text() const { return m_text; }

private:
    IntegrityStamp(std::filesystem::path stampFile, std::string text);

    std::filesystem::path m_stampFile;
    std::string m_text;
};

} // namespace pim
