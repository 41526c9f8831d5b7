#include "PimImportCommand.h"

#include "platform/device/AtomicFileWrite.h"
#include "platform/device/DateConversion.h"
#include "platform/device/DeviceClock.h"
#include "platform/device/OleDateTime.h"
#include "platform/device/WideText.h"
#include "platform/ical/Calendar.h"
#include "platform/ical/CalendarText.h"
#include "platform/pim/Application.h"
#include "platform/pim/ical/CalendarExport.h"
#include "platform/pim/ical/CalendarImport.h"

#include <fstream>
#include <iostream>
#include <optional>
#include <sstream>
#include <unistd.h>

namespace {

using device::OleDateTime;

constexpr int kDone = 0;
constexpr int kFailed = 1;
constexpr int kBadArguments = 2;
// Files of more events than this show their progress.
constexpr std::size_t kProgressFrom = 5'000;

struct BadArguments {
    std::string message;
};

// --from DATE --to DATE and at most one other word.
struct Arguments {
    std::optional<OleDateTime> from;
    std::optional<OleDateTime> to;
    std::optional<std::string> file;
};

OleDateTime parseDate(const std::string& option, const std::string& text)
{
    OleDateTime date;
    if (!date.ParseDateTime(device::fromUtf8(text)))
        throw BadArguments {option + ": '" + text + "' is not a date the device reads"};
    return date;
}

Arguments parseArguments(const std::vector<std::string>& args)
{
    Arguments parsed;
    for (std::size_t i = 1; i < args.size(); ++i) {
        std::string name = args[i];
        std::optional<std::string> value;
        if (name.rfind("--", 0) == 0) {
            if (const std::size_t equals = name.find('='); equals != std::string::npos) {
                value = name.substr(equals + 1);
                name.resize(equals);
            }
            if (name != "--from" && name != "--to")
                throw BadArguments {"unknown option '" + name + "'"};
            if (!value) {
                if (i + 1 >= args.size())
                    throw BadArguments {name + " needs a date"};
                value = args[++i];
            }
            std::optional<OleDateTime>& slot = name == "--from" ? parsed.from : parsed.to;
            if (slot)
                throw BadArguments {name + " is given twice"};
            slot = parseDate(name, *value);
            continue;
        }
        if (parsed.file)
            throw BadArguments {"unexpected argument '" + name + "'"};
        parsed.file = name;
    }
    if (parsed.from.has_value() != parsed.to.has_value())
        throw BadArguments {"--from and --to go together"};
    if (parsed.from && *parsed.to < *parsed.from)
        throw BadArguments {"--to lies before --from"};
    return parsed;
}

// Midnight of `date`'s day, or the last second of it.
OleDateTime dayStart(const OleDateTime& date) { return OleDateTime(date.GetYear(), date.GetMonth(), date.GetDay(), 0, 0, 0); }
OleDateTime dayEnd(const OleDateTime& date) { return OleDateTime(date.GetYear(), date.GetMonth(), date.GetDay(), 23, 59, 59); }

std::string dateText(const OleDateTime& date) { return device::toUtf8(date.Format(device::VAR_DATEVALUEONLY)); }

std::string megabytes(std::uintmax_t bytes)
{
    std::ostringstream text;
    text.precision(1);
    text << std::fixed << double(bytes) / (1024.0 * 1024.0) << " MB";
    return text.str();
}

class Reporter {
public:
    explicit Reporter(std::ostream& err) : m_err(err), m_sameLine(&err == &std::cerr && ::isatty(2)) {}

    // One line for each tenth of the way.
    void progress(const char* what, std::size_t done, std::size_t total)
    {
        if (total <= kProgressFrom || (done < total && done * 10 / total == m_lastTenth))
            return;
        m_lastTenth = done < total ? done * 10 / total : 0;
        m_err << "tavrel-device pim import: " << what << ' ' << done << " of " << total << (m_sameLine ? "\r" : "\n");
        m_err.flush();
        m_pending = m_sameLine;
    }
    void line(const std::string& text)
    {
        if (m_pending)
            m_err << '\n';
        m_pending = false;
        m_err << "tavrel-device pim import: " << text << '\n';
    }

private:
    std::ostream& m_err;
    bool m_sameLine;
    bool m_pending = false;
    std::size_t m_lastTenth = 0;
};

bool readInput(const std::string& name, std::istream& in, std::string& bytes, std::string& error)
{
    const std::size_t limit = ical::CalendarText::kMaxBytes;
    if (name == "-") {
        bytes.clear();
        char buffer[65536];
        while (in.read(buffer, sizeof buffer) || in.gcount() > 0) {
            bytes.append(buffer, std::size_t(in.gcount()));
            if (bytes.size() > limit) {
                error = "standard input holds more than " + megabytes(limit) + "; pim import reads files of up to " +
                    megabytes(limit);
                return false;
            }
        }
        return true;
    }
    std::error_code failure;
    const std::filesystem::path path(name);
    if (!std::filesystem::is_regular_file(path, failure)) {
        error = "cannot read '" + name + "': " + (std::filesystem::exists(path, failure) ? "not a file" : "no such file");
        return false;
    }
    const std::uintmax_t size = std::filesystem::file_size(path, failure);
    if (!failure && size > limit) {
        error = "'" + name + "' is " + megabytes(size) + "; pim import reads files of up to " + megabytes(limit);
        return false;
    }
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        error = "cannot read '" + name + "'";
        return false;
    }
    bytes.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    if (file.bad()) {
        error = "cannot read '" + name + "'";
        return false;
    }
    return true;
}

