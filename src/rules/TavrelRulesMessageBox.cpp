#include "rules/TavrelRulesMessageBox.h"

#include "platform/device/CriticalSection.h"
#include "platform/device/TerminalText.h"

#include <cstdio>
#include <string>

namespace {

device::CriticalSection& handlerLock()
{
    static device::CriticalSection lock;
    return lock;
}

CTavrelRulesMessageBox::Handler& installedHandler()
{
    static CTavrelRulesMessageBox::Handler handler;
    return handler;
}

void writeToStandardError(const char16_t* caption, const char16_t* text)
{
    std::string line =
        "message-box: " + device::terminalText(caption) + ": " + device::terminalText(text ? text : u"") + "\n";
    std::fputs(line.c_str(), stderr);
    std::fflush(stderr);
}

} // namespace

void CTavrelRulesMessageBox::Show(const char16_t* text)
{
    Handler handler;
    {
        device::ScopedLock lock(handlerLock());
        handler = installedHandler();
    }
    // Called outside the lock: a real message box runs a nested message loop.
    if (handler)
        handler(Caption, text ? text : u"");
    else
        writeToStandardError(Caption, text);
}

void CTavrelRulesMessageBox::SetHandler(Handler handler)
{
    device::ScopedLock lock(handlerLock());
    installedHandler() = std::move(handler);
}

CTavrelRulesMessageBox::Handler CTavrelRulesMessageBox::GetHandler()
{
    device::ScopedLock lock(handlerLock());
    return installedHandler();
}
