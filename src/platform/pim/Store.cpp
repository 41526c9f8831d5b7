#include "platform/pim/Store.h"

#include "platform/device/VariantTime.h"

#include <sqlite3.h>

#include <cmath>
#include <cstring>
#include <string>

namespace pim {

namespace {

const char* const kSchema = R"sql(
CREATE TABLE appointments (
    oid                 INTEGER PRIMARY KEY AUTOINCREMENT CHECK (oid BETWEEN 1 AND 4294967294),
    subject             BLOB NOT NULL,
    location            BLOB NOT NULL,
    categories          BLOB NOT NULL,
    recipients          BLOB NOT NULL,
    start_ms            INTEGER NOT NULL,
    end_ms              INTEGER NOT NULL CHECK (end_ms >= start_ms),
    all_day             INTEGER NOT NULL,
    recurrence_type     INTEGER,
    recurrence_interval INTEGER,
    day_of_week_mask    INTEGER,
    day_of_month        INTEGER,
    instance            INTEGER,
    month_of_year       INTEGER,
    end_kind            INTEGER,
    end_day             INTEGER,
    occurrences         INTEGER
);
CREATE VIRTUAL TABLE appointment_spans USING rtree(oid, first_day, last_day);
)sql";

// Texts are kept as UTF-16LE bytes, so that every text comes back exactly as it was given (lone
// surrogates included); recipients as a list of (32-bit little-endian length, UTF-16LE units).
#define PIM_COLUMNS                                                                                      \
    "a.oid, a.subject, a.location, a.categories, a.recipients, a.start_ms, a.end_ms, a.all_day, "         \
    "a.recurrence_type, a.recurrence_interval, a.day_of_week_mask, a.day_of_month, a.instance, "         \
    "a.month_of_year, a.end_kind, a.end_day, a.occurrences"

const char* const kQuerySql[] = {
    "BEGIN IMMEDIATE",
    "COMMIT",
    "ROLLBACK",
    "INSERT INTO appointments(subject, location, categories, recipients, start_ms, end_ms, all_day, "
    "recurrence_type, recurrence_interval, day_of_week_mask, day_of_month, instance, month_of_year, end_kind, "
    "end_day, occurrences) VALUES (?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, ?12, ?13, ?14, ?15, ?16, ?17)",
    "INSERT INTO appointment_spans(oid, first_day, last_day) VALUES (?1, ?2, ?3)",
    "UPDATE appointments SET subject = ?2, location = ?3, categories = ?4, recipients = ?5, start_ms = ?6, "
    "end_ms = ?7, all_day = ?8, recurrence_type = ?9, recurrence_interval = ?10, day_of_week_mask = ?11, "
    "day_of_month = ?12, instance = ?13, month_of_year = ?14, end_kind = ?15, end_day = ?16, occurrences = ?17 "
    "WHERE oid = ?1",
    "UPDATE appointment_spans SET first_day = ?2, last_day = ?3 WHERE oid = ?1",
    "DELETE FROM appointments WHERE oid = ?1",
    "DELETE FROM appointment_spans WHERE oid = ?1",
    "SELECT " PIM_COLUMNS " FROM appointments AS a WHERE a.oid = ?1",
    // CROSS JOIN keeps the tree as the outer loop: it picks the rows, the table is read by key.
    "SELECT " PIM_COLUMNS " FROM appointment_spans AS s CROSS JOIN appointments AS a ON a.oid = s.oid "
    "WHERE s.last_day >= ?1 AND s.first_day <= ?2",
};

// Beyond every representable day: the far end of an open-ended series.
constexpr double kOpenEndDay = 1e7;

// Days on the true time line, rounded outward to the tree's 32-bit floats.
double lowerDay(Milliseconds instant)
{
    const double days = double(instant) / double(kMillisecondsPerDay);
    float rounded = float(days);
    if (double(rounded) > days)
        rounded = std::nextafter(rounded, -INFINITY);
    return rounded;
}

double upperDay(Milliseconds instant)
{
    const double days = double(instant) / double(kMillisecondsPerDay);
    float rounded = float(days);
    if (double(rounded) < days)
        rounded = std::nextafter(rounded, INFINITY);
    return rounded;
}

void appendUnits(std::string& bytes, device::WideView text)
{
    for (device::WChar c : text) {
        bytes += char(c & 0xFF);
        bytes += char(c >> 8);
    }
}

device::WideString unitsOf(const unsigned char* bytes, std::size_t size)
{
    device::WideString text;
    text.reserve(size / 2);
    for (std::size_t i = 0; i + 1 < size; i += 2)
        text += device::WChar(bytes[i] | (bytes[i + 1] << 8));
    return text;
}

std::string encodeText(device::WideView text)
{
    std::string bytes;
    appendUnits(bytes, text);
    return bytes;
}

std::string encodeRecipients(const Recipients& recipients)
{
    std::string bytes;
    for (const device::WideString& name : recipients.names()) {
        const std::uint32_t length = std::uint32_t(name.size());
        for (int shift = 0; shift < 32; shift += 8)
            bytes += char((length >> shift) & 0xFF);
        appendUnits(bytes, name);
    }
    return bytes;
}

// A damaged list yields the names that can still be read.
Recipients decodeRecipients(const unsigned char* bytes, std::size_t size)
{
    Recipients recipients;
    std::size_t at = 0;
    while (bytes && size - at >= 4) {
        const std::uint32_t length = std::uint32_t(bytes[at]) | std::uint32_t(bytes[at + 1]) << 8 |
                                     std::uint32_t(bytes[at + 2]) << 16 | std::uint32_t(bytes[at + 3]) << 24;
        at += 4;
        if (std::size_t(length) > (size - at) / 2)
            break;
        recipients.add(unitsOf(bytes + at, std::size_t(length) * 2));
        at += std::size_t(length) * 2;
    }
    return recipients;
}

device::WideString columnText(sqlite3_stmt* statement, int column)
{
    const auto* bytes = static_cast<const unsigned char*>(sqlite3_column_blob(statement, column));
    return bytes ? unitsOf(bytes, std::size_t(sqlite3_column_bytes(statement, column))) : device::WideString();
}

int bindBytes(sqlite3_stmt* statement, int index, const std::string& bytes)
{
    // A zero-length blob must still be a blob, not NULL: the columns are NOT NULL.
    return sqlite3_bind_blob(statement, index, bytes.empty() ? "" : bytes.data(), int(bytes.size()), SQLITE_TRANSIENT);
}

int timeoutMilliseconds(std::chrono::milliseconds timeout)
{
    const auto count = timeout.count();
    return count < 0 ? 0 : count > 0x7FFFFFFF ? 0x7FFFFFFF : int(count);
}

// Resets a statement when the scope ends, whatever path leaves it.
class ResetOnExit {
public:
    explicit ResetOnExit(sqlite3_stmt* statement) : m_statement(statement) {}
    ~ResetOnExit()
    {
        sqlite3_reset(m_statement);
        sqlite3_clear_bindings(m_statement);
    }
    ResetOnExit(const ResetOnExit&) = delete;
    ResetOnExit& operator=(const ResetOnExit&) = delete;

private:
    sqlite3_stmt* m_statement;
};

} // namespace

