#include "data/TavrelSettings.h"

#include "data/TavrelCalendar.h"
#include "platform/device/LocaleNames.h"
#include "platform/registry/Registry.h"

#include <optional>

namespace {

constexpr int DefaultTransparency = 50;
constexpr int MaxTransparency = 100;

bool isMonth(int month)
{
    return month >= 1 && month <= 12;
}

CQoString monthValueName(const char16_t* prefix, int month)
{
    CQoString name;
    name.Format(u"%s%d", prefix, month);
    return name;
}

CQoString transparencyValueName(int month)
{
    CQoString name;
    name.Format(u"%s%02d", u"Transparency", month);
    return name;
}

CQoString monthTitleValueName(int month)
{
    return CQoString(device::WideString(device::LocaleNames::monthName(month)).c_str());
}

// The install folder followed by a backslash and the file name.
CQoString inInstallFolder(device::WideView file)
{
    CQoString path = CTavrelSettings::GetInstallFolder();
    path.AppendChar(u'\\');
    path.Append(device::WideString(file).c_str());
    return path;
}

} // namespace

CTavrelSettings::CTavrelSettings()
    : m_main(HKEY_CURRENT_USER, MainKeyPath, true), m_calendars(HKEY_CURRENT_USER, CalendarsKeyPath, true)
{
}

CTavrelSettings::~CTavrelSettings()
{
    // What the registry would not take while the program ran is written now, with the
    // registry's normal wait: nothing is in a hurry any more.
    m_writer.Flush();
}

using SettingsValue = CTavrelSettingsWriter::Value;

std::uint32_t CTavrelSettings::ReadNumber(const char16_t* name, std::uint32_t defaultValue) const
{
    m_writer.RetryIfDue();
    if (const std::optional<SettingsValue> kept = m_writer.FindKept(MainKeyPath, name);
        kept && kept->type == SettingsValue::Type::Number)
        return kept->number;
    std::uint32_t value = 0;
    std::uint32_t size = sizeof value;
    {
        const registry::ScopedBusyTimeout wait(CTavrelSettingsWriter::ShortWait);
        if (m_main.GetBinary(name, &value, &size))
            return value;
    }
    // Missing or unreadable: the default, written back when the registry takes it at once.
    m_writer.TryWrite(MainKeyPath, name, SettingsValue::Number(defaultValue));
    return defaultValue;
}

bool CTavrelSettings::WriteNumber(const char16_t* name, std::uint32_t value)
{
    m_writer.RetryIfDue();
    return m_writer.Write(MainKeyPath, name, SettingsValue::Number(value));
}

CQoString CTavrelSettings::ReadText(const char16_t* name, const char16_t* defaultValue) const
{
    m_writer.RetryIfDue();
    if (const std::optional<SettingsValue> kept = m_writer.FindKept(MainKeyPath, name);
        kept && kept->type == SettingsValue::Type::Text)
        return kept->text;
    {
        const registry::ScopedBusyTimeout wait(CTavrelSettingsWriter::ShortWait);
        // A value of another type reads as the default and is left alone.
        if (m_main.ValueExists(name))
            return m_main.GetString(name, defaultValue);
    }
    if (!defaultValue)
        return CQoString();
    m_writer.TryWrite(MainKeyPath, name, SettingsValue::Text(defaultValue));
    return CQoString(defaultValue);
}

bool CTavrelSettings::WriteText(const char16_t* name, const CQoString& text)
{
    m_writer.RetryIfDue();
    return m_writer.Write(MainKeyPath, name, SettingsValue::Text(text));
}

// --- Appearance per month ------------------------------------------------------------------------

int CTavrelSettings::GetTransparency(int month) const
{
    if (!isMonth(month))
        return DefaultTransparency;
    const std::uint32_t level = ReadNumber(transparencyValueName(month), DefaultTransparency);
    // A level no setter can write (another program's doing) reads as the default.
    return level <= MaxTransparency ? int(level) : DefaultTransparency;
}

bool CTavrelSettings::SetTransparency(int month, int level)
{
    if (!isMonth(month) || level < 0 || level > MaxTransparency)
        return false;
    return WriteNumber(transparencyValueName(month), std::uint32_t(level));
}

CQoString CTavrelSettings::GetBackground(int month) const
{
    if (!isMonth(month))
        return CQoString();
    CQoString path = ReadText(monthValueName(u"Background", month), nullptr);
    if (path.IsEmpty())
        path = ReadText(u"Background", nullptr);
    return path;
}

