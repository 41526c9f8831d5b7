#include "platform/device/RunningProgram.h"

#include "platform/device/DevicePath.h"

#include <mutex>

namespace device {

namespace {

std::mutex& pathMutex()
{
    static std::mutex mutex;
    return mutex;
}

WideString& storedPath()
{
    static WideString path = u"\\Windows\\unknown.exe";
    return path;
}

} // namespace

void RunningProgram::setDevicePath(WideView path)
{
    std::lock_guard lock(pathMutex());
    storedPath() = WideString(path);
}

WideString RunningProgram::devicePath()
{
    std::lock_guard lock(pathMutex());
    return storedPath();
}

WideString RunningProgram::folder() { return DevicePath::parent(devicePath()); }

WideString RunningProgram::fileName() { return DevicePath::fileName(devicePath()); }

} // namespace device
