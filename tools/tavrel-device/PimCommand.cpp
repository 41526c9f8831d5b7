#include "PimCommand.h"

#include "IcalHelper.h"

#include "platform/device/DateParser.h"
#include "platform/device/OleDateTime.h"
#include "platform/device/WideText.h"
#include "platform/pim/Application.h"

#include <cstdint>
#include <iostream>
#include <map>
#include <optional>

namespace {

using device::OleDateTime;

constexpr const char* kUsage =
    "usage: tavrel-device pim add --subject S --start DATE --end DATE [--all-day] [--location L]\n"
    "                             [--categories \"A, B\"] [--recipient NAME]...\n"
    "                             [--recur daily|weekly|monthly|yearly [--interval N] [--until DATE | --count N]]\n"
    "       tavrel-device pim list [--from DATE --to DATE]\n"
    "       tavrel-device pim show OID\n"
    "       tavrel-device pim delete OID\n"
    "       tavrel-device pim import [--from DATE --to DATE] FILE.ics|-\n"
    "       tavrel-device pim export [--from DATE --to DATE] [FILE]\n";

// Exit codes.
constexpr int kDone = 0;
constexpr int kFailed = 1;
constexpr int kBadArguments = 2;

struct BadArguments {
    std::string message;
};

// The options of one subcommand: each named once, except those that may repeat.
class Options {
public:
    Options(const std::vector<std::string>& args, std::size_t first, const std::vector<std::string>& withValue,
            const std::vector<std::string>& flags, const std::vector<std::string>& repeatable)
    {
        for (std::size_t i = first; i < args.size(); ++i) {
            std::string name = args[i];
            std::optional<std::string> value;
            if (name.rfind("--", 0) != 0)
                throw BadArguments {"unexpected argument '" + name + "'"};
            if (const std::size_t equals = name.find('='); equals != std::string::npos) {
                value = name.substr(equals + 1);
                name.resize(equals);
            }
            const bool takesValue = contains(withValue, name) || contains(repeatable, name);
            if (!takesValue && !contains(flags, name))
                throw BadArguments {"unknown option '" + name + "'"};
            if (takesValue && !value) {
                if (i + 1 >= args.size())
                    throw BadArguments {name + " needs a value"};
                value = args[++i];
            }
            if (!takesValue && value)
                throw BadArguments {name + " takes no value"};
            if (m_values.count(name) && !contains(repeatable, name))
                throw BadArguments {name + " is given twice"};
            m_values[name].push_back(value.value_or(""));
        }
    }

    bool has(const std::string& name) const { return m_values.count(name) != 0; }
    std::string value(const std::string& name) const { return has(name) ? m_values.at(name).front() : std::string(); }
    std::vector<std::string> values(const std::string& name) const
    {
        return has(name) ? m_values.at(name) : std::vector<std::string>();
    }

private:
    static bool contains(const std::vector<std::string>& list, const std::string& name)
    {
        for (const std::string& entry : list) {
            if (entry == name)
                return true;
        }
        return false;
    }

    std::map<std::string, std::vector<std::string>> m_values;
};

OleDateTime parseDate(const std::string& option, const std::string& text, bool* hasTime = nullptr)
{
    const device::WideString wide = device::fromUtf8(text);
    device::DateParser::Result parts;
    OleDateTime date;
    if (device::DateParser::parse(wide, parts) != device::DateError::None || !date.ParseDateTime(wide))
        throw BadArguments {option + ": '" + text + "' is not a date the device reads"};
    if (hasTime)
        *hasTime = parts.hasTime;
    return date;
}

int parseNumber(const std::string& option, const std::string& text, int low, int high)
{
    if (text.empty() || text.size() > 9 || text.find_first_not_of("0123456789") != std::string::npos)
        throw BadArguments {option + " needs a number from " + std::to_string(low) + " to " + std::to_string(high)};
    const int number = std::stoi(text);
    if (number < low || number > high)
        throw BadArguments {option + " needs a number from " + std::to_string(low) + " to " + std::to_string(high)};
    return number;
}

std::uint32_t parseOid(const std::vector<std::string>& args, const char* command)
{
    if (args.size() != 2)
        throw BadArguments {std::string(command) + " takes one object identifier"};
    const std::string& text = args[1];
    if (text.empty() || text.size() > 10 || text.find_first_not_of("0123456789") != std::string::npos ||
        std::stoull(text) > 0xFFFFFFFFull)
        throw BadArguments {"'" + text + "' is not an object identifier (a number from 1 to 4294967294)"};
    return std::uint32_t(std::stoull(text));
}

// A text on one line of the listing: tabs and line breaks would split its columns.
std::string oneLine(device::WideView text)
{
    std::string line = device::toUtf8(text);
    for (char& c : line) {
        if (c == '\t' || c == '\n' || c == '\r')
            c = ' ';
    }
    return line;
}

std::string joinedRecipients(const pim::Recipients& recipients)
{
    std::string joined;
    for (const device::WideString& name : recipients.names()) {
        if (!joined.empty())
            joined += ", ";
        joined += oneLine(name);
    }
    return joined;
}

std::string dateText(const OleDateTime& date) { return device::toUtf8(date.Format()); }

const char* yesNo(bool value) { return value ? "True" : "False"; }

class PimCommand {
public:
    PimCommand(std::ostream& out, std::ostream& err) : m_out(out), m_err(err) {}

