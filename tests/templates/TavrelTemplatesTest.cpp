// Appointment templates: the appointment a template makes, the store in the registry, and the two
// dialogs that edit them, driven as a person drives them on a headless desktop.

#include "PinnedClock.h"
#include "TempDevice.h"

#include "common/QoRegistry.h"
#include "data/TavrelFreeHour.h"
#include "platform/ui/Automation.h"
#include "platform/ui/CheckBox.h"
#include "platform/ui/ComboBox.h"
#include "platform/ui/EditBox.h"
#include "platform/ui/HeadlessBackend.h"
#include "platform/ui/Label.h"
#include "platform/ui/ListBox.h"
#include "platform/ui/MessageBox.h"
#include "templates/AppointmentTypesDlg.h"
#include "templates/TavrelAppointmentTemplate.h"
#include "templates/TavrelTemplateStore.h"
#include "templates/TemplateDetailsDlg.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

using device::OleDateTime;
using Recurrence = CTavrelNewAppointment::Recurrence;

std::string Utf8(device::WideView text) { return device::toUtf8(text); }

OleDateTime At(int hour, int minute = 0) { return OleDateTime(2026, 12, 9, hour, minute, 0); }
const OleDateTime HeldDay = At(0);

CTavrelAppointmentTemplate Template(const char16_t* subject, const char16_t* duration,
                                    const char16_t* startTime = u"9am", bool autoResolve = true,
                                    const char16_t* frequency = u"One time")
{
    CTavrelAppointmentTemplate entry;
    entry.subject = subject;
    entry.duration = duration;
    entry.startTime = startTime;
    entry.autoResolve = autoResolve;
    entry.frequency = frequency;
    return entry;
}

// The day with 9:00-10:00 and 10:00-11:00 taken.
CTavrelFreeHour BusyMorning()
{
    CTavrelEvents shown(u"202612");
    shown.AddEvent(CTavrelEvent(At(9), At(10), 1, u"A", u""));
    shown.AddEvent(CTavrelEvent(At(10), At(11), 2, u"B", u""));
    return CTavrelFreeHour(shown, 9, 17);
}

TEST(TavrelAppointmentTemplate, StartTimesReadAsTheEditorWritesThem)
{
    EXPECT_EQ(CTavrelAppointmentTemplate::StartHour(u"12pm"), 12);
    EXPECT_EQ(CTavrelAppointmentTemplate::StartHour(u"12am"), 0);
    EXPECT_EQ(CTavrelAppointmentTemplate::StartHour(u"1pm"), 13);
    EXPECT_EQ(CTavrelAppointmentTemplate::StartHour(u"9am"), 9);
    EXPECT_EQ(CTavrelAppointmentTemplate::StartHour(u"11PM"), 23);
    EXPECT_EQ(CTavrelAppointmentTemplate::StartHour(u""), std::nullopt);
    EXPECT_EQ(CTavrelAppointmentTemplate::StartHour(u"noon"), std::nullopt);
    EXPECT_EQ(CTavrelAppointmentTemplate::StartHour(u"25pm"), std::nullopt);
    for (int hour = 0; hour < 24; ++hour)
        EXPECT_EQ(CTavrelAppointmentTemplate::StartHour(CTavrelAppointmentTemplate::StartTimeText(hour)), hour);
    EXPECT_EQ(Utf8(CTavrelAppointmentTemplate::StartTimeText(0).View()), "12am");
    EXPECT_EQ(Utf8(CTavrelAppointmentTemplate::StartTimeText(12).View()), "12pm");
    EXPECT_EQ(Utf8(CTavrelAppointmentTemplate::StartTimeText(15).View()), "3pm");
}

