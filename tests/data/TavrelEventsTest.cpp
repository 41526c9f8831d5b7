#include "data/TavrelEvents.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using device::OleDateTime;

OleDateTime at(int year, int month, int day, int hour = 0, int minute = 0, int second = 0)
{
    return OleDateTime(year, month, day, hour, minute, second);
}

CTavrelEvent appointment(std::int32_t oid, const OleDateTime& start, const OleDateTime& end, const char16_t* name = u"A")
{
    return CTavrelEvent(start, end, oid, name, u"");
}

CTavrelEvent activity(const char16_t* id, const OleDateTime& start, const OleDateTime& end, const char16_t* name)
{
    return CTavrelEvent(start, end, CQoString(id), name, u"");
}

std::vector<std::u16string> names(const CTavrelEvents& events)
{
    std::vector<std::u16string> result;
    events.ForEach([&](const CTavrelEvent& e) { result.emplace_back(e.GetName().View()); });
    return result;
}

std::vector<std::u16string> found(CTavrelEvents& events, const OleDateTime& from, const OleDateTime& to)
{
    std::vector<std::u16string> result;
    for (CTavrelEvent* e = events.FindFirst(from, to); e; e = events.FindNext(from, to))
        result.emplace_back(e->GetName().View());
    return result;
}

using Names = std::vector<std::u16string>;

TEST(TavrelEventTest, ConstructorsFillIdentifiersAndDefaults)
{
    const CTavrelEvent store(at(2026, 3, 2, 9), at(2026, 3, 2, 10), -1, u"Meeting", u"icon.gif");
    EXPECT_EQ(store.GetID().View(), u"4294967295"); // the identifier is written unsigned
    EXPECT_EQ(store.GetOID(), -1);
    EXPECT_TRUE(store.GetClass().IsEmpty());
    EXPECT_EQ(store.GetAttendees(), 0);
    EXPECT_TRUE(store.IsChangeable());
    EXPECT_TRUE(store.GetExtraFlag());

    const CTavrelEvent other(at(2026, 3, 2, 9), at(2026, 3, 2, 10), CQoString(u"act-7"), u"Call", u"");
    EXPECT_EQ(other.GetOID(), 0);
    EXPECT_EQ(other.GetID().View(), u"act-7");
}

TEST(TavrelEventTest, AllDayNeedsBothTimesAtMidnight)
{
    EXPECT_TRUE(appointment(1, at(2026, 3, 2), at(2026, 3, 3)).IsAllDay());
    EXPECT_FALSE(appointment(1, at(2026, 3, 2), at(2026, 3, 2, 0, 0, 1)).IsAllDay());
    EXPECT_FALSE(appointment(1, at(2026, 3, 2, 0, 1), at(2026, 3, 3)).IsAllDay());
}

TEST(TavrelEventTest, SameAsComparesTimesTextsOidAndClassButNotIdOrFlags)
{
    CTavrelEvent a(at(2026, 3, 2, 9), at(2026, 3, 2, 10), CQoString(u"1"), u"Call", u"phone.gif");
    CTavrelEvent b(at(2026, 3, 2, 9), at(2026, 3, 2, 10), CQoString(u"2"), u"Call", u"phone.gif");
    b.SetAttendees(4);
    b.SetChangeable(false);
    b.SetBounds({1, 2, 3, 4});
    EXPECT_TRUE(a.IsSameAs(b));

    b.SetName(u"call"); // texts compare exactly
    EXPECT_FALSE(a.IsSameAs(b));
    b.SetName(u"Call");
    b.SetClass(u"Work");
    EXPECT_FALSE(a.IsSameAs(b));
    b.SetClass(u"");
    b.SetEnd(at(2026, 3, 2, 11));
    EXPECT_FALSE(a.IsSameAs(b));
}

TEST(TavrelEventsTest, StoreAppointmentsWithSameOidAndStartKeepOnlyTheFirst)
{
    CTavrelEvents events(u"200612");
    EXPECT_TRUE(events.AddEvent(appointment(5, at(2026, 3, 2, 9), at(2026, 3, 2, 10), u"first")));
    EXPECT_FALSE(events.AddEvent(appointment(5, at(2026, 3, 2, 9), at(2026, 3, 2, 11), u"second")));
    // The next occurrence of the same recurring appointment starts elsewhere and stays.
    EXPECT_TRUE(events.AddEvent(appointment(5, at(2026, 3, 3, 9), at(2026, 3, 3, 10), u"next day")));
    // Another appointment at the same time stays, and goes before the one already there.
    EXPECT_TRUE(events.AddEvent(appointment(6, at(2026, 3, 2, 9), at(2026, 3, 2, 10), u"other")));
    EXPECT_EQ(names(events), (Names{u"other", u"first", u"next day"}));
}

