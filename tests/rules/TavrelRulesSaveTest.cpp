// Loading and saving through the temporary and backup files: first start, recovery from a save
// that was cut off, a save stopped after every single step, and every failure path.

#include "RulesTestSupport.h"
#include "TempDevice.h"
#include "platform/device/DevicePath.h"
#include "platform/device/RunningProgram.h"
#include "rules/TavrelDefaultRules.h"
#include "rules/TavrelRulesFileReader.h"
#include "rules/TavrelRulesMessageBox.h"
#include "rules/TavrelSystemLanguage.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <random>
#include <string_view>

using namespace rules_test;
using Step = CTavrelRules::FileStep;
using Outcome = CTavrelRules::StepOutcome;
using device::FileSystem;

namespace {

constexpr const char16_t* RulesPath = u"\\My Documents\\Tavrel.Rules";
constexpr const char16_t* TemporaryPath = u"\\My Documents\\Tavrel.TMP";
constexpr const char16_t* BackupPath = u"\\My Documents\\Tavrel.BAK";

const std::vector<Triple> OldRules = {{u"Subject", u"*Golf*", u"golf.gif"}, {u"Category", u"Call", u"call.gif"}};
const std::vector<Triple> NewRules = {{u"Subject", u"*Tennis*", u"tennis.gif"},
                                      {u"# Recipients", u">2", u"crowd.gif"},
                                      {u"Subject", u"*Golf*", u"golf.gif"}};

std::vector<Triple> defaultRules()
{
    CTavrelRules rules;
    CTavrelDefaultRules::AddTo(rules, device::RunningProgram::devicePath(), CTavrelSystemLanguage::GetDefaultLanguageId());
    return triples(rules);
}

class TavrelRulesStore : public ::testing::Test {
protected:
    void SetUp() override
    {
        device::RunningProgram::setDevicePath(u"\\Program Files\\Tavrel\\Tavrel.exe");
        CTavrelRulesMessageBox::SetHandler([this](const char16_t*, const char16_t* text) { m_messages.emplace_back(text); });
    }
    void TearDown() override { CTavrelRulesMessageBox::SetHandler(nullptr); }

    void writeRules(const std::vector<Triple>& list)
    {
        CTavrelRules rules = rulesOf(list);
        ASSERT_TRUE(rules.Save(RulesPath));
    }
    std::vector<Triple> load(bool* ok = nullptr)
    {
        CTavrelRules rules;
        const bool loaded = rules.Load(RulesPath);
        if (ok)
            *ok = loaded;
        return triples(rules);
    }
    // Saves `list` with a hook that answers `outcome` at the step numbered `at` (counted from 0
    // over every step the save reaches); returns Save's result and whether the hook fired.
    static bool saveWith(const std::vector<Triple>& list, int at, Outcome outcome, bool* fired = nullptr)
    {
        CTavrelRules rules = rulesOf(list);
        int calls = 0;
        bool hit = false;
        rules.SetFileStepHook([&](Step) {
            if (calls++ != at)
                return Outcome::Proceed;
            hit = true;
            return outcome;
        });
        const bool saved = rules.Save(RulesPath);
        if (fired)
            *fired = hit;
        return saved;
    }
    static bool saveFailing(const std::vector<Triple>& list, Step failing)
    {
        CTavrelRules rules = rulesOf(list);
        rules.SetFileStepHook([failing](Step step) { return step == failing ? Outcome::Fail : Outcome::Proceed; });
        return rules.Save(RulesPath);
    }

    testing_support::TempDevice m_device;
    std::vector<std::u16string> m_messages;
};

} // namespace

TEST_F(TavrelRulesStore, AMissingFileGetsTheDefaultRulesWrittenWithoutAMessage)
{
    bool ok = false;
    const std::vector<Triple> loaded = load(&ok);
    EXPECT_TRUE(ok);
    ASSERT_EQ(loaded.size(), 55u);
    EXPECT_EQ(loaded, defaultRules());
    EXPECT_EQ(std::get<2>(loaded[0]), u"\\Program Files\\Tavrel\\Icons\\Cake.gif");
    EXPECT_TRUE(FileSystem::isFile(RulesPath));
    EXPECT_EQ(load(), defaultRules()) << "the written file reads back the same";
    EXPECT_TRUE(m_messages.empty());

    // "&Defaults": the dialog deletes the file and loads again.
    writeRules(OldRules);
    ASSERT_TRUE(FileSystem::removeFile(RulesPath));
    EXPECT_EQ(load(), defaultRules());
}

