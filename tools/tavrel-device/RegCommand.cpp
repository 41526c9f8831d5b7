#include "RegCommand.h"

#include "RegFile.h"

#include "platform/registry/Registry.h"
#include "platform/registry/ScopedKey.h"

#include <cstring>
#include <fstream>
#include <iostream>
#include <optional>

namespace {

using device::WideString;
using device::WideView;
using namespace registry;

const char* const usageLines[] = {
    "usage: tavrel-device reg get HIVE KEY [VALUE]",
    "usage: tavrel-device reg set HIVE KEY VALUE sz|dword|binary DATA",
    "usage: tavrel-device reg delete HIVE KEY [VALUE]",
    "usage: tavrel-device reg list HIVE KEY",
    "usage: tavrel-device reg export [HIVE [KEY]]",
    "usage: tavrel-device reg import FILE|-",
};
constexpr const char* generalUsage = "usage: tavrel-device reg get|set|delete|list|export|import ... (HIVE is HKCU or HKLM)";

struct Hive {
    HKEY handle;
    const char* name;
    const char* fullName; // what .reg files call it
};

const Hive hives[] = {{HKEY_CURRENT_USER, "HKCU", "HKEY_CURRENT_USER"}, {HKEY_LOCAL_MACHINE, "HKLM", "HKEY_LOCAL_MACHINE"}};

std::optional<Hive> parseHive(const std::string& text)
{
    auto is = [&](const char* name) { return device::equalsNoCase(device::fromUtf8(text), device::fromUtf8(name)); };
    if (is("HKCU") || is("HKEY_CURRENT_USER"))
        return hives[0];
    if (is("HKLM") || is("HKEY_LOCAL_MACHINE"))
        return hives[1];
    return std::nullopt;
}

// The key path without the empty levels a leading, doubled or trailing backslash would add, so
// it prints the way the export headers show it.
std::string cleanPath(const std::string& path)
{
    std::string clean;
    std::size_t start = 0;
    while (start <= path.size()) {
        std::size_t end = path.find('\\', start);
        if (end == std::string::npos)
            end = path.size();
        if (end > start) {
            if (!clean.empty())
                clean += '\\';
            clean += path.substr(start, end - start);
        }
        start = end + 1;
    }
    return clean;
}

std::string keyName(const Hive& hive, const std::string& path)
{
    std::string clean = cleanPath(path);
    return clean.empty() ? hive.name : std::string(hive.name) + "\\" + clean;
}

// The header of a key in a .reg file, the hive spelled out.
std::string regFileKeyName(const Hive& hive, const std::string& path)
{
    std::string clean = cleanPath(path);
    return clean.empty() ? hive.fullName : std::string(hive.fullName) + "\\" + clean;
}

std::string describe(Status status)
{
    switch (status) {
    case ERROR_FILE_NOT_FOUND: return "not found";
    case ERROR_ACCESS_DENIED: return "access denied";
    case ERROR_INVALID_PARAMETER: return "invalid name or data";
    case ERROR_TIMEOUT: return "the registry is locked by another program";
    case ERROR_BADDB: return "the registry file is damaged or not a registry";
    case ERROR_REGISTRY_IO_FAILED: return "the registry file cannot be opened or written";
    case ERROR_KEY_DELETED: return "the key was deleted";
    case ERROR_NOT_ENOUGH_MEMORY: return "out of memory";
    default: return "error " + std::to_string(status);
    }
}

// One value as read from the registry.
struct Value {
    WideString name;
    std::uint32_t type = REG_NONE;
    std::string data;
};

Status readValue(HKEY key, WideView name, Value& value)
{
    // The size may change between the two reads when another program writes the value.
    for (int attempt = 0; attempt < 4; ++attempt) {
        std::uint32_t size = 0;
        if (Status status = queryValue(key, name, &value.type, nullptr, &size); status != ERROR_SUCCESS)
            return status;
        value.data.assign(size, '\0');
        Status status = queryValue(key, name, &value.type, value.data.data(), &size);
        if (status != ERROR_MORE_DATA) {
            value.data.resize(size);
            value.name = WideString(name);
            return status;
        }
    }
    return ERROR_MORE_DATA;
}

Status readValueAt(HKEY key, std::uint32_t index, Value& value)
{
    WChar name[MaxNameLength + 1];
    std::uint32_t length = MaxNameLength + 1;
    if (Status status = enumValue(key, index, name, &length, nullptr, nullptr, nullptr); status != ERROR_SUCCESS)
        return status;
    return readValue(key, WideView(name, length), value);
}

// Text data up to its terminator (a stored text need not have one).
WideString textOf(const std::string& data)
{
    WideString text;
    for (std::size_t i = 0; i + 1 < data.size(); i += 2) {
        WChar c = WChar(static_cast<unsigned char>(data[i]) | (static_cast<unsigned char>(data[i + 1]) << 8));
        if (c == 0)
            break;
        text.push_back(c);
    }
    return text;
}

std::uint32_t numberOf(const std::string& data)
{
    std::uint32_t number = 0;
    std::memcpy(&number, data.data(), sizeof number);
    return number;
}

std::string hexOf(const std::string& data, const char* digits, const char* separator)
{
    std::string hex;
    for (std::size_t i = 0; i < data.size(); ++i) {
        if (i && separator)
            hex += separator;
        auto byte = static_cast<unsigned char>(data[i]);
        hex += digits[byte >> 4];
        hex += digits[byte & 15];
    }
    return hex;
}

bool isNumber(const Value& value) { return value.type == REG_DWORD && value.data.size() == 4; }

// The strings of a multi-string value: each up to its terminator, the list up to an empty one.
std::vector<WideString> textsOf(const std::string& data)
{
    std::vector<WideString> texts;
    WideString text;
    for (std::size_t i = 0; i + 1 < data.size(); i += 2) {
        WChar c = WChar(static_cast<unsigned char>(data[i]) | (static_cast<unsigned char>(data[i + 1]) << 8));
        if (c != 0) {
            text.push_back(c);
            continue;
        }
        if (text.empty())
            break;
        texts.push_back(text);
        text.clear();
    }
    if (!text.empty())
        texts.push_back(text);
    return texts;
}

// Whether a text can stand unquoted in a NAME=TYPE:DATA line without being misread: no line break
// or other control character, no leading quote, and (for a name) no "=".
bool standsBare(const std::string& text, bool isName)
{
    if (!text.empty() && text.front() == '"')
        return false;
    for (char c : text) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F || (isName && c == '='))
            return false;
    }
    return true;
}

