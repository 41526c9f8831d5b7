// The daily and weekly modes, painted on their own: hour rows and the time mapping, the boxes of
// the day with their overlap columns, minimum height and strips, the week's Busy bars, outlines
// and icons, and the regions both register.

#include "ViewTestSupport.h"

#include "views/TavrelDayPainter.h"
#include "views/TavrelViewMessages.h"
#include "views/TavrelWeekPainter.h"

namespace views_testing {
namespace {

using gfx::Rect;
constexpr Rect Area{0, 0, 240, 268};
constexpr int RowsTop = 40; // the 28-pixel title band and the 12-pixel bar band above the rows
constexpr int RowsHeight = 228;

int At(int hour, int minute) { return RowsTop + (hour * 60 + minute) * RowsHeight / 1440; }

int TextWidth(const char16_t* text, int points)
{
    return gfx::Font::fromPoints(u"Tahoma", points).textExtent(text).width;
}

const TapRegion* RegionFor(const CTavrelTapRegions& regions, std::uint32_t message, const CTavrelEvent* event)
{
    for (const TapRegion& region : regions)
        if (region.GetMessage() == message && region.GetLParam() == EventParameter(event))
            return &region;
    return nullptr;
}

class DayView : public ::testing::Test {
protected:
    const std::vector<CTavrelDayPainter::Box>& Paint(const CTavrelDay& date)
    {
        CTavrelRenderContext context = bench.Context(CTavrelReaderView::Daily);
        m_painter = std::make_unique<CTavrelDayPainter>(context, bench.appearance, bench.weekBar);
        m_painter->Paint(Area, date);
        return m_painter->GetBoxes();
    }
    const CTavrelEvent* Event(int index)
    {
        const CTavrelEvent* found = nullptr;
        int i = 0;
        bench.events.ForEach([&](const CTavrelEvent& event) {
            if (i++ == index)
                found = &event;
        });
        return found;
    }

    RenderBench bench{9}; // September's pictures
    const int eventsLeft = TextWidth(u"00p ", 6);
    std::unique_ptr<CTavrelDayPainter> m_painter;
};

TEST_F(DayView, OverlappingBoxesShareTheWidthInColumns)
{
    // 9:00-10:00, 9:30-11:00 and 10:30-12:00. An hour is 9.5 pixels here, less than the minimum
    // box height, so the first box reaches down past 10:30 and meets the third box as well as the
    // second: all three count 3 and each takes its third (see src/views/README.md).
    bench.Add(Appointment(OleDateTime(2003, 9, 6, 9, 0, 0), OleDateTime(2003, 9, 6, 10, 0, 0), u"A", 1));
    bench.Add(Appointment(OleDateTime(2003, 9, 6, 9, 30, 0), OleDateTime(2003, 9, 6, 11, 0, 0), u"B", 2));
    bench.Add(Appointment(OleDateTime(2003, 9, 6, 10, 30, 0), OleDateTime(2003, 9, 6, 12, 0, 0), u"C", 3));
    const int minimum = gfx::Font::fromPoints(u"Tahoma", 8).textExtent(u"Wy").height + 4;
    ASSERT_GT(At(9, 0) + minimum, At(10, 30)) << "the first box no longer reaches the third";
    const auto& boxes = Paint({2003, 9, 6});
    ASSERT_EQ(boxes.size(), 3u);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(boxes[std::size_t(i)].column, i + 1) << i;
        EXPECT_EQ(boxes[std::size_t(i)].count, 3) << i;
    }

    const int width = 240 - eventsLeft;
    EXPECT_EQ(boxes[0].rect.left, eventsLeft);
    EXPECT_EQ(boxes[0].rect.right, eventsLeft + width / 3 - 2);
    EXPECT_EQ(boxes[1].rect.left, eventsLeft + width / 3);
    EXPECT_EQ(boxes[1].rect.right, eventsLeft + 2 * width / 3 - 2);
    EXPECT_EQ(boxes[2].rect.left, eventsLeft + 2 * width / 3);
    EXPECT_EQ(boxes[2].rect.right, eventsLeft + width - 2);
    EXPECT_EQ(boxes[0].rect.top, At(9, 0));
    EXPECT_EQ(boxes[1].rect.top, At(9, 30));
    EXPECT_EQ(boxes[2].rect.top, At(10, 30));

