#include "platform/device/HelpViewer.h"

#include "platform/device/DevicePath.h"
#include "platform/device/DocumentOpener.h"
#include "platform/device/FileSystem.h"
#include "platform/device/LastError.h"
#include "platform/device/RunningProgram.h"

namespace device {

namespace {

// The page's name and its anchor, blanks around them dropped.
std::pair<WideString, WideString> splitPage(WideView commandLine)
{
    auto trim = [](WideView text) {
        while (!text.empty() && (text.front() == u' ' || text.front() == u'"'))
            text.remove_prefix(1);
        while (!text.empty() && (text.back() == u' ' || text.back() == u'"'))
            text.remove_suffix(1);
        return WideString(text);
    };
    const std::size_t hash = commandLine.find(u'#');
    if (hash == WideView::npos)
        return {trim(commandLine), {}};
    return {trim(commandLine.substr(0, hash)), trim(commandLine.substr(hash + 1))};
}

} // namespace

std::optional<WideString> HelpViewer::findPage(WideView commandLine)
{
    const WideString name = splitPage(commandLine).first;
    if (name.empty())
        return std::nullopt;
    if (name.find(u'\\') != WideString::npos) {
        if (FileSystem::isFile(name))
            return DevicePath::normalise(name);
        return std::nullopt;
    }
    for (const WideString& folder : {WideString(u"\\Windows"), RunningProgram::folder()}) {
        WideString candidate = DevicePath::join(folder, name);
        if (FileSystem::isFile(candidate))
            return candidate;
    }
    return std::nullopt;
}

bool HelpViewer::show(WideView commandLine, std::string* error)
{
    std::optional<WideString> page = findPage(commandLine);
    if (!page) {
        setLastError(ERROR_FILE_NOT_FOUND);
        if (error)
            *error = "no help page " + toUtf8(splitPage(commandLine).first);
        return false;
    }
    return DocumentOpener::open(*page, splitPage(commandLine).second, error);
}

} // namespace device
