#include "logconfig/QoLogConfigProgram.h"

#include "logconfig/QoLogConfigDlg.h"

#include "platform/device/DeviceFolder.h"
#include "platform/ui/Desktop.h"
#include "platform/ui/Script.h"
#include "platform/ui/ScriptRunner.h"

#include <cstdio>
#include <optional>

namespace {

void Complain(const std::string& text)
{
    std::fprintf(stderr, "qolog-config: %s\n", text.c_str());
    std::fflush(stderr);
}

} // namespace

CQoLogConfigProgram::CQoLogConfigProgram(CQoLogConfigCommandLine commandLine, BackendFactory backends)
    : m_line(std::move(commandLine))
    , m_backends(std::move(backends))
{
}

int CQoLogConfigProgram::Run()
{
    std::vector<ui::ScriptAction> actions;
    if (m_line.script) {
        std::string error;
        std::optional<std::vector<ui::ScriptAction>> loaded = ui::Script::load(*m_line.script, &error);
        if (!loaded) {
            Complain(error);
            return 2;
        }
        actions = std::move(*loaded);
    }
    // After the script: a run that cannot start touches no device.
    if (std::string error; !device::DeviceFolder::selectForProgram(m_line.device, &error)) {
        Complain(error);
        return 1;
    }

    std::string reason;
    std::unique_ptr<ui::Backend> backend = m_backends(m_line.headless, &reason);
    if (!backend && m_line.script) {
        Complain("no display (" + reason + "); running headless");
        backend = m_backends(true, &reason);
    }
    if (!backend) {
        Complain("no display (" + reason + "); the dialog needs a window, or --headless with --script");
        return 1;
    }
    ui::Desktop desktop(std::move(backend));
    const bool headless = desktop.isHeadless();

    CQoLogConfigDlg dialog;
    std::unique_ptr<ui::ScriptRunner> runner;
    if (m_line.script) {
        runner = std::make_unique<ui::ScriptRunner>(desktop, std::move(actions));
        // Headless nobody else can close the dialog: when the script has run out, it is closed
        // as a dismissed dialog is, writing nothing.
        runner->setFinishedCallback([&desktop, headless] {
            if (headless)
                desktop.quit(0);
        });
        runner->start();
    }
    dialog.RunModal();

    int exitCode = 0;
    if (runner)
        for (const std::string& error : runner->errors()) {
            Complain(error);
            exitCode = 1;
        }
    return exitCode;
}
