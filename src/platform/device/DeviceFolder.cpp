#include "platform/device/DeviceFolder.h"

#include "platform/device/StandardFiles.h"

#include <cstdlib>
#include <memory>
#include <mutex>
#include <system_error>

namespace device {

namespace {

std::mutex& selectionMutex()
{
    static std::mutex mutex;
    return mutex;
}

std::unique_ptr<DeviceFolder>& selected()
{
    static std::unique_ptr<DeviceFolder> folder;
    return folder;
}

const char* const standardFolders[] = {
    "My Documents",
    "Program Files",
    "Windows",
    "Windows/Start Menu",
    "Windows/Start Menu/Programs",
    "TEMP",
};

} // namespace

DeviceFolder::DeviceFolder(std::filesystem::path root) : m_root(std::move(root)) {}

std::filesystem::path DeviceFolder::resolve(const std::optional<std::string>& explicitRoot)
{
    if (explicitRoot && !explicitRoot->empty())
        return std::filesystem::absolute(*explicitRoot);
    if (const char* env = std::getenv("TAVREL_DEVICE"); env && *env)
        return std::filesystem::absolute(env);
    std::filesystem::path data;
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && *xdg)
        data = xdg;
    else if (const char* home = std::getenv("HOME"); home && *home)
        data = std::filesystem::path(home) / ".local" / "share";
    else
        data = std::filesystem::temp_directory_path();
    return data / "tavrel" / "device";
}

bool DeviceFolder::ensureStandardContents(std::string* error) const
{
    std::error_code ec;
    std::filesystem::create_directories(fileSystemRoot(), ec);
    for (const char* folder : standardFolders) {
        if (ec)
            break;
        std::filesystem::create_directories(fileSystemRoot() / folder, ec);
    }
    if (ec) {
        if (error)
            *error = "cannot create the device folder " + m_root.string() + ": " + ec.message();
        return false;
    }
    return writeStandardFiles(fileSystemRoot(), error);
}

bool DeviceFolder::select(const std::filesystem::path& root, std::string* error)
{
    auto folder = std::make_unique<DeviceFolder>(std::filesystem::absolute(root));
    if (!folder->ensureStandardContents(error))
        return false;
    std::lock_guard lock(selectionMutex());
    selected() = std::move(folder);
    return true;
}

const DeviceFolder& DeviceFolder::current()
{
    {
        std::lock_guard lock(selectionMutex());
        if (selected())
            return *selected();
    }
    select(resolve(std::nullopt));
    std::lock_guard lock(selectionMutex());
    if (!selected())
        selected() = std::make_unique<DeviceFolder>(resolve(std::nullopt));
    return *selected();
}

bool DeviceFolder::isSelected()
{
    std::lock_guard lock(selectionMutex());
    return selected() != nullptr;
}

} // namespace device
