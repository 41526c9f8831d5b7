#include "platform/device/CommandLineParser.h"

#include <gtest/gtest.h>

namespace device {
namespace {

struct Line {
    std::optional<std::string> device;
    bool headless = false;
    std::vector<std::string> recipients;
    std::vector<std::string> words;
};

CommandLineParser::Outcome Parse(Line& line, const std::vector<std::string>& arguments, std::size_t mostWords = SIZE_MAX,
                                 bool stopAtFirstWord = false)
{
    CommandLineParser parser("test");
    parser.value("--device", &line.device)
        .flag("--headless", &line.headless)
        .repeatable("--recipient", &line.recipients)
        .words(&line.words, mostWords, [](const std::string& word) { return word != "Forbidden"; });
    if (stopAtFirstWord)
        parser.stopAtFirstWord();
    return parser.parse(arguments);
}

TEST(CommandLineParser, ReadsValuesBothWaysFlagsRepeatsAndWords)
{
    Line line;
    CommandLineParser::Outcome outcome
        = Parse(line, {"--device", "/d", "one", "--headless", "--recipient=Ann", "--recipient", "Bob", "--", "--two"});
    ASSERT_FALSE(outcome.failed()) << outcome.error;
    EXPECT_EQ(outcome.request, CommandLineParser::Request::Run);
    EXPECT_EQ(line.device, "/d");
    EXPECT_TRUE(line.headless);
    EXPECT_EQ(line.recipients, (std::vector<std::string> {"Ann", "Bob"}));
    EXPECT_EQ(line.words, (std::vector<std::string> {"one", "--two"}));

    // After the first word everything is the subcommand's, options included.
    Line sub;
    ASSERT_FALSE(Parse(sub, {"--device=/d", "pim", "list", "--from", "x"}, SIZE_MAX, true).failed());
    EXPECT_EQ(sub.words, (std::vector<std::string> {"pim", "list", "--from", "x"}));
}

TEST(CommandLineParser, HelpAndVersionWinOverEverythingElseOnTheLine)
{
    Line line;
    EXPECT_EQ(Parse(line, {"--bogus", "-h"}).request, CommandLineParser::Request::Help);
    EXPECT_EQ(Parse(line, {"Forbidden", "--version"}).request, CommandLineParser::Request::Version);
    // ...but not a word after "--", nor a subcommand's own.
    EXPECT_EQ(Parse(line, {"--", "--help"}).request, CommandLineParser::Request::Run);
    Line sub;
    EXPECT_EQ(Parse(sub, {"pim", "--help"}, SIZE_MAX, true).request, CommandLineParser::Request::Run);
    EXPECT_EQ(CommandLineParser::versionText().rfind("Tavrel 3.41 (build ", 0), 0u);
}

TEST(CommandLineParser, EachMistakeIsOneLineThatNamesIt)
{
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{"--colour"}, "unknown option --colour (try --help)"},
        {{"--colour=red"}, "unknown option --colour (try --help)"},
        {{"--device"}, "--device needs a value (try --help)"},
        {{"--device="}, "--device needs a value (try --help)"},
        {{"--device", "a", "--device", "b"}, "--device is given twice (try --help)"},
        {{"--headless=yes"}, "--headless takes no value (try --help)"},
        {{"Forbidden"}, "unexpected argument 'Forbidden' (try --help)"},
        {{"one", "two"}, "unexpected argument 'two' (try --help)"},
    };
    for (const auto& [arguments, error] : cases) {
        Line line;
        CommandLineParser::Outcome outcome = Parse(line, arguments, 1);
        EXPECT_EQ(outcome.error, error) << arguments.front();
    }
}

} // namespace
} // namespace device
