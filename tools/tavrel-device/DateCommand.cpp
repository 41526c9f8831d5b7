#include "DateCommand.h"

#include "platform/device/DateFormatter.h"
#include "platform/device/DateParser.h"
#include "platform/device/WideText.h"

#include <iostream>

namespace {

constexpr const char* kUsage = "usage: tavrel-device date parse TEXT\n"
                               "Reads TEXT as the device does (12/8/2026, Dec 8, 2026 3:45 PM, 2026-12-08 15:45) and\n"
                               "writes it back in the device's form.\n";

// What a person is told when the device cannot take the text: what it tried, and the device's own
// name for the failure.
std::string failureText(const std::string& text, device::DateError error)
{
    if (error == device::DateError::Overflow)
        return "'" + text + "' is outside the years 100 to 9999 (" + std::string(device::dateErrorName(error)) + ")";
    return "cannot read '" + text + "' as a date or time (" + std::string(device::dateErrorName(error)) + ")";
}

} // namespace

const char* dateCommandUsage() { return kUsage; }

int runDateCommand(const std::vector<std::string>& args)
{
    return runDateCommand(args, std::cout, std::cerr);
}

int runDateCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h" || args[0] == "help")) {
        out << kUsage;
        return 0;
    }
    if (args.empty()) {
        err << "tavrel-device date: no subcommand given (try --help)\n";
        return 2;
    }
    if (args[0] != "parse") {
        err << "tavrel-device date: unknown subcommand '" << args[0] << "' (try --help)\n";
        return 2;
    }
    if (args.size() < 2) {
        err << "tavrel-device date parse: no TEXT given (try --help)\n";
        return 2;
    }
    std::string text = args[1];
    for (std::size_t i = 2; i < args.size(); ++i)
        text += " " + args[i];

    double date = 0;
    device::DateError error = device::varDateFromStr(device::fromUtf8(text), 0, date);
    device::WideString written;
    if (error == device::DateError::None)
        error = device::varBstrFromDate(date, 0, written);
    if (error != device::DateError::None) {
        err << "tavrel-device date parse: " << failureText(text, error) << "\n";
        return 1;
    }
    out << device::toUtf8(written) << "\n";
    return 0;
}
