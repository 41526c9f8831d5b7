#include "reminder/TavrelReminderProgram.h"

#include "reminder/TavrelPartnerProgram.h"
#include "reminder/TavrelReminderDlg.h"
#include "reminder/TavrelReminderMessages.h"
#include "reminder/TavrelReminderScheduler.h"
#include "reminder/TavrelReminderStore.h"

#include "platform/device/RunningProgram.h"
#include "platform/net/SocketLayer.h"
#include "platform/sound/SoundPlayer.h"
#include "platform/ui/Desktop.h"
#include "platform/ui/MessageBox.h"
#include "platform/ui/ScriptRunner.h"

#include <cstdio>

namespace {

void Complain(const std::string& text)
{
    std::fprintf(stderr, "tavrel-reminder: %s\n", text.c_str());
    std::fflush(stderr);
}

} // namespace

CTavrelReminderProgram::CTavrelReminderProgram(CTavrelReminderCommandLine commandLine, BackendFactory backends)
    : m_line(std::move(commandLine))
    , m_backends(std::move(backends))
{
}

CTavrelReminderProgram::~CTavrelReminderProgram() { TearDown(); }

int CTavrelReminderProgram::Run()
{
    if (m_line.script) {
        std::string error;
        std::optional<std::vector<ui::ScriptAction>> loaded = ui::Script::load(*m_line.script, &error);
        if (!loaded) {
            Complain(error);
            return 2;
        }
        m_actions = std::move(*loaded);
    }
    if (!net::startupSocketLayer()) {
        Tell(CTavrelReminderMessages::SocketsFailed);
        TearDown();
        return 1;
    }
    int exitCode = RunReminders();
    net::cleanupSocketLayer();
    if (m_runner)
        for (const std::string& error : m_runner->errors()) {
            Complain(error);
            exitCode = exitCode ? exitCode : 1;
        }
    TearDown();
    return exitCode;
}

int CTavrelReminderProgram::RunReminders()
{
    CTavrelReminderStore store;
    CTavrelReminderScheduler scheduler(store, device::RunningProgram::devicePath());
    CTavrelPartnerProgram partner;

    bool scheduled = true;
    if (store.CollectDue(device::OleDateTime::GetCurrentTime()).empty()) {
        scheduled = scheduler.ScheduleNextRun(device::OleDateTime::GetCurrentTime());
    } else {
        EnsureDesktop();
        CTavrelReminderDlg dialog(store, scheduler, partner);
        const int result = dialog.RunModal();
        if (result == ui::IDOK)
            scheduled = scheduler.ScheduleNextRun(device::OleDateTime::GetCurrentTime());
        else if (!dialog.ClosedItself())
            scheduled = scheduler.ScheduleRunAt(
                device::OleDateTime::GetCurrentTime() + device::OleDateTimeSpan(0, 0, ComeBackMinutes, 0));
    }
    if (!scheduled)
        Tell(CTavrelReminderMessages::RescheduleFailed);
    return 0;
}

ui::Desktop& CTavrelReminderProgram::EnsureDesktop()
{
    if (m_desktop)
        return *m_desktop;
    m_desktop = std::make_unique<ui::Desktop>(m_backends());
    m_openedDesktop = true;
    ui::Desktop& desktop = *m_desktop;
    const bool headless = desktop.isHeadless();
    if (headless) {
        sound::SoundPlayer::setMode(sound::SoundPlayer::Mode::Report);
        // Nobody is there to answer: message boxes take their default button unless a script is
        // still playing, and the reminder dialog without a script is answered with OK.
        desktop.setModalObserver([this](ui::Window& window) {
            if (auto* box = dynamic_cast<ui::MessageBoxDialog*>(&window)) {
                if (!m_runner || m_runner->isFinished())
                    box->endDialog(box->defaultResult());
            } else if (auto* dialog = dynamic_cast<CTavrelReminderDlg*>(&window); dialog && !m_runner) {
                dialog->post(ui::WM_COMMAND, ui::MAKEWPARAM(ui::IDOK, ui::BN_CLICKED), 0);
            }
        });
    }
    if (m_line.script) {
        m_runner = std::make_unique<ui::ScriptRunner>(desktop, m_actions);
        m_runner->setFinishedCallback([&desktop, headless] {
            if (headless)
                desktop.quit(0);
        });
        m_runner->start();
    }
    return desktop;
}

void CTavrelReminderProgram::Tell(const char16_t* text)
{
    EnsureDesktop();
    CTavrelReminderMessages::Show(nullptr, text);
}

void CTavrelReminderProgram::TearDown()
{
    if (!m_desktop)
        return;
    m_runner.reset();
    m_desktop->setModalObserver({});
    m_desktop.reset();
    sound::SoundPlayer::setMode(sound::SoundPlayer::Mode::Automatic);
}
