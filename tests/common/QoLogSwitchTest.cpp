// The logging switch: which device's registry it reads, and the reader's per-pass snapshot.

#include "TempDevice.h"

#include "common/QoLog.h"
#include "common/QoRegistry.h"
#include "platform/device/RunningProgram.h"

#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <thread>

namespace {

TEST(QoLogSwitch, TheSwitchIsReadFromTheDeviceInUse)
{
    {
        testing_support::TempDevice first;
        CQoRegistry logging(HKEY_LOCAL_MACHINE, CQoLog::SwitchKeyPath, true);
        ASSERT_TRUE(logging.SetDWORD(u"Tavrel", 1));
        EXPECT_TRUE(CQoLog::IsEnabled());
        ASSERT_TRUE(logging.SetDWORD(u"Tavrel", 0));
        EXPECT_FALSE(CQoLog::IsEnabled());
        logging.SetDWORD(u"Tavrel", 1);
    }
    testing_support::TempDevice second;
    EXPECT_FALSE(CQoLog::IsEnabled());
    CQoRegistry logging(HKEY_LOCAL_MACHINE, CQoLog::SwitchKeyPath, false);
    EXPECT_TRUE(logging.ValueExists(u"Tavrel"));
}

TEST(QoLogSwitch, ASnapshotHoldsTheSwitchForItsThreadOnly)
{
    testing_support::TempDevice device;
    CQoRegistry logging(HKEY_LOCAL_MACHINE, CQoLog::SwitchKeyPath, true);
    ASSERT_TRUE(logging.SetDWORD(u"Tavrel", 0));
    {
        const CQoLog::SwitchSnapshot snapshot;
        logging.SetDWORD(u"Tavrel", 1);
        EXPECT_FALSE(CQoLog::IsEnabled());
        bool elsewhere = false;
        std::thread other([&] { elsewhere = CQoLog::IsEnabled(); });
        other.join();
        EXPECT_TRUE(elsewhere);
    }
    EXPECT_TRUE(CQoLog::IsEnabled());
    logging.SetDWORD(u"Tavrel", 0);
}

// Every trace line of the program goes through Log: with the switch off it creates no file and
// writes nothing; with it on the line is formatted into the log.
TEST(QoLogSwitch, LogWritesOnlyWhileTheSwitchIsOn)
{
    testing_support::TempDevice device;
    device::RunningProgram::setDevicePath(u"\\Program Files\\Tavrel\\Tavrel.exe");
    CQoRegistry logging(HKEY_LOCAL_MACHINE, CQoLog::SwitchKeyPath, true);
    ASSERT_TRUE(logging.SetDWORD(CQoLog::SwitchName, 0));
    CQoLog::Log(u"off %d", 1);
    CQoLog::LogWithDebugOutput(u"off too");
    EXPECT_FALSE(std::ifstream(device.host("Tavrel_log.txt")).good()) << "no log file while logging is off";

    ASSERT_TRUE(logging.SetDWORD(CQoLog::SwitchName, 1));
    CQoLog::Log(u"on %d", 2);
    CQoLog::LogWithDebugOutput(u"on too");
    CQoLog::GetLog().Close();
    std::ifstream in(device.host("Tavrel_log.txt"), std::ios::binary);
    const std::string text(std::istreambuf_iterator<char>(in), {});
    EXPECT_NE(text.find(" : on 2\r\n"), std::string::npos) << text;
    EXPECT_NE(text.find(" : on too\r\n"), std::string::npos) << text;
    EXPECT_EQ(text.find("off"), std::string::npos) << text;
}

} // namespace
