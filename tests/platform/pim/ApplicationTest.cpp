// Opening, logging on and the object identifiers: the failure modes are real ones.

#include "PimTesting.h"

#include "platform/pim/Store.h"

#include <sqlite3.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <set>

namespace {

using namespace pim;
using pim_testing::at;
using pim_testing::StoreTest;

constexpr std::chrono::milliseconds kShortWait {100};

std::unique_ptr<Application> open(const std::filesystem::path& file, Error* error = nullptr)
{
    return Application::create(file, Application::Options {kShortWait}, error);
}

// A second connection of the test's own, as another program would hold one.
class RawConnection {
public:
    explicit RawConnection(const std::filesystem::path& file) { sqlite3_open(file.c_str(), &m_db); }
    ~RawConnection() { sqlite3_close(m_db); }
    int exec(const char* sql) { return sqlite3_exec(m_db, sql, nullptr, nullptr, nullptr); }

private:
    sqlite3* m_db = nullptr;
};

class ApplicationTest : public ::testing::Test {
protected:
    std::filesystem::path file() const { return device.root() / "pim.db"; }
    testing_support::TempDevice device;
};

TEST_F(ApplicationTest, CreateFailsWhenTheFileCannotBeOpened)
{
    Error error = Error::None;
    std::filesystem::create_directory(file());
    EXPECT_FALSE(open(file(), &error));
    EXPECT_EQ(error, Error::CannotOpen);

    // A folder that cannot exist: its parent is a file.
    std::ofstream(device.root() / "plain-file") << "x";
    EXPECT_FALSE(open(device.root() / "plain-file" / "pim.db", &error));
    EXPECT_EQ(error, Error::CannotOpen);
}

TEST_F(ApplicationTest, CreateFailsOnAWriteProtectedFile)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "the superuser writes to write-protected files";
    ASSERT_TRUE(open(file()));
    std::filesystem::permissions(file(), std::filesystem::perms::owner_read);
    Error error = Error::None;
    EXPECT_FALSE(open(file(), &error));
    EXPECT_EQ(error, Error::ReadOnly);
}

TEST_F(ApplicationTest, CreateUsesTheSelectedDevicesStore)
{
    std::unique_ptr<Application> app = Application::create();
    ASSERT_TRUE(app);
    EXPECT_EQ(app->file(), device::DeviceFolder::current().pimFile());
    EXPECT_TRUE(app->logon());
}

TEST_F(ApplicationTest, NothingWorksBeforeLogonOrAfterLogoff)
{
    std::unique_ptr<Application> app = open(file());
    ASSERT_TRUE(app);
    Error error = Error::None;
    EXPECT_FALSE(app->getDefaultFolder(olFolderCalendar, &error));
    EXPECT_EQ(error, Error::NotLoggedOn);
    EXPECT_FALSE(app->createItem(olAppointmentItem, &error));
    EXPECT_EQ(error, Error::NotLoggedOn);

    ASSERT_TRUE(app->logon());
    std::unique_ptr<Folder> folder = app->getDefaultFolder(olFolderCalendar);
    ASSERT_TRUE(folder);
    std::unique_ptr<Items> items = folder->items();
    std::unique_ptr<Appointment> item = app->createItem(olAppointmentItem);
    EXPECT_FALSE(app->getDefaultFolder(6, &error)); // the handheld's inbox: not kept here
    EXPECT_EQ(error, Error::InvalidArgument);
    EXPECT_FALSE(app->createItem(2, &error));
    EXPECT_EQ(error, Error::InvalidArgument);

    app->logoff();
    EXPECT_FALSE(items->find(u"", &error));
    EXPECT_EQ(error, Error::NotLoggedOn);
    EXPECT_FALSE(item->save(&error));
    EXPECT_EQ(error, Error::NotLoggedOn);
    EXPECT_TRUE(app->logon());
    EXPECT_TRUE(item->save(&error)) << errorText(error);
}

TEST_F(ApplicationTest, LogonFailsWhileAnotherProgramHoldsTheStoreLocked)
{
    {
        std::unique_ptr<Application> first = open(file());
        ASSERT_TRUE(first && first->logon());
    }
    auto holder = std::make_unique<RawConnection>(file());
    ASSERT_EQ(holder->exec("PRAGMA locking_mode = EXCLUSIVE; BEGIN EXCLUSIVE;"), SQLITE_OK);

    std::unique_ptr<Application> app = open(file());
    ASSERT_TRUE(app); // opening does not read yet
    Error error = Error::None;
    const auto started = std::chrono::steady_clock::now();
    EXPECT_FALSE(app->logon(&error));
    EXPECT_EQ(error, Error::Busy);
    EXPECT_GE(std::chrono::steady_clock::now() - started, kShortWait); // it did wait for the lock

    holder.reset();
    EXPECT_TRUE(app->logon(&error)) << errorText(error);
}

