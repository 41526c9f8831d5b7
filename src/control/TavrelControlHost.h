#pragma once
// What the control commands need of the main frame and its view. The frame implements this; tests
// implement it with a stand-in that records what was asked.

#include "common/QoString.h"
#include "platform/device/OleDateTime.h"

class CTavrelControlHost {
public:
    virtual ~CTavrelControlHost() = default;

    // The view's mode (0 "Daily" … 3 "Quarterly") and current date.
    virtual int GetViewMode() = 0;
    virtual device::OleDateTime GetViewDate() = 0;
    // The view shows that mode and reloads; it notifies "OnViewChanged:" when the mode changed.
    virtual void SetViewMode(int mode) = 0;
    // The view's date becomes that day, and it reloads; it notifies "OnDateChanged:".
    virtual void SetViewDate(int year, int month, int day) = 0;
    // Shows the view and brings the frame to the foreground. A frame started hidden by a control
    // application is shown, and loses its caption, the first time.
    virtual void ShowCalendarWindow() = 0;
    // The set of calendars changed: rebuild the command bar and its calendar menu.
    virtual void RebuildCommandBar() = 0;
    // Ends the program's message loop (its exit step then sends "OnCalendarClose").
    virtual void PostQuit() = 0;
    // A message box with the caption "Tavrel", top-most and brought to the foreground. The
    // default shows the platform's message box.
    virtual void ShowMessageBox(const CQoString& text);
};