TEST(TavrelEventsTest, EventsOfOtherSourcesAtTheSameTimeBothStay)
{
    CTavrelEvents category(u"Meetings");
    EXPECT_TRUE(category.AddEvent(activity(u"a1", at(2026, 3, 2, 9), at(2026, 3, 2, 10), u"Budget")));
    EXPECT_TRUE(category.AddEvent(activity(u"a2", at(2026, 3, 2, 9), at(2026, 3, 2, 10), u"Hiring")));
    // Remote events have no identifier; two different ones at 9:00 are both kept.
    EXPECT_TRUE(category.AddEvent(CTavrelEvent(at(2026, 3, 2, 9), at(2026, 3, 2, 10), CQoString(), u"Talk", u"")));
    EXPECT_TRUE(category.AddEvent(CTavrelEvent(at(2026, 3, 2, 9), at(2026, 3, 2, 10), CQoString(), u"Lunch", u"")));
    EXPECT_EQ(category.GetCount(), 4);
}

TEST(TavrelEventsTest, TrueDuplicatesOfOtherSourcesAreRefused)
{
    CTavrelEvents category(u"Meetings");
    const CTavrelEvent talk(at(2026, 3, 2, 9), at(2026, 3, 2, 10), CQoString(), u"Talk", u"");
    ASSERT_TRUE(category.AddEvent(talk));
    EXPECT_FALSE(category.AddEvent(talk)); // the same event again

    ASSERT_TRUE(category.AddEvent(activity(u"A1", at(2026, 3, 2, 11), at(2026, 3, 2, 12), u"Budget")));
    // An activity whose identifier is there already, whatever its times or letter case.
    EXPECT_FALSE(category.AddEvent(activity(u"a1", at(2026, 3, 5, 8), at(2026, 3, 5, 9), u"Budget moved")));
    EXPECT_EQ(category.GetCount(), 2);

    // A store appointment's identifier text is no activity identifier.
    ASSERT_TRUE(category.AddEvent(appointment(77, at(2026, 3, 4, 9), at(2026, 3, 4, 10))));
    EXPECT_TRUE(category.AddEvent(activity(u"77", at(2026, 3, 6, 9), at(2026, 3, 6, 10), u"Seventy-seven")));
}

TEST(TavrelEventsTest, EventsWithoutValidTimesAreRejected)
{
    CTavrelEvents events(u"x");
    OleDateTime invalid = at(2026, 3, 2, 10);
    invalid.SetStatus(device::DateTimeStatus::Invalid);
    OleDateTime null = at(2026, 3, 2, 10);
    null.SetStatus(device::DateTimeStatus::Null);
    EXPECT_FALSE(events.AddEvent(appointment(1, at(2026, 3, 2, 9), invalid)));
    EXPECT_FALSE(events.AddEvent(appointment(2, invalid, at(2026, 3, 2, 9))));
    EXPECT_FALSE(events.AddEvent(appointment(3, at(2026, 3, 2, 9), null)));
    EXPECT_EQ(events.GetCount(), 0);
}

TEST(TavrelEventsTest, KeepsStartOrderAndNamesTheClass)
{
    CTavrelEvents events(u"Work");
    for (int day : {14, 3, 27, 3, 1, 30}) {
        CQoString name;
        name.Format(u"day %d", day);
        events.AddEvent(activity(name, at(2026, 4, day, 8), at(2026, 4, day, 9), name));
    }
    // The second "day 3" is an activity with the same identifier: refused.
    EXPECT_EQ(names(events), (Names{u"day 1", u"day 3", u"day 14", u"day 27", u"day 30"}));
    events.ForEach([](const CTavrelEvent& e) { EXPECT_EQ(e.GetClass().View(), u"Work"); });

    // Dates before the automation epoch sort by time, not by their raw numbers.
    CTavrelEvents old(u"old");
    old.AddEvent(appointment(1, at(1899, 12, 29, 18), at(1899, 12, 29, 19), u"evening"));
    old.AddEvent(appointment(2, at(1899, 12, 29, 6), at(1899, 12, 29, 7), u"morning"));
    EXPECT_EQ(names(old), (Names{u"morning", u"evening"}));
}

