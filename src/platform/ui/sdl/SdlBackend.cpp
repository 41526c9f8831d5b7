#include "platform/ui/sdl/SdlBackend.h"

#include "platform/ui/Desktop.h"

#include "platform/sdl/SdlLibrary.h"

#include <cstdlib>
#include <cstring>

namespace ui {

struct SdlBackend::Handles {
    const sdl::Library* sdl = nullptr;
    SDL_Window* window = nullptr;
    SDL_Renderer* renderer = nullptr;
    SDL_Texture* texture = nullptr;
    Uint32 wakeEvent = 0;
};

std::unique_ptr<SdlBackend> SdlBackend::open(int zoom, const std::string& title, std::string* error)
{
    // With no display named at all there is nothing to try; asking SDL would only add the display
    // libraries' own complaints to standard error. SDL_VIDEODRIVER still lets SDL choose.
    const char* asked = std::getenv("SDL_VIDEODRIVER");
    const char* x11 = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    if (!(asked && *asked) && !(x11 && *x11) && !(wayland && *wayland)) {
        if (error)
            *error = "no display to show a window on: neither DISPLAY nor WAYLAND_DISPLAY is set";
        return nullptr;
    }
    std::string loadError;
    const sdl::Library* const api = sdl::Library::get(&loadError);
    if (!api) {
        if (error)
            *error = "cannot show a window: " + loadError;
        return nullptr;
    }
    auto fail = [&](const std::string& what) -> std::unique_ptr<SdlBackend> {
        if (error)
            *error = what + ": " + api->GetError();
        return nullptr;
    };
    if (api->Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0)
        return fail("cannot start the display");
    // Without a display SDL falls back to drawing off-screen, where nobody would see the window or
    // answer its dialogs; that counts as no display unless SDL_VIDEODRIVER asked for it.
    const char* driver = api->GetCurrentVideoDriver();
    if (driver && (std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0) && !(asked && *asked)) {
        api->Quit();
        if (error)
            *error = "no display to show a window on";
        return nullptr;
    }
    std::unique_ptr<SdlBackend> backend(new SdlBackend);
    backend->m_zoom = zoom < 1 ? 1 : zoom;
    backend->m_sdl = std::make_unique<Handles>();
    Handles& sdl = *backend->m_sdl;
    sdl.sdl = api;
    sdl.window = api->CreateWindow(title.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                                   Desktop::screenWidth * backend->m_zoom, Desktop::screenHeight * backend->m_zoom, 0);
    if (!sdl.window)
        return fail("cannot open a window");
    sdl.renderer = api->CreateRenderer(sdl.window, -1, 0);
    if (!sdl.renderer)
        return fail("cannot draw into the window");
    api->SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "0");
    // Surfaces keep their bytes as R, G, B, 0: the ABGR8888 layout on this byte order, alpha unused.
    sdl.texture = api->CreateTexture(sdl.renderer, SDL_PIXELFORMAT_ABGR8888, SDL_TEXTUREACCESS_STREAMING,
                                     Desktop::screenWidth, Desktop::screenHeight);
    if (!sdl.texture)
        return fail("cannot make the screen texture");
    api->SetTextureBlendMode(sdl.texture, SDL_BLENDMODE_NONE);
    sdl.wakeEvent = api->RegisterEvents(1);
    api->StartTextInput();
    return backend;
}

SdlBackend::~SdlBackend()
{
    if (!m_sdl)
        return;
    const sdl::Library& api = *m_sdl->sdl;
    if (m_sdl->texture)
        api.DestroyTexture(m_sdl->texture);
    if (m_sdl->renderer)
        api.DestroyRenderer(m_sdl->renderer);
    if (m_sdl->window)
        api.DestroyWindow(m_sdl->window);
    api.Quit();
}

void SdlBackend::present(const gfx::Surface& screen, const gfx::Rect& dirty)
{
    const sdl::Library& api = *m_sdl->sdl;
    api.UpdateTexture(m_sdl->texture, nullptr, screen.row(0), screen.width() * 4);
    api.RenderCopy(m_sdl->renderer, m_sdl->texture, nullptr, nullptr);
    api.RenderPresent(m_sdl->renderer);
}

void SdlBackend::showIcon(const gfx::Surface* icon)
{
    // SDL keeps the last icon when given none.
    if (!m_sdl || !icon || icon->width() <= 0 || icon->height() <= 0)
        return;
    const sdl::Library& api = *m_sdl->sdl;
    SDL_Surface* picture = api.CreateRGBSurfaceWithFormat(0, icon->width(), icon->height(), 32, SDL_PIXELFORMAT_RGBA32);
    if (!picture)
        return;
    const gfx::Colour key = icon->pixel(0, 0);
    for (int y = 0; y < icon->height(); ++y) {
        auto* out = static_cast<Uint8*>(picture->pixels) + std::size_t(y) * std::size_t(picture->pitch);
        for (int x = 0; x < icon->width(); ++x, out += 4) {
            const gfx::Colour colour = icon->pixel(x, y);
            out[0] = Uint8(colour & 0xFF);
            out[1] = Uint8((colour >> 8) & 0xFF);
            out[2] = Uint8((colour >> 16) & 0xFF);
            out[3] = colour == key ? 0 : 255;
        }
    }
    api.SetWindowIcon(m_sdl->window, picture);
    api.FreeSurface(picture);
}

