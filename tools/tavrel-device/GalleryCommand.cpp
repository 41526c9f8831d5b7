#include "GalleryCommand.h"

#include "platform/gfx/Painter.h"
#include "platform/gfx/PngWriter.h"
#include "platform/ui/Automation.h"
#include "platform/ui/ControlGallery.h"
#include "platform/ui/Desktop.h"
#include "platform/ui/FrameWindow.h"
#include "platform/ui/MessageBox.h"
#include "platform/ui/PopupMenu.h"
#include "platform/ui/ScriptRunner.h"
#include "platform/ui/Theme.h"
#include "platform/ui/sdl/BackendFactory.h"

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>

namespace {

using namespace ui;

constexpr int commandControls = 32001;
constexpr int commandMessage = 32002;
constexpr int commandExit = 32003;
constexpr int commandPrevious = 32793;
constexpr int commandNext = 32792;

constexpr gfx::Colour buttonKey = gfx::rgb(192, 192, 192);

// A 16 × 16 picture drawn by a function, on the grey that tool buttons leave out.
gfx::Surface icon(gfx::Colour background, const std::function<void(gfx::Painter&)>& draw)
{
    gfx::Surface picture(16, 16, background);
    gfx::Painter painter(picture);
    draw(painter);
    return picture;
}

gfx::Surface arrowPicture(bool right)
{
    return icon(buttonKey, [right](gfx::Painter& painter) {
        for (int column = 0; column < 6; ++column) {
            int x = right ? 5 + column : 10 - column;
            painter.fillRect({x, 2 + column, x + 1, 14 - column}, gfx::rgb(0, 51, 153));
        }
    });
}

// The program's frame: a greeting view, a menu and two tool buttons.
class GalleryFrame final : public FrameWindow {
protected:
    bool onCommand(int id, int code, WindowHandle source) override
    {
        switch (id) {
        case commandControls: {
            ControlGallery dialog;
            dialog.RunModal();
            return true;
        }
        case commandMessage:
            messageBox(this, u"The window platform's gallery.", u"Gallery", MB_OK | MB_ICONINFORMATION);
            return true;
        case commandExit:
            desktop()->quit(0);
            return true;
        case commandPrevious:
        case commandNext:
            return true;
        default:
            return false;
        }
    }
};

class GreetingView final : public Window {
protected:
    void onPaint(gfx::Painter& painter) override
    {
        painter.fillRect(clientRect(), theme::window);
        painter.selectFont(theme::font());
        painter.setBackgroundMode(gfx::TRANSPARENT);
        painter.drawText(u"Tap Gallery, then Controls... to see every control.", clientRect().inflated(-12, -12),
                         gfx::DT_CENTER | gfx::DT_WORDBREAK | gfx::DT_NOPREFIX);
    }
};

// Writes the snapshot once the chosen screen is up and the loop is idle, then ends the program.
class SnapshotAgent final : public IdleAgent {
public:
    enum class Open { None, Menu, MessageBox };
    SnapshotAgent(Desktop& desktop, std::string file, Open open) : m_desktop(desktop), m_file(std::move(file)), m_open(open) {}

    int exitCode() const { return m_exitCode; }
    std::optional<std::uint64_t> dueTime() const override { return m_done ? std::nullopt : std::optional(m_desktop.now()); }

    void runIdle() override
    {
        Automation automation(m_desktop);
        auto* dialog = dynamic_cast<ControlGallery*>(automation.foregroundDialog());
        bool ready = false;
        switch (m_open) {
        case Open::None:
            ready = dialog != nullptr;
            break;
        case Open::Menu:
            ready = PopupMenu::active() != nullptr;
            if (!ready && dialog && !m_tapped)
                tap(dialog->control(ControlGallery::idMenuButton));
            break;
        case Open::MessageBox:
            ready = automation.foregroundMessageBox() != nullptr;
            if (!ready && dialog && !m_tapped)
                tap(dialog->control(ControlGallery::idMessageButton));
            break;
        }
        if (!ready)
            return;
        m_done = true;
        if (!gfx::PngWriter::write(m_desktop.screen(), m_file)) {
            std::fprintf(stderr, "tavrel-device: cannot write %s\n", m_file.c_str());
            m_exitCode = 1;
        }
        m_desktop.quit(m_exitCode);
    }

private:
    void tap(Window* window)
    {
        // Queued, not waited for: the menu's or box's own loop then calls this agent again.
        m_tapped = true;
        gfx::Point centre = window->screenRect().centre();
        m_desktop.injectInput(InputEvent::pen(InputEvent::Kind::PenDown, centre));
        m_desktop.injectInput(InputEvent::pen(InputEvent::Kind::PenUp, centre));
    }

    Desktop& m_desktop;
    std::string m_file;
    Open m_open;
    bool m_tapped = false;
    bool m_done = false;
    int m_exitCode = 0;
};

const char galleryUsage[] =
    "usage: tavrel-device ui-gallery [--headless] [--snapshot FILE] [--open none|menu|message-box]\n"
    "                                [--script FILE] [--zoom N]\n";

} // namespace

