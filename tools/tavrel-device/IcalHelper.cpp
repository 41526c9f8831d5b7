#include "IcalHelper.h"

#include "platform/device/DeviceClock.h"
#include "platform/device/DeviceFolder.h"

#include <cerrno>
#include <cstdlib>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <optional>
#include <unistd.h>

int runIcalHelper(const std::vector<std::string>& args, std::ostream& err)
{
    std::error_code ec;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ec);
    const std::filesystem::path helper = (ec ? std::filesystem::path(".") : self.parent_path()) / "tavrel-device-ical";
    std::vector<std::string> argv = {helper.string(), "--device", device::DeviceFolder::current().root().string()};
    argv.insert(argv.end(), args.begin(), args.end());
    std::vector<char*> pointers;
    for (std::string& arg : argv)
        pointers.push_back(arg.data());
    pointers.push_back(nullptr);
    // The helper goes on with this program's clock: the setting has been read here, and a bad one
    // reported once already.
    if (const std::optional<std::string> clock = device::DeviceClock::settingForStartedProgram())
        ::setenv("TAVREL_CLOCK", clock->c_str(), 1);
    else
        ::unsetenv("TAVREL_CLOCK");
    std::cout.flush();
    std::fflush(nullptr);
    ::execv(pointers[0], pointers.data());
    err << "tavrel-device pim " << args.front() << ": cannot run " << helper.string() << ": " << std::strerror(errno)
        << "\n";
    return 1;
}
