#include "ReminderCommand.h"

#include "platform/device/DeviceClock.h"
#include "platform/device/OleDateTime.h"
#include "platform/device/ProgramTable.h"
#include "platform/device/WideText.h"
#include "platform/registry/ScopedKey.h"
#include "platform/scheduler/RunAppAtTime.h"

#include <iostream>
#include <map>
#include <optional>
#include <unordered_set>

namespace {

using device::OleDateTime;
using device::WideString;
using device::WideView;

constexpr const char* kUsage
    = "usage: tavrel-device reminder add ID --at DATE [--title T] [--category C] [--start DATE] [--end DATE]\n"
      "       tavrel-device reminder list\n"
      "       tavrel-device reminder delete ID\n";

constexpr const char16_t* StoreKey = u"Software\\Orvix\\Tavrel\\Reminder";
constexpr const char16_t* ReminderProgram = u"\\Program Files\\Tavrel\\TavrelReminder.Exe";

constexpr int kDone = 0;
constexpr int kFailed = 1;
constexpr int kBadArguments = 2;

struct BadArguments {
    std::string message;
};

struct Failure {
    std::string message;
};

WideString CheckedId(const std::string& text)
{
    const WideString id = device::fromUtf8(text);
    if (id.empty() || id.size() > registry::MaxNameLength)
        throw BadArguments {"an ID has 1 to " + std::to_string(registry::MaxNameLength) + " characters"};
    for (char16_t c : id) {
        if (c == u'\\' || c == u',')
            throw BadArguments {"an ID holds no backslash and no comma: '" + text + "'"};
        if (c < 0x20)
            throw BadArguments {"an ID holds no control characters"};
    }
    return id;
}

OleDateTime ParseDate(const std::string& option, const std::string& text)
{
    OleDateTime date;
    if (!date.ParseDateTime(device::fromUtf8(text)))
        throw BadArguments {option + ": '" + text + "' is not a date the device reads"};
    return date;
}

std::string OneLine(WideView text)
{
    std::string line = device::toUtf8(text);
    for (char& c : line)
        if (c == '\t' || c == '\n' || c == '\r')
            c = ' ';
    return line;
}

std::optional<WideString> ReadText(registry::HKEY key, WideView name)
{
    std::uint32_t type = 0, size = 0;
    if (registry::queryValue(key, name, &type, nullptr, &size) != registry::ERROR_SUCCESS)
        return std::nullopt;
    std::vector<char16_t> buffer(size / sizeof(char16_t) + 1, u'\0');
    if (registry::queryValue(key, name, &type, buffer.data(), &size) != registry::ERROR_SUCCESS)
        return std::nullopt;
    return WideString(buffer.data());
}

bool WriteText(registry::HKEY key, WideView name, WideView text)
{
    const WideString value(text);
    return registry::setValue(
               key, name, registry::REG_SZ, value.c_str(), std::uint32_t((value.size() + 1) * sizeof(char16_t)))
        == registry::ERROR_SUCCESS;
}

std::optional<OleDateTime> ReadDate(registry::HKEY key, WideView name)
{
    const std::optional<WideString> text = ReadText(key, name);
    OleDateTime date;
    if (!text || text->empty() || !date.ParseDateTime(*text))
        return std::nullopt;
    return date;
}

// The identifiers of "Dismissed", folded to upper case.
std::unordered_set<WideString> DismissedIds(registry::HKEY store)
{
    std::unordered_set<WideString> ids;
    const WideString text = ReadText(store, u"Dismissed").value_or(WideString());
    std::size_t start = 0;
    for (;;) {
        const std::size_t comma = text.find(u',', start);
        WideString id = text.substr(start, comma == WideString::npos ? WideString::npos : comma - start);
        for (char16_t& c : id)
            c = device::foldUpper(c);
        ids.insert(std::move(id));
        if (comma == WideString::npos)
            return ids;
        start = comma + 1;
    }
}

// Deletes a key with everything below it.
registry::Status DeleteTree(registry::HKEY parent, WideView name)
{
    registry::ScopedKey key;
    if (const registry::Status status = registry::ScopedKey::open(parent, name, key); status != registry::ERROR_SUCCESS)
        return status;
    for (;;) {
        char16_t child[registry::MaxNameLength + 1];
        std::uint32_t length = registry::MaxNameLength + 1;
        if (registry::enumKey(key.get(), 0, child, &length) != registry::ERROR_SUCCESS)
            break;
        if (const registry::Status status = DeleteTree(key.get(), WideView(child, length));
            status != registry::ERROR_SUCCESS)
            return status;
    }
    key.reset();
    return registry::deleteKey(parent, name);
}

class ReminderCommand {
public:
    ReminderCommand(std::ostream& out, std::ostream& err)
        : m_out(out)
        , m_err(err)
    {
    }

