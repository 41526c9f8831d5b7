#include "platform/sdl/SdlLibrary.h"

#include <dlfcn.h>

namespace sdl {

namespace {

// The SDL 2 runtime's file name, which stays the same across its releases.
constexpr const char* kLibraryName = "libSDL2-2.0.so.0";

struct Loaded {
    Library* library = nullptr;
    std::string error;
};

} // namespace

const Library* Library::get(std::string* error)
{
    static const Loaded loaded = [] {
        Loaded result;
        // Kept loaded for the life of the process: SDL's own threads may still run at exit.
        void* handle = ::dlopen(kLibraryName, RTLD_NOW | RTLD_LOCAL);
        if (!handle) {
            const char* reason = ::dlerror();
            result.error = std::string("cannot load ") + kLibraryName + (reason ? std::string(": ") + reason : "");
            return result;
        }
        static Library library;
        std::string missing;
#define TAVREL_SDL_RESOLVE(name)                                                                                       \
    library.name = reinterpret_cast<decltype(&SDL_##name)>(::dlsym(handle, "SDL_" #name));                             \
    if (!library.name && missing.empty())                                                                              \
        missing = "SDL_" #name;
        TAVREL_SDL_FUNCTIONS(TAVREL_SDL_RESOLVE)
#undef TAVREL_SDL_RESOLVE
        if (!missing.empty()) {
            result.error = std::string(kLibraryName) + " lacks " + missing;
            return result;
        }
        result.library = &library;
        return result;
    }();
    if (!loaded.library && error)
        *error = loaded.error;
    return loaded.library;
}

} // namespace sdl
