#include "templates/TemplateDetailsDlg.h"

#include "platform/ui/CheckBox.h"
#include "platform/ui/ComboBox.h"
#include "platform/ui/EditBox.h"
#include "platform/ui/Label.h"
#include "platform/ui/MessageBox.h"
#include "templates/TavrelTemplateStore.h"

namespace {

constexpr int IDC_STATIC = -1;

// Selects the entry whose text is `value` (ignoring case), else the one whose text is `fallback`.
void SelectText(ui::ComboBox& list, const CQoString& value, const CQoString& fallback)
{
    int index = list.findStringExact(-1, value.View());
    if (index < 0)
        index = list.findStringExact(-1, fallback.View());
    list.setCurSel(index);
}

CQoString SelectedText(const ui::ComboBox& list)
{
    const int index = list.curSel();
    return index < 0 ? CQoString() : CQoString(list.itemText(index).c_str());
}

} // namespace

CTemplateDetailsDlg::CTemplateDetailsDlg(CTavrelAppointmentTemplate& entry, const CQoString& defaultStartTime)
    : Dialog(Caption, 140, 142), m_entry(entry), m_defaultStartTime(defaultStartTime)
{
    // Combo box heights include their dropped lists, as in the handheld's templates.
    add<ui::Label>(IDC_STATIC, 7, 4, 126, 9, u"Subject");
    m_subject = &add<ui::EditBox>(IDC_SUBJECT, 7, 14, 126, 12);
    add<ui::Label>(IDC_STATIC, 7, 31, 126, 9, u"Duration");
    m_duration = &add<ui::ComboBox>(IDC_DURATION, 7, 41, 126, 80);
    add<ui::Label>(IDC_FREQUENCY_LABEL, 7, 58, 126, 9, u"Frequency");
    m_frequency = &add<ui::ComboBox>(IDC_FREQUENCY, 7, 68, 126, 60);
    m_autoResolve = &add<ui::CheckBox>(IDC_AUTO_RESOLVE, 7, 86, 126, 12, u"Automatically Resolve Conflicts");
    m_startTimeLabel = &add<ui::Label>(IDC_START_TIME_LABEL, 7, 103, 126, 9, u"Default Start Time");
    m_startTime = &add<ui::ComboBox>(IDC_START_TIME, 7, 113, 126, 29);
}

bool CTemplateDetailsDlg::onInitDialog()
{
    m_subject->setText(m_entry.subject.View());
    m_duration->resetContent();
    for (const char16_t* text : CTavrelAppointmentTemplate::DurationTexts)
        m_duration->addString(text);
    m_frequency->resetContent();
    for (const char16_t* text : CTavrelAppointmentTemplate::FrequencyTexts)
        m_frequency->addString(text);
    m_startTime->resetContent();
    for (int hour = 0; hour < 24; ++hour)
        m_startTime->addString(CTavrelAppointmentTemplate::StartTimeText(hour).View());
    // A duration the list does not offer makes a one-hour appointment: the list shows that.
    SelectText(*m_duration, m_entry.duration, CTavrelAppointmentTemplate::UnknownDurationMeans);
    SelectText(*m_frequency, m_entry.frequency, CTavrelAppointmentTemplate::OneTime);
    SelectText(*m_startTime, m_entry.startTime, m_defaultStartTime);
    m_autoResolve->setChecked(m_entry.autoResolve);
    ApplyVisibility();
    return Dialog::onInitDialog();
}

bool CTemplateDetailsDlg::IsStartTimeShown() const
{
    return SelectedText(*m_duration).CompareNoCase(CTavrelAppointmentTemplate::AllDay) != 0;
}

void CTemplateDetailsDlg::ApplyVisibility()
{
    const bool shown = IsStartTimeShown();
    m_startTimeLabel->show(shown);
    m_startTime->show(shown);
    m_autoResolve->show(shown);
}

bool CTemplateDetailsDlg::onCommand(int id, int code, ui::WindowHandle source)
{
    if (id == IDC_DURATION && code == ui::CBN_SELCHANGE) {
        ApplyVisibility();
        return true;
    }
    return Dialog::onCommand(id, code, source);
}

bool CTemplateDetailsDlg::onOk()
{
    const CQoString subject(m_subject->text().c_str());
    if (!subject.IsEmpty()) {
        if (const char16_t* why = CTavrelTemplateStore::CheckName(subject)) {
            ui::messageBox(this, why, MessageCaption, ui::MB_OK | ui::MB_ICONWARNING);
            m_subject->setFocus();
            return false;
        }
    }
    m_entry.subject = subject;
    m_entry.duration = SelectedText(*m_duration);
    m_entry.frequency = SelectedText(*m_frequency);
    m_entry.startTime = SelectedText(*m_startTime);
    m_entry.autoResolve = m_autoResolve->isChecked();
    return true;
}
