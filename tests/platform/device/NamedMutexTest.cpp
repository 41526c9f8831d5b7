#include "TempDevice.h"

#include "platform/device/LastError.h"
#include "platform/device/NamedMutex.h"

#include <gtest/gtest.h>

#include <chrono>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

using namespace device;
using namespace std::chrono_literals;

namespace {

class NamedMutexTest : public ::testing::Test {
protected:
    testing_support::TempDevice device;
};

TEST_F(NamedMutexTest, TheFirstHandleOwnsTheMutexAndALaterOneLearnsItExisted)
{
    NamedMutex first(u"Tavrel", true);
    ASSERT_TRUE(first.isOpen());
    EXPECT_FALSE(first.alreadyExisted());
    EXPECT_TRUE(first.isOwned());

    NamedMutex second(u"Tavrel", true);
    EXPECT_EQ(lastError(), ERROR_ALREADY_EXISTS);
    EXPECT_TRUE(second.alreadyExisted());
    EXPECT_FALSE(second.isOwned()) << "an owned mutex is not taken from its owner";
    EXPECT_FALSE(second.wait(20ms));

    EXPECT_TRUE(first.release());
    EXPECT_FALSE(first.release()) << "a handle that does not own it cannot release it";
    EXPECT_TRUE(second.wait(0ms));
    EXPECT_TRUE(second.isOwned());
}

TEST_F(NamedMutexTest, ClosingTheLastHandleEndsTheMutexAndOwnershipGoesWithTheHandle)
{
    {
        NamedMutex owner(u"Tavrel", true);
        ASSERT_TRUE(owner.isOwned());
        NamedMutex other(u"tavrel", false);
        EXPECT_FALSE(other.alreadyExisted()) << "names keep their case, so this is another mutex";
    }
    NamedMutex again(u"Tavrel", true);
    EXPECT_FALSE(again.alreadyExisted());
    EXPECT_TRUE(again.isOwned());

    NamedMutex waiter(u"Tavrel", false);
    std::thread closer([&] {
        std::this_thread::sleep_for(30ms);
        again.close();
    });
    EXPECT_TRUE(waiter.wait(5s)) << "closing the owning handle hands the mutex on";
    closer.join();
}

TEST_F(NamedMutexTest, AnotherProgramSeesTheMutexAndItsOwnershipUntilThatProgramEnds)
{
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // The other program: owns the mutex, says so, and ends without closing anything.
        NamedMutex mutex(u"Tavrel", true);
        char answer = mutex.isOwned() ? 'y' : 'n';
        ssize_t ignored = ::write(ready[1], &answer, 1);
        (void)ignored;
        ::sleep(1);
        ::_exit(0);
    }
    ::close(ready[1]);
    char answer = 0;
    ASSERT_EQ(::read(ready[0], &answer, 1), 1);
    ::close(ready[0]);
    EXPECT_EQ(answer, 'y');

    NamedMutex mine(u"Tavrel", true);
    EXPECT_TRUE(mine.alreadyExisted());
    EXPECT_FALSE(mine.isOwned());
    EXPECT_TRUE(mine.wait(10s)) << "the host drops the lock of a program that ended";
    int status = 0;
    ::waitpid(child, &status, 0);
}

TEST_F(NamedMutexTest, NamesBecomeSafeFileNamesInTheLocksFolder)
{
    EXPECT_EQ(NamedMutex::lockBase(u"Tavrel").filename(), "Tavrel");
    EXPECT_EQ(NamedMutex::lockBase(u"..\\x/y").filename(), "%002E.%005Cx%002Fy");
    EXPECT_EQ(NamedMutex::lockBase(u"").filename(), "%");
    EXPECT_EQ(NamedMutex::lockBase(u"Tavrel").parent_path(), device.root() / "locks");
}

} // namespace
