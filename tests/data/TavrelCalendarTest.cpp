#include "data/TavrelRegisteredCalendar.h"
#include "data/TavrelSettings.h"

#include "TempDevice.h"
#include "platform/device/DeviceClock.h"

#include <gtest/gtest.h>

namespace {

using device::OleDateTime;

TEST(TavrelCalendarTest, SetNameAndCopyrightReportOnlyRealChanges)
{
    CTavrelRegisteredCalendar calendar(u"Projects");
    EXPECT_FALSE(calendar.SetName(u"PROJECTS"));
    EXPECT_EQ(calendar.GetName().View(), u"Projects"); // a change of case alone changes nothing
    EXPECT_TRUE(calendar.SetName(u"Tasks"));
    EXPECT_EQ(calendar.GetName().View(), u"Tasks");
    EXPECT_TRUE(calendar.SetCopyright(u"(c) Orvix"));
    EXPECT_FALSE(calendar.SetCopyright(u"(C) ORVIX"));
}

TEST(TavrelCalendarTest, TransparencyStaysWithinItsBounds)
{
    CTavrelRegisteredCalendar calendar(u"P");
    EXPECT_EQ(calendar.GetTransparency(13), 50);
    EXPECT_EQ(calendar.GetTransparency(0), 50);
    EXPECT_FALSE(calendar.SetTransparency(5, 101));
    EXPECT_FALSE(calendar.SetTransparency(5, -1));
    EXPECT_FALSE(calendar.SetTransparency(13, 20));
    EXPECT_EQ(calendar.GetTransparency(5), 50);
    EXPECT_TRUE(calendar.SetTransparency(5, 0));
    EXPECT_TRUE(calendar.SetTransparency(12, 100));
    EXPECT_EQ(calendar.GetTransparency(5), 0);
    EXPECT_EQ(calendar.GetTransparency(12), 100);
}

TEST(TavrelCalendarTest, CategoriesAndEventsAreFoundIgnoringCaseInListOrder)
{
    CTavrelRegisteredCalendar calendar(u"P");
    CTavrelEvents& work = calendar.AddCategory(u"Work", true);
    CTavrelEvents& home = calendar.AddCategory(u"Home", false);
    EXPECT_EQ(calendar.FindCategory(u"WORK"), &work);
    EXPECT_EQ(calendar.FindCategory(u"garden"), nullptr);
    EXPECT_TRUE(work.IsVisible());
    EXPECT_FALSE(home.IsVisible());

    const OleDateTime nine(2026, 3, 2, 9, 0, 0), ten(2026, 3, 2, 10, 0, 0);
    home.AddEvent(CTavrelEvent(nine, ten, CQoString(u"x1"), u"at home", u""));
    work.AddEvent(CTavrelEvent(ten, ten, CQoString(u"X1"), u"at work", u""));
    ASSERT_NE(calendar.FindEventByID(u"x1"), nullptr);
    EXPECT_EQ(calendar.FindEventByID(u"x1")->GetName().View(), u"at work"); // the first category wins
}

TEST(TavrelCalendarTest, FactoriesSkipEmptyPieces)
{
    CTavrelRegisteredCalendar calendar(u"P");
    calendar.SetFactories(u"Task,,Call,");
    EXPECT_EQ(calendar.GetFactories().View(), u"Task,Call");
    calendar.SetFactories(u",,");
    EXPECT_TRUE(calendar.GetFactories().IsEmpty());
    calendar.SetFactories(u"Visit");
    EXPECT_EQ(calendar.GetFactoryList().size(), 1u);
}

TEST(TavrelCalendarTest, ResetEmptiesTheCalendarAndWritesThisYearsNotice)
{
    ASSERT_TRUE(device::DeviceClock::setForTesting({2031, 5, 0, 17, 10, 0, 0, 0}, device::DeviceClock::Flow::Frozen));
    CTavrelRegisteredCalendar calendar(u"P");
    calendar.AddCategory(u"Work", true);
    calendar.SetTransparency(2, 10);
    calendar.SetBackground(2, u"\\bg.gif");
    calendar.Reset();
    device::DeviceClock::resetForTesting();

    EXPECT_TRUE(calendar.GetName().IsEmpty());
    EXPECT_TRUE(calendar.GetCategories().empty());
    EXPECT_EQ(calendar.GetTransparency(2), 50);
    EXPECT_TRUE(calendar.GetBackground(2).IsEmpty());
    EXPECT_EQ(calendar.GetCopyright().View(), u"\u00A92031 All Rights Reserved");
    EXPECT_EQ(calendar.GetTypeName().View(), u"Registered");
}

TEST(TavrelCalendarTest, MonthsWithoutOwnPicturesShowTheGlobalOnes)
{
    testing_support::TempDevice device;
    CTavrelSettings settings;
    settings.SetBackground(3, u"\\My Documents\\march.jpg");
    settings.SetMonthTitle(3, u"\\titles\\March.gif");

    CTavrelRegisteredCalendar calendar(u"Projects", &settings);
    EXPECT_EQ(calendar.GetBackground(3).View(), u"\\My Documents\\march.jpg");
    EXPECT_EQ(calendar.GetMonthTitle(3).View(), u"\\titles\\March.gif");
    EXPECT_EQ(calendar.GetDayBar(3).View(), u"\\Daybar.gif"); // the settings' default, no install folder

    EXPECT_TRUE(calendar.SetBackground(3, u"\\own.gif"));
    EXPECT_EQ(calendar.GetBackground(3).View(), u"\\own.gif");
    EXPECT_FALSE(calendar.SetBackground(13, u"\\own.gif"));
    EXPECT_FALSE(calendar.SetDayBar(0, u"\\own.gif"));
    EXPECT_TRUE(calendar.GetBackground(13).IsEmpty());
    EXPECT_TRUE(calendar.GetMonthTitle(0).IsEmpty());
}

TEST(TavrelCalendarTest, CloneIsADeepCopyOfTheSameKind)
{
    CTavrelRegisteredCalendar calendar(u"Projects");
    calendar.SetFactories(u"Task");
    calendar.AddCategory(u"Work", true)
        .AddEvent(CTavrelEvent(OleDateTime(2026, 3, 2, 9, 0, 0), OleDateTime(2026, 3, 2, 10, 0, 0), CQoString(u"1"),
                               u"x", u""));
    std::unique_ptr<CTavrelCalendar> copy = calendar.Clone();
    EXPECT_TRUE(copy->IsSameAs(calendar));
    EXPECT_EQ(static_cast<CTavrelRegisteredCalendar&>(*copy).GetFactories().View(), u"Task");
    copy->FindCategory(u"Work")->RemoveAll();
    EXPECT_EQ(calendar.FindCategory(u"Work")->GetCount(), 1);

    copy->SetCopyright(u"other");
    EXPECT_FALSE(copy->IsSameAs(calendar));
}

} // namespace
