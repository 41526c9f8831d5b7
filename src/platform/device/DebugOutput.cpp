#include "platform/device/DebugOutput.h"

#include "platform/device/TerminalText.h"

#include <cstdio>
#include <cstdlib>
#include <mutex>

namespace device {

namespace {

std::mutex& observerMutex()
{
    static std::mutex mutex;
    return mutex;
}

std::function<void(WideView)>& observer()
{
    static std::function<void(WideView)> instance;
    return instance;
}

bool toStandardError()
{
    static const bool enabled = std::getenv("TAVREL_DEBUG_OUTPUT") != nullptr;
    return enabled;
}

} // namespace

void debugOutput(WideView text)
{
    if (toStandardError()) {
        // Trace lines carry texts from outside (datagrams, files): their control characters are
        // escaped, their line breaks kept.
        std::string utf8 = terminalText(text, LineBreaks::Keep);
        std::fwrite(utf8.data(), 1, utf8.size(), stderr);
    }
    std::lock_guard lock(observerMutex());
    if (observer())
        observer()(text);
}

void setDebugOutputObserver(std::function<void(WideView)> callback)
{
    std::lock_guard lock(observerMutex());
    observer() = std::move(callback);
}

} // namespace device
