// The appointment editor through the user's input path: display() opens it, a test answers it from
// the modal observer, and the store shows what was saved.

#include "../PimTesting.h"
#include "PinnedClock.h"

#include "platform/device/DeviceClock.h"
#include "platform/pim/Constants.h"
#include "platform/pim/editor/AppointmentDialog.h"
#include "platform/pim/editor/DialogAppointmentEditor.h"
#include "platform/pim/editor/RecurrenceChoice.h"
#include "platform/ui/Automation.h"
#include "platform/ui/CheckBox.h"
#include "platform/ui/ComboBox.h"
#include "platform/ui/EditBox.h"
#include "platform/ui/HeadlessBackend.h"
#include "platform/ui/MessageBox.h"

#include <functional>
#include <optional>

namespace {

using namespace pim;
using pim_testing::at;

// A dialog a test left open would wait for input for ever: after a minute of the desktop's
// virtual time (which passes at once when nothing else is due) the watchdog fails the test and
// closes the dialog.
class Watchdog final : public ui::IdleAgent {
public:
    explicit Watchdog(ui::Desktop& desktop) : m_desktop(desktop) { m_desktop.addIdleAgent(this); }
    ~Watchdog() override { m_desktop.removeIdleAgent(this); }
    std::optional<std::uint64_t> dueTime() const override
    {
        if (!m_desktop.foreground() || !dynamic_cast<ui::Dialog*>(m_desktop.foreground()))
            return std::nullopt;
        return m_desktop.now() + 60000;
    }
    void runIdle() override
    {
        if (auto* dialog = dynamic_cast<ui::Dialog*>(m_desktop.foreground())) {
            ADD_FAILURE() << "a dialog was left open";
            dialog->endDialog(ui::IDCANCEL);
        }
    }

private:
    ui::Desktop& m_desktop;
};

class AppointmentDialogTest : public pim_testing::StoreTest {
protected:
    void SetUp() override
    {
        StoreTest::SetUp();
        device::DeviceClock::setForTesting(testing_support::localTime(2026, 12, 8, 9), device::DeviceClock::Flow::Frozen);
        previous = AppointmentEditor::install(std::make_shared<DialogAppointmentEditor>());
    }
    void TearDown() override
    {
        AppointmentEditor::install(previous);
        device::DeviceClock::resetForTesting();
    }

    // Answers the editor with `edit`, and every message box with `answer` (recording its text).
    void answer(std::function<void(AppointmentDialog&)> edit, int messageAnswer = ui::IDOK)
    {
        automation.onModal([this, edit, messageAnswer](ui::Window& window) {
            if (auto* box = dynamic_cast<ui::MessageBoxDialog*>(&window)) {
                messages.push_back(device::toUtf8(box->message()));
                box->endDialog(messageAnswer);
                return;
            }
            if (auto* dialog = dynamic_cast<AppointmentDialog*>(&window))
                edit(*dialog);
        });
    }

    // Replaces a field's text the way a person does: tap it, wipe it, type.
    void retype(AppointmentDialog& dialog, int id, device::WideView text)
    {
        auto* field = dialog.controlAs<ui::EditBox>(id);
        ASSERT_TRUE(field);
        automation.tap(field);
        automation.pressKey(ui::VK_END);
        for (std::size_t i = field->text().size(); i > 0; --i)
            automation.pressKey(ui::VK_BACK);
        automation.typeText(text);
    }

    std::string field(AppointmentDialog& dialog, int id) { return device::toUtf8(dialog.control(id)->text()); }

    std::unique_ptr<Appointment> fetch(std::uint32_t oid) { return app->getItemFromOid(oid); }