void SdlBackend::wake()
{
    if (!m_sdl || m_sdl->wakeEvent == Uint32(-1))
        return;
    SDL_Event event{};
    event.type = m_sdl->wakeEvent;
    m_sdl->sdl->PushEvent(&event);
}

void SdlBackend::wait(std::optional<std::chrono::milliseconds> timeout)
{
    const sdl::Library& api = *m_sdl->sdl;
    SDL_Event event;
    int got = timeout ? api.WaitEventTimeout(&event, int(timeout->count())) : api.WaitEvent(&event);
    while (got) {
        handleEvent(&event);
        got = api.PollEvent(&event);
    }
}

int SdlBackend::virtualKeyOf(int sdlKey)
{
    switch (sdlKey) {
    case SDLK_LEFT:
        return VK_LEFT;
    case SDLK_RIGHT:
        return VK_RIGHT;
    case SDLK_UP:
        return VK_UP;
    case SDLK_DOWN:
        return VK_DOWN;
    case SDLK_PAGEUP:
        return VK_PRIOR;
    case SDLK_PAGEDOWN:
        return VK_NEXT;
    case SDLK_RETURN:
    case SDLK_KP_ENTER:
        return VK_RETURN;
    case SDLK_ESCAPE:
        return VK_ESCAPE;
    case SDLK_TAB:
        return VK_TAB;
    case SDLK_BACKSPACE:
        return VK_BACK;
    case SDLK_DELETE:
        return VK_DELETE;
    case SDLK_HOME:
        return VK_HOME;
    case SDLK_END:
        return VK_END;
    case SDLK_SPACE:
        return VK_SPACE;
    case SDLK_F1:
        return VK_F1;
    default:
        return 0;
    }
}

void SdlBackend::handleEvent(const void* raw)
{
    const SDL_Event& event = *static_cast<const SDL_Event*>(raw);
    if (!m_desktop)
        return;
    auto screenPoint = [this](int x, int y) { return gfx::Point{x / m_zoom, y / m_zoom}; };
    switch (event.type) {
    case SDL_MOUSEBUTTONDOWN:
        if (event.button.button == SDL_BUTTON_LEFT && !m_rightDown) {
            m_leftDown = true;
            m_desktop->injectInput(InputEvent::pen(InputEvent::Kind::PenDown, screenPoint(event.button.x, event.button.y)));
        } else if (event.button.button == SDL_BUTTON_RIGHT && !m_leftDown) {
            m_rightDown = true;
            gfx::Point point = screenPoint(event.button.x, event.button.y);
            m_desktop->injectInput(InputEvent::pen(InputEvent::Kind::PenDown, point));
            m_desktop->injectInput(InputEvent::pen(InputEvent::Kind::HoldNow, point));
        }
        break;
    case SDL_MOUSEBUTTONUP:
        if ((event.button.button == SDL_BUTTON_LEFT && m_leftDown) || (event.button.button == SDL_BUTTON_RIGHT && m_rightDown)) {
            m_leftDown = m_rightDown = false;
            m_desktop->injectInput(InputEvent::pen(InputEvent::Kind::PenUp, screenPoint(event.button.x, event.button.y)));
        }
        break;
    case SDL_MOUSEMOTION:
        if (m_leftDown || m_rightDown)
            m_desktop->injectInput(InputEvent::pen(InputEvent::Kind::PenMove, screenPoint(event.motion.x, event.motion.y)));
        break;
    case SDL_KEYDOWN:
        if (int key = virtualKeyOf(event.key.keysym.sym))
            m_desktop->injectInput(InputEvent::keyDown(key));
        break;
    case SDL_TEXTINPUT: {
        device::WideString text = device::fromUtf8(event.text.text);
        for (device::WChar character : text)
            m_desktop->injectInput(InputEvent::typed(character));
        break;
    }
    case SDL_WINDOWEVENT:
        if (event.window.event == SDL_WINDOWEVENT_EXPOSED)
            m_desktop->invalidate({0, 0, Desktop::screenWidth, Desktop::screenHeight});
        break;
    case SDL_QUIT: {
        Desktop* desktop = m_desktop;
        desktop->postTask([desktop] {
            if (Window* main = desktop->find(desktop->mainWindow()))
                main->send(WM_CLOSE);
            else
                desktop->quit(0);
        });
        break;
    }
    default:
        break;
    }
}

} // namespace ui
