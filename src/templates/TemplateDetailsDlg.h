#pragma once
// CTemplateDetailsDlg: the "Template Details" dialog (140 × 142 dialog units), one appointment
// template's values:
//
//   (label) "Subject"             1005 edit            the template's name and the appointment's subject
//   (label) "Duration"            1004 drop-down list  "All Day", "15 min" … "1 week"
//   1017 "Frequency"              1006 drop-down list  "One time", "Weekly", "Monthly", "Yearly"
//   1019 check box "Automatically Resolve Conflicts"
//   1020 "Default Start Time"     1007 drop-down list  "12am", "1am" … "11pm"
//
// Each list selects the entry whose text is the template's value (ignoring case); a value that is
// none of the entries selects the list's default (All Day, One time, the working day's start), so
// the dialog never writes a value the lists cannot show. An all-day template has no start time
// and nothing to resolve: while "All Day" is selected the start time, its label and the check box
// are hidden.
//
// OK checks that the subject can name a template (an empty subject is let through: the caller
// then stores nothing) and puts the values into the template; Cancel leaves it as it was.

#include "platform/ui/Dialog.h"
#include "templates/TavrelAppointmentTemplate.h"

namespace ui {
class CheckBox;
class ComboBox;
class EditBox;
class Label;
} // namespace ui

class CTemplateDetailsDlg : public ui::Dialog {
public:
    static constexpr const char16_t* MessageCaption = u"Tavrel";
    static constexpr const char16_t* Caption = u"Template Details";
    static constexpr int IDC_SUBJECT = 1005;
    static constexpr int IDC_DURATION = 1004;
    static constexpr int IDC_FREQUENCY_LABEL = 1017;
    static constexpr int IDC_FREQUENCY = 1006;
    static constexpr int IDC_AUTO_RESOLVE = 1019;
    static constexpr int IDC_START_TIME_LABEL = 1020;
    static constexpr int IDC_START_TIME = 1007;

    // `defaultStartTime`: the working day's start ("9am"), for a template without a known one.
    CTemplateDetailsDlg(CTavrelAppointmentTemplate& entry, const CQoString& defaultStartTime);

    // Whether the start time and the check box are shown (the duration is not "All Day").
    bool IsStartTimeShown() const;

protected:
    bool onInitDialog() override;
    bool onOk() override;
    bool onCommand(int id, int code, ui::WindowHandle source) override;

private:
    void ApplyVisibility();

    CTavrelAppointmentTemplate& m_entry;
    CQoString m_defaultStartTime;
    ui::EditBox* m_subject = nullptr;
    ui::ComboBox* m_duration = nullptr;
    ui::ComboBox* m_frequency = nullptr;
    ui::CheckBox* m_autoResolve = nullptr;
    ui::Label* m_startTimeLabel = nullptr;
    ui::ComboBox* m_startTime = nullptr;
};
