#pragma once
// CQoLog: the diagnostic log of the calendar program. One process-wide object writes stamped,
// thread-tagged lines to a fresh file in the device's root, named after the running program
// ("\Program Files\Tavrel\Tavrel.exe" logs to "\Tavrel_log.txt").
//
// Logging is off unless the program's switch in the registry is on. Every trace line of the
// program goes through Log (or LogWithDebugOutput), which asks the switch first: with the switch
// off nothing is formatted, the log is never opened and no file is created. GetLog().Trace writes
// whatever the switch says.

#include "platform/device/CriticalSection.h"
#include "platform/device/File.h"
#include "platform/device/Printf.h"

#include <cstdint>
#include <span>

class CQoLog {
public:
    // The logging switches: one DWORD per program under HKLM "Software\Orvix\QoLog", named after
    // the program; non-zero means on. The calendar program's is "Tavrel" (default 0, written back
    // when missing).
    static constexpr const char16_t* SwitchKeyPath = u"Software\\Orvix\\QoLog";
    static constexpr const char16_t* SwitchName = u"Tavrel";

    // One line for the log when the switch is on (formatted as Trace formats).
    template <typename... Args>
    static void Log(const char16_t* format, const Args&... args)
    {
        if (IsEnabled())
            GetLog().Trace(format, args...);
    }
    // The text to the debugger output whatever the switch says, and as one line to the log when it
    // is on.
    static void LogWithDebugOutput(const char16_t* text);

    // Whether the switch is on. The key is opened once and kept; it is opened again when the
    // process turns to another device (tests do), whose registry the old handle no longer reaches.
    static bool IsEnabled();

    // Within its life, the calling thread's IsEnabled answers with the switch as it was when the
    // snapshot was made. The reader takes one per rebuild: every event it adds may log, and one
    // registry read per pass instead of one per event halves the pass.
    class SwitchSnapshot {
    public:
        SwitchSnapshot();
        ~SwitchSnapshot();
        SwitchSnapshot(const SwitchSnapshot&) = delete;
        SwitchSnapshot& operator=(const SwitchSnapshot&) = delete;

    private:
        int m_previous;
    };

    // The log, constructed on first use; opens the file when it is not open.
    static CQoLog& GetLog();

    template <typename... Args>
    void Trace(const char16_t* format, const Args&... args)
    {
        const device::FormatArg list[] = {device::FormatArg(args)..., device::FormatArg(0)};
        TraceList(format, std::span<const device::FormatArg>(list, sizeof...(Args)));
    }
    template <typename... Args>
    void TraceNarrow(const char* format, const Args&... args)
    {
        const device::FormatArg list[] = {device::FormatArg(args)..., device::FormatArg(0)};
        TraceNarrowList(format, std::span<const device::FormatArg>(list, sizeof...(Args)));
    }
    void TraceList(const char16_t* format, std::span<const device::FormatArg> args);
    void TraceNarrowList(const char* format, std::span<const device::FormatArg> args);

    // Writes "Log finished" and closes the file; the next trace opens a fresh one.
    void Close();

    bool IsOpen() const { return m_open; }
    // The calling thread's indent depth: blanks in front of its messages (at most 100).
    static void SetIndent(unsigned depth);
    static unsigned GetIndent();

    // "\Tavrel_log.txt" for the running program "\Program Files\Tavrel\Tavrel.exe".
    static std::u16string LogFilePath();

    static constexpr std::size_t LineLimit = 1024;

    CQoLog(const CQoLog&) = delete;
    CQoLog& operator=(const CQoLog&) = delete;
    virtual ~CQoLog();

private:
    CQoLog();
    bool Open();
    void WriteLine(const char* message);

    device::CriticalSection m_lock;
    device::File m_file;
    bool m_open = false;
    std::int64_t m_frequency = 0;
    std::int64_t m_start = 0;
};
