#include "platform/device/TerminalText.h"

#include <cstdio>

namespace device {

namespace {

bool isControl(WChar c)
{
    return c < 0x20 || c == 0x7F || (c >= 0x80 && c <= 0x9F);
}

void appendEscape(std::string& out, WChar c)
{
    char escape[8];
    if (c < 0x80)
        std::snprintf(escape, sizeof escape, "\\x%02X", unsigned(c));
    else
        std::snprintf(escape, sizeof escape, "\\u%04X", unsigned(c));
    out += escape;
}

} // namespace

std::string terminalText(WideView text, LineBreaks lineBreaks)
{
    std::string out;
    out.reserve(text.size());
    std::size_t plainStart = 0;
    auto flushPlain = [&](std::size_t end) {
        if (end > plainStart)
            out += toUtf8(text.substr(plainStart, end - plainStart));
    };
    for (std::size_t i = 0; i < text.size(); ++i) {
        const WChar c = text[i];
        if (!isControl(c))
            continue;
        flushPlain(i);
        plainStart = i + 1;
        if (lineBreaks == LineBreaks::Keep && (c == u'\n' || c == u'\r' || c == u'\t')) {
            out += char(c);
            continue;
        }
        switch (c) {
        case u'\r':
            if (i + 1 < text.size() && text[i + 1] == u'\n')
                break; // the line feed that follows writes the break
            out += "\\r";
            break;
        case u'\n':
            out += "\\n";
            break;
        case u'\t':
            out += "\\t";
            break;
        default:
            appendEscape(out, c);
            break;
        }
    }
    flushPlain(text.size());
    return out;
}

} // namespace device
