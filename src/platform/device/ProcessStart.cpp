#include "platform/device/ProcessStart.h"

#include "platform/device/DeviceClock.h"
#include "platform/device/DeviceFolder.h"
#include "platform/device/HostProcess.h"
#include "platform/device/LastError.h"
#include "platform/device/ProgramTable.h"

namespace device {

std::vector<std::string> ProcessStart::splitCommandLine(WideView commandLine)
{
    std::vector<std::string> arguments;
    WideString current;
    bool inArgument = false;
    bool quoted = false;
    for (std::size_t i = 0; i < commandLine.size(); ++i) {
        WChar c = commandLine[i];
        if (c == u'\\' && i + 1 < commandLine.size() && commandLine[i + 1] == u'"') {
            current += u'"';
            inArgument = true;
            ++i;
        } else if (c == u'"') {
            quoted = !quoted;
            inArgument = true;
        } else if ((c == u' ' || c == u'\t') && !quoted) {
            if (inArgument)
                arguments.push_back(toUtf8(current));
            current.clear();
            inArgument = false;
        } else {
            current += c;
            inArgument = true;
        }
    }
    if (inArgument)
        arguments.push_back(toUtf8(current));
    return arguments;
}

bool ProcessStart::start(WideView devicePath, WideView commandLine, std::string* error)
{
    std::optional<std::filesystem::path> host = ProgramTable::find(devicePath);
    if (!host) {
        setLastError(ERROR_FILE_NOT_FOUND);
        if (error)
            *error = "no program is installed as " + toUtf8(devicePath);
        return false;
    }
    std::vector<std::string> argv = {host->string(), "--device", DeviceFolder::current().root().string()};
    for (std::string& argument : splitCommandLine(commandLine))
        argv.push_back(std::move(argument));
    // A device whose clock is pinned keeps one time for every program on it.
    std::vector<std::string> environment;
    if (std::optional<std::string> clock = DeviceClock::settingForStartedProgram())
        environment.push_back("TAVREL_CLOCK=" + *clock);
    if (!HostProcess::startDetached(argv, environment, error)) {
        setLastError(ERROR_FILE_NOT_FOUND);
        return false;
    }
    setLastError(ERROR_SUCCESS);
    return true;
}

} // namespace device