    // Each box has its Busy strip along the left edge, and its text part is the tap region.
    const gfx::Colour busy = bench.settings.busy;
    for (const auto& box : boxes) {
        EXPECT_EQ(bench.surface.pixel(box.rect.left + 3, box.rect.top + 2), busy);
        const TapRegion* region = RegionFor(bench.taps, VM_OPEN_EVENT, box.event);
        ASSERT_NE(region, nullptr);
        EXPECT_EQ(region->GetRect().left, box.rect.left + CTavrelDayPainter::StripWidth);
        EXPECT_EQ(region->GetRect().top, box.rect.top);
        EXPECT_EQ(bench.surface.pixel(box.rect.right - 1, box.rect.top + 1), busy) << "the box's border";
    }
}

TEST_F(DayView, AFirstBoxThatEndsBeforeTheThirdKeepsTheHalfItsLastOverlapGives)
{
    // From 8:00 the first box ends at 10:00, above the third: it meets the second only and
    // keeps count 2, so it is drawn in the left half while the others take thirds.
    bench.Add(Appointment(OleDateTime(2003, 9, 6, 8, 0, 0), OleDateTime(2003, 9, 6, 10, 0, 0), u"A", 1));
    bench.Add(Appointment(OleDateTime(2003, 9, 6, 9, 30, 0), OleDateTime(2003, 9, 6, 11, 0, 0), u"B", 2));
    bench.Add(Appointment(OleDateTime(2003, 9, 6, 10, 30, 0), OleDateTime(2003, 9, 6, 12, 0, 0), u"C", 3));
    const auto& boxes = Paint({2003, 9, 6});
    ASSERT_EQ(boxes.size(), 3u);
    EXPECT_EQ(boxes[0].column, 1);
    EXPECT_EQ(boxes[0].count, 2);
    EXPECT_EQ(boxes[1].column, 2);
    EXPECT_EQ(boxes[1].count, 3);
    EXPECT_EQ(boxes[2].column, 3);
    EXPECT_EQ(boxes[2].count, 3);
    const int width = 240 - eventsLeft;
    EXPECT_EQ(boxes[0].rect.left, eventsLeft);
    EXPECT_EQ(boxes[0].rect.right, eventsLeft + width / 2 - 2);
    EXPECT_EQ(boxes[1].rect.left, eventsLeft + width / 3);
    EXPECT_EQ(boxes[0].rect.top, At(8, 0));
}

TEST_F(DayView, ShortEventsGetTheMinimumHeightAndStayInsideTheView)
{
    bench.Add(Appointment(OleDateTime(2003, 9, 6, 14, 0, 0), OleDateTime(2003, 9, 6, 14, 5, 0), u"Quick", 1));
    bench.Add(Appointment(OleDateTime(2003, 9, 6, 23, 30, 0), OleDateTime(2003, 9, 6, 23, 59, 0), u"Late", 2));
    const auto& boxes = Paint({2003, 9, 6});
    ASSERT_EQ(boxes.size(), 2u);
    const int minimum = gfx::Font::fromPoints(u"Tahoma", 8).textExtent(u"Wy").height + 4;
    EXPECT_EQ(boxes[0].rect.top, At(14, 0));
    EXPECT_GE(boxes[0].rect.height(), minimum);
    EXPECT_EQ(boxes[1].rect.bottom, 268);
    EXPECT_EQ(boxes[1].rect.height(), minimum);
    // The box moved up; its strip keeps the event's own time.
    EXPECT_EQ(bench.surface.pixel(boxes[1].rect.left + 2, At(23, 30) + 1), bench.settings.busy);
    EXPECT_NE(bench.surface.pixel(boxes[1].rect.left + 2, boxes[1].rect.top + 1), bench.settings.busy);
}

TEST_F(DayView, EventsFromTheDayBeforeStartAtTheTopAndAllDayEventsHaveNoStrip)
{
    bench.Add(Appointment(OleDateTime(2003, 9, 5, 22, 0, 0), OleDateTime(2003, 9, 6, 2, 0, 0), u"Night", 1));
    bench.Add(Appointment(OleDateTime(2003, 9, 6, 0, 0, 0), OleDateTime(2003, 9, 6, 0, 0, 0), u"Holiday", 2));
    const auto& boxes = Paint({2003, 9, 6});
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].startOffset, 0);
    EXPECT_EQ(boxes[0].endOffset, 2 * 60 * RowsHeight / 1440);
    EXPECT_EQ(bench.surface.pixel(boxes[0].rect.left + 2, RowsTop + 1), bench.settings.busy);
    // The all-day box starts at midnight too, so it takes the next column, and has no strip.
    const TapRegion* allDay = RegionFor(bench.taps, VM_OPEN_EVENT, boxes[1].event);
    ASSERT_NE(allDay, nullptr);
    EXPECT_EQ(allDay->GetRect().left, boxes[1].rect.left);
    EXPECT_NE(bench.surface.pixel(boxes[1].rect.left + 2, boxes[1].rect.top + 3), bench.settings.busy);

    // Bounds: the icon's size at the events area's left edge and the box's top.
    EXPECT_EQ(boxes[0].event->GetBounds(), (Rect{eventsLeft, boxes[0].rect.top, eventsLeft + 16, boxes[0].rect.top + 16}));
}

