#pragma once
// What the reader thread needs of the calendar view, and the message it posts to it. The view
// implements this; the reader calls it from its own thread, never while it holds one of the
// application's locks.

#include "platform/device/OleDateTime.h"
#include "platform/ui/Messages.h"

#include <cstdint>

// The reader has rebuilt the window collection for the view's current date (no parameters).
inline constexpr std::uint32_t VM_REFRESH_EVENTS = ui::WM_USER + 0;

class CTavrelReaderView {
public:
    // The view modes, as the view numbers them.
    enum ViewMode { Daily = 0, Weekly = 1, Monthly = 2, Quarterly = 3 };

    virtual ~CTavrelReaderView() = default;

    // The view's current date, copied under the view's date lock.
    virtual device::OleDateTime GetCurrentDate() = 0;
    // The mode in force; read from the reader's thread, so the view keeps it where that is safe.
    virtual int GetViewMode() = 0;
    // Posts VM_REFRESH_EVENTS to the view's window (a window already destroyed swallows it).
    virtual void PostRefreshEvents() = 0;
};
