#pragma once
// How names travel into the database: each name is stored twice, as given (UTF-16 little-endian
// bytes, so any code units survive) and folded (ASCII letters lower-cased, big-endian bytes). The
// folded form is what lookups and the unique indexes compare, and because big-endian bytes sort
// like the code units they encode, ordering by it is the case-insensitive alphabetical order of
// device::compareNoCase.

#include "platform/device/WideText.h"

#include <string>
#include <vector>

namespace registry {

class KeyPath {
public:
    // Splits a backslash-separated path into its levels. Empty levels (a leading, doubled or
    // trailing backslash) are skipped, so "\Software\Orvix" and "Software\Orvix\" name the
    // same key as "Software\Orvix".
    static std::vector<device::WideView> split(device::WideView path);

    static std::string storedName(device::WideView name);
    static std::string foldedName(device::WideView name);
    static device::WideString fromStoredName(const void* bytes, std::size_t size);
};

} // namespace registry
