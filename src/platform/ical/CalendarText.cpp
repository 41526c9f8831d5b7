#include "platform/ical/CalendarText.h"

#include <algorithm>
#include <cstdint>

namespace ical {

namespace {

// The line number (from 1) of byte `offset`.
int lineOf(std::string_view text, std::size_t offset)
{
    return int(std::count(text.begin(), text.begin() + std::ptrdiff_t(std::min(offset, text.size())), '\n')) + 1;
}

// The offset of the first byte that is not part of well-formed UTF-8, or npos.
std::size_t firstInvalidUtf8(std::string_view text)
{
    const auto byte = [&](std::size_t i) { return std::uint8_t(text[i]); };
    std::size_t i = 0;
    while (i < text.size()) {
        const std::uint8_t lead = byte(i);
        if (lead < 0x80) {
            ++i;
            continue;
        }
        int length = 0;
        std::uint32_t low = 0;
        if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
            low = 0x80;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            low = 0x800;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            low = 0x10000;
        } else {
            return i;
        }
        if (i + std::size_t(length) > text.size())
            return i;
        std::uint32_t code = lead & (0x7F >> length);
        for (int k = 1; k < length; ++k) {
            const std::uint8_t next = byte(i + std::size_t(k));
            if ((next & 0xC0) != 0x80)
                return i;
            code = (code << 6) | (next & 0x3F);
        }
        if (code < low || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
            return i;
        i += std::size_t(length);
    }
    return std::string_view::npos;
}

void appendUtf8(std::string& out, std::uint32_t code)
{
    if (code < 0x80) {
        out += char(code);
    } else if (code < 0x800) {
        out += char(0xC0 | (code >> 6));
        out += char(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += char(0xE0 | (code >> 12));
        out += char(0x80 | ((code >> 6) & 0x3F));
        out += char(0x80 | (code & 0x3F));
    } else {
        out += char(0xF0 | (code >> 18));
        out += char(0x80 | ((code >> 12) & 0x3F));
        out += char(0x80 | ((code >> 6) & 0x3F));
        out += char(0x80 | (code & 0x3F));
    }
}

// UTF-16 (after its byte-order mark) as UTF-8; nothing for an odd length or a lone surrogate.
std::optional<std::string> fromUtf16(std::string_view bytes, bool bigEndian, std::size_t& badOffset)
{
    if (bytes.size() % 2 != 0) {
        badOffset = bytes.size() - 1;
        return std::nullopt;
    }
    std::string out;
    out.reserve(bytes.size() / 2 + bytes.size() / 8);
    const auto unit = [&](std::size_t i) -> std::uint32_t {
        const std::uint8_t a = std::uint8_t(bytes[i]), b = std::uint8_t(bytes[i + 1]);
        return bigEndian ? std::uint32_t(a) << 8 | b : std::uint32_t(b) << 8 | a;
    };
    for (std::size_t i = 0; i < bytes.size(); i += 2) {
        std::uint32_t code = unit(i);
        if (code >= 0xD800 && code <= 0xDBFF && i + 3 < bytes.size() && unit(i + 2) >= 0xDC00 && unit(i + 2) <= 0xDFFF) {
            code = 0x10000 + ((code - 0xD800) << 10) + (unit(i + 2) - 0xDC00);
            i += 2;
        } else if (code >= 0xD800 && code <= 0xDFFF) {
            badOffset = i;
            return std::nullopt;
        }
        appendUtf8(out, code);
    }
    return out;
}

bool startsWithNoCase(std::string_view line, std::string_view prefix)
{
    if (line.size() < prefix.size())
        return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        char c = line[i];
        if (c >= 'a' && c <= 'z')
            c = char(c - 'a' + 'A');
        if (c != prefix[i])
            return false;
    }
    return true;
}

std::string upper(std::string_view text)
{
    std::string result(text);
    for (char& c : result) {
        if (c >= 'a' && c <= 'z')
            c = char(c - 'a' + 'A');
    }
    return result;
}

std::string_view trimmed(std::string_view text)
{
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    return text;
}

} // namespace

std::optional<CalendarText> CalendarText::read(std::string bytes, std::string& error)
{
    if (bytes.size() > kMaxBytes) {
        error = "the file is larger than " + std::to_string(kMaxBytes / (1024 * 1024)) + " MB";
        return std::nullopt;
    }
    CalendarText result;
    const auto startsWith = [&](std::string_view mark) { return std::string_view(bytes).substr(0, mark.size()) == mark; };
    if (startsWith("\xFF\xFE") || startsWith("\xFE\xFF")) {
        std::size_t bad = 0;
        std::optional<std::string> converted = fromUtf16(std::string_view(bytes).substr(2), startsWith("\xFE\xFF"), bad);
        if (!converted) {
            error = "the file is not valid UTF-16 text (byte " + std::to_string(bad + 2) + ")";
            return std::nullopt;
        }
        result.m_text = std::move(*converted);
    } else {
        result.m_text = std::move(bytes);
        if (std::string_view(result.m_text).substr(0, 3) == "\xEF\xBB\xBF")
            result.m_text.erase(0, 3);
    }
    const std::string_view text = result.m_text;
    if (const std::size_t nul = text.find('\0'); nul != std::string_view::npos) {
        error = "line " + std::to_string(lineOf(text, nul)) + " holds a NUL byte: this is no text file";
        return std::nullopt;
    }
    if (const std::size_t bad = firstInvalidUtf8(text); bad != std::string_view::npos) {
        error = "line " + std::to_string(lineOf(text, bad)) +
            " is not UTF-8 text (iCalendar files are UTF-8; convert it first, e.g. with iconv)";
        return std::nullopt;
    }
    if (!result.split(error))
        return std::nullopt;
    return result;
}

bool CalendarText::split(std::string& error)
{
    const std::string_view text = m_text;
    struct Open {
        std::string name;
        int line;
        std::size_t begin;
    };
    std::vector<Open> open;
    bool seenCalendar = false;
    bool inProperty = false; // the last line was a calendar property: its continuations follow
    m_properties = "BEGIN:VCALENDAR\r\n";
    int lineNumber = 0;
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t lineStart = at;
        std::size_t lineEnd = text.find('\n', at);
        if (lineEnd == std::string_view::npos)
            lineEnd = text.size();
        at = lineEnd + 1;
        ++lineNumber;
        std::string_view line = text.substr(lineStart, lineEnd - lineStart);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        const bool continuation = !line.empty() && (line.front() == ' ' || line.front() == '\t');
        if (open.empty()) {
            if (trimmed(line).empty())
                continue;
            if (!startsWithNoCase(line, "BEGIN:") || upper(trimmed(line.substr(6))) != "VCALENDAR") {
                error = seenCalendar ? "line " + std::to_string(lineNumber) + ": text after END:VCALENDAR"
                                     : "this is not an iCalendar file (it does not begin with BEGIN:VCALENDAR)";
                return false;
            }
            seenCalendar = true;
            open.push_back({"VCALENDAR", lineNumber, lineStart});
            continue;
        }
        if (continuation) {
            if (open.size() == 1 && inProperty) {
                m_properties.append(line);
                m_properties += "\r\n";
            }
            continue;
        }
        inProperty = false;
        if (startsWithNoCase(line, "BEGIN:")) {
            if (int(open.size()) >= kMaxDepth) {
                error = "line " + std::to_string(lineNumber) + ": components nest deeper than " +
                    std::to_string(kMaxDepth) + " levels";
                return false;
            }
            open.push_back({upper(trimmed(line.substr(6))), lineNumber, lineStart});
            continue;
        }
        if (startsWithNoCase(line, "END:")) {
            const std::string name = upper(trimmed(line.substr(4)));
            if (name != open.back().name) {
                error = "line " + std::to_string(lineNumber) + ": END:" + name + " does not close BEGIN:" +
                    open.back().name + " of line " + std::to_string(open.back().line);
                return false;
            }
            if (open.size() == 2)
                m_components.push_back({name, open.back().begin, lineEnd - open.back().begin, open.back().line});
            open.pop_back();
            continue;
        }
        if (open.size() == 1 && !trimmed(line).empty()) {
            m_properties.append(line);
            m_properties += "\r\n";
            inProperty = true;
        }
    }
    if (!open.empty()) {
        error = "the file ends inside the " + open.back().name + " begun on line " + std::to_string(open.back().line) +
            ": it is cut short";
        return false;
    }
    if (!seenCalendar) {
        error = "this is not an iCalendar file (it holds no BEGIN:VCALENDAR)";
        return false;
    }
    m_properties += "END:VCALENDAR\r\n";
    return true;
}

} // namespace ical
