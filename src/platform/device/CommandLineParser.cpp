#include "platform/device/CommandLineParser.h"

#include <cstdio>

#ifndef TAVREL_VERSION
#    define TAVREL_VERSION "3.41"
#endif
#ifndef TAVREL_BUILD
#    define TAVREL_BUILD "unknown"
#endif

namespace device {

namespace {

bool isOption(const std::string& argument) { return argument.size() > 2 && argument.compare(0, 2, "--") == 0; }

// The arguments the conventions answer before any other: a request for help or the version wins
// over everything else on the line, even over a mistake elsewhere on it.
CommandLineParser::Request standardRequest(const std::vector<std::string>& arguments, bool stopAtFirstWord)
{
    for (const std::string& argument : arguments) {
        if (argument == "--")
            break;
        if (argument == "--help" || argument == "-h")
            return CommandLineParser::Request::Help;
        if (argument == "--version")
            return CommandLineParser::Request::Version;
        if (stopAtFirstWord && !isOption(argument))
            break;
    }
    return CommandLineParser::Request::Run;
}

} // namespace

CommandLineParser::CommandLineParser(std::string programName) : m_programName(std::move(programName)) {}

CommandLineParser& CommandLineParser::flag(const std::string& name, bool* target)
{
    m_options.push_back({name, Kind::Flag, target, nullptr, nullptr});
    return *this;
}

CommandLineParser& CommandLineParser::value(const std::string& name, std::optional<std::string>* target)
{
    m_options.push_back({name, Kind::Value, nullptr, target, nullptr});
    return *this;
}

CommandLineParser& CommandLineParser::repeatable(const std::string& name, std::vector<std::string>* target)
{
    m_options.push_back({name, Kind::Repeatable, nullptr, nullptr, target});
    return *this;
}

CommandLineParser& CommandLineParser::words(std::vector<std::string>* target, std::size_t most, WordFilter accept)
{
    m_words = target;
    m_mostWords = most;
    m_acceptWord = std::move(accept);
    return *this;
}

CommandLineParser& CommandLineParser::stopAtFirstWord()
{
    m_stopAtFirstWord = true;
    return *this;
}

const CommandLineParser::Option* CommandLineParser::find(const std::string& name) const
{
    for (const Option& option : m_options) {
        if (option.name == name)
            return &option;
    }
    return nullptr;
}

CommandLineParser::Outcome CommandLineParser::parse(const std::vector<std::string>& arguments) const
{
    Outcome outcome;
    outcome.request = standardRequest(arguments, m_stopAtFirstWord);
    if (outcome.request != Request::Run)
        return outcome;
    auto fail = [&](const std::string& why) {
        outcome.error = why + " (try --help)";
        return outcome;
    };

    std::vector<std::string> seen;
    std::size_t wordCount = 0;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (argument == "--" && !optionsEnded) {
            optionsEnded = true;
            continue;
        }
        if (optionsEnded || !isOption(argument)) {
            if (!m_words || wordCount == m_mostWords || (m_acceptWord && !m_acceptWord(argument)))
                return fail("unexpected argument '" + argument + "'");
            ++wordCount;
            m_words->push_back(argument);
            if (m_stopAtFirstWord) {
                m_words->insert(m_words->end(), arguments.begin() + std::ptrdiff_t(i) + 1, arguments.end());
                return outcome;
            }
            continue;
        }
        std::string name = argument;
        std::optional<std::string> value;
        if (const std::size_t equals = argument.find('='); equals != std::string::npos) {
            name = argument.substr(0, equals);
            value = argument.substr(equals + 1);
        }
        const Option* option = find(name);
        if (!option)
            return fail("unknown option " + name);
        if (option->kind == Kind::Flag) {
            if (value)
                return fail(name + " takes no value");
            *option->flag = true;
            continue;
        }
        if (!value) {
            if (i + 1 >= arguments.size())
                return fail(name + " needs a value");
            value = arguments[++i];
        }
        if (value->empty())
            return fail(name + " needs a value");
        if (option->kind == Kind::Repeatable) {
            option->values->push_back(*value);
            continue;
        }
        for (const std::string& earlier : seen) {
            if (earlier == name)
                return fail(name + " is given twice");
        }
        seen.push_back(name);
        *option->value = *value;
    }
    return outcome;
}

std::string CommandLineParser::versionText() { return "Tavrel " TAVREL_VERSION " (build " TAVREL_BUILD ")"; }

bool CommandLineParser::asksForHelp(const std::vector<std::string>& arguments)
{
    if (!arguments.empty() && (arguments.front() == "-h" || arguments.front() == "help"))
        return true;
    for (const std::string& argument : arguments) {
        if (argument == "--help")
            return true;
    }
    return false;
}

std::optional<int> CommandLineParser::answer(const Outcome& outcome, const char* usage) const
{
    if (outcome.failed()) {
        std::fprintf(stderr, "%s: %s\n", m_programName.c_str(), outcome.error.c_str());
        return BadArgumentsExitCode;
    }
    if (outcome.request == Request::Help) {
        std::fputs(usage, stdout);
        return 0;
    }
    if (outcome.request == Request::Version) {
        std::printf("%s\n", versionText().c_str());
        return 0;
    }
    return std::nullopt;
}

} // namespace device