    ui::Desktop desktop{std::make_unique<ui::HeadlessBackend>(), ui::TimeSource::makeVirtual()};
    ui::Automation automation{desktop};
    Watchdog watchdog{desktop};
    std::shared_ptr<AppointmentEditor> previous;
    std::vector<std::string> messages;
};

TEST_F(AppointmentDialogTest, DisplayShowsTheFieldsAndOkSavesWhatWasTyped)
{
    const std::uint32_t oid = add(u"Dentist", at(2026, 12, 8, 15, 0), at(2026, 12, 8, 16, 0), u"Health");
    std::unique_ptr<Appointment> item = fetch(oid);
    answer([&](AppointmentDialog& dialog) {
        EXPECT_EQ(field(dialog, AppointmentDialog::subjectId), "Dentist");
        EXPECT_EQ(field(dialog, AppointmentDialog::startsId), "12/8/2026 3:00:00 PM");
        EXPECT_EQ(field(dialog, AppointmentDialog::endsId), "12/8/2026 4:00:00 PM");
        EXPECT_EQ(field(dialog, AppointmentDialog::categoriesId), "Health");
        EXPECT_EQ(dialog.controlAs<ui::ComboBox>(AppointmentDialog::occursId)->windowText(), u"Once");
        retype(dialog, AppointmentDialog::subjectId, u"Dentist, check-up");
        retype(dialog, AppointmentDialog::locationId, u"Main Street 4");
        retype(dialog, AppointmentDialog::startsId, u"12/9/2026 10:30 AM");
        retype(dialog, AppointmentDialog::endsId, u"12/9/2026 11:15 AM");
        automation.confirm();
    });
    ASSERT_TRUE(item->display());
    EXPECT_TRUE(messages.empty());

    std::unique_ptr<Appointment> stored = fetch(oid);
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->subject(), u"Dentist, check-up");
    EXPECT_EQ(stored->location(), u"Main Street 4");
    EXPECT_EQ(stored->start(), at(2026, 12, 9, 10, 30));
    EXPECT_EQ(stored->end(), at(2026, 12, 9, 11, 15));
    EXPECT_EQ(item->subject(), u"Dentist, check-up") << "the caller's appointment shows the saved fields";
}

TEST_F(AppointmentDialogTest, BadDatesAreRefusedWithAMessageAndNothingTypedIsLost)
{
    const std::uint32_t oid = add(u"Review", at(2026, 12, 8, 9, 0), at(2026, 12, 8, 10, 0));
    std::unique_ptr<Appointment> item = fetch(oid);
    answer([&](AppointmentDialog& dialog) {
        retype(dialog, AppointmentDialog::subjectId, u"Design review");
        retype(dialog, AppointmentDialog::startsId, u"the 32nd");
        automation.confirm();
        retype(dialog, AppointmentDialog::startsId, u"12/8/2026 11:00 AM");
        EXPECT_EQ(field(dialog, AppointmentDialog::endsId), "12/8/2026 12:00:00 PM") << "the end moves with the start";
        retype(dialog, AppointmentDialog::endsId, u"12/8/2026 10:30 AM");
        automation.confirm();
        EXPECT_EQ(field(dialog, AppointmentDialog::subjectId), "Design review");
        retype(dialog, AppointmentDialog::endsId, u"12/8/2026 1:30 PM");
        automation.confirm();
    });
    ASSERT_TRUE(item->display());
    EXPECT_EQ(messages, (std::vector<std::string>{device::toUtf8(AppointmentDialog::BadStart),
                                                  device::toUtf8(AppointmentDialog::EndBeforeStart)}));
    std::unique_ptr<Appointment> stored = fetch(oid);
    EXPECT_EQ(stored->subject(), u"Design review");
    EXPECT_EQ(stored->start(), at(2026, 12, 8, 11, 0));
    EXPECT_EQ(stored->end(), at(2026, 12, 8, 13, 30));
}

TEST_F(AppointmentDialogTest, EscapeChangesNothing)
{
    const std::uint32_t oid = add(u"Lunch", at(2026, 12, 8, 12, 0), at(2026, 12, 8, 13, 0));
    std::unique_ptr<Appointment> item = fetch(oid);
    answer([&](AppointmentDialog& dialog) {
        retype(dialog, AppointmentDialog::subjectId, u"Dinner");
        automation.cancel();
    });
    ASSERT_TRUE(item->display());
    EXPECT_EQ(fetch(oid)->subject(), u"Lunch");
    EXPECT_EQ(item->subject(), u"Lunch");
}

TEST_F(AppointmentDialogTest, DeleteAsksFirstAndRemovesTheAppointmentOnYes)
{
    const std::uint32_t oid = add(u"Gym", at(2026, 12, 8, 18, 0), at(2026, 12, 8, 19, 0));
    std::unique_ptr<Appointment> item = fetch(oid);
    answer([&](AppointmentDialog& dialog) {
        automation.tapText(u"Delete");
        EXPECT_FALSE(dialog.deleted()) << "No keeps the appointment and the dialog";
        automation.cancel();
    },
           ui::IDNO);
    ASSERT_TRUE(item->display());
    EXPECT_EQ(messages, std::vector<std::string>{device::toUtf8(AppointmentDialog::DeleteQuestion)});
    ASSERT_TRUE(fetch(oid));

    AppointmentDialog* shown = nullptr;
    answer([&](AppointmentDialog& dialog) {
        shown = &dialog;
        automation.tapText(u"Delete");
    },
           ui::IDYES);
    ASSERT_TRUE(item->display());
    ASSERT_TRUE(shown);
    Error error = Error::None;
    EXPECT_FALSE(app->getItemFromOid(oid, &error));
    EXPECT_EQ(error, Error::NotFound);
}

