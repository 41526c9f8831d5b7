#include "views/TavrelAppearance.h"

#include <algorithm>

void CTavrelAppearance::Load(int month, const Files& files, const gfx::ResourceTable* module)
{
    m_month = month;
    LoadOrFallBack(m_background, files.background, BackgroundId, module);
    m_fadeLevel = std::clamp(files.fadeLevel, 0, 100);
    LoadOrFallBack(m_monthTitle, files.monthTitle, FirstMonthTitleId + month - 1, module);
    LoadOrFallBack(m_dayBar, files.dayBar, DayBarId, module);
}

void CTavrelAppearance::LoadOrFallBack(CTavrelImage& image, const CQoString& path, int resourceId,
                                       const gfx::ResourceTable* module)
{
    if (!path.IsEmpty() && image.LoadFile(path.GetString()))
        return;
    if (!image.LoadResource(resourceId, module))
        image.Release(); // not even the built-in picture: draw nothing rather than another month's
}