std::string listed(WideView text, bool isName)
{
    const std::string utf8 = device::toUtf8(text);
    return standsBare(utf8, isName) ? utf8 : RegFile::Quoted(text);
}

// The data as `reg get HIVE KEY VALUE` prints it: text as it stands, a multi-string's strings one
// a line, numbers in decimal, anything else as hex.
std::string plainData(const Value& value)
{
    if (value.type == REG_SZ)
        return device::toUtf8(textOf(value.data));
    if (value.type == REG_MULTI_SZ) {
        std::string lines;
        for (const WideString& text : textsOf(value.data))
            lines += (lines.empty() ? "" : "\n") + device::toUtf8(text);
        return lines;
    }
    if (isNumber(value))
        return std::to_string(numberOf(value.data));
    return hexOf(value.data, "0123456789ABCDEF", nullptr);
}

std::string typeWord(const Value& value)
{
    if (value.type == REG_SZ)
        return "sz";
    if (value.type == REG_MULTI_SZ)
        return "multi_sz";
    if (isNumber(value))
        return "dword";
    if (value.type == REG_BINARY)
        return "binary";
    return "hex(" + std::to_string(value.type) + ")";
}

// One NAME=TYPE:DATA line of a key's listing. A name or text that could be misread is quoted as in a
// .reg file; a multi-string's strings are always quoted, separated by commas.
std::string listingLine(const Value& value)
{
    std::string data;
    if (value.type == REG_SZ) {
        data = listed(textOf(value.data), false);
    } else if (value.type == REG_MULTI_SZ) {
        for (const WideString& text : textsOf(value.data))
            data += (data.empty() ? "" : ",") + RegFile::Quoted(text);
    } else {
        data = plainData(value);
    }
    return listed(value.name, true) + "=" + typeWord(value) + ":" + data;
}

std::optional<std::uint32_t> parseNumber(const std::string& text)
{
    bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
    std::size_t start = hex ? 2 : 0;
    if (start >= text.size())
        return std::nullopt;
    std::uint64_t number = 0;
    for (std::size_t i = start; i < text.size(); ++i) {
        char c = text[i];
        int digit = c >= '0' && c <= '9' ? c - '0'
                    : hex && c >= 'a' && c <= 'f' ? c - 'a' + 10
                    : hex && c >= 'A' && c <= 'F' ? c - 'A' + 10
                                                  : -1;
        if (digit < 0)
            return std::nullopt;
        number = number * (hex ? 16 : 10) + std::uint64_t(digit);
        if (number > 0xFFFFFFFFull)
            return std::nullopt;
    }
    return std::uint32_t(number);
}

