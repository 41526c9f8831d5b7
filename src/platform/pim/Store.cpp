#include "platform/pim/Store.h"

#include "platform/device/VariantTime.h"
#include "platform/pim/IntegrityStamp.h"
#include "platform/sqlite/Connection.h"
#include "platform/sqlite/Statement.h"
#include "platform/sqlite/Transaction.h"

#include <cmath>
#include <cstdio>
#include <random>
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
    occurrences         INTEGER,
    uid                 TEXT NOT NULL DEFAULT '',
    recurrence_id       TEXT NOT NULL DEFAULT '',
    deleted_days        BLOB
);
CREATE VIRTUAL TABLE appointment_spans USING rtree(oid, first_day, last_day);
CREATE UNIQUE INDEX appointment_uids ON appointments(uid, recurrence_id);
)sql";

// Version 1 had neither identities nor deleted occurrences: its appointments get identities of
// their own, as new ones do when first saved.
const char* const kUpgradeFrom1 = R"sql(
ALTER TABLE appointments ADD COLUMN uid TEXT NOT NULL DEFAULT '';
ALTER TABLE appointments ADD COLUMN recurrence_id TEXT NOT NULL DEFAULT '';
ALTER TABLE appointments ADD COLUMN deleted_days BLOB;
UPDATE appointments SET uid = lower(hex(randomblob(16))) || '@tavrel';
CREATE UNIQUE INDEX appointment_uids ON appointments(uid, recurrence_id);
PRAGMA user_version = 2;
)sql";

// Texts are kept as UTF-16LE bytes, so that every text comes back exactly as it was given (lone
// surrogates included); recipients as a list of (32-bit little-endian length, UTF-16LE units).
#define PIM_COLUMNS                                                                                      \
    "a.oid, a.subject, a.location, a.categories, a.recipients, a.start_ms, a.end_ms, a.all_day, "         \
    "a.recurrence_type, a.recurrence_interval, a.day_of_week_mask, a.day_of_month, a.instance, "         \
    "a.month_of_year, a.end_kind, a.end_day, a.occurrences, a.uid, a.recurrence_id, a.deleted_days"

const char* const kQuerySql[] = {
    "INSERT INTO appointments(subject, location, categories, recipients, start_ms, end_ms, all_day, "
    "recurrence_type, recurrence_interval, day_of_week_mask, day_of_month, instance, month_of_year, end_kind, "
    "end_day, occurrences, uid, recurrence_id, deleted_days) "
    "VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, ?12, ?13, ?14, ?15, ?16, ?17, ?18, ?19)",
    "INSERT INTO appointment_spans(oid, first_day, last_day) VALUES (?1, ?2, ?3)",
    "UPDATE appointments SET subject = ?1, location = ?2, categories = ?3, recipients = ?4, start_ms = ?5, "
    "end_ms = ?6, all_day = ?7, recurrence_type = ?8, recurrence_interval = ?9, day_of_week_mask = ?10, "
    "day_of_month = ?11, instance = ?12, month_of_year = ?13, end_kind = ?14, end_day = ?15, occurrences = ?16, "
    "uid = ?17, recurrence_id = ?18, deleted_days = ?19 WHERE oid = ?20",
    "UPDATE appointment_spans SET first_day = ?2, last_day = ?3 WHERE oid = ?1",
    "DELETE FROM appointments WHERE oid = ?1",
    "DELETE FROM appointment_spans WHERE oid = ?1",
    "SELECT " PIM_COLUMNS " FROM appointments AS a WHERE a.oid = ?1",
    // CROSS JOIN keeps the tree as the outer loop: it picks the rows, the table is read by key.
    "SELECT " PIM_COLUMNS " FROM appointment_spans AS s CROSS JOIN appointments AS a ON a.oid = s.oid "
    "WHERE s.last_day >= ?1 AND s.first_day <= ?2",
    "SELECT " PIM_COLUMNS " FROM appointments AS a WHERE a.uid = ?1",
    "SELECT count(*) FROM appointments WHERE uid = ?1 AND recurrence_id = ?2 AND oid != ?3",
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

device::WideString unitsOf(std::string_view bytes)
{
    device::WideString text;
    text.reserve(bytes.size() / 2);
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2)
        text += device::WChar(std::uint8_t(bytes[i]) | (std::uint8_t(bytes[i + 1]) << 8));
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
Recipients decodeRecipients(std::string_view bytes)
{
    Recipients recipients;
    std::size_t at = 0;
    const auto byteAt = [&bytes](std::size_t index) { return std::uint32_t(std::uint8_t(bytes[index])); };
    while (bytes.size() - at >= 4) {
        const std::uint32_t length = byteAt(at) | byteAt(at + 1) << 8 | byteAt(at + 2) << 16 | byteAt(at + 3) << 24;
        at += 4;
        if (std::size_t(length) > (bytes.size() - at) / 2)
            break;
        recipients.add(unitsOf(bytes.substr(at, std::size_t(length) * 2)));
        at += std::size_t(length) * 2;
    }
    return recipients;
}

// Deleted occurrences as 32-bit little-endian day numbers; NULL when there are none.
std::string encodeDays(const std::vector<std::int64_t>& days)
{
    std::string bytes;
    bytes.reserve(days.size() * 4);
    for (std::int64_t day : days) {
        const std::uint32_t value = std::uint32_t(std::int32_t(day));
        for (int shift = 0; shift < 32; shift += 8)
            bytes += char((value >> shift) & 0xFF);
    }
    return bytes;
}

void decodeDays(std::string_view bytes, RecurrencePattern& pattern)
{
    for (std::size_t at = 0; at + 4 <= bytes.size(); at += 4) {
        std::uint32_t value = 0;
        for (int i = 0; i < 4; ++i)
            value |= std::uint32_t(std::uint8_t(bytes[at + std::size_t(i)])) << (8 * i);
        pattern.deleteOccurrenceOn(std::int32_t(value));
    }
}

// A fresh identity: 128 random bits, as the upgrade of version 1 gives them.
std::string newUid()
{
    static std::mutex mutex;
    static std::mt19937_64 random {std::random_device {}()};
    std::lock_guard lock(mutex);
    char text[48];
    std::snprintf(text, sizeof text, "%016llx%016llx@tavrel", static_cast<unsigned long long>(random()),
                  static_cast<unsigned long long>(random()));
    return text;
}

} // namespace

