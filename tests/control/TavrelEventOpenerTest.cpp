#include "control/TavrelActivityRequest.h"
#include "control/TavrelEventOpener.h"

#include "ControlTestSupport.h"

#include "data/TavrelEvent.h"
#include "data/TavrelRegisteredCalendar.h"
#include "platform/pim/Application.h"
#include "platform/pim/AppointmentEditor.h"

#include <gtest/gtest.h>

namespace {

using control_test::utf8;
using device::OleDateTime;
using Strings = std::vector<std::string>;

// Records which appointments the editor was asked to show.
class RecordingEditor : public pim::AppointmentEditor {
public:
    bool edit(pim::Appointment& appointment) override
    {
        shown.push_back(device::toUtf8(appointment.subject()));
        return true;
    }
    Strings shown;
};

class EventOpenerTest : public control_test::ControlFixture {
protected:
    EventOpenerTest() : opener(*app, notifier)
    {
        editor = std::make_shared<RecordingEditor>();
        previous = pim::AppointmentEditor::install(editor);
    }
    ~EventOpenerTest() override { pim::AppointmentEditor::install(previous); }

    std::int32_t SaveAppointment(const char16_t* subject)
    {
        EXPECT_TRUE(app->CreateOutlook());
        EXPECT_TRUE(app->LogonOutlook());
        std::unique_ptr<pim::Appointment> appointment = app->GetOutlook()->createItem(pim::olAppointmentItem);
        appointment->setSubject(subject);
        appointment->setStart(OleDateTime(2026, 3, 4, 9, 0, 0));
        appointment->setEnd(OleDateTime(2026, 3, 4, 10, 0, 0));
        EXPECT_TRUE(appointment->save());
        return std::int32_t(appointment->oid());
    }

    void RegisterCalendar(const char16_t* name)
    {
        std::lock_guard calendars(app->GetCalendarListLock());
        app->AddRegisteredCalendar(name);
    }

