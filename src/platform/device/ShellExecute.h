#pragma once
// The handheld's ShellExecuteEx with the verb "open": a program ("*.exe") is started, a document is
// shown. A name without a folder is looked for in "\Windows", as the handheld's shell does.
// Programs of the platform itself are run here ("\Windows\PegHelp.exe", the help viewer); any
// other program goes through ProcessStart and the program table; documents go to the
// DocumentOpener.
//
// A test (or a program that must not start anything) installs an interceptor, which sees each
// request first and may take it.

#include "platform/device/WideText.h"

#include <functional>
#include <string>

namespace device {

class ShellExecute {
public:
    struct Request {
        WideString file;       // as given ("PegHelp.exe")
        WideString devicePath; // as resolved ("\Windows\PegHelp.exe")
        WideString parameters;
    };
    // True when the interceptor took the request; its result is then `*result`.
    using Interceptor = std::function<bool(const Request& request, bool* result)>;

    // False with the last error set (ERROR_FILE_NOT_FOUND) when the program or document cannot
    // be found or started; the reason goes to `error`.
    static bool open(WideView file, WideView parameters = {}, std::string* error = nullptr);

    // Replaces the interceptor (an empty one removes it).
    static void setInterceptor(Interceptor interceptor);

    // The device path a file name stands for.
    static WideString resolve(WideView file);
};

} // namespace device
