#include "shell/TavrelProgram.h"

#include "platform/device/DocumentOpener.h"
#include "platform/device/ScopedHook.h"
#include "platform/device/TerminationSignals.h"
#include "platform/gfx/PngWriter.h"
#include "platform/pim/editor/DialogAppointmentEditor.h"
#include "platform/ui/Desktop.h"
#include "platform/ui/MessageBox.h"
#include "platform/ui/Script.h"
#include "platform/ui/ScriptRunner.h"
#include "remote/TavrelMessageBoxHost.h"
#include "rules/TavrelRulesMessageBox.h"
#include "shell/MainFrame.h"
#include "shell/TavrelApp.h"
#include "shell/TavrelCommands.h"

#include <cstdio>

namespace {

void Complain(const std::string& text)
{
    std::fprintf(stderr, "tavrel: %s\n", text.c_str());
    std::fflush(stderr);
}

// The icon rules tell of a lost rules file in a message box; from another thread the box waits for
// the user-interface thread.
void ShowRulesMessage(const char16_t* caption, const char16_t* text)
{
    ui::Desktop* desktop = ui::Desktop::instance();
    if (!desktop)
        return;
    const device::WideString captionText(caption), messageText(text);
    if (desktop->isUserInterfaceThread())
        ui::messageBox(nullptr, messageText, captionText);
    else
        desktop->postTask([captionText, messageText] { ui::messageBox(nullptr, messageText, captionText); });
}

} // namespace

CTavrelProgram::CTavrelProgram(CTavrelCommandLine commandLine) : m_line(std::move(commandLine)) {}

bool CTavrelProgram::IsSettled(CTavrelApp& app)
{
    // A dialog fetching a document: the script goes on once the fetch has ended, however long the
    // server takes (the download's own time-outs bound it).
    if (CTavrelRemoteHost::Current().IsFetching()) {
        m_waitingSince.reset();
        return false;
    }
    CMainFrame* frame = app.GetMainFrame();
    if (!frame || !app.IsReaderRunning() || frame->IsReaderPassDrawn()) {
        m_waitingSince.reset();
        return true;
    }
    const auto now = std::chrono::steady_clock::now();
    if (!m_waitingSince)
        m_waitingSince = now;
    if (now - *m_waitingSince < SettleLimit)
        return false;
    Complain("the calendar's events have not been read in " + std::to_string(SettleLimit.count()) + " s; going on without them");
    m_waitingSince.reset();
    return true;
}

int CTavrelProgram::Run(std::unique_ptr<ui::Backend> backend)
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

    ui::Desktop desktop(std::move(backend));
    const bool headless = desktop.isHeadless();
    // The process-wide hooks of this run, each put back as it was however Run ends.
    using DocumentMode = device::DocumentOpener::Mode;
    device::ScopedHook<DocumentMode> documentMode(&device::DocumentOpener::mode, &device::DocumentOpener::setMode,
                                                  headless ? DocumentMode::Report : DocumentMode::Automatic);
    device::ScopedHook<CTavrelRulesMessageBox::Handler> rulesMessages(
        &CTavrelRulesMessageBox::GetHandler, &CTavrelRulesMessageBox::SetHandler, ShowRulesMessage);
    device::ScopedHook<std::shared_ptr<pim::AppointmentEditor>> appointmentEditor(
        &pim::AppointmentEditor::installed, &pim::AppointmentEditor::install,
        std::make_shared<pim::DialogAppointmentEditor>());
    bool scriptAnswers = false;
    using ModalObserver = std::function<void(ui::Window&)>;
    ModalObserver answerMessageBoxes;
    if (headless) {
        answerMessageBoxes = [&scriptAnswers](ui::Window& window) {
            if (scriptAnswers)
                return;
            if (auto* box = dynamic_cast<ui::MessageBoxDialog*>(&window))
                box->endDialog(box->defaultResult());
        };
    }
    device::ScopedHook<ModalObserver> modalObserver(
        [&desktop] { return desktop.modalObserver(); },
        [&desktop](ModalObserver observer) { desktop.setModalObserver(std::move(observer)); },
        std::move(answerMessageBoxes));

    // The remote calendars tell the user in message boxes.
    CTavrelMessageBoxHost remoteHost;
    CTavrelRemoteHost::Scope remoteScope(remoteHost);

    int exitCode = 0;
    {
        CTavrelApp app;
        // SIGTERM and SIGINT end the program as its "Exit" command does, in every mode: the
        // control application hears "OnCalendarClose" and the settings are saved. The request
        // reaches the user-interface thread as a posted task; one that comes before the frame
        // exists ends start-up's loops and the program once start-up is over.
        bool exitRequested = false;
        device::TerminationSignals terminationSignals;
        if (!terminationSignals.start([&desktop, &app, &exitRequested](int) {
                desktop.postTask([&desktop, &app, &exitRequested] {
                    exitRequested = true;
                    CMainFrame* frame = app.GetMainFrame();
                    if (frame && frame->exists())
                        frame->post(ui::WM_COMMAND, ui::MAKEWPARAM(unsigned(ID_APP_EXIT), 0), 0);
                    else
                        desktop.quit(0);
                });
            }))
            Complain("SIGTERM and SIGINT will end the program without its shut-down");
        app.SetControlPorts(m_line.controlPort, m_line.notifyPort);
        if (!app.InitInstance(m_line.parameters)) {
            exitCode = 1;
        } else if (exitRequested) {
            app.ExitInstance();
        } else {
            std::unique_ptr<ui::ScriptRunner> runner;
            bool snapshotFailed = false;
            if (m_line.script || m_line.snapshot) {
                if (!m_line.script)
                    actions = {ui::ScriptAction{}}; // one `idle`: wait for start-up to settle
                runner = std::make_unique<ui::ScriptRunner>(desktop, std::move(actions));
                runner->setIdleCondition([this, &app] { return IsSettled(app); });
                // `command ID` goes to the foreground window (a dialog that is open, or the frame);
                // a frame that a control application keeps hidden takes it too.
                runner->setCommandTarget([&desktop, &app]() -> ui::Window* {
                    ui::Window* target = desktop.foreground();
                    return target ? target : app.GetMainFrame();
                });
                runner->setFinishedCallback([&] {
                    if (m_line.snapshot) {
                        desktop.updateNow();
                        if (!gfx::PngWriter::write(desktop.screen(), *m_line.snapshot)) {
                            Complain("cannot write the snapshot " + *m_line.snapshot);
                            snapshotFailed = true;
                        }
                    }
                    if (m_line.snapshot || headless)
                        desktop.quit(snapshotFailed ? 1 : 0);
                });
                scriptAnswers = m_line.script.has_value();
                runner->start();
            }
            exitCode = desktop.run();
            if (runner)
                for (const std::string& error : runner->errors()) {
                    Complain(error);
                    exitCode = exitCode ? exitCode : 1;
                }
            app.ExitInstance();
        }
    }

    return exitCode;
}
