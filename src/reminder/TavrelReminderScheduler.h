#pragma once
// CTavrelReminderScheduler: when the device starts the reminder program next. The program keeps no
// state between runs; before it ends it registers its own next start with the device's
// run-at-time service at the earliest time a reminder falls due within the next 14 days, and
// records that time as "Next Reminder". Reminders further ahead are picked up by a later run.

#include "reminder/TavrelReminderStore.h"

#include "platform/device/WideText.h"

#include <optional>

class CTavrelReminderScheduler {
public:
    static constexpr int HorizonDays = 14;

    // `program` is the device path the run-at-time service starts: the running program's own.
    CTavrelReminderScheduler(CTavrelReminderStore& store, device::WideString program);
    virtual ~CTavrelReminderScheduler() = default;

    // Registers the next start at the earliest reminder before now + 14 days, or cancels the
    // pending start when there is none, and rewrites "Next Reminder". False when the start could
    // not be registered (or cancelled); "Next Reminder" is written all the same.
    bool ScheduleNextRun(const device::OleDateTime& now);
    // Registers the next start at `time`, or with nothing cancels it.
    bool ScheduleRunAt(const std::optional<device::OleDateTime>& time);

private:
    CTavrelReminderStore& m_store;
    device::WideString m_program;
};
