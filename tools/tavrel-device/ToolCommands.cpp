#include "ToolCommands.h"

namespace {

const ToolCommand commands[] = {
    {"init", nullptr},
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
