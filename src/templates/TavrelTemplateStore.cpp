#include "templates/TavrelTemplateStore.h"

#include "common/QoRegistry.h"

#include <algorithm>

CTavrelTemplateStore::CTavrelTemplateStore(int workdayStartHour)
    : m_workdayStartHour(std::clamp(workdayStartHour, 0, 23))
{
}

CQoString CTavrelTemplateStore::GetDefaultStartTime() const
{
    return CTavrelAppointmentTemplate::StartTimeText(m_workdayStartHour);
}

std::vector<CQoString> CTavrelTemplateStore::GetNames() const
{
    std::vector<CQoString> names;
    CQoRegistry key(HKEY_CURRENT_USER, KeyPath, false);
    if (!key.IsOpen())
        return names;
    CQoString name;
    for (bool found = key.GetFirstSubKey(name); found; found = key.GetNextSubKey(name))
        names.push_back(name);
    return names;
}

std::optional<CTavrelAppointmentTemplate> CTavrelTemplateStore::Read(const CQoString& name) const
{
    if (CheckName(name))
        return std::nullopt;
    CQoRegistry templates(HKEY_CURRENT_USER, KeyPath, false);
    if (!templates.IsOpen() || !templates.SubKeyExists(name))
        return std::nullopt;
    CQoRegistry key(templates.GetKey(), name, false);
    if (!key.IsOpen())
        return std::nullopt;
    CTavrelAppointmentTemplate entry;
    entry.subject = name;
    entry.duration = key.GetString(DurationValue, CTavrelAppointmentTemplate::AllDay);
    entry.frequency = key.GetString(FrequencyValue, CTavrelAppointmentTemplate::OneTime);
    entry.startTime = key.ValueExists(StartTimeValue) ? key.GetString(StartTimeValue, u"") : GetDefaultStartTime();
    entry.autoResolve = key.GetDWORD(AutoResolveValue, 1) != 0;
    return entry;
}

std::optional<CTavrelAppointmentTemplate> CTavrelTemplateStore::ReadAt(int position) const
{
    if (position < 1)
        return std::nullopt;
    CQoRegistry key(HKEY_CURRENT_USER, KeyPath, false);
    CQoString name;
    if (!key.IsOpen() || !key.GetSubKeyAt(name, unsigned(position - 1)))
        return std::nullopt;
    return Read(name);
}

const char16_t* CTavrelTemplateStore::CheckName(const CQoString& name)
{
    if (name.IsEmpty())
        return u"A template needs a subject.";
    if (name.Find(u'\\') >= 0)
        return u"A template's subject cannot contain \"\\\".";
    if (int(name.GetLength()) > MaxNameLength)
        return u"A template's subject cannot be longer than 255 characters.";
    return nullptr;
}

bool CTavrelTemplateStore::Write(const CTavrelAppointmentTemplate& entry) const
{
    if (CheckName(entry.subject))
        return false;
    CQoRegistry templates(HKEY_CURRENT_USER, KeyPath, true);
    if (!templates.IsOpen())
        return false;
    CQoRegistry key(templates.GetKey(), entry.subject, true);
    if (!key.IsOpen())
        return false;
    // Every value is written, so a failure of any one of them is a failure of the whole.
    bool written = key.SetString(DurationValue, entry.duration);
    written = key.SetString(FrequencyValue, entry.frequency) && written;
    written = key.SetString(StartTimeValue, entry.startTime) && written;
    written = key.SetDWORD(AutoResolveValue, entry.autoResolve ? 1 : 0) && written;
    return written;
}

bool CTavrelTemplateStore::Replace(const CQoString& oldName, const CTavrelAppointmentTemplate& entry) const
{
    if (CheckName(entry.subject))
        return false;
    // CQoString's == ignores case; a rename is any change of the text.
    if (entry.subject.View() == oldName.View())
        return Write(entry);
    if (entry.subject.CompareNoCase(oldName) == 0) {
        // The registry sees one key: writing would keep the old spelling, and deleting the old
        // name afterwards would delete the template. Its values are all in `entry`.
        return Delete(oldName) && Write(entry);
    }
    return Write(entry) && Delete(oldName);
}

bool CTavrelTemplateStore::Delete(const CQoString& name) const
{
    if (CheckName(name))
        return false;
    CQoRegistry templates(HKEY_CURRENT_USER, KeyPath, false);
    return templates.IsOpen() && templates.DeleteSubKey(name);
}
