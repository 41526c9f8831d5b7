#include "shell/TavrelIconPathSettings.h"

#include "data/TavrelSettings.h"

CQoString CTavrelIconPathSettings::GetIconPath() { return m_settings.GetIconPath(); }

void CTavrelIconPathSettings::SetIconPath(const CQoString& folder) { m_settings.SetIconPath(folder); }

CQoString CTavrelIconPathSettings::GetInstallFolder() { return CTavrelSettings::GetInstallFolder(); }
