#pragma once
// The package installer's interface with a package's setup library, as the handheld's installer
// defines it: four functions with C linkage, found by name, called around copying the package's
// files onto the device and removing them. Texts are UTF-16 and zero-terminated; the parent window
// is a window handle of the installer's window system (null when it shows none).
//
//   Install_Init    before the files are copied;  CONTINUE, or CANCEL to stop the installation
//   Install_Exit    after they are copied, with the install folder and the installer's counts of
//                   folders, files, registry keys, values and shortcuts it failed to make;
//                   DONE, or UNINSTALL to take the installation back
//   Uninstall_Init  before the files are removed; CONTINUE, or CANCEL to keep the package
//   Uninstall_Exit  after they are removed; DONE
//
// A setup library defines them with SETUP_EXPORT (the only symbols it exports).

#include <cstdint>

namespace installer {

// A window of the installer's window system: the handle's number as a pointer, as the handheld's
// HWND is. Null is no window.
struct WindowObject;
using HWND = WindowObject*;
using BOOL = std::int32_t;
using WORD = std::uint16_t;
using LPCTSTR = const char16_t*;

inline HWND toHwnd(std::uint32_t handle) { return reinterpret_cast<HWND>(std::uintptr_t(handle)); }
inline std::uint32_t fromHwnd(HWND window) { return std::uint32_t(reinterpret_cast<std::uintptr_t>(window)); }

enum codeINSTALL_INIT : std::int32_t { codeINSTALL_INIT_CONTINUE = 0, codeINSTALL_INIT_CANCEL = 1 };
enum codeINSTALL_EXIT : std::int32_t { codeINSTALL_EXIT_DONE = 0, codeINSTALL_EXIT_UNINSTALL = 1 };
enum codeUNINSTALL_INIT : std::int32_t { codeUNINSTALL_INIT_CONTINUE = 0, codeUNINSTALL_INIT_CANCEL = 1 };
enum codeUNINSTALL_EXIT : std::int32_t { codeUNINSTALL_EXIT_DONE = 0 };

using InstallInitFunction = codeINSTALL_INIT(HWND parent, BOOL firstCall, BOOL previouslyInstalled, LPCTSTR installDir);
using InstallExitFunction = codeINSTALL_EXIT(HWND parent, LPCTSTR installDir, WORD failedDirs, WORD failedFiles,
                                             WORD failedRegKeys, WORD failedRegValues, WORD failedShortcuts);
using UninstallInitFunction = codeUNINSTALL_INIT(HWND parent, LPCTSTR installDir);
using UninstallExitFunction = codeUNINSTALL_EXIT(HWND parent);

inline constexpr const char* InstallInitName = "Install_Init";
inline constexpr const char* InstallExitName = "Install_Exit";
inline constexpr const char* UninstallInitName = "Uninstall_Init";
inline constexpr const char* UninstallExitName = "Uninstall_Exit";

} // namespace installer

#define SETUP_EXPORT extern "C" __attribute__((visibility("default")))
