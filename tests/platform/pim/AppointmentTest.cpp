// Creating, saving, fetching, deleting and displaying appointments.

#include "PimTesting.h"

#include "platform/pim/AppointmentEditor.h"

namespace {

using namespace pim;
using pim_testing::at;
using pim_testing::StoreTest;

using AppointmentTest = StoreTest;

TEST_F(AppointmentTest, EveryFieldComesBackAsSaved)
{
    auto item = app->createItem(olAppointmentItem);
    EXPECT_EQ(item->oid(), kNoOid);
    ASSERT_TRUE(item->setStart(at(2026, 12, 9)));
    ASSERT_TRUE(item->setEnd(at(2026, 12, 9)));
    item->setAllDayEvent(true);
    item->setSubject(u"Ann's birthday \u00e9\u4e2d");
    const std::u16string oddLocation = u"Caf\u00e9 \xD800 (a lone half of a pair)";
    item->setLocation(oddLocation);
    item->setCategories(u"Personal, Holiday");
    EXPECT_TRUE(item->recipients().add(u"Ann"));
    EXPECT_TRUE(item->recipients().add(u"Bob, Jr."));
    EXPECT_FALSE(item->recipients().add(u""));
    RecurrencePattern& pattern = item->getRecurrencePattern();
    pattern.setRecurrenceType(olRecursYearNth);
    pattern.setMonthOfYear(12);
    pattern.setPatternEndDate(at(2030, 12, 31));
    Error error = Error::None;
    ASSERT_TRUE(item->save(&error)) << errorText(error);

    std::unique_ptr<Appointment> fetched = app->getItemFromOid(item->oid());
    ASSERT_TRUE(fetched);
    EXPECT_EQ(fetched->oid(), item->oid());
    EXPECT_EQ(fetched->subject(), item->subject());
    EXPECT_EQ(fetched->location(), oddLocation);
    EXPECT_EQ(fetched->categories(), u"Personal, Holiday");
    EXPECT_EQ(fetched->start(), at(2026, 12, 9));
    EXPECT_EQ(fetched->end(), at(2026, 12, 9));
    EXPECT_TRUE(fetched->allDayEvent());
    EXPECT_EQ(fetched->recipients().count(), 2);
    EXPECT_EQ(fetched->recipients().name(1), u"Bob, Jr.");
    ASSERT_TRUE(fetched->isRecurring());
    const RecurrencePattern* saved = fetched->recurrencePattern();
    EXPECT_EQ(saved->recurrenceType(), olRecursYearNth);
    EXPECT_EQ(saved->monthOfYear(), 12);
    // The fields left open took the start's values: the second Wednesday.
    EXPECT_EQ(saved->dayOfWeekMask(), olWednesday);
    EXPECT_EQ(saved->instance(), 2);
    EXPECT_FALSE(saved->noEndDate());
    EXPECT_EQ(saved->patternEndDate(), at(2030, 12, 31));
    EXPECT_EQ(saved->occurrences(), 5);
}

TEST_F(AppointmentTest, ChangesReachTheStoreOnlyWithSave)
{
    const std::uint32_t oid = add(u"draft", at(2026, 12, 8, 9), at(2026, 12, 8, 10));
    std::unique_ptr<Appointment> item = app->getItemFromOid(oid);
    item->setSubject(u"final");
    EXPECT_EQ(app->getItemFromOid(oid)->subject(), u"draft");
    ASSERT_TRUE(item->save());
    EXPECT_EQ(app->getItemFromOid(oid)->subject(), u"final");
    EXPECT_EQ(item->oid(), oid);

    // A series made single again.
    item->getRecurrencePattern();
    ASSERT_TRUE(item->save());
    EXPECT_TRUE(app->getItemFromOid(oid)->isRecurring());
    item->clearRecurrencePattern();
    ASSERT_TRUE(item->save());
    EXPECT_FALSE(app->getItemFromOid(oid)->isRecurring());
}

TEST_F(AppointmentTest, SettingTheStartKeepsTheDuration)
{
    auto item = app->createItem(olAppointmentItem);
    item->setStart(at(2026, 12, 8, 9));
    item->setEnd(at(2026, 12, 8, 10, 30));
    item->setStart(at(2026, 12, 9, 14));
    EXPECT_EQ(item->end(), at(2026, 12, 9, 15, 30));

    device::OleDateTime invalid;
    invalid.SetStatus(device::OleDateTime::Status::Invalid);
    EXPECT_FALSE(item->setStart(invalid));
    EXPECT_FALSE(item->setEnd(invalid));
    EXPECT_FALSE(item->setStart(at(9999, 12, 31, 23))); // the end would leave the calendar
    EXPECT_EQ(item->start(), at(2026, 12, 9, 14));
}

TEST_F(AppointmentTest, SaveRefusesWhatTheStoreMustNotKeep)
{
    Error error = Error::None;
    auto backwards = app->createItem(olAppointmentItem);
    backwards->setStart(at(2026, 12, 8, 10));
    backwards->setEnd(at(2026, 12, 8, 9));
    EXPECT_FALSE(backwards->save(&error));
    EXPECT_EQ(error, Error::InvalidAppointment);
    EXPECT_EQ(backwards->oid(), kNoOid);

    auto badPattern = app->createItem(olAppointmentItem);
    badPattern->getRecurrencePattern().setRecurrenceType(4);
    EXPECT_FALSE(badPattern->save(&error));
    EXPECT_EQ(error, Error::InvalidRecurrence);

    // Saving one that another program deleted meanwhile says so.
    const std::uint32_t oid = add(u"gone", at(2026, 12, 8, 9), at(2026, 12, 8, 10));
    std::unique_ptr<Appointment> stale = app->getItemFromOid(oid);
    ASSERT_TRUE(app->getItemFromOid(oid)->remove());
    EXPECT_FALSE(stale->save(&error));
    EXPECT_EQ(error, Error::NotFound);
    EXPECT_TRUE(found(u"").empty());
}

TEST_F(AppointmentTest, RemoveDeletesTheSeriesAndLeavesANewDraft)
{
    auto item = app->createItem(olAppointmentItem);
    item->setStart(at(2026, 12, 8, 9));
    item->setEnd(at(2026, 12, 8, 10));
    item->getRecurrencePattern().setRecurrenceType(olRecursDaily);
    ASSERT_TRUE(item->save());
    const std::uint32_t oid = item->oid();
    Error error = Error::None;
    ASSERT_TRUE(item->remove(&error));
    EXPECT_EQ(item->oid(), kNoOid);
    EXPECT_TRUE(found(pim_testing::periodQuery(at(2026, 12, 1), at(2026, 12, 31))).empty());
    EXPECT_FALSE(item->remove(&error));
    EXPECT_EQ(error, Error::NotFound);
    // Saved again, it is a new appointment.
    ASSERT_TRUE(item->save());
    EXPECT_NE(item->oid(), oid);
}

class RecordingEditor : public AppointmentEditor {
public:
    bool edit(Appointment& appointment) override
    {
        shown.push_back(appointment.oid());
        shownStart = appointment.start();
        wasOccurrence = appointment.isOccurrence();
        if (!opens)
            return false;
        appointment.setSubject(u"edited");
        return appointment.save();
    }

