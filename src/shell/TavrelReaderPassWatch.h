#pragma once
// CTavrelReaderPassWatch: the calendar view as the reader thread sees it, and a record of the
// reader's passes the view has taken in. The frame hands this to the reader instead of the view
// itself: it forwards the date, the mode and the refresh message, and right behind each refresh
// message (tasks run in posting order with the messages) it notes the date and mode the view
// showed when it took the pass in, and which refresh requests the pass had taken in. A script's
// `idle` and the start-up snapshot wait until the view has taken in a pass for what it shows now:
// its date and mode, and every change a refresh was requested for (a calendar chosen, a category
// hidden).

#include "data/TavrelReaderView.h"
#include "platform/ui/WindowHandle.h"

#include <memory>

class CTavrelCalendarData;
class CTavrelView;

class CTavrelReaderPassWatch final : public CTavrelReaderView {
public:
    // The view's window must exist: its handle is taken here.
    CTavrelReaderPassWatch(CTavrelView& view, const CTavrelCalendarData& data);

    device::OleDateTime GetCurrentDate() override;
    int GetViewMode() override;
    // Any thread.
    void PostRefreshEvents() override;

    // User-interface thread: a pass has been taken in for the view's current date and mode.
    bool IsCurrentPassDrawn() const;
    // How many passes the view has taken in.
    unsigned GetPassCount() const { return m_state->passes; }

private:
    struct State {
        bool drawn = false;
        int mode = -1;
        device::OleDateTime date;
        unsigned passes = 0;
        unsigned generation = 0;
    };

    CTavrelView& m_view;
    const CTavrelCalendarData& m_data;
    // Taken once on the interface thread: the reader thread must not read the view's window.
    ui::WindowHandle m_viewHandle;
    std::shared_ptr<State> m_state;
};
