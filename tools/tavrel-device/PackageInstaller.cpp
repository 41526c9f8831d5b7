#include "PackageInstaller.h"

#include "InstallerDesktop.h"

#include "platform/device/DevicePath.h"
#include "platform/device/FileSystem.h"
#include "platform/device/ProgramTable.h"
#include "platform/installer/SetupLibrary.h"
#include "platform/registry/ScopedKey.h"

#include <algorithm>
#include <fstream>
#include <ostream>
#include <set>

namespace {

using device::WideString;

bool SetText(registry::HKEY key, device::WideView name, device::WideView text)
{
    const WideString value(text);
    return registry::setValue(key, name, registry::REG_SZ, value.c_str(),
                              std::uint32_t((value.size() + 1) * sizeof(char16_t)))
           == registry::ERROR_SUCCESS;
}

std::optional<WideString> GetText(registry::HKEY key, device::WideView name)
{
    std::uint32_t type = 0, size = 0;
    if (registry::queryValue(key, name, &type, nullptr, &size) != registry::ERROR_SUCCESS || type != registry::REG_SZ)
        return std::nullopt;
    std::vector<char16_t> buffer(size / sizeof(char16_t) + 1, u'\0');
    if (registry::queryValue(key, name, &type, buffer.data(), &size) != registry::ERROR_SUCCESS)
        return std::nullopt;
    return WideString(buffer.data());
}

bool SetList(registry::HKEY key, device::WideView name, const std::vector<WideString>& items)
{
    std::u16string data;
    for (const WideString& item : items) {
        data += item;
        data += u'\0';
    }
    data += u'\0';
    return registry::setValue(key, name, registry::REG_MULTI_SZ, data.data(), std::uint32_t(data.size() * sizeof(char16_t)))
           == registry::ERROR_SUCCESS;
}

std::vector<WideString> GetList(registry::HKEY key, device::WideView name)
{
    std::vector<WideString> items;
    std::uint32_t type = 0, size = 0;
    if (registry::queryValue(key, name, &type, nullptr, &size) != registry::ERROR_SUCCESS || type != registry::REG_MULTI_SZ)
        return items;
    std::vector<char16_t> buffer(size / sizeof(char16_t) + 1, u'\0');
    if (registry::queryValue(key, name, &type, buffer.data(), &size) != registry::ERROR_SUCCESS)
        return items;
    WideString current;
    for (std::size_t i = 0; i < size / sizeof(char16_t); ++i) {
        if (buffer[i] != u'\0') {
            current += buffer[i];
        } else if (!current.empty()) {
            items.push_back(current);
            current.clear();
        }
    }
    return items;
}

std::string Narrow(device::WideView text) { return device::toUtf8(text); }

} // namespace

const std::vector<PackageInstaller::Program>& PackageInstaller::Programs()
{
    static const std::vector<Program> programs = {
        {u"\\Program Files\\Tavrel\\Tavrel.exe", "tavrel", Shortcut},
        {u"\\Program Files\\Tavrel\\TavrelReminder.Exe", "tavrel-reminder", nullptr},
        {u"\\Program Files\\Tavrel\\QoLogConfig.exe", "qolog-config", u"\\Windows\\Start Menu\\Programs\\QoLog Config.lnk"},
    };
    return programs;
}

PackageInstaller::PackageInstaller(std::filesystem::path package, std::filesystem::path programs,
                                   std::optional<std::filesystem::path> setupLibrary)
    : m_package(std::move(package)), m_programs(std::move(programs))
    , m_setupLibrary(setupLibrary.value_or(m_programs / SetupLibraryName))
{
}

std::filesystem::path PackageInstaller::PackageBeside(const std::filesystem::path& programs)
{
    return (programs.parent_path() / "assets" / "package").lexically_normal();
}

std::string PackageInstaller::ShortcutText(device::WideView programPath)
{
    std::string command(1, '"');
    command += device::toCodePage(programPath);
    command += '"';
    std::string text = std::to_string(command.size());
    text += '#';
    text += command;
    return text;
}

