#pragma once
// A parsed restriction: the condition an item must meet to be found, and the window of time that
// any such item must touch.
//
// The condition is a tree of comparisons ([Field] op value) joined by AND and OR. Its window is
// what the index needs: every matching item ends at or after `from` and starts at or before `to`,
// so the store reads only appointments and series that overlap the window, and expands series
// only within it. The window is deduced from the comparisons on [Start] and [End] (an item never
// ends before it starts); a restriction that does not bound them has the whole time line.

#include "platform/device/WideText.h"
#include "platform/pim/AppointmentRecord.h"
#include "platform/pim/TimeLine.h"

#include <vector>

namespace pim {

class Restriction {
public:
    enum class Field { Start, End, Subject, Location, Categories, AllDayEvent, IsRecurring };
    enum class Operator { Equal, NotEqual, Less, LessOrEqual, Greater, GreaterOrEqual };

    struct Node {
        enum class Kind { Everything, Comparison, And, Or };
        Kind kind = Kind::Everything;
        // Comparisons: the field, the operator and the value of the field's kind.
        Field field = Field::Start;
        Operator op = Operator::Equal;
        Milliseconds instant = 0;
        device::WideString text;
        bool flag = false;
        // And, Or: indexes of the operands in the node list.
        std::vector<std::size_t> operands;
    };

    struct Window {
        Milliseconds from;
        Milliseconds to;
        bool isEmpty() const { return from > to; }
    };

    // Matches every item.
    Restriction();
    // `nodes` is a tree whose root is the last node and whose operands come before their parents.
    explicit Restriction(std::vector<Node> nodes);

    // Whether an item (an appointment, or one occurrence of a series with its own start and end)
    // meets the condition.
    bool matches(const AppointmentRecord& record, Milliseconds start, Milliseconds end) const;

    Window window() const;

private:
    bool matches(std::size_t node, const AppointmentRecord& record, Milliseconds start, Milliseconds end) const;
    Window window(std::size_t node) const;

    std::vector<Node> m_nodes;
};

} // namespace pim
