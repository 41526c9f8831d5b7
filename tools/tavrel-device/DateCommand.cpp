#include "DateCommand.h"

#include "platform/device/DateFormatter.h"
#include "platform/device/DateParser.h"
#include "platform/device/WideText.h"

#include <iostream>

namespace {

constexpr const char* kUsage = "usage: tavrel-device date parse TEXT\n";

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
    if (args.size() < 2 || args[0] != "parse") {
        err << kUsage;
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
        err << device::dateErrorName(error) << "\n";
        return 1;
    }
    out << device::toUtf8(written) << "\n";
    return 0;
}
