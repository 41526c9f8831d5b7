#include "platform/sqlite/Error.h"

#include <sqlite3.h>

namespace sqlite {

Error errorOf(int resultCode)
{
    switch (resultCode & 0xFF) {
    case SQLITE_OK:
    case SQLITE_ROW:
    case SQLITE_DONE: return Error::None;
    case SQLITE_BUSY:
    case SQLITE_LOCKED: return Error::Busy;
    case SQLITE_NOTADB: return Error::NotADatabase;
    case SQLITE_CORRUPT:
    case SQLITE_FORMAT: return Error::Corrupt;
    case SQLITE_ERROR: // "no such table" and the like
    case SQLITE_SCHEMA: return Error::SchemaMismatch;
    case SQLITE_CONSTRAINT: return Error::Constraint;
    case SQLITE_MISMATCH: return Error::TypeMismatch;
    case SQLITE_READONLY: return Error::ReadOnly;
    case SQLITE_CANTOPEN:
    case SQLITE_PERM:
    case SQLITE_AUTH: return Error::CannotOpen;
    case SQLITE_TOOBIG: return Error::TooBig;
    case SQLITE_NOMEM: return Error::NoMemory;
    default: return Error::Io; // SQLITE_IOERR, SQLITE_FULL, SQLITE_PROTOCOL, ...
    }
}

std::string_view errorName(Error error)
{
    switch (error) {
    case Error::None: return "None";
    case Error::Busy: return "Busy";
    case Error::NotADatabase: return "NotADatabase";
    case Error::Corrupt: return "Corrupt";
    case Error::SchemaMismatch: return "SchemaMismatch";
    case Error::Constraint: return "Constraint";
    case Error::TypeMismatch: return "TypeMismatch";
    case Error::ReadOnly: return "ReadOnly";
    case Error::CannotOpen: return "CannotOpen";
    case Error::TooBig: return "TooBig";
    case Error::NoMemory: return "NoMemory";
    case Error::Io: return "Io";
    }
    return "Unknown";
}

} // namespace sqlite
