#include "platform/device/DeviceFolder.h"

#include "platform/device/DeviceClock.h"
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

// ${XDG_DATA_HOME:-$HOME/.local/share}/tavrel/device
std::filesystem::path defaultRoot()
{
    std::filesystem::path data;
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && *xdg)
        data = xdg;
    else if (const char* home = std::getenv("HOME"); home && *home)
        data = std::filesystem::path(home) / ".local" / "share";
    else
        data = std::filesystem::temp_directory_path();
    return data / "tavrel" / "device";
}

} // namespace

DeviceFolder::DeviceFolder(std::filesystem::path root) : m_root(std::move(root)) {}

std::optional<std::filesystem::path> DeviceFolder::resolve(const std::optional<std::string>& explicitRoot,
                                                           std::string* error)
{
    auto fail = [&](const char* why) -> std::optional<std::filesystem::path> {
        if (error)
            *error = why;
        return std::nullopt;
    };
    if (explicitRoot) {
        if (explicitRoot->empty())
            return fail("--device needs a folder, not an empty name");
        return std::filesystem::absolute(*explicitRoot);
    }
    if (const char* env = std::getenv("TAVREL_DEVICE")) {
        if (!*env)
            return fail("TAVREL_DEVICE is set but empty; name a device folder or unset it");
        return std::filesystem::absolute(env);
    }
    return defaultRoot();
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

bool DeviceFolder::selectForProgram(const std::optional<std::string>& explicitRoot, std::string* error)
{
    DeviceClock::readSetting();
    const std::optional<std::filesystem::path> root = resolve(explicitRoot, error);
    return root && select(*root, error);
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
    // Only code that runs without a program's start-up (tests, libraries) gets here; an unusable
    // $TAVREL_DEVICE leaves it the default, as every program refuses one before it gets this far.
    const std::filesystem::path root = resolve(std::nullopt).value_or(defaultRoot());
    select(root);
    std::lock_guard lock(selectionMutex());
    if (!selected())
        selected() = std::make_unique<DeviceFolder>(root);
    return *selected();
}

bool DeviceFolder::isSelected()
{
    std::lock_guard lock(selectionMutex());
    return selected() != nullptr;
}

} // namespace device
