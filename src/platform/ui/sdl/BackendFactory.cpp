#include "platform/ui/sdl/BackendFactory.h"

#include "platform/ui/HeadlessBackend.h"
#include "platform/ui/sdl/SdlBackend.h"

namespace ui {

std::unique_ptr<Backend> createBackend(const BackendOptions& options, std::string* error)
{
    if (options.headless)
        return std::make_unique<HeadlessBackend>();
    return SdlBackend::open(options.zoom, options.title, error);
}

} // namespace ui
