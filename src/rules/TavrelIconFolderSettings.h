#pragma once
// CTavrelIconFolderSettings: what the icon picker needs of the program's settings — the folder it
// showed last ("Icon Path") and the folder the package was installed to, whose "Icons" folder is
// where it starts the first time. The settings store sits above the rules, so the program hands
// the dialogs an implementation of this.

#include "common/QoString.h"

class CTavrelIconFolderSettings {
public:
    virtual ~CTavrelIconFolderSettings() = default;

    // Empty until the picker has shown a folder.
    virtual CQoString GetIconPath() = 0;
    virtual void SetIconPath(const CQoString& folder) = 0;
    // Empty when the package is not installed.
    virtual CQoString GetInstallFolder() = 0;
};
