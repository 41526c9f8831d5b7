#pragma once
// What went wrong in an SQLite operation, sorted by what the caller can do about it. The registry
// and the appointment store each turn these into their own error codes.

#include <string_view>

namespace sqlite {

enum class Error {
    None,
    Busy,           // another connection held a lock beyond the busy time-out (or holds the file exclusively)
    NotADatabase,   // the file is not an SQLite database
    Corrupt,        // the file is an SQLite database, but damaged
    SchemaMismatch, // a statement does not fit the file's tables (some other program's database)
    Constraint,     // a row broke a constraint of its table (UNIQUE, CHECK, NOT NULL)
    TypeMismatch,   // a value of the wrong type for its column
    ReadOnly,       // the file or its folder is write-protected
    CannotOpen,     // the file cannot be opened or created (a missing folder, a folder in its place)
    TooBig,         // a text or row beyond SQLite's limits
    NoMemory,
    Io,             // reading or writing the file failed (a full disk, an I/O error)
};

// The error of an SQLite result code (primary or extended); None for SQLITE_OK, _ROW and _DONE.
Error errorOf(int resultCode);

// The error's name ("Busy"), for messages and test output.
std::string_view errorName(Error error);

} // namespace sqlite
