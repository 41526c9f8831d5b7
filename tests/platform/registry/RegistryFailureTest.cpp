// A registry file that is damaged, foreign, too new or locked by another writer makes operations
// fail with an error code: never a crash, never an exception, never a rewrite of the file.

#include "RegistryTestHelpers.h"
#include "TempDevice.h"

#include <fstream>
#include <memory>
#include <gtest/gtest.h>
#include <sqlite3.h>

using namespace registry_test;
using testing_support::TempDevice;

namespace {

void writeFile(const std::filesystem::path& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), std::streamsize(bytes.size()));
}

std::string readFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::string garbage(std::size_t size, unsigned seed)
{
    std::string bytes(size, '\0');
    for (auto& byte : bytes) {
        seed = seed * 1103515245u + 12345u;
        byte = char(seed >> 16);
    }
    return bytes;
}

// Every kind of operation on a store that cannot be used fails with `expected`.
void expectEveryOperationFails(Status expected)
{
    HKEY key = nullptr;
    EXPECT_EQ(createKey(HKEY_CURRENT_USER, u"Software\\Orvix\\Tavrel", &key, nullptr), expected);
    EXPECT_EQ(key, nullptr);
    EXPECT_EQ(openKey(HKEY_CURRENT_USER, u"Software", &key), expected);
    EXPECT_EQ(setDword(HKEY_CURRENT_USER, u"Value", 1), expected);
    std::uint32_t size = 0;
    EXPECT_EQ(queryValue(HKEY_CURRENT_USER, u"Value", nullptr, nullptr, &size), expected);
    EXPECT_EQ(deleteValue(HKEY_CURRENT_USER, u"Value"), expected);
    WChar name[260];
    std::uint32_t length = 260;
    EXPECT_EQ(enumKey(HKEY_LOCAL_MACHINE, 0, name, &length), expected);
    EXPECT_EQ(enumValue(HKEY_LOCAL_MACHINE, 0, name, &length, nullptr, nullptr, nullptr), expected);
    EXPECT_EQ(deleteKey(HKEY_CURRENT_USER, u"Software"), expected);
}

struct Connection {
    explicit Connection(const std::filesystem::path& file) { sqlite3_open(file.c_str(), &db); }
    ~Connection() { sqlite3_close(db); }
    int exec(const char* sql) { return sqlite3_exec(db, sql, nullptr, nullptr, nullptr); }
    sqlite3* db = nullptr;
};

} // namespace

TEST(RegistryFailure, GarbageFileFailsCleanlyAndIsLeftAlone)
{
    TempDevice device;
    std::filesystem::path file = device.root() / "registry.db";
    for (const std::string& content : {garbage(8192, 7), std::string("SQLite format 3", 16) + garbage(4080, 9)}) {
        writeFile(file, content);
        registry::useDatabase(file); // a fresh connection for each kind of damage
        expectEveryOperationFails(ERROR_BADDB);
        EXPECT_EQ(readFile(file), content);
        registry::useDatabase({});
    }
    // Once the damaged file is gone, the next operation starts a new store.
    std::filesystem::remove(file);
    EXPECT_EQ(setDword(HKEY_CURRENT_USER, u"Value", 1), ERROR_SUCCESS);
    EXPECT_EQ(readDword(HKEY_CURRENT_USER, u"Value"), 1u);
}

TEST(RegistryFailure, DamageFoundInAStoreInUseFailsCleanly)
{
    TempDevice device;
    std::filesystem::path file = device.root() / "registry.db";
    ScopedKey key;
    ASSERT_EQ(ScopedKey::create(HKEY_CURRENT_USER, u"Software\\Orvix\\Tavrel", key), ERROR_SUCCESS);
    for (int i = 0; i < 200; ++i)
        ASSERT_EQ(setText(key.get(), device::fromUtf8("Value" + std::to_string(i)), std::u16string(100, u'x')),
                  ERROR_SUCCESS);
    key.reset();
    // Closing the connection folds the journal into the file; then damage every page after the
    // first, where the tables and indexes live.
    registry::useDatabase(device.root() / "elsewhere.db");
    std::string content = readFile(file);
    ASSERT_GT(content.size(), 8192u);
    content.replace(4096, content.size() - 4096, garbage(content.size() - 4096, 3));
    writeFile(file, content);
    registry::useDatabase({});

    Status status = ScopedKey::open(HKEY_CURRENT_USER, u"Software\\Orvix\\Tavrel", key);
    if (status == ERROR_SUCCESS) {
        auto names = valueNames(key.get());
        EXPECT_LT(names.size(), 200u);
    } else {
        EXPECT_EQ(status, ERROR_BADDB);
    }
    EXPECT_NE(setDword(HKEY_CURRENT_USER, u"New", 1), ERROR_SUCCESS);
}

