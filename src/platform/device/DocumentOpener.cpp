#include "platform/device/DocumentOpener.h"

#include "platform/device/DevicePath.h"
#include "platform/device/FileSystem.h"
#include "platform/device/HostProcess.h"
#include "platform/device/LastError.h"
#include "platform/device/TerminalText.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>

namespace device {

namespace {

std::atomic<DocumentOpener::Mode> g_mode{DocumentOpener::Mode::Automatic};

bool hasDisplay()
{
    const char* x11 = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    return (x11 && *x11) || (wayland && *wayland);
}

void appendEncoded(std::string& url, const std::string& text, bool keepSlash)
{
    static const char digits[] = "0123456789ABCDEF";
    for (unsigned char c : text) {
        bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == '_'
                     || c == '.' || c == '~' || (keepSlash && c == '/');
        if (plain) {
            url += char(c);
        } else {
            url += '%';
            url += digits[c >> 4];
            url += digits[c & 0xF];
        }
    }
}

} // namespace

void DocumentOpener::setMode(Mode mode) { g_mode.store(mode); }

DocumentOpener::Mode DocumentOpener::mode() { return g_mode.load(); }

std::string DocumentOpener::fileUrl(const std::string& hostPath, WideView anchor)
{
    std::string url = "file://";
    appendEncoded(url, hostPath, true);
    if (!anchor.empty()) {
        url += '#';
        appendEncoded(url, toUtf8(anchor), false);
    }
    return url;
}

std::string DocumentOpener::reportLine(WideView devicePath, WideView anchor)
{
    std::string line = "open-document: ";
    line += terminalText(devicePath);
    if (!anchor.empty()) {
        line += '#';
        line += terminalText(anchor);
    }
    return line;
}

bool DocumentOpener::open(WideView devicePath, WideView anchor, std::string* error)
{
    auto fail = [&](std::uint32_t code, const std::string& why) {
        setLastError(code);
        if (error)
            *error = why;
        return false;
    };
    std::optional<std::filesystem::path> host = DevicePath::toHost(devicePath);
    if (!host || !FileSystem::isFile(devicePath))
        return fail(ERROR_FILE_NOT_FOUND, "no such document: " + toUtf8(devicePath));
    const Mode wanted = mode();
    const bool useHost = wanted == Mode::Host || (wanted == Mode::Automatic && hasDisplay());
    if (!useHost) {
        std::fprintf(stderr, "%s\n", reportLine(devicePath, anchor).c_str());
        std::fflush(stderr);
        setLastError(ERROR_SUCCESS);
        return true;
    }
    std::string why;
    if (!HostProcess::startDetached({"xdg-open", fileUrl(host->string(), anchor)}, &why))
        return fail(ERROR_FILE_NOT_FOUND, why);
    setLastError(ERROR_SUCCESS);
    return true;
}

} // namespace device