    bool opens = true;
    std::vector<std::uint32_t> shown;
    device::OleDateTime shownStart;
    bool wasOccurrence = false;
};

// Installs an editor for one test.
class InstalledEditor {
public:
    explicit InstalledEditor(std::shared_ptr<AppointmentEditor> editor) : m_previous(AppointmentEditor::install(std::move(editor))) {}
    ~InstalledEditor() { AppointmentEditor::install(m_previous); }

private:
    std::shared_ptr<AppointmentEditor> m_previous;
};

TEST_F(AppointmentTest, DisplayFailsWithoutAnEditor)
{
    ASSERT_FALSE(AppointmentEditor::installed());
    const std::uint32_t oid = add(u"lunch", at(2026, 12, 9, 12), at(2026, 12, 9, 13));
    Error error = Error::None;
    EXPECT_FALSE(app->getItemFromOid(oid)->display(&error));
    EXPECT_EQ(error, Error::NoEditor);
}

TEST_F(AppointmentTest, DisplayHandsTheAppointmentToTheEditor)
{
    auto editor = std::make_shared<RecordingEditor>();
    InstalledEditor installed(editor);
    const std::uint32_t oid = add(u"lunch", at(2026, 12, 9, 12), at(2026, 12, 9, 13));
    Error error = Error::None;
    ASSERT_TRUE(app->getItemFromOid(oid)->display(&error)) << errorText(error);
    EXPECT_EQ(editor->shown, (std::vector<std::uint32_t> {oid}));
    EXPECT_EQ(app->getItemFromOid(oid)->subject(), u"edited");

    editor->opens = false;
    EXPECT_FALSE(app->getItemFromOid(oid)->display(&error));
    EXPECT_EQ(error, Error::EditorFailed);
}

TEST_F(AppointmentTest, DisplayOfAnOccurrenceShowsItsSeries)
{
    auto editor = std::make_shared<RecordingEditor>();
    InstalledEditor installed(editor);
    auto series = app->createItem(olAppointmentItem);
    series->setStart(at(2026, 11, 2, 9));
    series->setEnd(at(2026, 11, 2, 10));
    series->getRecurrencePattern().setRecurrenceType(olRecursWeekly);
    ASSERT_TRUE(series->save());

    items->setIncludeRecurrences(true);
    std::unique_ptr<Appointment> occurrence = items->find(pim_testing::periodQuery(at(2026, 12, 1), at(2026, 12, 31)));
    ASSERT_TRUE(occurrence && occurrence->isOccurrence());
    ASSERT_TRUE(occurrence->display());
    EXPECT_EQ(editor->shown, (std::vector<std::uint32_t> {series->oid()}));
    EXPECT_FALSE(editor->wasOccurrence);
    EXPECT_EQ(editor->shownStart, at(2026, 11, 2, 9));
    EXPECT_EQ(app->getItemFromOid(series->oid())->subject(), u"edited");
}

} // namespace
