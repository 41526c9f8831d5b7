// tavrel-device reg, run as the real program on a throw-away device folder.

#include "TempDevice.h"
#include "ToolRunner.h"

#include <algorithm>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

using namespace testing_support;

namespace {

// Runs tavrel-device --device ROOT reg ARGS...
ToolRun reg(const TempDevice& device, const std::vector<std::string>& args)
{
    std::vector<std::string> all = {"reg"};
    all.insert(all.end(), args.begin(), args.end());
    return runDeviceTool(device.root(), all);
}

std::filesystem::path toolPath() { return programPath("tavrel-device"); }

int lineCount(const std::string& text)
{
    int lines = 0;
    for (char c : text)
        lines += c == '\n';
    return lines;
}

const std::string tavrel = "Software\\Orvix\\Tavrel";

} // namespace

TEST(RegCommand, SetThenGetEachType)
{
    TempDevice device;
    ASSERT_TRUE(std::filesystem::exists(toolPath())) << toolPath();
    EXPECT_EQ(reg(device, {"set", "HKCU", tavrel, "FontNameDays", "sz", "Tahoma \xC3\xA9"}).exitCode, 0);
    EXPECT_EQ(reg(device, {"set", "HKCU", tavrel, "Transparency01", "dword", "50"}).exitCode, 0);
    EXPECT_EQ(reg(device, {"set", "HKCU", tavrel, "\\Colors\\Busy", "dword", "0xCC88FF"}).exitCode, 0);
    EXPECT_EQ(reg(device, {"set", "HKCU", tavrel, "Blob", "binary", "00ffA0"}).exitCode, 0);
    EXPECT_EQ(reg(device, {"set", "hklm", "Software\\Apps\\Orvix Tavrel", "", "sz", ""}).exitCode, 0);

    ToolRun text = reg(device, {"get", "HKCU", "software\\orvix\\TAVREL", "fontnamedays"});
    EXPECT_EQ(text.exitCode, 0);
    EXPECT_EQ(text.out, "Tahoma \xC3\xA9\n");
    EXPECT_EQ(reg(device, {"get", "HKCU", tavrel, "Transparency01"}).out, "50\n");
    EXPECT_EQ(reg(device, {"get", "HKCU", tavrel, "\\Colors\\Busy"}).out, "13404415\n");
    EXPECT_EQ(reg(device, {"get", "HKCU", tavrel, "Blob"}).out, "00FFA0\n");

    ToolRun all = reg(device, {"get", "HKCU", tavrel});
    EXPECT_EQ(all.exitCode, 0);
    EXPECT_EQ(all.out, "FontNameDays=sz:Tahoma \xC3\xA9\nTransparency01=dword:50\n\\Colors\\Busy=dword:13404415\n"
                       "Blob=binary:00FFA0\n");
    EXPECT_EQ(reg(device, {"get", "HKLM", "Software\\Apps\\Orvix Tavrel"}).out, "=sz:\n");

    // Setting again replaces the value and may change its type.
    EXPECT_EQ(reg(device, {"set", "HKCU", tavrel, "transparency01", "sz", "half"}).exitCode, 0);
    EXPECT_EQ(reg(device, {"get", "HKCU", tavrel, "Transparency01"}).out, "half\n");
}

TEST(RegCommand, MissingKeysAndValuesExitOneWithAMessage)
{
    TempDevice device;
    ASSERT_EQ(reg(device, {"set", "HKCU", tavrel, "LastView", "dword", "2"}).exitCode, 0);
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>> {
             {"get", "HKCU", tavrel, "Missing"},
             {"get", "HKCU", "Software\\Nobody"},
             {"get", "HKLM", tavrel, "LastView"},
             {"list", "HKCU", "Software\\Nobody"},
             {"delete", "HKCU", "Software\\Nobody"},
             {"delete", "HKCU", tavrel, "Missing"},
             {"export", "HKCU", "Software\\Nobody"},
         }) {
        ToolRun run = reg(device, args);
        EXPECT_EQ(run.exitCode, 1) << args[0] << " " << args[2];
        EXPECT_TRUE(run.out.empty());
        EXPECT_EQ(lineCount(run.err), 1) << run.err;
        EXPECT_NE(run.err.find("does not exist"), std::string::npos) << run.err;
    }
}

