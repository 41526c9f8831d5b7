#pragma once
// CTavrelIconCache: the decoded icon files that events name, in 20 slots. A file is decoded at
// most once while it stays among the 20 most recently used; when every slot is full, the one used
// longest ago makes room. The cache lives as long as the view and is never emptied.
//
// Names compare exactly (letter case counts), as the icon rules write them. A file that does not
// decode leaves its slot free.
//
// An icon file may be any picture up to the decoder's limits (4096 pixels a side), but no view
// draws an icon larger than a month cell (34 × 40 pixels): a slot keeps an icon shrunk to at most
// MaxIconSide a side, so twenty slots of huge pictures still hold a few hundred kilobytes, not
// gigabytes. Only one picture at full size is in memory at a time, while it is decoded. Within one render (BeginRender) such a file is not tried again,
// so a hundred events naming a missing icon cost one attempt, not a hundred.

#include "common/QoString.h"
#include "views/TavrelImage.h"

#include <array>
#include <cstdint>
#include <vector>

class CTavrelIconCache {
public:
    static constexpr int SlotCount = 20;
    static constexpr int MaxIconSide = 64;

    // The picture of the file, decoded now when no slot holds it; null when it cannot be decoded.
    const CTavrelImage* Find(const CQoString& path);
    // Forgets which files failed to decode, so each is tried again once.
    void BeginRender() { m_failed.clear(); }

    // How many files were decoded so far (for tests of the decode-once rule).
    unsigned GetDecodeCount() const { return m_decodes; }
    // The file a slot holds (empty for a free slot).
    const CQoString& GetSlotName(int slot) const { return m_slots.at(std::size_t(slot)).image.GetName(); }

private:
    struct Slot {
        CTavrelImage image;
        std::uint64_t lastUsed = 0;
    };

    Slot& ChooseSlot();

    std::array<Slot, SlotCount> m_slots;
    std::uint64_t m_useClock = 0; // counts uses, so the least recently used slot is unambiguous
    std::vector<CQoString> m_failed;
    unsigned m_decodes = 0;
};
