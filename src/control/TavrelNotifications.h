#pragma once
// CTavrelNotifications: the texts of the notifications that the calendar sends to control
// applications, and the names of the view modes they carry. Arguments are quoted; dates are the
// locale's date followed by its time, the time left out at midnight.

#include "common/QoString.h"
#include "platform/device/OleDateTime.h"

#include <optional>

class CTavrelNotifications {
public:
    // "Daily", "Weekly", "Monthly", "Quarterly" for the view modes 0 to 3; empty text otherwise.
    static CQoString ViewModeName(int mode);
    // The mode of one of those names, ignoring case; nothing for any other text.
    static std::optional<int> ParseViewMode(const CQoString& name);
    // A date-time as the protocol writes it.
    static CQoString DateText(const device::OleDateTime& date);

    // The view's date is written without its time.
    static CQoString Initialized(const CQoString& calendar, int viewMode, const device::OleDateTime& viewDate);
    static CQoString CalendarRegistered(const CQoString& name);
    static CQoString FactoryRegistered(const CQoString& factories);
    static CQoString ActivityAdded(const CQoString& id);
    static CQoString ActivityUpdated(const CQoString& id);
    static CQoString ActivityDeleted(const CQoString& id);
    static CQoString AllActivitiesDeleted();
    static CQoString CalendarChanged(const CQoString& calendar);
    static CQoString DateChanged(const device::OleDateTime& date);
    // "OnViewChanged:Daily" and so on; empty text for a mode outside 0 to 3.
    static CQoString ViewChanged(int viewMode);
    static CQoString RequestAddActivity(const device::OleDateTime& start, const device::OleDateTime& end,
                                        const CQoString& kind);
    static CQoString RequestChangeActivity(const CQoString& id, const device::OleDateTime& start,
                                           const device::OleDateTime& end);
    static CQoString ShowClient();
    static CQoString CalendarClose();
};
