#pragma once
// The SQLite connection behind the object model: the schema, the prepared statements and the
// index of time spans.
//
// Layout. `appointments` holds one row per appointment (a series is one row with its pattern),
// keyed by its object identifier. `appointment_spans` is an R*Tree of each row's span in days on
// the true time line: a single appointment from its start to its end, a series from its first
// start to the end of its last possible occurrence (open-ended series reach past year 9999). A
// period query asks the tree for the spans that touch the period and reads only those rows, so it
// costs what the period holds, not what the store holds. The tree keeps 32-bit floats; spans are
// rounded outward before they are written, so the tree may name a row that misses the period by a
// few minutes (the caller filters exactly) but never misses one that touches it.
//
// Object identifiers come from AUTOINCREMENT, so a deleted appointment's identifier is never
// given again (a calendar that still shows it cannot open a different appointment by it); the
// table's CHECK keeps them within 1 to 0xFFFFFFFE.
//
// Sharing. Several programs open the same file: the connection (platform/sqlite) runs in WAL mode
// (readers never wait for a writer) with a busy time-out for writers and for a file held
// exclusively. Every write is one transaction. One Store may be used from several threads; its
// calls are serialised. Statements are prepared once, at logon, and kept.

#include "platform/pim/AppointmentRecord.h"
#include "platform/pim/Error.h"
#include "platform/sqlite/Error.h"

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <string_view>
#include <vector>

namespace sqlite {
class Connection;
class Statement;
} // namespace sqlite

namespace pim {

class Store {
public:
    // The schema version this code writes and understands, and the file's application id ("TPIM").
    // Version 2 added each appointment's identity (uid, recurrence_id) and a series' deleted
    // occurrences; a version-1 file is upgraded at logon.
    static constexpr int kSchemaVersion = 2;
    static constexpr std::int32_t kApplicationId = 0x5450494D;

    // Opens (creating when missing) the file. Fails when it cannot be opened for writing; does
    // not read it yet.
    static std::shared_ptr<Store> open(const std::filesystem::path& file, std::chrono::milliseconds busyTimeout,
                                       Error& error);
    ~Store();
    Store(const Store&) = delete;
    Store& operator=(const Store&) = delete;

    // Reads the file (creating the schema in an empty one), checks it and prepares the
    // statements. Busy when another program holds the file beyond the time-out; Damaged for a
    // file that is no appointment store or fails the integrity check; NewerFormat for one of a
    // newer schema. The integrity check reads the whole file, so it runs only when the file has
    // changed since it last passed (IntegrityStamp).
    Error logon();
    void logoff();
    bool isLoggedOn() const;

    // Gives the record its object identifier, and a uid of its own when it has none.
    // DuplicateUid when another appointment has its uid and recurrence id.
    Error insert(AppointmentRecord& record);
    // NotFound when the appointment has been deleted meanwhile; DuplicateUid as insert.
    Error update(AppointmentRecord& record);
    Error remove(std::uint32_t oid);
    Error fetch(std::uint32_t oid, AppointmentRecord& record);
    // Every appointment whose uid is `uid`, in no particular order.
    Error withUid(std::string_view uid, std::vector<AppointmentRecord>& out);
    // Runs `changes` (calls of this store from the same thread) in one write transaction: all of
    // them land, or none does when `changes` or the commit fails. Other threads wait meanwhile;
    // other programs read the store as it was until the commit.
    Error transact(const std::function<Error()>& changes);
    // Every appointment whose span touches [from, to], in no particular order; more may come
    // than touch it (see above), none that touch it are missed.
    Error overlapping(Milliseconds from, Milliseconds to, std::vector<AppointmentRecord>& out);

    // InvalidAppointment or InvalidRecurrence for a record the store must not keep.
    static Error validate(const AppointmentRecord& record);

private:
    enum class Query {
        InsertAppointment,
        InsertSpan,
        UpdateAppointment,
        UpdateSpan,
        DeleteAppointment,
        DeleteSpan,
        Fetch,
        Overlapping,
        WithUid,
        UidTaken,
        Count,
    };

    Store(std::unique_ptr<sqlite::Connection> connection, std::filesystem::path file);
    Error prepareSchema();
    Error createSchema();
    Error checkIntegrity();
    Error upgradeSchema();
    bool isUidTaken(const AppointmentRecord& record);
    // Runs `body` in a write transaction, which commits only when it succeeds.
    template <typename Body>
    Error inWriteTransaction(Body body);
    Error writeSpan(Query query, const AppointmentRecord& record);
    static void bindRecord(sqlite::Statement& statement, const AppointmentRecord& record);
    static AppointmentRecord readRecord(const sqlite::Statement& row);
    static Error errorOf(sqlite::Error error);

    // Recursive: the calls made within transact() take it again.
    mutable std::recursive_mutex m_mutex;
    int m_transactionDepth = 0;
    std::unique_ptr<sqlite::Connection> m_connection;
    std::filesystem::path m_file;
    bool m_loggedOn = false;
};

} // namespace pim
