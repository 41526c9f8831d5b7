#pragma once
// A recurrence pattern in words, for people reading `pim show` and the agenda:
// "every week on Wednesday, until 3/1/2027", "every 2 months on the last Friday, 6 times".

#include <string>

namespace pim {
class RecurrencePattern;
}

class RecurrenceText {
public:
    static std::string Describe(const pim::RecurrencePattern& pattern);
};
