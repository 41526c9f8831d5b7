#include "reminder/TavrelReminderStore.h"

#include "platform/device/SystemTime.h"

CTavrelReminderStore::CTavrelReminderStore()
    : m_key(HKEY_CURRENT_USER, KeyPath, true)
{
}

CQoString CTavrelReminderStore::DateText(const device::OleDateTime& time)
{
    device::SystemTime record;
    CQoString text;
    if (time.GetAsSystemTime(record))
        text.FromSystemTime(record);
    return text;
}

std::optional<device::OleDateTime> CTavrelReminderStore::ParseDate(const CQoString& text)
{
    device::SystemTime record;
    if (text.IsEmpty() || !text.ToSystemTime(record))
        return std::nullopt;
    device::OleDateTime time(record);
    if (time.GetStatus() != device::OleDateTime::Status::Valid)
        return std::nullopt;
    return time;
}

std::optional<device::OleDateTime> CTavrelReminderStore::ReadDate(CQoRegistry& reminder, const char16_t* name)
{
    if (!reminder.ValueExists(name))
        return std::nullopt;
    return ParseDate(reminder.GetString(name, nullptr));
}

std::vector<CQoString> CTavrelReminderStore::ReminderIds()
{
    std::vector<CQoString> ids;
    CQoString name;
    for (bool more = m_key.GetFirstSubKey(name); more; more = m_key.GetNextSubKey(name))
        ids.push_back(name);
    return ids;
}

std::optional<device::OleDateTime> CTavrelReminderStore::EffectiveTime(const CQoString& id)
{
    CQoRegistry reminder(m_key.GetKey(), id, false);
    if (!reminder.IsOpen())
        return std::nullopt;
    const std::optional<device::OleDateTime> due = ReadDate(reminder, ReminderValue);
    if (!due)
        return std::nullopt;
    if (!reminder.ValueExists(SnoozeUntilValue))
        return due;
    // A snooze that no longer postpones anything (or cannot be read) is dropped.
    const std::optional<device::OleDateTime> snoozed = ReadDate(reminder, SnoozeUntilValue);
    if (snoozed && !(*snoozed < *due))
        return snoozed;
    reminder.DeleteValue(SnoozeUntilValue);
    return due;
}

bool CTavrelReminderStore::IsDue(const std::optional<device::OleDateTime>& effective, const device::OleDateTime& now)
{
    return effective && effective->GetValue() != 0 && *effective < now;
}

CTavrelDismissedList CTavrelReminderStore::ReadDismissed()
{
    return CTavrelDismissedList(m_key.GetString(DismissedValue, nullptr));
}

std::vector<CTavrelDueReminder> CTavrelReminderStore::CollectDue(const device::OleDateTime& now)
{
    std::vector<CTavrelDueReminder> due;
    const CTavrelDismissedList dismissed = ReadDismissed();
    for (const CQoString& id : ReminderIds()) {
        if (dismissed.Contains(id))
            continue;
        const std::optional<device::OleDateTime> effective = EffectiveTime(id);
        if (!IsDue(effective, now))
            continue;
        CQoRegistry values(m_key.GetKey(), id, false);
        CTavrelDueReminder reminder;
        reminder.m_id = id;
        reminder.m_startText = values.GetString(StartValue, nullptr);
        reminder.m_endText = values.GetString(EndValue, nullptr);
        reminder.m_start = ParseDate(reminder.m_startText);
        reminder.m_end = ParseDate(reminder.m_endText);
        reminder.m_category = values.GetString(CategoryValue, nullptr);
        reminder.m_title = values.GetString(TitleValue, nullptr);
        reminder.m_due = *effective;
        due.push_back(std::move(reminder));
    }
    return due;
}

bool CTavrelReminderStore::SnoozeOne(const CQoString& id, const device::OleDateTime& until)
{
    // Only an existing reminder is snoozed: a key made here would be a reminder without a time.
    CQoRegistry reminder(m_key.GetKey(), id, false);
    const CQoString text = DateText(until);
    return reminder.IsOpen() && !text.IsEmpty() && reminder.SetString(SnoozeUntilValue, text);
}

void CTavrelReminderStore::SnoozeAllDue(const device::OleDateTime& until, const device::OleDateTime& now)
{
    const CTavrelDismissedList dismissed = ReadDismissed();
    for (const CQoString& id : ReminderIds())
        if (!dismissed.Contains(id) && IsDue(EffectiveTime(id), now))
            SnoozeOne(id, until);
}

bool CTavrelReminderStore::Dismiss(const CQoString& id)
{
    CTavrelDismissedList dismissed = ReadDismissed();
    dismissed.Append(id);
    const bool recorded = m_key.SetString(DismissedValue, dismissed.Text());
    const bool deleted = m_key.DeleteSubKey(id);
    return recorded && deleted;
}

std::optional<device::OleDateTime> CTavrelReminderStore::EarliestBefore(const device::OleDateTime& horizon)
{
    std::optional<device::OleDateTime> best;
    const CTavrelDismissedList dismissed = ReadDismissed();
    for (const CQoString& id : ReminderIds()) {
        if (dismissed.Contains(id))
            continue;
        const std::optional<device::OleDateTime> effective = EffectiveTime(id);
        if (effective && effective->GetValue() != 0 && *effective < (best ? *best : horizon))
            best = effective;
    }
    return best;
}

void CTavrelReminderStore::SetNextReminder(const std::optional<device::OleDateTime>& time)
{
    m_key.DeleteValue(NextReminderValue);
    if (time)
        m_key.SetString(NextReminderValue, DateText(*time));
}

CQoString CTavrelReminderStore::AlarmPath() { return m_key.GetString(AlarmValue, DefaultAlarm); }
