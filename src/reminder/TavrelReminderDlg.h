#pragma once
// CTavrelReminderDlg: the reminder dialog, the reminder program's only window (dialog 102, "Varnow
// Reminder", 140 × 153 dialog units, above all other windows). It lists the due reminders, sounds
// the alarm once before it takes input, and offers, for the selected reminder, "View / Change"
// (open it in the partner program and come back in 15 minutes), "Clear Alarm" (dismiss it for
// good) and "Snooze" (by the duration chosen in the drop-down list), and "Snooze All" for every due
// reminder. OK — "ok" in the navigation bar — snoozes every due reminder for 5 minutes.
//
// Every action updates the store and refreshes the list; when no reminder is left due the dialog
// closes itself with IDOK, and the program then schedules its next run. "View / Change" closes it
// with IDCANCEL, having arranged the next run itself. Escape does nothing: the reminders stay until
// the user acts on them.
//
// On a headless desktop each refresh also writes the listed reminders to standard error, one a
// line, as "reminder-due: ID: TEXT" (the list item's text), so scripts can see what it shows.

#include "reminder/TavrelReminderList.h"

#include "platform/ui/Dialog.h"

#include <optional>

namespace ui {
class ComboBox;
}

class CTavrelPartnerProgram;
class CTavrelReminderScheduler;
class CTavrelReminderStore;

class CTavrelReminderDlg : public ui::Dialog {
public:
    static constexpr int IDD = 102;
    static constexpr const char16_t* Caption = u"Varnow Reminder";
    static constexpr int WidthUnits = 140;
    static constexpr int HeightUnits = 153;
    static constexpr int IDC_REMINDERS = 1000;
    static constexpr int IDC_VIEW_CHANGE = 1002;
    static constexpr int IDC_CLEAR_ALARM = 1003;
    static constexpr int IDC_SNOOZE_TIME = 1004;
    static constexpr int IDC_SNOOZE = 1005;
    static constexpr int IDC_SNOOZE_ALL = 1006;
    // "View / Change" brings the reminder back this much later.
    static constexpr int ViewChangeMinutes = 15;
    // Posted at opening: the alarm sounds on the loop's first turn, once the dialog is drawn.
    static constexpr std::uint32_t WM_PLAY_ALARM = ui::WM_USER + 1;

    CTavrelReminderDlg(
        CTavrelReminderStore& store, CTavrelReminderScheduler& scheduler, CTavrelPartnerProgram& partner);

    CTavrelReminderList& List() { return m_list; }
    ui::ComboBox& Durations() { return m_durations; }
    bool AlarmPlayed() const { return m_alarmPlayed; }
    // Whether it closed through its own actions (no reminder left, or "View / Change") rather than
    // being ended from outside (the program told to quit, its window closed).
    bool ClosedItself() const { return m_closedItself; }

protected:
    bool onInitDialog() override;
    bool onOk() override;
    bool onCancel() override { return false; }
    bool onCommand(int id, int code, ui::WindowHandle source) override;
    ui::LResult handleMessage(std::uint32_t message, ui::WParam wParam, ui::LParam lParam) override;

private:
    void Refresh();
    void PlayAlarm();
    void OnSnooze();
    void OnSnoozeAll();
    void OnViewChange();
    void OnClearAlarm();
    std::optional<device::OleDateTimeSpan> SelectedDuration() const;
    void CloseItself(int result);

    CTavrelReminderStore& m_store;
    CTavrelReminderScheduler& m_scheduler;
    CTavrelPartnerProgram& m_partner;
    CTavrelReminderList& m_list;
    ui::ComboBox& m_durations;
    CQoString m_alarm;
    bool m_alarmPlayed = false;
    bool m_closedItself = false;
};
