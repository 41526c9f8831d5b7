#include "rules/TavrelSystemLanguage.h"

std::uint16_t CTavrelSystemLanguage::GetDefaultLanguageId() { return EnglishUnitedStates; }
