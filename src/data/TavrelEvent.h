#pragma once
// CTavrelEvent: one appointment of the store, one activity of a control application or one event
// of a remote calendar, as every source and view of the calendar exchanges it.
//
// Store appointments carry their object identifier (`OID`, never 0) and, as `ID`, its unsigned
// decimal text; every other source has `OID` 0 and its own `ID` text (empty for remote events).
// `Class` is the name of the category the event was last added to and is set by
// CTavrelEvents::AddEvent only. `Bounds` belongs to the views: where one last drew the event.

#include "common/QoString.h"
#include "platform/device/OleDateTime.h"
#include "platform/gfx/Rect.h"

#include <cstdint>

class CTavrelEvent {
public:
    // Remote events start blank: both times at the current local time, no texts.
    CTavrelEvent();
    // A store appointment: `ID` becomes the identifier's "%lu" text.
    CTavrelEvent(const device::OleDateTime& start, const device::OleDateTime& end, std::int32_t oid,
                 const CQoString& name, const CQoString& icon);
    // An event of another source: `OID` is 0.
    CTavrelEvent(const device::OleDateTime& start, const device::OleDateTime& end, const CQoString& id,
                 const CQoString& name, const CQoString& icon);
    CTavrelEvent(const CTavrelEvent& other) = default;
    CTavrelEvent& operator=(const CTavrelEvent& other) = default;
    virtual ~CTavrelEvent();

    const CQoString& GetID() const { return m_id; }
    const CQoString& GetClass() const { return m_class; }
    std::int32_t GetOID() const { return m_oid; }
    const gfx::Rect& GetBounds() const { return m_bounds; }
    const CQoString& GetIcon() const { return m_icon; }
    const device::OleDateTime& GetStart() const { return m_start; }
    const device::OleDateTime& GetEnd() const { return m_end; }
    const CQoString& GetName() const { return m_name; }
    std::int32_t GetAttendees() const { return m_attendees; }
    bool IsChangeable() const { return m_changeable; }
    bool GetExtraFlag() const { return m_extraFlag; }

    void SetClass(const CQoString& name) { m_class = name; }
    void SetBounds(const gfx::Rect& bounds) { m_bounds = bounds; }
    void SetIcon(const CQoString& icon) { m_icon = icon; }
    void SetName(const CQoString& name) { m_name = name; }
    void SetAttendees(std::int32_t attendees) { m_attendees = attendees; }
    void SetChangeable(bool changeable) { m_changeable = changeable; }
    void SetExtraFlag(bool flag) { m_extraFlag = flag; }
    // Changing the times of an event that sits in a collection leaves it where it stands; callers
    // that need it in start order again remove it and add it anew.
    void SetStart(const device::OleDateTime& start) { m_start = start; }
    void SetEnd(const device::OleDateTime& end) { m_end = end; }

    // Both times at midnight: the views draw such an event as lasting whole days.
    bool IsAllDay() const;
    // The last moment the event covers. The store ends an all-day appointment at midnight of its
    // last day, so an all-day event covers that day whole, up to 23:59:59 of its End's date;
    // every other event covers up to its End.
    device::OleDateTime GetLastMoment() const;
    // Same times (status and value), icon, name, object identifier and category, texts compared
    // exactly. The identifier text, bounds, attendees and flags do not count.
    bool IsSameAs(const CTavrelEvent& other) const;

    // Status and raw value alike: the equality the duplicate rules and IsSameAs use.
    static bool SameDateTime(const device::OleDateTime& a, const device::OleDateTime& b);

private:
    CQoString m_id;
    CQoString m_class;
    std::int32_t m_oid = 0;
    gfx::Rect m_bounds;
    CQoString m_icon;
    device::OleDateTime m_start;
    device::OleDateTime m_end;
    CQoString m_name;
    std::int32_t m_attendees = 0;
    bool m_changeable = true;
    bool m_extraFlag = true;
};
