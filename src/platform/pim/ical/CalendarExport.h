#pragma once
// Writes the store's appointments as an iCalendar document (ical::CalendarWriter): a series as
// one event with its RRULE and its deleted occurrences as EXDATEs, starting on its first
// occurrence; an appointment that stands for one occurrence (an imported changed or expanded one)
// with its UID and RECURRENCE-ID, so that importing the document again finds it.

#include "platform/device/OleDateTime.h"
#include "platform/pim/Error.h"

#include <optional>
#include <string>

namespace pim {

class Application;

class CalendarExport {
public:
    struct Period {
        device::OleDateTime from;
        device::OleDateTime to;
    };

    explicit CalendarExport(Application& application) : m_application(application) {}

    // Every appointment, or those that touch `period` (a series whole when any occurrence does),
    // as the text of one document in `text`; `count` says how many events it holds. False with
    // the store's error.
    bool run(const std::optional<Period>& period, std::string& text, int& count, Error* error = nullptr);

private:
    Application& m_application;
};

} // namespace pim
