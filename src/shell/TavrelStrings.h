#pragma once
// CTavrelStrings: the calendar program's string table — the texts the frame loads by id (tool
// tips, the "New" and "Combined" items, the socket start-up message) — registered with the
// device's string resources under the program's module handle.

#include "common/QoString.h"
#include "platform/device/StringResources.h"

#include <cstdint>

inline constexpr std::uint32_t IDS_SOCKETS_INIT_FAILED = 104;
inline constexpr std::uint32_t IDS_NEW = 65000;
inline constexpr std::uint32_t IDS_CALENDAR = 65001;
inline constexpr std::uint32_t IDS_PREVIOUS = 65004;
inline constexpr std::uint32_t IDS_NEXT = 65005;
inline constexpr std::uint32_t IDS_ABOUT = 65007;
inline constexpr std::uint32_t IDS_COMBINED = 65051;
inline constexpr std::uint32_t IDS_ATTACHED = 65053;
inline constexpr std::uint32_t IDS_SWITCH_BACK = 65054;
inline constexpr std::uint32_t IDS_GO_TO_TODAY = 65055;
inline constexpr std::uint32_t IDS_TEMPLATES_FIRST_USE = 65056;

class CTavrelStrings {
public:
    // The program's module handle for LoadString.
    static constexpr device::ModuleHandle Module = 0x7A5E1;

    // Registers the table; may be called again (it replaces itself with the same texts).
    static void Register();
    // The text of a string id, empty when the table has no such string.
    static CQoString Load(std::uint32_t id);
};
