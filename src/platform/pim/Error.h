#pragma once
// What went wrong in an appointment-store operation. Every operation that can fail returns false
// or null and, when asked, says why through an optional Error out-parameter; nothing throws.

#include <string_view>

namespace pim {

enum class Error {
    None,
    CannotOpen,          // the store file cannot be opened or created (missing folder, a folder in its place)
    ReadOnly,            // the store file or its folder is write-protected
    Busy,                // another program kept the store locked beyond the busy time-out
    Damaged,             // the file is no appointment store, or it is damaged
    NewerFormat,         // the store was written by a newer program
    IoFailed,            // reading or writing the file failed (disk full, I/O error)
    NotLoggedOn,         // the operation needs logon() first (or came after logoff())
    InvalidArgument,     // an unknown folder or item kind, a null identifier
    BadRestriction,      // the restriction text does not parse
    TooManyOccurrences,  // the restriction leaves too many occurrences to expand; bound it by [Start] and [End]
    NotFound,            // no appointment has that identifier (never saved, or deleted)
    InvalidAppointment,  // the end lies before the start
    InvalidRecurrence,   // a recurrence field is out of range for the pattern's type
    IsOccurrence,        // one occurrence of a series cannot be saved or deleted on its own
    StoreFull,           // no object identifier is left to give
    DuplicateUid,        // another appointment has the same uid (and recurrence id)
    NoEditor,            // display() without an installed appointment editor
    EditorFailed,        // the installed editor could not show the appointment
};

// A short English description ("the store is locked by another program").
std::string_view errorText(Error error);

// Stores `error` where the caller asked for it; returns false so that failure paths read
// `return fail(error, Error::NotFound);`.
inline bool fail(Error* out, Error error)
{
    if (out)
        *out = error;
    return false;
}

inline void succeed(Error* out)
{
    if (out)
        *out = Error::None;
}

} // namespace pim