bool CTavrelSettings::SetBackground(int month, const CQoString& path)
{
    if (!isMonth(month))
        return false;
    const bool own = WriteText(monthValueName(u"Background", month), path);
    const bool fallback = WriteText(u"Background", path);
    return own && fallback;
}

CQoString CTavrelSettings::GetMonthTitle(int month) const
{
    if (!isMonth(month))
        return CQoString();
    CQoString file(device::WideString(device::LocaleNames::monthName(month)).c_str());
    file.Append(u".gif");
    const CQoString fallback = inInstallFolder(file.View());
    return ReadText(monthTitleValueName(month), fallback);
}

bool CTavrelSettings::SetMonthTitle(int month, const CQoString& path)
{
    if (!isMonth(month))
        return false;
    return WriteText(monthTitleValueName(month), path);
}

CQoString CTavrelSettings::GetDayBar(int month) const
{
    if (!isMonth(month))
        return CQoString();
    const CQoString fallback = inInstallFolder(u"Daybar.gif");
    return ReadText(monthValueName(u"DayBar", month), fallback);
}

bool CTavrelSettings::SetDayBar(int month, const CQoString& path)
{
    if (!isMonth(month))
        return false;
    return WriteText(monthValueName(u"DayBar", month), path);
}

// --- Fonts -----------------------------------------------------------------------------------------

CQoString CTavrelSettings::GetDayFontName() const
{
    return ReadText(u"FontNameDays", u"Tahoma");
}

int CTavrelSettings::GetDayFontSize() const
{
    return int(ReadNumber(u"FontSizeDays", 8));
}

bool CTavrelSettings::SetDayFont(int size, const CQoString& name)
{
    const bool sizeWritten = WriteNumber(u"FontSizeDays", std::uint32_t(size));
    const bool nameWritten = WriteText(u"FontNameDays", name);
    return sizeWritten && nameWritten;
}

CQoString CTavrelSettings::GetYearFontName() const
{
    return ReadText(u"FontNameYear", u"Tahoma");
}

int CTavrelSettings::GetYearFontSize() const
{
    return int(ReadNumber(u"FontSizeYear", 16));
}

bool CTavrelSettings::SetYearFont(int size, const CQoString& name)
{
    const bool sizeWritten = WriteNumber(u"FontSizeYear", std::uint32_t(size));
    const bool nameWritten = WriteText(u"FontNameYear", name);
    return sizeWritten && nameWritten;
}

// --- Flags and names -------------------------------------------------------------------------------

bool CTavrelSettings::GetCheckOffDays() const
{
    return ReadNumber(u"CheckOffDays", 0) != 0;
}

bool CTavrelSettings::SetCheckOffDays(bool checkOff)
{
    return WriteNumber(u"CheckOffDays", checkOff ? 1 : 0);
}

bool CTavrelSettings::GetInitialized() const
{
    return ReadNumber(u"Initialized", 1) != 0;
}

bool CTavrelSettings::SetInitialized(bool initialized)
{
    return WriteNumber(u"Initialized", initialized ? 1 : 0);
}

CQoString CTavrelSettings::GetCurrentCalendar() const
{
    return ReadText(u"CurrentCalendar", PersonalCalendar);
}

bool CTavrelSettings::SetCurrentCalendar(const CQoString& name)
{
    return WriteText(u"CurrentCalendar", name);
}

bool CTavrelSettings::GetDisplayDefaultIcons() const
{
    return ReadNumber(u"DispalyDefaultIcons", 1) != 0;
}

bool CTavrelSettings::SetDisplayDefaultIcons(bool display)
{
    return WriteNumber(u"DispalyDefaultIcons", display ? 1 : 0);
}

// --- Colours ---------------------------------------------------------------------------------------

gfx::Colour CTavrelSettings::GetBusyColour() const
{
    return ReadNumber(u"\\Colors\\Busy", 0xCC88FF);
}

bool CTavrelSettings::SetBusyColour(gfx::Colour colour)
{
    return WriteNumber(u"\\Colors\\Busy", colour);
}

gfx::Colour CTavrelSettings::GetTentativeColour() const
{
    return ReadNumber(u"\\Colors\\Tentative", 0x80FFFF);
}

bool CTavrelSettings::SetTentativeColour(gfx::Colour colour)
{
    return WriteNumber(u"\\Colors\\Tentative", colour);
}

