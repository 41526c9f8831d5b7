#include "reminder/TavrelReminderScheduler.h"

#include "platform/device/SystemTime.h"
#include "platform/scheduler/RunAppAtTime.h"

CTavrelReminderScheduler::CTavrelReminderScheduler(CTavrelReminderStore& store, device::WideString program)
    : m_store(store)
    , m_program(std::move(program))
{
}

bool CTavrelReminderScheduler::ScheduleRunAt(const std::optional<device::OleDateTime>& time)
{
    if (!time)
        return scheduler::runAppAtTime(m_program, std::nullopt);
    device::SystemTime record;
    return time->GetAsSystemTime(record) && scheduler::runAppAtTime(m_program, record);
}

bool CTavrelReminderScheduler::ScheduleNextRun(const device::OleDateTime& now)
{
    const device::OleDateTime horizon = now + device::OleDateTimeSpan(HorizonDays, 0, 0, 0);
    const std::optional<device::OleDateTime> next = m_store.EarliestBefore(horizon);
    const bool registered = ScheduleRunAt(next);
    m_store.SetNextReminder(next);
    return registered;
}
