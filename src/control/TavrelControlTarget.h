#pragma once
// CTavrelControlTarget: what the control commands act on in the application — its calendar data,
// the choice of the current calendar, the calendars that control applications register, and the
// appointment store. The application implements it; what the commands need of the main frame and
// its view is CTavrelControlHost.

#include "common/QoString.h"

class CTavrelCalendarData;
class CTavrelRegisteredCalendar;

namespace pim {
class Application;
}

class CTavrelControlTarget {
public:
    virtual ~CTavrelControlTarget() = default;

    virtual CTavrelCalendarData& GetCalendarData() = 0;
    // "<Personal>", "<Combined>" or the name of a calendar; false, and nothing changes, for a name
    // no calendar has. The change is stored, shown, told to control applications and read.
    virtual bool SetCurrentCalendar(const CQoString& name) = 0;
    // Appends a new registered calendar of that name; the caller holds the calendar list lock.
    virtual CTavrelRegisteredCalendar& AddRegisteredCalendar(const CQoString& name) = 0;
    // The logged-on store; null when there is none.
    virtual pim::Application* GetOutlook() const = 0;
    // The reader reads again now instead of after its pause.
    virtual void RequestRefresh() = 0;
};
