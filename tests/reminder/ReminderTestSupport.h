#pragma once
// A reminder store on a throw-away device with the device clock frozen at Tuesday, 8 December 2026,
// 9:00:00 AM, and helpers that write reminders as the store's writer does.

#include "PinnedClock.h"
#include "TempDevice.h"

#include "common/QoRegistry.h"
#include "platform/device/DeviceClock.h"
#include "platform/device/OleDateTime.h"
#include "platform/device/RunningProgram.h"
#include "platform/scheduler/RunAppAtTime.h"
#include "reminder/TavrelReminderStore.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace reminder_testing {

inline constexpr const char16_t* ReminderProgram = u"\\Program Files\\Tavrel\\TavrelReminder.Exe";

// A reminder as the writer stores it; every field but the identifier has a default.
struct Reminder {
    explicit Reminder(std::u16string identifier)
        : id(std::move(identifier))
    {
    }
    Reminder& Title(std::u16string text)
    {
        title = std::move(text);
        return *this;
    }
    Reminder& Category(std::u16string text)
    {
        category = std::move(text);
        return *this;
    }
    Reminder& Start(std::u16string text)
    {
        start = std::move(text);
        return *this;
    }
    Reminder& End(std::u16string text)
    {
        end = std::move(text);
        return *this;
    }
    Reminder& At(std::optional<std::u16string> text)
    {
        reminder = std::move(text);
        return *this;
    }
    Reminder& SnoozeUntil(std::u16string text)
    {
        snoozeUntil = std::move(text);
        return *this;
    }

    std::u16string id;
    std::u16string title = u"Standup";
    std::u16string category = u"Meeting";
    std::u16string start = u"12/8/2026 8:30:00 AM";
    std::u16string end = u"12/8/2026 9:30:00 AM";
    std::optional<std::u16string> reminder = u"12/8/2026 8:30:00 AM";
    std::optional<std::u16string> snoozeUntil;
};

class ReminderStoreTest : public ::testing::Test {
protected:
    ReminderStoreTest() { device::RunningProgram::setDevicePath(ReminderProgram); }

    static void Write(const Reminder& reminder)
    {
        CQoRegistry key(
            HKEY_CURRENT_USER, (std::u16string(CTavrelReminderStore::KeyPath) + u"\\" + reminder.id).c_str(), true);
        ASSERT_TRUE(key.IsOpen());
        key.SetString(u"Title", reminder.title.c_str());
        key.SetString(u"Category", reminder.category.c_str());
        key.SetString(u"Start", reminder.start.c_str());
        key.SetString(u"End", reminder.end.c_str());
        if (reminder.reminder)
            key.SetString(u"Reminder", reminder.reminder->c_str());
        if (reminder.snoozeUntil)
            key.SetString(u"Snooze Until", reminder.snoozeUntil->c_str());
    }

    // A value of the store's key, or of a reminder's subkey; nothing when it is missing.
    static std::optional<std::u16string> Value(const char16_t* name, const std::u16string& id = {})
    {
        std::u16string path = CTavrelReminderStore::KeyPath;
        if (!id.empty())
            path += u"\\" + id;
        CQoRegistry key(HKEY_CURRENT_USER, path.c_str(), false);
        if (!key.IsOpen() || !key.ValueExists(name))
            return std::nullopt;
        return std::u16string(key.GetString(name, nullptr).GetString());
    }

    static bool Exists(const std::u16string& id)
    {
        CQoRegistry key(HKEY_CURRENT_USER, CTavrelReminderStore::KeyPath, false);
        return key.SubKeyExists(id.c_str());
    }

    // When the run-at-time service starts the reminder program next, as the locale writes it.
    static std::string PendingStart()
    {
        const std::optional<device::SystemTime> time = scheduler::pendingStart(ReminderProgram);
        return time ? device::toUtf8(device::OleDateTime(*time).Format()) : "none";
    }

    static device::OleDateTime Now() { return device::OleDateTime::GetCurrentTime(); }

    static device::OleDateTime At(int hour, int minute, int day = 8)
    {
        return device::OleDateTime(2026, 12, day, hour, minute, 0);
    }

    testing_support::TempDevice deviceFolder;
    testing_support::PinnedClock clock {testing_support::localTime(2026, 12, 8, 9, 0)};
};

} // namespace reminder_testing