TEST(TavrelAppointmentTemplate, AnAllDayTemplateCoversTheHeldDay)
{
    CTavrelFreeHour freeHours = BusyMorning();
    for (const OleDateTime& held : {HeldDay, At(14)}) {
        std::optional<CTavrelNewAppointment> made
            = Template(u"Holiday", u"All Day", u"9am", true, u"Yearly").ToNewAppointment(held, freeHours);
        ASSERT_TRUE(made);
        EXPECT_EQ(made->start, HeldDay);
        EXPECT_EQ(made->end, HeldDay);
        EXPECT_TRUE(made->IsAllDay());
        EXPECT_TRUE(made->fromTemplate);
        EXPECT_EQ(made->subject, CQoString(u"Holiday"));
        EXPECT_EQ(made->recurrence, Recurrence::Yearly);
    }
}

TEST(TavrelAppointmentTemplate, StartAndEndFollowTheHeldDateTheStartTimeAndTheDuration)
{
    CTavrelFreeHour freeHours = BusyMorning();
    // Resolving conflicts from 9am finds 11:00.
    std::optional<CTavrelNewAppointment> resolved = Template(u"Review", u"2 hrs").ToNewAppointment(HeldDay, freeHours);
    ASSERT_TRUE(resolved);
    EXPECT_EQ(resolved->start, At(11));
    EXPECT_EQ(resolved->end, At(13));
    EXPECT_FALSE(resolved->IsAllDay());
    // Without, the start time stands.
    EXPECT_EQ(Template(u"Review", u"2 hrs", u"9am", false).ToNewAppointment(HeldDay, freeHours)->start, At(9));
    EXPECT_EQ(Template(u"Lunch", u"45 min", u"12pm", false).ToNewAppointment(HeldDay, freeHours)->end, At(12, 45));
    // A held hour wins over both.
    EXPECT_EQ(Template(u"Review", u"15 min").ToNewAppointment(At(10), freeHours)->start, At(10));
    // No start time: the working day's start, resolved.
    EXPECT_EQ(Template(u"Review", u"1 hr", u"").ToNewAppointment(HeldDay, freeHours)->start, At(11));
    EXPECT_EQ(Template(u"Review", u"1 hr", u"", false).ToNewAppointment(HeldDay, freeHours)->start, At(9));

    EXPECT_EQ(Template(u"Trip", u"3 days", u"8am", false).ToNewAppointment(HeldDay, freeHours)->end,
              OleDateTime(2026, 12, 12, 8, 0, 0));
    EXPECT_EQ(Template(u"Course", u"1 week", u"8am", false).ToNewAppointment(HeldDay, freeHours)->end,
              OleDateTime(2026, 12, 16, 8, 0, 0));
    // A duration no list offers still gets an end: one hour.
    EXPECT_EQ(Template(u"Odd", u"90 min", u"8am", false).ToNewAppointment(HeldDay, freeHours)->end, At(9));
    EXPECT_EQ(
        Template(u"Odd", u"90 min", u"8am", false, u"Fortnightly").ToNewAppointment(HeldDay, freeHours)->recurrence,
        Recurrence::None);
    EXPECT_EQ(Template(u"Gym", u"1 hr", u"6pm", false, u"Weekly").ToNewAppointment(HeldDay, freeHours)->recurrence,
              Recurrence::Weekly);
}

class TemplateStoreTest : public ::testing::Test {
protected:
    static std::vector<std::string> Names(const CTavrelTemplateStore& store)
    {
        std::vector<std::string> names;
        for (const CQoString& name : store.GetNames())
            names.push_back(Utf8(name.View()));
        return names;
    }
    static std::vector<std::string> Subkeys()
    {
        std::vector<std::string> names;
        CQoRegistry key(HKEY_CURRENT_USER, CTavrelTemplateStore::KeyPath, false);
        CQoString name;
        for (bool found = key.GetFirstSubKey(name); found; found = key.GetNextSubKey(name))
            names.push_back(Utf8(name.View()));
        return names;
    }

    testing_support::TempDevice device;
    CTavrelTemplateStore store{9};
};

