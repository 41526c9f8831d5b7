#pragma once
// CTavrelFrameControlHost: what the control commands ask of the main frame and its view, carried
// out on them. The frame owns it together with its CTavrelControl.
//
// ShowCalendar shows the view and brings the frame to the foreground; a frame that a control
// application started hidden is shown the first time. (The platform's frames have no caption of
// their own to take away: the navigation bar shows the foreground window's title.)

#include "control/TavrelControlHost.h"

class CMainFrame;
class CTavrelApp;

class CTavrelFrameControlHost : public CTavrelControlHost {
public:
    CTavrelFrameControlHost(CTavrelApp& app, CMainFrame& frame);

    int GetViewMode() override;
    device::OleDateTime GetViewDate() override;
    void SetViewMode(int mode) override;
    void SetViewDate(int year, int month, int day) override;
    void ShowCalendarWindow() override;
    void RebuildCommandBar() override;
    void PostQuit() override;

private:
    CTavrelApp& m_app;
    CMainFrame& m_frame;
    bool m_shownOnce = false;
};
