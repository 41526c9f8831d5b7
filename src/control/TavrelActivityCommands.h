#pragma once
// CTavrelActivityCommands: the changes that control applications make to the activities of the
// registered calendar — the first calendar in the list of registered calendars, whichever
// application registered it.
//
// Every change holds the calendar list lock, because the reader thread walks the categories
// under it, and asks the reader for a fresh pass, so the view shows the change at once.
//
// Activities stay in start order: an activity whose times change is taken out and put back, not
// changed where it stands. A change that the category refuses (a true duplicate of another
// activity there) leaves the activity as it was. An activity has one place only: adding an ID
// that another category holds moves it.

#include "control/TavrelActivity.h"

class CTavrelCalendarData;
class CTavrelEvent;
class CTavrelEvents;
class CTavrelRegisteredCalendar;

class CTavrelActivityCommands {
public:
    enum class Result {
        NoCalendar, // no calendar is registered
        Added,
        Updated,
        Deleted,
        NotFound,   // no activity has the ID
        Refused,    // the category refused the activity; nothing changed
    };

    explicit CTavrelActivityCommands(CTavrelCalendarData& data);

    // Adds the activity, or updates it when its category holds its ID already. Start and end
    // must be valid date-times.
    Result AddActivity(const CTavrelActivity& activity);
    // Changes the activity of that ID wherever it is: in place when the category stays, else
    // moved to the category (created, shown, when it does not exist). Start and end must be valid.
    Result UpdateActivity(const CTavrelActivity& activity);
    Result DeleteActivity(const CQoString& id);
    // Empties every category; the categories stay. NoCalendar or Deleted.
    Result DeleteAllActivities();

    // Whether a calendar is registered.
    bool HasRegisteredCalendar();

private:
    CTavrelRegisteredCalendar* RegisteredCalendar();
    Result Update(CTavrelRegisteredCalendar& calendar, const CTavrelActivity& activity);
    static CTavrelEvent MakeEvent(const CTavrelActivity& activity);
    static CTavrelEvents& CategoryFor(CTavrelRegisteredCalendar& calendar, const CQoString& name);
    static void RemoveFromItsCategory(CTavrelRegisteredCalendar& calendar, const CTavrelEvent& event);

    CTavrelCalendarData& m_data;
};
