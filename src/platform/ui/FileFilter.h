#pragma once
// The filter list of a file dialog in the handheld's string form: pairs of a shown name and a
// pattern list separated by "|", the patterns by ";", the whole ended by "||":
// "Image Files|*.BMP;*.GIF;*.JPG;*.PNG;*.TIF|All Files (*.*)|*.*||".

#include "platform/device/WideText.h"

#include <vector>

namespace ui {

struct FileFilter {
    device::WideString name;
    std::vector<device::WideString> patterns;

    // Whether a file name matches one of the patterns (wildcards, ignoring case).
    bool matches(device::WideView fileName) const;

    // A name without patterns is dropped; an empty text yields "All Files" with "*.*".
    static std::vector<FileFilter> parse(device::WideView text);
};

} // namespace ui