    int run(const std::vector<std::string>& args)
    {
        if (args.empty()) {
            m_err << "tavrel-device reminder: a subcommand is needed (add, list, delete)\n";
            return kBadArguments;
        }
        const std::string& command = args[0];
        if (command == "--help" || command == "-h" || command == "help") {
            m_out << kUsage;
            return kDone;
        }
        try {
            if (command == "add")
                return add(args);
            if (command == "list") {
                if (args.size() != 1)
                    throw BadArguments {"list takes no arguments"};
                return list();
            }
            if (command == "delete") {
                if (args.size() != 2)
                    throw BadArguments {"delete takes one ID"};
                return remove(CheckedId(args[1]));
            }
            throw BadArguments {"unknown subcommand '" + command + "' (add, list, delete)"};
        } catch (const BadArguments& bad) {
            m_err << "tavrel-device reminder: " << bad.message << "\n";
            return kBadArguments;
        } catch (const Failure& failure) {
            m_err << "tavrel-device reminder: " << failure.message << "\n";
            return kFailed;
        }
    }

private:
    static registry::ScopedKey OpenStore(bool create)
    {
        registry::ScopedKey key;
        const registry::Status status = create ? registry::ScopedKey::create(registry::HKEY_CURRENT_USER, StoreKey, key)
                                               : registry::ScopedKey::open(registry::HKEY_CURRENT_USER, StoreKey, key);
        if (status != registry::ERROR_SUCCESS && (create || status != registry::ERROR_FILE_NOT_FOUND))
            throw Failure {"cannot open HKEY_CURRENT_USER\\" + device::toUtf8(StoreKey) + " (error "
                + std::to_string(status) + ")"};
        return key;
    }

    int add(const std::vector<std::string>& args)
    {
        if (args.size() < 2 || args[1].rfind("--", 0) == 0)
            throw BadArguments {"add needs an ID first"};
        const WideString id = CheckedId(args[1]);
        std::map<std::string, std::string> options;
        for (std::size_t i = 2; i < args.size(); ++i) {
            std::string name = args[i];
            std::optional<std::string> value;
            if (const std::size_t equals = name.find('='); equals != std::string::npos) {
                value = name.substr(equals + 1);
                name.resize(equals);
            }
            if (name != "--at" && name != "--title" && name != "--category" && name != "--start" && name != "--end")
                throw BadArguments {"unknown option '" + name + "'"};
            if (!value) {
                if (i + 1 >= args.size())
                    throw BadArguments {name + " needs a value"};
                value = args[++i];
            }
            if (options.count(name))
                throw BadArguments {name + " is given twice"};
            options[name] = *value;
        }
        if (!options.count("--at"))
            throw BadArguments {"add needs --at, the time the reminder is due"};
        const OleDateTime at = ParseDate("--at", options["--at"]);
        if (at.GetValue() >= 0 && at.GetValue() < 1)
            throw BadArguments {"--at needs a date, not only a time"};
        const OleDateTime start = options.count("--start") ? ParseDate("--start", options["--start"]) : at;
        const OleDateTime end = options.count("--end") ? ParseDate("--end", options["--end"]) : start;
        if (end < start)
            throw BadArguments {"--end lies before --start"};

        registry::ScopedKey store = OpenStore(true);
        registry::ScopedKey reminder;
        if (registry::ScopedKey::create(store.get(), id, reminder) != registry::ERROR_SUCCESS)
            throw Failure {"cannot write the reminder " + device::toUtf8(id)};
        const bool written = WriteText(reminder.get(), u"Title", device::fromUtf8(options["--title"]))
            && WriteText(reminder.get(), u"Category", device::fromUtf8(options["--category"]))
            && WriteText(reminder.get(), u"Start", start.Format()) && WriteText(reminder.get(), u"End", end.Format())
            && WriteText(reminder.get(), u"Reminder", at.Format());
        const registry::Status snooze = registry::deleteValue(reminder.get(), u"Snooze Until");
        if (!written || (snooze != registry::ERROR_SUCCESS && snooze != registry::ERROR_FILE_NOT_FOUND))
            throw Failure {"cannot write the reminder " + device::toUtf8(id)};
        m_out << "added reminder " << device::toUtf8(id) << " due " << device::toUtf8(at.Format()) << "\n";

        WideString folded = id;
        for (char16_t& c : folded)
            c = device::foldUpper(c);
        if (DismissedIds(store.get()).count(folded))
            m_out << "note: " << device::toUtf8(id)
                  << " was dismissed before; the reminder program does not show it again\n";
        return scheduleReminderProgram(at);
    }