TEST(TavrelEventsTest, FindsEveryEventOverlappingTheClosedPeriod)
{
    CTavrelEvents events(u"w");
    events.AddEvent(appointment(1, at(2026, 3, 2, 23), at(2026, 3, 3, 1), u"overnight"));
    events.AddEvent(appointment(2, at(2026, 3, 1), at(2026, 3, 8), u"week"));
    events.AddEvent(appointment(3, at(2026, 3, 3, 9), at(2026, 3, 4, 0), u"ends at midnight"));
    events.AddEvent(appointment(4, at(2026, 3, 4, 23, 59, 59), at(2026, 3, 5, 2), u"starts at the end"));
    events.AddEvent(appointment(5, at(2026, 3, 5, 9), at(2026, 3, 5, 10), u"later"));

    const auto day = [](int d) { return std::pair{at(2026, 3, d), at(2026, 3, d, 23, 59, 59)}; };
    auto [from2, to2] = day(2);
    EXPECT_EQ(found(events, from2, to2), (Names{u"week", u"overnight"}));
    auto [from3, to3] = day(3);
    EXPECT_EQ(found(events, from3, to3), (Names{u"week", u"overnight", u"ends at midnight"}));
    // An event that ends exactly when the period starts is found; one that starts at its last
    // second is found too.
    auto [from4, to4] = day(4);
    EXPECT_EQ(found(events, from4, to4), (Names{u"week", u"ends at midnight", u"starts at the end"}));
    for (int d = 1; d <= 7; ++d) {
        auto [from, to] = day(d);
        const Names hits = found(events, from, to);
        EXPECT_NE(std::find(hits.begin(), hits.end(), u"week"), hits.end()) << "day " << d;
    }
    auto [from9, to9] = day(9);
    EXPECT_TRUE(found(events, from9, to9).empty());

    // The all-day "week" ends at midnight of its last day, the 8th, and covers that day whole.
    EXPECT_EQ(found(events, at(2026, 3, 8, 12), at(2026, 3, 8, 13)), (Names{u"week"}));
    EXPECT_EQ(appointment(2, at(2026, 3, 1), at(2026, 3, 8)).GetLastMoment(), at(2026, 3, 8, 23, 59, 59));
    EXPECT_EQ(appointment(3, at(2026, 3, 3, 9), at(2026, 3, 4, 0)).GetLastMoment(), at(2026, 3, 4));
}

TEST(TavrelEventsTest, FindByIdIgnoresCaseAndRemoveEventTakesTheFirstSameOne)
{
    CTavrelEvents events(u"c");
    events.AddEvent(activity(u"Alpha", at(2026, 3, 2, 9), at(2026, 3, 2, 10), u"a"));
    events.AddEvent(activity(u"Beta", at(2026, 3, 2, 11), at(2026, 3, 2, 12), u"b"));
    ASSERT_NE(events.FindByID(u"ALPHA"), nullptr);
    EXPECT_EQ(events.FindByID(u"beta")->GetName().View(), u"b");
    EXPECT_EQ(events.FindByID(u"gamma"), nullptr);

    CTavrelEvent copy = *events.FindByID(u"alpha");
    copy.SetBounds({5, 5, 9, 9}); // not compared
    EXPECT_TRUE(events.RemoveEvent(copy));
    EXPECT_FALSE(events.RemoveEvent(copy));
    EXPECT_EQ(names(events), (Names{u"b"}));
}

TEST(TavrelEventsTest, RemovingTheEventAtTheCursorLetsTheEnumerationGoOn)
{
    CTavrelEvents events(u"c");
    for (int h : {8, 9, 10})
        events.AddEvent(appointment(h, at(2026, 3, 2, h), at(2026, 3, 2, h, 30), h == 8 ? u"8" : h == 9 ? u"9" : u"10"));
    const OleDateTime from = at(2026, 3, 2), to = at(2026, 3, 2, 23, 59, 59);
    CTavrelEvent* first = events.FindFirst(from, to);
    ASSERT_NE(first, nullptr);
    const CTavrelEvent nine = *events.FindByID(u"9"); // the cursor stands on it now
    EXPECT_TRUE(events.RemoveEvent(nine));
    CTavrelEvent* next = events.FindNext(from, to);
    ASSERT_NE(next, nullptr);
    EXPECT_EQ(next->GetName().View(), u"10");
    EXPECT_EQ(events.FindNext(from, to), nullptr);
    events.RemoveAll();
    EXPECT_EQ(events.FindNext(from, to), nullptr);
    EXPECT_EQ(events.GetCount(), 0);
}

