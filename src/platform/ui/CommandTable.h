#pragma once
// The commands a window carries out itself, each defined once: its id, what it does, and when it is
// enabled (or checked). A frame fills its table when it is made; carrying out a command and
// answering the update query for it read the same entry, so no command can be carried out in one
// place and forgotten in the other.
//
//     commands().add(ID_APP_EXIT, [this] { desktop()->quit(0); });
//     commands().add(ID_SWITCH_TO_CLIENT, [this] { showClient(); },
//                    CommandTable::enabledWhen([this] { return m_controlled; }));
//     commands().add(ID_VIEW_RULES, {}, CommandTable::disabled()); // in the menu, not yet available

#include "platform/ui/CommandUpdate.h"

#include <functional>
#include <vector>

namespace ui {

class CommandTable {
public:
    using Action = std::function<void()>;
    using Update = std::function<void(CommandUpdate& update)>;

    // `action` may be empty for a command that is only ever disabled here; an empty `update`
    // enables the command always. Adding an id again replaces its entry.
    void add(int id, Action action, Update update = {});

    // The common updates: enabled while `condition` holds; never enabled.
    static Update enabledWhen(std::function<bool()> condition);
    static Update disabled();

    bool contains(int id) const { return find(id) != nullptr; }
    // Carries the command out; false when the table has no action for it.
    bool run(int id) const;
    // Answers the update query for a command of the table; false when the id is not in it.
    bool update(CommandUpdate& update) const;

private:
    struct Command {
        int id;
        Action action;
        Update update;
    };
    const Command* find(int id) const;

    std::vector<Command> m_commands;
};

} // namespace ui
