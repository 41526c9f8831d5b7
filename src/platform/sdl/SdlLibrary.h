#pragma once
// The host's SDL library, loaded when a program first opens a window or plays a sound.
//
// No program links SDL: a program that never shows a window (the device tool, the control tool,
// a reminder run with nothing due, a headless calendar) would otherwise load SDL and through it the
// window system, the audio server's client and their dependencies — about fifty shared libraries,
// several milliseconds before main() on every start. The SDL headers are used as they are; the
// functions come from the library through this table, which is filled once, on first use, from
// every thread alike.

#include <SDL.h>

#include <string>

namespace sdl {

// Each function the platform calls, with SDL's own name and signature.
#define TAVREL_SDL_FUNCTIONS(X)                                                                                        \
    X(Init)                                                                                                            \
    X(InitSubSystem)                                                                                                   \
    X(QuitSubSystem)                                                                                                   \
    X(Quit)                                                                                                            \
    X(GetError)                                                                                                        \
    X(GetCurrentVideoDriver)                                                                                           \
    X(SetHint)                                                                                                         \
    X(CreateWindow)                                                                                                    \
    X(DestroyWindow)                                                                                                   \
    X(CreateRenderer)                                                                                                  \
    X(DestroyRenderer)                                                                                                 \
    X(CreateTexture)                                                                                                   \
    X(DestroyTexture)                                                                                                  \
    X(SetTextureBlendMode)                                                                                             \
    X(UpdateTexture)                                                                                                   \
    X(RenderCopy)                                                                                                      \
    X(RenderPresent)                                                                                                   \
    X(CreateRGBSurfaceWithFormat)                                                                                      \
    X(FreeSurface)                                                                                                     \
    X(SetWindowIcon)                                                                                                   \
    X(RegisterEvents)                                                                                                  \
    X(PushEvent)                                                                                                       \
    X(PollEvent)                                                                                                       \
    X(WaitEvent)                                                                                                       \
    X(WaitEventTimeout)                                                                                                \
    X(StartTextInput)                                                                                                  \
    X(Delay)                                                                                                           \
    X(OpenAudioDevice)                                                                                                 \
    X(CloseAudioDevice)                                                                                                \
    X(PauseAudioDevice)                                                                                                \
    X(QueueAudio)                                                                                                      \
    X(GetQueuedAudioSize)

class Library {
public:
    // The loaded library; null when it cannot be loaded, with the loader's reason in `error`.
    // Loading is tried once per process.
    static const Library* get(std::string* error = nullptr);

#define TAVREL_SDL_MEMBER(name) decltype(&SDL_##name) name = nullptr;
    TAVREL_SDL_FUNCTIONS(TAVREL_SDL_MEMBER)
#undef TAVREL_SDL_MEMBER

private:
    Library() = default;
};

} // namespace sdl