Store::Store(sqlite3* connection) : m_connection(connection) {}

Store::~Store()
{
    finalizeStatements();
    sqlite3_close(m_connection);
}

std::shared_ptr<Store> Store::open(const std::filesystem::path& file, std::chrono::milliseconds busyTimeout,
                                   Error& error)
{
    sqlite3* connection = nullptr;
    // The store serialises its own calls, so the connection needs no mutex of its own.
    const int result = sqlite3_open_v2(file.c_str(), &connection,
                                       SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX, nullptr);
    std::shared_ptr<Store> store(new Store(connection));
    if (result != SQLITE_OK) {
        error = (result & 0xFF) == SQLITE_NOMEM ? Error::IoFailed : Error::CannotOpen;
        return nullptr;
    }
    // SQLite falls back to reading only when the file is write-protected; the store must write.
    if (sqlite3_db_readonly(connection, "main") != 0) {
        error = Error::ReadOnly;
        return nullptr;
    }
    sqlite3_extended_result_codes(connection, 1);
    sqlite3_busy_timeout(connection, timeoutMilliseconds(busyTimeout));
    error = Error::None;
    return store;
}

Error Store::errorOf(int sqliteResult) const
{
    switch (sqliteResult & 0xFF) {
    case SQLITE_OK:
    case SQLITE_ROW:
    case SQLITE_DONE: return Error::None;
    case SQLITE_BUSY:
    case SQLITE_LOCKED: return Error::Busy;
    case SQLITE_NOTADB:
    case SQLITE_CORRUPT:
    case SQLITE_SCHEMA:
    case SQLITE_ERROR: // a statement that no longer fits the file's tables
        return Error::Damaged;
    case SQLITE_READONLY: return Error::ReadOnly;
    case SQLITE_CANTOPEN:
    case SQLITE_PERM:
    case SQLITE_AUTH: return Error::CannotOpen;
    default: return Error::IoFailed;
    }
}

