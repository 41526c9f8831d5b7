#pragma once
// CTavrelReaderPassWatch: the calendar view as the reader thread sees it, and a record of the
// reader's passes the view has taken in. The frame hands this to the reader instead of the view
// itself: it forwards the date, the mode and the refresh message, and right behind each refresh
// message (tasks run in posting order with the messages) it notes the date and mode the view
// showed when it took the pass in, and how many refresh requests the pass had taken when it
// started. A script's `idle` and the start-up snapshot wait until the view has taken in a pass for
// what it shows now that started after every refresh request made so far (after the icon rules
// changed, say, the pass that was already under way does not count).

#include "data/TavrelReaderView.h"
#include "platform/ui/WindowHandle.h"

#include <cstdint>
#include <memory>

class CTavrelCalendarData;
class CTavrelView;

class CTavrelReaderPassWatch final : public CTavrelReaderView {
public:
    // The view's window must exist: its handle is taken here. `data` counts the refresh requests.
    CTavrelReaderPassWatch(CTavrelView& view, const CTavrelCalendarData& data);

    device::OleDateTime GetCurrentDate() override;
    int GetViewMode() override;
    // Any thread.
    void PostRefreshEvents() override;

    // User-interface thread: a pass has been taken in for the view's current date and mode, and it
    // started after every refresh request.
    bool IsCurrentPassDrawn() const;
    // How many passes the view has taken in.
    unsigned GetPassCount() const { return m_state->passes; }

private:
    struct State {
        bool drawn = false;
        int mode = -1;
        device::OleDateTime date;
        unsigned passes = 0;
        std::uint64_t refreshesTaken = 0;
    };

    CTavrelView& m_view;
    const CTavrelCalendarData& m_data;
    // Taken once on the interface thread: the reader thread must not read the view's window.
    ui::WindowHandle m_viewHandle;
    std::shared_ptr<State> m_state;
};
