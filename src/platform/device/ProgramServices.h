#pragma once
// Services that a program offers the libraries it loads. A library carries its own copy of the
// platform (SharedLibrary.h), so it cannot reach the program's objects; what a process has only
// once — its screen and its window system — the program exports as plain C functions, which the
// library finds by name.
//
// The program's side is in platform/ui (ProgramServicesExport.cpp): a program that loads libraries
// exports them with the CMake function tavrel_export_program_services(TARGET).

#include "platform/device/WideText.h"

#include <cstdint>

namespace device {

// The program's message box: the handheld's MessageBox with the owner window's handle value (0 for
// none), the MB_ type flags and the ID result.
using MessageBoxFunction = int(std::uint32_t owner, const WChar* text, const WChar* caption, std::uint32_t type);
inline constexpr const char* MessageBoxExport = "TavrelProgram_MessageBoxW";

class ProgramServices {
public:
    // The handheld's numbers for what a library asks most (platform/ui/Messages.h has them all).
    static constexpr std::uint32_t MB_OK = 0x0;
    static constexpr std::uint32_t MB_YESNO = 0x4;
    static constexpr int IDOK = 1;
    static constexpr int IDYES = 6;
    static constexpr int IDNO = 7;

    // Shows a message box in the program's window system and returns the button chosen; 0 when the
    // program exports no window system or has none running, so nobody could be asked.
    [[nodiscard]] static int messageBox(std::uint32_t owner, WideView text, WideView caption, std::uint32_t type);
};

} // namespace device
