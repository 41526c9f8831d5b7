#pragma once
// CTavrelCalendar: a named source of events, its categories and its per-month fade levels — the
// common part of the calendars that control applications register and of the remote calendars
// attached from an address. ("<Personal>" and "<Combined>" are names, not calendar objects.)
//
// A calendar carries no lock of its own: its categories and their events are guarded by the
// application's calendar list lock, which the reader thread holds while it walks them.

#include "common/QoString.h"
#include "data/TavrelEvents.h"

#include <list>
#include <memory>

class CTavrelCalendar {
public:
    static constexpr int DefaultTransparency = 50;

    CTavrelCalendar();
    CTavrelCalendar(const CTavrelCalendar& other);
    CTavrelCalendar& operator=(const CTavrelCalendar& other);
    virtual ~CTavrelCalendar();

    // Same name, same kind and same copyright notice, compared exactly.
    virtual bool IsSameAs(const CTavrelCalendar& other) const;
    // The first category whose name matches, ignoring case; null when there is none.
    virtual CTavrelEvents* FindCategory(const CQoString& name);
    // Each returns true only when the value changed; a change of letter case alone is no change
    // and leaves the text as it was.
    virtual bool SetCopyright(const CQoString& text);
    virtual bool SetName(const CQoString& text);
    // False, and nothing changes, unless 1 <= month <= 12 and 0 <= level <= 100.
    virtual bool SetTransparency(int month, int level);
    // The default level for a month outside 1..12.
    virtual int GetTransparency(int month) const;
    virtual const CQoString& GetName() const;
    virtual const CQoString& GetCopyright() const;
    virtual std::list<CTavrelEvents>& GetCategories();
    virtual const std::list<CTavrelEvents>& GetCategories() const;

    // What each kind of calendar decides for itself.
    virtual CQoString GetTypeName() const = 0;
    // Whether the calendar shows pictures and fade levels of its own (a remote calendar). One
    // without shows, and changes, those of the settings store, which "<Personal>" and "<Combined>"
    // show too: the application's appearance of the current calendar asks this.
    virtual bool HasOwnAppearance() const = 0;
    virtual void Reset() = 0;
    virtual CQoString GetDayBar(int month) const = 0;
    virtual CQoString GetMonthTitle(int month) const = 0;
    virtual CQoString GetBackground(int month) const = 0;
    virtual bool SetBackground(int month, const CQoString& path) = 0;
    virtual bool SetDayBar(int month, const CQoString& path) = 0;
    virtual bool SetMonthTitle(int month, const CQoString& path) = 0;

    // A deep copy of the same kind: the application's calendar lists own copies of calendars.
    virtual std::unique_ptr<CTavrelCalendar> Clone() const = 0;

    // FindByID on each category in order; the first hit wins.
    CTavrelEvent* FindEventByID(const CQoString& id);
    // Appends an empty category with that name and visibility and returns it.
    CTavrelEvents& AddCategory(const CQoString& name, bool visible);

    static bool IsValidMonth(int month) { return month >= 1 && month <= 12; }

protected:
    // For Reset: every category goes, the name is emptied, every month fades at the default level
    // and the copyright is this year's default notice.
    void ResetCommon();
    void AssignCopyright(const CQoString& text) { m_copyright = text; }

private:
    std::list<CTavrelEvents> m_categories;
    CQoString m_name;
    CQoString m_copyright;
    int m_transparency[12];
};