TEST_F(TemplateStoreTest, TemplatesAreSubkeysInTheRegistrysOrderWithTheirValuesAndDefaults)
{
    EXPECT_TRUE(store.GetNames().empty());
    EXPECT_FALSE(CQoRegistry(HKEY_CURRENT_USER, CTavrelTemplateStore::KeyPath, false).IsOpen())
        << "reading the list creates nothing";
    ASSERT_TRUE(store.Write(Template(u"Lunch", u"1 hr", u"12pm", false, u"Weekly")));
    ASSERT_TRUE(store.Write(Template(u"Dentist", u"30 min")));
    EXPECT_EQ(Names(store), (std::vector<std::string>{"Dentist", "Lunch"}));
    EXPECT_EQ(Utf8(store.ReadAt(2)->subject.View()), "Lunch");
    EXPECT_FALSE(store.ReadAt(3));
    EXPECT_FALSE(store.ReadAt(0));

    std::optional<CTavrelAppointmentTemplate> lunch = store.Read(u"lunch");
    ASSERT_TRUE(lunch);
    EXPECT_EQ(Utf8(lunch->duration.View()), "1 hr");
    EXPECT_EQ(Utf8(lunch->frequency.View()), "Weekly");
    EXPECT_EQ(Utf8(lunch->startTime.View()), "12pm");
    EXPECT_FALSE(lunch->autoResolve);

    // A subkey without values reads as the defaults.
    CQoRegistry(HKEY_CURRENT_USER, u"Software\\Orvix\\Tavrel\\Appointment Templates\\Bare", true);
    std::optional<CTavrelAppointmentTemplate> bare = CTavrelTemplateStore(10).Read(u"Bare");
    ASSERT_TRUE(bare);
    EXPECT_EQ(Utf8(bare->duration.View()), "All Day");
    EXPECT_EQ(Utf8(bare->frequency.View()), "One time");
    EXPECT_EQ(Utf8(bare->startTime.View()), "10am");
    EXPECT_TRUE(bare->autoResolve);
    EXPECT_FALSE(store.Read(u"Nothing"));
}

TEST_F(TemplateStoreTest, RenamingLeavesExactlyOneSubkeyUnderTheNewName)
{
    ASSERT_TRUE(store.Write(Template(u"Lunch", u"1 hr")));
    ASSERT_TRUE(store.Write(Template(u"Gym", u"2 hrs")));
    ASSERT_TRUE(store.Replace(u"Lunch", Template(u"Team lunch", u"2 hrs", u"1pm")));
    EXPECT_EQ(Subkeys(), (std::vector<std::string>{"Gym", "Team lunch"}));
    EXPECT_EQ(Utf8(store.Read(u"Team lunch")->startTime.View()), "1pm");

    // A change of letter case alone: the registry sees one key, which must survive.
    ASSERT_TRUE(store.Replace(u"Team lunch", Template(u"team Lunch", u"4 hrs")));
    EXPECT_EQ(Subkeys(), (std::vector<std::string>{"Gym", "team Lunch"}));
    EXPECT_EQ(Utf8(store.Read(u"team Lunch")->duration.View()), "4 hrs");

    // Onto another template's name: that one takes the values, and one subkey is left.
    ASSERT_TRUE(store.Replace(u"Gym", Template(u"Team lunch", u"15 min")));
    EXPECT_EQ(Subkeys(), (std::vector<std::string>{"team Lunch"}));
    EXPECT_EQ(Utf8(store.Read(u"team Lunch")->duration.View()), "15 min");

    ASSERT_TRUE(store.Delete(u"TEAM LUNCH"));
    EXPECT_TRUE(Subkeys().empty());
}

TEST_F(TemplateStoreTest, NamesThatCannotBeKeysAreRefused)
{
    EXPECT_FALSE(store.Write(Template(u"Work\\Meeting", u"1 hr")));
    EXPECT_FALSE(store.Write(Template(u"", u"1 hr")));
    EXPECT_FALSE(store.Write(Template(std::u16string(256, u'x').c_str(), u"1 hr")));
    EXPECT_TRUE(store.Write(Template(std::u16string(255, u'x').c_str(), u"1 hr")));
    EXPECT_EQ(Subkeys().size(), 1u) << "no nested \"Work\\Meeting\"";
    EXPECT_NE(CTavrelTemplateStore::CheckName(u"a\\b"), nullptr);
    EXPECT_EQ(CTavrelTemplateStore::CheckName(u"Lunch (long)"), nullptr);
}