bool PackageInstaller::ListPackage(std::vector<PackageFile>& files, std::string& error) const
{
    std::error_code ec;
    if (!std::filesystem::is_directory(m_package / "Program Files" / "Tavrel", ec)) {
        error = "no Tavrel package in " + m_package.string() + " (build it first)";
        return false;
    }
    for (auto it = std::filesystem::recursive_directory_iterator(m_package, ec); !ec && it != std::filesystem::end(it);
         it.increment(ec)) {
        if (!it->is_regular_file(ec))
            continue;
        const std::filesystem::path relative = it->path().lexically_relative(m_package);
        WideString devicePath;
        for (const std::filesystem::path& part : relative) {
            devicePath += u'\\';
            devicePath += device::fromUtf8(part.string());
        }
        if (!device::DevicePath::split(devicePath)) {
            error = "the package holds a file the device cannot name: " + relative.string();
            return false;
        }
        files.push_back({it->path(), devicePath});
    }
    if (ec) {
        error = "cannot read the package " + m_package.string() + ": " + ec.message();
        return false;
    }
    std::sort(files.begin(), files.end(), [](const PackageFile& a, const PackageFile& b) { return a.device < b.device; });
    return true;
}

std::filesystem::file_time_type PackageInstaller::NewestTime(const std::vector<PackageFile>& files) const
{
    // The file clock counts from its own epoch, which may lie after every real time.
    std::filesystem::file_time_type newest = std::filesystem::file_time_type::min();
    std::error_code ec;
    for (const PackageFile& file : files)
        newest = std::max(newest, std::filesystem::last_write_time(file.host, ec));
    std::vector<std::filesystem::path> hostFiles = {m_setupLibrary};
    for (const Program& program : Programs())
        hostFiles.push_back(m_programs / program.hostName);
    for (const std::filesystem::path& host : hostFiles) {
        const auto time = std::filesystem::last_write_time(host, ec);
        if (!ec)
            newest = std::max(newest, time);
    }
    return newest;
}

std::unique_ptr<installer::SetupLibrary> PackageInstaller::LoadSetupLibrary(const std::filesystem::path& file,
                                                                            std::ostream& err)
{
    std::string error;
    std::unique_ptr<installer::SetupLibrary> setup = installer::SetupLibrary::load(file, &error);
    if (!setup)
        err << "tavrel-device: the setup library " << error << "; going on without it\n";
    return setup;
}

bool PackageInstaller::CopyFiles(const std::vector<PackageFile>& files, std::vector<WideString>& copied,
                                 std::ostream& err) const
{
    for (const PackageFile& file : files) {
        std::ifstream in(file.host, std::ios::binary);
        const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), {}};
        if (!in.eof() && in.fail()) {
            err << "tavrel-device: cannot read " << file.host.string() << "\n";
            return false;
        }
        if (!device::FileSystem::createDirectories(device::DevicePath::parent(file.device))
            || !device::FileSystem::writeAll(file.device, bytes)) {
            err << "tavrel-device: cannot write " << Narrow(file.device) << "\n";
            return false;
        }
        copied.push_back(file.device);
    }
    for (const Program& program : Programs()) {
        if (!program.shortcut)
            continue;
        const std::string shortcut = ShortcutText(program.devicePath);
        if (!device::FileSystem::createDirectories(device::DevicePath::parent(program.shortcut))
            || !device::FileSystem::writeAll(program.shortcut, shortcut.data(), shortcut.size())) {
            err << "tavrel-device: cannot write " << Narrow(program.shortcut) << "\n";
            return false;
        }
    }
    return true;
}

bool PackageInstaller::RecordPrograms(const installer::SetupLibrary* setup, std::ostream& out, std::ostream& err) const
{
    std::string error;
    for (const Program& program : Programs()) {
        const std::filesystem::path host = m_programs / program.hostName;
        std::error_code ec;
        if (!std::filesystem::exists(host, ec)) {
            device::ProgramTable::remove(program.devicePath);
            out << "note: " << program.hostName << " is not built; " << Narrow(program.devicePath)
                << " cannot be started until it is and the package is installed again\n";
            continue;
        }
        if (!device::ProgramTable::set(program.devicePath, std::filesystem::absolute(host).lexically_normal(), &error)) {
            err << "tavrel-device: " << error << "\n";
            return false;
        }
    }
    const bool recorded = setup ? device::ProgramTable::set(SetupLibraryPath, setup->file().lexically_normal(), &error)
                                : device::ProgramTable::remove(SetupLibraryPath, &error);
    if (!recorded) {
        err << "tavrel-device: " << error << "\n";
        return false;
    }
    return true;
}

