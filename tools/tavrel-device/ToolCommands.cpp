#include "ToolCommands.h"

#include "DateCommand.h"
#include "GalleryCommand.h"
#include "IdentityCommand.h"
#include "InstallCommand.h"
#include "PimCommand.h"
#include "RegCommand.h"
#include "ReminderCommand.h"
#include "SchedulerCommand.h"

namespace {

const char* initUsage() { return "usage: tavrel-device init\nCreates the device folder and prints its path.\n"; }

const ToolCommand commands[] = {
    {"init", nullptr, initUsage},
    {"reg", [](const std::vector<std::string>& args) { return runRegCommand(args); }, regCommandUsage},
    {"pim", [](const std::vector<std::string>& args) { return runPimCommand(args); }, pimCommandUsage},
    {"ui-gallery", [](const std::vector<std::string>& args) { return runGalleryCommand(args); }, galleryCommandUsage},
    {"date", [](const std::vector<std::string>& args) { return runDateCommand(args); }, dateCommandUsage},
    {"install", [](const std::vector<std::string>& args) { return runInstallCommand(args); }, installCommandUsage},
    {"uninstall", [](const std::vector<std::string>& args) { return runUninstallCommand(args); },
     uninstallCommandUsage},
    {"reminder", [](const std::vector<std::string>& args) { return runReminderCommand(args); }, reminderCommandUsage},
    {"scheduler", [](const std::vector<std::string>& args) { return runSchedulerCommand(args); }, schedulerCommandUsage},
    {"identity", [](const std::vector<std::string>& args) { return runIdentityCommand(args); }, identityCommandUsage},
};

} // namespace

const ToolCommand* findToolCommand(const std::string& name)
{
    for (const ToolCommand& command : commands) {
        if (name == command.name)
            return &command;
    }
    return nullptr;
}