const char* galleryCommandUsage()
{
    static const std::string text = std::string(galleryUsage) + "\n" + Script::help();
    return text.c_str();
}

int runGalleryCommand(const std::vector<std::string>& args)
{
    BackendOptions options;
    options.title = "Tavrel gallery";
    std::string snapshot, scriptFile;
    SnapshotAgent::Open open = SnapshotAgent::Open::None;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        auto value = [&](const char* what) -> const std::string* {
            if (i + 1 >= args.size()) {
                std::fprintf(stderr, "tavrel-device: ui-gallery: %s needs %s\n", arg.c_str(), what);
                return nullptr;
            }
            return &args[++i];
        };
        if (arg == "--help" || arg == "-h") {
            std::fputs(galleryCommandUsage(), stdout);
            return 0;
        } else if (arg == "--headless") {
            options.headless = true;
        } else if (arg == "--snapshot") {
            const std::string* file = value("a file");
            if (!file)
                return 2;
            snapshot = *file;
        } else if (arg == "--script") {
            const std::string* file = value("a file");
            if (!file)
                return 2;
            scriptFile = *file;
        } else if (arg == "--open") {
            const std::string* what = value("none, menu or message-box");
            if (!what)
                return 2;
            if (*what == "menu")
                open = SnapshotAgent::Open::Menu;
            else if (*what == "message-box")
                open = SnapshotAgent::Open::MessageBox;
            else if (*what != "none") {
                std::fprintf(stderr, "tavrel-device: ui-gallery: --open takes none, menu or message-box\n");
                return 2;
            }
        } else if (arg == "--zoom") {
            const std::string* zoom = value("a factor");
            if (!zoom)
                return 2;
            options.zoom = std::atoi(zoom->c_str());
            if (options.zoom < 1 || options.zoom > 8) {
                std::fprintf(stderr, "tavrel-device: ui-gallery: --zoom takes 1 to 8\n");
                return 2;
            }
        } else {
            std::fprintf(stderr, "tavrel-device: ui-gallery: unknown argument %s\n", arg.c_str());
            return 2;
        }
    }
    if (options.headless && snapshot.empty() && scriptFile.empty()) {
        std::fprintf(stderr, "tavrel-device: ui-gallery: --headless needs --snapshot or --script\n");
        return 2;
    }

    std::optional<std::vector<ScriptAction>> script;
    if (!scriptFile.empty()) {
        std::string error;
        script = Script::load(scriptFile, &error);
        if (!script) {
            std::fprintf(stderr, "tavrel-device: ui-gallery: %s\n", error.c_str());
            return 2;
        }
    }

    std::string error;
    std::unique_ptr<Backend> backend = createBackend(options, &error);
    if (!backend) {
        std::fprintf(stderr, "tavrel-device: ui-gallery: %s (try --headless)\n", error.c_str());
        return 1;
    }
    Desktop desktop(std::move(backend));
    GalleryFrame frame;
    GreetingView view;
    if (!frame.create(u"Gallery") || !view.create(&frame, frame.viewRect())) {
        std::fprintf(stderr, "tavrel-device: ui-gallery: cannot create the windows\n");
        return 1;
    }
    frame.setView(&view);
    desktop.setMainWindow(&frame);
    Menu menu;
    menu.append(u"&Controls...", commandControls);
    menu.append(u"&Message Box...", commandMessage);
    menu.appendSeparator();
    menu.append(u"E&xit", commandExit);
    frame.commandBar().setMenu(u"Gallery", menu);
    frame.commandBar().addButton(commandPrevious, arrowPicture(false));
    frame.commandBar().addButton(commandNext, arrowPicture(true));
    frame.commandBar().setToolTips({u"Gallery", u"Previous", u"Next"});
    frame.setFocus();

    // The dialog opens as soon as the loop runs.
    frame.post(WM_COMMAND, MAKEWPARAM(commandControls, 0), 0);

    std::unique_ptr<ScriptRunner> runner;
    std::unique_ptr<SnapshotAgent> snapper;
    if (script) {
        runner = std::make_unique<ScriptRunner>(desktop, std::move(*script));
        runner->setFinishedCallback([&] {
            if (!snapshot.empty()) {
                if (!gfx::PngWriter::write(desktop.screen(), snapshot))
                    std::fprintf(stderr, "tavrel-device: cannot write %s\n", snapshot.c_str());
                desktop.quit(0);
            } else if (options.headless) {
                desktop.quit(0);
            }
        });
        runner->start();
    } else if (!snapshot.empty()) {
        snapper = std::make_unique<SnapshotAgent>(desktop, snapshot, open);
        desktop.addIdleAgent(snapper.get());
    }
    int code = desktop.run();
    if (runner)
        for (const std::string& failure : runner->errors()) {
            std::fprintf(stderr, "tavrel-device: %s\n", failure.c_str());
            code = 1;
        }
    return code;
}