Error Store::execute(const char* sql) { return errorOf(sqlite3_exec(m_connection, sql, nullptr, nullptr, nullptr)); }

Error Store::readPragma(const char* sql, std::int64_t& value)
{
    sqlite3_stmt* pragma = nullptr;
    int result = sqlite3_prepare_v2(m_connection, sql, -1, &pragma, nullptr);
    if (result == SQLITE_OK) {
        result = sqlite3_step(pragma);
        if (result == SQLITE_ROW) {
            value = sqlite3_column_int64(pragma, 0);
            result = SQLITE_OK;
        }
    }
    sqlite3_finalize(pragma);
    return errorOf(result);
}

Error Store::logon()
{
    std::lock_guard lock(m_mutex);
    if (m_loggedOn)
        return Error::None;
    Error error = prepareSchema();
    if (error == Error::None)
        error = prepareStatements();
    if (error != Error::None) {
        finalizeStatements();
        return error;
    }
    m_loggedOn = true;
    return Error::None;
}

void Store::logoff()
{
    std::lock_guard lock(m_mutex);
    m_loggedOn = false;
    finalizeStatements();
}

bool Store::isLoggedOn() const
{
    std::lock_guard lock(m_mutex);
    return m_loggedOn;
}

Error Store::prepareSchema()
{
    // WAL lets the calendar read while the admin tool writes. NORMAL synchronisation in WAL mode
    // keeps the file consistent through any crash. This is also the first statement that reads
    // the file, so it is the one that finds a file that is not a database, or one held locked.
    sqlite3_stmt* walMode = nullptr;
    int result = sqlite3_prepare_v2(m_connection, "PRAGMA journal_mode = WAL", -1, &walMode, nullptr);
    bool inWal = false;
    if (result == SQLITE_OK) {
        result = sqlite3_step(walMode);
        if (result == SQLITE_ROW) {
            const auto* mode = reinterpret_cast<const char*>(sqlite3_column_text(walMode, 0));
            inWal = mode && sqlite3_stricmp(mode, "wal") == 0;
            result = SQLITE_OK;
        }
    }
    sqlite3_finalize(walMode);
    if (result != SQLITE_OK)
        return errorOf(result);
    if (!inWal)
        return Error::Busy; // another connection holds the file in a mode that shuts others out
    if (Error error = execute("PRAGMA synchronous = NORMAL"); error != Error::None)
        return error;

    std::int64_t applicationId = 0;
    std::int64_t version = 0;
    std::int64_t tables = 0;
    for (int attempt = 0; attempt < 2; ++attempt) {
        if (Error error = readPragma("PRAGMA application_id", applicationId); error != Error::None)
            return error;
        if (Error error = readPragma("PRAGMA user_version", version); error != Error::None)
            return error;
        if (Error error = readPragma("SELECT count(*) FROM sqlite_schema", tables); error != Error::None)
            return error;
        if (applicationId == 0 && version == 0 && tables == 0) {
            // An empty file: give it the schema, unless another program does so first.
            if (Error error = createSchema(); error != Error::None)
                return error;
            continue;
        }
        break;
    }
    // Anything else than our own file is refused rather than written into.
    if (applicationId != kApplicationId)
        return Error::Damaged;
    if (version > kSchemaVersion)
        return Error::NewerFormat;
    if (version < kSchemaVersion)
        return Error::Damaged;
    std::int64_t ourTables = 0;
    if (Error error = readPragma("SELECT count(*) FROM sqlite_schema WHERE type = 'table' AND name IN "
                                 "('appointments', 'appointment_spans')",
                                 ourTables);
        error != Error::None)
        return error;
    if (ourTables != 2)
        return Error::Damaged;
    return checkIntegrity();
}