TEST_F(AppointmentDialogTest, OccursMakesASeriesAndAnOccurrenceOpensItsSeries)
{
    // Tuesday 8 December 2026.
    const std::uint32_t oid = add(u"Standup", at(2026, 12, 8, 9, 0), at(2026, 12, 8, 9, 15));
    std::unique_ptr<Appointment> item = fetch(oid);
    answer([&](AppointmentDialog& dialog) {
        auto* occurs = dialog.controlAs<ui::ComboBox>(AppointmentDialog::occursId);
        ASSERT_EQ(occurs->count(), 5);
        EXPECT_EQ(occurs->itemText(2), u"Every Tuesday");
        EXPECT_EQ(occurs->itemText(3), u"Day 8 of every month");
        EXPECT_EQ(occurs->itemText(4), u"Every December 8");
        EXPECT_TRUE(automation.selectItem(occurs, u"Every Tuesday"));
        automation.confirm();
    });
    ASSERT_TRUE(item->display());
    std::unique_ptr<Appointment> series = fetch(oid);
    ASSERT_TRUE(series->isRecurring());
    EXPECT_EQ(series->recurrencePattern()->recurrenceType(), olRecursWeekly);
    EXPECT_EQ(series->recurrencePattern()->dayOfWeekMask(), 4);
    EXPECT_TRUE(series->recurrencePattern()->noEndDate());

    // The occurrence a week later opens the series, and the subject changes for every week.
    auto items = folder->items();
    items->setIncludeRecurrences(true);
    std::unique_ptr<Appointment> occurrence =
        items->find(pim_testing::periodQuery(at(2026, 12, 15), at(2026, 12, 15, 23, 59, 59)));
    ASSERT_TRUE(occurrence && occurrence->isOccurrence());
    answer([&](AppointmentDialog& dialog) {
        EXPECT_EQ(field(dialog, AppointmentDialog::startsId), "12/8/2026 9:00:00 AM") << "the series' own start";
        EXPECT_EQ(dialog.controlAs<ui::ComboBox>(AppointmentDialog::occursId)->windowText(), u"Every Tuesday");
        retype(dialog, AppointmentDialog::subjectId, u"Team standup");
        automation.confirm();
    });
    ASSERT_TRUE(occurrence->display());
    EXPECT_EQ(fetch(oid)->subject(), u"Team standup");
    EXPECT_TRUE(fetch(oid)->isRecurring());
}

TEST_F(AppointmentDialogTest, APatternOfItsOwnKindIsKeptUnlessAnotherIsChosen)
{
    auto item = app->createItem(olAppointmentItem);
    ASSERT_TRUE(item->setStart(at(2026, 12, 8, 9, 0)));
    ASSERT_TRUE(item->setEnd(at(2026, 12, 8, 10, 0)));
    item->setSubject(u"Payroll");
    RecurrencePattern& pattern = item->getRecurrencePattern();
    pattern.setRecurrenceType(olRecursWeekly);
    pattern.setInterval(2);
    ASSERT_TRUE(item->save());
    const std::uint32_t oid = item->oid();

    answer([&](AppointmentDialog& dialog) {
        auto* occurs = dialog.controlAs<ui::ComboBox>(AppointmentDialog::occursId);
        EXPECT_EQ(occurs->windowText(), u"Keep the current pattern");
        retype(dialog, AppointmentDialog::startsId, u"12/10/2026 9:00 AM");
        EXPECT_EQ(occurs->itemText(2), u"Every Thursday") << "the texts follow the typed start";
        EXPECT_EQ(field(dialog, AppointmentDialog::endsId), "12/10/2026 10:00:00 AM");
        automation.confirm();
    });
    ASSERT_TRUE(item->display());
    std::unique_ptr<Appointment> stored = fetch(oid);
    EXPECT_EQ(stored->recurrencePattern()->interval(), 2);
    EXPECT_EQ(stored->start(), at(2026, 12, 10, 9, 0));

    answer([&](AppointmentDialog& dialog) {
        EXPECT_TRUE(automation.selectItem(dialog.controlAs<ui::ComboBox>(AppointmentDialog::occursId), u"Once"));
        automation.confirm();
    });
    ASSERT_TRUE(stored->display());
    EXPECT_FALSE(fetch(oid)->isRecurring());
}

