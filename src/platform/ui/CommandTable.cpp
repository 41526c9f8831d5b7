#include "platform/ui/CommandTable.h"

#include <algorithm>

namespace ui {

void CommandTable::add(int id, Action action, Update update)
{
    if (const Command* existing = find(id))
        m_commands[std::size_t(existing - m_commands.data())] = {id, std::move(action), std::move(update)};
    else
        m_commands.push_back({id, std::move(action), std::move(update)});
}

CommandTable::Update CommandTable::enabledWhen(std::function<bool()> condition)
{
    return [condition = std::move(condition)](CommandUpdate& update) { update.enable(condition()); };
}

CommandTable::Update CommandTable::disabled()
{
    return [](CommandUpdate& update) { update.enable(false); };
}

const CommandTable::Command* CommandTable::find(int id) const
{
    const auto found = std::find_if(m_commands.begin(), m_commands.end(),
                                    [id](const Command& command) { return command.id == id; });
    return found == m_commands.end() ? nullptr : &*found;
}

bool CommandTable::run(int id) const
{
    const Command* command = find(id);
    if (!command || !command->action)
        return false;
    // A copy: the action may change the table (a frame that rebuilds its commands).
    const Action action = command->action;
    action();
    return true;
}

bool CommandTable::update(CommandUpdate& update) const
{
    const Command* command = find(update.id);
    if (!command)
        return false;
    if (command->update)
        command->update(update);
    else
        update.enable(true);
    return true;
}

} // namespace ui
