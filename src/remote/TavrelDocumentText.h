#pragma once
// CTavrelDocumentText: the text of a fetched document or of a local copy, from its bytes.
//
// Documents are read one byte to a character (each byte its own code, as the format has it), except
// those written in 16-bit characters: a byte-order mark says which order; without one, a first byte
// of 0 means big-endian and a second byte of 0 little-endian — the form in which the local copies
// of attached calendars are written (no mark).

#include "common/QoString.h"

#include <cstdint>
#include <optional>
#include <span>

class CTavrelDocumentText {
public:
    static CQoString Decode(std::span<const std::uint8_t> bytes);
    // The text of a device file; nothing when it cannot be read.
    static std::optional<CQoString> Read(const CQoString& path);
};
