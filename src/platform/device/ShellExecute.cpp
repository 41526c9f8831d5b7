#include "platform/device/ShellExecute.h"

#include "platform/device/DevicePath.h"
#include "platform/device/DocumentOpener.h"
#include "platform/device/HelpViewer.h"
#include "platform/device/LastError.h"
#include "platform/device/ProcessStart.h"

#include <mutex>

namespace device {

namespace {

std::mutex& interceptorMutex()
{
    static std::mutex mutex;
    return mutex;
}

ShellExecute::Interceptor& interceptorSlot()
{
    static ShellExecute::Interceptor interceptor;
    return interceptor;
}

bool isProgram(WideView path)
{
    constexpr WideView extension = u".exe";
    return path.size() > extension.size() && equalsNoCase(path.substr(path.size() - extension.size()), extension);
}

} // namespace

void ShellExecute::setInterceptor(Interceptor interceptor)
{
    std::lock_guard lock(interceptorMutex());
    interceptorSlot() = std::move(interceptor);
}

WideString ShellExecute::resolve(WideView file)
{
    WideView name = file;
    while (!name.empty() && name.front() == u' ')
        name.remove_prefix(1);
    while (!name.empty() && name.back() == u' ')
        name.remove_suffix(1);
    if (name.find(u'\\') == WideView::npos)
        return DevicePath::join(u"\\Windows", name);
    return DevicePath::normalise(name);
}

bool ShellExecute::open(WideView file, WideView parameters, std::string* error)
{
    Request request{WideString(file), resolve(file), WideString(parameters)};
    Interceptor interceptor;
    {
        std::lock_guard lock(interceptorMutex());
        interceptor = interceptorSlot();
    }
    if (interceptor) {
        bool result = false;
        if (interceptor(request, &result))
            return result;
    }
    if (request.devicePath.empty()) {
        setLastError(ERROR_FILE_NOT_FOUND);
        if (error)
            *error = "not a device path: " + toUtf8(file);
        return false;
    }
    if (equalsNoCase(request.devicePath, HelpViewer::DevicePath))
        return HelpViewer::show(request.parameters, error);
    if (isProgram(request.devicePath))
        return ProcessStart::start(request.devicePath, request.parameters, error);
    // A document: the parameters have no meaning for one.
    return DocumentOpener::open(request.devicePath, {}, error);
}

} // namespace device