Store::Store(std::unique_ptr<sqlite::Connection> connection, std::filesystem::path file)
    : m_connection(std::move(connection)), m_file(std::move(file))
{
    static_assert(std::size(kQuerySql) == std::size_t(Query::Count));
    m_connection->setQueries(kQuerySql);
}

Store::~Store() = default;

std::shared_ptr<Store> Store::open(const std::filesystem::path& file, std::chrono::milliseconds busyTimeout,
                                   Error& error)
{
    sqlite::Error failure = sqlite::Error::None;
    std::unique_ptr<sqlite::Connection> connection = sqlite::Connection::open(file, busyTimeout, failure);
    if (!connection) {
        error = failure == sqlite::Error::NoMemory ? Error::IoFailed : Error::CannotOpen;
        return nullptr;
    }
    // SQLite falls back to reading only when the file is write-protected; the store must write.
    if (connection->isReadOnly()) {
        error = Error::ReadOnly;
        return nullptr;
    }
    error = Error::None;
    return std::shared_ptr<Store>(new Store(std::move(connection), file));
}

Error Store::errorOf(sqlite::Error error)
{
    switch (error) {
    case sqlite::Error::None: return Error::None;
    case sqlite::Error::Busy: return Error::Busy;
    case sqlite::Error::NotADatabase:
    case sqlite::Error::Corrupt:
    case sqlite::Error::SchemaMismatch: // a statement that no longer fits the file's tables
        return Error::Damaged;
    case sqlite::Error::ReadOnly: return Error::ReadOnly;
    case sqlite::Error::CannotOpen: return Error::CannotOpen;
    case sqlite::Error::Constraint:
    case sqlite::Error::TypeMismatch:
    case sqlite::Error::TooBig:
    case sqlite::Error::NoMemory:
    case sqlite::Error::Io: return Error::IoFailed;
    }
    return Error::IoFailed;
}

Error Store::logon()
{
    std::lock_guard lock(m_mutex);
    if (m_loggedOn)
        return Error::None;
    Error error = prepareSchema();
    if (error == Error::None)
        error = errorOf(m_connection->prepareQueries());
    if (error != Error::None) {
        m_connection->finalizeQueries();
        return error;
    }
    m_loggedOn = true;
    return Error::None;
}