TEST_F(ApplicationTest, LogonRefusesFilesThatAreNoAppointmentStore)
{
    Error error = Error::None;
    std::ofstream(file(), std::ios::binary) << std::string(8192, '\x5A');
    std::unique_ptr<Application> garbage = open(file());
    ASSERT_TRUE(garbage);
    EXPECT_FALSE(garbage->logon(&error));
    EXPECT_EQ(error, Error::Damaged);
    garbage.reset();
    std::filesystem::remove(file());

    // Some other program's database is not written into.
    RawConnection(file()).exec("CREATE TABLE notes (text TEXT); INSERT INTO notes VALUES ('mine');");
    std::unique_ptr<Application> foreign = open(file());
    EXPECT_FALSE(foreign->logon(&error));
    EXPECT_EQ(error, Error::Damaged);
    foreign.reset();
    std::filesystem::remove(file());

    // A store of a newer program is not guessed at.
    ASSERT_TRUE(open(file())->logon());
    RawConnection(file()).exec(("PRAGMA user_version = " + std::to_string(pim::Store::kSchemaVersion + 1)).c_str());
    std::unique_ptr<Application> newer = open(file());
    EXPECT_FALSE(newer->logon(&error));
    EXPECT_EQ(error, Error::NewerFormat);
}

TEST_F(ApplicationTest, LogonFindsADamagedStore)
{
    {
        std::unique_ptr<Application> app = open(file());
        ASSERT_TRUE(app && app->logon());
        for (int i = 0; i < 300; ++i) {
            auto item = app->createItem(olAppointmentItem);
            item->setSubject(std::u16string(200, u'a'));
            item->setStart(at(2026, 1, 1) + device::OleDateTimeSpan(i, 0, 0, 0));
            item->setEnd(at(2026, 1, 1, 1) + device::OleDateTimeSpan(i, 0, 0, 0));
            ASSERT_TRUE(item->save());
        }
    }
    RawConnection(file()).exec("PRAGMA wal_checkpoint(TRUNCATE)");
    // Scribble over the middle of the file, where the rows lie.
    const auto size = std::filesystem::file_size(file());
    ASSERT_GT(size, 40'000u);
    {
        std::fstream scribble(file(), std::ios::in | std::ios::out | std::ios::binary);
        scribble.seekp(std::streamoff(size / 2));
        scribble << std::string(16'384, '\xA5');
    }
    std::unique_ptr<Application> app = open(file());
    ASSERT_TRUE(app);
    Error error = Error::None;
    EXPECT_FALSE(app->logon(&error));
    EXPECT_EQ(error, Error::Damaged);
}

// The whole-file check runs only on a file that changed since it last passed: a store that was
// only read is not read whole again at the next logon, and damage is still found, at logon after
// any write and otherwise by the search that meets it.
TEST_F(ApplicationTest, LogonChecksTheWholeFileOnlyWhenItChangedSinceTheLastGoodCheck)
{
    {
        std::unique_ptr<Application> app = open(file());
        ASSERT_TRUE(app && app->logon());
        for (int i = 0; i < 300; ++i) {
            auto item = app->createItem(olAppointmentItem);
            item->setSubject(std::u16string(200, u'a'));
            item->setStart(at(2026, 1, 1) + device::OleDateTimeSpan(i, 0, 0, 0));
            item->setEnd(at(2026, 1, 1, 1) + device::OleDateTimeSpan(i, 0, 0, 0));
            ASSERT_TRUE(item->save());
        }
    }
    RawConnection(file()).exec("PRAGMA wal_checkpoint(TRUNCATE)");
    // A logon that finds the file changed checks it and records the good result.
    ASSERT_TRUE(open(file())->logon());
    std::filesystem::path stamp = file();
    stamp += "-checked";
    ASSERT_TRUE(std::filesystem::exists(stamp));

    // Bytes that change without the file's modification time (as a failing disk would change
    // them) are not looked for at logon, but the search that reads them reports the damage.
    struct stat before {};
    ASSERT_EQ(::stat(file().c_str(), &before), 0);
    {
        std::fstream scribble(file(), std::ios::in | std::ios::out | std::ios::binary);
        scribble.seekp(std::streamoff(std::filesystem::file_size(file()) / 2));
        scribble << std::string(16'384, '\xA5');
    }
    const timespec times[2] = {before.st_atim, before.st_mtim};
    ASSERT_EQ(::utimensat(AT_FDCWD, file().c_str(), times, 0), 0);
    {
        std::unique_ptr<Application> app = open(file());
        Error error = Error::None;
        ASSERT_TRUE(app->logon(&error)) << errorText(error);
        std::unique_ptr<Items> items = app->getDefaultFolder(olFolderCalendar)->items();
        EXPECT_FALSE(items->find(u"[Start] >= \"1/1/2026\"", &error));
        EXPECT_EQ(error, Error::Damaged);
    }

    // Once the file's time moves (any write does that), logon checks it whole again.
    const timespec later[2] = {before.st_atim, {before.st_mtim.tv_sec + 1, before.st_mtim.tv_nsec}};
    ASSERT_EQ(::utimensat(AT_FDCWD, file().c_str(), later, 0), 0);
    Error error = Error::None;
    EXPECT_FALSE(open(file())->logon(&error));
    EXPECT_EQ(error, Error::Damaged);

    // A stamp that is not one is no reason to skip the check.
    std::ofstream(stamp, std::ios::binary | std::ios::trunc) << "garbage";
    EXPECT_FALSE(open(file())->logon(&error));
    EXPECT_EQ(error, Error::Damaged);
}

using ObjectIdentifiers = StoreTest;

TEST_F(ObjectIdentifiers, AreUniqueAndStableAcrossReopening)
{
    std::set<std::uint32_t> seen;
    std::vector<std::uint32_t> order;
    for (int i = 0; i < 200; ++i) {
        const std::uint32_t oid = add(u"item " + device::fromUtf8(std::to_string(i)), at(2026, 12, 8, 9), at(2026, 12, 8, 10));
        EXPECT_NE(oid, kNoOid);
        EXPECT_NE(oid, kInvalidOid);
        EXPECT_TRUE(seen.insert(oid).second);
        order.push_back(oid);
    }
    app.reset();
    items.reset();
    folder.reset();

    std::unique_ptr<Application> reopened = Application::create(device.root() / "pim.db");
    ASSERT_TRUE(reopened && reopened->logon());
    for (int i = 0; i < 200; ++i) {
        std::unique_ptr<Appointment> item = reopened->getItemFromOid(order[std::size_t(i)]);
        ASSERT_TRUE(item);
        EXPECT_EQ(device::toUtf8(item->subject()), "item " + std::to_string(i));
    }
}

TEST_F(ObjectIdentifiers, AreNeverGivenAgainAfterADelete)
{
    const std::uint32_t first = add(u"first", at(2026, 12, 8, 9), at(2026, 12, 8, 10));
    std::unique_ptr<Appointment> item = app->getItemFromOid(first);
    ASSERT_TRUE(item && item->remove());
    const std::uint32_t second = add(u"second", at(2026, 12, 8, 9), at(2026, 12, 8, 10));
    EXPECT_NE(second, first);
    Error error = Error::None;
    EXPECT_FALSE(app->getItemFromOid(first, &error));
    EXPECT_EQ(error, Error::NotFound);
    EXPECT_FALSE(app->getItemFromOid(kNoOid, &error));
    EXPECT_EQ(error, Error::InvalidArgument);
    EXPECT_FALSE(app->getItemFromOid(kInvalidOid, &error));
    EXPECT_EQ(error, Error::InvalidArgument);
}

TEST_F(ObjectIdentifiers, StopShortOfAllOnes)
{
    add(u"first", at(2026, 12, 8, 9), at(2026, 12, 8, 10));
    RawConnection(device.root() / "pim.db").exec("UPDATE sqlite_sequence SET seq = 4294967293 WHERE name = 'appointments'");
    EXPECT_EQ(add(u"last", at(2026, 12, 8, 9), at(2026, 12, 8, 10)), 0xFFFFFFFEu);

    std::unique_ptr<Appointment> more = app->createItem(olAppointmentItem);
    Error error = Error::None;
    EXPECT_FALSE(more->save(&error));
    EXPECT_EQ(error, Error::StoreFull);
    EXPECT_EQ(more->oid(), kNoOid);
    EXPECT_EQ(found(u"").size(), 2u); // the failed save left nothing behind
}

} // namespace
