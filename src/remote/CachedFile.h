#pragma once
// CCachedFile: a local file standing for an address. Addresses of the schemes http, https and ftp
// are fetched into the download cache below "\TEMP\Cached" (CTavrelCachePath) and fetched again
// once the copy there is older than the maximum age; an address without a scheme (or with a drive
// letter), and the rest of a "file:" address, is a file of the device and is used as it is (a
// device path never leaves the device's own file system).
//
// Ages are measured with the device clock: a fetched copy is stamped with the device's "now".
// A fetch that fails leaves nothing for the address in the cache — a copy from before stays as it
// was — and Resolve then returns false, while the local file still names the cache path.

#include "common/QoString.h"

#include <chrono>
#include <optional>

class CCachedFile {
public:
    static constexpr std::chrono::hours DefaultMaxAge{24 * 30};

    CCachedFile();
    // Resolves the address at once, with the default age.
    explicit CCachedFile(const CQoString& address);
    CCachedFile(const CCachedFile& other);
    CCachedFile& operator=(const CCachedFile& other);
    virtual ~CCachedFile();

    // Makes a local file stand for the address, fetching it when the cache holds no copy younger
    // than `maxAge` (none: 30 days; zero: always fetch). False when a fetch failed or the cache's
    // folder could not be made (which the user is told).
    bool Resolve(const CQoString& address, std::optional<std::chrono::seconds> maxAge = std::nullopt);
    // Makes the local file stand for the address without fetching anything, whatever the age of the
    // cache's copy: for reading what the device already holds (the attached calendars at start-up).
    // When the cache has no copy, a file of the same name in `fallbackFolder` (if given) stands in.
    // False when no file stands for the address; the local file then still names the cache path.
    bool ResolveCached(const CQoString& address, const CQoString& fallbackFolder = CQoString());

    const CQoString& GetLocalFile() const { return m_localFile; }
    const CQoString& GetSource() const { return m_source; }

    // Creates every missing folder of the device path, from the top. False at the first that
    // cannot be made (a file standing in the way, a name the device refuses).
    static bool CreateDirectories(const CQoString& path);

private:
    struct Parts {
        CQoString scheme; // upper-cased; "FILE" for a file of the device
        CQoString rest;   // the address after the scheme and its colon
    };
    static Parts Split(const CQoString& address);
    bool Fetch(const CQoString& url);

    CQoString m_localFile;
    CQoString m_source;
};
