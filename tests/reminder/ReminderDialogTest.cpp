// The reminder dialog driven as a person drives it, on a headless desktop with the device clock
// frozen at 8 December 2026, 9:00 AM.

#include "ReminderTestSupport.h"

#include "platform/device/ShellExecute.h"
#include "platform/gfx/ImageResource.h"
#include "platform/sound/SoundPlayer.h"
#include "platform/ui/Automation.h"
#include "platform/ui/ComboBox.h"
#include "platform/ui/DialogUnits.h"
#include "platform/ui/HeadlessBackend.h"
#include "platform/ui/MessageBox.h"
#include "platform/ui/NavigationBar.h"
#include "platform/ui/PushButton.h"
#include "reminder/TavrelPartnerProgram.h"
#include "reminder/TavrelReminderDlg.h"
#include "reminder/TavrelReminderScheduler.h"

#include <functional>

namespace {

using namespace reminder_testing;
using Dlg = CTavrelReminderDlg;

class ReminderDialogTest : public ReminderStoreTest {
protected:
    ReminderDialogTest()
    {
        sound::SoundPlayer::setMode(sound::SoundPlayer::Mode::Report);
        device::ShellExecute::setInterceptor([this](const device::ShellExecute::Request& request, bool* result) {
            partner.push_back(device::toUtf8(request.devicePath) + " " + device::toUtf8(request.parameters));
            *result = true;
            return true;
        });
        CQoRegistry install(HKEY_LOCAL_MACHINE, CTavrelPartnerProgram::InstallKey, true);
        install.SetString(u"InstallDir", u"\\Program Files\\Varnow");
        Write(Reminder(u"A7").Title(u"Standup").Category(u"Meeting"));
        Write(Reminder(u"B2")
                  .Title(u"Call Bob")
                  .Category(u"Call")
                  .Start(u"12/8/2026 8:45:00 AM")
                  .At(u"12/8/2026 8:45:00 AM"));
    }

    ~ReminderDialogTest() override
    {
        device::ShellExecute::setInterceptor({});
        sound::SoundPlayer::setMode(sound::SoundPlayer::Mode::Automatic);
        desktop.setModalObserver({});
    }

    // Runs the dialog on the store; `act` plays the person's part once it is open.
    int Run(const std::function<void(Dlg&)>& act)
    {
        CTavrelReminderStore store;
        CTavrelReminderScheduler scheduler(store, ReminderProgram);
        CTavrelPartnerProgram partnerProgram;
        Dlg dialog(store, scheduler, partnerProgram);
        automation.onModal([&](ui::Window& window) {
            if (&window == &dialog) {
                act(dialog);
            } else if (auto* box = dynamic_cast<ui::MessageBoxDialog*>(&window)) {
                boxes.push_back(device::toUtf8(box->message()));
                automation.confirm();
            }
        });
        ::testing::internal::CaptureStderr();
        const int result = dialog.RunModal();
        err = ::testing::internal::GetCapturedStderr();
        closedItself = dialog.ClosedItself();
        return result;
    }

    static ui::PushButton* Button(Dlg& dialog, int id) { return dialog.controlAs<ui::PushButton>(id); }

    // Selects a snooze duration and presses a button.
    void Snooze(Dlg& dialog, const char16_t* duration, int button)
    {
        ASSERT_TRUE(automation.selectItem(&dialog.Durations(), duration));
        ASSERT_TRUE(automation.tap(Button(dialog, button)));
    }

    static int Count(const std::string& text, const std::string& what)
    {
        int count = 0;
        for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
            ++count;
        return count;
    }

