#pragma once
// CTavrelViewHost: what the calendar view needs of the window that holds it (the main frame).
// Kept small on purpose: the view does its drawing, navigation and input itself and turns to its
// host only for what lies outside it.

#include "common/QoString.h"

class CTavrelEvent;

class CTavrelViewHost {
public:
    virtual ~CTavrelViewHost() = default;

    // Tells control applications about a change the view made: "OnViewChanged:Daily",
    // "OnDateChanged:\"12/8/2026\"". Called on the user-interface thread, possibly while the view
    // holds its date lock, so the host must not call back into the view's date from another
    // thread and wait for it.
    virtual void SendNotification(const CQoString& text) = 0;

    // The user opened an event that is no appointment of the store (an activity of a control
    // application, an event of a remote calendar): ask its owner to change it, or switch to the
    // calendar it comes from. `event` is the view's copy; it lives for the call only. True when
    // the request went out (or there was nothing to do).
    virtual bool OpenNonStoreEvent(const CTavrelEvent& event) = 0;
};
