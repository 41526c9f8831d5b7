#pragma once
// CQoLog: the diagnostic log of the calendar program. One process-wide object writes stamped,
// thread-tagged lines to a fresh file in the device's root, named after the running program
// ("\Program Files\Tavrel\Tavrel.exe" logs to "\Tavrel_log.txt"). Callers check the program's
// logging switch first; with the switch off the log is never opened and no file is created.

#include "platform/device/CriticalSection.h"
#include "platform/device/File.h"
#include "platform/device/Printf.h"

#include <cstdint>
#include <span>

class CQoLog {
public:
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