TEST_F(TavrelRulesStore, ABackupLeftByACutOffSaveIsBroughtBackAndDeleted)
{
    writeRules(OldRules);
    ASSERT_TRUE(FileSystem::copy(RulesPath, BackupPath, true));
    ASSERT_TRUE(writeFile(RulesPath, u"Subject,*Ten")); // half of a new file
    EXPECT_EQ(load(), OldRules);
    EXPECT_FALSE(FileSystem::exists(BackupPath));
    EXPECT_EQ(load(), OldRules);
    EXPECT_TRUE(m_messages.empty());
}

TEST_F(TavrelRulesStore, ASaveStoppedAfterAnyStepLoadsAsTheOldOrTheNewRules)
{
    struct Start {
        const char* name;
        std::function<void()> prepare;
        std::vector<Triple> before; // what a Load gives before the save
    };
    const std::vector<Start> starts = {
        {"a rules file", [&] { writeRules(OldRules); }, OldRules},
        {"no rules file", [] {}, defaultRules()},
        {"a backup not yet brought back",
         [&] {
             writeRules(OldRules);
             ASSERT_TRUE(FileSystem::copy(RulesPath, BackupPath, true));
             ASSERT_TRUE(writeFile(RulesPath, u"garbage,\r"));
         },
         OldRules},
    };
    for (const Start& start : starts) {
        SCOPED_TRACE(start.name);
        int sawOld = 0, sawNew = 0;
        for (int at = 0;; ++at) {
            SCOPED_TRACE(at);
            for (const char16_t* path : {RulesPath, TemporaryPath, BackupPath})
                FileSystem::removeFile(path);
            start.prepare();
            bool fired = false;
            const bool saved = saveWith(NewRules, at, Outcome::Stop, &fired);
            EXPECT_NE(saved, fired) << "a stopped save never reports success";
            const std::vector<Triple> loaded = load();
            if (loaded == NewRules)
                ++sawNew;
            else if (loaded == start.before)
                ++sawOld;
            else
                ADD_FAILURE() << "neither the old nor the new rules: " << loaded.size() << " rules";
            EXPECT_FALSE(FileSystem::exists(BackupPath));
            EXPECT_EQ(load(), loaded) << "loading again changes nothing";
            if (!fired)
                break;
        }
        EXPECT_GT(sawOld, 0);
        EXPECT_GT(sawNew, 1) << "the new rules stand only once the save has committed";
    }
    EXPECT_TRUE(m_messages.empty());
}

TEST_F(TavrelRulesStore, ARecoveryStoppedAfterAnyStepStillGivesTheOldRules)
{
    // Steps of a three-rule save: create, three lines, close, back up (5), replace (6), commit (7).
    for (int saveStop : {6, 7}) { // stopped after the backup, and after the replace
        for (int loadStop = 0;; ++loadStop) {
            SCOPED_TRACE(testing::Message() << saveStop << "/" << loadStop);
            for (const char16_t* path : {RulesPath, TemporaryPath, BackupPath})
                FileSystem::removeFile(path);
            writeRules(OldRules);
            ASSERT_FALSE(saveWith(NewRules, saveStop, Outcome::Stop));
            ASSERT_TRUE(FileSystem::exists(BackupPath));
            CTavrelRules interrupted;
            int calls = 0;
            bool fired = false;
            interrupted.SetFileStepHook([&](Step) {
                fired = fired || calls == loadStop;
                return calls++ == loadStop ? Outcome::Stop : Outcome::Proceed;
            });
            interrupted.Load(RulesPath);
            EXPECT_EQ(load(), OldRules);
            if (!fired)
                break;
        }
    }
}

TEST_F(TavrelRulesStore, ATemporaryFileThatCannotBeCreatedChangesNothing)
{
    writeRules(OldRules);
    const auto before = readFile(RulesPath);
    ASSERT_TRUE(FileSystem::createDirectory(TemporaryPath));
    CTavrelRules rules = rulesOf(NewRules);
    EXPECT_FALSE(rules.Save(RulesPath));
    EXPECT_EQ(triples(rules), NewRules) << "the list is unchanged";
    EXPECT_EQ(readFile(RulesPath), before);
    EXPECT_FALSE(FileSystem::exists(BackupPath));
    EXPECT_FALSE(rulesOf(NewRules).Save(u"\\No Such Folder\\Tavrel.Rules"));
    EXPECT_FALSE(rulesOf(NewRules).Save(u"\\My Documents\\Rules")) << "no extension, no companion names";
}