std::optional<std::string> parseHex(const std::string& text)
{
    if (text.size() % 2)
        return std::nullopt;
    auto digit = [](char c) {
        return c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
    };
    std::string bytes;
    for (std::size_t i = 0; i < text.size(); i += 2) {
        int high = digit(text[i]), low = digit(text[i + 1]);
        if (high < 0 || low < 0)
            return std::nullopt;
        bytes.push_back(char(high * 16 + low));
    }
    return bytes;
}

class RegCommand {
public:
    RegCommand(std::ostream& out, std::ostream& err) : m_out(out), m_err(err) {}

    int run(const std::vector<std::string>& args)
    {
        if (args.empty())
            return usage(generalUsage);
        const std::string& verb = args[0];
        std::vector<std::string> rest(args.begin() + 1, args.end());
        if (verb == "--help" || verb == "-h" || verb == "help") {
            m_out << regCommandUsage();
            return 0;
        }
        if (verb == "get")
            return get(rest);
        if (verb == "set")
            return set(rest);
        if (verb == "delete")
            return remove(rest);
        if (verb == "list")
            return list(rest);
        if (verb == "export")
            return exportTree(rest);
        if (verb == "import")
            return importFile(rest);
        m_err << "tavrel-device reg: unknown subcommand '" << verb << "' (get, set, delete, list, export, import)\n";
        return 2;
    }

private:
    int usage(const char* line)
    {
        m_err << line << "\n";
        return 2;
    }

    // Bad arguments of a verb that takes at most `most` words: the first word too many is named,
    // else the usage line.
    int usage(const std::vector<std::string>& args, std::size_t most, const char* line)
    {
        if (args.size() > most) {
            m_err << "tavrel-device reg: unexpected argument '" << args[most] << "' (" << line << ")\n";
            return 2;
        }
        if (!args.empty() && !parseHive(args[0]) && most > 0) {
            m_err << "tavrel-device reg: '" << args[0] << "' is no hive: HKCU or HKLM (" << line << ")\n";
            return 2;
        }
        return usage(line);
    }

    int fail(const std::string& message)
    {
        m_err << "tavrel-device reg: " << message << "\n";
        return 1;
    }

    int failKey(const Hive& hive, const std::string& path, Status status)
    {
        if (status == ERROR_FILE_NOT_FOUND)
            return fail("key " + keyName(hive, path) + " does not exist");
        return fail("key " + keyName(hive, path) + ": " + describe(status));
    }

    int failValue(const Hive& hive, const std::string& path, const std::string& name, Status status)
    {
        std::string what = "value \"" + name + "\" in " + keyName(hive, path);
        if (status == ERROR_FILE_NOT_FOUND)
            return fail(what + " does not exist");
        return fail(what + ": " + describe(status));
    }

    int get(const std::vector<std::string>& args)
    {
        std::optional<Hive> hive = args.size() == 2 || args.size() == 3 ? parseHive(args[0]) : std::nullopt;
        if (!hive)
            return usage(args, 3, usageLines[0]);
        ScopedKey key;
        if (Status status = ScopedKey::open(hive->handle, device::fromUtf8(args[1]), key); status != ERROR_SUCCESS)
            return failKey(*hive, args[1], status);
        if (args.size() == 3) {
            Value value;
            if (Status status = readValue(key.get(), device::fromUtf8(args[2]), value); status != ERROR_SUCCESS)
                return failValue(*hive, args[1], args[2], status);
            m_out << plainData(value) << "\n";
            return 0;
        }
        for (std::uint32_t index = 0;; ++index) {
            Value value;
            Status status = readValueAt(key.get(), index, value);
            if (status == ERROR_NO_MORE_ITEMS)
                return 0;
            if (status != ERROR_SUCCESS)
                return failKey(*hive, args[1], status);
            m_out << listingLine(value) << "\n";
        }
    }

