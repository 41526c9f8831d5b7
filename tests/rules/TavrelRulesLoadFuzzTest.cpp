// Damaged backups beside good rules, loaded for real: whatever the bytes at the backup's name,
// Load either brings back exactly the rules the backup holds (only when it reads as a rules file)
// or keeps the rules file and leaves the backup byte for byte, and says so. Seeded and counted,
// like the other fuzz tests.

#include "RulesTestSupport.h"
#include "TempDevice.h"
#include "platform/device/RunningProgram.h"
#include "rules/TavrelRulesFileReader.h"
#include "rules/TavrelRulesMessageBox.h"

#include <gtest/gtest.h>

#include <random>

using namespace rules_test;
using device::FileSystem;

namespace {

constexpr int Rounds = 150;
constexpr const char16_t* RulesPath = u"\\My Documents\\Tavrel.Rules";
constexpr const char16_t* BackupPath = u"\\My Documents\\Tavrel.BAK";

const std::vector<Triple> Good = {{u"Subject", u"*Golf*", u"golf.gif"},
                                  {u"Category", u"Call", u"call.gif"},
                                  {u"# Recipients", u">2", u"crowd.gif"}};
const std::vector<Triple> Backup = {{u"Subject", u"*Tennis*", u"tennis.gif"}, {u"Subject", u"Easter", u"egg.gif"}};

TEST(TavrelRulesLoadFuzzTest, ADamagedBackupIsTakenOnlyWhenItReadsAsRules)
{
    testing_support::TempDevice device;
    device::RunningProgram::setDevicePath(u"\\Program Files\\Tavrel\\Tavrel.exe");
    int messages = 0;
    CTavrelRulesMessageBox::SetHandler([&](const char16_t*, const char16_t*) { ++messages; });

    ASSERT_TRUE(rulesOf(Backup).Save(RulesPath));
    const std::vector<std::uint8_t> original = *readFile(RulesPath);
    std::mt19937 random(6438);
    int taken = 0, kept = 0;
    for (int round = 0; round < Rounds; ++round) {
        SCOPED_TRACE(testing::Message() << "round " << round);
        std::vector<std::uint8_t> bytes = original;
        const int edits = std::uniform_int_distribution<int>(0, 6)(random);
        for (int i = 0; i < edits; ++i) {
            const std::size_t at = bytes.empty() ? 0 : random() % bytes.size();
            const std::uint8_t b = (random() % 2) ? std::uint8_t(random()) : std::uint8_t("\r\n,\0\xFF\xFE"[random() % 6]);
            switch (random() % 3) {
            case 0:
                if (!bytes.empty())
                    bytes[at] = b;
                break;
            case 1:
                bytes.insert(bytes.begin() + std::ptrdiff_t(at), b);
                break;
            default:
                bytes.resize(at);
                break;
            }
        }
        CTavrelRulesFileReader reader;
        reader.Feed(bytes.data(), bytes.size());
        const bool readsAsRules = reader.IsWellFormed() && !reader.GetRules().empty();

        ASSERT_TRUE(rulesOf(Good).Save(RulesPath));
        const auto rulesBefore = readFile(RulesPath);
        ASSERT_TRUE(FileSystem::writeAll(BackupPath, bytes));
        const int messagesBefore = messages;
        CTavrelRules loaded;
        EXPECT_TRUE(loaded.Load(RulesPath));
        if (readsAsRules) {
            ++taken;
            CTavrelRules expected;
            for (const CTavrelRule& rule : reader.GetRules())
                expected.AddTail(rule);
            EXPECT_EQ(triples(loaded), triples(expected));
            EXPECT_FALSE(FileSystem::exists(BackupPath));
            EXPECT_EQ(messages, messagesBefore);
        } else {
            ++kept;
            EXPECT_EQ(triples(loaded), Good);
            EXPECT_EQ(readFile(RulesPath), rulesBefore);
            EXPECT_EQ(readFile(BackupPath), std::optional(bytes));
            EXPECT_EQ(messages, messagesBefore + 1);
            ASSERT_TRUE(FileSystem::removeFile(BackupPath));
        }
    }
    EXPECT_GT(taken, 0);
    EXPECT_GT(kept, Rounds / 2);
    CTavrelRulesMessageBox::SetHandler(nullptr);
}

} // namespace
