#pragma once
// CTavrelViewSource: what the calendar view needs of the application — the data it shows, the
// settings it draws with, the current calendar's appearance, the appointment store whose items it
// opens, and a way to ask the reader for a fresh pass. The application implements it; what the
// view needs of the window that holds it is CTavrelViewHost.

#include "common/QoString.h"

#include <vector>

class CTavrelCalendarAppearance;
class CTavrelCalendarData;
class CTavrelSettings;

namespace pim {
class Application;
}

class CTavrelViewSource {
public:
    virtual ~CTavrelViewSource() = default;

    virtual CTavrelSettings& GetSettings() = 0;
    virtual CTavrelCalendarData& GetCalendarData() = 0;
    virtual CTavrelCalendarAppearance& GetAppearance() = 0;
    // The logged-on store; null when there is none.
    virtual pim::Application* GetOutlook() const = 0;
    // The appointment templates' names in their stored order, for the day menu's "New" submenu.
    virtual std::vector<CQoString> GetAppointmentTemplateNames() = 0;
    // The mode or date changed, or the appointment editor closed: the reader reads again now
    // instead of after its pause.
    virtual void RequestRefresh() = 0;
};
