#pragma once
// The events of a document grouped by what they describe: per UID, the event itself (the master)
// and the occurrences of it that other VEVENTs change (RECURRENCE-ID). Of two VEVENTs for the same
// thing, the higher SEQUENCE wins, then the later one in the document; the one that lost is listed
// with the one that replaced it, so a caller can say why it was left out.
//
// Both the store's import and a feed shown as a calendar read documents this way.

#include "platform/ical/Event.h"

#include <map>
#include <string>
#include <vector>

namespace ical {

class EventGroups {
public:
    struct Group {
        std::string uid;
        const Event* master = nullptr;                 // null when the document has only changed occurrences of it
        std::map<std::string, const Event*> overrides; // by recurrence id
    };
    struct Replaced {
        const Event* loser = nullptr;
        const Event* winner = nullptr;
    };

    // The events must outlive the groups.
    explicit EventGroups(const std::vector<Event>& events);

    // In the order in which their UIDs first appear in the document.
    const std::vector<Group>& groups() const { return m_groups; }
    const std::vector<Replaced>& replaced() const { return m_replaced; }

private:
    std::vector<Group> m_groups;
    std::vector<Replaced> m_replaced;
};

} // namespace ical
