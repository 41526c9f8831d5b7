#include "data/TavrelOrderedLock.h"

#include <gtest/gtest.h>

#include <mutex>
#include <string>
#include <vector>

namespace {

class RecordingHandler {
public:
    RecordingHandler()
    {
        CTavrelOrderedLock::SetViolationHandler([this](const CTavrelOrderedLock& held, const CTavrelOrderedLock& wanted) {
            reports.push_back(std::u16string(wanted.GetName()) + u" after " + held.GetName());
        });
    }
    ~RecordingHandler() { CTavrelOrderedLock::SetViolationHandler(nullptr); }
    std::vector<std::u16string> reports;
};

TEST(TavrelOrderedLockTest, TheDocumentedOrderAndReentranceAreFine)
{
    RecordingHandler handler;
    CTavrelOrderedLock events(CTavrelOrderedLock::EventRank, u"event lock");
    CTavrelOrderedLock calendars(CTavrelOrderedLock::CalendarListRank, u"calendar list lock");
    CTavrelOrderedLock rules(CTavrelOrderedLock::RulesRank, u"rules lock");
    {
        std::lock_guard a(events);
        std::lock_guard b(calendars);
        std::lock_guard c(rules);
        std::lock_guard again(calendars); // re-entered while a later lock is held: no new order
        EXPECT_TRUE(rules.IsHeldByCurrentThread());
    }
    {
        std::lock_guard c(calendars); // leaving one out is fine too
        std::lock_guard r(rules);
    }
    EXPECT_TRUE(handler.reports.empty());
    EXPECT_FALSE(events.IsHeldByCurrentThread());
}

TEST(TavrelOrderedLockTest, AWrongOrderIsReportedBeforeTheThreadBlocks)
{
    RecordingHandler handler;
    CTavrelOrderedLock events(CTavrelOrderedLock::EventRank, u"event lock");
    CTavrelOrderedLock calendars(CTavrelOrderedLock::CalendarListRank, u"calendar list lock");
    CTavrelOrderedLock rules(CTavrelOrderedLock::RulesRank, u"rules lock");
    {
        std::lock_guard c(calendars);
        std::lock_guard e(events);
    }
    {
        std::lock_guard r(rules);
        std::lock_guard c(calendars);
    }
    EXPECT_EQ(handler.reports,
              (std::vector<std::u16string>{u"event lock after calendar list lock", u"calendar list lock after rules lock"}));
}

} // namespace