gfx::Colour CTavrelSettings::GetOutOfOfficeColour() const
{
    return ReadNumber(u"\\Colors\\OutOfOffice", 0xFF0000);
}

bool CTavrelSettings::SetOutOfOfficeColour(gfx::Colour colour)
{
    return WriteNumber(u"\\Colors\\OutOfOffice", colour);
}

gfx::Colour CTavrelSettings::GetFreeColour() const
{
    return ReadNumber(u"\\Colors\\Free", 0xFF00);
}

bool CTavrelSettings::SetFreeColour(gfx::Colour colour)
{
    return WriteNumber(u"\\Colors\\Free", colour);
}

gfx::Colour CTavrelSettings::GetHour1Colour() const
{
    return ReadNumber(u"\\Colors\\Hour1", 0xFFC0C0);
}

bool CTavrelSettings::SetHour1Colour(gfx::Colour colour)
{
    return WriteNumber(u"\\Colors\\Hour1", colour);
}

gfx::Colour CTavrelSettings::GetHour2Colour() const
{
    return ReadNumber(u"\\Colors\\Hour2", 0xFFFFFF);
}

bool CTavrelSettings::SetHour2Colour(gfx::Colour colour)
{
    return WriteNumber(u"\\Colors\\Hour2", colour);
}

// --- View and working day --------------------------------------------------------------------------

int CTavrelSettings::GetLastView() const
{
    return int(ReadNumber(u"LastView", 2));
}

bool CTavrelSettings::SetLastView(int mode)
{
    return WriteNumber(u"LastView", std::uint32_t(mode));
}

int CTavrelSettings::GetWorkdayStartHour() const
{
    return int(ReadNumber(u"Workday Start Hour", 9));
}

bool CTavrelSettings::SetWorkdayStartHour(int hour)
{
    return WriteNumber(u"Workday Start Hour", std::uint32_t(hour));
}

int CTavrelSettings::GetWorkdayEndHour() const
{
    return int(ReadNumber(u"Workday End Hour", 17));
}

bool CTavrelSettings::SetWorkdayEndHour(int hour)
{
    return WriteNumber(u"Workday End Hour", std::uint32_t(hour));
}

CQoString CTavrelSettings::GetIconPath() const
{
    return ReadText(u"Icon Path", nullptr);
}

bool CTavrelSettings::SetIconPath(const CQoString& folder)
{
    return WriteText(u"Icon Path", folder);
}

// --- Calendar visibility ---------------------------------------------------------------------------

namespace {

// "Software\Orvix\Tavrel\Calendars\calendar\category".
CQoString categoryKeyPath(const CTavrelCalendar& calendar, const CTavrelEvents& category)
{
    CQoString path(CTavrelSettings::CalendarsKeyPath);
    path.AppendChar(u'\\');
    path.Append(calendar.GetName().GetString());
    path.AppendChar(u'\\');
    path.Append(category.GetName().GetString());
    return path;
}

} // namespace

bool CTavrelSettings::SaveCalendarVisibility(const CTavrelCalendar& calendar) const
{
    m_writer.RetryIfDue();
    for (const CTavrelEvents& category : calendar.GetCategories())
        m_writer.Write(categoryKeyPath(calendar, category), u"Visible", SettingsValue::Number(category.IsVisible() ? 1 : 0));
    return true;
}

void CTavrelSettings::LoadCalendarVisibility(CTavrelCalendar& calendar) const
{
    m_writer.RetryIfDue();
    const registry::ScopedBusyTimeout wait(CTavrelSettingsWriter::ShortWait);
    CQoRegistry calendarKey(m_calendars.GetKey(), calendar.GetName(), true);
    for (CTavrelEvents& category : calendar.GetCategories()) {
        if (const std::optional<SettingsValue> kept = m_writer.FindKept(categoryKeyPath(calendar, category), u"Visible")) {
            category.SetVisible(kept->number != 0);
            continue;
        }
        CQoRegistry categoryKey(calendarKey.GetKey(), category.GetName(), true);
        category.SetVisible(categoryKey.GetDWORD(u"Visible", 1) != 0);
    }
}

// --- Machine-wide values ---------------------------------------------------------------------------

CQoString CTavrelSettings::GetInstallFolder()
{
    const registry::ScopedBusyTimeout wait(CTavrelSettingsWriter::ShortWait);
    CQoRegistry installKey(HKEY_LOCAL_MACHINE, InstallKeyPath, true);
    return installKey.GetString(u"InstallDir", nullptr);
}