    ui::Desktop desktop {std::make_unique<ui::HeadlessBackend>(), ui::TimeSource::makeVirtual()};
    ui::Automation automation {desktop};
    std::vector<std::string> partner;
    std::vector<std::string> boxes;
    std::string err;
    bool closedItself = false;
};

TEST_F(ReminderDialogTest, ItListsTheDueRemindersSoundsTheAlarmOnceAndOkSnoozesThemAllForFiveMinutes)
{
    const int result = Run([&](Dlg& dialog) {
        EXPECT_EQ(desktop.navigationBar().title(), u"Varnow Reminder");
        EXPECT_TRUE(dialog.isTopMost());
        EXPECT_EQ(dialog.layer(), ui::Layer::TopMost);
        EXPECT_EQ(dialog.rect(), (gfx::Rect {0, 26, 240, 320})) << "140 x 153 units reach over the command bar";
        EXPECT_EQ(Button(dialog, Dlg::IDC_SNOOZE)->rect(),
            ui::DialogUnits::toPixels(7, 132, 34, 14).translated(0, dialog.contentTop()));
        EXPECT_TRUE(Button(dialog, Dlg::IDC_SNOOZE)->isDefault());
        EXPECT_EQ(Button(dialog, Dlg::IDC_VIEW_CHANGE)->text(), u"View / Change");
        EXPECT_EQ(Button(dialog, Dlg::IDC_CLEAR_ALARM)->text(), u"Clear Alarm");
        EXPECT_EQ(Button(dialog, Dlg::IDC_SNOOZE_ALL)->text(), u"Snooze All");

        ui::ComboBox& durations = dialog.Durations();
        std::vector<std::u16string> texts;
        for (int i = 0; i < durations.count(); ++i)
            texts.push_back(durations.itemText(i));
        EXPECT_EQ(texts,
            (std::vector<std::u16string> {u"5 min", u"10 min", u"20 min", u"30 min", u"1 hr", u"90 min", u"4 hrs",
                u"1 day", u"5 days", u"1 week"}));
        EXPECT_EQ(durations.windowText(), u"5 min");

        // The list above the buttons, in the store's order, the first one selected.
        CTavrelReminderList& list = dialog.List();
        EXPECT_LE(list.screenRect().bottom, Button(dialog, Dlg::IDC_CLEAR_ALARM)->screenRect().top);
        ASSERT_EQ(list.count(), 2);
        EXPECT_EQ(list.itemText(0), u"Meeting  12/8/2026 8:30 AM  Standup");
        EXPECT_EQ(list.itemText(1), u"Call  12/8/2026 8:45 AM  Call Bob");
        EXPECT_EQ(list.curSel(), 0);

        automation.settle();
        EXPECT_TRUE(dialog.AlarmPlayed()) << "before the first input";
        EXPECT_TRUE(automation.confirm()); // "ok" in the navigation bar
    });
    EXPECT_EQ(result, ui::IDOK);
    EXPECT_TRUE(closedItself);
    EXPECT_EQ(Count(err, "play-sound: \\Windows\\Alarm2.wav\n"), 1) << err;
    EXPECT_EQ(Value(u"Alarm"), u"\\Windows\\Alarm2.wav") << "written when missing";
    EXPECT_EQ(Value(u"Snooze Until", u"A7"), u"12/8/2026 9:05:00 AM");
    EXPECT_EQ(Value(u"Snooze Until", u"B2"), u"12/8/2026 9:05:00 AM");
    // Headless, the list also goes to standard error.
    EXPECT_NE(err.find("reminder-due: A7: Meeting  12/8/2026 8:30 AM  Standup\n"), std::string::npos) << err;
    EXPECT_NE(err.find("reminder-due: B2: Call  12/8/2026 8:45 AM  Call Bob\n"), std::string::npos) << err;
    EXPECT_TRUE(partner.empty());
}

TEST_F(ReminderDialogTest, SnoozePostponesTheSelectedReminderAndSnoozeAllTheRestByTheChosenDuration)
{
    const int result = Run([&](Dlg& dialog) {
        Snooze(dialog, u"1 hr", Dlg::IDC_SNOOZE);
        EXPECT_EQ(Value(u"Snooze Until", u"A7"), u"12/8/2026 10:00:00 AM");
        EXPECT_FALSE(Value(u"Snooze Until", u"B2"));
        ASSERT_EQ(dialog.List().count(), 1);
        EXPECT_EQ(dialog.List().Selected()->m_id, u"B2");
        EXPECT_EQ(dialog.Durations().windowText(), u"5 min") << "each refresh starts again at 5 minutes";

        // Without a duration nothing happens.
        dialog.Durations().setCurSel(-1);
        automation.tap(Button(dialog, Dlg::IDC_SNOOZE));
        automation.tap(Button(dialog, Dlg::IDC_SNOOZE_ALL));
        EXPECT_FALSE(Value(u"Snooze Until", u"B2"));
        EXPECT_TRUE(dialog.isRunning());

        Snooze(dialog, u"1 week", Dlg::IDC_SNOOZE_ALL);
    });
    EXPECT_EQ(result, ui::IDOK) << "nothing left: the dialog closed itself";
    EXPECT_EQ(Value(u"Snooze Until", u"B2"), u"12/15/2026 9:00:00 AM");
    EXPECT_EQ(Value(u"Snooze Until", u"A7"), u"12/8/2026 10:00:00 AM") << "no longer due, so not snoozed again";
}

TEST_F(ReminderDialogTest, ClearAlarmDismissesTheSelectedReminderForGoodAndTellsThePartner)
{
    const int result = Run([&](Dlg& dialog) {
        CTavrelReminderList& list = dialog.List();
        // A tap on the second block selects it.
        automation.tapAt(list.itemRect(1).centre() + list.screenRect().topLeft());
        ASSERT_EQ(list.curSel(), 1);
        automation.tap(Button(dialog, Dlg::IDC_CLEAR_ALARM));
        EXPECT_EQ(Value(u"Dismissed"), u"B2");
        EXPECT_FALSE(Exists(u"B2"));
        ASSERT_EQ(list.count(), 1);
        EXPECT_EQ(list.Selected()->m_id, u"A7");
        automation.tap(Button(dialog, Dlg::IDC_CLEAR_ALARM));
    });
    EXPECT_EQ(result, ui::IDOK);
    EXPECT_EQ(Value(u"Dismissed"), u"B2,A7");
    EXPECT_EQ(partner,
        (std::vector<std::string> {"\\Program Files\\Varnow\\Varnow.EXE /ifrunning /dismissactivity=B2",
            "\\Program Files\\Varnow\\Varnow.EXE /ifrunning /dismissactivity=A7"}));
}

TEST_F(ReminderDialogTest, APartnerThatIsNotInstalledIsIgnored)
{
    device::ShellExecute::setInterceptor({});
    {
        CQoRegistry install(HKEY_LOCAL_MACHINE, CTavrelPartnerProgram::InstallKey, true);
        install.DeleteValue(u"InstallDir");
    }
    const int result = Run([&](Dlg& dialog) {
        automation.tap(Button(dialog, Dlg::IDC_CLEAR_ALARM));
        automation.tap(Button(dialog, Dlg::IDC_CLEAR_ALARM));
    });
    EXPECT_EQ(result, ui::IDOK);
    EXPECT_EQ(Value(u"Dismissed"), u"A7,B2");
    EXPECT_TRUE(boxes.empty());
    EXPECT_FALSE(Value(u"InstallDir")) << "nothing written for the partner";
}

TEST_F(ReminderDialogTest, ViewChangeOpensTheActivityAndBringsTheReminderBackInFifteenMinutes)
{
    const int result = Run([&](Dlg& dialog) {
        automation.selectItem(&dialog.List(), 1);
        automation.tap(Button(dialog, Dlg::IDC_VIEW_CHANGE));
    });
    EXPECT_EQ(result, ui::IDCANCEL);
    EXPECT_TRUE(closedItself);
    EXPECT_EQ(partner, (std::vector<std::string> {"\\Program Files\\Varnow\\Varnow.EXE /openactivity=B2"}));
    EXPECT_EQ(PendingStart(), "12/8/2026 9:15:00 AM");
    EXPECT_TRUE(Exists(u"B2"));
    EXPECT_FALSE(Value(u"Snooze Until", u"B2"));
    EXPECT_FALSE(Value(u"Next Reminder")) << "the dialog arranged the next run itself";
}

TEST_F(ReminderDialogTest, EscapeLeavesTheRemindersWhereTheyAre)
{
    const int result = Run([&](Dlg& dialog) {
        automation.cancel();
        EXPECT_TRUE(dialog.isRunning());
        desktop.quit(0); // the window closed from outside
    });
    EXPECT_EQ(result, ui::IDCANCEL);
    EXPECT_FALSE(closedItself);
    EXPECT_FALSE(Value(u"Snooze Until", u"A7"));
}

TEST_F(ReminderDialogTest, EachBlockShowsThePictureOfItsCategoryWhateverTheLetterCase)
{
    Write(Reminder(u"A7").Category(u"meeting"));
    Write(Reminder(u"C3").Category(u"TODO"));
    Write(Reminder(u"D4").Category(u"Birthday"));
    Run([&](Dlg& dialog) {
        automation.settle();
        CTavrelReminderList& list = dialog.List();
        ASSERT_EQ(list.count(), 4);
        const int expected[] = {133, 132, 131, 134};
        for (int index = 0; index < 4; ++index) {
            const std::optional<gfx::Surface> picture = gfx::loadImageResource(expected[index]);
            ASSERT_TRUE(picture) << "the test program embeds the pictures";
            const gfx::Point at = list.screenRect().topLeft() + list.itemRect(index).topLeft() + gfx::Point {2, 2};
            const gfx::Colour key = picture->pixel(0, 0);
            int drawn = 0, left = 0;
            for (int y = 0; y < picture->height(); ++y)
                for (int x = 0; x < picture->width(); ++x) {
                    const gfx::Colour shown = desktop.screen().pixel(at.x + x, at.y + y);
                    if (picture->pixel(x, y) != key) {
                        drawn += shown == picture->pixel(x, y);
                    } else {
                        left += shown != key; // the block's background, never the key colour
                    }
                }
            EXPECT_GT(drawn, 20) << "block " << index;
            EXPECT_EQ(left + drawn, picture->width() * picture->height()) << "block " << index;
        }
        desktop.quit(0);
    });
}

TEST_F(ReminderDialogTest, AnAlarmThatCannotBePlayedIsSilent)
{
    {
        CQoRegistry key(HKEY_CURRENT_USER, CTavrelReminderStore::KeyPath, true);
        key.SetString(u"Alarm", u"\\Windows\\Nothing.wav");
    }
    const int result = Run([&](Dlg& dialog) {
        automation.settle();
        EXPECT_TRUE(dialog.AlarmPlayed());
        automation.confirm();
    });
    EXPECT_EQ(result, ui::IDOK);
    EXPECT_EQ(err.find("play-sound:"), std::string::npos) << err;
    EXPECT_TRUE(boxes.empty());
}

} // namespace