    CTavrelEventOpener opener;
    std::shared_ptr<RecordingEditor> editor;
    std::shared_ptr<pim::AppointmentEditor> previous;
};

const OleDateTime nine(2026, 3, 4, 9, 0, 0);
const OleDateTime ten(2026, 3, 4, 10, 0, 0);

TEST_F(EventOpenerTest, StoreAppointmentOpensInTheEditor)
{
    std::int32_t oid = SaveAppointment(u"Dentist");
    app->GetCalendarData().ClearRefresh();
    EXPECT_TRUE(opener.OpenEvent(CTavrelEvent(nine, ten, oid, u"Dentist", u"")));
    EXPECT_EQ(editor->shown, Strings{"Dentist"});
    EXPECT_TRUE(app->GetCalendarData().IsRefreshRequested());
    EXPECT_TRUE(notifier.Take().empty());

    // An identifier the store does not know fails, and nothing is shown.
    EXPECT_FALSE(opener.OpenEvent(CTavrelEvent(nine, ten, oid + 1000, u"Gone", u"")));
    EXPECT_EQ(editor->shown.size(), 1u);
}

TEST_F(EventOpenerTest, StoreAppointmentWithoutAStoreFails)
{
    EXPECT_FALSE(opener.OpenEvent(CTavrelEvent(nine, ten, std::int32_t(42), u"Dentist", u"")));
}

TEST_F(EventOpenerTest, ChangeableActivityAsksItsApplicationToChangeIt)
{
    CTavrelEvent activity(nine, OleDateTime(2026, 3, 4, 10, 30, 0), CQoString(u"A\"1"), u"Meeting (Projects)", u"");
    app->SetCurrentCalendar(u"<Combined>");
    notifier.Take();
    EXPECT_TRUE(opener.OpenEvent(activity));
    EXPECT_EQ(notifier.Take(),
              Strings{"OnRequestChangeActivity:\"A%221\";\"3/4/2026 9:00:00 AM\";\"3/4/2026 10:30:00 AM\""});
    EXPECT_EQ(utf8(app->GetCurrentCalendarName()), "<Combined>");
}

TEST_F(EventOpenerTest, CombinedEventWithoutAnIdSwitchesToItsCalendar)
{
    RegisterCalendar(u"Projects");
    app->SetCurrentCalendar(u"<Combined>");
    notifier.Take();
    EXPECT_TRUE(opener.OpenEvent(CTavrelEvent(nine, ten, CQoString(u""), u"Meeting (Projects)", u"")));
    EXPECT_EQ(utf8(app->GetCurrentCalendarName()), "Projects");
    EXPECT_EQ(notifier.Take(), Strings{"OnCalendarChanged:\"Projects\""});

    // Outside "<Combined>" the same event does nothing.
    EXPECT_TRUE(opener.OpenEvent(CTavrelEvent(nine, ten, CQoString(u""), u"Meeting (Other)", u"")));
    EXPECT_EQ(utf8(app->GetCurrentCalendarName()), "Projects");
}

TEST_F(EventOpenerTest, ActivityThatCannotBeChangedBehavesLikeAnyCombinedEvent)
{
    RegisterCalendar(u"Projects");
    app->SetCurrentCalendar(u"<Combined>");
    CTavrelEvent fixed(nine, ten, CQoString(u"A1"), u"Meeting (Projects)", u"");
    fixed.SetChangeable(false);
    notifier.Take();
    EXPECT_TRUE(opener.OpenEvent(fixed));
    EXPECT_EQ(utf8(app->GetCurrentCalendarName()), "Projects");
}

TEST_F(EventOpenerTest, CombinedEventOfACalendarThatIsGoneFails)
{
    app->SetCurrentCalendar(u"<Combined>");
    EXPECT_FALSE(opener.OpenEvent(CTavrelEvent(nine, ten, CQoString(u""), u"Meeting (Nowhere)", u"")));
    EXPECT_EQ(utf8(app->GetCurrentCalendarName()), "<Combined>");
    // No parenthesis: nothing to switch to, nothing fails.
    EXPECT_TRUE(opener.OpenEvent(CTavrelEvent(nine, ten, CQoString(u""), u"Holiday", u"")));
}

TEST_F(EventOpenerTest, SourceNameIsTheCalendarAtTheEndEvenWithParenthesesInTheName)
{
    RegisterCalendar(u"Projects");
    RegisterCalendar(u"Team (Berlin)");
    EXPECT_EQ(utf8(opener.CombinedSourceName(u"Meeting (Projects)")), "Projects");
    EXPECT_EQ(utf8(opener.CombinedSourceName(u"Lunch (with Bob) (Projects)")), "Projects");
    EXPECT_EQ(utf8(opener.CombinedSourceName(u"Standup (Team (Berlin))")), "Team (Berlin)");
    // No calendar matches: the text after the first "(" without its closing ones.
    EXPECT_EQ(utf8(opener.CombinedSourceName(u"Meeting (Unknown))")), "Unknown");
}

// --- Activity requests of the "New" menu --------------------------------------------------------

class ActivityRequestTest : public control_test::ControlFixture {
protected:
    ActivityRequestTest() : request(*app, notifier)
    {
        std::lock_guard calendars(app->GetCalendarListLock());
        app->AddRegisteredCalendar(u"Projects").SetFactories(u"Task,Call");
    }
    CTavrelActivityRequest request;
};

TEST_F(ActivityRequestTest, KindOfTheCommandIsRequestedAtTheHeldTime)
{
    app->SetCurrentCalendar(u"projects");
    notifier.Take();
    EXPECT_TRUE(request.RequestNew(OleDateTime(2026, 3, 4, 0, 0, 0), 35001));
    EXPECT_TRUE(request.RequestNew(OleDateTime(2026, 3, 4, 14, 0, 0), 35000));
    EXPECT_TRUE(request.RequestNew(OleDateTime(2026, 3, 4, 23, 0, 0), 35000));
    EXPECT_EQ(notifier.Take(), (Strings{"OnRequestAddActivity:\"3/4/2026\";\"3/4/2026\";\"Call\"",
                                        "OnRequestAddActivity:\"3/4/2026 2:00:00 PM\";\"3/4/2026 3:00:00 PM\";\"Task\"",
                                        "OnRequestAddActivity:\"3/4/2026 11:00:00 PM\";\"3/4/2026 11:30:00 PM\";\"Task\""}));
}

TEST_F(ActivityRequestTest, NothingIsRequestedWithoutSuchAKindOrOutsideTheCalendar)
{
    app->SetCurrentCalendar(u"Projects");
    notifier.Take();
    EXPECT_FALSE(request.RequestNew(OleDateTime(2026, 3, 4, 0, 0, 0), 35002));
    EXPECT_FALSE(request.RequestNew(OleDateTime(2026, 3, 4, 0, 0, 0), 34999));
    app->SetCurrentCalendar(u"<Combined>");
    notifier.Take();
    EXPECT_FALSE(request.RequestNew(OleDateTime(2026, 3, 4, 0, 0, 0), 35000));
    EXPECT_TRUE(notifier.Take().empty());
}

} // namespace
