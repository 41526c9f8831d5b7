#include "shell/TavrelFrameControlHost.h"

#include "platform/ui/Desktop.h"
#include "shell/MainFrame.h"
#include "shell/TavrelApp.h"
#include "views/TavrelView.h"

CTavrelFrameControlHost::CTavrelFrameControlHost(CTavrelApp& app, CMainFrame& frame) : m_app(app), m_frame(frame) {}

int CTavrelFrameControlHost::GetViewMode()
{
    CTavrelView* view = m_frame.GetView();
    return view ? view->GetViewMode() : CTavrelReaderView::Monthly;
}

device::OleDateTime CTavrelFrameControlHost::GetViewDate()
{
    CTavrelView* view = m_frame.GetView();
    return view ? view->GetCurrentDate() : device::OleDateTime::GetCurrentTime();
}

void CTavrelFrameControlHost::SetViewMode(int mode)
{
    if (CTavrelView* view = m_frame.GetView())
        view->ShowCalendar(mode, true);
}

void CTavrelFrameControlHost::SetViewDate(int year, int month, int day)
{
    if (CTavrelView* view = m_frame.GetView())
        view->SetCurrentDate(year, month, day, true);
}

void CTavrelFrameControlHost::ShowCalendarWindow()
{
    if (CTavrelView* view = m_frame.GetView())
        view->show();
    if (m_app.IsControlMode() && !m_shownOnce) {
        m_shownOnce = true;
        m_frame.show();
    }
    if (m_frame.exists()) {
        ui::Desktop::current().bringToTop(m_frame);
        m_frame.setFocus();
    }
}

void CTavrelFrameControlHost::RebuildCommandBar() { m_frame.BuildCommandBar(); }

void CTavrelFrameControlHost::PostQuit() { ui::Desktop::current().quit(0); }
