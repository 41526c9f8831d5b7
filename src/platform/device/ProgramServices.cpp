#include "platform/device/ProgramServices.h"

#include "platform/device/SharedLibrary.h"

namespace device {

int ProgramServices::messageBox(std::uint32_t owner, WideView text, WideView caption, std::uint32_t type)
{
    auto* function = reinterpret_cast<MessageBoxFunction*>(SharedLibrary::processSymbol(MessageBoxExport));
    if (!function)
        return 0;
    const WideString terminatedText(text);
    const WideString terminatedCaption(caption);
    return function(owner, terminatedText.c_str(), terminatedCaption.c_str(), type);
}

} // namespace device
