#include "platform/device/SharedLibrary.h"

#include "platform/device/DeviceFolder.h"

#include <cstdlib>
#include <dlfcn.h>
#include <mutex>

namespace device {

namespace {

// dlerror() is one text per thread that the next dl call replaces; the loader reads it at once.
std::string lastLoaderError()
{
    const char* text = ::dlerror();
    return text ? text : "unknown reason";
}

std::mutex& loaderMutex()
{
    static std::mutex mutex;
    return mutex;
}

} // namespace

SharedLibrary::SharedLibrary(std::filesystem::path file, void* handle) : m_file(std::move(file)), m_handle(handle) {}

std::unique_ptr<SharedLibrary> SharedLibrary::load(const std::filesystem::path& file, std::string* error)
{
    std::lock_guard lock(loaderMutex());
    // The library's copy of the platform finds the program's device here, from its first
    // constructor on.
    if (::setenv(DeviceVariable, DeviceFolder::current().root().c_str(), 1) != 0) {
        if (error)
            *error = "cannot name the device for " + file.string();
        return nullptr;
    }
    // A path without a slash would be searched for along the host's library path; a file of the
    // device's package is always meant as it is named.
    const std::filesystem::path absolute = std::filesystem::absolute(file);
    void* handle = ::dlopen(absolute.c_str(), RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
    if (!handle) {
        if (error)
            *error = lastLoaderError();
        return nullptr;
    }
    return std::unique_ptr<SharedLibrary>(new SharedLibrary(absolute, handle));
}

SharedLibrary::~SharedLibrary()
{
    // The library stays mapped (RTLD_NODELETE); this only drops the reference.
    std::lock_guard lock(loaderMutex());
    ::dlclose(m_handle);
}

void* SharedLibrary::symbol(const char* name) const
{
    std::lock_guard lock(loaderMutex());
    ::dlerror();
    return ::dlsym(m_handle, name);
}

void* SharedLibrary::processSymbol(const char* name)
{
    std::lock_guard lock(loaderMutex());
    ::dlerror();
    return ::dlsym(RTLD_DEFAULT, name);
}

bool SharedLibrary::selectProgramDevice(std::string* error)
{
    const std::optional<std::filesystem::path> root = DeviceFolder::resolve(std::nullopt, error);
    if (!root)
        return false;
    if (DeviceFolder::isSelected() && DeviceFolder::current().root() == *root)
        return true;
    return DeviceFolder::select(*root, error);
}

} // namespace device
