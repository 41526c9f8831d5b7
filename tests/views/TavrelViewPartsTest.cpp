// The view's small parts on their own: the day arithmetic of Next and Previous, the tap rule, the
// icon cache and the texts written about events.

#include "ViewTestSupport.h"

#include "views/TavrelDay.h"
#include "views/TavrelEventText.h"
#include "views/TavrelIconCache.h"
#include "views/TavrelTapTracker.h"

#include "platform/gfx/PngWriter.h"

namespace views_testing {
namespace {

constexpr int Daily = CTavrelReaderView::Daily;
constexpr int Weekly = CTavrelReaderView::Weekly;
constexpr int Monthly = CTavrelReaderView::Monthly;
constexpr int Quarterly = CTavrelReaderView::Quarterly;

TEST(TavrelDaySteps, CarryIntoNeighbouringMonthsAndYears)
{
    struct Step {
        int mode;
        CTavrelDay from;
        CTavrelDay next;
        CTavrelDay previous;
    };
    const Step steps[] = {
        {Daily, {2003, 12, 31}, {2004, 1, 1}, {2003, 12, 30}},
        {Daily, {2004, 1, 1}, {2004, 1, 2}, {2003, 12, 31}},
        {Daily, {2004, 3, 1}, {2004, 3, 2}, {2004, 2, 29}},
        {Weekly, {2003, 2, 28}, {2003, 3, 7}, {2003, 2, 21}},
        {Weekly, {2003, 3, 3}, {2003, 3, 10}, {2003, 2, 24}},
        {Weekly, {2003, 12, 29}, {2004, 1, 5}, {2003, 12, 22}},
        {Weekly, {2004, 1, 2}, {2004, 1, 9}, {2003, 12, 26}},
        // Monthly and quarterly steps keep the day; the view clamps it.
        {Monthly, {2004, 1, 31}, {2004, 2, 31}, {2003, 12, 31}},
        {Monthly, {2003, 12, 15}, {2004, 1, 15}, {2003, 11, 15}},
        {Quarterly, {2003, 11, 30}, {2004, 2, 30}, {2003, 8, 30}},
        {Quarterly, {2003, 2, 10}, {2003, 5, 10}, {2002, 11, 10}},
    };
    for (const Step& step : steps) {
        EXPECT_EQ(step.from.Next(step.mode), step.next) << step.mode << " " << step.from.month << "/" << step.from.day;
        EXPECT_EQ(step.from.Previous(step.mode), step.previous) << step.mode << " " << step.from.month << "/" << step.from.day;
    }
    EXPECT_EQ(CTavrelDay(2004, 2, 31).Clamped(), (CTavrelDay{2004, 2, 29}));
    EXPECT_EQ(CTavrelDay(2003, 2, 30).Clamped(), (CTavrelDay{2003, 2, 28}));
    EXPECT_EQ(CTavrelDay::DaysInMonth(2000, 2), 29);
    EXPECT_EQ(CTavrelDay::DaysInMonth(1900, 2), 28);
    EXPECT_EQ(CTavrelDay::DaysInMonth(2003, 13), 0);
}

TEST(TavrelTapTracker, UnderASecondAndUnderTenPixelsIsATap)
{
    CTavrelTapTracker tracker;
    tracker.PenDown(5000, {100, 100});
    EXPECT_TRUE(tracker.PenUp(5999, {105, 104})); // 999 ms, |dx| + |dy| = 9
    tracker.PenDown(5000, {100, 100});
    EXPECT_FALSE(tracker.PenUp(6000, {100, 100})); // 1000 ms
    tracker.PenDown(5000, {100, 100});
    EXPECT_FALSE(tracker.PenUp(5001, {94, 96})); // 10 pixels
    tracker.PenDown(5000, {100, 100});
    EXPECT_FALSE(tracker.PenUp(5001, {100, 110}));
    // A pen-up always ends the tap; a second one without a pen-down is no tap.
    EXPECT_FALSE(tracker.PenUp(5002, {100, 100}));
    tracker.PenDown(5000, {100, 100});
    tracker.Cancel();
    EXPECT_FALSE(tracker.PenUp(5001, {100, 100}));
    // The tick count wraps at 2^32.
    tracker.PenDown(0xFFFFFF00u, {1, 1});
    EXPECT_TRUE(tracker.PenUp(0x00000100u, {1, 1}));
}

class TavrelIconCacheTest : public ::testing::Test {
protected:
    CQoString Icon(int number)
    {
        CQoString path;
        path.Format(u"\\Icons\\I%d.png", number);
        return path;
    }
    void SetUp() override
    {
        for (int number = 0; number < 22; ++number) {
            std::string name = "Icons/I" + std::to_string(number) + ".png";
            TestPictures::WriteIconFile(device.host(name), gfx::RGB(unsigned(number), 1, 2));
        }
    }
    testing_support::TempDevice device;
    CTavrelIconCache cache;
};

TEST_F(TavrelIconCacheTest, DecodesOnceAndReplacesTheLeastRecentlyUsed)
{
    for (int number = 0; number < 20; ++number)
        ASSERT_NE(cache.Find(Icon(number)), nullptr);
    EXPECT_EQ(cache.GetDecodeCount(), 20u);
    const CTavrelImage* again = cache.Find(Icon(7));
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(again->GetPixel(5, 5), gfx::RGB(7, 1, 2));
    EXPECT_EQ(cache.GetDecodeCount(), 20u);

    // Slot 0 was used longest ago: the 21st icon takes it; slot 1 goes next, as 0 was just used.
    cache.Find(Icon(0));
    cache.Find(Icon(20));
    EXPECT_EQ(cache.GetDecodeCount(), 21u);
    EXPECT_EQ(cache.GetSlotName(1), Icon(20));
    cache.Find(Icon(0));
    EXPECT_EQ(cache.GetDecodeCount(), 21u) << "still held";
    cache.Find(Icon(1));
    EXPECT_EQ(cache.GetDecodeCount(), 22u) << "the one replaced is decoded again";

    // Names compare exactly, as the rules write them: another spelling is another entry.
    EXPECT_NE(cache.Find(u"\\icons\\i3.png"), nullptr);
    EXPECT_EQ(cache.GetDecodeCount(), 23u);
}

TEST_F(TavrelIconCacheTest, AFileThatDoesNotDecodeLeavesItsSlotFreeAndIsTriedOncePerRender)
{
    EXPECT_EQ(cache.Find(u"\\Icons\\Nothing.png"), nullptr);
    EXPECT_EQ(cache.Find(u"\\Icons\\Nothing.png"), nullptr);
    EXPECT_EQ(cache.GetDecodeCount(), 1u);
    EXPECT_TRUE(cache.GetSlotName(0).IsEmpty());
    cache.BeginRender();
    TestPictures::WriteIconFile(device.host("Icons/Nothing.png"), 0x123456);
    EXPECT_NE(cache.Find(u"\\Icons\\Nothing.png"), nullptr) << "a new render tries again";
    EXPECT_EQ(cache.Find(u""), nullptr);
}

TEST_F(TavrelIconCacheTest, KeepsIconsShrunkToTheLargestPlaceAViewDrawsThem)
{
    // Twenty huge icon files would otherwise be held at full size, hundreds of megabytes.
    TestPictures::WriteIconFile(device.host("Icons/Wide.png"), 0x224466, 600);
    gfx::Surface strip(900, 300, 0x336699);
    ASSERT_TRUE(gfx::PngWriter::write(strip, device.host("Icons/Strip.png")));
    const CTavrelImage* wide = cache.Find(u"\\Icons\\Wide.png");
    ASSERT_NE(wide, nullptr);
    EXPECT_EQ(wide->GetWidth(), CTavrelIconCache::MaxIconSide);
    EXPECT_EQ(wide->GetHeight(), CTavrelIconCache::MaxIconSide);
    EXPECT_NE(wide->GetPixel(0, 0), gfx::Colour(0x224466)) << "the key-coloured corner stays the top-left pixel";
    EXPECT_EQ(wide->GetPixel(32, 32), gfx::Colour(0x224466));
    const CTavrelImage* flat = cache.Find(u"\\Icons\\Strip.png");
    ASSERT_NE(flat, nullptr);
    EXPECT_EQ(flat->GetWidth(), CTavrelIconCache::MaxIconSide);
    EXPECT_EQ(flat->GetHeight(), CTavrelIconCache::MaxIconSide / 3) << "proportions kept";
    EXPECT_EQ(flat->GetName(), CQoString(u"\\Icons\\Strip.png"));
    const CTavrelImage* small = cache.Find(Icon(3));
    ASSERT_NE(small, nullptr);
    EXPECT_EQ(small->GetWidth(), 16) << "a small icon stays as it is";
}

TEST(TavrelEventText, OrdinalsHourLabelsAndMenuLines)
{
    const std::pair<int, const char16_t*> ordinals[] = {{1, u"1st"},   {2, u"2nd"},   {3, u"3rd"},   {4, u"4th"},
                                                        {11, u"11th"}, {12, u"12th"}, {13, u"13th"}, {21, u"21st"},
                                                        {22, u"22nd"}, {23, u"23rd"}, {30, u"30th"}, {31, u"31st"}};
    for (auto [day, text] : ordinals)
        EXPECT_EQ(CTavrelEventText::Ordinal(day), CQoString(text)) << day;
    EXPECT_EQ(CTavrelEventText::HourLabel(0), CQoString(u"12a"));
    EXPECT_EQ(CTavrelEventText::HourLabel(11), CQoString(u"11a"));
    EXPECT_EQ(CTavrelEventText::HourLabel(12), CQoString(u"12p"));
    EXPECT_EQ(CTavrelEventText::HourLabel(23), CQoString(u"11p"));

    EXPECT_EQ(CTavrelEventText::MenuLine(Appointment(OleDateTime(2003, 8, 1, 0, 5, 0), OleDateTime(2003, 8, 1, 1, 0, 0), u"Early")),
              CQoString(u"12:05a Early"));
    EXPECT_EQ(CTavrelEventText::MenuLine(Appointment(OleDateTime(2003, 8, 1, 12, 30, 0), OleDateTime(2003, 8, 1, 13, 0, 0), u"Lunch")),
              CQoString(u"12:30p Lunch"));
    EXPECT_EQ(CTavrelEventText::MenuLine(Appointment(OleDateTime(2003, 8, 1, 0, 0, 0), OleDateTime(2003, 8, 2, 0, 0, 0), u"Trip")),
              CQoString(u"Trip"));
}

TEST(TavrelEventText, DayAndAgendaLinesNameTheOtherDaysOfEventsThatCrossMidnight)
{
    const OleDateTime dayStart(2003, 9, 6, 0, 0, 0);
    const OleDateTime dayEnd(2003, 9, 6, 23, 59, 59);
    auto day = [&](const OleDateTime& start, const OleDateTime& end, const char16_t* name) {
        return CTavrelEventText::DayLine(Appointment(start, end, name), dayStart, dayEnd);
    };
    auto agenda = [&](const OleDateTime& start, const OleDateTime& end, const char16_t* name) {
        return CTavrelEventText::AgendaLine(Appointment(start, end, name), dayStart, dayEnd);
    };
    const OleDateTime yesterday22(2003, 9, 5, 22, 0, 0);
    const OleDateTime today0130(2003, 9, 6, 1, 30, 0);
    const OleDateTime today0900(2003, 9, 6, 9, 0, 0);
    const OleDateTime today1715(2003, 9, 6, 17, 15, 0);
    const OleDateTime tomorrow0800(2003, 9, 7, 8, 0, 0);

    EXPECT_EQ(day(yesterday22, today0130, u"Night"), CQoString(u"9/05 10:00p-1:30a Night"));
    EXPECT_EQ(day(today0900, today1715, u"Work"), CQoString(u"9:00a-5:15p Work"));
    EXPECT_EQ(day(today1715, tomorrow0800, u"Late"), CQoString(u"5:15p-9/07 8:00a Late"));
    EXPECT_EQ(day(yesterday22, tomorrow0800, u"Long"), CQoString(u"9/05 10:00p-9/07 8:00a Long"));
    EXPECT_EQ(day(dayStart, dayStart, u"Holiday"), CQoString(u"Holiday"));
    // An all-day event over several days reads the same on each of them, its last one included.
    for (const OleDateTime& last : {dayStart, OleDateTime(2003, 9, 8, 0, 0, 0)})
        EXPECT_EQ(day(OleDateTime(2003, 9, 4, 0, 0, 0), last, u"Conference"), CQoString(u"Conference"));

    EXPECT_EQ(agenda(yesterday22, today0130, u"Night"), CQoString(u"9/5-1:30a Night"));
    EXPECT_EQ(agenda(today0900, today1715, u"Work"), CQoString(u"9:00a-5:15p Work"));
    EXPECT_EQ(agenda(today1715, tomorrow0800, u"Late"), CQoString(u"5:15p-9/7 Late"));
    EXPECT_EQ(agenda(today0900, today0900, u"Reminder"), CQoString(u"9:00a Reminder"));
    EXPECT_EQ(agenda(dayStart, dayStart, u"Holiday"), CQoString(u"Holiday"));
}

} // namespace
} // namespace views_testing