// The dialogs, driven through the desktop's input path.
class TemplateDialogsTest : public TemplateStoreTest {
protected:
    ~TemplateDialogsTest() override { desktop.setModalObserver({}); }

    // Runs the Appointment Types dialog; `act` plays the person's part in each window that opens.
    void Run(const std::function<void(ui::Window&)>& act)
    {
        CAppointmentTypesDlg dialog(store, u"What templates are for.");
        types = &dialog;
        automation.onModal([&](ui::Window& window) { act(window); });
        dialog.RunModal();
        types = nullptr;
    }

    void Retype(int id, const char16_t* text)
    {
        auto* edit = dynamic_cast<ui::EditBox*>(automation.findById(id));
        ASSERT_TRUE(edit);
        automation.tap(edit);
        automation.pressKey(ui::VK_END);
        for (std::size_t i = edit->text().size(); i > 0; --i)
            automation.pressKey(ui::VK_BACK);
        automation.typeText(text);
    }
    void Select(int id, const char16_t* text)
    {
        ui::Window* control = automation.findById(id);
        if (auto* combo = dynamic_cast<ui::ComboBox*>(control))
            EXPECT_TRUE(automation.selectItem(combo, text)) << Utf8(text);
        else if (auto* list = dynamic_cast<ui::ListBox*>(control))
            EXPECT_TRUE(automation.selectItem(list, text)) << Utf8(text);
        else
            ADD_FAILURE() << "no list " << id;
    }
    bool Press(int id) { return automation.tap(automation.findById(id)); }
    std::vector<std::string> ListNames() const
    {
        std::vector<std::string> names;
        auto* list = types->controlAs<ui::ListBox>(CAppointmentTypesDlg::IDC_TEMPLATES);
        for (int i = 0; i < list->count(); ++i)
            names.push_back(Utf8(list->itemText(i)) + (i == list->curSel() ? "*" : ""));
        return names;
    }
    bool Shown(int id) const { return automation.findById(id) && automation.findById(id)->isShown(); }
    bool Enabled(int id) const { return automation.findById(id) && automation.findById(id)->isEnabledInChain(); }

    testing_support::PinnedClock clock{testing_support::localTime(2026, 12, 8, 15, 45)};
    ui::Desktop desktop{std::make_unique<ui::HeadlessBackend>(), ui::TimeSource::makeVirtual()};
    ui::Automation automation{desktop};
    CAppointmentTypesDlg* types = nullptr;
};

TEST_F(TemplateDialogsTest, TheFirstUseExplainsTemplatesAndGoesOnToAdd)
{
    std::vector<std::string> seen;
    bool hiddenWhileAllDay = false, shownForAnHour = false;
    Run([&](ui::Window& window) {
        if (auto* box = dynamic_cast<ui::MessageBoxDialog*>(&window)) {
            seen.push_back("message: " + Utf8(box->message()));
            automation.confirm();
        } else if (dynamic_cast<CTemplateDetailsDlg*>(&window)) {
            seen.push_back("details");
            hiddenWhileAllDay = !Shown(CTemplateDetailsDlg::IDC_START_TIME)
                && !Shown(CTemplateDetailsDlg::IDC_START_TIME_LABEL) && !Shown(CTemplateDetailsDlg::IDC_AUTO_RESOLVE);
            Retype(CTemplateDetailsDlg::IDC_SUBJECT, u"Lunch");
            Select(CTemplateDetailsDlg::IDC_DURATION, u"1 hr");
            shownForAnHour = Shown(CTemplateDetailsDlg::IDC_START_TIME) && Shown(CTemplateDetailsDlg::IDC_AUTO_RESOLVE);
            Select(CTemplateDetailsDlg::IDC_START_TIME, u"12pm");
            automation.confirm();
        } else if (&window == types) {
            seen.push_back("types");
            automation.settle(); // the explanation and the Add that follows it
            seen.push_back("list: " + ListNames().at(0));
            EXPECT_TRUE(Enabled(CAppointmentTypesDlg::IDC_EDIT));
            EXPECT_FALSE(Shown(CAppointmentTypesDlg::IDC_MENU_LIMIT));
            automation.confirm();
        }
    });
    EXPECT_EQ(seen, (std::vector<std::string>{"types", "message: What templates are for.", "details", "list: Lunch*"}));
    EXPECT_TRUE(hiddenWhileAllDay);
    EXPECT_TRUE(shownForAnHour);
    std::optional<CTavrelAppointmentTemplate> lunch = store.Read(u"Lunch");
    ASSERT_TRUE(lunch);
    EXPECT_EQ(Utf8(lunch->duration.View()), "1 hr");
    EXPECT_EQ(Utf8(lunch->startTime.View()), "12pm");
    EXPECT_EQ(Utf8(lunch->frequency.View()), "One time");
    EXPECT_TRUE(lunch->autoResolve);
}

