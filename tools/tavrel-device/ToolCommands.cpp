#include "ToolCommands.h"

#include "DateCommand.h"
#include "GalleryCommand.h"
#include "InstallCommand.h"
#include "PimCommand.h"
#include "RegCommand.h"
#include "ReminderCommand.h"
#include "SchedulerCommand.h"

namespace {

const ToolCommand commands[] = {
    {"init", nullptr},
    {"reg", [](const std::vector<std::string>& args) { return runRegCommand(args); }},
    {"pim", [](const std::vector<std::string>& args) { return runPimCommand(args); }},
    {"ui-gallery", [](const std::vector<std::string>& args) { return runGalleryCommand(args); }},
    {"date", [](const std::vector<std::string>& args) { return runDateCommand(args); }},
    {"install", [](const std::vector<std::string>& args) { return runInstallCommand(args); }},
    {"uninstall", [](const std::vector<std::string>& args) { return runUninstallCommand(args); }},
    {"reminder", [](const std::vector<std::string>& args) { return runReminderCommand(args); }},
    {"scheduler", [](const std::vector<std::string>& args) { return runSchedulerCommand(args); }},
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
