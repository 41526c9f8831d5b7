#include "TempDevice.h"

#include "common/QoLog.h"
#include "platform/device/FileSystem.h"
#include "platform/device/RunningProgram.h"
#include "platform/device/Thread.h"

#include <cctype>
#include <fstream>
#include <gtest/gtest.h>
#include <thread>

using testing_support::TempDevice;

namespace {

std::string readLog(const TempDevice& device, const char* name)
{
    std::ifstream in(device.host(name), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::vector<std::string> lines(const std::string& text)
{
    std::vector<std::string> out;
    std::size_t start = 0;
    for (std::size_t at; (at = text.find("\r\n", start)) != std::string::npos; start = at + 2)
        out.push_back(text.substr(start, at - start));
    return out;
}

// "HH:MM:SS(counter),thr 0xXXXXXXXX : " in front of every line.
bool hasStamp(const std::string& line)
{
    auto digits = [&](std::size_t at, std::size_t count) {
        for (std::size_t i = at; i < at + count; ++i)
            if (i >= line.size() || !std::isdigit(static_cast<unsigned char>(line[i])))
                return false;
        return true;
    };
    if (!digits(0, 2) || line[2] != ':' || !digits(3, 2) || line[5] != ':' || !digits(6, 2) || line[8] != '(')
        return false;
    std::size_t close = line.find("),thr 0x", 9);
    if (close == std::string::npos || close == 9 || !digits(9 + (line[9] == '-'), close - 9 - (line[9] == '-')))
        return false;
    std::size_t hex = close + 8;
    for (std::size_t i = hex; i < hex + 8; ++i)
        if (i >= line.size() || !std::isxdigit(static_cast<unsigned char>(line[i])) || std::islower(line[i]))
            return false;
    return line.compare(hex + 8, 3, " : ") == 0;
}

} // namespace

// The log object is process-wide, so one test walks its whole life: a fresh file per open, the
// header, stamped lines from two threads, the drop rules and the footer.
TEST(QoLog, WritesAFreshStampedThreadTaggedLogAndItsFooter)
{
    TempDevice device;
    device::RunningProgram::setDevicePath(u"\\Program Files\\Tavrel\\Tavrel.exe");
    EXPECT_EQ(CQoLog::LogFilePath(), u"\\Tavrel_log.txt");
    {
        std::ofstream stale(device.host("Tavrel_log.txt"));
        stale << "an earlier run\r\n";
    }

    CQoLog& log = CQoLog::GetLog();
    ASSERT_TRUE(log.IsOpen());
    log.Trace(u"CTavrelApp() Constructor\n");
    log.TraceNarrow("narrow %d", 42);
    std::u16string tooLong(1100, u'x');
    log.Trace(u"%s", tooLong.c_str());
    std::uint32_t otherThread = 0;
    std::thread([&] {
        otherThread = device::currentThreadId();
        CQoLog::GetLog().Trace(u"from the second thread");
    }).join();
    CQoLog::SetIndent(3);
    log.Trace(u"indented");
    CQoLog::SetIndent(0);
    log.Close();

    std::string text = readLog(device, "Tavrel_log.txt");
    EXPECT_EQ(text.find("an earlier run"), std::string::npos) << "each run starts a fresh log";
    auto all = lines(text);
    ASSERT_EQ(all.size(), 7u) << text;
    for (const auto& line : all)
        EXPECT_TRUE(hasStamp(line)) << line;
    EXPECT_NE(all[0].find(" : ============================================="), std::string::npos);
    std::string header = all[1].substr(all[1].find(" : ") + 3);
    EXPECT_EQ(header.rfind("Log is started on ", 0), 0u) << header;
    EXPECT_EQ(header[20], '.');
    EXPECT_EQ(header[23], '.');
    EXPECT_NE(header.find(", executable: \\Program Files\\Tavrel\\Tavrel.exe (ProcID: 0x"), std::string::npos) << header;
    std::string compiled = header.substr(header.find("), compile time : ") + 18);
    EXPECT_EQ(compiled.size(), 20u) << "\"Dec  8 2026 15:45:10\": " << compiled;
    EXPECT_EQ(compiled[11], ' ');
    EXPECT_NE(text.find(" : CTavrelApp() Constructor\n\r\n"), std::string::npos) << "a message ending in LF ends LF CR LF";
    EXPECT_NE(all[3].find(" : narrow 42"), std::string::npos);
    EXPECT_EQ(text.find("xxxxxxxxxx"), std::string::npos) << "an over-long message leaves no line";
    char tag[16];
    std::snprintf(tag, sizeof tag, "0x%08X", otherThread);
    EXPECT_NE(all[4].find(tag), std::string::npos) << all[4];
    EXPECT_NE(all[5].find(" :    indented"), std::string::npos);
    EXPECT_NE(all[6].find(" : Log finished"), std::string::npos);

    // A second open (a second run) replaces the file again.
    CQoLog::GetLog().Trace(u"second run");
    CQoLog::GetLog().Close();
    text = readLog(device, "Tavrel_log.txt");
    EXPECT_EQ(text.find("Constructor"), std::string::npos);
    EXPECT_NE(text.find("second run"), std::string::npos);
}
