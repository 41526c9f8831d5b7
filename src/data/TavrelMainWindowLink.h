#pragma once
// The application's reference to its main frame, safe to use from the reader thread.
//
// The frame is created and destroyed on the user-interface thread, while the reader thread asks
// its view for the date and posts to it. The reader reaches the view only inside WithView, which
// holds the link's lock; Set takes the same lock, so once the frame has set null no reader call
// can still be running on it, and the frame may go.

#include "data/TavrelMainWindow.h"
#include "data/TavrelReaderView.h"
#include "platform/device/CriticalSection.h"

#include <atomic>

class CTavrelMainWindowLink {
public:
    enum class Reach { NoMainWindow, NoView, Reached };

    // Waits for a reader call in progress to end.
    void Set(CTavrelMainWindow* window)
    {
        device::ScopedLock guard(m_lock);
        m_window.store(window);
    }

    // For the user-interface thread, which is the one that sets it.
    CTavrelMainWindow* Get() const { return m_window.load(); }

    // Calls `use(view)` under the link's lock when there is a main window with a view.
    template <typename Use>
    Reach WithView(Use&& use)
    {
        device::ScopedLock guard(m_lock);
        CTavrelMainWindow* window = m_window.load();
        if (!window)
            return Reach::NoMainWindow;
        CTavrelReaderView* view = window->GetReaderView();
        if (!view)
            return Reach::NoView;
        use(*view);
        return Reach::Reached;
    }

private:
    device::CriticalSection m_lock;
    std::atomic<CTavrelMainWindow*> m_window{nullptr};
};
