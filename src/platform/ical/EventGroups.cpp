#include "platform/ical/EventGroups.h"

#include <unordered_map>

namespace ical {

EventGroups::EventGroups(const std::vector<Event>& events)
{
    std::unordered_map<std::string, std::size_t> byUid;
    for (const Event& event : events) {
        auto [found, added] = byUid.try_emplace(event.uid, m_groups.size());
        if (added)
            m_groups.push_back({event.uid, nullptr, {}});
        Group& group = m_groups[found->second];
        const Event** slot = &group.master;
        if (!event.recurrenceId.empty())
            slot = &group.overrides.try_emplace(event.recurrenceId, nullptr).first->second;
        if (*slot) {
            const bool laterWins = event.sequence >= (*slot)->sequence;
            m_replaced.push_back(laterWins ? Replaced{*slot, &event} : Replaced{&event, *slot});
            if (!laterWins)
                continue;
        }
        *slot = &event;
    }
}

} // namespace ical
