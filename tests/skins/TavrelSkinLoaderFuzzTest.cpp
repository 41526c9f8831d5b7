// Damaged skin files applied for real: whatever the bytes, applying either fails with one of its
// messages and changes nothing, or succeeds with only picture paths inside the skin's folder.
// Seeded and counted, like the reader's fuzz test.

#include "skins/TavrelSkinLoader.h"

#include "data/TavrelSettings.h"
#include "shell/TavrelApp.h"
#include "skins/IniFile.h"

#include "SkinTestSupport.h"
#include "TempDevice.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fcntl.h>
#include <filesystem>
#include <future>
#include <random>
#include <sys/stat.h>
#include <unistd.h>
#include <string>
#include <vector>

namespace {

constexpr int Rounds = 120;

TEST(TavrelSkinLoaderFuzzTest, DamagedSkinsNeverLeaveTheSkinFolderOrReportSuccessWrongly)
{
    testing_support::TempDevice device;
    CTavrelApp app;
    const std::u16string folder = u"\\Skins\\Fuzz\\";
    const std::u16string path = folder + u"Fuzz.TavrelSkin";
    for (const char16_t* picture : {u"a.jpg", u"b.jpg", u"c.gif", u"d.gif"})
        ASSERT_TRUE(skins_test::touch(folder + picture));
    const std::vector<std::uint8_t> original = skins_test::ansiLines(
        {u"[Skin]", u"Name=Fuzz", u"[Backgrounds]", u"Default=a.jpg,20", u"01=b.jpg,30", u"02=b.jpg", u"[DayBar]",
         u"Default=c.gif", u"03=d.gif", u"[Month Titles]", u"01=d.gif", u"02=c.gif"});

    std::mt19937 random(1532);
    for (int round = 0; round < Rounds; ++round) {
        std::vector<std::uint8_t> bytes = original;
        const int edits = std::uniform_int_distribution<int>(1, 16)(random);
        for (int i = 0; i < edits; ++i) {
            const std::size_t at = bytes.empty() ? 0 : random() % bytes.size();
            const std::uint8_t b = (random() % 2) ? std::uint8_t(random()) : std::uint8_t("[]=,\\.\r\n\0 /:*?"[random() % 15]);
            if (random() % 2 && !bytes.empty())
                bytes[at] = b;
            else
                bytes.insert(bytes.begin() + std::ptrdiff_t(at), b);
        }
        SCOPED_TRACE(testing::Message() << "round " << round);
        ASSERT_TRUE(skins_test::writeFile(path, bytes));

        CTavrelSettings& settings = app.GetSettings();
        std::vector<std::u16string> before;
        for (int m = 1; m <= 12; ++m) {
            before.emplace_back(settings.GetBackground(m).GetString());
            before.emplace_back(settings.GetDayBar(m).GetString());
            before.emplace_back(settings.GetMonthTitle(m).GetString());
        }

        std::vector<std::u16string> messages;
        const bool applied = CTavrelSkinLoader::LoadSkin(app, path.c_str(), [&](const CQoString& text) { messages.emplace_back(text.GetString()); });

        CIniFile file(path.c_str());
        const bool wellFormed = file.FindSection(u"skin") && file.FindSection(u"backgrounds");
        ASSERT_EQ(applied, wellFormed);
        ASSERT_LE(messages.size(), 36u);
        for (const std::u16string& message : messages) {
            if (applied)
                ASSERT_EQ(message.rfind(u"File not found: " + folder, 0), 0u);
            else
                ASSERT_EQ(message, CTavrelSkinLoader::BackgroundsSectionMissing); // no main window: "[Skin]" is silent
        }
        for (int m = 1, i = 0; m <= 12; ++m) {
            for (const CQoString& now : {settings.GetBackground(m), settings.GetDayBar(m), settings.GetMonthTitle(m)}) {
                if (!applied) {
                    ASSERT_EQ(now.View(), before[i]);
                } else if (now.View() != before[i]) {
                    ASSERT_EQ(now.View().substr(0, folder.size()), folder);
                }
                ++i;
            }
        }
    }
}

TEST(TavrelSkinLoaderFuzzTest, FifosAsTheSkinOrItsPicturesNeverHoldTheLoaderUp)
{
    testing_support::TempDevice device;
    CTavrelApp app;
    const std::filesystem::path folder = device.host("Skins/Fifo");
    std::filesystem::create_directories(folder);
    ASSERT_TRUE(skins_test::writeFile(u"\\Skins\\Fifo\\Pictures.TavrelSkin",
                                      skins_test::ansiLines({u"[Skin]", u"Name=Fifo", u"[Backgrounds]",
                                                             u"Default=back.jpg,20", u"[DayBar]", u"Default=bar.gif"})));
    for (const char* name : {"Fifo.TavrelSkin", "back.jpg", "bar.gif"})
        ASSERT_EQ(::mkfifo((folder / name).c_str(), 0644), 0);
    // Each load runs aside with a deadline; a loader blocked in open is let go by opening the
    // FIFO's other end, and the test fails instead of hanging.
    auto loadsAtOnce = [&](const char16_t* path, bool& applied) {
        std::future<bool> done = std::async(std::launch::async, [&app, path] {
            return CTavrelSkinLoader::LoadSkin(app, path, [](const CQoString&) {});
        });
        if (done.wait_for(std::chrono::seconds(3)) == std::future_status::ready) {
            applied = done.get();
            return true;
        }
        for (const char* name : {"Fifo.TavrelSkin", "back.jpg", "bar.gif"}) {
            const int writer = ::open((folder / name).c_str(), O_WRONLY | O_NONBLOCK);
            if (writer >= 0)
                ::close(writer);
        }
        done.wait();
        return false;
    };
    bool applied = true;
    EXPECT_TRUE(loadsAtOnce(u"\\Skins\\Fifo\\Fifo.TavrelSkin", applied)) << "the skin file is a FIFO";
    EXPECT_FALSE(applied);
    EXPECT_TRUE(loadsAtOnce(u"\\Skins\\Fifo\\Pictures.TavrelSkin", applied)) << "its pictures are FIFOs";
}

} // namespace