    int set(const std::vector<std::string>& args)
    {
        std::optional<Hive> hive = args.size() == 5 ? parseHive(args[0]) : std::nullopt;
        if (!hive)
            return usage(args, 5, usageLines[1]);
        const std::string& type = args[3];
        const std::string& text = args[4];
        std::uint32_t code = REG_NONE;
        std::string data;
        if (type == "sz") {
            WideString wide = device::fromUtf8(text);
            data.assign(reinterpret_cast<const char*>(wide.c_str()), (wide.size() + 1) * sizeof(WChar));
            code = REG_SZ;
        } else if (type == "dword") {
            std::optional<std::uint32_t> number = parseNumber(text);
            if (!number)
                return usage("tavrel-device reg set: dword DATA is a number, decimal or 0x hex, from 0 to 4294967295");
            data.assign(reinterpret_cast<const char*>(&*number), sizeof *number);
            code = REG_DWORD;
        } else if (type == "binary") {
            std::optional<std::string> bytes = parseHex(text);
            if (!bytes)
                return usage("tavrel-device reg set: binary DATA is an even number of hex digits");
            data = *bytes;
            code = REG_BINARY;
        } else {
            m_err << "tavrel-device reg set: the type is sz, dword or binary, not '" << type << "'\n";
            return 2;
        }
        ScopedKey key;
        if (Status status = ScopedKey::create(hive->handle, device::fromUtf8(args[1]), key); status != ERROR_SUCCESS)
            return failKey(*hive, args[1], status);
        Status status = setValue(key.get(), device::fromUtf8(args[2]), code, data.data(), std::uint32_t(data.size()));
        if (status != ERROR_SUCCESS)
            return failValue(*hive, args[1], args[2], status);
        return 0;
    }

    // Deletes a key and everything below it, the deepest keys first.
    Status deleteTree(HKEY parent, WideView path)
    {
        ScopedKey key;
        if (Status status = ScopedKey::open(parent, path, key); status != ERROR_SUCCESS)
            return status;
        for (;;) {
            WChar child[MaxNameLength + 1];
            std::uint32_t length = MaxNameLength + 1;
            Status status = enumKey(key.get(), 0, child, &length);
            if (status == ERROR_NO_MORE_ITEMS)
                break;
            if (status == ERROR_SUCCESS)
                status = deleteTree(key.get(), WideView(child, length));
            if (status != ERROR_SUCCESS)
                return status;
        }
        key.reset();
        return deleteKey(parent, path);
    }

    int remove(const std::vector<std::string>& args)
    {
        std::optional<Hive> hive = args.size() == 2 || args.size() == 3 ? parseHive(args[0]) : std::nullopt;
        if (!hive)
            return usage(args, 3, usageLines[2]);
        if (args.size() == 3) {
            ScopedKey key;
            if (Status status = ScopedKey::open(hive->handle, device::fromUtf8(args[1]), key); status != ERROR_SUCCESS)
                return failKey(*hive, args[1], status);
            if (Status status = deleteValue(key.get(), device::fromUtf8(args[2])); status != ERROR_SUCCESS)
                return failValue(*hive, args[1], args[2], status);
            return 0;
        }
        if (cleanPath(args[1]).empty())
            return usage("tavrel-device reg delete: a hive cannot be deleted, name a KEY below it");
        if (Status status = deleteTree(hive->handle, device::fromUtf8(args[1])); status != ERROR_SUCCESS)
            return failKey(*hive, args[1], status);
        return 0;
    }

    int list(const std::vector<std::string>& args)
    {
        std::optional<Hive> hive = args.size() == 2 ? parseHive(args[0]) : std::nullopt;
        if (!hive)
            return usage(args, 2, usageLines[3]);
        ScopedKey key;
        if (Status status = ScopedKey::open(hive->handle, device::fromUtf8(args[1]), key); status != ERROR_SUCCESS)
            return failKey(*hive, args[1], status);
        for (std::uint32_t index = 0;; ++index) {
            WChar name[MaxNameLength + 1];
            std::uint32_t length = MaxNameLength + 1;
            Status status = enumKey(key.get(), index, name, &length);
            if (status == ERROR_NO_MORE_ITEMS)
                return 0;
            if (status != ERROR_SUCCESS)
                return failKey(*hive, args[1], status);
            m_out << device::toUtf8(WideView(name, length)) << "\n";
        }
    }

    // Writes one key's header and values, then each subkey's, in enumeration order.
    Status exportKey(HKEY key, const std::string& header)
    {
        m_out << "[" << header << "]\n";
        for (std::uint32_t index = 0;; ++index) {
            Value value;
            Status status = readValueAt(key, index, value);
            if (status == ERROR_NO_MORE_ITEMS)
                break;
            if (status != ERROR_SUCCESS)
                return status;
            m_out << RegFile::ValueLine(value.name, value.type, value.data) << "\n";
        }
        m_out << "\n";
        for (std::uint32_t index = 0;; ++index) {
            WChar name[MaxNameLength + 1];
            std::uint32_t length = MaxNameLength + 1;
            Status status = enumKey(key, index, name, &length);
            if (status == ERROR_NO_MORE_ITEMS)
                return ERROR_SUCCESS;
            ScopedKey child;
            if (status == ERROR_SUCCESS)
                status = ScopedKey::open(key, WideView(name, length), child);
            if (status == ERROR_SUCCESS)
                status = exportKey(child.get(), header + "\\" + device::toUtf8(WideView(name, length)));
            if (status != ERROR_SUCCESS)
                return status;
        }
    }