Error Store::checkIntegrity()
{
    // The quick check walks every page of the file once (tens of milliseconds for a store of
    // 100,000 appointments): a damaged store is found at logon, not halfway through a search.
    sqlite3_stmt* check = nullptr;
    int result = sqlite3_prepare_v2(m_connection, "PRAGMA quick_check(1)", -1, &check, nullptr);
    bool intact = false;
    if (result == SQLITE_OK) {
        result = sqlite3_step(check);
        if (result == SQLITE_ROW) {
            const auto* verdict = reinterpret_cast<const char*>(sqlite3_column_text(check, 0));
            intact = verdict && std::strcmp(verdict, "ok") == 0;
            result = SQLITE_OK;
        }
    }
    sqlite3_finalize(check);
    if (result != SQLITE_OK)
        return errorOf(result);
    return intact ? Error::None : Error::Damaged;
}

Error Store::createSchema()
{
    if (Error error = execute("BEGIN IMMEDIATE"); error != Error::None)
        return error;
    // Look again under the write lock: another program may have created it while this one waited.
    std::int64_t tables = 0;
    Error error = readPragma("SELECT count(*) FROM sqlite_schema", tables);
    if (error == Error::None && tables == 0) {
        error = execute(kSchema);
        if (error == Error::None)
            error = execute(("PRAGMA application_id = " + std::to_string(kApplicationId)).c_str());
        if (error == Error::None)
            error = execute(("PRAGMA user_version = " + std::to_string(kSchemaVersion)).c_str());
    }
    if (error == Error::None)
        error = execute("COMMIT");
    if (error != Error::None)
        sqlite3_exec(m_connection, "ROLLBACK", nullptr, nullptr, nullptr);
    return error;
}

Error Store::prepareStatements()
{
    static_assert(std::size(kQuerySql) == std::size_t(Query::Count));
    for (std::size_t i = 0; i < m_statements.size(); ++i) {
        if (m_statements[i])
            continue;
        const int result = sqlite3_prepare_v3(m_connection, kQuerySql[i], -1, SQLITE_PREPARE_PERSISTENT,
                                              &m_statements[i], nullptr);
        if (result != SQLITE_OK)
            return errorOf(result);
    }
    return Error::None;
}

void Store::finalizeStatements()
{
    for (sqlite3_stmt*& slot : m_statements) {
        sqlite3_finalize(slot);
        slot = nullptr;
    }
}

Error Store::run(Query query)
{
    sqlite3_stmt* prepared = statement(query);
    ResetOnExit reset(prepared);
    const int result = sqlite3_step(prepared);
    return result == SQLITE_DONE ? Error::None : errorOf(result);
}

template <typename Body>
Error Store::inWriteTransaction(Body body)
{
    if (Error error = run(Query::BeginWrite); error != Error::None)
        return error;
    Error error = body();
    if (error == Error::None)
        error = run(Query::Commit);
    if (error != Error::None)
        run(Query::Rollback);
    return error;
}

Error Store::validate(const AppointmentRecord& record)
{
    if (record.start < TimeLine::earliest() || record.end > TimeLine::latest() || record.end < record.start)
        return Error::InvalidAppointment;
    if (record.recurrence) {
        if (record.recurrence->startDay() != TimeLine::dayOf(record.start))
            return Error::InvalidRecurrence;
        return record.recurrence->validate();
    }
    return Error::None;
}

