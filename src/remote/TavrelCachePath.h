#pragma once
// CTavrelCachePath: where the download cache keeps the local file of an address — "\TEMP\Cached",
// then the host and the path of the address, each "/" a folder ("//www.host.com/cal/Tavrel.xml"
// becomes "\TEMP\Cached\www.host.com\cal\Tavrel.xml"). An address whose last "\" comes after
// its last "/" keeps only the name after that "\".
//
// Addresses come from documents and servers, so every name is made safe before it becomes part of
// a path: whatever the address says, the path stays below "\TEMP\Cached" and is one the device
// accepts. Characters that a name of the device may not hold ("\", ":", "?", "*", control
// characters, ...) and the dots and blanks that would make a name climb or vanish ("..", a
// trailing ".") are written as %XX; a name longer than MaxNameLength is cut and given a hash of
// the whole; a path longer than MaxPathLength keeps the host, a hash of the whole address and the
// last name. A "%" stays as it is, so that the file name of a picture keeps the escapes of its
// address ("Snow%20Day.gif") and names the same picture when a calendar written from its local
// files is read again.

#include "common/QoString.h"
#include "platform/device/WideText.h"

#include <cstddef>

class CTavrelCachePath {
public:
    static constexpr const char16_t* Root = u"\\TEMP\\Cached";
    static constexpr std::size_t MaxNameLength = 80;
    // The handheld's longest path.
    static constexpr std::size_t MaxPathLength = 260;

    // The local file for an address whose scheme and colon are gone ("//host/path").
    static CQoString ForAddress(device::WideView address);

    // One name of a path, made safe: never empty, never "." or "..", no separators, no characters
    // the device refuses, at most MaxNameLength characters.
    static device::WideString SafeName(device::WideView name);
};
