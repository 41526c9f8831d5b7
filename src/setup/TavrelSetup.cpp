#include "setup/TavrelSetup.h"

#include "setup/TavrelInstallFolder.h"
#include "setup/TavrelSettingsRemoval.h"
#include "setup/TavrelTodayPlugin.h"

#include "platform/device/FileSystem.h"
#include "platform/device/ProgramServices.h"
#include "platform/scheduler/RunAppAtTime.h"

void CTavrelSetup::InstallInit() { CTavrelTodayPlugin::MoveAside(); }

void CTavrelSetup::InstallExit(const CTavrelInstallFolder& folder) { CTavrelTodayPlugin::Place(folder); }

void CTavrelSetup::UninstallInit(std::uint32_t parent)
{
    CancelReminderStarts(CTavrelInstallFolder::FromRegistry());
    if (UserDropsSettings(parent))
        CTavrelSettingsRemoval::Run();
}

void CTavrelSetup::UninstallExit()
{
    CTavrelTodayPlugin::Remove();
    device::FileSystem::removeFile(Shortcut);
}

void CTavrelSetup::CancelReminderStarts(const CTavrelInstallFolder& folder)
{
    // No time: every pending start of the program is cancelled. One that cannot be cancelled
    // starts a program that is gone, which the scheduler reports and forgets.
    (void)scheduler::runAppAtTime(folder.PathOf(ReminderProgram).View(), std::nullopt);
}

bool CTavrelSetup::UserDropsSettings(std::uint32_t parent)
{
    using device::ProgramServices;
    return ProgramServices::messageBox(parent, KeepSettingsQuestion, QuestionCaption, ProgramServices::MB_YESNO)
           == ProgramServices::IDNO;
}
