#include "RegFile.h"

#include "platform/registry/Registry.h"

#include <algorithm>
#include <cstring>
#include <istream>

namespace {

const char lowerDigits[] = "0123456789abcdef";

int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

std::string textData(const device::WideString& text)
{
    return std::string(reinterpret_cast<const char*>(text.c_str()), (text.size() + 1) * sizeof(char16_t));
}

struct BadLine {
    std::string why;
};

// Reads the rest of a line after an opening quote; `at` is left after the closing one.
device::WideString readQuoted(const std::string& line, std::size_t& at)
{
    std::string text;
    for (; at < line.size(); ++at) {
        const char c = line[at];
        if (c == '"') {
            ++at;
            return device::fromUtf8(text);
        }
        if (c != '\\') {
            text += c;
            continue;
        }
        if (++at >= line.size())
            break;
        switch (line[at]) {
        case '\\': text += '\\'; break;
        case '"': text += '"'; break;
        case 'n': text += '\n'; break;
        case 'r': text += '\r'; break;
        default: throw BadLine {std::string("unknown escape \\") + line[at] + " (\\\\, \\\", \\n and \\r are known)"};
        }
    }
    throw BadLine {"a quote is not closed"};
}

std::string readHexBytes(const std::string& text)
{
    std::string bytes;
    std::size_t at = 0;
    auto skipSpace = [&] {
        while (at < text.size() && (text[at] == ' ' || text[at] == '\t'))
            ++at;
    };
    skipSpace();
    while (at < text.size()) {
        if (at + 1 >= text.size() || hexDigit(text[at]) < 0 || hexDigit(text[at + 1]) < 0)
            throw BadLine {"bytes are two hex digits each, separated by commas"};
        bytes.push_back(char(hexDigit(text[at]) * 16 + hexDigit(text[at + 1])));
        at += 2;
        skipSpace();
        if (at < text.size()) {
            if (text[at] != ',')
                throw BadLine {"bytes are two hex digits each, separated by commas"};
            ++at;
            skipSpace();
        }
    }
    return bytes;
}

// The data after "=" of a value line.
void readData(const std::string& text, RegFile::Change& change)
{
    if (text == "-") {
        change.kind = RegFile::Change::Kind::DeleteValue;
        return;
    }
    change.kind = RegFile::Change::Kind::SetValue;
    if (!text.empty() && text[0] == '"') {
        std::size_t at = 1;
        const device::WideString value = readQuoted(text, at);
        if (at != text.size())
            throw BadLine {"unexpected text after the closing quote"};
        change.type = registry::REG_SZ;
        change.data = textData(value);
        return;
    }
    if (text.rfind("dword:", 0) == 0) {
        const std::string digits = text.substr(6);
        std::uint32_t number = 0;
        if (digits.empty() || digits.size() > 8)
            throw BadLine {"dword: takes 1 to 8 hex digits"};
        for (char c : digits) {
            if (hexDigit(c) < 0)
                throw BadLine {"dword: takes 1 to 8 hex digits"};
            number = number * 16 + std::uint32_t(hexDigit(c));
        }
        change.type = registry::REG_DWORD;
        change.data.assign(reinterpret_cast<const char*>(&number), sizeof number);
        return;
    }
    if (text.rfind("hex:", 0) == 0) {
        change.type = registry::REG_BINARY;
        change.data = readHexBytes(text.substr(4));
        return;
    }
    if (text.rfind("hex(", 0) == 0) {
        const std::size_t close = text.find("):", 4);
        if (close == std::string::npos || close == 4 || close > 12)
            throw BadLine {"hex(TYPE): takes the type as hex digits"};
        std::uint32_t type = 0;
        for (std::size_t i = 4; i < close; ++i) {
            if (hexDigit(text[i]) < 0)
                throw BadLine {"hex(TYPE): takes the type as hex digits"};
            type = type * 16 + std::uint32_t(hexDigit(text[i]));
        }
        change.type = type;
        change.data = readHexBytes(text.substr(close + 2));
        return;
    }
    throw BadLine {"data is \"text\", dword:, hex:, hex(TYPE): or -"};
}

} // namespace

std::string RegFile::Quoted(device::WideView text)
{
    std::string out = "\"";
    for (char c : device::toUtf8(text)) {
        if (c == '\\' || c == '"')
            out += '\\';
        if (c == '\n')
            out += "\\n";
        else if (c == '\r')
            out += "\\r";
        else
            out += c;
    }
    return out + "\"";
}

