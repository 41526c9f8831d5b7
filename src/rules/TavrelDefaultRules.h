#pragma once
// CTavrelDefaultRules: the built-in icon rules a first start (or "&Defaults") writes, with their
// icons in the "Icons" folder next to the running program.

#include "common/QoString.h"
#include "platform/device/WideText.h"

#include <cstdint>

class CTavrelRules;

class CTavrelDefaultRules {
public:
    static constexpr unsigned Count = 55;

    // Appends the default rules in their order. `programPath` is the running program's device
    // path ("\Program Files\Tavrel\Tavrel.exe"); `languageId` decides whether a "Football"
    // appointment shows an American football (sublanguage 1, as in 0x0409) or a soccer ball.
    static void AddTo(CTavrelRules& rules, device::WideView programPath, std::uint16_t languageId);

    // The folder that holds the program file: its path up to and including the last backslash
    // ("\Program Files\Tavrel\"; empty when there is none).
    static CQoString GetProgramFolder(device::WideView programPath);
    // The folder followed by the relative path, without the relative path's leading backslashes
    // and blanks.
    static CQoString JoinIconPath(device::WideView folder, device::WideView relative);
};
