#pragma once
// Wide text as the handheld keeps it: 16-bit code units (UTF-16), zero-terminated where raw
// buffers are used. These helpers are the one place where wide and host (UTF-8) text meet.

#include <cstddef>
#include <string>
#include <string_view>

namespace device {

using WChar = char16_t;
using WideString = std::u16string;
using WideView = std::u16string_view;

// Number of code units before the terminator; 0 for a null pointer.
std::size_t wideLength(const WChar* text);

// UTF-8 <-> UTF-16. Invalid input never fails: broken sequences become U+FFFD.
std::string toUtf8(WideView text);
WideString fromUtf8(std::string_view text);

// The device's multibyte code page is Windows-1252; characters it cannot hold become '?'.
std::string toCodePage(WideView text);

// ASCII-only case folding, as the handheld does for names and commands.
constexpr WChar foldLower(WChar c) { return (c >= u'A' && c <= u'Z') ? WChar(c + 32) : c; }
constexpr WChar foldUpper(WChar c) { return (c >= u'a' && c <= u'z') ? WChar(c - 32) : c; }

// Case-insensitive ordering: negative, 0 or positive. Letters compare folded to lower case,
// so '_' sorts before letters, as the device's wide compare does.
int compareNoCase(WideView a, WideView b);
inline bool equalsNoCase(WideView a, WideView b) { return a.size() == b.size() && compareNoCase(a, b) == 0; }

} // namespace device
