#include "platform/ui/FileFilter.h"

#include "platform/device/DevicePath.h"

namespace ui {

namespace {
std::vector<device::WideString> split(device::WideView text, device::WChar separator)
{
    std::vector<device::WideString> parts;
    device::WideString current;
    for (device::WChar c : text) {
        if (c == separator) {
            parts.push_back(current);
            current.clear();
        } else {
            current.push_back(c);
        }
    }
    parts.push_back(current);
    return parts;
}

device::WideString trimmed(device::WideView text)
{
    std::size_t first = 0, last = text.size();
    while (first < last && text[first] == u' ')
        ++first;
    while (last > first && text[last - 1] == u' ')
        --last;
    return device::WideString(text.substr(first, last - first));
}
} // namespace

bool FileFilter::matches(device::WideView fileName) const
{
    for (const auto& pattern : patterns)
        if (device::DevicePath::matchesPattern(fileName, pattern))
            return true;
    return false;
}

std::vector<FileFilter> FileFilter::parse(device::WideView text)
{
    std::vector<FileFilter> filters;
    std::vector<device::WideString> parts = split(text, u'|');
    for (std::size_t i = 0; i + 1 < parts.size(); i += 2) {
        if (parts[i].empty() && parts[i + 1].empty())
            break; // the closing "||"
        FileFilter filter;
        filter.name = parts[i];
        for (const auto& pattern : split(parts[i + 1], u';'))
            if (device::WideString clean = trimmed(pattern); !clean.empty())
                filter.patterns.push_back(clean);
        if (!filter.patterns.empty())
            filters.push_back(std::move(filter));
    }
    if (filters.empty())
        filters.push_back({u"All Files (*.*)", {u"*.*"}});
    return filters;
}

} // namespace ui