TEST(RegCommand, BadArgumentsExitTwoWithOneUsageLine)
{
    TempDevice device;
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>> {
             {},
             {"frobnicate"},
             {"get"},
             {"get", "HKXX", tavrel},
             {"get", "HKCU", tavrel, "a", "b"},
             {"set", "HKCU", tavrel, "Name", "dword"},
             {"set", "HKCU", tavrel, "Name", "qword", "1"},
             {"set", "HKCU", tavrel, "Name", "dword", "abc"},
             {"set", "HKCU", tavrel, "Name", "dword", "-1"},
             {"set", "HKCU", tavrel, "Name", "dword", "4294967296"},
             {"set", "HKCU", tavrel, "Name", "dword", "0x"},
             {"set", "HKCU", tavrel, "Name", "binary", "ABC"},
             {"set", "HKCU", tavrel, "Name", "binary", "zz"},
             {"delete", "HKCU"},
             {"delete", "HKCU", ""},
             {"delete", "HKCU", "\\"},
             {"list", "HKCU"},
             {"export", "HKCU", tavrel, "extra"},
             {"export", "Software"},
         }) {
        ToolRun run = reg(device, args);
        std::string shown = args.empty() ? "(none)" : args[0] + (args.size() > 1 ? " " + args[1] : "");
        EXPECT_EQ(run.exitCode, 2) << shown;
        EXPECT_EQ(lineCount(run.err), 1) << shown << ": " << run.err;
        EXPECT_TRUE(run.out.empty()) << shown;
    }
    // None of them wrote anything.
    EXPECT_EQ(reg(device, {"list", "HKCU", ""}).out, "");
    EXPECT_EQ(reg(device, {"get", "HKCU", tavrel}).exitCode, 1);
}

TEST(RegCommand, ListAndDeleteWorkOnWholeSubtrees)
{
    TempDevice device;
    const std::string calendars = tavrel + "\\Calendars";
    for (std::string name : {"work\\Meetings", "Holidays", "_Imported", "Birthdays\\Family\\Close"})
        ASSERT_EQ(reg(device, {"set", "HKCU", calendars + "\\" + name, "Visible", "dword", "1"}).exitCode, 0);

    ToolRun list = reg(device, {"list", "HKCU", calendars});
    EXPECT_EQ(list.exitCode, 0);
    EXPECT_EQ(list.out, "_Imported\nBirthdays\nHolidays\nwork\n");

    EXPECT_EQ(reg(device, {"delete", "HKCU", calendars + "\\BIRTHDAYS"}).exitCode, 0);
    EXPECT_EQ(reg(device, {"list", "HKCU", calendars}).out, "_Imported\nHolidays\nwork\n");
    EXPECT_EQ(reg(device, {"delete", "HKCU", calendars + "\\work\\Meetings", "visible"}).exitCode, 0);
    EXPECT_EQ(reg(device, {"get", "HKCU", calendars + "\\work\\Meetings"}).out, "");
    EXPECT_EQ(reg(device, {"delete", "HKCU", "Software"}).exitCode, 0);
    EXPECT_EQ(reg(device, {"list", "HKCU", ""}).out, "");
}

TEST(RegCommand, ExportWritesARegStyleDump)
{
    TempDevice device;
    ASSERT_EQ(reg(device, {"set", "HKCU", tavrel, "Transparency01", "dword", "50"}).exitCode, 0);
    ASSERT_EQ(reg(device, {"set", "HKCU", tavrel, "CurrentCalendar", "sz", "<Personal> \"quoted\" C:\\x"}).exitCode, 0);
    ASSERT_EQ(reg(device, {"set", "HKCU", tavrel, "\\Colors\\Busy", "dword", "0xCC88FF"}).exitCode, 0);
    ASSERT_EQ(reg(device, {"set", "HKCU", tavrel + "\\Remote", "", "binary", "DEAD01"}).exitCode, 0);
    ASSERT_EQ(reg(device, {"set", "HKLM", "Software\\Orvix\\QoLog", "Tavrel", "dword", "1"}).exitCode, 0);

    ToolRun subtree = reg(device, {"export", "HKCU", tavrel});
    EXPECT_EQ(subtree.exitCode, 0);
    EXPECT_EQ(subtree.out, "Windows Registry Editor Version 5.00\n"
                           "\n"
                           "[HKEY_CURRENT_USER\\Software\\Orvix\\Tavrel]\n"
                           "\"Transparency01\"=dword:00000032\n"
                           "\"CurrentCalendar\"=\"<Personal> \\\"quoted\\\" C:\\\\x\"\n"
                           "\"\\\\Colors\\\\Busy\"=dword:00cc88ff\n"
                           "\n"
                           "[HKEY_CURRENT_USER\\Software\\Orvix\\Tavrel\\Remote]\n"
                           "@=hex:de,ad,01\n"
                           "\n");

    ToolRun everything = reg(device, {"export"});
    EXPECT_EQ(everything.exitCode, 0);
    EXPECT_EQ(everything.out.rfind("Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER]\n\n"
                                   "[HKEY_CURRENT_USER\\Software]\n", 0), 0u) << everything.out;
    EXPECT_NE(everything.out.find(subtree.out.substr(subtree.out.find('['))), std::string::npos);
    EXPECT_NE(everything.out.find("[HKEY_LOCAL_MACHINE\\Software\\Orvix\\QoLog]\n\"Tavrel\"=dword:00000001\n"),
              std::string::npos);
    EXPECT_EQ(reg(device, {"export", "HKLM"}).out.find("HKEY_CURRENT_USER"), std::string::npos);
}