TEST_F(DayView, AnAllDayEventIsALineAtTheTopOfEachOfItsDaysItsLastIncluded)
{
    // The store ends an all-day appointment at midnight of its last day: 5 to 7 September.
    bench.Add(Appointment(OleDateTime(2003, 9, 5, 0, 0, 0), OleDateTime(2003, 9, 7, 0, 0, 0), u"Conference", 1));
    const int minimum = gfx::Font::fromPoints(u"Tahoma", 8).textExtent(u"Wy").height + 4;
    for (int day : {5, 6, 7}) {
        const auto& boxes = Paint({2003, 9, day});
        ASSERT_EQ(boxes.size(), 1u) << "September " << day;
        EXPECT_EQ(boxes[0].startOffset, 0) << "September " << day;
        EXPECT_EQ(boxes[0].endOffset, 0) << "September " << day;
        EXPECT_EQ(boxes[0].rect.top, RowsTop) << "September " << day;
        EXPECT_EQ(boxes[0].rect.height(), minimum) << "September " << day;
    }
    EXPECT_TRUE(Paint({2003, 9, 8}).empty());
    EXPECT_TRUE(Paint({2003, 9, 4}).empty());
}

TEST_F(DayView, BoxTextKeepsTheAccentsOfCapitalsInsideTheBorder)
{
    bench.Add(Appointment(OleDateTime(2003, 9, 6, 0, 0, 0), OleDateTime(2003, 9, 6, 0, 0, 0), u"Ü", 1));
    const auto& boxes = Paint({2003, 9, 6});
    ASSERT_EQ(boxes.size(), 1u);
    const Rect& box = boxes[0].rect;
    auto ink = [&](int y) {
        int count = 0;
        for (int x = box.left; x < box.right; ++x)
            count += bench.surface.pixel(x, y) == gfx::colours::black;
        return count;
    };
    // Nothing above the box or on its border; the diaeresis, a free row, then the letter.
    EXPECT_EQ(ink(box.top - 1), 0);
    EXPECT_EQ(ink(box.top), 0);
    EXPECT_EQ(ink(box.top + 1), 2);
    EXPECT_EQ(ink(box.top + 2), 0);
    EXPECT_GT(ink(box.top + 3), 0);
}

TEST_F(DayView, HourLabelsStartAPixelInFromTheEdge)
{
    Paint({2003, 9, 6});
    int inkAtTheEdge = 0, inkBeside = 0;
    for (int y = RowsTop; y < 268; ++y) {
        inkAtTheEdge += bench.surface.pixel(0, y) == gfx::colours::black;
        for (int x = 1; x < 4; ++x)
            inkBeside += bench.surface.pixel(x, y) == gfx::colours::black;
    }
    EXPECT_EQ(inkAtTheEdge, 0);
    EXPECT_GT(inkBeside, 24 * 3);
}

