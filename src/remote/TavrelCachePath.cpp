#include "remote/TavrelCachePath.h"

#include <cstdint>
#include <vector>

namespace {

bool isSeparator(char16_t c)
{
    return c == u'/' || c == u'\\';
}

bool mustEscape(char16_t c)
{
    switch (c) {
    case u'<':
    case u'>':
    case u':':
    case u'"':
    case u'/':
    case u'\\':
    case u'|':
    case u'?':
    case u'*':
        return true;
    default:
        return c < 0x20 || c == 0x7F;
    }
}

// Only ASCII characters are ever escaped, so two digits always do.
void appendEscaped(device::WideString& out, char16_t c)
{
    static constexpr char16_t Hex[] = u"0123456789ABCDEF";
    out += u'%';
    out += Hex[(c >> 4) & 0xF];
    out += Hex[c & 0xF];
}

// FNV-1a over the UTF-16 units: a short, stable stand-in for text that does not fit.
device::WideString hashText(device::WideView text)
{
    std::uint64_t hash = 14695981039346656037ull;
    for (char16_t c : text) {
        hash ^= std::uint64_t(c);
        hash *= 1099511628211ull;
    }
    static constexpr char16_t Hex[] = u"0123456789abcdef";
    device::WideString out;
    for (int shift = 60; shift >= 0; shift -= 4)
        out += Hex[(hash >> shift) & 0xF];
    return out;
}

// Cuts `name` to `length` characters without splitting a surrogate pair or an %XX escape.
device::WideString cut(const device::WideString& name, std::size_t length)
{
    std::size_t end = length;
    if (end > 0 && name[end - 1] >= 0xD800 && name[end - 1] <= 0xDBFF)
        --end;
    for (std::size_t back = 1; back <= 2 && back <= end; ++back) {
        if (name[end - back] == u'%') {
            end -= back;
            break;
        }
    }
    return name.substr(0, end);
}

std::vector<device::WideString> safeNames(device::WideView path)
{
    std::vector<device::WideString> names;
    std::size_t start = 0;
    while (start <= path.size()) {
        std::size_t end = start;
        while (end < path.size() && !isSeparator(path[end]))
            ++end;
        if (end > start)
            names.push_back(CTavrelCachePath::SafeName(path.substr(start, end - start)));
        start = end + 1;
    }
    return names;
}

} // namespace

device::WideString CTavrelCachePath::SafeName(device::WideView name)
{
    device::WideString safe;
    for (char16_t c : name) {
        if (mustEscape(c))
            appendEscaped(safe, c);
        else
            safe += c;
    }
    // "." and ".." climb, and a trailing dot or blank vanishes on the handheld's file system.
    if (safe == u"." || safe == u"..") {
        device::WideString dots;
        for (std::size_t i = 0; i < safe.size(); ++i)
            appendEscaped(dots, u'.');
        safe = dots;
    } else if (!safe.empty() && (safe.back() == u'.' || safe.back() == u' ')) {
        const char16_t last = safe.back();
        safe.pop_back();
        appendEscaped(safe, last);
    }
    if (safe.empty())
        return u"%20";
    if (safe.size() > MaxNameLength) {
        const device::WideString hash = hashText(name);
        safe = cut(safe, MaxNameLength - hash.size() - 1) + u'~' + hash;
    }
    return safe;
}

CQoString CTavrelCachePath::ForAddress(device::WideView address)
{
    const std::size_t lastSlash = address.rfind(u'/');
    const std::size_t lastBackslash = address.rfind(u'\\');
    std::vector<device::WideString> names;
    if (lastBackslash != device::WideView::npos && (lastSlash == device::WideView::npos || lastBackslash > lastSlash)) {
        names.push_back(SafeName(address.substr(lastBackslash + 1)));
    } else {
        // Host and path after the two slashes; an address without them is taken whole, but still
        // only below the cache.
        const std::size_t slashes = address.find(u"//");
        names = safeNames(slashes == device::WideView::npos ? address : address.substr(slashes + 2));
        // An address that names a folder ("http://host/cal/") gets a file of its own inside it, so
        // that the folder stays free for the files below it.
        if (!names.empty() && isSeparator(address.back()))
            names.push_back(u"%2F");
        if (names.empty())
            names.push_back(SafeName(address));
    }

    device::WideString path(Root);
    for (const device::WideString& name : names)
        path += u'\\' + name;
    if (path.size() > MaxPathLength) {
        path = device::WideString(Root) + u'\\' + names.front();
        if (names.size() > 1)
            path += u"\\~" + hashText(address) + u'\\' + names.back();
        else
            path += u'~' + hashText(address);
    }
    return CQoString(path.c_str());
}