std::unique_ptr<pim::Application> openStore(std::string& error)
{
    pim::Error failure = pim::Error::None;
    std::unique_ptr<pim::Application> app = pim::Application::create(&failure);
    if (app && app->logon(&failure))
        return app;
    error = std::string(pim::errorText(failure));
    return nullptr;
}

int import(const Arguments& arguments, std::istream& in, std::ostream& out, std::ostream& err)
{
    if (!arguments.file)
        throw BadArguments {"import needs a file (or - for standard input)"};
    Reporter report(err);
    const auto failed = [&](const std::string& message) {
        report.line(message);
        return kFailed;
    };
    std::string bytes;
    std::string error;
    if (!readInput(*arguments.file, in, bytes, error))
        return failed(error);
    std::optional<ical::Calendar> calendar = ical::Calendar::read(
        std::move(bytes), error, [&](std::size_t done, std::size_t total) { report.progress("read", done, total); });
    if (!calendar)
        return failed(error + "; nothing was imported");

    OleDateTime from = arguments.from.value_or(OleDateTime());
    OleDateTime to = arguments.to.value_or(OleDateTime());
    if (!arguments.from) {
        const device::SystemTime now = device::DeviceClock::localNow();
        from = OleDateTime(now.year - 1, now.month, now.month == 2 && now.day == 29 ? 28 : now.day, 0, 0, 0);
        to = OleDateTime(now.year + 2, now.month, now.month == 2 && now.day == 29 ? 28 : now.day, 23, 59, 59);
    }
    from = dayStart(from);
    to = dayEnd(to);
    std::unique_ptr<pim::Application> app = openStore(error);
    if (!app)
        return failed(error);

    pim::CalendarImport::Summary summary;
    pim::Error failure = pim::Error::None;
    pim::CalendarImport importer(*app, *pim::TimeLine::fromDateTime(from), *pim::TimeLine::fromDateTime(to));
    if (!importer.run(*calendar, summary, &failure,
                      [&](std::size_t done, std::size_t total) { report.progress("wrote", done, total); }))
        return failed(std::string(pim::errorText(failure)) + "; nothing was imported");

    for (const pim::CalendarImport::Skipped& skipped : summary.skipped) {
        std::string what = "line " + std::to_string(skipped.line);
        if (!skipped.summary.empty())
            what += " \"" + skipped.summary + "\"";
        if (!skipped.uid.empty())
            what += " (UID " + skipped.uid + ")";
        report.line("left out the event on " + what + ": " + skipped.reason);
    }
    for (const auto& [name, count] : calendar->otherComponents())
        report.line("left out " + std::to_string(count) + " " + name + (count == 1 ? " (not an event)" : " (not events)"));

    out << "imported " << summary.events << (summary.events == 1 ? " event: " : " events: ") << summary.single
        << " single, " << summary.series << " as series, " << summary.expanded << " expanded into "
        << summary.occurrences << " occurrences between " << dateText(from) << " and " << dateText(to) << "; "
        << summary.skipped.size() << " skipped";
    if (summary.cancelled)
        out << ", " << summary.cancelled << " cancelled";
    out << " (store: " << summary.added << " added, " << summary.updated << " updated, " << summary.removed
        << " removed)\n";
    return kDone;
}

int exportTo(const Arguments& arguments, std::ostream& out, std::ostream& err)
{
    std::string error;
    std::unique_ptr<pim::Application> app = openStore(error);
    if (!app) {
        err << "tavrel-device pim export: " << error << '\n';
        return kFailed;
    }
    std::optional<pim::CalendarExport::Period> period;
    if (arguments.from)
        period = pim::CalendarExport::Period {dayStart(*arguments.from), dayEnd(*arguments.to)};
    std::string text;
    int count = 0;
    pim::Error failure = pim::Error::None;
    if (!pim::CalendarExport(*app).run(period, text, count, &failure)) {
        err << "tavrel-device pim export: " << pim::errorText(failure) << '\n';
        return kFailed;
    }
    if (!arguments.file || *arguments.file == "-") {
        out << text;
        out.flush();
        return out ? kDone : kFailed;
    }
    if (const device::AtomicWriteResult written = device::writeFileAtomically(*arguments.file, text); !written) {
        err << "tavrel-device pim export: " << written.message(*arguments.file) << '\n';
        return kFailed;
    }
    out << "exported " << count << (count == 1 ? " event" : " events") << " to " << *arguments.file << '\n';
    return kDone;
}

int guarded(const char* command, std::ostream& err, const std::function<int()>& body)
{
    try {
        return body();
    } catch (const BadArguments& bad) {
        err << "tavrel-device pim " << command << ": " << bad.message << '\n';
        return kBadArguments;
    }
}

} // namespace

int runPimImportCommand(const std::vector<std::string>& args, std::istream& in, std::ostream& out, std::ostream& err)
{
    return guarded("import", err, [&] { return import(parseArguments(args), in, out, err); });
}

int runPimExportCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    return guarded("export", err, [&] { return exportTo(parseArguments(args), out, err); });
}