TEST_F(DayView, TitleBandRowsAndRegions)
{
    Paint({2003, 9, 6});
    EXPECT_EQ(CTavrelDayPainter::TitleText({2003, 9, 6}), CQoString(u"Sat 6th, 2003"));
    EXPECT_EQ(CTavrelDayPainter::TitleText({2003, 9, 21}), CQoString(u"Sun 21st, 2003"));
    EXPECT_EQ(bench.layout.titleArea, (Rect{0, 0, 240, 27}));
    EXPECT_EQ(bench.surface.pixel(2, 2), TitleColour(9));
    // The week bar with Saturday's seventh (205 to 240) in dark blue.
    EXPECT_EQ(bench.surface.pixel(10, 30), WeekBarColour);
    EXPECT_EQ(bench.surface.pixel(206, 29), CTavrelDayPainter::WeekdayHighlight);
    EXPECT_EQ(bench.surface.pixel(204, 29), WeekBarColour);
    // Even hours tinted, odd ones white, right of the labels.
    EXPECT_EQ(bench.surface.pixel(200, At(0, 0) + 1), CTavrelDayPainter::EvenHourColour);
    EXPECT_EQ(bench.surface.pixel(200, At(1, 0) + 2), gfx::colours::white);

    ASSERT_EQ(bench.days.GetCount(), 1u);
    EXPECT_EQ(bench.days.GetAt(0).GetRect(), (Rect{0, RowsTop, 240, 268}));
    EXPECT_EQ(bench.days.GetAt(0).GetLParam(), 906);
    bool title = false, band = false;
    for (const TapRegion& region : bench.taps) {
        title |= region.GetMessage() == VM_SHOW_MONTHLY && region.GetLParam() == 906 && region.GetRect() == Rect{0, 0, 240, 27};
        band |= region.GetMessage() == VM_SHOW_WEEKLY && region.GetRect() == Rect{0, 28, 240, 40};
    }
    EXPECT_TRUE(title);
    EXPECT_TRUE(band);
}

class WeekView : public DayView {
protected:
    void Paint(const CTavrelDay& date)
    {
        CTavrelRenderContext context = bench.Context(CTavrelReaderView::Weekly);
        CTavrelWeekPainter(context, bench.appearance).Paint(Area, date);
    }
    const int x0 = TextWidth(u"12p ", 7);
    const int width = 240 - x0;
    int ColumnLeft(int index) const { return x0 + index * width / 7; }
};

TEST_F(WeekView, BusyBarsOutlinesAndIconsOnTheStartDay)
{
    // Week of Sunday 10 August 2003; Tuesday 9:00-10:00, and Tuesday 22:00 into Wednesday 2:00.
    bench.Add(Appointment(OleDateTime(2003, 8, 12, 9, 0, 0), OleDateTime(2003, 8, 12, 10, 0, 0), u"Meeting", 1));
    bench.Add(Appointment(OleDateTime(2003, 8, 12, 22, 0, 0), OleDateTime(2003, 8, 13, 2, 0, 0), u"Night", 2));
    Paint({2003, 8, 15});
    const gfx::Colour busy = bench.settings.busy;
    const gfx::Colour outline = CTavrelWeekPainter::OutlineColour(busy);
    EXPECT_EQ(outline, gfx::RGB(0xFF / 2, 0x88 / 2, 0xCC / 2));

    const int x1 = ColumnLeft(2) + 2;
    const int x2 = ColumnLeft(3) - 1;
    const int y1 = At(9, 0);
    const int y2 = At(10, 0);
    EXPECT_EQ(bench.surface.pixel(x1 + 18, y1 + 3), busy);
    EXPECT_EQ(bench.surface.pixel(x2 - 2, y2 - 2), busy);
    EXPECT_EQ(bench.surface.pixel(x1 - 1, y2 - 2), bench.settings.hour2) << "left of the bar";
    EXPECT_EQ(bench.surface.pixel(x2 - 1, y1 + 3), outline);
    EXPECT_EQ(bench.surface.pixel(x1 + 18, y2), outline);
    EXPECT_EQ(bench.surface.pixel(x1, y1), outline) << "the icon's key colour leaves the outline";
    EXPECT_EQ(bench.surface.pixel(x1 + 5, y1 + 5), IconColour(200 + 9 * 4));

    // The night event: a bar to the end of Tuesday and from the top of Wednesday, its icon on
    // Tuesday only, and each bar an event-menu region at the head of the list.
    EXPECT_EQ(bench.surface.pixel(ColumnLeft(2) + 8, 267), busy);
    EXPECT_EQ(bench.surface.pixel(ColumnLeft(3) + 8, RowsTop), outline);
    EXPECT_EQ(bench.surface.pixel(ColumnLeft(3) + 8, RowsTop + 5), busy) << "no icon on the day it continues";
    const CTavrelEvent* night = Event(1);
    EXPECT_EQ(night->GetBounds(), Rect::fromPositionAndSize(x1, At(22, 0), 16, 16));
    int marks = 0;
    for (const TapRegion& region : bench.taps)
        if (region.GetMessage() == VM_EVENT_MENU)
            ++marks;
    EXPECT_EQ(marks, 3);
    EXPECT_EQ(bench.taps.GetAt(0).GetMessage(), VM_EVENT_MENU);
    EXPECT_EQ(bench.taps.GetAt(0).GetWParam(), TapRegion::TapPoint);
}

