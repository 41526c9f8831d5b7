#pragma once
// Hands `pim import` and `pim export` over to tavrel-device-ical, the program beside this one
// that carries libical, so that the device tool's other commands never load it (nor ICU, which
// libical brings along): the helper replaces this process, with the same standard streams.

#include <iosfwd>
#include <string>
#include <vector>

// `args` are the words after "pim" ("import", ...). Returns only when the helper cannot be run:
// then 1, with the reason on `err`.
int runIcalHelper(const std::vector<std::string>& args, std::ostream& err);
