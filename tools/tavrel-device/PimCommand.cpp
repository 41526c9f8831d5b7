#include "PimCommand.h"

#include "IcalHelper.h"
#include "RecurrenceText.h"

#include "platform/device/CommandLineParser.h"
#include "platform/device/DateParser.h"
#include "platform/device/OleDateTime.h"
#include "platform/device/WideText.h"
#include "platform/pim/Application.h"

#include <algorithm>
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
    "       tavrel-device pim list [--from DATE --to DATE] [--format tabs|agenda]\n"
    "       tavrel-device pim show OID\n"
    "       tavrel-device pim edit OID [--subject S] [--start DATE] [--end DATE] [--all-day yes|no]\n"
    "                                  [--location L] [--categories \"A, B\"]\n"
    "       tavrel-device pim delete OID\n"
    "       tavrel-device pim import [--from DATE --to DATE] FILE.ics|-\n"
    "       tavrel-device pim export [--from DATE --to DATE] [FILE]\n"
    "list prints one appointment a line: OID, start, end, subject, categories, recipients and\n"
    "\"occurrence\" for one day of a series (with --from and --to) or \"series\" for the series itself,\n"
    "separated by tabs; --format agenda prints them by day, for reading.\n";

// Exit codes.
constexpr int kDone = 0;
constexpr int kFailed = 1;
constexpr int kBadArguments = 2;

struct BadArguments {
    std::string message;
};

// The options of one subcommand, read by the programs' common parser: each named once, except those
// that may repeat.
class Options {
public:
    Options(const std::vector<std::string>& args, std::size_t first, const std::vector<std::string>& withValue,
            const std::vector<std::string>& flags, const std::vector<std::string>& repeatable)
    {
        device::CommandLineParser parser("tavrel-device pim");
        for (const std::string& name : withValue)
            parser.value(name, &m_values[name]);
        for (const std::string& name : flags)
            parser.flag(name, &m_flags[name]);
        for (const std::string& name : repeatable)
            parser.repeatable(name, &m_repeated[name]);
        const device::CommandLineParser::Outcome outcome
            = parser.parse(std::vector<std::string>(args.begin() + std::ptrdiff_t(std::min(first, args.size())), args.end()));
        if (outcome.failed())
            throw BadArguments {outcome.error};
    }