bool PackageInstaller::Install(std::ostream& out, std::ostream& err)
{
    std::vector<PackageFile> files;
    std::string error;
    if (!ListPackage(files, error)) {
        err << "tavrel-device: " << error << "\n";
        return false;
    }

    const bool fresh = !IsInstalled();
    const std::unique_ptr<installer::SetupLibrary> setup = LoadSetupLibrary(m_setupLibrary, err);
    if (setup && setup->installInit(nullptr, true, !fresh, InstallFolder) != installer::codeINSTALL_INIT_CONTINUE) {
        err << "tavrel-device: the setup library " << setup->file().string() << " cancelled the installation\n";
        return false;
    }

    std::vector<WideString> copied;
    if (!CopyFiles(files, copied, err) || !RecordPrograms(setup.get(), out, err))
        return false;

    registry::ScopedKey key;
    if (registry::ScopedKey::create(registry::HKEY_LOCAL_MACHINE, InstallKey, key) != registry::ERROR_SUCCESS) {
        err << "tavrel-device: cannot write HKEY_LOCAL_MACHINE\\" << Narrow(InstallKey) << "\n";
        return false;
    }
    const std::uint32_t one = 1;
    const bool written = SetText(key.get(), u"InstallDir", InstallFolder)
                         && registry::setValue(key.get(), u"Instl", registry::REG_DWORD, &one, sizeof one) == registry::ERROR_SUCCESS
                         && SetList(key.get(), u"InstalledFiles", copied)
                         && SetText(key.get(), u"PackageTime",
                                    device::fromUtf8(std::to_string(NewestTime(files).time_since_epoch().count())));
    if (!written) {
        err << "tavrel-device: cannot write HKEY_LOCAL_MACHINE\\" << Narrow(InstallKey) << "\n";
        return false;
    }
    key.reset();
    // A fresh installation starts the calendar as new: its next start applies the package's
    // default skin, even when the calendar ran on this device before the package was there.
    // Installing again over an installation keeps the user's skin.
    if (fresh) {
        registry::ScopedKey settings;
        if (registry::ScopedKey::create(registry::HKEY_CURRENT_USER, SettingsKey, settings) != registry::ERROR_SUCCESS
            || registry::setValue(settings.get(), u"Initialized", registry::REG_DWORD, &one, sizeof one) != registry::ERROR_SUCCESS) {
            err << "tavrel-device: cannot write HKEY_CURRENT_USER\\" << Narrow(SettingsKey) << "\n";
            return false;
        }
    }

    if (setup && setup->installExit(nullptr, InstallFolder) != installer::codeINSTALL_EXIT_DONE) {
        err << "tavrel-device: the setup library " << setup->file().string()
            << " asked to take the installation back; removing it\n";
        RemoveInstallation(err);
        return false;
    }
    out << "installed Tavrel (" << copied.size() << " files) into " << Narrow(InstallFolder) << "\n";
    return true;
}

bool PackageInstaller::IsInstalled()
{
    // The calendar itself creates the install key when it looks for the install folder, so only
    // the installer's own mark tells an installation from none.
    registry::ScopedKey key;
    if (registry::ScopedKey::open(registry::HKEY_LOCAL_MACHINE, InstallKey, key) != registry::ERROR_SUCCESS)
        return false;
    std::uint32_t mark = 0, size = sizeof mark, type = 0;
    return registry::queryValue(key.get(), u"Instl", &type, &mark, &size) == registry::ERROR_SUCCESS
           && type == registry::REG_DWORD && mark == 1;
}

bool PackageInstaller::IsUpToDate() const
{
    registry::ScopedKey key;
    if (registry::ScopedKey::open(registry::HKEY_LOCAL_MACHINE, InstallKey, key) != registry::ERROR_SUCCESS)
        return false;
    std::vector<PackageFile> files;
    std::string error;
    if (!ListPackage(files, error))
        return false;
    const std::optional<WideString> time = GetText(key.get(), u"PackageTime");
    if (!time || *time != device::fromUtf8(std::to_string(NewestTime(files).time_since_epoch().count())))
        return false;
    const std::vector<WideString> recorded = GetList(key.get(), u"InstalledFiles");
    std::set<WideString> recordedSet(recorded.begin(), recorded.end());
    for (const PackageFile& file : files)
        if (!recordedSet.count(file.device) || !device::FileSystem::isFile(file.device))
            return false;
    auto mappedAsInstalled = [](device::WideView devicePath, const std::filesystem::path& host) {
        std::error_code ec;
        const std::optional<std::filesystem::path> mapped = device::ProgramTable::find(devicePath);
        const bool built = std::filesystem::exists(host, ec);
        return built == mapped.has_value() && (!built || *mapped == std::filesystem::absolute(host).lexically_normal());
    };
    for (const Program& program : Programs()) {
        if (!mappedAsInstalled(program.devicePath, m_programs / program.hostName))
            return false;
        if (program.shortcut && !device::FileSystem::isFile(program.shortcut))
            return false;
    }
    return mappedAsInstalled(SetupLibraryPath, m_setupLibrary);
}

