// The default skin the package ships, as the build's asset generator draws it, applied on the
// first start of a fresh device the way the installer lays it out.

#include "skins/TavrelSkinLoader.h"

#include "data/TavrelSettings.h"
#include "shell/TavrelApp.h"

#include "TempDevice.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#ifndef TAVREL_ASSETS_DIR
#error "test_skins is built with the generated assets (tools/assetgen wires TAVREL_ASSETS_DIR)"
#endif

namespace {

namespace fs = std::filesystem;

TEST(GeneratedDefaultSkinTest, TheShippedDefaultSkinAppliesCleanlyOnTheFirstStart)
{
    const fs::path shipped = fs::path(TAVREL_ASSETS_DIR) / "package" / "My Documents" / "CalendarSkinDefault";
    ASSERT_TRUE(fs::is_regular_file(shipped / "Default.TavrelSkin")) << shipped;

    testing_support::TempDevice device;
    fs::create_directories(device.host("My Documents"));
    fs::copy(shipped, device.host("My Documents/CalendarSkinDefault"), fs::copy_options::recursive);

    CTavrelApp app;
    std::vector<std::u16string> messages;
    ASSERT_TRUE(CTavrelSkinLoader::LoadDefaultSkinOnFirstRun(app, [&](const CQoString& text) { messages.emplace_back(text.GetString()); }));
    EXPECT_TRUE(messages.empty()) << device::toUtf8(messages.empty() ? u"" : messages[0]);

    static const char16_t* const months[] = {u"January", u"February", u"March", u"April", u"May", u"June", u"July",
                                             u"August", u"September", u"October", u"November", u"December"};
    CTavrelSettings& settings = app.GetSettings();
    for (int m = 1; m <= 12; ++m) {
        SCOPED_TRACE(m);
        // Each month has a background of its own, which is a real file of the device.
        const std::u16string expected = std::u16string(u"\\My Documents\\CalendarSkinDefault\\") + months[m - 1] + u".jpg";
        EXPECT_EQ(settings.GetBackground(m).View(), expected);
        const auto host = device.host("My Documents/CalendarSkinDefault/" + device::toUtf8(months[m - 1]) + ".jpg");
        EXPECT_GT(fs::file_size(host), 0u);
        const int level = settings.GetTransparency(m);
        EXPECT_GE(level, 0);
        EXPECT_LE(level, 100);
    }
    EXPECT_FALSE(settings.GetInitialized());
}

} // namespace