    // Moves the reminder program's pending start to `at` unless it runs earlier already.
    int scheduleReminderProgram(const OleDateTime& at)
    {
        device::SystemTime time;
        if (!at.GetAsSystemTime(time))
            throw Failure {"the date is out of range"};
        const std::optional<device::SystemTime> pending = scheduler::pendingStart(ReminderProgram);
        if (!pending || OleDateTime(time) < OleDateTime(*pending)) {
            std::string error;
            if (!scheduler::runAppAtTime(ReminderProgram, time, &error))
                throw Failure {"cannot schedule the reminder program: " + error};
            m_out << "the reminder program runs at " << device::toUtf8(at.Format()) << "\n";
        } else {
            m_out << "the reminder program runs at " << device::toUtf8(OleDateTime(*pending).Format()) << " already\n";
        }
        if (!device::ProgramTable::find(ReminderProgram))
            m_out << "note: the reminder program is not installed on this device (tavrel-device install)\n";
        return kDone;
    }

    int list()
    {
        registry::ScopedKey store = OpenStore(false);
        if (!store)
            return kDone;
        const std::unordered_set<WideString> dismissed = DismissedIds(store.get());
        const OleDateTime now(device::DeviceClock::localNow());
        for (std::uint32_t index = 0;; ++index) {
            char16_t name[registry::MaxNameLength + 1];
            std::uint32_t length = registry::MaxNameLength + 1;
            if (registry::enumKey(store.get(), index, name, &length) != registry::ERROR_SUCCESS)
                break;
            const WideString id(name, length);
            registry::ScopedKey reminder;
            if (registry::ScopedKey::open(store.get(), id, reminder) != registry::ERROR_SUCCESS)
                continue;
            WideString folded = id;
            for (char16_t& c : folded)
                c = device::foldUpper(c);
            const std::optional<WideString> reminderText = ReadText(reminder.get(), u"Reminder");
            const std::optional<OleDateTime> due = ReadDate(reminder.get(), u"Reminder");
            const std::optional<OleDateTime> snoozed = ReadDate(reminder.get(), u"Snooze Until");
            std::string state;
            if (dismissed.count(folded))
                state = "dismissed";
            else if (!due)
                state = "unreadable";
            else {
                const OleDateTime effective = snoozed && !(*snoozed < *due) ? *snoozed : *due;
                state = effective.GetValue() != 0 && effective < now ? "due" : "pending";
            }
            m_out << OneLine(id) << '\t' << state << '\t' << (reminderText ? OneLine(*reminderText) : "(missing)")
                  << '\t' << OneLine(ReadText(reminder.get(), u"Snooze Until").value_or(u"")) << '\t'
                  << OneLine(ReadText(reminder.get(), u"Category").value_or(u"")) << '\t'
                  << OneLine(ReadText(reminder.get(), u"Start").value_or(u"")) << '\t'
                  << OneLine(ReadText(reminder.get(), u"End").value_or(u"")) << '\t'
                  << OneLine(ReadText(reminder.get(), u"Title").value_or(u"")) << '\n';
        }
        return kDone;
    }

    int remove(const WideString& id)
    {
        registry::ScopedKey store = OpenStore(false);
        const registry::Status status = store ? DeleteTree(store.get(), id) : registry::ERROR_FILE_NOT_FOUND;
        if (status == registry::ERROR_FILE_NOT_FOUND)
            throw Failure {"no reminder " + device::toUtf8(id)};
        if (status != registry::ERROR_SUCCESS)
            throw Failure {
                "cannot delete the reminder " + device::toUtf8(id) + " (error " + std::to_string(status) + ")"};
        m_out << "deleted reminder " << device::toUtf8(id) << "\n";
        return kDone;
    }

    std::ostream& m_out;
    std::ostream& m_err;
};

} // namespace

int runReminderCommand(const std::vector<std::string>& args) { return runReminderCommand(args, std::cout, std::cerr); }

int runReminderCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    return ReminderCommand(out, err).run(args);
}

const char* reminderCommandUsage() { return kUsage; }
