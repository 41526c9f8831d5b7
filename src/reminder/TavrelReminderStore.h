#pragma once
// CTavrelReminderStore: the reminder store, the current user's key "Software\Orvix\Tavrel\Reminder",
// opened (and created when missing) once and held for the program's run.
//
// Another program fills it: one subkey per reminder, named by the reminder's identifier, with the
// text values "Title", "Category", "Start", "End", "Reminder" (when it falls due) and, once the user
// has postponed it, "Snooze Until". Date-times are texts as the device locale writes them
// ("12/8/2026 9:00:00 AM"). The key itself holds "Dismissed" (the dismissed identifiers, see
// CTavrelDismissedList), "Next Reminder" (when this program runs next) and "Alarm" (the sound).
//
// A reminder whose "Reminder" is missing or no date-time is never due and never scheduled: the
// store's writer always provides it, and there is no time to go by without it.

#include "common/QoRegistry.h"
#include "reminder/TavrelDismissedList.h"
#include "reminder/TavrelDueReminder.h"

#include <optional>
#include <vector>

class CTavrelReminderStore {
public:
    static constexpr const char16_t* KeyPath = u"Software\\Orvix\\Tavrel\\Reminder";
    static constexpr const char16_t* DismissedValue = u"Dismissed";
    static constexpr const char16_t* NextReminderValue = u"Next Reminder";
    static constexpr const char16_t* AlarmValue = u"Alarm";
    static constexpr const char16_t* DefaultAlarm = u"\\Windows\\Alarm2.wav";
    static constexpr const char16_t* TitleValue = u"Title";
    static constexpr const char16_t* CategoryValue = u"Category";
    static constexpr const char16_t* StartValue = u"Start";
    static constexpr const char16_t* EndValue = u"End";
    static constexpr const char16_t* ReminderValue = u"Reminder";
    static constexpr const char16_t* SnoozeUntilValue = u"Snooze Until";

    CTavrelReminderStore();
    virtual ~CTavrelReminderStore() = default;

    bool IsOpen() const { return m_key.IsOpen(); }

    // The identifiers of the reminders, in the store's enumeration order.
    std::vector<CQoString> ReminderIds();

    // When the reminder is due: "Snooze Until" when it is not earlier than "Reminder", else
    // "Reminder" — and a "Snooze Until" earlier than "Reminder" is deleted on the way. Nothing when
    // "Reminder" is missing or no date-time.
    std::optional<device::OleDateTime> EffectiveTime(const CQoString& id);
    // Due at `now`: a time that is not day zero and lies before `now`.
    static bool IsDue(const std::optional<device::OleDateTime>& effective, const device::OleDateTime& now);

    CTavrelDismissedList ReadDismissed();
    bool IsDismissed(const CQoString& id) { return ReadDismissed().Contains(id); }

    // The reminders due at `now` that are not dismissed, in enumeration order.
    std::vector<CTavrelDueReminder> CollectDue(const device::OleDateTime& now);

    bool SnoozeOne(const CQoString& id, const device::OleDateTime& until);
    // Writes "Snooze Until" of every reminder due at `now`.
    void SnoozeAllDue(const device::OleDateTime& until, const device::OleDateTime& now);

    // Adds the identifier to "Dismissed" and deletes the reminder's subkey. False when either fails.
    bool Dismiss(const CQoString& id);

    // The earliest effective time of a reminder that is not dismissed and lies before `horizon`;
    // between equal times the one enumerated first.
    std::optional<device::OleDateTime> EarliestBefore(const device::OleDateTime& horizon);

    // "Next Reminder": deleted, and written again when there is a time.
    void SetNextReminder(const std::optional<device::OleDateTime>& time);

    // The alarm's sound file; "Alarm" is written with the standard alarm when it is missing.
    CQoString AlarmPath();

    static CQoString DateText(const device::OleDateTime& time);
    static std::optional<device::OleDateTime> ParseDate(const CQoString& text);

private:
    std::optional<device::OleDateTime> ReadDate(CQoRegistry& reminder, const char16_t* name);

    CQoRegistry m_key;
};
