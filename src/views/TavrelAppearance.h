#pragma once
// CTavrelAppearance: the pictures a month is drawn over — background, month title and day bar —
// and the fade level of its background. Each picture comes from the file the current calendar
// names for the month; a file that is missing or does not decode is replaced, without a message,
// by the program's built-in picture of its kind:
//
//   background  image resource 143
//   month title image resource 144 + month (145 January … 156 December)
//   day bar     image resource 144
//
// Loading the file or resource a picture already holds costs nothing (CTavrelImage decodes once
// per source), so reloading a month on every change of date or mode is cheap.

#include "assets/ResourceIds.h"
#include "common/QoString.h"
#include "views/TavrelImage.h"

class CTavrelAppearance {
public:
    static constexpr int BackgroundId = IDB_BACKGROUND;
    static constexpr int DayBarId = IDB_DAYBAR;
    static constexpr int FirstMonthTitleId = IDB_JANUARY;
    static constexpr int DefaultFadeLevel = 50;

    // What the calendar's settings say for a month.
    struct Files {
        CQoString background;
        CQoString monthTitle;
        CQoString dayBar;
        int fadeLevel = DefaultFadeLevel;
    };

    // Loads the month's pictures (month 1-12) from the files, each falling back to its built-in
    // picture from `module` (null: the program's own resources).
    void Load(int month, const Files& files, const gfx::ResourceTable* module = nullptr);

    int GetMonth() const { return m_month; }
    const CTavrelImage& GetBackground() const { return m_background; }
    const CTavrelImage& GetMonthTitle() const { return m_monthTitle; }
    const CTavrelImage& GetDayBar() const { return m_dayBar; }
    int GetFadeLevel() const { return m_fadeLevel; }
    void SetFadeLevel(int level) { m_fadeLevel = level; }

private:
    static void LoadOrFallBack(CTavrelImage& image, const CQoString& path, int resourceId,
                               const gfx::ResourceTable* module);

    int m_month = 0;
    CTavrelImage m_background;
    CTavrelImage m_monthTitle;
    CTavrelImage m_dayBar;
    int m_fadeLevel = DefaultFadeLevel;
};