Error Store::bindRecord(sqlite3_stmt* prepared, const AppointmentRecord& record)
{
    int result = SQLITE_OK;
    const auto check = [&](int step) {
        if (result == SQLITE_OK)
            result = step;
    };
    check(bindBytes(prepared, 2, encodeText(record.subject)));
    check(bindBytes(prepared, 3, encodeText(record.location)));
    check(bindBytes(prepared, 4, encodeText(record.categories)));
    check(bindBytes(prepared, 5, encodeRecipients(record.recipients)));
    check(sqlite3_bind_int64(prepared, 6, record.start));
    check(sqlite3_bind_int64(prepared, 7, record.end));
    check(sqlite3_bind_int(prepared, 8, record.allDay ? 1 : 0));
    if (record.recurrence) {
        const RecurrencePattern pattern = record.recurrence->resolved();
        check(sqlite3_bind_int(prepared, 9, pattern.recurrenceType()));
        check(sqlite3_bind_int(prepared, 10, pattern.interval()));
        check(sqlite3_bind_int(prepared, 11, pattern.dayOfWeekMask()));
        check(sqlite3_bind_int(prepared, 12, pattern.dayOfMonth()));
        check(sqlite3_bind_int(prepared, 13, pattern.instance()));
        check(sqlite3_bind_int(prepared, 14, pattern.monthOfYear()));
        check(sqlite3_bind_int(prepared, 15, int(pattern.endKind())));
        if (pattern.noEndDate())
            check(sqlite3_bind_null(prepared, 16));
        else
            check(sqlite3_bind_int64(prepared, 16, pattern.endDay()));
        check(sqlite3_bind_int(prepared, 17, pattern.occurrences()));
    } // else the pattern columns stay NULL
    return errorOf(result);
}

Error Store::writeSpan(Query query, const AppointmentRecord& record)
{
    double lastDay = upperDay(record.end);
    if (record.recurrence) {
        const RecurrencePattern& pattern = *record.recurrence;
        if (pattern.noEndDate()) {
            lastDay = kOpenEndDay;
        } else {
            // The last day an occurrence may fall on, at the series' time of day and length.
            const Milliseconds intoDay = record.start - TimeLine::midnightOf(pattern.startDay());
            lastDay = upperDay(TimeLine::midnightOf(pattern.endDay()) + intoDay + (record.end - record.start));
        }
    }
    sqlite3_stmt* prepared = statement(query);
    ResetOnExit reset(prepared);
    int result = sqlite3_bind_int64(prepared, 1, record.oid);
    if (result == SQLITE_OK)
        result = sqlite3_bind_double(prepared, 2, lowerDay(record.start));
    if (result == SQLITE_OK)
        result = sqlite3_bind_double(prepared, 3, lastDay);
    if (result == SQLITE_OK)
        result = sqlite3_step(prepared);
    return result == SQLITE_DONE ? Error::None : errorOf(result);
}

Error Store::insert(AppointmentRecord& record)
{
    if (Error error = validate(record); error != Error::None)
        return error;
    std::lock_guard lock(m_mutex);
    if (!m_loggedOn)
        return Error::NotLoggedOn;
    AppointmentRecord saved = record;
    Error error = inWriteTransaction([&] {
        sqlite3_stmt* prepared = statement(Query::InsertAppointment);
        ResetOnExit reset(prepared);
        if (Error bound = bindRecord(prepared, saved); bound != Error::None)
            return bound;
        const int result = sqlite3_step(prepared);
        if ((result & 0xFF) == SQLITE_CONSTRAINT)
            return Error::StoreFull; // the identifiers are used up (end before start was checked above)
        if (result != SQLITE_DONE)
            return errorOf(result);
        saved.oid = std::uint32_t(sqlite3_last_insert_rowid(m_connection));
        return writeSpan(Query::InsertSpan, saved);
    });
    if (error == Error::None)
        record.oid = saved.oid;
    return error;
}

Error Store::update(const AppointmentRecord& record)
{
    if (Error error = validate(record); error != Error::None)
        return error;
    std::lock_guard lock(m_mutex);
    if (!m_loggedOn)
        return Error::NotLoggedOn;
    return inWriteTransaction([&] {
        sqlite3_stmt* prepared = statement(Query::UpdateAppointment);
        ResetOnExit reset(prepared);
        if (Error bound = bindRecord(prepared, record); bound != Error::None)
            return bound;
        int result = sqlite3_bind_int64(prepared, 1, record.oid);
        if (result == SQLITE_OK)
            result = sqlite3_step(prepared);
        if (result != SQLITE_DONE)
            return errorOf(result);
        if (sqlite3_changes(m_connection) == 0)
            return Error::NotFound;
        return writeSpan(Query::UpdateSpan, record);
    });
}

