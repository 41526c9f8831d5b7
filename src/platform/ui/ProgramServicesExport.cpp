// The program's side of device/ProgramServices.h: the services of this program's window system
// that the libraries it loads call by name. The functions have C linkage and default visibility;
// tavrel_export_program_services() (CMakeLists.txt) links them into a program and exports them.

#include "platform/device/ProgramServices.h"
#include "platform/ui/Desktop.h"
#include "platform/ui/MessageBox.h"

#include <type_traits>

static_assert(device::ProgramServices::MB_OK == ui::MB_OK && device::ProgramServices::MB_YESNO == ui::MB_YESNO
              && device::ProgramServices::IDOK == ui::IDOK && device::ProgramServices::IDYES == ui::IDYES
              && device::ProgramServices::IDNO == ui::IDNO);

extern "C" __attribute__((visibility("default"))) int TavrelProgram_MessageBoxW(
    std::uint32_t owner, const char16_t* text, const char16_t* caption, std::uint32_t type)
{
    static_assert(std::is_same_v<decltype(TavrelProgram_MessageBoxW), device::MessageBoxFunction>);
    ui::Desktop* desktop = ui::Desktop::instance();
    // Only the user-interface thread may open a dialog; a library called elsewhere asks nobody.
    if (!desktop || !desktop->isUserInterfaceThread())
        return 0;
    try {
        return ui::messageBox(desktop->find(ui::WindowHandle{owner}), text ? text : u"", caption ? caption : u"", type);
    } catch (...) {
        // Nothing crosses into the library's code as an exception.
        return 0;
    }
}