TEST_F(TemplateDialogsTest, EditRenamesToOneSubkeySelectedAtTheEndAndDeleteAsksFirst)
{
    ASSERT_TRUE(store.Write(Template(u"Gym", u"1 hr", u"6pm", false)));
    ASSERT_TRUE(store.Write(Template(u"Lunch", u"1 hr", u"12pm")));
    CQoRegistry(HKEY_CURRENT_USER, u"Software\\Orvix\\Tavrel\\Appointment Templates\\Call", true); // no values
    std::vector<std::string> afterRename, afterNo;
    std::string startTimeOfCall;
    int step = 0;
    Run([&](ui::Window& window) {
        if (&window == types) {
            EXPECT_FALSE(Enabled(CAppointmentTypesDlg::IDC_EDIT));
            EXPECT_FALSE(Enabled(CAppointmentTypesDlg::IDC_DELETE));
            // A template without a start time opens with the working day's start.
            Select(CAppointmentTypesDlg::IDC_TEMPLATES, u"Call");
            EXPECT_TRUE(Enabled(CAppointmentTypesDlg::IDC_EDIT));
            step = 1;
            Press(CAppointmentTypesDlg::IDC_EDIT);
            Select(CAppointmentTypesDlg::IDC_TEMPLATES, u"Gym");
            step = 2;
            Press(CAppointmentTypesDlg::IDC_EDIT);
            afterRename = ListNames();
            step = 3;
            Press(CAppointmentTypesDlg::IDC_DELETE);
            afterNo = ListNames();
            step = 4;
            Press(CAppointmentTypesDlg::IDC_DELETE);
            automation.confirm();
        } else if (auto* details = dynamic_cast<CTemplateDetailsDlg*>(&window)) {
            if (step == 1) {
                auto* startTime = details->controlAs<ui::ComboBox>(CTemplateDetailsDlg::IDC_START_TIME);
                startTimeOfCall = Utf8(startTime->itemText(startTime->curSel()));
                EXPECT_FALSE(details->IsStartTimeShown()) << "Call is all day";
                automation.cancel();
            } else {
                EXPECT_TRUE(details->IsStartTimeShown());
                Retype(CTemplateDetailsDlg::IDC_SUBJECT, u"Workout");
                Select(CTemplateDetailsDlg::IDC_DURATION, u"2 hrs");
                automation.confirm();
            }
        } else if (auto* box = dynamic_cast<ui::MessageBoxDialog*>(&window)) {
            EXPECT_EQ(Utf8(box->message()), "Delete selected template?");
            box->endDialog(step == 3 ? ui::IDNO : ui::IDYES);
        }
    });
    EXPECT_EQ(startTimeOfCall, "9am");
    EXPECT_EQ(afterRename, (std::vector<std::string>{"Call", "Lunch", "Workout*"}));
    EXPECT_EQ(afterNo, afterRename);
    EXPECT_EQ(Subkeys(), (std::vector<std::string>{"Call", "Lunch"}));
    EXPECT_FALSE(store.Read(u"Gym"));
    EXPECT_FALSE(store.Read(u"Workout")) << "deleted after the rename";
}

