// QoLog Config's dialog driven as a person drives it, on a headless desktop and a throw-away device.

#include "PinnedClock.h"
#include "TempDevice.h"

#include "common/QoRegistry.h"
#include "logconfig/QoLogConfigCommandLine.h"
#include "logconfig/QoLogConfigDlg.h"
#include "platform/gfx/Surface.h"
#include "platform/ui/Automation.h"
#include "platform/ui/CheckBox.h"
#include "platform/ui/HeadlessBackend.h"
#include "platform/ui/WindowDump.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

using Dlg = CQoLogConfigDlg;

class QoLogConfigDlgTest : public ::testing::Test {
protected:
    ~QoLogConfigDlgTest() override { desktop.setModalObserver({}); }

    // Runs the dialog; `act` plays the person's part once it is open.
    int Run(const std::function<void(Dlg&)>& act)
    {
        Dlg dialog;
        automation.onModal([&](ui::Window& window) {
            if (&window == &dialog)
                act(dialog);
        });
        return dialog.RunModal();
    }

    static std::optional<std::uint32_t> Switch(const char16_t* name)
    {
        CQoRegistry key(HKEY_LOCAL_MACHINE, Dlg::SwitchesKeyPath, false);
        if (!key.IsOpen() || !key.ValueExists(name))
            return std::nullopt;
        return key.GetDWORD(name, CQoRegistry::NoWriteBack);
    }

    static void SetSwitch(const char16_t* name, std::uint32_t value)
    {
        ASSERT_TRUE(CQoRegistry(HKEY_LOCAL_MACHINE, Dlg::SwitchesKeyPath, true).SetDWORD(name, value));
    }

    testing_support::TempDevice device;
    testing_support::PinnedClock clock {testing_support::localTime(2026, 12, 8, 15, 45)};
    ui::Desktop desktop {std::make_unique<ui::HeadlessBackend>(), ui::TimeSource::makeVirtual()};
    ui::Automation automation {desktop};
};

TEST_F(QoLogConfigDlgTest, OnANewDeviceTheKeyIsCreatedWithBothSwitchesOffAndTheBoxesUnchecked)
{
    std::string dump;
    Run([&](Dlg& dialog) {
        dump = ui::WindowDump::describe(dialog);
        automation.cancel();
    });
    EXPECT_EQ(dump,
              "window dialog id=102 ok=1 icon=32x32 small-icon=32x32 text=\"QoLog Config\"\n"
              "control 1000 checkbox shown=1 enabled=1 focused=1 checked=0 selection=- text=\"Tavrel\"\n"
              "control 1001 checkbox shown=1 enabled=1 focused=0 checked=0 selection=- "
              "text=\"Tavrel ActiveX Control\"\n"
              "control -1 label shown=1 enabled=1 focused=0 checked=- selection=- text=\"Application Logging\"\n");
    EXPECT_EQ(Switch(Dlg::TavrelSwitch), 0u);
    EXPECT_EQ(Switch(Dlg::ActiveXSwitch), 0u);
}

TEST_F(QoLogConfigDlgTest, TheBoxesShowTheSwitchesAndOkWritesBoth)
{
    SetSwitch(Dlg::ActiveXSwitch, 7);
    bool tavrelShown = true, activeXShown = false;
    const int result = Run([&](Dlg& dialog) {
        tavrelShown = dialog.TavrelBox().isChecked();
        activeXShown = dialog.ActiveXBox().isChecked();
        automation.setChecked(&dialog.TavrelBox(), true);
        automation.setChecked(&dialog.ActiveXBox(), false);
        automation.confirm();
    });
    EXPECT_EQ(result, ui::IDOK);
    EXPECT_FALSE(tavrelShown);
    EXPECT_TRUE(activeXShown) << "any non-zero value is on";
    EXPECT_EQ(Switch(Dlg::TavrelSwitch), 1u);
    EXPECT_EQ(Switch(Dlg::ActiveXSwitch), 0u);

    // And back: the boxes now show what OK wrote.
    Run([&](Dlg& dialog) {
        tavrelShown = dialog.TavrelBox().isChecked();
        automation.setChecked(&dialog.TavrelBox(), false);
        automation.setChecked(&dialog.ActiveXBox(), true);
        automation.confirm();
    });
    EXPECT_TRUE(tavrelShown);
    EXPECT_EQ(Switch(Dlg::TavrelSwitch), 0u);
    EXPECT_EQ(Switch(Dlg::ActiveXSwitch), 1u);
}

TEST_F(QoLogConfigDlgTest, ClosingAnyOtherWayWritesNothing)
{
    SetSwitch(Dlg::TavrelSwitch, 0);
    SetSwitch(Dlg::ActiveXSwitch, 1);
    const int cancelled = Run([&](Dlg& dialog) {
        automation.setChecked(&dialog.TavrelBox(), true);
        automation.setChecked(&dialog.ActiveXBox(), false);
        automation.cancel();
    });
    EXPECT_EQ(cancelled, ui::IDCANCEL);
    // Ended from outside, as when the program is told to quit.
    Run([&](Dlg& dialog) {
        automation.setChecked(&dialog.TavrelBox(), true);
        desktop.quit(0);
    });
    EXPECT_EQ(Switch(Dlg::TavrelSwitch), 0u);
    EXPECT_EQ(Switch(Dlg::ActiveXSwitch), 1u);
}

TEST(QoLogConfigCommandLineTest, OptionsAndTheirMistakes)
{
    std::string error;
    std::optional<CQoLogConfigCommandLine> line = CQoLogConfigCommandLine::Parse(
        {"--device", "/tmp/d", "--headless", "--script=/tmp/s.txt", "--zoom", "3"}, &error);
    ASSERT_TRUE(line) << error;
    EXPECT_EQ(line->device, "/tmp/d");
    EXPECT_TRUE(line->headless);
    EXPECT_EQ(line->script, "/tmp/s.txt");
    EXPECT_EQ(line->zoom, 3);

    EXPECT_FALSE(CQoLogConfigCommandLine::Parse({"--headless"}, &error));
    EXPECT_EQ(error, "--headless needs --script: nobody could close the dialog");
    EXPECT_FALSE(CQoLogConfigCommandLine::Parse({"--zoom", "9"}, &error));
    EXPECT_EQ(error, "--zoom needs a whole number from 1 to 8, not '9'");
    EXPECT_FALSE(CQoLogConfigCommandLine::Parse({"--script"}, &error));
    EXPECT_EQ(error, "--script needs a value (try --help)");
    EXPECT_FALSE(CQoLogConfigCommandLine::Parse({"--colour", "red"}, &error));
    EXPECT_EQ(error, "unknown option --colour (try --help)");
    EXPECT_FALSE(CQoLogConfigCommandLine::Parse({"Tavrel"}, &error));
    EXPECT_EQ(error, "unexpected argument 'Tavrel' (try --help)");
    EXPECT_TRUE(CQoLogConfigCommandLine::Parse({"--headless", "--help"}, &error)->help);
}

} // namespace