TEST_F(AppointmentDialogTest, AllDayAppointmentsRunFromMidnightToMidnight)
{
    const std::uint32_t oid = add(u"Holiday", at(2026, 12, 24, 9, 0), at(2026, 12, 26, 17, 0));
    std::unique_ptr<Appointment> item = fetch(oid);
    answer([&](AppointmentDialog& dialog) {
        EXPECT_TRUE(automation.setChecked(dialog.controlAs<ui::CheckBox>(AppointmentDialog::allDayId), true));
        EXPECT_EQ(field(dialog, AppointmentDialog::startsId), "12/24/2026");
        EXPECT_EQ(field(dialog, AppointmentDialog::endsId), "12/26/2026");
        automation.confirm();
    });
    ASSERT_TRUE(item->display());
    std::unique_ptr<Appointment> stored = fetch(oid);
    EXPECT_TRUE(stored->allDayEvent());
    EXPECT_EQ(stored->start(), at(2026, 12, 24));
    EXPECT_EQ(stored->end(), at(2026, 12, 26));
}

TEST_F(AppointmentDialogTest, ANewAppointmentCannotBeDeletedAndIsSavedWithItsIdentifier)
{
    auto item = app->createItem(olAppointmentItem);
    ASSERT_TRUE(item->setStart(at(2026, 12, 8, 14, 0)));
    ASSERT_TRUE(item->setEnd(at(2026, 12, 8, 15, 0)));
    answer([&](AppointmentDialog& dialog) {
        EXPECT_FALSE(dialog.control(AppointmentDialog::deleteId)->isEnabled());
        retype(dialog, AppointmentDialog::subjectId, u"Call Ann");
        automation.confirm();
    });
    ASSERT_TRUE(item->display());
    ASSERT_NE(item->oid(), 0u);
    EXPECT_EQ(fetch(item->oid())->subject(), u"Call Ann");
}

TEST(AppointmentEditorWithoutDesktop, DisplayFailsCleanly)
{
    testing_support::TempDevice device;
    auto previous = AppointmentEditor::install(std::make_shared<DialogAppointmentEditor>());
    auto app = Application::create(device.root() / "pim.db");
    ASSERT_TRUE(app && app->logon());
    auto item = app->createItem(olAppointmentItem);
    Error error = Error::None;
    EXPECT_FALSE(item->display(&error));
    EXPECT_EQ(error, Error::EditorFailed);
    AppointmentEditor::install(previous);
}

TEST(RecurrenceChoiceTest, PatternsAreClassifiedForTheirStart)
{
    const device::OleDateTime tuesday = at(2026, 12, 8, 9, 0);
    EXPECT_EQ(RecurrenceChoice::classify(nullptr, tuesday), RecurrenceChoice::Kind::Once);
    RecurrencePattern weekly;
    weekly.setRecurrenceType(olRecursWeekly);
    weekly.setDayOfWeekMask(4);
    EXPECT_EQ(RecurrenceChoice::classify(&weekly, tuesday), RecurrenceChoice::Kind::Weekly);
    weekly.setDayOfWeekMask(4 | 16);
    EXPECT_EQ(RecurrenceChoice::classify(&weekly, tuesday), RecurrenceChoice::Kind::Current);
    RecurrencePattern yearly;
    yearly.setRecurrenceType(olRecursYearly);
    yearly.setMonthOfYear(12);
    yearly.setDayOfMonth(8);
    EXPECT_EQ(RecurrenceChoice::classify(&yearly, tuesday), RecurrenceChoice::Kind::Yearly);
    yearly.setMonthOfYear(11);
    EXPECT_EQ(RecurrenceChoice::classify(&yearly, tuesday), RecurrenceChoice::Kind::Current);
    RecurrencePattern nth;
    nth.setRecurrenceType(olRecursMonthNth);
    EXPECT_EQ(RecurrenceChoice::classify(&nth, tuesday), RecurrenceChoice::Kind::Current);
}

} // namespace
