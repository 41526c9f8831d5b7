#include "platform/pim/Error.h"

namespace pim {

std::string_view errorText(Error error)
{
    switch (error) {
    case Error::None: return "no error";
    case Error::CannotOpen: return "the appointment store cannot be opened or created";
    case Error::ReadOnly: return "the appointment store is write-protected";
    case Error::Busy: return "the appointment store is locked by another program";
    case Error::Damaged: return "the appointment store is damaged or is not an appointment store";
    case Error::NewerFormat: return "the appointment store was written by a newer program";
    case Error::IoFailed: return "the appointment store could not be read or written";
    case Error::NotLoggedOn: return "not logged on to the appointment store";
    case Error::InvalidArgument: return "invalid argument";
    case Error::BadRestriction: return "the restriction is not valid";
    case Error::TooManyOccurrences: return "the restriction matches too many occurrences";
    case Error::NotFound: return "no appointment has that identifier";
    case Error::InvalidAppointment: return "the appointment ends before it starts";
    case Error::InvalidRecurrence: return "the recurrence pattern is not valid";
    case Error::IsOccurrence: return "an occurrence cannot be changed on its own";
    case Error::StoreFull: return "the appointment store has no identifier left";
    case Error::DuplicateUid: return "another appointment has the same UID";
    case Error::NoEditor: return "no appointment editor is installed";
    case Error::EditorFailed: return "the appointment editor could not be shown";
    }
    return "unknown error";
}

} // namespace pim
