#pragma once
// CTavrelSkinTarget: what a skin is applied to — the current calendar's appearance, the settings
// store's first-run flag, and whether the main window exists yet (a skin file without "[Skin]" is
// only reported once it does). The application implements it.

class CTavrelCalendarAppearance;
class CTavrelMainWindow;
class CTavrelSettings;

class CTavrelSkinTarget {
public:
    virtual ~CTavrelSkinTarget() = default;

    virtual CTavrelCalendarAppearance& GetAppearance() = 0;
    virtual CTavrelSettings& GetSettings() = 0;
    virtual CTavrelMainWindow* GetMainWindow() const = 0;
};