TEST_F(WeekView, AnAllDayEventFillsEachOfItsDaysItsLastIncluded)
{
    // Tuesday 12 to Thursday 14 August, and a one-day holiday on Saturday 16th.
    bench.settings.displayDefaultIcons = false;
    bench.Add(Appointment(OleDateTime(2003, 8, 12, 0, 0, 0), OleDateTime(2003, 8, 14, 0, 0, 0), u"Conference", 1));
    bench.Add(Appointment(OleDateTime(2003, 8, 16, 0, 0, 0), OleDateTime(2003, 8, 16, 0, 0, 0), u"Holiday", 2));
    Paint({2003, 8, 15});
    const gfx::Colour busy = bench.settings.busy;
    for (int column : {2, 3, 4, 6}) {
        EXPECT_EQ(bench.surface.pixel(ColumnLeft(column) + 8, RowsTop + 1), busy) << "column " << column;
        EXPECT_EQ(bench.surface.pixel(ColumnLeft(column) + 8, 266), busy) << "column " << column;
    }
    for (int column : {0, 1, 5})
        EXPECT_NE(bench.surface.pixel(ColumnLeft(column) + 8, At(12, 0) + 3), busy) << "column " << column;
}

TEST_F(WeekView, AnEventWithoutIconIsAPlainBar)
{
    bench.settings.displayDefaultIcons = false;
    bench.Add(Appointment(OleDateTime(2003, 8, 12, 9, 0, 0), OleDateTime(2003, 8, 12, 10, 0, 0), u"Meeting", 1));
    Paint({2003, 8, 15});
    const int x1 = ColumnLeft(2) + 2;
    EXPECT_EQ(bench.surface.pixel(x1, At(9, 0)), bench.settings.busy);
    EXPECT_EQ(bench.surface.pixel(x1 + 5, At(9, 0) + 5), bench.settings.busy);
    EXPECT_TRUE(Event(0)->GetBounds().isEmpty());
}

TEST_F(WeekView, HourColoursHeadersAndAWeekAcrossTheYear)
{
    Paint({2003, 12, 31});
    EXPECT_EQ(CTavrelWeekPainter::TitleText({2003, 12, 31}), CQoString(u"12/28/2003-1/3/2004"));
    EXPECT_EQ(bench.surface.pixel(230, At(0, 0) + 1), bench.settings.hour1);
    EXPECT_EQ(bench.surface.pixel(230, At(1, 0) + 2), bench.settings.hour2);
    EXPECT_EQ(bench.surface.pixel(230, 30), CTavrelWeekPainter::BandColour);
    EXPECT_EQ(bench.surface.pixel(ColumnLeft(3), 100), gfx::colours::black);

    // Columns open their days: 28 December 2003 to 3 January 2004.
    std::vector<std::pair<ui::WParam, ui::LParam>> daily;
    for (const TapRegion& region : bench.taps)
        if (region.GetMessage() == VM_SHOW_DAILY)
            daily.emplace_back(region.GetWParam(), region.GetLParam());
    const std::vector<std::pair<ui::WParam, ui::LParam>> expected{{2003, 1228}, {2003, 1229}, {2003, 1230}, {2003, 1231},
                                                                  {2004, 101},  {2004, 102},  {2004, 103}};
    EXPECT_EQ(daily, expected);
    ASSERT_EQ(bench.days.GetCount(), 7u);
    EXPECT_EQ(bench.days.GetAt(4).GetRect(), (Rect{ColumnLeft(4), RowsTop, ColumnLeft(5), 268}));
}

} // namespace
} // namespace views_testing
