#include "reminder/TavrelReminderDlg.h"

#include "reminder/TavrelPartnerProgram.h"
#include "reminder/TavrelReminderMessages.h"
#include "reminder/TavrelReminderScheduler.h"
#include "reminder/TavrelReminderStore.h"
#include "reminder/TavrelSnoozeDurations.h"

#include "platform/sound/SoundPlayer.h"
#include "platform/ui/ComboBox.h"
#include "platform/ui/Desktop.h"
#include "platform/ui/PushButton.h"

#include <cstdio>

CTavrelReminderDlg::CTavrelReminderDlg(
    CTavrelReminderStore& store, CTavrelReminderScheduler& scheduler, CTavrelPartnerProgram& partner)
    : Dialog(Caption, WidthUnits, HeightUnits)
    , m_store(store)
    , m_scheduler(scheduler)
    , m_partner(partner)
    , m_list(add<CTavrelReminderList>(IDC_REMINDERS, 0, 0, 140, 113))
    , m_durations(add<ui::ComboBox>(IDC_SNOOZE_TIME, 90, 133, 43, 129))
{
    setId(IDD);
    setTopMost(true);
    add<ui::PushButton>(IDC_VIEW_CHANGE, 69, 115, 64, 14, u"View / Change");
    add<ui::PushButton>(IDC_CLEAR_ALARM, 7, 115, 54, 14, u"Clear Alarm");
    add<ui::PushButton>(IDC_SNOOZE, 7, 132, 34, 14, u"Snooze").setDefault(true);
    add<ui::PushButton>(IDC_SNOOZE_ALL, 46, 132, 40, 14, u"Snooze All");
    m_durations.setKind(ui::ComboBox::Kind::DropDownList);
}

bool CTavrelReminderDlg::onInitDialog()
{
    m_alarmPlayed = false;
    m_closedItself = false;
    m_durations.resetContent();
    for (const CTavrelSnoozeDurations::Duration& duration : CTavrelSnoozeDurations::All)
        m_durations.addString(duration.text);
    Refresh();
    if (!m_list.Reminders().empty()) {
        m_alarm = m_store.AlarmPath();
        post(WM_PLAY_ALARM);
    }
    return true;
}

ui::LResult CTavrelReminderDlg::handleMessage(std::uint32_t message, ui::WParam wParam, ui::LParam lParam)
{
    if (message == WM_PLAY_ALARM) {
        PlayAlarm();
        return 0;
    }
    return Dialog::handleMessage(message, wParam, lParam);
}

void CTavrelReminderDlg::PlayAlarm()
{
    if (m_alarmPlayed)
        return;
    m_alarmPlayed = true;
    // The dialog shows while the alarm sounds; input waits until it has ended.
    if (ui::Desktop* desktop = ui::Desktop::instance())
        desktop->updateNow();
    sound::SoundPlayer::playSync(m_alarm.View());
}

void CTavrelReminderDlg::CloseItself(int result)
{
    m_closedItself = true;
    endDialog(result);
}

void CTavrelReminderDlg::Refresh()
{
    m_durations.setCurSel(m_durations.findStringExact(-1, CTavrelSnoozeDurations::Default));
    m_list.SetReminders(m_store.CollectDue(device::OleDateTime::GetCurrentTime()));
    if (m_list.Reminders().empty()) {
        CloseItself(ui::IDOK);
        return;
    }
    invalidate();
    if (desktop() && desktop()->isHeadless()) {
        for (const CTavrelDueReminder& reminder : m_list.Reminders())
            std::fprintf(stderr, "reminder-due: %s: %s\n", device::toUtf8(reminder.m_id.View()).c_str(),
                device::toUtf8(CTavrelReminderList::ItemText(reminder).View()).c_str());
        std::fflush(stderr);
    }
}

std::optional<device::OleDateTimeSpan> CTavrelReminderDlg::SelectedDuration() const
{
    const int selection = m_durations.curSel();
    if (selection < 0)
        return std::nullopt;
    return CTavrelSnoozeDurations::Find(m_durations.itemText(selection));
}

bool CTavrelReminderDlg::onCommand(int id, int code, ui::WindowHandle source)
{
    if (code != ui::BN_CLICKED)
        return Dialog::onCommand(id, code, source);
    switch (id) {
    case IDC_SNOOZE:
        OnSnooze();
        return true;
    case IDC_SNOOZE_ALL:
        OnSnoozeAll();
        return true;
    case IDC_VIEW_CHANGE:
        OnViewChange();
        return true;
    case IDC_CLEAR_ALARM:
        OnClearAlarm();
        return true;
    default:
        return Dialog::onCommand(id, code, source);
    }
}

bool CTavrelReminderDlg::onOk()
{
    const device::OleDateTime now = device::OleDateTime::GetCurrentTime();
    m_store.SnoozeAllDue(now + *CTavrelSnoozeDurations::Find(CTavrelSnoozeDurations::Default), now);
    Refresh(); // closes the dialog once nothing is due
    return false;
}

void CTavrelReminderDlg::OnSnooze()
{
    const std::optional<device::OleDateTimeSpan> duration = SelectedDuration();
    const CTavrelDueReminder* reminder = m_list.Selected();
    if (!duration || !reminder)
        return;
    m_store.SnoozeOne(reminder->m_id, device::OleDateTime::GetCurrentTime() + *duration);
    Refresh();
}

void CTavrelReminderDlg::OnSnoozeAll()
{
    const std::optional<device::OleDateTimeSpan> duration = SelectedDuration();
    if (!duration)
        return;
    const device::OleDateTime now = device::OleDateTime::GetCurrentTime();
    m_store.SnoozeAllDue(now + *duration, now);
    Refresh();
}

void CTavrelReminderDlg::OnViewChange()
{
    const CTavrelDueReminder* reminder = m_list.Selected();
    if (!reminder)
        return;
    m_partner.OpenActivity(reminder->m_id);
    const device::OleDateTime later
        = device::OleDateTime::GetCurrentTime() + device::OleDateTimeSpan(0, 0, ViewChangeMinutes, 0);
    if (!m_scheduler.ScheduleRunAt(later))
        CTavrelReminderMessages::Show(this, CTavrelReminderMessages::RescheduleFailed);
    CloseItself(ui::IDCANCEL);
}

void CTavrelReminderDlg::OnClearAlarm()
{
    const CTavrelDueReminder* reminder = m_list.Selected();
    if (!reminder)
        return;
    const CQoString id = reminder->m_id;
    m_store.Dismiss(id);
    m_partner.DismissActivity(id);
    Refresh();
}
