#pragma once
// CTavrelSystemLanguage: the device's system default language identifier (a LANGID: primary
// language in bits 0 to 9, sublanguage in bits 10 to 15).
//
// The device runs English (United States), 0x0409, and the platform does not offer the value yet;
// when device:: does, this is the one place to switch over.

#include <cstdint>

class CTavrelSystemLanguage {
public:
    static constexpr std::uint16_t EnglishUnitedStates = 0x0409;

    static std::uint16_t GetDefaultLanguageId();
    static unsigned GetSubLanguage(std::uint16_t languageId) { return languageId >> 10; }
};