TEST_F(TemplateDialogsTest, ADurationTheListDoesNotOfferOpensAsTheHourItMakes)
{
    // Written by hand or by another program: the menu makes a one-hour appointment of it, and the
    // dialog shows that rather than "All Day".
    ASSERT_TRUE(store.Write(Template(u"Odd", u"90 min", u"8am")));
    std::string shownDuration;
    bool startTimeShown = false;
    Run([&](ui::Window& window) {
        if (&window == types) {
            Select(CAppointmentTypesDlg::IDC_TEMPLATES, u"Odd");
            Press(CAppointmentTypesDlg::IDC_EDIT);
            automation.confirm();
        } else if (auto* details = dynamic_cast<CTemplateDetailsDlg*>(&window)) {
            auto* duration = details->controlAs<ui::ComboBox>(CTemplateDetailsDlg::IDC_DURATION);
            shownDuration = Utf8(duration->itemText(duration->curSel()));
            startTimeShown = details->IsStartTimeShown();
            automation.confirm();
        }
    });
    EXPECT_EQ(shownDuration, "1 hr");
    EXPECT_TRUE(startTimeShown);
    std::optional<CTavrelAppointmentTemplate> odd = store.Read(u"Odd");
    ASSERT_TRUE(odd);
    EXPECT_EQ(Utf8(odd->duration.View()), "1 hr");
    EXPECT_EQ(Utf8(odd->startTime.View()), "8am");
}

TEST_F(TemplateDialogsTest, ASubjectThatCannotNameATemplateIsRefusedAndAnEmptyOneStoresNothing)
{
    ASSERT_TRUE(store.Write(Template(u"Lunch", u"1 hr")));
    std::vector<std::string> messages;
    int details = 0;
    Run([&](ui::Window& window) {
        if (&window == types) {
            Press(CAppointmentTypesDlg::IDC_ADD); // a subject with "\", then an empty one
            Select(CAppointmentTypesDlg::IDC_TEMPLATES, u"Lunch");
            Press(CAppointmentTypesDlg::IDC_EDIT); // emptied: the template stays
            automation.confirm();
        } else if (dynamic_cast<CTemplateDetailsDlg*>(&window)) {
            ++details;
            if (details == 1) {
                Retype(CTemplateDetailsDlg::IDC_SUBJECT, u"Work\\Meeting");
                automation.confirm(); // refused: the dialog stays
                Retype(CTemplateDetailsDlg::IDC_SUBJECT, u"");
            } else {
                Retype(CTemplateDetailsDlg::IDC_SUBJECT, u"");
            }
            automation.confirm();
        } else if (auto* box = dynamic_cast<ui::MessageBoxDialog*>(&window)) {
            messages.push_back(Utf8(box->message()));
            automation.confirm();
        }
    });
    EXPECT_EQ(details, 2);
    EXPECT_EQ(messages, std::vector<std::string>{"A template's subject cannot contain \"\\\"."});
    EXPECT_EQ(Subkeys(), std::vector<std::string>{"Lunch"});
    EXPECT_EQ(Utf8(store.Read(u"Lunch")->duration.View()), "1 hr");
}

TEST_F(TemplateDialogsTest, MoreTemplatesThanTheMenuOffersAreKeptAndTheDialogSaysWhy)
{
    for (int i = 0; i < 80; ++i) {
        CQoString name;
        name.Format(u"T%02d", i);
        ASSERT_TRUE(store.Write(Template(name, u"1 hr")));
    }
    bool limitShown = false;
    std::size_t listed = 0;
    Run([&](ui::Window& window) {
        if (&window == types) {
            limitShown = Shown(CAppointmentTypesDlg::IDC_MENU_LIMIT);
            listed = ListNames().size();
            automation.confirm();
        }
    });
    EXPECT_TRUE(limitShown);
    EXPECT_EQ(listed, 80u);
}

} // namespace