TEST(TavrelEventsTest, MergeAddsCopiesUnderItsOwnNameAndLeavesTheCursorAtTheEnd)
{
    CTavrelEvents source(u"Remote");
    source.AddEvent(activity(u"1", at(2026, 3, 2, 9), at(2026, 3, 2, 10), u"x"));
    source.AddEvent(activity(u"2", at(2026, 3, 3, 9), at(2026, 3, 3, 10), u"y"));
    CTavrelEvents window(u"202603");
    window.AddEvent(appointment(9, at(2026, 3, 2, 12), at(2026, 3, 2, 13), u"z"));
    const OleDateTime from = at(2026, 3, 1), to = at(2026, 3, 31, 23, 59, 59);
    ASSERT_NE(window.FindFirst(from, to), nullptr);

    window.Merge(source);
    EXPECT_EQ(window.FindNext(from, to), nullptr);
    EXPECT_EQ(names(window), (Names{u"x", u"z", u"y"}));
    window.ForEach([](const CTavrelEvent& e) { EXPECT_EQ(e.GetClass().View(), u"202603"); });
    window.Merge(window); // everything is a duplicate of itself
    EXPECT_EQ(window.GetCount(), 3);
}

TEST(TavrelEventsTest, AssignCopiesEverythingAsItStandsAndSameAsComparesIt)
{
    CTavrelEvents a(u"Cat");
    a.SetVisible(true);
    a.AddEvent(activity(u"1", at(2026, 3, 2, 9), at(2026, 3, 2, 10), u"x"));
    CTavrelEvents b;
    b.Assign(a);
    EXPECT_TRUE(b.IsSameAs(a));
    EXPECT_TRUE(b.IsVisible());

    b.FindByID(u"1")->SetName(u"changed"); // a deep copy: the original keeps its event
    EXPECT_EQ(a.FindByID(u"1")->GetName().View(), u"x");
    EXPECT_FALSE(b.IsSameAs(a));

    CTavrelEvents c(a);
    c.SetName(u"cat"); // names compare exactly
    EXPECT_FALSE(c.IsSameAs(a));
    CTavrelEvents d(a);
    d.SetVisible(false);
    EXPECT_FALSE(d.IsSameAs(a));
    CTavrelEvents e(a);
    e.AddEvent(activity(u"2", at(2026, 3, 3, 9), at(2026, 3, 3, 10), u"y"));
    EXPECT_FALSE(e.IsSameAs(a));
}

} // namespace

