#pragma once
// CTavrelEventOpener: what happens when the user opens an event of the view.
//
// - A store appointment (non-zero `OID`) opens in the appointment editor.
// - An activity of a control application (an `ID`, changeable) is not edited here: its control
//   application is asked to change it with "OnRequestChangeActivity:" ID;start;end.
// - In "<Combined>" an event without an ID, shown as "Name (Calendar)", switches to the calendar
//   it comes from.
// - Anything else: nothing to do.

#include "common/QoString.h"

class CTavrelControlTarget;
class CTavrelEvent;
class CTavrelNotifier;

class CTavrelEventOpener {
public:
    CTavrelEventOpener(CTavrelControlTarget& target, CTavrelNotifier& notifier);

    // False when the store cannot give the appointment (or the editor cannot show it), or the
    // calendar named by a combined event does not exist.
    bool OpenEvent(const CTavrelEvent& event);

    // The calendar that a "<Combined>" event's name "Name (Calendar)" points to: the longest
    // calendar name that the text ends with as " (Calendar)", so names with parentheses of their
    // own work; failing that, the text after the first "(" without the ")" at its end.
    CQoString CombinedSourceName(const CQoString& name);

private:
    bool OpenAppointment(const CTavrelEvent& event);

    CTavrelControlTarget& m_target;
    CTavrelNotifier& m_notifier;
};
