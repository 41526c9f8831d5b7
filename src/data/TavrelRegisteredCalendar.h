#pragma once
// CTavrelRegisteredCalendar: the calendar a control application registers over the control
// protocol. It lives only while the program runs. Besides the categories of activities it keeps
// the activity kinds the control application can create (its factories) and, per month, its own
// background, month title and day bar pictures; a month without its own picture shows the one the
// settings hold for every calendar.

#include "data/TavrelCalendar.h"

#include <vector>

class CTavrelSettings;

class CTavrelRegisteredCalendar : public CTavrelCalendar {
public:
    // `settings` gives the pictures of months that have none of their own; without it such a
    // month has none.
    explicit CTavrelRegisteredCalendar(const CQoString& name = CQoString(), const CTavrelSettings* settings = nullptr);
    CTavrelRegisteredCalendar(const CTavrelRegisteredCalendar& other);
    CTavrelRegisteredCalendar& operator=(const CTavrelRegisteredCalendar& other);
    ~CTavrelRegisteredCalendar() override;

    CQoString GetTypeName() const override; // "Registered"
    // None: it shows, and changes, the settings store's pictures and fade levels, as "<Personal>"
    // does.
    bool HasOwnAppearance() const override { return false; }
    // Empties every picture and category and the name, fades every month at 50 and writes this
    // year's copyright notice.
    void Reset() override;
    CQoString GetDayBar(int month) const override;
    CQoString GetMonthTitle(int month) const override;
    CQoString GetBackground(int month) const override;
    bool SetBackground(int month, const CQoString& path) override;
    bool SetDayBar(int month, const CQoString& path) override;
    bool SetMonthTitle(int month, const CQoString& path) override;
    std::unique_ptr<CTavrelCalendar> Clone() const override;

    // Replaces the factory list by the comma-separated kinds of the text; empty pieces are skipped.
    void SetFactories(const CQoString& list);
    // The kinds joined by ",".
    CQoString GetFactories() const;
    const std::vector<CQoString>& GetFactoryList() const { return m_factories; }

private:
    struct MonthPictures {
        CQoString background;
        CQoString monthTitle;
        CQoString dayBar;
    };

    // The calendar's own picture, else the global one; empty for a month outside 1..12.
    CQoString Picture(int month, CQoString MonthPictures::*own,
                      CQoString (CTavrelSettings::*global)(int) const) const;
    bool SetPicture(int month, CQoString MonthPictures::*own, const CQoString& path);

    const CTavrelSettings* m_settings;
    std::vector<CQoString> m_factories;
    MonthPictures m_months[12];
};