    int run(const std::vector<std::string>& args)
    {
        if (args.empty()) {
            m_err << "tavrel-device pim: a subcommand is needed (add, list, show, delete, import, export)\n";
            return kBadArguments;
        }
        const std::string& command = args[0];
        if (command == "--help" || command == "-h" || command == "help") {
            m_out << kUsage;
            return kDone;
        }
        if (command == "import" || command == "export")
            return runIcalHelper(args, m_err);
        try {
            if (command == "add")
                return add(Options(args, 1, {"--subject", "--start", "--end", "--location", "--categories", "--recur",
                                             "--interval", "--until", "--count"},
                                   {"--all-day"}, {"--recipient"}));
            if (command == "list")
                return list(Options(args, 1, {"--from", "--to"}, {}, {}));
            if (command == "show")
                return show(parseOid(args, "show"));
            if (command == "delete")
                return remove(parseOid(args, "delete"));
            throw BadArguments {"unknown subcommand '" + command + "' (add, list, show, delete, import, export)"};
        } catch (const BadArguments& bad) {
            m_err << "tavrel-device pim: " << bad.message << "\n";
            return kBadArguments;
        }
    }

private:
    int failure(const std::string& message)
    {
        m_err << "tavrel-device pim: " << message << "\n";
        return kFailed;
    }

    int storeFailure(pim::Error error) { return failure(std::string(pim::errorText(error))); }

    bool open()
    {
        pim::Error error = pim::Error::None;
        m_app = pim::Application::create(&error);
        if (m_app && m_app->logon(&error))
            return true;
        storeFailure(error);
        return false;
    }