std::string RegFile::ValueLine(device::WideView name, std::uint32_t type, const std::string& data)
{
    std::string line = name.empty() ? "@" : Quoted(name);
    line += '=';
    // Text is written as text only when it reads back as the very same bytes: one terminating
    // zero at the end and none before it.
    if (type == registry::REG_SZ && data.size() % 2 == 0 && data.size() >= 2) {
        device::WideString text((data.size() - 2) / 2, u'\0');
        std::memcpy(text.data(), data.data(), text.size() * 2);
        if (text.find(u'\0') == device::WideString::npos && data[data.size() - 1] == 0 && data[data.size() - 2] == 0)
            return line + Quoted(text);
    }
    if (type == registry::REG_DWORD && data.size() == 4) {
        std::uint32_t number = 0;
        std::memcpy(&number, data.data(), sizeof number);
        std::string hex;
        for (int shift = 28; shift >= 0; shift -= 4)
            hex += lowerDigits[(number >> shift) & 15];
        return line + "dword:" + hex;
    }
    std::string typeHex;
    for (std::uint32_t rest = type; rest || typeHex.empty(); rest >>= 4)
        typeHex.insert(typeHex.begin(), lowerDigits[rest & 15]);
    line += type == registry::REG_BINARY ? "hex:" : "hex(" + typeHex + "):";
    for (std::size_t i = 0; i < data.size(); ++i) {
        if (i)
            line += ',';
        const auto byte = static_cast<unsigned char>(data[i]);
        line += lowerDigits[byte >> 4];
        line += lowerDigits[byte & 15];
    }
    return line;
}

std::optional<std::vector<RegFile::Change>> RegFile::Read(std::istream& in, std::string* error)
{
    std::vector<Change> changes;
    std::string currentKey;
    bool sawHeader = false;
    int lineNumber = 0;
    std::string line;
    try {
        while (std::getline(in, line)) {
            const int startLine = ++lineNumber;
            if (lineNumber == 1 && line.rfind("\xEF\xBB\xBF", 0) == 0)
                line.erase(0, 3);
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            // A hex list goes on over lines that end with a backslash.
            while (!line.empty() && line.back() == '\\' && line.find("=hex") != std::string::npos) {
                line.pop_back();
                std::string next;
                if (!std::getline(in, next))
                    break;
                ++lineNumber;
                if (!next.empty() && next.back() == '\r')
                    next.pop_back();
                line += next;
            }
            const std::size_t first = line.find_first_not_of(" \t");
            if (first == std::string::npos || line[first] == ';')
                continue;
            line.erase(0, first);
            if (!sawHeader) {
                if (line != Header && line != "REGEDIT4")
                    throw BadLine {std::string("a .reg file starts with \"") + Header + "\""};
                sawHeader = true;
                continue;
            }
            Change change;
            change.line = startLine;
            if (line[0] == '[') {
                const std::size_t close = line.rfind(']');
                if (close == std::string::npos || line.find_first_not_of(" \t", close + 1) != std::string::npos)
                    throw BadLine {"a key line is [KEY] or [-KEY]"};
                const bool remove = line.size() > 1 && line[1] == '-';
                change.kind = remove ? Change::Kind::DeleteKey : Change::Kind::CreateKey;
                change.key = line.substr(remove ? 2 : 1, close - (remove ? 2 : 1));
                if (change.key.empty())
                    throw BadLine {"a key line names no key"};
                currentKey = remove ? std::string() : change.key;
                changes.push_back(change);
                continue;
            }
            if (currentKey.empty())
                throw BadLine {"a value before any [KEY] line"};
            change.key = currentKey;
            std::size_t at = 0;
            if (line[0] == '@') {
                at = 1;
            } else if (line[0] == '"') {
                at = 1;
                change.name = readQuoted(line, at);
            } else {
                throw BadLine {"a value line is \"NAME\"=DATA or @=DATA"};
            }
            while (at < line.size() && (line[at] == ' ' || line[at] == '\t'))
                ++at;
            if (at >= line.size() || line[at] != '=')
                throw BadLine {"'=' is missing after the value's name"};
            std::string data = line.substr(at + 1);
            data.erase(0, data.find_first_not_of(" \t") == std::string::npos ? data.size() : data.find_first_not_of(" \t"));
            while (!data.empty() && (data.back() == ' ' || data.back() == '\t'))
                data.pop_back();
            readData(data, change);
            changes.push_back(change);
        }
        if (!sawHeader)
            throw BadLine {std::string("a .reg file starts with \"") + Header + "\""};
    } catch (const BadLine& bad) {
        if (error)
            *error = "line " + std::to_string(std::max(lineNumber, 1)) + ": " + bad.why;
        return std::nullopt;
    }
    return changes;
}
