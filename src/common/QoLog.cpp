#include "common/QoLog.h"

#include "common/QoRegistry.h"
#include "platform/device/DebugOutput.h"
#include "platform/device/DeviceClock.h"
#include "platform/device/DeviceFolder.h"
#include "platform/device/DevicePath.h"
#include "platform/device/FileSystem.h"
#include "platform/device/RunningProgram.h"
#include "platform/device/Thread.h"

#include <array>
#include <filesystem>
#include <memory>
#include <mutex>

namespace {

thread_local unsigned t_indent = 0;
constexpr unsigned MaxIndent = 100;

// The calling thread's snapshot of the switch: -1 while it has none.
thread_local int t_switchSnapshot = -1;

// The switch's key, opened once and kept for the process, and opened again for another device.
class SwitchKey {
public:
    bool IsOn()
    {
        std::lock_guard guard(m_mutex);
        const std::filesystem::path& registryFile = device::DeviceFolder::current().registryFile();
        if (!m_key || registryFile != m_registryFile) {
            m_key = std::make_unique<CQoRegistry>(HKEY_LOCAL_MACHINE, CQoLog::SwitchKeyPath, true);
            m_registryFile = registryFile;
        }
        return m_key->GetDWORD(CQoLog::SwitchName, 0) != 0;
    }

private:
    std::mutex m_mutex;
    std::unique_ptr<CQoRegistry> m_key; // closed when the process ends
    std::filesystem::path m_registryFile;
};

bool readSwitch()
{
    static SwitchKey key;
    return key.IsOn();
}

// The program's build date and time in the compiler's form: "Dec  8 2026" and "15:45:10".
constexpr const char* BuildDate = __DATE__;
constexpr const char* BuildTime = __TIME__;

} // namespace

bool CQoLog::IsEnabled()
{
    if (t_switchSnapshot >= 0)
        return t_switchSnapshot != 0;
    return readSwitch();
}

CQoLog::SwitchSnapshot::SwitchSnapshot() : m_previous(t_switchSnapshot) { t_switchSnapshot = readSwitch() ? 1 : 0; }

CQoLog::SwitchSnapshot::~SwitchSnapshot() { t_switchSnapshot = m_previous; }

void CQoLog::LogWithDebugOutput(const char16_t* text)
{
    device::debugOutput(text);
    Log(u"%s", text);
}

CQoLog& CQoLog::GetLog()
{
    static CQoLog log;
    if (!log.m_open)
        log.Open();
    return log;
}

CQoLog::CQoLog()
{
    m_frequency = device::DeviceClock::performanceFrequency();
    m_start = device::DeviceClock::performanceCounter();
}

CQoLog::~CQoLog() { Close(); }

void CQoLog::SetIndent(unsigned depth) { t_indent = depth; }

unsigned CQoLog::GetIndent() { return t_indent; }

std::u16string CQoLog::LogFilePath()
{
    std::u16string name = device::RunningProgram::fileName();
    std::size_t dot = name.rfind(u'.');
    if (dot != std::u16string::npos)
        name.resize(dot);
    return u"\\" + name + u"_log.txt";
}

bool CQoLog::Open()
{
    SetIndent(0);
    std::u16string path = LogFilePath();
    {
        device::ScopedLock lock(m_lock);
        if (m_open)
            return true;
        // Each run starts a fresh log.
        device::FileSystem::removeFile(path);
        if (!m_file.open(path, device::File::ReadWrite, device::File::Disposition::OpenAlways))
            return false;
        m_file.seek(0, device::File::Origin::End);
        m_open = true;
    }
    device::SystemTime now = device::DeviceClock::localNow();
    Trace(u"=============================================");
    Trace(u"Log is started on %02u.%02u.%04u, at %02u:%02u:%02u:%03u, executable: %s (ProcID: 0x%08x), compile time : %S %S",
          now.day, now.month, now.year, now.hour, now.minute, now.second, now.milliseconds,
          device::RunningProgram::devicePath(), device::currentProcessId(), BuildDate, BuildTime);
    return true;
}

void CQoLog::TraceList(const char16_t* format, std::span<const device::FormatArg> args)
{
    if (!m_open)
        return;
    std::array<char16_t, LineLimit> text;
    if (device::formatInto(text.data(), text.size(), format, args).truncated)
        return; // too long for the log: dropped
    std::string message = device::toCodePage(text.data());
    WriteLine(message.c_str());
}

void CQoLog::TraceNarrowList(const char* format, std::span<const device::FormatArg> args)
{
    if (!m_open)
        return;
    std::array<char, LineLimit> text;
    if (device::formatInto(text.data(), text.size(), format, args).truncated)
        return;
    WriteLine(text.data());
}

void CQoLog::WriteLine(const char* message)
{
    device::ScopedLock lock(m_lock);
    if (!m_open)
        return;
    device::SystemTime now = device::DeviceClock::localNow();
    std::array<char, 64> stamp;
    const device::FormatArg stampArgs[] = {now.hour, now.minute, now.second, device::DeviceClock::performanceCounter()};
    device::formatInto(stamp.data(), stamp.size(), "%02u:%02u:%02u(%I64d)", stampArgs);
    std::string indent(t_indent < MaxIndent ? t_indent : MaxIndent, ' ');
    std::array<char, LineLimit> line;
    const device::FormatArg lineArgs[] = {stamp.data(), device::currentThreadId(), indent, message};
    auto result = device::formatInto(line.data(), line.size(), "%s,thr 0x%08X : %s%s\r\n", lineArgs);
    if (result.truncated)
        return;
    m_file.seek(0, device::File::Origin::End);
    if (m_file.write(line.data(), result.length) < result.length)
        m_file.flush();
}

void CQoLog::Close()
{
    device::ScopedLock lock(m_lock);
    if (!m_open)
        return;
    WriteLine("Log finished");
    m_file.close();
    m_open = false;
}