TEST_F(TavrelRulesStore, EveryFailingStepLeavesTheOldRulesAndNoStrayFiles)
{
    for (Step failing : {Step::CreateTemporary, Step::WriteLine, Step::CloseTemporary, Step::BackUpRules,
                         Step::ReplaceRules}) {
        SCOPED_TRACE(int(failing));
        writeRules(OldRules);
        const auto before = readFile(RulesPath);
        EXPECT_FALSE(saveFailing(NewRules, failing));
        EXPECT_EQ(readFile(RulesPath), before) << "the old rules file stays in place";
        EXPECT_FALSE(FileSystem::exists(TemporaryPath));
        EXPECT_FALSE(FileSystem::exists(BackupPath));
    }
    // When even moving the backup back fails, the backup stays and the next Load brings it back.
    writeRules(OldRules);
    CTavrelRules rules = rulesOf(NewRules);
    rules.SetFileStepHook([](Step step) {
        return step == Step::ReplaceRules || step == Step::RestoreRules ? Outcome::Fail : Outcome::Proceed;
    });
    EXPECT_FALSE(rules.Save(RulesPath));
    EXPECT_TRUE(FileSystem::exists(BackupPath));
    EXPECT_EQ(load(), OldRules);
    // A backup that cannot be deleted would bring the old rules back: the save has not succeeded.
    writeRules(OldRules);
    EXPECT_FALSE(saveFailing(NewRules, Step::RemoveBackup));
    EXPECT_EQ(load(), OldRules);
    // A leftover temporary file is harmless.
    EXPECT_TRUE(saveFailing(NewRules, Step::RemoveTemporary));
    EXPECT_EQ(load(), NewRules);
}

TEST_F(TavrelRulesStore, ABackupThatCannotBeBroughtBackIsReportedAndKept)
{
    writeRules(OldRules);
    ASSERT_TRUE(FileSystem::copy(RulesPath, BackupPath, true));
    CTavrelRules rules = rulesOf(NewRules);
    rules.SetFileStepHook([](Step step) { return step == Step::RestoreBackup ? Outcome::Fail : Outcome::Proceed; });
    EXPECT_FALSE(rules.Load(RulesPath));
    EXPECT_TRUE(rules.IsEmpty());
    ASSERT_EQ(m_messages.size(), 1u);
    EXPECT_EQ(m_messages[0], CTavrelRules::RecoveryFailedMessage);
    EXPECT_TRUE(m_messages[0].starts_with(
        u"There was an error recovering the rules file from a previous automatic backup."));
    EXPECT_TRUE(FileSystem::exists(BackupPath));
    EXPECT_EQ(load(), OldRules) << "a later start recovers it";

    // A folder in the backup's place is no backup: the same message, the folder stays, and the
    // rules file is read as it stands.
    m_messages.clear();
    ASSERT_TRUE(FileSystem::createDirectory(BackupPath));
    bool ok = false;
    EXPECT_EQ(load(&ok), OldRules);
    EXPECT_TRUE(ok);
    EXPECT_EQ(m_messages.size(), 1u);
    EXPECT_TRUE(FileSystem::isDirectory(BackupPath));
    EXPECT_FALSE(rulesOf(NewRules).Save(RulesPath)) << "nor does a save move or delete it";
}

TEST_F(TavrelRulesStore, AStrayOrDamagedBackupNeverReplacesGoodRules)
{
    // Files at the backup's name that no save left there: each is kept for the user, the rules
    // file stays byte for byte, and the user hears of it as of a failed recovery.
    const std::vector<std::pair<const char*, std::vector<std::uint8_t>>> strays = {
        {"empty", {}},
        {"an odd number of bytes", {}},
        {"random bytes", {}},
        {"a line without its end", utf16le(u"Subject,*Golf*,golf.gif\r\nSubject,*Ten")},
        {"a line without a comma", utf16le(u"Subject,*Golf*,golf.gif\r\nnot a rule\r\n")},
        {"a zero character", utf16le(std::u16string(u"Subject,*Golf*,golf\0.gif\r\n", 26))},
        {"a line too long", utf16le(u"Subject," + std::u16string(CTavrelRulesFileReader::MaxLineLength, u'x') + u",i\r\n")},
    };
    std::mt19937 random(1717);
    for (auto [name, bytes] : strays) {
        SCOPED_TRACE(name);
        if (std::string_view(name) == "random bytes") {
            bytes.resize(6438);
            for (auto& b : bytes)
                b = std::uint8_t(random());
        } else if (std::string_view(name) == "an odd number of bytes") {
            bytes = utf16le(u"Subject,*Golf*,golf.gif\r\n");
            bytes.push_back('x');
        }
        for (const char16_t* path : {RulesPath, TemporaryPath, BackupPath})
            FileSystem::removeFile(path);
        m_messages.clear();
        writeRules(OldRules);
        const auto rulesBefore = readFile(RulesPath);
        ASSERT_TRUE(FileSystem::writeAll(BackupPath, bytes));
        bool ok = false;
        EXPECT_EQ(load(&ok), OldRules);
        EXPECT_TRUE(ok);
        EXPECT_EQ(readFile(RulesPath), rulesBefore);
        EXPECT_EQ(readFile(BackupPath), std::optional(bytes)) << "the stray file stays as it was";
        ASSERT_EQ(m_messages.size(), 1u);
        EXPECT_EQ(m_messages[0], CTavrelRules::RecoveryFailedMessage);

        // Saving beside it leaves it alone too, and a save stopped at any step still leaves the
        // old or the new rules, never none.
        for (int at = 0;; ++at) {
            SCOPED_TRACE(at);
            writeRules(OldRules);
            bool fired = false;
            const bool saved = saveWith(NewRules, at, Outcome::Stop, &fired);
            EXPECT_NE(saved, fired);
            const std::vector<Triple> loaded = load();
            EXPECT_TRUE(loaded == OldRules || loaded == NewRules) << loaded.size() << " rules";
            if (!fired) {
                EXPECT_EQ(loaded, NewRules);
            }
            EXPECT_EQ(readFile(BackupPath), std::optional(bytes));
            if (!fired)
                break;
        }
    }
}

