// The command lines of every program, run as a person would type them: --help and --version answer
// and create nothing, mistakes are one line that names them (exit 2), an empty device name is an
// error rather than the user's own device, and a bad TAVREL_CLOCK is reported the same way by all.

#include "BackgroundProgram.h"
#include "TempDevice.h"
#include "ToolRunner.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>

namespace {

using testing_support::BackgroundProgram;
using testing_support::runProgram;
using testing_support::ToolRun;
using namespace std::chrono_literals;

struct Program {
    const char* name;
    std::vector<std::string> beforeArguments; // what the program needs before the words under test
};

// Every program and every subcommand of the device tool.
const std::vector<Program> programs = {
    {"tavrel", {}},
    {"tavrel-reminder", {}},
    {"qolog-config", {}},
    {"tavrelctl", {}},
    {"tavrel-device", {}},
    {"tavrel-device", {"init"}},
    {"tavrel-device", {"reg"}},
    {"tavrel-device", {"date", "parse"}},
    {"tavrel-device", {"pim"}},
    {"tavrel-device", {"pim", "list"}},
    {"tavrel-device", {"install"}},
    {"tavrel-device", {"uninstall"}},
    {"tavrel-device", {"identity"}},
    {"tavrel-device", {"reminder"}},
    {"tavrel-device", {"scheduler"}},
    {"tavrel-device", {"ui-gallery"}},
};

std::string Described(const Program& program, const std::vector<std::string>& words)
{
    std::string text = program.name;
    for (const std::string& word : program.beforeArguments)
        text += " " + word;
    for (const std::string& word : words)
        text += " " + word;
    return text;
}

class CommandLineTest : public ::testing::Test {
protected:
    // The programs' default device would be below this home; nothing may appear there.
    std::vector<std::string> Environment() const
    {
        return {"HOME=" + home.string(), "XDG_DATA_HOME=" + (home / "data").string(), "TAVREL_DEVICE=" + device.root().string()};
    }

    ToolRun Run(const Program& program, const std::vector<std::string>& words, std::vector<std::string> environment = {})
    {
        std::vector<std::string> args = program.beforeArguments;
        args.insert(args.end(), words.begin(), words.end());
        std::vector<std::string> all = Environment();
        all.insert(all.end(), environment.begin(), environment.end());
        return runProgram(program.name, args, all);
    }

    void SetUp() override { std::filesystem::create_directories(home); }
    void TearDown() override { std::filesystem::remove_all(home); }