    bool has(const std::string& name) const
    {
        if (auto value = m_values.find(name); value != m_values.end())
            return value->second.has_value();
        if (auto flag = m_flags.find(name); flag != m_flags.end())
            return flag->second;
        auto repeated = m_repeated.find(name);
        return repeated != m_repeated.end() && !repeated->second.empty();
    }
    std::string value(const std::string& name) const
    {
        auto found = m_values.find(name);
        return found != m_values.end() ? found->second.value_or(std::string()) : std::string();
    }
    std::vector<std::string> values(const std::string& name) const
    {
        auto found = m_repeated.find(name);
        return found != m_repeated.end() ? found->second : std::vector<std::string>();
    }

private:
    // Node-based maps: the parser keeps pointers to their values.
    std::map<std::string, std::optional<std::string>> m_values;
    std::map<std::string, bool> m_flags;
    std::map<std::string, std::vector<std::string>> m_repeated;
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
            m_err << "tavrel-device pim: a subcommand is needed (add, list, show, edit, delete, import, export)\n";
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
                return list(Options(args, 1, {"--from", "--to", "--format"}, {}, {}));
            if (command == "show")
                return show(parseOid(args, "show"));
            if (command == "edit") {
                const std::vector<std::string> oid(args.begin(), args.begin() + std::min<std::ptrdiff_t>(2, std::ptrdiff_t(args.size())));
                return edit(parseOid(oid, "edit"), Options(args, 2, {"--subject", "--start", "--end", "--all-day", "--location",
                                                                      "--categories"}, {}, {}));
            }
            if (command == "delete")
                return remove(parseOid(args, "delete"));
            throw BadArguments {"unknown subcommand '" + command + "' (add, list, show, edit, delete, import, export)"};
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
        const std::string format = options.has("--format") ? options.value("--format") : "tabs";
        if (format != "tabs" && format != "agenda")
            throw BadArguments {"--format is tabs or agenda, not '" + format + "'"};
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
        std::string day;
        for (auto item = items->find(restriction, &error); item; item = items->findNext(&error)) {
            // With a period every day of a series is an item of its own; without one, the series.
            const char* kind = !item->isRecurring() ? "" : period ? "occurrence" : "series";
            if (format == "agenda") {
                printAgendaLine(*item, period, day);
                continue;
            }
            m_out << item->oid() << '\t' << dateText(item->start()) << '\t' << dateText(item->end()) << '\t'
                  << oneLine(item->subject()) << '\t' << oneLine(item->categories()) << '\t'
                  << joinedRecipients(item->recipients()) << '\t' << kind << '\n';
        }
        if (error == pim::Error::TooManyOccurrences)
            return failure("the period holds more than " + std::to_string(pim::Items::kMaxOccurrences)
                           + " occurrences, the most one listing expands; narrow --from and --to");
        if (error != pim::Error::None)
            return storeFailure(error);
        return kDone;
    }

    // One appointment of the agenda, under a heading for its day when the day changes:
    //   Tuesday, December 8, 2026
    //     9:00 AM-10:00 AM  Team meeting  [Meeting, Work]  with Ann, Bob  (#12)
    void printAgendaLine(const pim::Appointment& item, bool period, std::string& day)
    {
        const std::string heading = device::toUtf8(item.start().Format(u"%A, %B %#d, %Y"));
        if (heading != day) {
            m_out << (day.empty() ? "" : "\n") << heading << "\n";
            day = heading;
        }
        const bool sameDay = item.start().GetYear() == item.end().GetYear() && item.start().GetMonth() == item.end().GetMonth()
                             && item.start().GetDay() == item.end().GetDay();
        std::string when;
        if (item.allDayEvent())
            when = sameDay ? "all day" : "all day to " + device::toUtf8(item.end().Format(u"%a %#m/%#d/%Y"));
        else if (sameDay)
            when = device::toUtf8(item.start().Format(u"%#I:%M %p")) + "-" + device::toUtf8(item.end().Format(u"%#I:%M %p"));
        else
            when = device::toUtf8(item.start().Format(u"%#I:%M %p")) + " to " + device::toUtf8(item.end().Format(u"%a %#m/%#d %#I:%M %p"));
        m_out << "  " << when << "  " << oneLine(item.subject());
        if (!item.location().empty())
            m_out << " at " << oneLine(item.location());
        if (!item.categories().empty())
            m_out << "  [" << oneLine(item.categories()) << "]";
        if (const std::string recipients = joinedRecipients(item.recipients()); !recipients.empty())
            m_out << "  with " << recipients;
        if (item.isRecurring())
            m_out << (period ? "  (repeats)" : "  (series)");
        m_out << "  (#" << item.oid() << ")\n";
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
            m_out << "Recurrence: " << RecurrenceText::Describe(*pattern) << "\n"
                  << "RecurrenceType: " << pattern->recurrenceType() << "\n"
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

    // Changes the fields the options name and keeps the others.
    int edit(std::uint32_t oid, const Options& options)
    {
        bool allDay = false;
        if (options.has("--all-day")) {
            const std::string word = options.value("--all-day");
            if (word != "yes" && word != "no")
                throw BadArguments {"--all-day takes yes or no, not '" + word + "'"};
            allDay = word == "yes";
        }
        std::optional<OleDateTime> start, end;
        if (options.has("--start"))
            start = parseDate("--start", options.value("--start"));
        if (options.has("--end"))
            end = parseDate("--end", options.value("--end"));
        bool anything = false;
        for (const char* name : {"--subject", "--start", "--end", "--all-day", "--location", "--categories"})
            anything = anything || options.has(name);
        if (!anything)
            throw BadArguments {"edit needs at least one of --subject, --start, --end, --all-day, --location, --categories"};

        int exitCode = kFailed;
        std::unique_ptr<pim::Appointment> item = fetch(oid, exitCode);
        if (!item)
            return exitCode;
        // A new start alone keeps the duration, so only a new end can come before the start.
        if (end && *end < start.value_or(item->start()))
            throw BadArguments {"the end would lie before the start (" + dateText(start.value_or(item->start())) + " to "
                                + dateText(*end) + ")"};
        if (options.has("--subject"))
            item->setSubject(device::fromUtf8(options.value("--subject")));
        if (options.has("--location"))
            item->setLocation(device::fromUtf8(options.value("--location")));
        if (options.has("--categories"))
            item->setCategories(device::fromUtf8(options.value("--categories")));
        // A new start keeps the duration (the end moves with it) unless a new end is given too.
        if (start && !item->setStart(*start))
            throw BadArguments {"--start is out of range"};
        if (end && !item->setEnd(*end))
            throw BadArguments {"--end is out of range"};
        if (options.has("--all-day"))
            item->setAllDayEvent(allDay);
        pim::Error error = pim::Error::None;
        if (!item->save(&error))
            return storeFailure(error);
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
