#include "platform/ical/HostZone.h"

#include <libical/ical.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace ical {

namespace {

std::string known(std::string name)
{
    while (!name.empty() && (name.back() == '\n' || name.back() == ' '))
        name.pop_back();
    if (!name.empty() && name.front() == ':')
        name.erase(0, 1);
    const std::string::size_type zoneinfo = name.find("zoneinfo/");
    if (zoneinfo != std::string::npos)
        name.erase(0, zoneinfo + 9);
    if (name.empty())
        return {};
    if (name == "UTC" || name == "Etc/UTC" || name == "UCT" || name == "Zulu" || name == "Etc/Zulu")
        return "UTC";
    return icaltimezone_get_builtin_timezone(name.c_str()) ? name : std::string();
}

} // namespace

std::string hostZoneName()
{
    // An unknown name is an answer, not a reason to end the program.
    icalerror_set_errors_are_fatal(0);
    if (const char* tz = std::getenv("TZ"); tz && *tz)
        return known(tz);
    std::string name;
    if (std::ifstream file("/etc/timezone"); file && std::getline(file, name)) {
        if (std::string zone = known(name); !zone.empty())
            return zone;
    }
    std::error_code error;
    const std::filesystem::path target = std::filesystem::read_symlink("/etc/localtime", error);
    return error ? std::string() : known(target.string());
}

} // namespace ical
