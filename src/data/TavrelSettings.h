#pragma once
// CTavrelSettings: every persistent preference of the calendar program, read and written through
// typed accessors over the device registry. Nothing is cached: each getter asks the registry
// anew, so a value a setter wrote is seen at once. Getters never fail: a missing or unreadable
// value gives its default, and the defaults of numbers and of texts that have one are written
// back, so the registry shows every setting that has ever been read.
//
// Keys: the main key HKCU "Software\Orvix\Tavrel" and its "Calendars" subkey stay open for the
// object's life; the install key HKLM "Software\Apps\Orvix Tavrel" is opened per lookup. The
// logging switch is the log's own (CQoLog::IsEnabled).
//
// Per-month values use month numbers 1 = January to 12 = December, named in three styles:
// "Transparency01" (two digits), "Background1" and "DayBar1" (plain number) and the month titles
// by English month name ("January"). A month outside 1..12 reads as the default and writes
// nothing. The colour values carry backslashes in their names ("\Colors\Busy"): they are plain
// values of the main key, not subkeys.
//
// Called from the user-interface thread and the reader thread. The registry may be held locked by
// another program: no accessor waits more than a moment for it (CTavrelSettingsWriter). A write it
// does not take is kept, answered by the getters, retried every two seconds or so and written at
// the latest when the store is destroyed; the log tells of each. The key handles do not change
// while the program runs; what is kept has its own lock.

#include "common/QoRegistry.h"
#include "common/QoString.h"
#include "data/TavrelSettingsWriter.h"
#include "platform/gfx/Colour.h"

#include <cstdint>

class CTavrelCalendar;

class CTavrelSettings {
public:
    static constexpr const char16_t* MainKeyPath = u"Software\\Orvix\\Tavrel";
    static constexpr const char16_t* CalendarsKeyPath = u"Software\\Orvix\\Tavrel\\Calendars";
    static constexpr const char16_t* InstallKeyPath = u"Software\\Apps\\Orvix Tavrel";
    static constexpr const char16_t* PersonalCalendar = u"<Personal>";
    static constexpr const char16_t* CombinedCalendar = u"<Combined>";

    CTavrelSettings();
    CTavrelSettings(const CTavrelSettings&) = delete;
    CTavrelSettings& operator=(const CTavrelSettings&) = delete;
    virtual ~CTavrelSettings();

    // Appearance per month. Transparency is a fade level 0..100 (default 50); a level outside
    // that range is ignored and nothing is written.
    int GetTransparency(int month) const;
    bool SetTransparency(int month, int level);
    // The month's own background, else the one set last for any month ("Background").
    CQoString GetBackground(int month) const;
    // Writes the month's value and the fallback "Background", both with this path.
    bool SetBackground(int month, const CQoString& path);
    // Default: the install folder, "\", the month's English name and ".gif".
    CQoString GetMonthTitle(int month) const;
    bool SetMonthTitle(int month, const CQoString& path);
    // Default: the install folder and "\Daybar.gif".
    CQoString GetDayBar(int month) const;
    bool SetDayBar(int month, const CQoString& path);

    // Fonts of the day numbers and of the year and titles; the setters write the size first.
    CQoString GetDayFontName() const;
    int GetDayFontSize() const;
    bool SetDayFont(int size, const CQoString& name);
    CQoString GetYearFontName() const;
    int GetYearFontSize() const;
    bool SetYearFont(int size, const CQoString& name);

    bool GetCheckOffDays() const;
    bool SetCheckOffDays(bool checkOff);
    // True until the default skin has been applied on the first run.
    bool GetInitialized() const;
    bool SetInitialized(bool initialized);
    CQoString GetCurrentCalendar() const;
    bool SetCurrentCalendar(const CQoString& name);
    // Whether appointments that no icon rule matches are shown (with the built-in icons).
    bool GetDisplayDefaultIcons() const;
    bool SetDisplayDefaultIcons(bool display);

    gfx::Colour GetBusyColour() const;
    bool SetBusyColour(gfx::Colour colour);
    gfx::Colour GetTentativeColour() const;
    bool SetTentativeColour(gfx::Colour colour);
    gfx::Colour GetOutOfOfficeColour() const;
    bool SetOutOfOfficeColour(gfx::Colour colour);
    gfx::Colour GetFreeColour() const;
    bool SetFreeColour(gfx::Colour colour);
    gfx::Colour GetHour1Colour() const;
    bool SetHour1Colour(gfx::Colour colour);
    gfx::Colour GetHour2Colour() const;
    bool SetHour2Colour(gfx::Colour colour);

    // View mode 0 daily, 1 weekly, 2 monthly, 3 quarterly.
    int GetLastView() const;
    bool SetLastView(int mode);
    int GetWorkdayStartHour() const;
    bool SetWorkdayStartHour(int hour);
    int GetWorkdayEndHour() const;
    bool SetWorkdayEndHour(int hour);
    CQoString GetIconPath() const;
    bool SetIconPath(const CQoString& folder);

    // Writes, under "Calendars" \ calendar \ category, each category's "Visible" flag (kept for
    // later when the registry is locked, as every setting is).
    bool SaveCalendarVisibility(const CTavrelCalendar& calendar) const;
    // Sets each category's flag from its "Visible" value (default shown, written back).
    void LoadCalendarVisibility(CTavrelCalendar& calendar) const;
    // The "Calendars" key, for the attached calendars' own values.
    CQoRegistry& GetCalendarsKey() const { return m_calendars; }

    // The folder the installer recorded; empty when none is.
    static CQoString GetInstallFolder();

    // The writes the registry did not take yet (for tests and the log).
    CTavrelSettingsWriter& GetWriter() const { return m_writer; }

private:
    std::uint32_t ReadNumber(const char16_t* name, std::uint32_t defaultValue) const;
    bool WriteNumber(const char16_t* name, std::uint32_t value);
    CQoString ReadText(const char16_t* name, const char16_t* defaultValue) const;
    bool WriteText(const char16_t* name, const CQoString& text);

    mutable CQoRegistry m_main;
    mutable CQoRegistry m_calendars;
    mutable CTavrelSettingsWriter m_writer;
};