    testing_support::TempDevice device;
    std::filesystem::path home = device.root().parent_path() / (device.root().filename().string() + "-home");
};

TEST_F(CommandLineTest, EveryProgramAndSubcommandAnswersHelpWithoutCreatingADevice)
{
    const std::filesystem::path fresh = device.root() / "not-yet";
    for (const Program& program : programs) {
        ToolRun help = Run(program, {"--help"}, {"TAVREL_DEVICE=" + fresh.string()});
        EXPECT_EQ(help.exitCode, 0) << Described(program, {"--help"}) << help.err;
        EXPECT_EQ(help.out.rfind("usage: ", 0), 0u) << Described(program, {"--help"}) << help.out;
        EXPECT_EQ(help.err, "") << Described(program, {"--help"});
        EXPECT_FALSE(std::filesystem::exists(fresh)) << Described(program, {"--help"}) << " created the device";
    }
    EXPECT_TRUE(std::filesystem::is_empty(home));
}

TEST_F(CommandLineTest, VersionNamesTheReleaseAndTheBuild)
{
    for (const char* name : {"tavrel", "tavrel-reminder", "qolog-config", "tavrelctl", "tavrel-device"}) {
        ToolRun version = runProgram(name, {"--version"}, Environment());
        EXPECT_EQ(version.exitCode, 0) << name << version.err;
        EXPECT_EQ(version.out.rfind("Tavrel 3.41 (build ", 0), 0u) << name << ": " << version.out;
        EXPECT_EQ(std::count(version.out.begin(), version.out.end(), '\n'), 1) << version.out;
    }
}

TEST_F(CommandLineTest, UnknownOptionsAndStrayWordsAreOneLineErrorsThatNameThem)
{
    struct Mistake {
        Program program;
        std::vector<std::string> words;
        const char* culprit;
    };
    const Mistake mistakes[] = {
        {{"tavrel", {}}, {"--headless", "Foo", "Bar"}, "'Foo'"},
        {{"tavrel", {}}, {"--frobnicate"}, "--frobnicate"},
        {{"tavrel-reminder", {}}, {"Foo"}, "'Foo'"},
        {{"qolog-config", {}}, {"--frobnicate"}, "--frobnicate"},
        {{"tavrelctl", {}}, {"--frobnicate", "listen"}, "--frobnicate"},
        {{"tavrel-device", {}}, {"--frobnicate", "init"}, "--frobnicate"},
        {{"tavrel-device", {}}, {"init", "Foo"}, "'Foo'"},
        {{"tavrel-device", {}}, {"pim", "list", "--frobnicate"}, "--frobnicate"},
        {{"tavrel-device", {}}, {"pim", "list", "Foo"}, "'Foo'"},
        {{"tavrel-device", {}}, {"date", "Foo"}, "'Foo'"},
        {{"tavrel-device", {}}, {"reg", "Foo"}, "'Foo'"},
    };
    for (const Mistake& mistake : mistakes) {
        const std::string line = Described(mistake.program, mistake.words);
        ToolRun run = Run(mistake.program, mistake.words);
        EXPECT_EQ(run.exitCode, 2) << line << run.err;
        EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << line << run.err;
        EXPECT_NE(run.err.find(mistake.culprit), std::string::npos) << line << ": " << run.err;
        EXPECT_EQ(run.out, "") << line;
    }
    EXPECT_TRUE(std::filesystem::is_empty(home));
}

TEST_F(CommandLineTest, AnEmptyDeviceNameIsAnErrorInEveryProgram)
{
    for (const char* name : {"tavrel", "tavrel-reminder", "qolog-config", "tavrel-device"}) {
        const std::vector<std::string> command = std::string(name) == "tavrel-device" ? std::vector<std::string> {"init"}
                                                 : std::string(name) == "qolog-config"
                                                     ? std::vector<std::string> {"--headless", "--script", "/dev/null"}
                                                     : std::vector<std::string> {"--headless"};
        std::vector<std::string> explicitEmpty = {"--device="};
        explicitEmpty.insert(explicitEmpty.end(), command.begin(), command.end());
        ToolRun run = runProgram(name, explicitEmpty, Environment());
        EXPECT_NE(run.exitCode, 0) << name;
        EXPECT_NE(run.err.find("--device needs"), std::string::npos) << name << ": " << run.err;

        std::vector<std::string> environment = Environment();
        environment.back() = "TAVREL_DEVICE=";
        ToolRun fromEnvironment = runProgram(name, command, environment);
        EXPECT_EQ(fromEnvironment.exitCode, 1) << name << fromEnvironment.err;
        EXPECT_NE(fromEnvironment.err.find("TAVREL_DEVICE is set but empty"), std::string::npos)
            << name << ": " << fromEnvironment.err;

        // A device that cannot be a folder: a file stands in its place.
        const std::filesystem::path file = device.root() / "a-file";
        std::ofstream(file) << "x";
        environment.back() = "TAVREL_DEVICE=" + file.string();
        ToolRun unusable = runProgram(name, command, environment);
        EXPECT_EQ(unusable.exitCode, 1) << name;
        EXPECT_NE(unusable.err.find(file.string()), std::string::npos) << name << ": " << unusable.err;
    }
    EXPECT_TRUE(std::filesystem::is_empty(home)) << "nothing reached the default device";
}

TEST_F(CommandLineTest, ABadClockSettingIsReportedByEveryProgramInTheSameWords)
{
    for (const auto& [name, args] : std::vector<std::pair<std::string, std::vector<std::string>>> {
             {"tavrel-device", {"init"}},
             {"tavrel-device", {"date", "parse", "12/8/2026"}},
             {"tavrel-reminder", {"--headless"}},
             {"tavrel", {"--headless", "--snapshot", (device.root() / "shot.png").string()}}}) {
        ToolRun run = runProgram(name, args, {"TAVREL_DEVICE=" + device.root().string(), "TAVREL_CLOCK=yesterday"});
        EXPECT_EQ(run.exitCode, 0) << name << run.err;
        EXPECT_NE(run.err.find(name + ": ignoring TAVREL_CLOCK=\"yesterday\" (expected YYYY-MM-DDTHH:MM:SS); using the host "
                                      "clock\n"),
                  std::string::npos)
            << name << ": " << run.err;
    }
}

TEST_F(CommandLineTest, TheCalendarWithoutADisplayAndWithoutHeadlessEndsWithOneLine)
{
    BackgroundProgram run("tavrel", {}, {"TAVREL_DEVICE=" + device.root().string(), "DISPLAY=", "WAYLAND_DISPLAY=",
                                         "SDL_VIDEODRIVER="});
    ASSERT_TRUE(run.started());
    const std::optional<int> exitCode = run.waitFor(20s);
    ASSERT_TRUE(exitCode) << "it is still running: " << run.err();
    EXPECT_EQ(*exitCode, 1);
    const std::string err = run.err();
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
    EXPECT_EQ(err.rfind("tavrel: no display", 0), 0u) << err;
    EXPECT_NE(err.find("--headless"), std::string::npos) << err;
}

} // namespace