Error Store::remove(std::uint32_t oid)
{
    std::lock_guard lock(m_mutex);
    if (!m_loggedOn)
        return Error::NotLoggedOn;
    return inWriteTransaction([&] {
        for (Query query : {Query::DeleteAppointment, Query::DeleteSpan}) {
            sqlite3_stmt* prepared = statement(query);
            ResetOnExit reset(prepared);
            int result = sqlite3_bind_int64(prepared, 1, oid);
            if (result == SQLITE_OK)
                result = sqlite3_step(prepared);
            if (result != SQLITE_DONE)
                return errorOf(result);
            if (query == Query::DeleteAppointment && sqlite3_changes(m_connection) == 0)
                return Error::NotFound;
        }
        return Error::None;
    });
}

AppointmentRecord Store::readRecord(sqlite3_stmt* row)
{
    AppointmentRecord record;
    record.oid = std::uint32_t(sqlite3_column_int64(row, 0));
    record.subject = columnText(row, 1);
    record.location = columnText(row, 2);
    record.categories = columnText(row, 3);
    record.recipients = decodeRecipients(static_cast<const unsigned char*>(sqlite3_column_blob(row, 4)),
                                         std::size_t(sqlite3_column_bytes(row, 4)));
    record.start = sqlite3_column_int64(row, 5);
    record.end = sqlite3_column_int64(row, 6);
    record.allDay = sqlite3_column_int(row, 7) != 0;
    if (sqlite3_column_type(row, 8) != SQLITE_NULL) {
        RecurrencePattern pattern(TimeLine::dayOf(record.start));
        pattern.setRecurrenceType(sqlite3_column_int(row, 8));
        pattern.setInterval(sqlite3_column_int(row, 9));
        pattern.setDayOfWeekMask(sqlite3_column_int(row, 10));
        pattern.setDayOfMonth(sqlite3_column_int(row, 11));
        pattern.setInstance(sqlite3_column_int(row, 12));
        pattern.setMonthOfYear(sqlite3_column_int(row, 13));
        const int endKind = sqlite3_column_int(row, 14);
        const std::int64_t endDay = sqlite3_column_int64(row, 15);
        const int occurrences = sqlite3_column_int(row, 16);
        if (endKind == int(RecurrencePattern::EndKind::EndDate)) {
            pattern.setPatternEndDate(TimeLine::toDateTime(TimeLine::midnightOf(endDay)));
            pattern.setDerivedEnd(endDay, occurrences);
        } else if (endKind == int(RecurrencePattern::EndKind::Count)) {
            pattern.setOccurrences(occurrences);
            pattern.setDerivedEnd(endDay, occurrences);
        }
        record.recurrence = pattern;
    }
    return record;
}

Error Store::fetch(std::uint32_t oid, AppointmentRecord& record)
{
    std::lock_guard lock(m_mutex);
    if (!m_loggedOn)
        return Error::NotLoggedOn;
    sqlite3_stmt* prepared = statement(Query::Fetch);
    ResetOnExit reset(prepared);
    int result = sqlite3_bind_int64(prepared, 1, oid);
    if (result == SQLITE_OK)
        result = sqlite3_step(prepared);
    if (result == SQLITE_DONE)
        return Error::NotFound;
    if (result != SQLITE_ROW)
        return errorOf(result);
    record = readRecord(prepared);
    return Error::None;
}

Error Store::overlapping(Milliseconds from, Milliseconds to, std::vector<AppointmentRecord>& out)
{
    std::lock_guard lock(m_mutex);
    if (!m_loggedOn)
        return Error::NotLoggedOn;
    sqlite3_stmt* prepared = statement(Query::Overlapping);
    ResetOnExit reset(prepared);
    int result = sqlite3_bind_double(prepared, 1, double(from) / double(kMillisecondsPerDay));
    if (result == SQLITE_OK)
        result = sqlite3_bind_double(prepared, 2, double(to) / double(kMillisecondsPerDay));
    while (result == SQLITE_OK || result == SQLITE_ROW) {
        result = sqlite3_step(prepared);
        if (result == SQLITE_ROW)
            out.push_back(readRecord(prepared));
    }
    return result == SQLITE_DONE ? Error::None : errorOf(result);
}

} // namespace pim