// Runs tavrel-device reg import with FILE's text.
static ToolRun importText(const TempDevice& device, const std::string& text)
{
    const std::filesystem::path file = device.root() / "import.reg";
    std::ofstream(file, std::ios::binary) << text;
    return reg(device, {"import", file.string()});
}

TEST(RegCommand, ExportedTextImportsBackToTheSameValuesEvenWithLineBreaksAndQuotes)
{
    TempDevice device;
    const std::string key = tavrel + "\\Round trip";
    ASSERT_EQ(reg(device, {"set", "HKCU", key, "Two\nlines", "sz", "first\r\nsecond \"quoted\" C:\\x"}).exitCode, 0);
    ASSERT_EQ(reg(device, {"set", "HKCU", key, "a=b", "dword", "0xFFFFFFFF"}).exitCode, 0);
    ASSERT_EQ(reg(device, {"set", "HKCU", key, "", "binary", ""}).exitCode, 0);
    ASSERT_EQ(reg(device, {"set", "HKCU", key + "\\Child", "Blob", "binary", "00ff10"}).exitCode, 0);
    ToolRun exported = reg(device, {"export", "HKCU", key});
    ASSERT_EQ(exported.exitCode, 0) << exported.err;
    EXPECT_NE(exported.out.find("\"Two\\nlines\"=\"first\\r\\nsecond \\\"quoted\\\" C:\\\\x\"\n"), std::string::npos)
        << exported.out;
    for (char c : exported.out.substr(0, exported.out.size() - 1))
        EXPECT_NE(c, '\r') << "line breaks inside a value are escaped";

    TempDevice other;
    ToolRun imported = importText(other, exported.out);
    ASSERT_EQ(imported.exitCode, 0) << imported.err;
    EXPECT_EQ(imported.out, "imported 4 values from " + (other.root() / "import.reg").string() + "\n");
    EXPECT_EQ(reg(other, {"export", "HKCU", key}).out, exported.out);
    EXPECT_EQ(reg(other, {"get", "HKCU", key, "Two\nlines"}).out, "first\r\nsecond \"quoted\" C:\\x\n");

    // Deleting values and keys, comments, CRLF line ends, continued hex lists and types by number.
    ToolRun edits = importText(other, "REGEDIT4\r\n; a comment\r\n[HKEY_CURRENT_USER\\" + key + "]\r\n\"a=b\"=-\r\n"
                                      "\"List\"=hex(7):41,00,00,00,\\\r\n  42,00,00,00,00,00\r\n[-HKCU\\" + key + "\\Child]\r\n");
    ASSERT_EQ(edits.exitCode, 0) << edits.err;
    EXPECT_EQ(reg(other, {"get", "HKCU", key, "a=b"}).exitCode, 1);
    EXPECT_EQ(reg(other, {"list", "HKCU", key}).out, "");
    EXPECT_EQ(reg(other, {"get", "HKCU", key, "List"}).out, "A\nB\n") << "a multi-string prints its strings";
}