namespace {

// The collection finds events through a start-ordered tree, an ID index and the longest duration
// it holds; these cases catch an index that drifts from the events it stands for.
TEST(TavrelEventsIndexTest, ALongEventAmongManyShortOnesIsFoundInALatePeriod)
{
    CTavrelEvents events(u"c");
    events.AddEvent(appointment(1, at(2026, 1, 1), at(2026, 6, 30), u"half a year"));
    for (int day = 1; day <= 28; ++day)
        events.AddEvent(appointment(100 + day, at(2026, 2, day, 9), at(2026, 2, day, 10), u"short"));
    const OleDateTime from = at(2026, 5, 4), to = at(2026, 5, 4, 23, 59, 59);
    EXPECT_EQ(found(events, from, to), (Names{u"half a year"}));

    // Removing the long one leaves nothing to find there; one of the short ones is still found.
    ASSERT_NE(events.FindByID(u"1"), nullptr);
    EXPECT_TRUE(events.RemoveEvent(*events.FindByID(u"1")));
    EXPECT_TRUE(found(events, from, to).empty());
    EXPECT_EQ(found(events, at(2026, 2, 14), at(2026, 2, 14, 23, 59, 59)), (Names{u"short"}));
}

TEST(TavrelEventsIndexTest, AnEnumerationStopsAfterThePeriodYetFindsEventsThatEndBeforeTheyStart)
{
    CTavrelEvents events(u"c");
    for (int day = 1; day <= 28; ++day)
        events.AddEvent(appointment(day, at(2026, 2, day, 9), at(2026, 2, day, 10), u"short"));
    // A control application may send an end before the start; the old walk over every event
    // found it by its end, and so must the enumeration that stops after the period.
    events.AddEvent(appointment(99, at(2026, 2, 20, 12), at(2026, 2, 5, 9, 30), u"backwards"));
    const OleDateTime from = at(2026, 2, 5), to = at(2026, 2, 5, 23, 59, 59);
    EXPECT_EQ(found(events, from, to), (Names{u"short", u"backwards"}));
    EXPECT_EQ(events.FindNext(from, to), nullptr) << "the enumeration stays ended";
    EXPECT_EQ(found(events, at(2026, 2, 27), at(2026, 2, 28, 23, 59, 59)), (Names{u"short", u"short"}));
}

TEST(TavrelEventsIndexTest, FindByIdFollowsAddsRemovesAndCopies)
{
    CTavrelEvents events(u"c");
    // The same ID from another source (a store appointment has an OID) may stand twice: the
    // first in start order answers, whichever came in first.
    events.AddEvent(CTavrelEvent(at(2026, 3, 5, 9), at(2026, 3, 5, 10), 7, u"later", u""));
    events.AddEvent(activity(u"7", at(2026, 3, 2, 9), at(2026, 3, 2, 10), u"earlier"));
    ASSERT_NE(events.FindByID(u"7"), nullptr);
    EXPECT_EQ(events.FindByID(u"7")->GetName().View(), u"earlier");

    // An activity's ID stands once, letter case aside, wherever its start is.
    EXPECT_TRUE(events.AddEvent(activity(u"Task", at(2026, 3, 3, 9), at(2026, 3, 3, 10), u"task")));
    EXPECT_FALSE(events.AddEvent(activity(u"TASK", at(2026, 4, 3, 9), at(2026, 4, 3, 10), u"again")));

    EXPECT_TRUE(events.RemoveEvent(*events.FindByID(u"7")));
    ASSERT_NE(events.FindByID(u"7"), nullptr);
    EXPECT_EQ(events.FindByID(u"7")->GetName().View(), u"later");

    // A copy answers from its own events, not from the original's.
    CTavrelEvents copy(events);
    events.RemoveAll();
    EXPECT_EQ(events.FindByID(u"task"), nullptr);
    ASSERT_NE(copy.FindByID(u"task"), nullptr);
    EXPECT_EQ(copy.FindByID(u"task")->GetName().View(), u"task");
    EXPECT_TRUE(copy.RemoveEvent(*copy.FindByID(u"task")));
    EXPECT_EQ(copy.FindByID(u"task"), nullptr);
    EXPECT_TRUE(copy.AddEvent(activity(u"task", at(2026, 4, 3, 9), at(2026, 4, 3, 10), u"back")));
    EXPECT_EQ(copy.FindByID(u"TASK")->GetName().View(), u"back");
}

TEST(TavrelEventsIndexTest, ThousandsOfActivitiesChangedOneAtATimeStayInOrderAndFindable)
{
    CTavrelEvents events(u"c");
    constexpr int count = 5000;
    const auto id = [](int i) {
        CQoString text;
        text.Format(u"%d", i);
        return text;
    };
    const auto startOf = [](int i, int shift) {
        const int hours = (i * 7 + shift) % 20000;
        return at(2025, 1, 1) + device::OleDateTimeSpan(hours / 24, hours % 24, 0, 0);
    };
    for (int i = 0; i < count; ++i)
        ASSERT_TRUE(events.AddEvent(
            CTavrelEvent(startOf(i, 0), startOf(i, 0) + device::OleDateTimeSpan(0, 1, 0, 0), id(i), u"a", u"")));
    // Every third moved, every fifth removed, as UpdateActivity and DeleteActivity do it.
    for (int i = 0; i < count; i += 3) {
        CTavrelEvent moved = *events.FindByID(id(i));
        ASSERT_TRUE(events.RemoveEvent(moved));
        moved.SetStart(startOf(i, 11));
        moved.SetEnd(startOf(i, 11) + device::OleDateTimeSpan(0, 2, 0, 0));
        ASSERT_TRUE(events.AddEvent(moved));
    }
    for (int i = 0; i < count; i += 5)
        ASSERT_TRUE(events.RemoveEvent(*events.FindByID(id(i))));

    int seen = 0;
    OleDateTime previous;
    bool first = true;
    events.ForEach([&](const CTavrelEvent& event) {
        EXPECT_TRUE(first || !(event.GetStart() < previous)) << "start order";
        previous = event.GetStart();
        first = false;
        ++seen;
    });
    EXPECT_EQ(seen, count - count / 5);
    for (int i = 0; i < count; ++i) {
        const CTavrelEvent* event = events.FindByID(id(i));
        if (i % 5 == 0) {
            EXPECT_EQ(event, nullptr) << i;
        } else {
            ASSERT_NE(event, nullptr) << i;
            EXPECT_EQ(event->GetStart(), startOf(i, i % 3 == 0 ? 11 : 0)) << i;
        }
    }
}

} // namespace
