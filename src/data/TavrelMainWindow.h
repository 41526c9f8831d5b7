#pragma once
// What the application object and the reader thread need of the main frame. The frame implements
// this and hands itself to CTavrelApp::SetMainWindow when it is created, and null before it is
// destroyed.

class CTavrelReaderView;

class CTavrelMainWindow {
public:
    virtual ~CTavrelMainWindow() = default;

    // The calendar view; null while the frame has none.
    virtual CTavrelReaderView* GetReaderView() = 0;
    // The current calendar changed: check the calendar menu's item of the current calendar, clear
    // the others, and send "OnCalendarChanged:" with the quoted name to control applications.
    virtual void RefreshCalendarChecks() = 0;
    // Asks the view, when there is one, to reload the events and appearance of its period.
    virtual void ReloadViewEvents() = 0;
};