TEST(RegistryFailure, ForeignAndNewerDatabasesAreRefusedUntouched)
{
    TempDevice device;
    std::filesystem::path foreign = device.root() / "foreign.db";
    {
        Connection other(foreign);
        ASSERT_EQ(other.exec("CREATE TABLE appointments(id INTEGER PRIMARY KEY, subject TEXT)"), SQLITE_OK);
    }
    registry::useDatabase(foreign);
    {
        SCOPED_TRACE("foreign");
        expectEveryOperationFails(ERROR_BADDB);
    }
    {
        Connection other(foreign);
        sqlite3_stmt* statement = nullptr;
        ASSERT_EQ(sqlite3_prepare_v2(other.db, "SELECT count(*) FROM sqlite_schema", -1, &statement, nullptr), SQLITE_OK);
        ASSERT_EQ(sqlite3_step(statement), SQLITE_ROW);
        EXPECT_EQ(sqlite3_column_int(statement, 0), 1); // no registry tables were added to it
        sqlite3_finalize(statement);
    }

    // A store written by a later version of the registry is not guessed at.
    std::filesystem::path newer = device.root() / "newer.db";
    registry::useDatabase(newer);
    ASSERT_EQ(setDword(HKEY_CURRENT_USER, u"Value", 1), ERROR_SUCCESS);
    registry::useDatabase(foreign);
    {
        Connection other(newer);
        ASSERT_EQ(other.exec("PRAGMA user_version = 99"), SQLITE_OK);
    }
    registry::useDatabase(newer);
    {
        SCOPED_TRACE("newer");
        expectEveryOperationFails(ERROR_BADDB);
    }

    registry::useDatabase(device.root() / "no-such-folder" / "registry.db");
    expectEveryOperationFails(ERROR_REGISTRY_IO_FAILED);
    registry::useDatabase({});
}

TEST(RegistryFailure, AWriterHoldingTheLockMakesWritesTimeOutWhileReadsGoOn)
{
    TempDevice device;
    ASSERT_EQ(setDword(HKEY_CURRENT_USER, u"Before", 1), ERROR_SUCCESS);
    ScopedKey key;
    ASSERT_EQ(ScopedKey::create(HKEY_CURRENT_USER, u"Held", key), ERROR_SUCCESS);
    registry::setBusyTimeout(std::chrono::milliseconds(200));

    auto other = std::make_unique<Connection>(device.root() / "registry.db");
    ASSERT_EQ(other->exec("BEGIN EXCLUSIVE; DELETE FROM key_values"), SQLITE_OK);
    EXPECT_EQ(setDword(HKEY_CURRENT_USER, u"During", 2), ERROR_TIMEOUT);
    HKEY created = nullptr;
    EXPECT_EQ(createKey(HKEY_CURRENT_USER, u"New", &created, nullptr), ERROR_TIMEOUT);
    EXPECT_EQ(created, nullptr);
    EXPECT_EQ(deleteKey(HKEY_CURRENT_USER, u"Held"), ERROR_TIMEOUT);
    EXPECT_EQ(deleteValue(HKEY_CURRENT_USER, u"Before"), ERROR_TIMEOUT);
    // Readers see the last committed state, not the other writer's uncommitted change.
    EXPECT_EQ(readDword(HKEY_CURRENT_USER, u"Before"), 1u);

    ASSERT_EQ(other->exec("ROLLBACK"), SQLITE_OK);
    other.reset();
    EXPECT_EQ(setDword(key.get(), u"After", 3), ERROR_SUCCESS);
    EXPECT_EQ(readDword(key.get(), u"After"), 3u);

    // A connection that keeps the file locked for itself shuts out readers too: opening the
    // store times out, and so does every operation until the lock is released.
    registry::useDatabase(device.root() / "elsewhere.db");
    Connection exclusive(device.root() / "registry.db");
    ASSERT_EQ(exclusive.exec("PRAGMA locking_mode = EXCLUSIVE; BEGIN EXCLUSIVE; DELETE FROM key_values"), SQLITE_OK);
    registry::useDatabase({});
    expectEveryOperationFails(ERROR_TIMEOUT);
    ASSERT_EQ(exclusive.exec("ROLLBACK"), SQLITE_OK);
    sqlite3_close(exclusive.db);
    exclusive.db = nullptr;
    EXPECT_EQ(readDword(HKEY_CURRENT_USER, u"Before"), 1u);
    registry::setBusyTimeout(std::chrono::seconds(5));
}
