#include "shell/TavrelCommandLine.h"

#include <gtest/gtest.h>

namespace {

std::optional<CTavrelCommandLine> Parse(std::vector<std::string> arguments, std::string* error = nullptr)
{
    std::string ignored;
    return CTavrelCommandLine::Parse(arguments, error ? error : &ignored);
}

TEST(TavrelCommandLineTest, OptionsTakeTheirValueAsTheNextWordOrAfterAnEqualsSign)
{
    std::optional<CTavrelCommandLine> line = Parse({"--device", "/tmp/d", "--headless", "--snapshot=/tmp/s.png",
                                                    "--script", "s.txt", "--zoom", "3", "--control-port=0",
                                                    "--notify-port", "40000", "TavrelControl", "/x"});
    ASSERT_TRUE(line);
    EXPECT_EQ(line->device, "/tmp/d");
    EXPECT_TRUE(line->headless);
    EXPECT_EQ(line->snapshot, "/tmp/s.png");
    EXPECT_EQ(line->script, "s.txt");
    EXPECT_EQ(line->zoom, 3);
    EXPECT_EQ(line->controlPort, 0);
    EXPECT_EQ(line->notifyPort, 40000);
    ASSERT_EQ(line->parameters.size(), 2u);
    EXPECT_EQ(line->parameters[0], CQoString(u"TavrelControl"));
    EXPECT_EQ(line->parameters[1], CQoString(u"/x"));
    EXPECT_FALSE(line->help);

    std::optional<CTavrelCommandLine> defaults = Parse({});
    ASSERT_TRUE(defaults);
    EXPECT_FALSE(defaults->headless);
    EXPECT_EQ(defaults->zoom, 2);
    EXPECT_EQ(defaults->controlPort, 22137);
    EXPECT_EQ(defaults->notifyPort, 22138);
    EXPECT_TRUE(Parse({"-h"})->help);
}

TEST(TavrelCommandLineTest, BadArgumentsAreRefusedWithAOneLineReason)
{
    for (const std::vector<std::string>& arguments :
         std::vector<std::vector<std::string>>{{"--bogus"}, {"--device"}, {"--snapshot="}, {"--zoom", "0"}, {"--zoom", "9"},
                                               {"--zoom", "2x"}, {"--control-port", "65536"}, {"--notify-port", "0"},
                                               {"--notify-port", "-5"}, {"--headless=yes"}}) {
        std::string error;
        EXPECT_FALSE(Parse(arguments, &error)) << arguments[0];
        EXPECT_FALSE(error.empty());
        EXPECT_EQ(error.find('\n'), std::string::npos) << error;
    }
}

} // namespace
