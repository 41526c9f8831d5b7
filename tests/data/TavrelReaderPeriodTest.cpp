#include "data/TavrelReaderPeriod.h"
#include "data/TavrelReaderView.h"

#include <gtest/gtest.h>

namespace {

using device::OleDateTime;

struct PeriodCase {
    const char* what;
    OleDateTime date;
    int mode;
    OleDateTime from;
    OleDateTime to;
};

OleDateTime day(int y, int m, int d, int h = 0, int mi = 0, int s = 0)
{
    return OleDateTime(y, m, d, h, mi, s);
}

TEST(TavrelReaderPeriodTest, EachModeCoversItsDaysFromMidnightToTheLastSecond)
{
    const PeriodCase cases[] = {
        {"daily", day(2026, 3, 4, 15, 30), CTavrelReaderView::Daily, day(2026, 3, 4), day(2026, 3, 4, 23, 59, 59)},
        {"weekly on a Sunday", day(2026, 3, 1, 8), CTavrelReaderView::Weekly, day(2026, 3, 1), day(2026, 3, 7, 23, 59, 59)},
        {"weekly on a Saturday", day(2026, 3, 7, 22), CTavrelReaderView::Weekly, day(2026, 3, 1), day(2026, 3, 7, 23, 59, 59)},
        {"weekly across the year", day(2027, 1, 1), CTavrelReaderView::Weekly, day(2026, 12, 27), day(2027, 1, 2, 23, 59, 59)},
        {"monthly, leap February", day(2028, 2, 10), CTavrelReaderView::Monthly, day(2028, 2, 1), day(2028, 2, 29, 23, 59, 59)},
        {"monthly, common February", day(2026, 2, 28), CTavrelReaderView::Monthly, day(2026, 2, 1), day(2026, 2, 28, 23, 59, 59)},
        {"monthly, December", day(2026, 12, 8), CTavrelReaderView::Monthly, day(2026, 12, 1), day(2026, 12, 31, 23, 59, 59)},
        {"quarterly in May", day(2026, 5, 13), CTavrelReaderView::Quarterly, day(2026, 4, 1), day(2026, 6, 30, 23, 59, 59)},
        {"quarterly in December", day(2026, 12, 8), CTavrelReaderView::Quarterly, day(2026, 10, 1), day(2026, 12, 31, 23, 59, 59)},
        {"quarterly in January", day(2026, 1, 1), CTavrelReaderView::Quarterly, day(2026, 1, 1), day(2026, 3, 31, 23, 59, 59)},
        {"unknown mode", day(2026, 3, 4), 7, OleDateTime(), OleDateTime()},
    };
    for (const PeriodCase& c : cases) {
        const CTavrelReaderPeriod period = CTavrelReaderPeriod::ForView(c.date, c.mode);
        EXPECT_EQ(period.GetFrom(), c.from) << c.what << ": " << device::toUtf8(period.GetFrom().Format());
        EXPECT_EQ(period.GetTo(), c.to) << c.what << ": " << device::toUtf8(period.GetTo().Format());
    }
}

TEST(TavrelReaderPeriodTest, RestrictionUsesTheLocalesDateTimeText)
{
    const CTavrelReaderPeriod period = CTavrelReaderPeriod::ForView(day(2026, 3, 4), CTavrelReaderView::Monthly);
    EXPECT_EQ(period.GetRestriction().View(), u"[End] >= \"3/1/2026\" AND [Start] <= \"3/31/2026 11:59:59 PM\"");
    EXPECT_EQ(CTavrelReaderPeriod::KeyFor(day(2026, 3, 4)).View(), u"202603");
    EXPECT_EQ(CTavrelReaderPeriod::KeyFor(day(987, 11, 4)).View(), u"098711");
}

} // namespace