std::optional<std::size_t> PackageInstaller::RemoveInstallation(std::ostream& err)
{
    registry::ScopedKey key;
    if (registry::ScopedKey::open(registry::HKEY_LOCAL_MACHINE, InstallKey, key) != registry::ERROR_SUCCESS)
        return 0;
    const std::vector<WideString> files = GetList(key.get(), u"InstalledFiles");
    std::set<WideString> folders;
    std::size_t removed = 0;
    for (const WideString& file : files) {
        if (device::FileSystem::isFile(file) && device::FileSystem::removeFile(file))
            ++removed;
        for (WideString folder = device::DevicePath::parent(file); folder != u"\\"; folder = device::DevicePath::parent(folder))
            folders.insert(folder);
    }
    // The deepest folders first, so that a folder emptied by its subfolders goes too; folders that
    // hold anything else, and the device's standard folders, stay.
    std::vector<WideString> deepestFirst(folders.begin(), folders.end());
    std::sort(deepestFirst.begin(), deepestFirst.end(),
              [](const WideString& a, const WideString& b) { return a.size() > b.size(); });
    for (const WideString& folder : deepestFirst)
        if (!device::equalsNoCase(folder, u"\\My Documents") && !device::equalsNoCase(folder, u"\\Program Files"))
            device::FileSystem::removeDirectory(folder);
    for (const Program& program : Programs()) {
        if (program.shortcut)
            device::FileSystem::removeFile(program.shortcut);
        device::ProgramTable::remove(program.devicePath);
    }
    device::ProgramTable::remove(SetupLibraryPath);

    for (const char16_t* name : {u"InstallDir", u"Instl", u"InstalledFiles", u"PackageTime"})
        registry::deleteValue(key.get(), name);
    key.reset();
    const registry::Status status = registry::deleteKey(registry::HKEY_LOCAL_MACHINE, InstallKey);
    if (status != registry::ERROR_SUCCESS && status != registry::ERROR_FILE_NOT_FOUND && status != registry::ERROR_ACCESS_DENIED) {
        err << "tavrel-device: cannot remove HKEY_LOCAL_MACHINE\\" << Narrow(InstallKey) << "\n";
        return std::nullopt;
    }
    return removed;
}

bool PackageInstaller::Uninstall(std::ostream& out, std::ostream& err, InstallerDesktop& desktop)
{
    {
        // The key alone is no installation: the calendar opens it (creating it) to read the install
        // folder, so it is there on any device the calendar has run on. Only the record says what
        // was installed.
        registry::ScopedKey key;
        if (registry::ScopedKey::open(registry::HKEY_LOCAL_MACHINE, InstallKey, key) != registry::ERROR_SUCCESS
            || (!GetText(key.get(), u"InstallDir") && GetList(key.get(), u"InstalledFiles").empty())) {
            out << "Tavrel is not installed\n";
            return true;
        }
    }
    // The library the package was installed with; an installation without one goes without.
    std::unique_ptr<installer::SetupLibrary> setup;
    if (const std::optional<std::filesystem::path> library = device::ProgramTable::find(SetupLibraryPath))
        setup = LoadSetupLibrary(*library, err);
    if (setup) {
        // Uninstall_Init asks whether the settings stay: its message box needs the window system.
        // Without one nobody can answer No, and the settings stay.
        desktop.open(err);
        if (setup->uninstallInit(nullptr, InstallFolder) != installer::codeUNINSTALL_INIT_CONTINUE) {
            err << "tavrel-device: the setup library " << setup->file().string() << " kept the package installed\n";
            return false;
        }
    }
    const std::optional<std::size_t> removed = RemoveInstallation(err);
    if (setup)
        setup->uninstallExit(nullptr);
    if (!removed)
        return false;
    out << "uninstalled Tavrel (" << *removed << " files)\n";
    return true;
}