    int exportTree(const std::vector<std::string>& args)
    {
        if (args.size() > 2)
            return usage(args, 2, usageLines[4]);
        std::vector<Hive> chosen(std::begin(hives), std::end(hives));
        if (!args.empty()) {
            std::optional<Hive> hive = parseHive(args[0]);
            if (!hive)
                return usage(args, 2, usageLines[4]);
            chosen = {*hive};
        }
        std::string path = args.size() == 2 ? args[1] : std::string();
        bool headerWritten = false;
        for (const Hive& hive : chosen) {
            ScopedKey key;
            Status status = ScopedKey::open(hive.handle, device::fromUtf8(path), key);
            // A key that is not there writes nothing at all, not even the header.
            if (status == ERROR_SUCCESS && !headerWritten) {
                m_out << RegFile::Header << "\n\n";
                headerWritten = true;
            }
            if (status == ERROR_SUCCESS)
                status = exportKey(key.get(), regFileKeyName(hive, path));
            if (status != ERROR_SUCCESS)
                return failKey(hive, path, status);
        }
        return 0;
    }

    // The hive and the path below it of a .reg key header.
    static std::optional<std::pair<Hive, std::string>> splitKey(const std::string& key)
    {
        const std::size_t slash = key.find('\\');
        std::optional<Hive> hive = parseHive(key.substr(0, slash));
        if (!hive)
            return std::nullopt;
        return std::pair {*hive, slash == std::string::npos ? std::string() : key.substr(slash + 1)};
    }

    Status apply(const RegFile::Change& change, const Hive& hive, const std::string& path)
    {
        using Kind = RegFile::Change::Kind;
        if (change.kind == Kind::DeleteKey) {
            const Status status = deleteTree(hive.handle, device::fromUtf8(path));
            return status == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : status;
        }
        ScopedKey key;
        if (Status status = ScopedKey::create(hive.handle, device::fromUtf8(path), key); status != ERROR_SUCCESS)
            return status;
        if (change.kind == Kind::SetValue)
            return setValue(key.get(), change.name, change.type, change.data.data(), std::uint32_t(change.data.size()));
        if (change.kind == Kind::DeleteValue) {
            const Status status = deleteValue(key.get(), change.name);
            return status == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : status;
        }
        return ERROR_SUCCESS;
    }

    // Reads the whole file before it changes anything, so that a file with a mistake changes nothing.
    int importFile(const std::vector<std::string>& args)
    {
        if (args.size() != 1)
            return usage(args, 1, usageLines[5]);
        const std::string& file = args[0];
        std::ifstream opened;
        if (file != "-") {
            opened.open(file, std::ios::binary);
            if (!opened)
                return fail("cannot open " + file);
        }
        std::istream& in = file == "-" ? std::cin : opened;
        std::string error;
        const std::optional<std::vector<RegFile::Change>> changes = RegFile::Read(in, &error);
        if (!changes)
            return fail(file + ": " + error);
        for (const RegFile::Change& change : *changes) {
            if (cleanPath(change.key).empty() || !splitKey(change.key))
                return fail(file + ": line " + std::to_string(change.line) + ": the key " + change.key
                            + " is not below HKEY_CURRENT_USER or HKEY_LOCAL_MACHINE");
            if (change.kind == RegFile::Change::Kind::DeleteKey && cleanPath(splitKey(change.key)->second).empty())
                return fail(file + ": line " + std::to_string(change.line) + ": a hive cannot be deleted");
        }
        std::size_t values = 0;
        for (const RegFile::Change& change : *changes) {
            const auto [hive, path] = *splitKey(change.key);
            if (Status status = apply(change, hive, path); status != ERROR_SUCCESS)
                return fail(file + ": line " + std::to_string(change.line) + ": " + keyName(hive, path) + ": " + describe(status));
            values += change.kind == RegFile::Change::Kind::SetValue;
        }
        m_out << "imported " << values << (values == 1 ? " value" : " values") << " from " << file << "\n";
        return 0;
    }

    std::ostream& m_out;
    std::ostream& m_err;
};

} // namespace

const char* regCommandUsage()
{
    static const std::string text = [] {
        std::string lines;
        for (const char* line : usageLines)
            lines += std::string(line) + "\n";
        return lines + "HIVE is HKCU or HKLM.\n";
    }();
    return text.c_str();
}

int runRegCommand(const std::vector<std::string>& args) { return runRegCommand(args, std::cout, std::cerr); }

int runRegCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    return RegCommand(out, err).run(args);
}
