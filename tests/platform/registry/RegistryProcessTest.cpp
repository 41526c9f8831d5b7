// Several programs of the device use one registry at once. These tests fork real processes that
// work on the same store concurrently.

#include "RegistryTestHelpers.h"
#include "TempDevice.h"

#include <gtest/gtest.h>
#include <set>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

using namespace registry_test;
using testing_support::TempDevice;

namespace {

// The children of a test block on a start line (a pipe) until the test releases them all at once.
class StartLine {
public:
    StartLine() { m_ok = ::pipe(m_fds) == 0; }
    ~StartLine() { closeAll(); }
    bool ok() const { return m_ok; }
    bool wait() const
    {
        char go = 0;
        return ::read(m_fds[0], &go, 1) == 1;
    }
    bool release(int children)
    {
        bool written = ::write(m_fds[1], std::string(std::size_t(children), 'g').data(), std::size_t(children)) == children;
        closeAll();
        return written;
    }

private:
    void closeAll()
    {
        if (m_ok) {
            ::close(m_fds[0]);
            ::close(m_fds[1]);
        }
        m_ok = false;
    }
    int m_fds[2] = {-1, -1};
    bool m_ok = false;
};

// Forks a child whose exit status is what `body` returns. The child leaves with _exit so nothing
// of the test framework runs twice.
template <typename Body>
pid_t startChild(Body body)
{
    pid_t pid = ::fork();
    if (pid == 0)
        ::_exit(body());
    return pid;
}

int exitStatusOf(pid_t pid)
{
    int status = 0;
    if (::waitpid(pid, &status, 0) != pid || !WIFEXITED(status))
        return -1;
    return WEXITSTATUS(status);
}

} // namespace

TEST(RegistryProcesses, TwoProcessesWritingOneKeyAtOnceLoseNothing)
{
    TempDevice device;
    constexpr int perProcess = 1000;
    ScopedKey key;
    ASSERT_EQ(ScopedKey::create(HKEY_CURRENT_USER, u"Software\\Orvix\\Tavrel\\Race", key), ERROR_SUCCESS);

    StartLine startLine;
    ASSERT_TRUE(startLine.ok());
    std::vector<pid_t> children;
    for (int child = 0; child < 2; ++child) {
        children.push_back(startChild([child, &startLine] {
            // Each child has its store open and its key in hand before the start.
            ScopedKey race;
            if (ScopedKey::create(HKEY_CURRENT_USER, u"Software\\Orvix\\Tavrel\\Race", race) != ERROR_SUCCESS)
                return 101;
            if (!startLine.wait())
                return 102;
            int failures = 0;
            for (int i = 0; i < perProcess; ++i) {
                auto name = device::fromUtf8("P" + std::to_string(child) + "-" + std::to_string(i));
                if (setDword(race.get(), name, std::uint32_t(child * 100000 + i)) != ERROR_SUCCESS)
                    ++failures;
            }
            return failures > 99 ? 99 : failures;
        }));
        ASSERT_GT(children.back(), 0);
    }
    ASSERT_TRUE(startLine.release(2));
    for (pid_t child : children)
        EXPECT_EQ(exitStatusOf(child), 0);

    auto names = valueNames(key.get());
    ASSERT_EQ(names.size(), std::size_t(2 * perProcess));
    EXPECT_EQ(std::set<WideString>(names.begin(), names.end()).size(), names.size());
    for (int child = 0; child < 2; ++child) {
        for (int i = 0; i < perProcess; ++i) {
            auto name = device::fromUtf8("P" + std::to_string(child) + "-" + std::to_string(i));
            ASSERT_EQ(readDword(key.get(), name), std::uint32_t(child * 100000 + i)) << device::toUtf8(name);
        }
    }
}

TEST(RegistryProcesses, AKeyDeletedByAnotherProcessFailsCleanlyHere)
{
    TempDevice device;
    ScopedKey parent, calendar;
    ASSERT_EQ(ScopedKey::create(HKEY_CURRENT_USER, u"Software\\Orvix\\Tavrel\\Calendars", parent), ERROR_SUCCESS);
    ASSERT_EQ(ScopedKey::create(parent.get(), u"Holidays", calendar), ERROR_SUCCESS);
    ASSERT_EQ(setText(calendar.get(), u"URL", u"http://127.0.0.1/holidays.xml"), ERROR_SUCCESS);

    StartLine startLine;
    ASSERT_TRUE(startLine.ok());
    pid_t child = startChild([&startLine] {
        if (!startLine.wait())
            return 2;
        Status status = deleteKey(HKEY_CURRENT_USER, u"Software\\Orvix\\Tavrel\\Calendars\\holidays");
        return status == ERROR_SUCCESS ? 0 : 1;
    });
    ASSERT_GT(child, 0);
    ASSERT_TRUE(startLine.release(1));
    ASSERT_EQ(exitStatusOf(child), 0);

    std::uint32_t size = 0;
    EXPECT_EQ(queryValue(calendar.get(), u"URL", nullptr, nullptr, &size), ERROR_KEY_DELETED);
    EXPECT_EQ(setText(calendar.get(), u"URL", u"x"), ERROR_KEY_DELETED);
    EXPECT_TRUE(subkeyNames(parent.get()).empty());
    // The parent's own handle and connection carry on.
    EXPECT_EQ(setDword(parent.get(), u"Count", 0), ERROR_SUCCESS);
}
