#pragma once
// CTavrelTapRegions: an ordered list of tap regions, rebuilt by every render. Painters append
// their regions; the marks of events that lie over day cells are put at the head so that they
// win over the cells beneath them. A tap goes to the first region from the head that contains it.
//
// The view keeps two lists: the tap regions, and the day regions, whose message 0 is never posted
// and which only tell which day (year in wParam, month × 100 + day in lParam) lies under a point.

#include "views/TapRegion.h"

#include <deque>
#include <optional>

class CTavrelTapRegions {
public:
    using List = std::deque<TapRegion>;

    void Clear() { m_regions.clear(); }
    void Append(const TapRegion& region) { m_regions.push_back(region); }
    void Prepend(const TapRegion& region) { m_regions.push_front(region); }

    // The first region from the head that contains the point; null when none does.
    const TapRegion* Find(gfx::Point point) const;
    // Lets the first region that contains the point post its message; false when none does.
    bool Dispatch(gfx::Point point, bool send = false) const;

    std::size_t GetCount() const { return m_regions.size(); }
    bool IsEmpty() const { return m_regions.empty(); }
    const TapRegion& GetAt(std::size_t index) const { return m_regions.at(index); }
    List::const_iterator begin() const { return m_regions.begin(); }
    List::const_iterator end() const { return m_regions.end(); }

private:
    List m_regions;
};
