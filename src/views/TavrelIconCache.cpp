#include "views/TavrelIconCache.h"

#include <algorithm>

const CTavrelImage* CTavrelIconCache::Find(const CQoString& path)
{
    const device::WideView name = path.View();
    if (name.empty())
        return nullptr;
    for (Slot& slot : m_slots)
        if (slot.image.IsLoaded() && slot.image.GetName().View() == name) {
            slot.lastUsed = ++m_useClock;
            return &slot.image;
        }
    if (std::any_of(m_failed.begin(), m_failed.end(), [&](const CQoString& failed) { return failed.View() == name; }))
        return nullptr;

    Slot& slot = ChooseSlot();
    ++m_decodes;
    // Decoded afresh under the name as asked for, so the next request finds it exactly.
    slot.image.Release();
    if (!slot.image.LoadFile(path.GetString()) || !slot.image.ShrinkToFit(MaxIconSide, MaxIconSide)) {
        slot.image.Release();
        slot.lastUsed = 0; // the slot stays free for the next request
        m_failed.push_back(path);
        return nullptr;
    }
    slot.lastUsed = ++m_useClock;
    return &slot.image;
}

CTavrelIconCache::Slot& CTavrelIconCache::ChooseSlot()
{
    for (Slot& slot : m_slots)
        if (!slot.image.IsLoaded())
            return slot;
    return *std::min_element(m_slots.begin(), m_slots.end(),
                             [](const Slot& a, const Slot& b) { return a.lastUsed < b.lastUsed; });
}