TEST_F(TavrelRulesStore, AnEmptyBackupWithoutARulesFileIsTheEmptyListItSaved)
{
    // A save of an empty list stopped after it moved the old (empty) rules aside.
    ASSERT_TRUE(FileSystem::writeAll(BackupPath, std::vector<std::uint8_t>{}));
    bool ok = false;
    EXPECT_TRUE(load(&ok).empty());
    EXPECT_TRUE(ok);
    EXPECT_FALSE(FileSystem::exists(BackupPath));
    EXPECT_TRUE(FileSystem::isFile(RulesPath));
    EXPECT_TRUE(m_messages.empty());
}

TEST_F(TavrelRulesStore, ARulesFileLargerThanAnySaveWritesIsNotReadAndStays)
{
    // A sparse file of 4 GB: refused at once, not read for seconds, and never replaced.
    const auto host = device::DevicePath::toHost(RulesPath);
    ASSERT_TRUE(host);
    {
        std::ofstream(*host).put('S');
    }
    std::filesystem::resize_file(*host, 4ull << 30);
    const auto started = std::chrono::steady_clock::now();
    bool ok = true;
    EXPECT_TRUE(load(&ok).empty());
    EXPECT_FALSE(ok);
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(2));
    EXPECT_EQ(std::filesystem::file_size(*host), 4ull << 30);
    EXPECT_FALSE(FileSystem::exists(BackupPath));
    EXPECT_FALSE(FileSystem::exists(TemporaryPath));

    // Just past the bound is refused; at the bound the file is read.
    std::filesystem::resize_file(*host, CTavrelRulesFileReader::MaxFileSize + 2);
    EXPECT_TRUE(load(&ok).empty());
    EXPECT_FALSE(ok);
    writeRules(OldRules);
    EXPECT_EQ(load(), OldRules);
}

TEST_F(TavrelRulesStore, AFileThatExistsButCannotBeReadIsNeverReplacedByDefaults)
{
    writeRules(OldRules);
    const auto before = readFile(RulesPath);
    CTavrelRules rules;
    rules.SetFileStepHook([](Step step) { return step == Step::ReadRules ? Outcome::Fail : Outcome::Proceed; });
    EXPECT_FALSE(rules.Load(RulesPath));
    EXPECT_TRUE(rules.IsEmpty());
    rules.SetFileStepHook([](Step step) { return step == Step::OpenRules ? Outcome::Fail : Outcome::Proceed; });
    EXPECT_FALSE(rules.Load(RulesPath));
    EXPECT_TRUE(rules.IsEmpty());
    EXPECT_EQ(readFile(RulesPath), before);

    ASSERT_TRUE(FileSystem::removeFile(RulesPath));
    ASSERT_TRUE(FileSystem::createDirectory(RulesPath));
    bool ok = true;
    EXPECT_TRUE(load(&ok).empty());
    EXPECT_FALSE(ok);
    EXPECT_TRUE(FileSystem::isDirectory(RulesPath));
    EXPECT_FALSE(FileSystem::exists(TemporaryPath));
}

TEST(TavrelRulesCompanion, NamesReplaceTheFileNamesExtension)
{
    EXPECT_EQ(std::u16string(CTavrelRules::GetCompanionPath(u"\\My Documents\\Tavrel.Rules", u".BAK")),
              u"\\My Documents\\Tavrel.BAK");
    EXPECT_EQ(std::u16string(CTavrelRules::GetCompanionPath(u"\\A\\b.c.Rules", u".TMP")), u"\\A\\b.c.TMP");
    EXPECT_EQ(std::u16string(CTavrelRules::GetCompanionPath(u"\\My.Files\\Rules", u".BAK")), u"");
    EXPECT_EQ(std::u16string(CTavrelRules::GetCompanionPath(u"Rules", u".BAK")), u"");
    EXPECT_FALSE(CTavrelRules().Load(u"\\My Documents\\Rules"));
}
