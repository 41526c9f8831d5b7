#pragma once
// A shared library loaded into the running program, as the handheld's LoadLibrary and
// GetProcAddress load a DLL and find its functions by name.
//
// A library of the device carries its own copy of the platform, linked in with hidden symbols, so
// nothing of it clashes with the program's copy. Two things a process has only once are handed
// across by name instead:
//   - the device: load() names the program's device in $TAVREL_DEVICE before the library runs, and
//     the library selects it at each entry point (selectProgramDevice);
//   - the program's services, such as its message box (ProgramServices.h): plain C functions the
//     program exports, which a library finds with processSymbol().
// Libraries stay mapped until the process ends (a platform copy keeps process-wide state, such as
// its registry connection and fork handlers, that must not be unmapped under it); a second load of
// the same file gives the same library.

#include <filesystem>
#include <memory>
#include <string>

namespace device {

class SharedLibrary {
public:
    // Where a library learns its program's device.
    static constexpr const char* DeviceVariable = "TAVREL_DEVICE";

    // Loads the host file `file`, resolving every symbol at once. Nothing, with the loader's
    // reason, when it is missing or no library of this host.
    [[nodiscard]] static std::unique_ptr<SharedLibrary> load(const std::filesystem::path& file,
                                                             std::string* error = nullptr);

    SharedLibrary(const SharedLibrary&) = delete;
    SharedLibrary& operator=(const SharedLibrary&) = delete;
    ~SharedLibrary();

    const std::filesystem::path& file() const { return m_file; }

    // The address of an exported symbol, or null when the library exports none of that name.
    void* symbol(const char* name) const;
    // An exported function of type `Function` (a function type such as `int(int)`), or null.
    template <typename Function>
    Function* function(const char* name) const
    {
        return reinterpret_cast<Function*>(symbol(name));
    }

    // A symbol exported by the running program or any library it has loaded, or null.
    static void* processSymbol(const char* name);

    // Called by a library at each of its entry points: makes the device of the program that loaded
    // it ($TAVREL_DEVICE) the library's device, unless it already is. False, with a reason, when
    // that folder cannot be used.
    [[nodiscard]] static bool selectProgramDevice(std::string* error = nullptr);

private:
    SharedLibrary(std::filesystem::path file, void* handle);

    std::filesystem::path m_file;
    void* m_handle;
};

} // namespace device
