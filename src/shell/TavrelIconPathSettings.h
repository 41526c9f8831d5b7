#pragma once
// CTavrelIconPathSettings: the settings store as the icon picker sees it — "Icon Path" and the
// install folder (CTavrelIconFolderSettings, declared by the rules below the settings).

#include "rules/TavrelIconFolderSettings.h"

class CTavrelSettings;

class CTavrelIconPathSettings final : public CTavrelIconFolderSettings {
public:
    explicit CTavrelIconPathSettings(CTavrelSettings& settings) : m_settings(settings) {}

    CQoString GetIconPath() override;
    void SetIconPath(const CQoString& folder) override;
    CQoString GetInstallFolder() override;

private:
    CTavrelSettings& m_settings;
};
