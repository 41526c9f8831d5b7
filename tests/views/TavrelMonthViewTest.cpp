// The monthly and quarterly modes: geometry from the scale, the cells of 4- and 6-row months,
// the regions each part registers, the marks drawn in the cells, the placement of event icons
// and the agenda.

#include "ViewTestSupport.h"

#include "views/TavrelMonthPainter.h"
#include "views/TavrelQuarterPainter.h"
#include "views/TavrelViewMessages.h"

namespace views_testing {
namespace {

using gfx::Rect;

// Counts the pixels of a colour inside a rectangle of the picture.
int CountColour(const CTavrelView& view, const Rect& rect, gfx::Colour colour)
{
    int count = 0;
    for (int y = rect.top; y < rect.bottom; ++y)
        for (int x = rect.left; x < rect.right; ++x)
            count += view.GetPicture().pixel(x, y) == colour ? 1 : 0;
    return count;
}

bool HasRegion(const CTavrelTapRegions& regions, std::uint32_t message, ui::WParam wParam, ui::LParam lParam,
               const Rect& rect)
{
    for (const TapRegion& region : regions)
        if (region.GetMessage() == message && region.GetWParam() == wParam && region.GetLParam() == lParam
            && region.GetRect() == rect)
            return true;
    return false;
}

gfx::Colour Faded(gfx::Colour under, gfx::Colour over, unsigned level)
{
    auto mix = [&](unsigned u, unsigned o) { return u * (100 - level) / 100 + o * level / 100; };
    return gfx::RGB(mix(gfx::redOf(under), gfx::redOf(over)), mix(gfx::greenOf(under), gfx::greenOf(over)),
                    mix(gfx::blueOf(under), gfx::blueOf(over)));
}

class MonthView : public ViewTest {
protected:
    // August 2003 at fade level 0, so that the cells' own colours can be read.
    void SetUp() override
    {
        for (int month = 1; month <= 12; ++month)
            app->GetSettings().SetTransparency(month, 0);
        CreateView(CTavrelReaderView::Monthly);
        ShowDate(2003, 8, 15);
    }
    const Rect& Cell(int index) const { return view->GetMonthLayout().cells[std::size_t(index)]; }
};

TEST_F(MonthView, FullScaleGeometryAndRegionsOfASixRowMonth)
{
    // Scale 100: the title 28 high, the built-in day bar 240 × 12, the grid the rest.
    const CTavrelMonthLayout& layout = view->GetMonthLayout();
    EXPECT_EQ(layout.titleArea, (Rect{0, 0, 240, 28}));
    EXPECT_EQ(layout.firstWeekday, 5); // 1 August 2003 was a Friday
    EXPECT_EQ(Pixel(3, 3), TitleColour(8));
    EXPECT_EQ(Pixel(3, 30), DayBarColour);
    EXPECT_EQ(Pixel(100, 40), gfx::colours::black); // the first row's line, right under the day bar

    // Six rows of 228 ÷ 6 = 38; columns of 34, the last one 36 wide and the last row to the bottom.
    EXPECT_EQ(Cell(0), (Rect{0, 40, 34, 78}));
    EXPECT_EQ(Cell(6), (Rect{204, 40, 240, 78}));
    EXPECT_EQ(Cell(41), (Rect{204, 230, 240, 268}));

    const CTavrelTapRegions& taps = view->GetTapRegions();
    EXPECT_TRUE(HasRegion(taps, VM_SHOW_MONTHLY, 2003, 815, {0, 0, 120, 28}));
    EXPECT_TRUE(HasRegion(taps, VM_SHOW_QUARTERLY, 2003, 815, {121, 0, 240, 28}));
    EXPECT_TRUE(HasRegion(taps, VM_SHOW_WEEKLY, 2003, 815, {0, 28, 240, 40}));
    EXPECT_TRUE(HasRegion(taps, VM_PREVIOUS, 0, 0, Cell(4)));
    EXPECT_TRUE(HasRegion(taps, VM_SELECT_DAY, 2003, 801, Cell(5)));
    EXPECT_TRUE(HasRegion(taps, VM_SELECT_DAY, 2003, 831, Cell(35)));
    EXPECT_TRUE(HasRegion(taps, VM_NEXT, 0, 0, Cell(36)));
    EXPECT_EQ(view->GetDayRegions().GetCount(), 31u);
    EXPECT_EQ(view->DayAt({180, 50}), (CTavrelDay{2003, 8, 1}));
    EXPECT_EQ(view->DayAt({10, 50}), std::nullopt);

    // Days of other months are filled; there are no lines along the right and bottom edges.
    EXPECT_EQ(Pixel(17, 60), CTavrelMonthPainter::FillerColour);
    EXPECT_EQ(Pixel(34, 60), gfx::colours::black);
    EXPECT_EQ(Pixel(239, 100), gfx::colours::white);
    EXPECT_EQ(Pixel(10, 267), gfx::colours::white);
}

TEST_F(MonthView, TheYearKeepsItsOutlineOffTheRightEdge)
{
    // The title picture is one colour: the outlined "2003" ends two pixels from the edge.
    for (int y = 0; y < 28; ++y) {
        EXPECT_EQ(Pixel(239, y), TitleColour(8)) << y;
        EXPECT_EQ(Pixel(238, y), TitleColour(8)) << y;
    }
    EXPECT_LT(CountColour(*view, {228, 0, 238, 28}, TitleColour(8)), 10 * 28 - 20) << "the 3 at the right";
}

TEST_F(MonthView, FebruaryOf2009HasFourRowsAndNoCellsBelowThem)
{
    ShowDate(2009, 2, 10);
    const CTavrelMonthLayout& layout = view->GetMonthLayout();
    EXPECT_EQ(layout.firstWeekday, 0);
    EXPECT_EQ(Cell(0), (Rect{0, 40, 34, 97}));
    EXPECT_EQ(Cell(27), (Rect{204, 211, 240, 268}));
    EXPECT_TRUE(Cell(28).isEmpty());
    EXPECT_TRUE(Cell(41).isEmpty());
    EXPECT_EQ(view->GetDayRegions().GetCount(), 28u);
    Snapshot("february-2009");
}

TEST_F(MonthView, SelectedDayIsFramedInRedAndTheBackgroundIsBlendedAtTheFadeLevel)
{
    // 15 August 2003 is cell 19: (170, 116, 204, 154). The frame starts a pixel inside.
    const Rect cell = Cell(19);
    ASSERT_EQ(cell, (Rect{170, 116, 204, 154}));
    EXPECT_EQ(Pixel(cell.left + 1, cell.top + 1), CTavrelMonthPainter::MarkColour);
    EXPECT_EQ(Pixel(cell.right - 1, cell.bottom - 1), CTavrelMonthPainter::MarkColour);
    EXPECT_EQ(Pixel(cell.left + 2, cell.bottom - 3), gfx::colours::white);

    app->GetSettings().SetTransparency(8, 50);
    view->ReloadAppearance(true);
    EXPECT_EQ(Pixel(cell.left + 10, cell.bottom - 3), Faded(gfx::colours::white, BackgroundColour, 50));
    EXPECT_EQ(Pixel(34, 60), Faded(gfx::colours::black, BackgroundColour, 50));
    EXPECT_EQ(Pixel(17, 60), Faded(CTavrelMonthPainter::FillerColour, BackgroundColour, 50));
    EXPECT_EQ(Pixel(3, 30), DayBarColour) << "the day bar lies above the blended grid";
}

TEST_F(MonthView, CheckOffCrossesTheDaysBeforeTheSelectedOneInTheClocksMonthOnly)
{
    app->GetSettings().SetCheckOffDays(true);
    view->Render();
    auto interior = [&](int index) { return Cell(index).inflated(-2, -2); };
    // Days 1 to 14 (cells 5 to 18) are crossed; 16 is not, nor is the selected 15th inside its frame.
    EXPECT_GT(CountColour(*view, interior(5), CTavrelMonthPainter::MarkColour), 40);
    EXPECT_GT(CountColour(*view, interior(18), CTavrelMonthPainter::MarkColour), 40);
    EXPECT_EQ(CountColour(*view, interior(20), CTavrelMonthPainter::MarkColour), 0);
    EXPECT_EQ(CountColour(*view, Cell(19).inflated(-3, -3), CTavrelMonthPainter::MarkColour), 0);

    ShowDate(2003, 9, 15); // not the clock's month
    for (int index = 0; index < 42; ++index)
        EXPECT_EQ(CountColour(*view, Cell(index).inflated(-3, -3), CTavrelMonthPainter::MarkColour), 0) << index;
}

TEST_F(MonthView, FourEventsOfADayFillThreeQuartersAndTheMoreMarker)
{
    // 20 August 2003 is cell 24: (102, 154, 136, 192), centre (119, 173).
    std::vector<CTavrelEvent> events;
    for (int quarter = 0; quarter < 4; ++quarter)
        events.push_back(Appointment(OleDateTime(2003, 8, 20, 9, quarter * 15, 0), OleDateTime(2003, 8, 20, 11, 0, 0),
                                     u"Meeting", 100 + quarter));
    SetEvents(events);
    ASSERT_EQ(Cell(24), (Rect{102, 154, 136, 192}));
    Snapshot("four-events");

    std::vector<Rect> bounds;
    view->GetEventSnapshot().ForEach([&](const CTavrelEvent& event) { bounds.push_back(event.GetBounds()); });
    ASSERT_EQ(bounds.size(), 4u);
    EXPECT_EQ(bounds[0], (Rect{120, 156, 136, 172})); // top-right quarter (119, 154, 136, 172)
    EXPECT_EQ(bounds[1], (Rect{103, 176, 119, 192})); // bottom-left (102, 173, 119, 192)
    EXPECT_EQ(bounds[2], (Rect{120, 176, 136, 192})); // bottom-right (119, 173, 136, 192)
    EXPECT_EQ(bounds[3], (Rect{127, 188, 136, 192})); // the more marker in the cell's corner

    // Clock faces 9:00, 9:15, 9:30 (resources 236, 237, 238); the marker is drawn over the third.
    EXPECT_EQ(Pixel(128, 164), IconColour(236));
    EXPECT_EQ(Pixel(110, 184), IconColour(237));
    EXPECT_EQ(Pixel(128, 180), IconColour(238));
    EXPECT_EQ(Pixel(130, 190), MoreColour);
    EXPECT_EQ(Pixel(120, 156), gfx::colours::white) << "the icon's key colour is left out";
    EXPECT_EQ(CountColour(*view, Cell(24), IconColour(239)), 0) << "the fourth event has no icon of its own";
}

TEST_F(MonthView, AnEventFromThePreviousMonthIsSolidOnThe1stAndFadedAfterwards)
{
    SetEvents({Appointment(OleDateTime(2003, 7, 30, 14, 0, 0), OleDateTime(2003, 8, 2, 15, 0, 0), u"Trip", 7)});
    // Alone in its cells, the icon sits at its own size in the bottom-right corner of each.
    const Rect first = Cell(5);  // 1 August (170, 40, 204, 78)
    const Rect second = Cell(6); // 2 August (204, 40, 240, 78)
    const int clock = 200 + CTavrelEventIcons::ClockIndex(14, 0);
    EXPECT_EQ(Pixel(first.right - 8, first.bottom - 8), IconColour(clock));
    EXPECT_EQ(Pixel(second.right - 8, second.bottom - 8), Faded(gfx::colours::white, IconColour(clock), 45));
    // The key colour blends what lies under it with itself.
    EXPECT_EQ(Pixel(second.right - 16, second.bottom - 16), Faded(gfx::colours::white, gfx::colours::white, 45));

    view->GetEventSnapshot().ForEach([&](const CTavrelEvent& event) {
        EXPECT_EQ(event.GetBounds(), (Rect{first.right - 16, first.bottom - 16, first.right, first.bottom}));
    });
    // The faded icon is an event mark at the head of the tap regions.
    const TapRegion& head = view->GetTapRegions().GetAt(0);
    EXPECT_EQ(head.GetMessage(), VM_EVENT_MENU);
    EXPECT_EQ(head.GetWParam(), TapRegion::TapPoint);
    EXPECT_EQ(head.GetRect(), (Rect{second.right - 16, second.bottom - 16, second.right, second.bottom}));
}

TEST_F(MonthView, EventIconChoiceFollowsTheIconNameAndTheDefaultIconSetting)
{
    TestPictures::WriteIconFile(device.host("My Documents/Icons/Star.png"), 0x3080F0);
    SetEvents({
        Appointment(OleDateTime(2003, 8, 4, 0, 0, 0), OleDateTime(2003, 8, 4, 0, 0, 0), u"Holiday", 1),
        Appointment(OleDateTime(2003, 8, 5, 13, 50, 0), OleDateTime(2003, 8, 5, 14, 0, 0), u"Call", 2),
        Appointment(OleDateTime(2003, 8, 6, 9, 0, 0), OleDateTime(2003, 8, 6, 10, 0, 0), u"Star", 3,
                    u"\\My Documents\\Icons\\Star.png"),
        Appointment(OleDateTime(2003, 8, 7, 9, 0, 0), OleDateTime(2003, 8, 7, 10, 0, 0), u"Lost", 4,
                    u"\\My Documents\\Icons\\Missing.png"),
    });
    auto iconPixel = [&](int day) {
        const Rect& cell = Cell(5 + day - 1);
        return Pixel(cell.right - 8, cell.bottom - 8);
    };
    EXPECT_EQ(iconPixel(4), IconColour(CTavrelEventIcons::AllDayId));
    EXPECT_EQ(iconPixel(5), IconColour(200 + 1 * 4 + 3)); // 13:50: (13 mod 12) × 4 + 50 ÷ 15
    EXPECT_EQ(iconPixel(6), gfx::Colour(0x3080F0));
    EXPECT_EQ(iconPixel(7), IconColour(200 + 9 * 4)) << "an icon file that does not decode: the clock face";

    // Without default icons only the named icon is drawn, and the others have no bounds.
    app->GetSettings().SetDisplayDefaultIcons(false);
    view->Render();
    EXPECT_EQ(iconPixel(4), gfx::colours::white);
    EXPECT_EQ(iconPixel(5), gfx::colours::white);
    EXPECT_EQ(iconPixel(6), gfx::Colour(0x3080F0));
    int withBounds = 0;
    view->GetEventSnapshot().ForEach([&](const CTavrelEvent& event) { withBounds += event.GetBounds().isEmpty() ? 0 : 1; });
    EXPECT_EQ(withBounds, 1);
}

TEST(FitIcon, KeepsTheOwnSizeWithAPixelToSpareElseScalesDownKeepingProportions)
{
    views_testing::TestPictures pictures;
    CTavrelImage icon;
    ASSERT_TRUE(icon.LoadResource(236, &pictures.table()));
    gfx::Surface target(60, 60, gfx::colours::white);
    gfx::Painter dc(target);
    EXPECT_EQ(CTavrelMonthPainter::FitIcon(dc, {0, 0, 17, 17}, icon, 100), (Rect{1, 1, 17, 17}));
    EXPECT_EQ(CTavrelMonthPainter::FitIcon(dc, {0, 0, 16, 17}, icon, 100), (Rect{1, 2, 16, 17}));
    EXPECT_EQ(CTavrelMonthPainter::FitIcon(dc, {20, 20, 31, 60}, icon, 100), (Rect{21, 50, 31, 60}));
    EXPECT_EQ(CTavrelMonthPainter::FitIcon(dc, {0, 0, 1, 1}, icon, 100), Rect{});
    EXPECT_EQ(target.pixel(25, 55), IconColour(236));
}

class QuarterView : public MonthView {
protected:
    void SetUp() override
    {
        MonthView::SetUp();
        ShowMode(CTavrelReaderView::Quarterly);
    }
};

TEST_F(QuarterView, ThreeMonthsAtHalfScaleDividersAndTheirRegions)
{
    // Quarter 3: July top left, August top right, September bottom left; the view keeps the
    // layout of the last month painted.
    const CTavrelMonthLayout& layout = view->GetMonthLayout();
    EXPECT_EQ(layout.titleArea, (Rect{0, 134, 120, 148})); // 14 high at scale 50
    EXPECT_EQ(Pixel(3, 3), TitleColour(7));
    EXPECT_EQ(Pixel(123, 3), TitleColour(8));
    EXPECT_EQ(Pixel(3, 136), TitleColour(9));
    EXPECT_EQ(Pixel(3, 16), DayBarColour);  // 120 × 6 under July's title
    EXPECT_EQ(Pixel(3, 19), DayBarColour);
    EXPECT_NE(Pixel(3, 20), DayBarColour);

    const CTavrelTapRegions& taps = view->GetTapRegions();
    EXPECT_TRUE(HasRegion(taps, VM_SHOW_MONTHLY, 2003, 700, {0, 0, 120, 14}));
    EXPECT_TRUE(HasRegion(taps, VM_SHOW_MONTHLY, 2003, 800, {120, 0, 240, 14}));
    EXPECT_TRUE(HasRegion(taps, VM_SHOW_MONTHLY, 2003, 900, {0, 134, 120, 148}));
    EXPECT_TRUE(HasRegion(taps, VM_SHOW_WEEKLY, 2003, 715, {0, 14, 120, 20}));
    EXPECT_EQ(view->GetDayRegions().GetCount(), 31u + 31u + 30u);

    EXPECT_EQ(Pixel(60, 133), CTavrelQuarterPainter::DividerColour);
    EXPECT_EQ(Pixel(120, 60), CTavrelQuarterPainter::DividerColour);
    EXPECT_EQ(Pixel(120, 200), CTavrelQuarterPainter::DividerColour);
    // Only August, the date's month, marks its selected day.
    EXPECT_GT(CountColour(*view, {120, 20, 240, 133}, CTavrelMonthPainter::MarkColour), 0);
    EXPECT_EQ(CountColour(*view, {0, 20, 119, 133}, CTavrelMonthPainter::MarkColour), 0);
    Snapshot("quarter");
}

TEST_F(QuarterView, TheViewKeepsTheCurrentMonthsFadeLevelWhileEachMonthIsDrawnAtItsOwn)
{
    app->GetSettings().SetTransparency(7, 10);
    app->GetSettings().SetTransparency(8, 20);
    app->GetSettings().SetTransparency(9, 30);
    view->ReloadAppearance(true);
    // September is painted last; the level held, which the slider shows and changes, is August's.
    EXPECT_EQ(view->GetFadeLevel(), 20);
    view->SetFadeLevel(25);
    EXPECT_EQ(app->GetSettings().GetTransparency(8), 25);
    EXPECT_EQ(app->GetSettings().GetTransparency(9), 30);
    ShowDate(2003, 9, 15);
    EXPECT_EQ(view->GetFadeLevel(), 30);
}

TEST_F(QuarterView, TheYearFontHasAFloorOfOnePoint)
{
    // At the quarter's half scale "FontSizeYear" 1 gives 0 points, which a font would take as its
    // default size: the year would grow where it should shrink. It is drawn at 1 point, as 2 is.
    auto titles = [&](int points) {
        EXPECT_TRUE(app->GetSettings().SetYearFont(points, u"Tahoma"));
        view->Render();
        std::vector<gfx::Colour> pixels;
        for (int y = 0; y < 14; ++y)
            for (int x = 0; x < 240; ++x)
                pixels.push_back(Pixel(x, y));
        return pixels;
    };
    const std::vector<gfx::Colour> one = titles(1), two = titles(2), sixteen = titles(16);
    EXPECT_EQ(one, two);
    EXPECT_NE(one, sixteen) << "the year is drawn at all";
}

TEST_F(QuarterView, DayNumbersKeepARowFreeBelowTheGridLine)
{
    // September's small cells: the row under each cell's top line is the cell's own, so a
    // digit's top is not lost to the line.
    const CTavrelMonthLayout& layout = view->GetMonthLayout();
    int numbers = 0;
    for (int day = 1; day <= 30; ++day) {
        const Rect& cell = layout.cells[std::size_t(layout.firstWeekday + day - 1)];
        SCOPED_TRACE(day);
        EXPECT_EQ(CountColour(*view, {cell.left + 1, cell.top + 1, cell.right, cell.top + 2}, gfx::colours::black), 0);
        numbers += CountColour(*view, {cell.left + 1, cell.top + 2, cell.right, cell.bottom}, gfx::colours::black) > 0;
    }
    EXPECT_EQ(numbers, 30);
}

} // namespace
} // namespace views_testing
