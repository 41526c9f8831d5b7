#pragma once
// CTavrelTemplateStore: the appointment templates in the registry. Each template is one subkey of
// HKEY_CURRENT_USER "Software\Orvix\Tavrel\Appointment Templates" named by its subject, with four
// values:
//
//   "Duration"                text    default "All Day"
//   "Frequency"               text    default "One time"
//   "Default Start Time"      text    default the working day's start hour ("9am")
//   "Auto Resolve Conflicts"  number  default 1
//
// There is no other index: the templates' order is the order in which the registry enumerates
// the subkeys. Nothing is cached; every call opens the key anew, so the day menu and the dialogs
// always see what another program wrote meanwhile. Reading the list never creates the key;
// writing a template does.
//
// Names: a subject becomes a key name, so it may not be empty, may not contain "\" (which would
// make nested keys) and may not exceed the registry's 255 characters; Write refuses such a name.
// Key names compare ignoring case, as the registry does.

#include "common/QoString.h"
#include "templates/TavrelAppointmentTemplate.h"

#include <optional>
#include <vector>

class CTavrelTemplateStore {
public:
    static constexpr const char16_t* KeyPath = u"Software\\Orvix\\Tavrel\\Appointment Templates";
    static constexpr const char16_t* DurationValue = u"Duration";
    static constexpr const char16_t* FrequencyValue = u"Frequency";
    static constexpr const char16_t* StartTimeValue = u"Default Start Time";
    static constexpr const char16_t* AutoResolveValue = u"Auto Resolve Conflicts";
    static constexpr int MaxNameLength = 255;

    // `workdayStartHour` gives a template without a start time its start ("Workday Start Hour").
    explicit CTavrelTemplateStore(int workdayStartHour = 9);

    // The templates' names in the registry's order; empty when the key does not exist.
    std::vector<CQoString> GetNames() const;
    // The template of that name (ignoring case), its missing values read as their defaults (and
    // written back); none when there is no such template.
    std::optional<CTavrelAppointmentTemplate> Read(const CQoString& name) const;
    // The template at a 1-based position of the registry's order (the "New" item 35020 + n).
    std::optional<CTavrelAppointmentTemplate> ReadAt(int position) const;

    // Why a subject cannot name a template, or null when it can.
    static const char16_t* CheckName(const CQoString& name);

    // Writes the template's four values under its subject, creating the subkey when missing (a
    // template of that name is overwritten). False for a name CheckName refuses or when the
    // registry fails.
    bool Write(const CTavrelAppointmentTemplate& entry) const;
    // Writes `entry` and, when its subject is not `oldName` (exactly), removes the old template,
    // so exactly one subkey, under the new name, is left. The old one goes only once the new one
    // is written; a change of letter case alone (the same key to the registry) rewrites the key
    // under the new spelling.
    bool Replace(const CQoString& oldName, const CTavrelAppointmentTemplate& entry) const;
    bool Delete(const CQoString& name) const;

    // The working day's start hour as a start time text.
    CQoString GetDefaultStartTime() const;

private:
    int m_workdayStartHour;
};
