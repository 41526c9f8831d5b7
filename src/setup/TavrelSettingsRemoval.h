#pragma once
// CTavrelSettingsRemoval: what goes when the user does not keep the Tavrel settings at removal:
// below HKLM "\Software\Orvix" the keys "QoLog" (the logging switches) and "Tavrel", below HKCU
// "\Software\Orvix" the key "Tavrel" (the calendar's settings, its calendars, templates and the
// reminder store), the icon rules file "\My Documents\Tavrel.Rules", and the maker's key "Orvix"
// of either hive once nothing is left below it. Another program of the maker that keeps a key
// under "Orvix" keeps it, and "Orvix" with it. Whatever is missing or cannot be deleted is passed
// over.

#include "common/QoRegistry.h"

class CTavrelSettingsRemoval {
public:
    static constexpr const char16_t* MakerKeyPath = u"\\Software\\Orvix";
    static constexpr const char16_t* MakerKeyName = u"Orvix";
    static constexpr const char16_t* RulesFile = u"\\My Documents\\Tavrel.Rules";

    static void Run();

private:
    // Whether any subkey is left below `key` (false for a key that is not open).
    static bool HasSubKeys(CQoRegistry& key);
    // Deletes the maker's key of `hive` with the values it holds.
    static void DeleteMakerKey(HKEY hive);
};
