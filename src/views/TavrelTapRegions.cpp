#include "views/TavrelTapRegions.h"

const TapRegion* CTavrelTapRegions::Find(gfx::Point point) const
{
    for (const TapRegion& region : m_regions)
        if (region.Contains(point))
            return &region;
    return nullptr;
}

bool CTavrelTapRegions::Dispatch(gfx::Point point, bool send) const
{
    const TapRegion* region = Find(point);
    return region && region->HitTest(point, send);
}
