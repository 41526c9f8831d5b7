#pragma once
// The command-line conventions every program of the device shares, in one place:
//
//   - options are "--name VALUE" or "--name=VALUE"; a flag takes no value; after "--" every
//     argument is a word, even one that starts with "--";
//   - "--help" (or "-h") and "--version" are answered before anything else is looked at, so asking
//     for help never creates a device folder or opens a window;
//   - an unknown option, a missing or empty value, an option given twice and a word the program does
//     not take are each a one-line error that names the culprit; the program exits with
//     BadArgumentsExitCode.
//
// A program declares what it takes, then parses:
//
//   device::CommandLineParser parser("tavrel-reminder");
//   parser.value("--device", &device).flag("--headless", &headless).words(&words, 1);
//   device::CommandLineParser::Outcome outcome = parser.parse(arguments);

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace device {

class CommandLineParser {
public:
    static constexpr int BadArgumentsExitCode = 2;

    enum class Request { Run, Help, Version };
    struct Outcome {
        Request request = Request::Run;
        // Empty unless the arguments were not understood: then one line, without the program name.
        std::string error;
        bool failed() const { return !error.empty(); }
    };

    // Whether a word that is no option belongs on the command line.
    using WordFilter = std::function<bool(const std::string&)>;

    explicit CommandLineParser(std::string programName);

    CommandLineParser& flag(const std::string& name, bool* target);
    CommandLineParser& value(const std::string& name, std::optional<std::string>* target);
    // An option that may be given more than once; each value is kept in order.
    CommandLineParser& repeatable(const std::string& name, std::vector<std::string>* target);
    // Words that are no option, up to `most` of them, and only those `accept` takes (all when it is
    // empty). Without this call any such word is an error.
    CommandLineParser& words(std::vector<std::string>* target, std::size_t most = SIZE_MAX, WordFilter accept = {});
    // After the first word, every further argument is a word, even one that starts with "--" (the
    // subcommand's own arguments).
    CommandLineParser& stopAtFirstWord();

    Outcome parse(const std::vector<std::string>& arguments) const;

    // The line a program prints for --version: "Tavrel 3.41" and the build it comes from.
    static std::string versionText();
    // Whether a command's arguments ask for its usage: "--help" anywhere, or "-h" or "help" first.
    static bool asksForHelp(const std::vector<std::string>& arguments);

    // Prints the usage for Help or the version for Version on standard output, or the error line
    // ("PROGRAM: ERROR") on standard error; the exit code to end with, or nothing when the program
    // is to run.
    std::optional<int> answer(const Outcome& outcome, const char* usage) const;

private:
    enum class Kind { Flag, Value, Repeatable };
    struct Option {
        std::string name;
        Kind kind;
        bool* flag = nullptr;
        std::optional<std::string>* value = nullptr;
        std::vector<std::string>* values = nullptr;
    };

    const Option* find(const std::string& name) const;

    std::string m_programName;
    std::vector<Option> m_options;
    std::vector<std::string>* m_words = nullptr;
    std::size_t m_mostWords = 0;
    WordFilter m_acceptWord;
    bool m_stopAtFirstWord = false;
};

} // namespace device
