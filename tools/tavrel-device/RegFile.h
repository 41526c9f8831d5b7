#pragma once
// The .reg text format, both ways: what `reg export` writes and `reg import` reads.
//
//   Windows Registry Editor Version 5.00
//
//   [HKEY_CURRENT_USER\Software\Orvix\Tavrel]
//   "CurrentCalendar"="<Personal>"          text: \\ and \" escaped, line breaks as \n and \r
//   "Transparency01"=dword:00000032
//   @=hex:de,ad,01                            @ is the key's default value
//   "Names"=hex(7):41,00,00,00,00,00          any other type by its number, bytes as stored
//   "Gone"=-                                  deletes the value
//   [-HKEY_CURRENT_USER\Software\Old]         deletes the key and everything below it
//
// Lines starting with ";" are comments; a hex list may go on over lines ending with "\".

#include "platform/device/WideText.h"

#include <cstdint>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

class RegFile {
public:
    static constexpr const char* Header = "Windows Registry Editor Version 5.00";

    struct Change {
        enum class Kind { CreateKey, DeleteKey, SetValue, DeleteValue };
        Kind kind = Kind::CreateKey;
        std::string key; // as the header names it, hive first: "HKEY_CURRENT_USER\Software\Orvix"
        int line = 0;    // where it stands in the file, for messages
        device::WideString name;
        std::uint32_t type = 0;
        std::string data; // the bytes as the registry stores them (text in UTF-16LE with its 0)
    };

    // A name or text in quotes, escaped so that it reads back as it was and stays on one line.
    static std::string Quoted(device::WideView text);
    // One value line: `"name"=...` (or `@=...`), the data in the form its type is written in.
    static std::string ValueLine(device::WideView name, std::uint32_t type, const std::string& data);

    // Reads a whole file; nothing (and "line N: why" in `error`) when any line is not understood,
    // so that a bad file changes nothing.
    static std::optional<std::vector<Change>> Read(std::istream& in, std::string* error);
};
