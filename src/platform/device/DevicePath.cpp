#include "platform/device/DevicePath.h"

#include "platform/device/DeviceFolder.h"

#include <system_error>

namespace device {

namespace {

bool isSeparator(WChar c) { return c == u'\\' || c == u'/'; }

bool isAllowedName(WideView name)
{
    if (name == u"..")
        return false;
    for (WChar c : name) {
        if (c < 0x20 || c == u':')
            return false;
    }
    return true;
}

// Finds the entry of `folder` whose name matches `name` ignoring case; exact matches win.
std::optional<std::filesystem::path> findEntry(const std::filesystem::path& folder, WideView name)
{
    std::string exact = toUtf8(name);
    std::error_code ec;
    std::filesystem::path direct = folder / exact;
    if (std::filesystem::symlink_status(direct, ec).type() != std::filesystem::file_type::not_found && !ec)
        return direct;
    std::filesystem::directory_iterator it(folder, ec);
    if (ec)
        return std::nullopt;
    for (; it != std::filesystem::directory_iterator(); it.increment(ec)) {
        if (ec)
            break;
        std::filesystem::path entry = it->path();
        if (equalsNoCase(fromUtf8(entry.filename().string()), name))
            return entry;
    }
    return std::nullopt;
}

} // namespace

std::optional<std::vector<WideString>> DevicePath::split(WideView path)
{
    std::vector<WideString> names;
    std::size_t i = 0;
    while (i <= path.size()) {
        std::size_t end = i;
        while (end < path.size() && !isSeparator(path[end]))
            ++end;
        WideView name = path.substr(i, end - i);
        if (!name.empty() && name != u".") {
            if (!isAllowedName(name))
                return std::nullopt;
            names.emplace_back(name);
        }
        i = end + 1;
    }
    return names;
}

std::optional<std::filesystem::path> DevicePath::toHost(WideView path)
{
    return toHost(path, DeviceFolder::current().fileSystemRoot());
}

std::optional<std::filesystem::path> DevicePath::toHost(WideView path, const std::filesystem::path& fileSystemRoot)
{
    auto names = split(path);
    if (!names)
        return std::nullopt;
    std::filesystem::path host = fileSystemRoot;
    bool existing = true;
    for (const WideString& name : *names) {
        if (existing) {
            if (auto found = findEntry(host, name)) {
                std::error_code ec;
                if (std::filesystem::is_symlink(*found, ec))
                    return std::nullopt;
                host = *found;
                continue;
            }
            existing = false;
        }
        host /= toUtf8(name);
    }
    return host;
}

std::optional<WideString> DevicePath::fromHost(const std::filesystem::path& hostPath)
{
    std::filesystem::path root = DeviceFolder::current().fileSystemRoot().lexically_normal();
    std::filesystem::path relative = hostPath.lexically_normal().lexically_relative(root);
    if (relative.empty())
        return std::nullopt;
    WideString result;
    for (const auto& part : relative) {
        std::string text = part.string();
        if (text == "..")
            return std::nullopt;
        if (text == "." || text.empty())
            continue;
        result += u'\\';
        result += fromUtf8(text);
    }
    return result.empty() ? WideString(u"\\") : result;
}

WideString DevicePath::join(WideView folder, WideView name)
{
    WideString result(folder);
    if (result.empty() || !isSeparator(result.back()))
        result += u'\\';
    std::size_t start = 0;
    while (start < name.size() && isSeparator(name[start]))
        ++start;
    result += name.substr(start);
    return result;
}

WideString DevicePath::parent(WideView path)
{
    std::size_t end = path.size();
    while (end > 0 && isSeparator(path[end - 1]))
        --end;
    while (end > 0 && !isSeparator(path[end - 1]))
        --end;
    while (end > 1 && isSeparator(path[end - 1]))
        --end;
    if (end == 0)
        return u"\\";
    return WideString(path.substr(0, end));
}

WideString DevicePath::fileName(WideView path)
{
    std::size_t end = path.size();
    while (end > 0 && isSeparator(path[end - 1]))
        --end;
    std::size_t start = end;
    while (start > 0 && !isSeparator(path[start - 1]))
        --start;
    return WideString(path.substr(start, end - start));
}

WideString DevicePath::normalise(WideView path)
{
    auto names = split(path);
    if (!names)
        return {};
    WideString result;
    for (const WideString& name : *names) {
        result += u'\\';
        result += name;
    }
    return result.empty() ? WideString(u"\\") : result;
}

bool DevicePath::matchesPattern(WideView name, WideView pattern)
{
    if (pattern == u"*.*" || pattern == u"*")
        return true;
    // Iterative wildcard match with back-tracking to the last "*".
    std::size_t n = 0, p = 0, star = WideView::npos, resume = 0;
    while (n < name.size()) {
        if (p < pattern.size() && (pattern[p] == u'?' || foldLower(pattern[p]) == foldLower(name[n]))) {
            ++n;
            ++p;
        } else if (p < pattern.size() && pattern[p] == u'*') {
            star = p++;
            resume = n;
        } else if (star != WideView::npos) {
            p = star + 1;
            n = ++resume;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && (pattern[p] == u'*' || (pattern[p] == u'.' && p + 1 == pattern.size())))
        ++p;
    return p == pattern.size();
}

} // namespace device
