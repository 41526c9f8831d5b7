#pragma once
// Text from the device written where a person watches it — standard error, a terminal, a log
// viewer. The text may come from anywhere (a control datagram, a file name, a registry value), so
// every control character is written as an escape: an ESC or CSI in a message must not move the
// cursor, recolour or retitle the terminal of whoever reads it.

#include "platform/device/WideText.h"

#include <string>

namespace device {

enum class LineBreaks {
    Escape, // one line: a line break is written "\n" (CR LF counts once), a lone CR "\r"
    Keep,   // line feeds, carriage returns and tabs pass as they are; the rest is escaped
};

// UTF-8 with every control character (U+0000-U+001F, U+007F, U+0080-U+009F) escaped: "\n", "\r",
// "\t", "\xHH" for the others below U+0080, "\uHHHH" for the C1 controls. Other text, and
// backslashes, are kept as they are, so ordinary messages and device paths read unchanged.
std::string terminalText(WideView text, LineBreaks lineBreaks = LineBreaks::Escape);

} // namespace device