TEST(RegCommand, AFileWithAMistakeChangesNothingAndNamesItsLine)
{
    TempDevice device;
    const std::string header = "Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER\\Software\\Good]\n\"A\"=\"1\"\n";
    for (const auto& [text, line] : std::vector<std::pair<std::string, std::string>> {
             {"[HKCU\\Software\\X]\n", "line 1: a .reg file starts with"},
             {header + "\"B\"=dword:123456789\n", "line 5: dword: takes 1 to 8 hex digits"},
             {header + "\"C\"=\"open\n", "line 5: a quote is not closed"},
             {header + "\"D\"=\"\\t\"\n", "line 5: unknown escape \\t"},
             {header + "\"E\"=hex:1,2\n", "line 5: bytes are two hex digits each"},
             {header + "[HKEY_CLASSES_ROOT\\X]\n", "line 5: the key HKEY_CLASSES_ROOT\\X is not below"},
             {header + "[-HKEY_CURRENT_USER]\n", "line 5: a hive cannot be deleted"},
         }) {
        ToolRun run = importText(device, text);
        EXPECT_EQ(run.exitCode, 1) << text;
        EXPECT_NE(run.err.find(line), std::string::npos) << text << run.err;
        EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
        EXPECT_EQ(reg(device, {"list", "HKCU", "Software"}).out.find("Good"), std::string::npos) << "nothing was written";
    }
    EXPECT_EQ(reg(device, {"import", (device.root() / "missing.reg").string()}).exitCode, 1);
}

TEST(RegCommand, BadArgumentsNameTheWordThatIsWrong)
{
    TempDevice device;
    for (const auto& [args, named] : std::vector<std::pair<std::vector<std::string>, std::string>> {
             {{"get", "HKCU", "Software", "Value", "extra"}, "unexpected argument 'extra'"},
             {{"list", "HKXX", "Software"}, "'HKXX' is no hive"},
             {{"set", "HKCU", "Software", "V", "qword", "1"}, "not 'qword'"},
             {{"frob"}, "unknown subcommand 'frob'"},
         }) {
        ToolRun run = reg(device, args);
        EXPECT_EQ(run.exitCode, 2) << args.front();
        EXPECT_EQ(lineCount(run.err), 1) << run.err;
        EXPECT_NE(run.err.find(named), std::string::npos) << run.err;
    }
}

TEST(RegCommand, AKeyListingCannotBeMisreadWhateverTheNamesHold)
{
    TempDevice device;
    ASSERT_EQ(reg(device, {"set", "HKCU", tavrel, "a=b", "sz", "c"}).exitCode, 0);
    ASSERT_EQ(reg(device, {"set", "HKCU", tavrel, "a", "sz", "b=c"}).exitCode, 0);
    ASSERT_EQ(reg(device, {"set", "HKCU", tavrel, "Note", "sz", "one\ntwo"}).exitCode, 0);
    ASSERT_EQ(reg(device, {"set", "HKCU", tavrel, "\"q", "sz", "\"x\""}).exitCode, 0);
    ToolRun all = reg(device, {"get", "HKCU", tavrel});
    EXPECT_EQ(all.out, "\"a=b\"=sz:c\na=sz:b=c\nNote=sz:\"one\\ntwo\"\n\"\\\"q\"=sz:\"\\\"x\\\"\"\n");
}

TEST(RegCommand, TwoConcurrentLoopsOfSetsLoseNothing)
{
    TempDevice device;
    constexpr int perLoop = 40;
    std::vector<pid_t> loops;
    for (int loop = 0; loop < 2; ++loop) {
        pid_t pid = ::fork();
        if (pid == 0) {
            int failures = 0;
            for (int i = 0; i < perLoop; ++i) {
                std::string name = "L" + std::to_string(loop) + "-" + std::to_string(i);
                failures += reg(device, {"set", "HKCU", tavrel + "\\Race", name, "dword", std::to_string(i)}).exitCode != 0;
            }
            ::_exit(failures > 0 ? 1 : 0);
        }
        ASSERT_GT(pid, 0);
        loops.push_back(pid);
    }
    for (pid_t pid : loops) {
        int status = 0;
        ASSERT_EQ(::waitpid(pid, &status, 0), pid);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    ToolRun all = reg(device, {"get", "HKCU", tavrel + "\\Race"});
    EXPECT_EQ(all.exitCode, 0);
    EXPECT_EQ(lineCount(all.out), 2 * perLoop);
    EXPECT_NE(all.out.find("L1-39=dword:39\n"), std::string::npos);
}
