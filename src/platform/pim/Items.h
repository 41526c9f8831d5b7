#pragma once
// The items of the calendar folder, searched the handheld's way: find(restriction) gives the
// first matching item, findNext() each further one, in start order (then end, then identifier),
// until it gives null.
//
// With include-recurrences on, each occurrence of a series is its own item, with its own start
// and end and the series' identifier; off, a series is one item with its first start and end.
// Expansion is bounded: a restriction that would leave more than kMaxOccurrences occurrences to
// look at (a series without end and no date bound, say) fails with TooManyOccurrences instead of
// running for ever. The calendar's own query, "[End] >= \"...\" AND [Start] <= \"...\"", touches
// only the appointments and series that overlap its period.
//
// find() reads every match at once, so the enumeration is a consistent snapshot: changes saved
// while it runs show in the next find(). One Items object serves one thread.

#include "platform/device/WideText.h"
#include "platform/pim/Appointment.h"
#include "platform/pim/AppointmentRecord.h"
#include "platform/pim/Error.h"
#include "platform/pim/Restriction.h"

#include <memory>
#include <optional>
#include <vector>

namespace pim {

class Store;

class Items {
public:
    static constexpr std::size_t kMaxOccurrences = 250'000;

    explicit Items(std::shared_ptr<Store> store);

    bool includeRecurrences() const { return m_includeRecurrences; }
    void setIncludeRecurrences(bool include) { m_includeRecurrences = include; }

    // The first matching item; null when none matches (error None) or the search fails
    // (BadRestriction, TooManyOccurrences, NotLoggedOn, Busy, Damaged...).
    std::unique_ptr<Appointment> find(device::WideView restriction, Error* error = nullptr);
    // The next matching item of the last find(); null after the last one.
    std::unique_ptr<Appointment> findNext(Error* error = nullptr);

private:
    struct Match {
        std::size_t record;
        Milliseconds start;
        Milliseconds end;
    };

    const Restriction* restrictionFor(device::WideView text, Error* error);
    Error collect(const Restriction& restriction);
    Error expandSeries(std::size_t index, const Restriction& restriction, const Restriction::Window& window,
                       std::size_t& budget);
    std::unique_ptr<Appointment> take(Error* error);

    std::shared_ptr<Store> m_store;
    bool m_includeRecurrences = false;
    // The last restriction, kept parsed: the reader asks the same one until its period moves.
    device::WideString m_restrictionText;
    std::optional<Restriction> m_restriction;
    std::vector<AppointmentRecord> m_records;
    std::vector<Match> m_matches;
    std::size_t m_next = 0;
    bool m_matchesAreOccurrences = false;
};

} // namespace pim