    int add(const Options& options)
    {
        for (const char* required : {"--subject", "--start", "--end"}) {
            if (!options.has(required))
                throw BadArguments {std::string("add needs ") + required};
        }
        OleDateTime start = parseDate("--start", options.value("--start"));
        OleDateTime end = parseDate("--end", options.value("--end"));
        if (options.has("--all-day")) {
            // An all-day appointment runs from midnight of its first day to midnight of its last,
            // as the appointment editor stores it: the times given are dropped.
            start = OleDateTime(start.GetYear(), start.GetMonth(), start.GetDay(), 0, 0, 0);
            end = OleDateTime(end.GetYear(), end.GetMonth(), end.GetDay(), 0, 0, 0);
        }
        if (end < start)
            throw BadArguments {"--end lies before --start"};
        const bool recurs = options.has("--recur");
        if (!recurs && (options.has("--interval") || options.has("--until") || options.has("--count")))
            throw BadArguments {"--interval, --until and --count need --recur"};
        if (options.has("--until") && options.has("--count"))
            throw BadArguments {"--until and --count exclude each other"};
        int type = pim::olRecursDaily;
        if (recurs) {
            const std::string kind = options.value("--recur");
            if (kind == "daily")
                type = pim::olRecursDaily;
            else if (kind == "weekly")
                type = pim::olRecursWeekly;
            else if (kind == "monthly")
                type = pim::olRecursMonthly;
            else if (kind == "yearly")
                type = pim::olRecursYearly;
            else
                throw BadArguments {"--recur is daily, weekly, monthly or yearly"};
        }
        const int interval = options.has("--interval") ? parseNumber("--interval", options.value("--interval"), 1, 999) : 1;
        const int count = options.has("--count") ? parseNumber("--count", options.value("--count"), 1, 999'999) : 0;
        OleDateTime until;
        if (options.has("--until")) {
            until = parseDate("--until", options.value("--until"));
            if (until < OleDateTime(start.GetYear(), start.GetMonth(), start.GetDay(), 0, 0, 0))
                throw BadArguments {"--until lies before --start"};
        }
        for (const std::string& name : options.values("--recipient")) {
            if (name.empty())
                throw BadArguments {"--recipient needs a name"};
        }

        if (!open())
            return kFailed;
        std::unique_ptr<pim::Appointment> item = m_app->createItem(pim::olAppointmentItem);
        item->setSubject(device::fromUtf8(options.value("--subject")));
        item->setLocation(device::fromUtf8(options.value("--location")));
        item->setCategories(device::fromUtf8(options.value("--categories")));
        if (!item->setStart(start) || !item->setEnd(end))
            throw BadArguments {"the dates are out of range"};
        item->setAllDayEvent(options.has("--all-day"));
        for (const std::string& name : options.values("--recipient"))
            item->recipients().add(device::fromUtf8(name));
        if (recurs) {
            pim::RecurrencePattern& pattern = item->getRecurrencePattern();
            pattern.setRecurrenceType(type);
            pattern.setInterval(interval);
            if (type == pim::olRecursWeekly)
                pattern.setDayOfWeekMask(1 << (start.GetDayOfWeek() - 1));
            if (type == pim::olRecursMonthly || type == pim::olRecursYearly)
                pattern.setDayOfMonth(start.GetDay());
            if (type == pim::olRecursYearly)
                pattern.setMonthOfYear(start.GetMonth());
            if (count > 0)
                pattern.setOccurrences(count);
            else if (options.has("--until"))
                pattern.setPatternEndDate(until);
            else
                pattern.setNoEndDate(true);
        }
        pim::Error error = pim::Error::None;
        if (!item->save(&error))
            return storeFailure(error);
        m_out << item->oid() << "\n";
        return kDone;
    }

    int list(const Options& options)
    {
        if (options.has("--from") != options.has("--to"))
            throw BadArguments {"--from and --to go together"};
        std::u16string restriction;
        const bool period = options.has("--from");
        if (period) {
            const OleDateTime from = parseDate("--from", options.value("--from"));
            bool toHasTime = false;
            OleDateTime to = parseDate("--to", options.value("--to"), &toHasTime);
            if (!toHasTime)
                to = OleDateTime(to.GetYear(), to.GetMonth(), to.GetDay(), 23, 59, 59);
            if (to < from)
                throw BadArguments {"--to lies before --from"};
            // The calendar's own query.
            restriction = u"[End] >= \"" + from.Format() + u"\" AND [Start] <= \"" + to.Format() + u"\"";
        }
        if (!open())
            return kFailed;
        std::unique_ptr<pim::Items> items = m_app->getDefaultFolder(pim::olFolderCalendar)->items();
        items->setIncludeRecurrences(period);
        pim::Error error = pim::Error::None;
        for (auto item = items->find(restriction, &error); item; item = items->findNext(&error)) {
            m_out << item->oid() << '\t' << dateText(item->start()) << '\t' << dateText(item->end()) << '\t'
                  << oneLine(item->subject()) << '\t' << oneLine(item->categories()) << '\t'
                  << joinedRecipients(item->recipients()) << '\n';
        }
        if (error != pim::Error::None)
            return storeFailure(error);
        return kDone;
    }

    std::unique_ptr<pim::Appointment> fetch(std::uint32_t oid, int& exitCode)
    {
        exitCode = kFailed;
        if (!open())
            return nullptr;
        pim::Error error = pim::Error::None;
        std::unique_ptr<pim::Appointment> item = m_app->getItemFromOid(oid, &error);
        if (!item) {
            if (error == pim::Error::NotFound || error == pim::Error::InvalidArgument)
                failure("no appointment has the identifier " + std::to_string(oid));
            else
                storeFailure(error);
        }
        return item;
    }

    int show(std::uint32_t oid)
    {
        int exitCode = kFailed;
        std::unique_ptr<pim::Appointment> item = fetch(oid, exitCode);
        if (!item)
            return exitCode;
        m_out << "Oid: " << item->oid() << "\n"
              << "Subject: " << oneLine(item->subject()) << "\n"
              << "Location: " << oneLine(item->location()) << "\n"
              << "Categories: " << oneLine(item->categories()) << "\n"
              << "Start: " << dateText(item->start()) << "\n"
              << "End: " << dateText(item->end()) << "\n"
              << "AllDayEvent: " << yesNo(item->allDayEvent()) << "\n"
              << "Recipients: " << joinedRecipients(item->recipients()) << "\n"
              << "IsRecurring: " << yesNo(item->isRecurring()) << "\n";
        if (const pim::RecurrencePattern* pattern = item->recurrencePattern()) {
            m_out << "RecurrenceType: " << pattern->recurrenceType() << "\n"
                  << "Interval: " << pattern->interval() << "\n"
                  << "DayOfWeekMask: " << pattern->dayOfWeekMask() << "\n"
                  << "DayOfMonth: " << pattern->dayOfMonth() << "\n"
                  << "Instance: " << pattern->instance() << "\n"
                  << "MonthOfYear: " << pattern->monthOfYear() << "\n"
                  << "PatternStartDate: " << dateText(pattern->patternStartDate()) << "\n"
                  << "PatternEndDate: " << (pattern->noEndDate() ? std::string() : dateText(pattern->patternEndDate())) << "\n"
                  << "NoEndDate: " << yesNo(pattern->noEndDate()) << "\n"
                  << "Occurrences: " << pattern->occurrences() << "\n";
        }
        return kDone;
    }

    int remove(std::uint32_t oid)
    {
        int exitCode = kFailed;
        std::unique_ptr<pim::Appointment> item = fetch(oid, exitCode);
        if (!item)
            return exitCode;
        pim::Error error = pim::Error::None;
        if (!item->remove(&error))
            return storeFailure(error);
        return kDone;
    }

    std::ostream& m_out;
    std::ostream& m_err;
    std::unique_ptr<pim::Application> m_app;
};

} // namespace

const char* pimCommandUsage() { return kUsage; }

int runPimCommand(const std::vector<std::string>& args) { return runPimCommand(args, std::cout, std::cerr); }

int runPimCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    return PimCommand(out, err).run(args);
}
