#pragma once
// CTavrelSetup: what the package's setup library does when the device's package installer calls it
// (TavrelSetupExports.cpp holds the four exported functions around it).
//
//   InstallInit    the Today-screen plug-in in place moves aside
//   InstallExit    the plug-in for this handheld is placed and registered with the Today screen
//   UninstallInit  the reminder program's pending starts are cancelled, and the user is asked
//                  whether to keep the Tavrel settings; on No they are removed
//   UninstallExit  the plug-in, its Today items and the start-menu shortcut are removed
//
// No step fails: whatever is missing or cannot be changed is passed over, and the installer
// always goes on.

#include <cstdint>

class CTavrelInstallFolder;

class CTavrelSetup {
public:
    static constexpr const char16_t* ReminderProgram = u"TavrelReminder.Exe";
    static constexpr const char16_t* Shortcut = u"\\Windows\\Start Menu\\Programs\\Tavrel.lnk";
    static constexpr const char16_t* QuestionCaption = u"Tavrel Setup";
    static constexpr const char16_t* KeepSettingsQuestion
        = u"Do you want to leave your Icon Rules file and other Tavrel settings on your device?";

    static void InstallInit();
    static void InstallExit(const CTavrelInstallFolder& folder);
    // `parent` is the installer's window (its handle's number, 0 for none), the question's owner.
    static void UninstallInit(std::uint32_t parent);
    static void UninstallExit();

private:
    static void CancelReminderStarts(const CTavrelInstallFolder& folder);
    // True only when the user answered No: a question nobody could be asked keeps everything.
    static bool UserDropsSettings(std::uint32_t parent);
};