void Store::logoff()
{
    std::lock_guard lock(m_mutex);
    m_loggedOn = false;
    m_connection->finalizeQueries();
}

bool Store::isLoggedOn() const
{
    std::lock_guard lock(m_mutex);
    return m_loggedOn;
}

Error Store::prepareSchema()
{
    // WAL lets the calendar read while the admin tool writes. This is also the first statement
    // that reads the file, so it is the one that finds a file that is not a database, or one held
    // locked (sqlite::Connection::useWriteAheadLog).
    if (Error error = errorOf(m_connection->useWriteAheadLog()); error != Error::None)
        return error;

    std::int64_t applicationId = 0;
    std::int64_t version = 0;
    std::int64_t tables = 0;
    for (int attempt = 0; attempt < 2; ++attempt) {
        if (Error error = errorOf(m_connection->queryInteger("PRAGMA application_id", applicationId));
            error != Error::None)
            return error;
        if (Error error = errorOf(m_connection->queryInteger("PRAGMA user_version", version)); error != Error::None)
            return error;
        if (Error error = errorOf(m_connection->queryInteger("SELECT count(*) FROM sqlite_schema", tables));
            error != Error::None)
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
    if (version == 1) {
        if (Error error = upgradeSchema(); error != Error::None)
            return error;
    } else if (version < kSchemaVersion) {
        return Error::Damaged;
    }
    std::int64_t ourTables = 0;
    if (Error error = errorOf(m_connection->queryInteger("SELECT count(*) FROM sqlite_schema WHERE type = 'table' "
                                                         "AND name IN ('appointments', 'appointment_spans')",
                                                         ourTables));
        error != Error::None)
        return error;
    if (ourTables != 2)
        return Error::Damaged;
    return checkIntegrity();
}

Error Store::checkIntegrity()
{
    // The quick check walks every page of the file once (milliseconds for a store of 10,000
    // appointments, tens of them for 100,000): a damaged store is found at logon, not halfway
    // through a search. A file that nothing has written to since it last passed is not read again;
    // damage that came without a write is still found where a statement meets it.
    const IntegrityStamp stamp = IntegrityStamp::of(m_file);
    if (stamp.isRecorded())
        return Error::None;
    std::string verdict;
    if (Error error = errorOf(m_connection->queryText("PRAGMA quick_check(1)", verdict)); error != Error::None)
        return error;
    if (verdict != "ok")
        return Error::Damaged;
    stamp.record();
    return Error::None;
}

Error Store::createSchema()
{
    sqlite::Transaction transaction(*m_connection, sqlite::Transaction::Kind::Write);
    if (transaction.error() != sqlite::Error::None)
        return errorOf(transaction.error());
    // Look again under the write lock: another program may have created it while this one waited.
    std::int64_t tables = 0;
    Error error = errorOf(m_connection->queryInteger("SELECT count(*) FROM sqlite_schema", tables));
    if (error == Error::None && tables == 0) {
        error = errorOf(m_connection->execute(kSchema));
        if (error == Error::None)
            error = errorOf(
                m_connection->execute(("PRAGMA application_id = " + std::to_string(kApplicationId)).c_str()));
        if (error == Error::None)
            error = errorOf(m_connection->execute(("PRAGMA user_version = " + std::to_string(kSchemaVersion)).c_str()));
    }
    if (error == Error::None)
        error = errorOf(transaction.commit());
    return error;
}

Error Store::upgradeSchema()
{
    sqlite::Transaction transaction(*m_connection, sqlite::Transaction::Kind::Write);
    if (transaction.error() != sqlite::Error::None)
        return errorOf(transaction.error());
    // Look again under the write lock: another program may have upgraded it while this one waited.
    std::int64_t version = 0;
    Error error = errorOf(m_connection->queryInteger("PRAGMA user_version", version));
    if (error == Error::None && version == 1)
        error = errorOf(m_connection->execute(kUpgradeFrom1));
    if (error == Error::None)
        error = errorOf(transaction.commit());
    return error;
}

template <typename Body>
Error Store::inWriteTransaction(Body body)
{
    // Within transact(), every change joins the one transaction.
    if (m_transactionDepth > 0)
        return body();
    sqlite::Transaction transaction(*m_connection, sqlite::Transaction::Kind::Write);
    if (transaction.error() != sqlite::Error::None)
        return errorOf(transaction.error());
    Error error = body();
    if (error == Error::None)
        error = errorOf(transaction.commit());
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

void Store::bindRecord(sqlite::Statement& statement, const AppointmentRecord& record)
{
    statement.bindBlob(encodeText(record.subject))
        .bindBlob(encodeText(record.location))
        .bindBlob(encodeText(record.categories))
        .bindBlob(encodeRecipients(record.recipients))
        .bindInteger(record.start)
        .bindInteger(record.end)
        .bindInteger(record.allDay ? 1 : 0);
    if (record.recurrence) {
        const RecurrencePattern pattern = record.recurrence->resolved();
        statement.bindInteger(pattern.recurrenceType())
            .bindInteger(pattern.interval())
            .bindInteger(pattern.dayOfWeekMask())
            .bindInteger(pattern.dayOfMonth())
            .bindInteger(pattern.instance())
            .bindInteger(pattern.monthOfYear())
            .bindInteger(int(pattern.endKind()));
        if (pattern.noEndDate())
            statement.bindNull();
        else
            statement.bindInteger(pattern.endDay());
        statement.bindInteger(pattern.occurrences());
    } else {
        // The pattern columns stay NULL.
        for (int column = 0; column < 9; ++column)
            statement.bindNull();
    }
    statement.bindText(record.uid).bindText(record.recurrenceId);
    if (record.recurrence && !record.recurrence->deletedOccurrences().empty())
        statement.bindBlob(encodeDays(record.recurrence->deletedOccurrences()));
    else
        statement.bindNull();
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
    sqlite::Statement span(*m_connection, query);
    span.bindInteger(record.oid).bindReal(lowerDay(record.start)).bindReal(lastDay);
    return errorOf(span.run());
}

Error Store::insert(AppointmentRecord& record)
{
    if (Error error = validate(record); error != Error::None)
        return error;
    std::lock_guard lock(m_mutex);
    if (!m_loggedOn)
        return Error::NotLoggedOn;
    AppointmentRecord saved = record;
    if (saved.uid.empty())
        saved.uid = newUid();
    Error error = inWriteTransaction([&] {
        sqlite::Statement insert(*m_connection, Query::InsertAppointment);
        bindRecord(insert, saved);
        const sqlite::Error result = insert.run();
        if (result == sqlite::Error::Constraint)
            // Either the identity is taken, or the identifiers are used up (end before start was
            // checked above).
            return isUidTaken(saved) ? Error::DuplicateUid : Error::StoreFull;
        if (result != sqlite::Error::None)
            return errorOf(result);
        saved.oid = std::uint32_t(m_connection->lastInsertId());
        return writeSpan(Query::InsertSpan, saved);
    });
    if (error == Error::None) {
        record.oid = saved.oid;
        record.uid = saved.uid;
    }
    return error;
}

Error Store::update(AppointmentRecord& record)
{
    if (Error error = validate(record); error != Error::None)
        return error;
    std::lock_guard lock(m_mutex);
    if (!m_loggedOn)
        return Error::NotLoggedOn;
    AppointmentRecord saved = record;
    if (saved.uid.empty())
        saved.uid = newUid();
    Error error = inWriteTransaction([&] {
        sqlite::Statement update(*m_connection, Query::UpdateAppointment);
        bindRecord(update, saved);
        update.bindInteger(saved.oid);
        const sqlite::Error result = update.run();
        if (result == sqlite::Error::Constraint && isUidTaken(saved))
            return Error::DuplicateUid;
        if (result != sqlite::Error::None)
            return errorOf(result);
        if (m_connection->changes() == 0)
            return Error::NotFound;
        return writeSpan(Query::UpdateSpan, saved);
    });
    if (error == Error::None)
        record.uid = saved.uid;
    return error;
}

bool Store::isUidTaken(const AppointmentRecord& record)
{
    sqlite::Statement taken(*m_connection, Query::UidTaken);
    std::int64_t count = 0;
    if (taken.bindText(record.uid).bindText(record.recurrenceId).bindInteger(record.oid).next())
        count = taken.integer(0);
    return count > 0;
}

Error Store::withUid(std::string_view uid, std::vector<AppointmentRecord>& out)
{
    std::lock_guard lock(m_mutex);
    if (!m_loggedOn)
        return Error::NotLoggedOn;
    sqlite::Statement withUid(*m_connection, Query::WithUid);
    withUid.bindText(uid);
    while (withUid.next())
        out.push_back(readRecord(withUid));
    return errorOf(withUid.error());
}

Error Store::transact(const std::function<Error()>& changes)
{
    std::lock_guard lock(m_mutex);
    if (!m_loggedOn)
        return Error::NotLoggedOn;
    ++m_transactionDepth;
    Error error = Error::None;
    if (m_transactionDepth > 1) {
        error = changes();
    } else {
        sqlite::Transaction transaction(*m_connection, sqlite::Transaction::Kind::Write);
        error = errorOf(transaction.error());
        if (error == Error::None)
            error = changes();
        if (error == Error::None)
            error = errorOf(transaction.commit());
    }
    --m_transactionDepth;
    return error;
}

Error Store::remove(std::uint32_t oid)
{
    std::lock_guard lock(m_mutex);
    if (!m_loggedOn)
        return Error::NotLoggedOn;
    return inWriteTransaction([&] {
        for (Query query : {Query::DeleteAppointment, Query::DeleteSpan}) {
            sqlite::Statement removal(*m_connection, query);
            if (const sqlite::Error result = removal.bindInteger(oid).run(); result != sqlite::Error::None)
                return errorOf(result);
            if (query == Query::DeleteAppointment && m_connection->changes() == 0)
                return Error::NotFound;
        }
        return Error::None;
    });
}

AppointmentRecord Store::readRecord(const sqlite::Statement& row)
{
    AppointmentRecord record;
    record.oid = std::uint32_t(row.integer(0));
    record.subject = unitsOf(row.blob(1));
    record.location = unitsOf(row.blob(2));
    record.categories = unitsOf(row.blob(3));
    record.recipients = decodeRecipients(row.blob(4));
    record.start = row.integer(5);
    record.end = row.integer(6);
    record.allDay = row.integer(7) != 0;
    if (!row.isNull(8)) {
        RecurrencePattern pattern(TimeLine::dayOf(record.start));
        pattern.setRecurrenceType(int(row.integer(8)));
        pattern.setInterval(int(row.integer(9)));
        pattern.setDayOfWeekMask(int(row.integer(10)));
        pattern.setDayOfMonth(int(row.integer(11)));
        pattern.setInstance(int(row.integer(12)));
        pattern.setMonthOfYear(int(row.integer(13)));
        const int endKind = int(row.integer(14));
        const std::int64_t endDay = row.integer(15);
        const int occurrences = int(row.integer(16));
        if (endKind == int(RecurrencePattern::EndKind::EndDate)) {
            pattern.setPatternEndDate(TimeLine::toDateTime(TimeLine::midnightOf(endDay)));
            pattern.setDerivedEnd(endDay, occurrences);
        } else if (endKind == int(RecurrencePattern::EndKind::Count)) {
            pattern.setOccurrences(occurrences);
            pattern.setDerivedEnd(endDay, occurrences);
        }
        if (!row.isNull(19))
            decodeDays(row.blob(19), pattern);
        record.recurrence = pattern;
    }
    record.uid = row.text(17);
    record.recurrenceId = row.text(18);
    return record;
}

Error Store::fetch(std::uint32_t oid, AppointmentRecord& record)
{
    std::lock_guard lock(m_mutex);
    if (!m_loggedOn)
        return Error::NotLoggedOn;
    sqlite::Statement fetch(*m_connection, Query::Fetch);
    if (fetch.bindInteger(oid).next()) {
        record = readRecord(fetch);
        return Error::None;
    }
    return fetch.error() == sqlite::Error::None ? Error::NotFound : errorOf(fetch.error());
}

Error Store::overlapping(Milliseconds from, Milliseconds to, std::vector<AppointmentRecord>& out)
{
    std::lock_guard lock(m_mutex);
    if (!m_loggedOn)
        return Error::NotLoggedOn;
    sqlite::Statement overlapping(*m_connection, Query::Overlapping);
    overlapping.bindReal(double(from) / double(kMillisecondsPerDay)).bindReal(double(to) / double(kMillisecondsPerDay));
    while (overlapping.next())
        out.push_back(readRecord(overlapping));
    return errorOf(overlapping.error());
}

} // namespace pim
