#include "platform/device/DateConversion.h"

namespace device {

std::string_view dateErrorName(DateError error)
{
    switch (error) {
    case DateError::None:
        return "None";
    case DateError::TypeMismatch:
        return "Type Mismatch";
    case DateError::Overflow:
        return "Overflow";
    case DateError::InvalidArgument:
        return "Invalid Argument";
    }
    return "Unknown";
}

} // namespace device
